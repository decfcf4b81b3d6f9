"""Every character kept: a UTF-8 file with accents, Greek, CJK and an emoji
opened from the command line shows exactly its text and reads it group by
group; the clipboard takes and gives full Unicode; a KOI8-R file is read as
Russian."""

from harness import check, reading_pane, shows_text, stop_process, wait_until

TESTS = {}

WORLD = "Gödel, Ελληνικά, 日本語 😀 straße."
GROUPS = ["Gödel,", "Ελληνικά,", "日本語", "😀", "straße."]


def all_text(d):
    d.key("ctrl+a", "ctrl+c")
    return d.clipboard_text()


def copied_group(d):
    d.key("ctrl+c")
    return d.clipboard_text()


def utf8_file_shows_and_reads_every_character(t):
    d = t.display
    p = t.program()
    p.start(p.write_document("мир.txt", WORLD + "\n"))
    p.wait_title("Orvek Lumeno - мир.txt")
    wait_until("the text pane to give the file's text",
               lambda: all_text(d) == WORLD, timeout=5)
    p.screenshot(t.shot_path("unicode-text-pane"))
    d.key(*["minus"] * 24)  # level 1: almost a second a group
    d.key("ctrl+Home", "space")
    for number, group in enumerate(GROUPS):
        wait_until(f"the group {group}", lambda: copied_group(d) == group, timeout=6)
        image = p.screenshot(t.shot_path(f"unicode-group-{number}"))[0]
        pane = reading_pane(image, x=5)  # beside the text, which may cross the middle
        check(pane is not None and shows_text(image, *pane),
              f"the reading pane is blank while {group} is read")
    p.close()


def clipboard_round_trip(t):
    d = t.display
    p = t.program()
    p.start()
    pasted = "Café naïve Gödel — «ёлка» №5 … Ελληνικά 日本語 😀 straße"
    owner = d.offer_clipboard(pasted)
    try:
        d.key("ctrl+v")
        wait_until("the pasted text to come back whole", lambda: all_text(d) == pasted, timeout=5)
    finally:
        stop_process(owner)
    p.close()


def koi8_file_reads_as_russian(t):
    d = t.display
    p = t.program()
    russian = ("Кот сидит у окна и смотрит на улицу, где идёт снег. "
               "Потом он прыгает на стол и уроняет чашку с молоком. ") * 8
    path = p.path("koi8.txt")
    with open(path, "wb") as f:
        f.write(russian.strip().encode("koi8_r"))
    p.start(path)
    p.wait_title("Orvek Lumeno - koi8.txt")
    wait_until("the KOI8-R text", lambda: all_text(d) == russian.strip(), timeout=5)
    p.close()


TESTS["utf8_file_shows_and_reads_every_character"] = (
    utf8_file_shows_and_reads_every_character, (1024, 768))
TESTS["clipboard_round_trip"] = (clipboard_round_trip, (1024, 768))
TESTS["koi8_file_reads_as_russian"] = (koi8_file_reads_as_russian, (1024, 768))
