"""The end of a session: SIGTERM at logout or shutdown and SIGHUP save what
the window's close saves, even with a dialog open."""

import signal

from harness import check, put_on_shelf, read_settings, read_shelf, wait_until
from test_shelf import LONG

TESTS = {}


def session_end_saves_as_the_close_does(t):
    d = t.display
    for sent in (signal.SIGTERM, signal.SIGHUP):
        p = t.program()
        p.start(p.write_document("book.txt", LONG))
        put_on_shelf(p)
        d.key("ctrl+Home", *["ctrl+Right"] * 14, *["KP_Add"] * 3)
        # The keys are handled in order: once the shelf dialog shows, the
        # speed has changed and the caret has moved.
        d.key("ctrl+b")
        p.wait_window("Полка")
        p.process.send_signal(sent)
        wait_until("the program to end", lambda: p.process.poll() is not None, timeout=10)
        check(p.process.returncode == 0,
              f"after {sent.name} the program ended with {p.process.returncode}")
        speed = read_settings(p.folder)["speedLevel"]
        check(speed == 28, f"after {sent.name} the stored speed is {speed}, not 28")
        names = [name for name, _, _ in read_shelf(p.folder)[0]["bookmarks"]]
        check("." in names, f"after {sent.name} the shelf keeps no resume place: {names}")
        t.clean_up()


TESTS["session_end_saves_as_the_close_does"] = (session_end_saves_as_the_close_does, (1024, 768))
