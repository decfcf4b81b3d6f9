"""The shelf and its bookmarks across a real close and restart, a kill, a
full disk, and the end of a session."""

import os
import shutil
import signal
import subprocess
import tempfile
import time

from harness import PROGRAM_TITLE, Skip, answer_message, bookmark_names, check, copied, \
    go_to_first_bookmark, in_dialog, open_first_on_shelf, place_bookmark_at_once, put_on_shelf, \
    read_settings, read_shelf, start_with, wait_until

TESTS = {}

# A text long enough for bookmarks, in sentences.
LONG = " ".join(f"Предложение номер {n} рассказывает о чём-то своём." for n in range(1, 40)) + "\n"


def shelf_and_bookmarks_survive_a_restart(t):
    d = t.display
    p = t.program()
    document = p.write_document("book.txt", LONG)
    # Named relative to the folder it starts in, as from a shell: the shelf
    # must keep the absolute path.
    p.start("./book.txt")
    put_on_shelf(p)
    d.key("ctrl+Home", *["ctrl+Right"] * 14, "alt+m")  # the third sentence
    in_dialog(p, "Поместить закладку", "ctrl+a", "B", "o", "o", "k", "Return")
    d.key("ctrl+End")
    p.close()
    shelf = read_shelf(p.folder)
    check(len(shelf) == 1 and shelf[0]["path"] == document, f"the shelf holds {shelf}")
    check(sorted(bookmark_names(p.folder)) == [".", "Book"], f"the bookmarks are {shelf}")
    position = next(at for name, at, _ in shelf[0]["bookmarks"] if name == "Book")

    p.start()
    open_first_on_shelf(p, "book")
    go_to_first_bookmark(p)
    wait_until(f"the bookmark to lead to {LONG[position:position + 20]!r}",
               lambda: LONG[position:].startswith(copied(d, "shift+End") or "-"))
    p.close()
    check(bookmark_names(p.folder).count("Book") == 1, "the bookmark was not kept once")

    # The record count's one bit flipped (1 becomes 0): the damaged file is
    # kept aside, the user told, and the document stays on the shelf.
    damaged = bytearray(open(p.path("bksh.dat"), "rb").read())
    damaged[4] = 0
    with open(p.path("bksh.dat"), "wb") as f:
        f.write(damaged)
    p.start()
    d.key("ctrl+b")
    answer_message(p)
    in_dialog(p, "Полка", "Escape")
    p.close()
    check(open(p.path("bksh.dat.damaged"), "rb").read() == bytes(damaged),
          "the damaged shelf was not kept aside as it was")
    check(len(read_shelf(p.folder)) == 1, "the document left the shelf")


def kill_keeps_bookmarks_placed_before_it(t):
    d = t.display
    p = t.program()
    p.start(p.write_document("book.txt", LONG))
    put_on_shelf(p)
    d.key("ctrl+Home", *["ctrl+Right"] * 14)
    place_bookmark_at_once(p)
    # The bookmark reaches the shelf file at once.
    try:
        wait_until("the bookmark to reach bksh.dat",
                   lambda: read_shelf(p.folder) and read_shelf(p.folder)[0]["bookmarks"], timeout=2)
    finally:
        p.kill()
    check(set(bookmark_names(p.folder)) - {"."}, "the bookmark was lost with the kill")


def fill_up(path):
    """Writes a file until not one more byte fits on its disk."""
    fd = os.open(path, os.O_WRONLY | os.O_CREAT, 0o644)
    try:
        for chunk in (1 << 20, 1 << 16, 1 << 12, 1 << 8, 1):
            try:
                while True:
                    os.write(fd, b"\0" * chunk)
            except OSError:
                pass
    finally:
        os.close(fd)


