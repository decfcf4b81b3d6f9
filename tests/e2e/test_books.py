"""Books opened like any other document: a PDF named on the command line."""

import os
import shutil

from harness import check, wait_until

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


TESTS["pdf_from_the_command_line"] = (pdf_from_the_command_line, (1024, 768))
