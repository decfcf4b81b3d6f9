#!/usr/bin/env python3
"""Fails when a source folder includes a folder above it.

The folders of src/ are layers, lowest first; a file may include its own
folder and the ones below it, never one above, so no two folders include
each other.
"""

import pathlib
import re
import sys

LAYERS = ["base", "widgets", "settings", "text", "books", "reading", "library", "history", "frame", "app"]

src = pathlib.Path(sys.argv[1])
include = re.compile(r'#include "([a-z]+)/')
faults = []
for path in sorted(src.glob("*/*")):
    if path.suffix not in (".h", ".cpp") or path.parent.name not in LAYERS:
        continue
    level = LAYERS.index(path.parent.name)
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = include.match(line)
        if match and match.group(1) in LAYERS and LAYERS.index(match.group(1)) > level:
            faults.append(f"{path.relative_to(src)}:{number}: includes {match.group(1)}/")
folders = {p.name for p in src.iterdir() if p.is_dir()}
for unknown in sorted(folders - set(LAYERS)):
    faults.append(f"{unknown}/ is not a known layer")
print("\n".join(faults) if faults else "every folder includes only itself and those below it")
sys.exit(1 if faults else 0)
