"""The shelf and its bookmarks across a real close and restart, a kill, and a
full disk."""

import os
import shutil
import subprocess
import tempfile
import time

from harness import Skip, check, place_bookmark_at_once, put_on_shelf, read_shelf, wait_until

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
    # A named bookmark through the dialog, at the start of the third sentence.
    d.key("ctrl+Home", *["ctrl+Right"] * 14)
    d.key("alt+m")
    p.wait_window("Поместить закладку")
    d.key("ctrl+a", "B", "o", "o", "k", "m", "a", "r", "k", "Return")
    p.wait_no_window("Поместить закладку")
    d.key("ctrl+End")
    p.close()

    shelf = read_shelf(p.folder)
    check(len(shelf) == 1 and shelf[0]["path"] == document, f"the shelf holds {shelf}")
    names = [name for name, _, _ in shelf[0]["bookmarks"]]
    check("Bookmark" in names and "." in names, f"the record's bookmarks are {names}")
    position = next(at for name, at, _ in shelf[0]["bookmarks"] if name == "Bookmark")

    # Started again, the shelf lists it; opening it goes to where reading stopped.
    p.start()
    d.key("ctrl+b")
    p.wait_window("Полка")
    d.key("Down", "Return")
    p.wait_no_window("Полка")
    p.wait_title("Orvek Lumeno - book")
    d.key("ctrl+m")
    p.wait_window("Закладки")
    d.key("Down", "Return")
    p.wait_no_window("Закладки")
    d.key("shift+End", "ctrl+c")
    wait_until(f"the bookmark to lead to {LONG[position:position + 20]!r} "
               f"(got {d.clipboard_text()!r})",
               lambda: LONG[position:].startswith(d.clipboard_text() or "-"))
    p.close()
    shelf = read_shelf(p.folder)
    check([name for name, _, _ in shelf[0]["bookmarks"]].count("Bookmark") == 1,
          "the bookmark was not kept once")

    # The record count's one bit flipped (1 becomes 0): the damaged file is
    # kept aside, the user told, and the document stays on the shelf.
    damaged = bytearray(open(p.path("bksh.dat"), "rb").read())
    damaged[4] = 0
    with open(p.path("bksh.dat"), "wb") as f:
        f.write(damaged)
    p.start()
    d.key("ctrl+b")
    message = wait_until("the message about the damaged shelf", lambda: [
        w for w, n in p.windows() if n == "Orvek Lumeno" and w != p.window])[0]
    p.activate(message)
    d.key("Return")
    p.wait_window("Полка")
    d.key("Escape")
    p.wait_no_window("Полка")
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
    names = [name for name, _, _ in read_shelf(p.folder)[0]["bookmarks"]]
    check(any(name != "." for name in names), f"after the kill the bookmarks are {names}")


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
    shelf as stored before stays whole, and a later write stores it."""
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
        d.key("ctrl+b")
        p.wait_window("Полка")
        d.key("Down", "Return")
        p.wait_no_window("Полка")
        d.key("ctrl+Home", *["ctrl+Right"] * 14)
        place_bookmark_at_once(p)

        # Placing the bookmark rewrites the shelf at once: on the full disk the
        # user is told, and the old file stays whole.
        message = wait_until("the program's message", lambda: [
            w for w, n in p.windows() if n == "Orvek Lumeno" and w != p.window])[0]
        check(open(p.path("bksh.dat"), "rb").read() == before, "the stored shelf changed")
        p.activate(message)
        d.key("Return")
        wait_until("the message to go", lambda: message not in [w for w, _ in p.windows()])

        # With room again, the next write (here the close) stores what the
        # document kept in memory.
        os.remove(p.path("filler"))
        d.tool("wmctrl", "-i", "-c", p.window)
        wait_until("the program to end", lambda: p.process.poll() is not None)
        names = [name for name, _, _ in read_shelf(p.folder)[0]["bookmarks"]]
        check(any(name != "." for name in names), f"after the close the bookmarks are {names}")
    finally:
        t.clean_up()
        subprocess.run(["umount", mount_point], capture_output=True)
        os.rmdir(mount_point)
        shutil.rmtree(document_folder, ignore_errors=True)


TESTS["shelf_and_bookmarks_survive_a_restart"] = (shelf_and_bookmarks_survive_a_restart, (1024, 768))
TESTS["kill_keeps_bookmarks_placed_before_it"] = (kill_keeps_bookmarks_placed_before_it, (1024, 768))
TESTS["full_disk_tells_user_and_keeps_the_shelf"] = (full_disk_tells_user_and_keeps_the_shelf,
                                                     (1024, 768))
