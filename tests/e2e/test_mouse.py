"""The mouse and the menus: the text pane's context menu (one menu, the
program's) and the Menu key, no stock menus on the bar or the menu bar,
clicks in both panes, and reading stopped when another window becomes
active."""

import subprocess
import time

from harness import SAMPLE, SAMPLE_LINES, check, copied, in_dialog, read_settings, reading_pane, \
    shows_text, start_with, stop_process, wait_until

TESTS = {}


def picture(d, area):
    return d.screenshot(*area).pixels


def mouse_and_menus(t):
    d = t.display
    p = start_with(t, SAMPLE)
    image, (wx, wy) = p.screenshot()
    top, bottom = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
    text_pane = (wx, wy + bottom + 8, image.width, image.height - bottom - 38)
    x, y = wx + image.width // 2, text_pane[1] + text_pane[3] // 2
    menu = (x + 6, y + 6, 120, 60)  # where a menu opened at (x, y) shows

    def stays(area, baseline, what):
        deadline = time.monotonic() + 0.6
        while time.monotonic() < deadline:
            check(picture(d, area) == baseline, what)

    d.mouse_move(x, y)
    d.key("ctrl+End")
    baseline = picture(d, menu)
    # Escape closes the context menu, and no second one follows it.
    d.click(x, y, button=3)
    wait_until("the context menu", lambda: picture(d, menu) != baseline)
    d.screenshot(save_as=t.shot_path("context-menu"))
    d.key("Escape")
    wait_until("the menu to close", lambda: picture(d, menu) == baseline, timeout=2)
    stays(menu, baseline, "a second menu opened after the program's context menu")
    # Its first item reads the whole text (the caret goes to the first word),
    # its last opens the search; the Menu key opens the same menu.
    for open_menu, item in ((lambda: d.click(x, y, button=3), "Down"), (lambda: d.key("Menu"), "Down"),
                            (lambda: d.click(x, y, button=3), "Up")):
        d.key("ctrl+End")
        wait_until("the text pane to settle", lambda: picture(d, menu) == baseline)
        whole = picture(d, text_pane)
        open_menu()
        wait_until("the context menu", lambda: sum(
            a != b for a, b in zip(picture(d, text_pane), whole)) > 3000)
        d.key(item, "Return")
        if item == "Up":
            in_dialog(p, "Искать", "Escape")
            p.activate(p.window)
        else:
            wait_until("the first item to select the first word",
                       lambda: copied(d) in ("кот", "кот,"))

    # Right clicks on the control bar and the menu bar open no menu.
    for what, (cx, cy) in (("the control bar", (wx + image.width - 40, wy + top - 16)),
                           ("the menu bar", (wx + image.width - 40, wy + 8))):
        area = (cx + 6, cy + 6, 120, 60)
        d.mouse_move(cx, cy)
        before = picture(d, area)
        d.click(cx, cy, button=3)
        stays(area, before, f"a right-click on {what} opened a menu")
    # A click in the reading pane slows one step, a click and a double right
    # click speed up three: 27.
    d.click(x, wy + (top + bottom) // 2, button=1)
    d.click(x, wy + (top + bottom) // 2 + 30, button=3, repeat=2)

    # A double click selects a word, a triple click one line.
    d.click(text_pane[0] + 30, text_pane[1] + 12, repeat=2)
    wait_until("a double click to select a word", lambda: copied(d) in ("кот", "кот,"))
    d.click(text_pane[0] + 60, text_pane[1] + 32, repeat=3)
    wait_until("a triple click to select line 2", lambda: copied(d) == SAMPLE_LINES[1])

    # Reading stops when another program's window becomes active.
    pane = (top, bottom)
    d.key("ctrl+Home", "space")
    wait_until("Space to start reading", lambda: shows_text(p.screenshot()[0], *pane))
    other = subprocess.Popen(["xmessage", "-geometry", "+0+0", "another program"], env=d.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = wait_until("the other window", lambda: next((
            line.split()[0] for line in d.run(["wmctrl", "-l"]).stdout.decode().splitlines()
            if line.rstrip().endswith("xmessage")), None))
        d.tool("wmctrl", "-i", "-a", window)
        wait_until("reading to stop", lambda: not shows_text(p.screenshot()[0], *pane))
        for _ in range(3):
            check(not shows_text(p.screenshot()[0], *pane), "reading went on behind another window")
    finally:
        stop_process(other)
    p.close()
    check(read_settings(p.folder)["speedLevel"] == 27, "the clicks did not give speed 27")


TESTS["mouse_and_menus"] = (mouse_and_menus, (1024, 768))
