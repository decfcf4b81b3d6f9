"""Every kind of book opened from the command line shows its text as the
reader reads it (no running headers or page numbers from the PDF), and goes
on the shelf under the name its metadata gives."""

import os
import shutil

from harness import check, copied, put_on_shelf, read_shelf, wait_until

TESTS = {}

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "books")

BOOKS = [  # (file, its text, the shelf's proposed name or None)
    ("sample.pdf", "sample.pdf.txt", None),
    ("hand-1251.fb2.zip", "hand-1251.txt", "Антон Павлович Чехов, Jane Doe - Зимний вечер"),
    ("pandoc-epub3.epub", "pandoc-epub.txt",
     "Анна Петрова, John Smith - Зимний вечер и другие страницы"),
    ("libreoffice.docx", "libreoffice.docx.txt", None),
    ("libreoffice.odt", "office.txt", None),
]


def every_book_kind(t):
    d = t.display
    for sample, expected_file, shelf_name in BOOKS:
        p = t.program()
        book = p.path(sample)
        shutil.copy(os.path.join(DATA, sample), book)
        with open(os.path.join(DATA, expected_file), encoding="utf-8", newline="") as f:
            expected = f.read().replace("\r\n", "\n").rstrip()
        p.start(book)
        p.wait_title(f"Orvek Lumeno - {sample}", timeout=15)
        text = wait_until(f"the text of {sample}", lambda: copied(d, "ctrl+a"))
        p.screenshot(t.shot_path(f"book-{sample}"))
        check(text.rstrip() == expected, f"{sample}: the text pane holds:\n{text[:300]}")
        if shelf_name:
            put_on_shelf(p)
            shelf = wait_until("the shelf record", lambda: read_shelf(p.folder))
            check(shelf[0]["name"] == shelf_name, f"{sample} went on the shelf as {shelf}")
        p.close()
        t.clean_up()


TESTS["every_book_kind"] = (every_book_kind, (1024, 768))
