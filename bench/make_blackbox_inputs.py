#!/usr/bin/env python3
"""Writes the documents bench/run_blackbox.sh opens, shaped as bench_frame's:
10 MB of Russian prose in Windows-1251 with CR LF every 70 characters or so,
the same prose as 10 MB of UTF-8 with a Latin, Greek, CJK or emoji character
every thousand, 10 MB of HTML that declares windows-1251, and 5 MB of RTF
with Cyrillic as \\'hh escapes and a change of format every few words.
    bench/make_blackbox_inputs.py FOLDER"""

import os
import random
import sys

MB = 1024 * 1024
LETTERS = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"


def prose(size, line_breaks, seed=7):
    rng = random.Random(seed)
    parts, length, line = [], 0, 0
    while length < size:
        word = "".join(rng.choice(LETTERS) for _ in range(rng.randint(2, 10)))
        mark = rng.randrange(16)
        word += "," if mark == 0 else "." if mark == 1 else ""
        line += len(word) + 1
        end = "\r\n" if line_breaks and line > 70 else " "
        if end == "\r\n":
            line = 0
        parts.append(word + end)
        length += len(word) + len(end)
    return "".join(parts)[:size]


def html(size):
    rng = random.Random(11)
    text = prose(size, False)
    page = ['<!DOCTYPE html>\n<html><head><meta http-equiv="Content-Type" '
            'content="text/html; charset=windows-1251"><title>Book</title></head>\n<body>\n']
    length, at = len(page[0]), 0
    while length < size:
        take = 200 + rng.randrange(600)
        words = text[at % (len(text) - take):][:take]
        at += take
        kind = rng.randrange(8)
        if kind == 0:
            piece = f"<h2>{words[:40]}</h2>\n"
        elif kind == 1:
            piece = f'<p><a href="c.html#p">{words[:30]}</a> &laquo;{words}&raquo;&nbsp;&mdash;</p>\n'
        elif kind == 2:
            piece = f"<table><tr><td>{words}</td></tr></table>\n"
        else:
            piece = f'<p class="text">{words}</p>\n'
        page.append(piece)
        length += len(piece)
    page.append("</body></html>\n")
    return "".join(page)


def rtf(size):
    rng = random.Random(3)
    parts = ["{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Times New Roman;}}"
             "{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs24 "]
    length, words = len(parts[0]), 0
    while length < size:
        piece = "".join("\\'%02x" % (0xE0 + rng.randrange(32)) for _ in range(rng.randint(2, 10)))
        words += 1
        piece += "\\par\n" if words % 12 == 0 else " {\\b\\cf1 " if words % 5 == 0 else " "
        if words % 5 == 0 and words % 12 != 0:
            piece += "x} "
        parts.append(piece)
        length += len(piece)
    parts.append("}")
    return "".join(parts)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    text = prose(10 * MB, True)
    with open(os.path.join(folder, "book-1251.txt"), "wb") as f:
        f.write(text.encode("cp1251"))
    mixed = list(prose(5 * MB, True))
    for i in range(1000, len(mixed), 1000):
        mixed[i] = "éλ日😀"[i // 1000 % 4]
    utf8 = "".join(mixed).encode("utf-8")
    while len(utf8) < 10 * MB:
        utf8 += utf8[:10 * MB - len(utf8)]
    utf8 = utf8[:10 * MB].decode("utf-8", "ignore").encode("utf-8")
    with open(os.path.join(folder, "book-utf8.txt"), "wb") as f:
        f.write(utf8)
    with open(os.path.join(folder, "book.html"), "wb") as f:
        f.write(html(10 * MB).encode("cp1251"))
    with open(os.path.join(folder, "book.rtf"), "wb") as f:
        f.write(rtf(5 * MB).encode("ascii"))


if __name__ == "__main__":
    main()
