#!/bin/sh
# Makes bench/data/book-300.pdf, the 300-page book bench_pdf reads, with
# LibreOffice (not a dependency of the program: bench_pdf skips without it).
set -e
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
python3 "$here/make_pdf_300.py" "$work/book-300.fodt"
soffice --headless --convert-to pdf --outdir "$work" "$work/book-300.fodt" >/dev/null
mkdir -p "$here/data"
cp "$work/book-300.pdf" "$here/data/book-300.pdf"
rm -r "$work"
