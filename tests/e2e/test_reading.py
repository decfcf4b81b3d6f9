"""Opening and reading: a UTF-8 file of many scripts shows exactly its text
and is read group by group; Left during reading goes one group back, a new
speed times the very next group; a KOI8-R file, chosen in the open dialog
though neither it nor its folder has a UTF-8 name, reads as Russian; the
clipboard takes and gives full Unicode. Eight seconds of reading are one
run in the history beside the shelf, listed by the statistics window."""

import os
import sqlite3
import time

from harness import check, copied, read_settings, reading_pane, shows_text, start_with, \
    stop_process, wait_until

TESTS = {}

GROUPS = ["Gödel,", "Ελληνικά,", "日本語", "😀", "straße", "алфавит", "бегемот", "вертолёт",
          "гиппопотам", "дирижабль", "ежевика", "жемчужина"]


def open_and_read(t):
    d = t.display
    text = " ".join(GROUPS)
    p = start_with(t, text + "\n", "мир.txt")
    wait_until("the text pane to give the file's text", lambda: copied(d, "ctrl+a") == text)
    d.key(*["minus"] * 24)  # level 1: almost a second a group
    d.key("ctrl+Home", "space")
    for group in GROUPS[:6]:
        wait_until(f"the group {group}", lambda: copied(d) == group, timeout=6)
    image = p.screenshot(t.shot_path("reading"))[0]
    pane = reading_pane(image, x=5)  # beside the word, which may cross the middle
    check(pane is not None and shows_text(image, *pane), "the reading pane is blank")
    wait_until(f"the group {GROUPS[6]}", lambda: copied(d) == GROUPS[6], timeout=6)
    d.key("Left")
    wait_until("Left to show the group before", lambda: copied(d) == GROUPS[5], timeout=1.5)
    # Level 50 (50 ms a group) times the very next group: the rest is read at once.
    d.key(*["equal"] * 49)
    wait_until("the rest to be read at the new speed",
               lambda: not shows_text(p.screenshot()[0], *pane), timeout=4)
    # Stopped, the arrows move the caret in the text pane as usual.
    wait_until("Right to move the caret", lambda: copied(d, "ctrl+Home", "shift+Right") == "G")
    p.close()
    check(read_settings(p.folder)["speedLevel"] == 50, "the speed was not kept")

    # A KOI8-R file in a folder whose name, like its own, is not UTF-8 (shown
    # as Windows-1251), chosen in the open dialog's list: the folder is its
    # first entry, the file the only one inside.
    russian = "Кот сидит у окна и смотрит на улицу, где идёт снег. " * 8
    os.mkdir(os.fsencode(p.path("d\udce9j\udce0")))
    with open(os.fsencode(p.path("d\udce9j\udce0/caf\udce9.txt")), "wb") as f:
        f.write(russian.strip().encode("koi8_r"))
    p.start()
    d.key("ctrl+o")
    p.wait_window("Открыть")
    d.key("Return", "Return")
    p.wait_title("Orvek Lumeno - cafй.txt")
    wait_until("the KOI8-R text", lambda: copied(d, "ctrl+a") == russian.strip())
    p.close()


def clipboard_round_trip(t):
    d = t.display
    p = t.program()
    p.start()
    pasted = "Café naïve Gödel — «ёлка» №5 … Ελληνικά 日本語 😀 straße"
    owner = d.offer_clipboard(pasted)
    try:
        d.key("ctrl+v")
        wait_until("the pasted text to come back whole", lambda: copied(d, "ctrl+a") == pasted)
    finally:
        stop_process(owner)
    p.close()


def reading_leaves_no_trace(t):
    """Read at level 50 over lines the text pane scrolls to, then stopped:
    the window shows what painting it all anew shows (a step repaints only
    where the highlight leaves and where it comes to)."""
    d = t.display
    words = ["кот", "слон", "жираф", "гиппопотам", "ёж", "муравьед", "бегемот", "лис"]
    lines = [" ".join(words[(i + j) % len(words)] for j in range(3 + i % 4)) for i in range(120)]
    p = start_with(t, "\n".join(lines) + "\n", "строки.txt")
    d.key(*["minus"] * 24, *["equal"] * 49)  # level 50: 20 groups a second
    d.key("ctrl+Home", "space")
    time.sleep(5)
    d.key("space")
    time.sleep(0.5)
    stepped = p.screenshot(t.shot_path("stepped"))[0]
    x, y, width, height = p.geometry()
    d.tool("xdotool", "windowsize", p.window, str(width + 1), str(height))
    wait_until("the window to widen", lambda: p.geometry()[2] == width + 1)
    d.tool("xdotool", "windowsize", p.window, str(width), str(height))
    wait_until("the window to narrow", lambda: p.geometry()[2] == width)
    time.sleep(0.5)
    repainted = p.screenshot(t.shot_path("repainted"))[0]
    # From below the reading pane to above the status bar: the progress bar
    # repaints itself only once its picture moved a chunk on.
    below = reading_pane(stepped)[1] + 8
    rows = slice(below * width * 3, (height - 40) * width * 3)
    check(stepped.pixels[rows] == repainted.pixels[rows],
          "the text pane differs from its repaint")
    p.close()


CHART_BLUE = (0x20, 0x9F, 0xDF)


def reading_history(t):
    d = t.display
    p = start_with(t, "слово " * 300 + "\n", "история.txt")
    d.key(*["minus"] * 24)  # level 1: almost a second a group
    d.key("ctrl+Home", "space")
    time.sleep(8)  # the reading itself is what is measured
    d.key("space")
    p.close()
    db = sqlite3.connect(f"file:{p.path('history.sqlite')}?mode=ro", uri=True)
    try:
        check(db.execute("PRAGMA integrity_check").fetchone() == ("ok",), "the file is damaged")
        runs = db.execute("SELECT name, spent_ms, words_shown FROM runs").fetchall()
    finally:
        db.close()
    check(len(runs) == 1 and runs[0][0] == "история.txt", f"the runs are {runs}")
    check(abs(runs[0][1] - 8000) <= 1000 and runs[0][2] > 0, f"the run is {runs[0]}")
    p.start()
    d.key("ctrl+i")
    x, y, width, height = d.geometry(p.wait_window("Статистика чтения"))
    # The day's bar on the left and the run's point on the right, in the charts' first colour.
    for left in (x, x + width // 2):
        wait_until(f"a chart drawn right of {left}", lambda: d.screenshot(
            left, y, width // 2, height // 2).pixels.count(bytes(CHART_BLUE)) > 10)
    d.screenshot(x, y, width, height, save_as=t.shot_path("statistics"))
    wait_until("the table to name the document", lambda: copied(d) == "история.txt")
    d.key("Escape")
    p.wait_no_window("Статистика чтения")
    p.close()


TESTS["open_and_read"] = (open_and_read, (1024, 768))
TESTS["clipboard_round_trip"] = (clipboard_round_trip, (1024, 768))
TESTS["reading_history"] = (reading_history, (1024, 768))
TESTS["reading_leaves_no_trace"] = (reading_leaves_no_trace, (1024, 768))
