#!/usr/bin/env python3
"""Makes the detection corpus from Debian's translated manual pages.

Needs the packages manpages-ru, manpages-de, manpages-fr and manpages-es (for
making the data only; the build does not need them). Each page is rendered
with man and col, runs of spaces are squeezed, typographic marks that a legacy
code page lacks become their plain forms, and the first 1-4 KB (whole lines)
are kept as UTF-8.

    python3 make-corpus.py OUTPUT_FOLDER
"""
import glob
import os
import re
import subprocess
import sys

PLAIN = {
    "\u00ab": '"', "\u00bb": '"', "\u201e": '"', "\u201c": '"', "\u201d": '"',
    "\u2018": "'", "\u2019": "'", "\u201a": "'", "\u2014": "-", "\u2013": "-",
    "\u2010": "-", "\u2011": "-", "\u2212": "-", "\u2026": "...", "\u00a0": " ",
    "\u2022": "*", "\u00b7": "*", "\u2116": "N",
}
# Every text must be writable in each code page it is tested in.
CYRILLIC = ["koi8_r", "cp866", "iso8859_5", "mac_cyrillic", "cp1251"]
WESTERN = ["cp1252"]
PAGES_PER_LANGUAGE = {"ru": 36, "de": 12, "fr": 12, "es": 12}


def render(page):
    env = dict(os.environ, LANG="C.UTF-8", MANWIDTH="78")
    out = subprocess.run(["man", "-l", page], env=env, capture_output=True).stdout
    out = subprocess.run(["col", "-bx"], input=out, capture_output=True).stdout
    return out.decode("utf-8", "replace")


def clean(text, codecs):
    lines = []
    for line in text.splitlines():
        line = "".join(PLAIN.get(c, c) for c in line)
        line = re.sub(" {2,}", " ", line).strip()
        if all(_encodable(line, codec) for codec in codecs):
            lines.append(line)
    return re.sub("\n{3,}", "\n\n", "\n".join(lines)).strip() + "\n"


def _encodable(line, codec):
    try:
        line.encode(codec)
        return True
    except UnicodeEncodeError:
        return False


def excerpt(text, limit=4096):
    out = ""
    for line in text.splitlines(keepends=True):
        if len((out + line).encode()) > limit:
            break
        out += line
    return out


def suitable(language, text):
    size = len(text.encode())
    if size < 1024:
        return False
    letters = [c for c in text if c.isalpha()]
    high = [c for c in letters if ord(c) > 127]
    if language == "ru":
        return len(high) >= 0.5 * len(letters)
    return len(high) >= 20


def main():
    out_dir = sys.argv[1]
    for language, wanted in PAGES_PER_LANGUAGE.items():
        codecs = CYRILLIC if language == "ru" else WESTERN
        pages = sorted(glob.glob(f"/usr/share/man/{language}/man[1-8]/*.gz"))
        chosen = []
        for page in pages:
            # Code page tables are lists of characters, not prose.
            if re.match(r"(iso|koi8|latin|cp\d|ascii|charsets|utf|unicode)[-_]?", os.path.basename(page), re.I) or not os.path.basename(page)[0].isalnum():
                continue
            text = excerpt(clean(render(page), codecs))
            if suitable(language, text):
                chosen.append((page, text))
        step = max(1, len(chosen) // wanted)
        for page, text in chosen[::step][:wanted]:
            name = os.path.basename(page)[: -len(".gz")]
            with open(os.path.join(out_dir, language, name + ".txt"), "w", encoding="utf-8") as f:
                f.write(text)


if __name__ == "__main__":
    main()
