#!/usr/bin/env bash
# How many small faults put into the core do its tests notice? Runs the
# mutation tool for each seed (40 mutants a seed) on the committed tree, in a
# worktree of its own under build-mutation/ so that the working tree is left
# alone, and prints one line per mutant and "killed K of M" per seed. Takes
# about a quarter of an hour a seed on two cores; it is not part of CI.
#
#   scripts/mutation.sh [SEED ...]        default seeds: 7 11 23
#
# LMN_MUTATE names the tool (default: shared/tools/mutate.py beside the
# checkout); LMN_MUTANTS the mutants a seed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="${LMN_MUTATE:-$root/../shared/tools/mutate.py}"
[ -f "$tool" ] || { echo "mutation: no tool at $tool; set LMN_MUTATE" >&2; exit 1; }
seeds=("$@")
[ ${#seeds[@]} -gt 0 ] || seeds=(7 11 23)

tree="$root/build-mutation/tree"
if [ -d "$tree" ]; then
  git -C "$tree" checkout --quiet --force --detach "$(git -C "$root" rev-parse HEAD)"
else
  git -C "$root" worktree add --quiet --detach "$tree" HEAD
fi
cd "$tree"
for seed in "${seeds[@]}"; do
  python3 "$tool" --build ../build --seed "$seed" --count "${LMN_MUTANTS:-40}"
done
