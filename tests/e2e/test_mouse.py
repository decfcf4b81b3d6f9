"""The mouse and the menus: the text pane's context menu (one menu, the
program's), no stock menus elsewhere, clicks in both panes, reading stopped
when another window becomes active, and left Shift placing a bookmark."""

import subprocess
import time

from harness import SAMPLE, SAMPLE_LINES, check, place_bookmark_at_once, put_on_shelf, \
    read_settings, read_shelf, reading_pane, shows_text, stop_process, wait_until

TESTS = {}


def start_with_sample(t):
    p = t.program()
    p.start(p.write_document("doc.txt", SAMPLE))
    p.wait_title("Orvek Lumeno - doc.txt")
    return p


def panes(p):
    """Screen rectangles (x, y, width, height) of the reading and text panes."""
    image, (x, y) = p.screenshot()
    top, bottom = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
    width, height = image.width, image.height
    text_top = bottom + 8
    return (x, y + top, width, bottom - top), (x, y + text_top, width, height - text_top - 30)


def region_picture(d, area):
    x, y, width, height = area
    return d.screenshot(x, y, width, height).pixels


def menu_area(x, y):
    """Where a menu opened at (x, y) lies: right of and below the point."""
    return (x + 6, y + 6, 120, 60)


def differing_bytes(a, b):
    return sum(1 for x, y in zip(a, b) if x != y)


def wait_menu(d, area, baseline, what):
    wait_until(what, lambda: region_picture(d, area) != baseline)


def stays(d, area, baseline, what, seconds=0.6):
    """The area keeps its baseline picture for a while: no menu comes."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        check(region_picture(d, area) == baseline, what)


def right_click_opens_the_program_menu_only(t):
    d = t.display
    p = start_with_sample(t)
    _, (tx, ty, tw, th) = panes(p)
    x, y = tx + tw // 2, ty + th // 2
    area = menu_area(x, y)
    d.mouse_move(x, y)
    d.key("ctrl+End")
    baseline = region_picture(d, area)

    # Escape closes the menu, and no second one follows it.
    d.click(x, y, button=3)
    wait_menu(d, area, baseline, "the context menu")
    if t.shots:
        d.screenshot(save_as=t.shot_path("context-menu"))
    d.key("Escape")
    try:
        wait_until("the menu to close", lambda: region_picture(d, area) == baseline, timeout=2)
    except Failure:
        if t.shots:
            d.screenshot(save_as=t.shot_path("after-context-menu"))
        raise Failure("a second menu opened after the program's context menu")
    stays(d, area, baseline, "a second menu opened after the program's context menu")

    # Its first item reads the whole text: the caret goes to the first word.
    d.click(x, y, button=3)
    wait_menu(d, area, baseline, "the context menu")
    d.key("Down", "Return")
    d.key("ctrl+c")
    wait_until("the first item to select the first word",
               lambda: d.clipboard_text() in ("кот", "кот,"))
    # Its last item is the search.
    d.click(x, y, button=3)
    wait_menu(d, area, baseline, "the context menu")
    d.key("Up", "Return")
    p.wait_window("Искать")
    d.key("Escape")
    p.wait_no_window("Искать")

    # The keyboard's Menu key opens the same menu.
    p.activate(p.window)
    d.key("ctrl+End")
    d.mouse_move(x, y)
    wait_until("the text pane to settle", lambda: region_picture(d, area) == baseline)
    whole = (tx, ty, tw, th)
    baseline = region_picture(d, whole)
    d.key("Menu")
    wait_until("the Menu key to open a menu",
               lambda: differing_bytes(region_picture(d, whole), baseline) > 3000)
    d.key("Down", "Return", "ctrl+c")
    wait_until("the Menu key's first item to select the first word",
               lambda: d.clipboard_text() in ("кот", "кот,"))


def no_stock_menus_on_the_bar_and_menu_bar(t):
    d = t.display
    p = start_with_sample(t)
    (rx, ry, rw, rh), _ = panes(p)
    wx, wy, ww, wh = p.geometry()
    for what, (x, y) in (("the control bar", (wx + ww - 40, ry - 16)),
                         ("the menu bar", (wx + ww - 40, wy + 8))):
        area = menu_area(x, y)
        d.mouse_move(x, y)
        baseline = region_picture(d, area)
        d.click(x, y, button=3)
        stays(d, area, baseline, f"a right-click on {what} opened a menu")
    # The bar is still there: its speed keys still answer, and the speed is kept.
    d.key("KP_Add")
    p.close()
    check(read_settings(p.folder)["speedLevel"] == 26, "the speed did not follow the keypad")


def clicks_in_the_reading_pane_change_the_speed(t):
    d = t.display
    p = start_with_sample(t)
    (rx, ry, rw, rh), _ = panes(p)
    x, y = rx + rw // 2, ry + rh // 2
    d.click(x, y, button=1)              # one step slower: 24
    d.click(x, y + 30, button=3, repeat=2)   # a click and a double click faster: 27
    p.close()
    check(read_settings(p.folder)["speedLevel"] == 27,
          f"speed {read_settings(p.folder)['speedLevel']} after the clicks, not 27")


def clicks_in_the_text_pane_select(t):
    d = t.display
    p = start_with_sample(t)
    _, (tx, ty, tw, th) = panes(p)
    # The first line's first word lies at the pane's top left.
    line_height = 20
    d.click(tx + 30, ty + 12, repeat=2)
    d.key("ctrl+c")
    wait_until("a double click to select a word",
               lambda: (d.clipboard_text() or "") in ("кот", "кот,"))
    # A triple click selects one line, not the whole text.
    d.click(tx + 60, ty + 12 + line_height, repeat=3)
    d.key("ctrl+c")
    wait_until("a triple click to select line 2", lambda: d.clipboard_text() == SAMPLE_LINES[1])


def reading_stops_when_another_window_is_activated(t):
    d = t.display
    p = start_with_sample(t)
    pane = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
    d.key("space")
    wait_until("Space to start reading", lambda: shows_text(p.screenshot()[0], *pane))
    other = subprocess.Popen(["xmessage", "-geometry", "+0+0", "another program"], env=d.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        def other_window():
            for line in d.run(["wmctrl", "-l"]).stdout.decode(errors="replace").splitlines():
                if line.rstrip().endswith("xmessage"):
                    return line.split()[0]
            return None
        d.tool("wmctrl", "-i", "-a", wait_until("the other window", other_window))
        wait_until("reading to stop", lambda: not shows_text(p.screenshot()[0], *pane))
        for _ in range(3):
            check(not shows_text(p.screenshot()[0], *pane), "reading went on behind another window")
    finally:
        stop_process(other)


def bar_button_after_progress(p, index):
    """Screen point of a bar button counted from the progress bar on (0 is
    the first button after it), found by its pixels along the bar's middle."""
    image, (x, y) = p.screenshot()
    top, _ = reading_pane(image)
    row = top - 20
    background = image.pixel(image.width - 5, row)
    runs, start = [], None
    for px in range(image.width):
        drawn = image.pixel(px, row) != background
        if drawn and start is None:
            start = px
        elif not drawn and start is not None:
            if runs and start - runs[-1][1] < 6:
                runs[-1] = (runs[-1][0], px)   # one icon with a gap inside
            else:
                runs.append((start, px))
            start = None
    progress = max(range(len(runs)), key=lambda i: runs[i][1] - runs[i][0])
    left, right = runs[progress + 1 + index]
    return x + (left + right) // 2, y + row