def full_disk_tells_user_and_keeps_the_shelf(t):
    """On a full disk a new bookmark cannot be stored: the user is told, the
    shelf as stored before stays whole, and the close asks where it goes."""
    d = t.display
    if os.geteuid() != 0:
        raise Skip("needs root to mount a small tmpfs")
    mount_point = tempfile.mkdtemp(prefix="lmn-e2e-disk-")
    document_folder = tempfile.mkdtemp(prefix="lmn-e2e-doc-")
    size = os.path.getsize(os.path.join(t.build_dir, "lmn")) + 2 * 1024 * 1024
    if subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", mount_point],
                      capture_output=True).returncode != 0:
        os.rmdir(mount_point)
        os.rmdir(document_folder)
        raise Skip("cannot mount a tmpfs here")
    try:
        p = t.program(folder=mount_point)
        document = os.path.join(document_folder, "book.txt")
        with open(document, "w", encoding="utf-8") as f:
            f.write(LONG)
        p.start(document)
        put_on_shelf(p)
        p.close()
        before = open(p.path("bksh.dat"), "rb").read()

        fill_up(p.path("filler"))
        p.start()
        open_first_on_shelf(p, "book")
        d.key("ctrl+Home", *["ctrl+Right"] * 14)
        place_bookmark_at_once(p)

        # Placing the bookmark rewrites the shelf at once: on the full disk the
        # user is told, and the old file stays whole.
        wait_until("the program's message", lambda: len(p.windows()) > 1)
        check(open(p.path("bksh.dat"), "rb").read() == before, "the stored shelf changed")
        answer_message(p)

        # Closing on the full disk promises no later write: it asks, and the
        # shelf saved in another place keeps the bookmark. lmn.dat cannot be
        # written either, which is told.
        d.tool("wmctrl", "-i", "-c", p.window)
        p.wait_window(PROGRAM_TITLE)
        d.key("Tab", "space")  # the second answer
        p.wait_window("Сохранить полку в другом месте")
        d.tool("xdotool", "type", "--delay", "5", os.path.join(document_folder, "bksh.dat"))
        in_dialog(p, "Сохранить полку в другом месте", "Return")
        answer_message(p)
        wait_until("the program to end", lambda: p.process.poll() is not None)
        check(open(p.path("bksh.dat"), "rb").read() == before, "the stored shelf changed")
        check(set(bookmark_names(document_folder)) - {"."}, "the bookmark was lost on the full disk")
    finally:
        t.clean_up()
        subprocess.run(["umount", mount_point], capture_output=True)
        os.rmdir(mount_point)
        shutil.rmtree(document_folder, ignore_errors=True)


def session_end_saves_as_the_close_does(t):
    """SIGTERM at logout or shutdown and SIGHUP save what the window's close
    saves, even with a dialog open."""
    d = t.display
    for sent in (signal.SIGTERM, signal.SIGHUP):
        p = start_with(t, LONG, "book.txt")
        put_on_shelf(p)
        d.key("ctrl+Home", *["ctrl+Right"] * 14, *["KP_Add"] * 3, "ctrl+b")
        p.wait_window("Полка")  # the keys before it are handled by then
        p.process.send_signal(sent)
        wait_until("the program to end", lambda: p.process.poll() is not None, timeout=10)
        check(p.process.returncode == 0, f"{sent.name}: the program ended with {p.process.returncode}")
        speed = read_settings(p.folder)["speedLevel"]
        check(speed == 28, f"after {sent.name} the stored speed is {speed}, not 28")
        check("." in bookmark_names(p.folder), f"after {sent.name} no resume place was kept")
        t.clean_up()


TESTS["shelf_and_bookmarks_survive_a_restart"] = (shelf_and_bookmarks_survive_a_restart, (1024, 768))
TESTS["kill_keeps_bookmarks_placed_before_it"] = (kill_keeps_bookmarks_placed_before_it, (1024, 768))
TESTS["full_disk_tells_user_and_keeps_the_shelf"] = (full_disk_tells_user_and_keeps_the_shelf,
                                                     (1024, 768))
TESTS["session_end_saves_as_the_close_does"] = (session_end_saves_as_the_close_does, (1024, 768))
