"""Books opened like any other document: a PDF named on the command line;
FB2 in a ZIP, EPUB, DOCX and ODT opened, read group by group, put on the shelf
under their metadata names and bookmarked, and the bookmarks valid after a
restart."""

import os
import shutil

from harness import check, read_shelf, wait_until

TESTS = {}

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "books")


def pdf_from_the_command_line(t):
    """The sample PDF opens at start: its paragraphs fill the text pane (read
    back with Ctrl+A, Ctrl+C) without the running header and page numbers."""
    d = t.display
    p = t.program()
    book = p.path("Образцы.pdf")
    shutil.copy(os.path.join(DATA, "sample.pdf"), book)
    p.start(book)
    p.wait_title("Orvek Lumeno - Образцы.pdf", timeout=15)
    p.screenshot(t.shot_path("pdf-opened"))
    with open(os.path.join(DATA, "sample.pdf.txt"), encoding="utf-8") as f:
        expected = f.read()
    d.key("ctrl+a", "ctrl+c")
    # The clipboard gives the paragraphs one a line.
    copied = wait_until("the text pane's text on the clipboard",
                        lambda: d.clipboard_text().replace("\r\n", "\n") or None)
    check(copied == expected, f"the text pane holds:\n{copied[:400]}")
    check("Страница" not in copied and "Sample texts" not in copied,
          "a running header or footer was left in")


FB2_SHELF_NAME = "Антон Павлович Чехов, Jane Doe - Зимний вечер"
EPUB_SHELF_NAME = "Анна Петрова, John Smith - Зимний вечер и другие страницы"


def copied(d, *keys):
    d.key(*keys, "ctrl+c")
    return d.clipboard_text()


def book_reads_shelves_and_keeps_bookmarks(t, sample, expected_file, shelf_name):
    d = t.display
    p = t.program()
    book = p.path(sample)
    shutil.copy(os.path.join(DATA, sample), book)
    with open(os.path.join(DATA, expected_file), encoding="utf-8", newline="") as f:
        expected = f.read()
    p.start(book)
    p.wait_title(f"Orvek Lumeno - {sample}", timeout=15)
    text = wait_until("the book's text on the clipboard",
                      lambda: copied(d, "ctrl+a") or None)
    check(text == expected.replace("\r\n", "\n").rstrip(), f"the text pane holds:\n{text[:300]}")
    p.screenshot(t.shot_path(f"book-{sample}"))

    # Read: the first groups come one after the other.
    words = expected.split()
    d.key(*["minus"] * 24)
    d.key("ctrl+Home", "space")
    for word in words[:2]:
        wait_until(f"the group {word!r}", lambda: copied(d) == word, timeout=6)
    d.key("space")

    # On the shelf under its metadata name, with a bookmark at the fifth word.
    d.key("alt+b")
    p.wait_window("Положить документ на полку")
    d.key("Return")
    p.wait_no_window("Положить документ на полку")
    d.key("ctrl+Home", *["ctrl+Right"] * 4)
    d.key("alt+m")
    p.wait_window("Поместить закладку")
    d.key("ctrl+a", "M", "a", "r", "k", "Return")
    p.wait_no_window("Поместить закладку")
    d.key("ctrl+End")
    p.close()
    shelf = read_shelf(p.folder)
    check(len(shelf) == 1 and shelf[0]["name"] == shelf_name, f"the shelf holds {shelf}")
    position = next(at for name, at, _ in shelf[0]["bookmarks"] if name == "Mark")

    # Started again, the book opens from the shelf and the bookmark is valid.
    p.start()
    d.key("ctrl+b")
    p.wait_window("Полка")
    d.key("Down", "Return")
    p.wait_no_window("Полка")
    p.wait_title(f"Orvek Lumeno - {shelf_name}", timeout=15)
    d.key("ctrl+m")
    p.wait_window("Закладки")
    d.key("Down", "Return")
    p.wait_no_window("Закладки")
    rest = expected[position:].replace("\r\n", "\n")
    wait_until(f"the bookmark to lead to {rest[:20]!r}",
               lambda: rest.startswith(copied(d, "shift+End") or "-"))
    p.close()


def fb2_zip_book(t):
    book_reads_shelves_and_keeps_bookmarks(t, "hand-1251.fb2.zip", "hand-1251.txt",
                                           FB2_SHELF_NAME)


def epub_book(t):
    book_reads_shelves_and_keeps_bookmarks(t, "pandoc-epub3.epub", "pandoc-epub.txt",
                                           EPUB_SHELF_NAME)


TESTS["pdf_from_the_command_line"] = (pdf_from_the_command_line, (1024, 768))
TESTS["fb2_zip_book"] = (fb2_zip_book, (1024, 768))
TESTS["epub_book"] = (epub_book, (1024, 768))
