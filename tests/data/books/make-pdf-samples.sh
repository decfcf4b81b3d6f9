#!/bin/sh
# Remakes the PDF samples from their sources (LibreOffice, qpdf, ImageMagick:
# tools for test data only; ImageMagick only draws the picture). Run from this folder.
set -e
work=$(mktemp -d)
python3 make_sample_fodt.py "$work/sample.fodt"
soffice --headless --convert-to pdf --outdir "$work" "$work/sample.fodt" >/dev/null
cp "$work/sample.pdf" sample.pdf
# The same document behind a user password ("secret").
qpdf --encrypt secret secret 256 -- sample.pdf sample-password.pdf
# A "scanned" page: a picture of text, with no text layer.
convert -size 600x200 xc:white -font DejaVu-Sans -pointsize 28 \
    -draw "text 20,80 'Scanned page, no text layer'" "$work/scan.png"
python3 make_scanned_fodt.py "$work/scan.png" "$work/sample-scanned.fodt"
soffice --headless --convert-to pdf --outdir "$work" "$work/sample-scanned.fodt" >/dev/null
cp "$work/sample-scanned.pdf" sample-scanned.pdf
rm -r "$work"
