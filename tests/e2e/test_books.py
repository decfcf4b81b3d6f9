"""Every kind of book opened from the command line shows its text as the
reader reads it (no running headers or page numbers from the PDF), and goes
on the shelf under the name its metadata gives."""

import os
import shutil
import signal
import time
import zipfile

from harness import PROGRAM_TITLE, SAMPLE, check, copied, in_dialog, put_on_shelf, read_settings, \
    read_shelf, start_with, wait_until

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


def cancelled_load_lets_go_at_once(t):
    """A PDF that poppler parses for a minute (2 GB of nothing after its
    header): Cancel gives the window back with the text it had, nothing is
    told later, and SIGTERM still ends the program at once with its saves."""
    d = t.display
    p = start_with(t, SAMPLE)
    with open(p.path("slow.pdf"), "wb") as f:
        f.write(b"%PDF-1.4\n")
        f.truncate(2 << 30)
    d.key("ctrl+o")
    p.wait_window("Открыть")
    d.tool("xdotool", "type", "--delay", "5", p.path("slow.pdf"))
    in_dialog(p, "Открыть", "Return")
    in_dialog(p, PROGRAM_TITLE, "Escape")
    check(copied(d, "ctrl+a").replace("\r", "") == SAMPLE.rstrip("\n"), "the text went")
    deadline = time.monotonic() + 3
    while time.monotonic() < deadline:
        check(len(p.windows()) == 1, f"a window opened after Cancel: {p.windows()}")
    os.remove(p.path("lmn.dat"))
    p.process.send_signal(signal.SIGTERM)
    wait_until("the program to end", lambda: p.process.poll() is not None, timeout=3)
    read_settings(p.folder)


def contents_of_an_epub_lead_into_a_chapter(t):
    """Ctrl+T lists the book's own table of contents; an entry pointing into
    the middle of a chapter file selects the paragraph it points at."""
    d = t.display
    p = t.program()
    page = "<html><body>{}</body></html>"
    item = '<item id="{0}" href="{0}.xhtml" media-type="application/xhtml+xml"{1}/>'
    with zipfile.ZipFile(p.path("toc.epub"), "w") as z:
        z.writestr("META-INF/container.xml", '<container><rootfile full-path="b.opf"/></container>')
        z.writestr("b.opf", "<package><manifest>" + item.format("n", ' properties="nav"') +
                   item.format("a", "") + '</manifest><spine><itemref idref="a"/></spine></package>')
        z.writestr("n.xhtml", page.format('<nav epub:type="toc"><ol><li><a href="a.xhtml">Autumn</a>'
                                          '<ol><li><a href="a.xhtml#w">Winter</a></li></ol></li></ol></nav>'))
        z.writestr("a.xhtml", page.format('<h1>Autumn</h1><p>Rain.</p><p id="w">Winter comes.</p>'))
    p.start(p.path("toc.epub"))
    p.wait_title(f"{PROGRAM_TITLE} - toc.epub", timeout=15)
    d.key("ctrl+t")
    p.wait_window("Содержание")
    d.tool("xdotool", "type", "--delay", "40", "Wi")
    in_dialog(p, "Содержание", "Return")
    check(copied(d).strip() == "Winter comes.", f"the chosen entry selected {d.clipboard_text()!r}")


TESTS["every_book_kind"] = (every_book_kind, (1024, 768))
TESTS["cancelled_load_lets_go_at_once"] = (cancelled_load_lets_go_at_once, (1024, 768))
TESTS["contents_of_an_epub_lead_into_a_chapter"] = (contents_of_an_epub_lead_into_a_chapter, (1024, 768))
