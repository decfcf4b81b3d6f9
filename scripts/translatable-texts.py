#!/usr/bin/env python3
"""The program's Russian texts, for Qt Linguist.

The texts stay where the code keeps them (src/base/ProgramTexts.h, the texts
beside each dialog, the command table) as plain UTF-8 literals, which lupdate
cannot see. This script finds every plain string literal with Cyrillic in it
(adjacent literals joined, comments skipped, U"" and other prefixed literals,
which are text rules rather than texts, left out) and writes them as
QT_TRANSLATE_NOOP("Lumeno", ...) lines for lupdate; at run time ProgramText()
looks each one up in that same context.

  translatable-texts.py SRC_DIR OUT.cpp           the lupdate source
  translatable-texts.py SRC_DIR --check FILE.ts   every text has a translation
"""
import pathlib
import re
import sys
import xml.etree.ElementTree as ET

CONTEXT = "Lumeno"
# Russian that is measured or matched, never shown as a text of its own.
NOT_TEXTS = {"widgets/DialogUnits.cpp"}
# Texts every interface shows as they are: a language's name in that language,
# and the language menu's title, which names itself in both.
SAME_IN_EVERY_LANGUAGE = {"Русский", "Язык / Language"}
CYRILLIC = re.compile("[\u0400-\u04ff]")
TOKEN = re.compile(
    r'//[^\n]*|/\*.*?\*/'  # comments
    r'|(?P<prefix>\b(?:u8|u|U|L|R|u8R|uR|UR|LR))?"(?P<body>(?:\\.|[^"\\\n])*)"'
    r"|'(?:\\.|[^'\\\n])*'",
    re.S)
ESCAPES = {"n": "\n", "t": "\t", '"': '"', "'": "'", "\\": "\\", "r": "\r", "0": "\0"}


def literal_groups(source):
    """Each run of adjacent plain literals as the list of their bodies."""
    groups, current, last_end = [], [], None
    for match in TOKEN.finditer(source):
        body = match.group("body")
        adjacent = last_end is not None and not source[last_end:match.start()].strip()
        if body is None or match.group("prefix"):
            if current:
                groups.append(current)
            current, last_end = [], None
            continue
        if current and not adjacent:
            groups.append(current)
            current = []
        current.append(body)
        last_end = match.end()
    if current:
        groups.append(current)
    return groups


def decoded(body):
    return re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), body)


def texts(src_dir):
    """(C++ literal, decoded text) for each text, the first of duplicates only."""
    seen, found = set(), []
    root = pathlib.Path(src_dir)
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.relative_to(root).as_posix() in NOT_TEXTS:
            continue
        for group in literal_groups(path.read_text(encoding="utf-8")):
            text = "".join(decoded(body) for body in group)
            if CYRILLIC.search(text) and text not in seen | SAME_IN_EVERY_LANGUAGE:
                seen.add(text)
                found.append((" ".join(f'"{body}"' for body in group), text))
    return found


def check(src_dir, ts_path):
    translations = {}
    for message in ET.parse(ts_path).getroot().iter("message"):
        translation = message.find("translation")
        if translation.get("type") not in ("unfinished", "vanished", "obsolete"):
            translations[message.findtext("source")] = translation.text or ""
    faults = []
    for _, text in texts(src_dir):
        english = translations.get(text, "")
        if not english.strip() or english == text or CYRILLIC.search(english):
            faults.append(text)
    for text in faults:
        print(f"no English for: {text!r}")
    return 1 if faults else 0


def main():
    if len(sys.argv) == 4 and sys.argv[2] == "--check":
        return check(sys.argv[1], sys.argv[3])
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    lines = [f'QT_TRANSLATE_NOOP("{CONTEXT}", {literal});\n' for literal, _ in texts(sys.argv[1])]
    pathlib.Path(sys.argv[2]).write_text("".join(lines), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
