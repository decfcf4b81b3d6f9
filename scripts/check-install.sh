#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and checks what a desktop gets:
# exactly the expected files, icons of the right sizes, the menu entry and the
# AppStream data through their validators, and the installed program's data
# places; then builds the Debian package, lists it and runs lintian on it.
#
# Usage: check-install.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
app_id=org.example.lumeno
destdir="$(mktemp -d)"
trap 'rm -rf "$destdir"' EXIT

echo "== install into $destdir"
DESTDIR="$destdir" cmake --install "$build" --prefix /usr >/dev/null

expected=(
  usr/bin/lmn
  usr/share/lumeno/lmn.html
  usr/share/lumeno/lmn.en.html
  usr/share/applications/$app_id.desktop
  usr/share/metainfo/$app_id.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/$app_id.svg
  usr/share/man/man1/lmn.1.gz
  usr/share/doc/lumeno/copyright
  usr/share/doc/lumeno/changelog.Debian.gz
)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
if ! diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$destdir" && find . -type f -printf '%P\n' | sort); then
  echo "FAILED: the installed tree differs from the expected one (< expected, > installed)"
  exit 1
fi
test -x "$destdir/usr/bin/lmn"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in "${sizes[@]}"; do
  png="$destdir/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  read -r -a header <<<"$(od -An -tu1 -j16 -N8 "$png")"
  width=$(((header[0] << 24) | (header[1] << 16) | (header[2] << 8) | header[3]))
  height=$(((header[4] << 24) | (header[5] << 16) | (header[6] << 8) | header[7]))
  if [ "$width" != "$size" ] || [ "$height" != "$size" ]; then
    echo "FAILED: $png is ${width}x${height}"
    exit 1
  fi
done
echo "ok: the installed tree holds the ${#expected[@]} expected files"

echo "== desktop-file-validate"
desktop-file-validate "$destdir/usr/share/applications/$app_id.desktop"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$destdir/usr/share/metainfo/$app_id.metainfo.xml"

echo "== the installed program's data places"
python3 "$root/tests/e2e/installed_data_places.py" "$destdir"

echo "== Debian package"
rm -f "$build"/lumeno_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/lumeno_*.deb)"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
status=0
report="$(lintian --fail-on error "$deb" 2>&1)" || status=$?
printf '%s\n' "$report" | grep -v 'running with root privileges' || true
[ "$status" -eq 0 ] || { echo "FAILED: lintian reports errors"; exit 1; }
echo "ok: $(basename "$deb") built, lintian reports no errors"