def left_shift_places_a_bookmark_without_the_dialog(t):
    """The program asks the X server whether Shift is down: only a real key
    shows that it does. Shift+Alt+M and Shift with a click on the bar button
    both take the proposed name without the dialog."""
    d = t.display
    p = start_with_sample(t)
    put_on_shelf(p)
    # The caret in the second sentence of line 2: the proposal is that sentence.
    d.key("ctrl+Home", "Down", "ctrl+Right", "ctrl+Right", "ctrl+Right", "ctrl+Right")
    place_bookmark_at_once(p)
    # The caret in line 3's second sentence, and the bar's button.
    d.key("ctrl+Home", "Down", "Down", "ctrl+Right", "ctrl+Right", "ctrl+Right", "ctrl+Right")
    button = bar_button_after_progress(p, 1)
    place_bookmark_at_once(p, press=lambda: d.click(*button))
    p.close()
    shelf = read_shelf(p.folder)
    names = [name for name, _, _ in shelf[0]["bookmarks"]] if shelf else []
    for expected in ("Он прыгнул на стол и уронил чашку с молоком",
                     "Никто не знает, куда он убежал вечером"):
        check(names.count(expected) == 1, f"the bookmarks are {names}")


for test in (right_click_opens_the_program_menu_only, no_stock_menus_on_the_bar_and_menu_bar,
             clicks_in_the_reading_pane_change_the_speed, clicks_in_the_text_pane_select,
             reading_stops_when_another_window_is_activated,
             left_shift_places_a_bookmark_without_the_dialog):
    TESTS[test.__name__] = (test, (1024, 768))
