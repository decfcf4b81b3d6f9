"""The main window on real screens: its first size and place, the reading
pane's height from start to start, and Qt's own dialogs in Russian."""

from harness import check, read_settings, reading_pane, wait_until

TESTS = {}


def reading_pane_keeps_its_height_from_start_to_start(t):
    p = t.program()
    expected = 334  # half of the first window's 668 pixels on a 1024 x 768 screen
    for cycle in range(10):
        p.start()
        top, bottom = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
        if cycle == 0 and t.shots:
            p.screenshot(save_as=t.shot_path("first-start-1024"))
        check(bottom - top == expected,
              f"start {cycle + 1} shows a {bottom - top} px reading pane, not {expected}")
        p.close()
        saved = read_settings(p.folder)["readingPaneHeight"]
        check(saved == expected, f"start {cycle + 1} saved {saved}, not {expected}")


def first_start_on_a_wide_screen(t):
    """The first window is 1200 x 800 in the middle of a 1920 x 1080 screen,
    although that is narrower than the two thirds the user may not drag it
    below: the limit applies to dragging, not to the first size."""
    p = t.program()
    p.start()
    x, y, width, height = p.geometry()
    if t.shots:
        t.display.screenshot(save_as=t.shot_path("first-start-1920"))
    top, bottom = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
    check((width, height) == (1200, 800), f"the first window is {width} x {height}")
    check(bottom - top == 350, f"the first reading pane is {bottom - top} px high")
    # Made as small as it goes: as narrow as it started, two thirds of the
    # screen's height.
    t.display.tool("xdotool", "windowsize", p.window, "600", "400")
    smallest = wait_until("the window to take its smallest size",
                          lambda: p.geometry()[2:] if p.geometry()[2:] != (width, height) else None)
    check(smallest == (1200, 720), f"the window could be made {smallest}")
    p.close()
    saved = read_settings(p.folder)
    check((saved["windowLeft"], saved["windowTop"], saved["windowWidth"], saved["windowHeight"],
           saved["readingPaneHeight"]) == (360, 140, 1200, 720, 350),
          f"the window was saved as {saved}")


def set_maximised(p, maximised):
    """Maximises or restores the main window as the title bar's button does,
    and waits for the new size."""
    before = p.geometry()[2:]
    p.display.tool("wmctrl", "-i", "-r", p.window, "-b",
                   ("add" if maximised else "remove") + ",maximized_vert,maximized_horz")
    return wait_until("the window to be " + ("maximised" if maximised else "restored"),
                      lambda: p.geometry()[2:] if p.geometry()[2:] != before else None)


def maximise_and_restore_give_back_the_size(t):
    """On a 1920 x 1080 screen the first window is narrower than the two
    thirds the user may not drag it below; maximising must not raise that."""
    p = t.program()
    p.start()
    first = p.geometry()[2:]
    check(first == (1200, 800), f"the first window is {first}")
    for cycle in range(2):
        big = set_maximised(p, True)
        check(big[0] > 1800, f"maximised, the window is {big}")
        restored = set_maximised(p, False)
        check(restored == first, f"restore {cycle + 1} gave {restored}, not {first}")
    p.close()
    saved = read_settings(p.folder)
    check((saved["windowWidth"], saved["windowHeight"], saved["windowMaximized"]) == (1200, 800, 0),
          f"the window was saved as {saved}")


def shared_window_in_a_maximised_window_keeps_the_split(t):
    """F5 and F9 while maximised, then a restore: the panes are shared as
    they were before F5, at start-up as well."""
    d = t.display
    p = t.program()
    pane = lambda: reading_pane(p.screenshot()[0])
    for start in range(2):
        p.start()
        top, bottom = wait_until("the reading pane", pane)
        check(bottom - top == 350, f"start {start + 1}: the reading pane is {bottom - top} px")
        if start == 1:
            break
        set_maximised(p, True)
        d.key("F5")
        wait_until("F5 to hide the reading pane", lambda: pane() is None)
        d.key("F9")
        top, bottom = wait_until("F9 to bring the reading pane back", pane)
        check(bottom - top == 350, f"F9 gave a {bottom - top} px reading pane, not 350")
        set_maximised(p, False)
        # The text pane below it keeps more than a line or two.
        image = p.screenshot()[0]
        top, bottom = wait_until("the reading pane after the restore", pane)
        check(bottom - top == 350, f"restored, the reading pane is {bottom - top} px")
        check(image.height - bottom > 300, f"restored, the text pane has {image.height - bottom} px")
        p.close()
        saved = read_settings(p.folder)["readingPaneHeight"]
        check(saved == 350, f"the reading pane was saved as {saved} px")


def qt_dialogs_speak_russian(t):
    d = t.display
    p = t.program()
    p.start()
    d.key("ctrl+o")
    window, name = wait_until("the open dialog",
                              lambda: [(w, n) for w, n in p.windows() if w != p.window and n])[0]
    d.key("Escape")
    check(name == "Открыть", f"the open dialog is titled {name!r}")


TESTS["reading_pane_keeps_its_height_from_start_to_start"] = (
    reading_pane_keeps_its_height_from_start_to_start, (1024, 768))
TESTS["first_start_on_a_wide_screen"] = (first_start_on_a_wide_screen, (1920, 1080))
TESTS["qt_dialogs_speak_russian"] = (qt_dialogs_speak_russian, (1024, 768))
TESTS["maximise_and_restore_give_back_the_size"] = (
    maximise_and_restore_give_back_the_size, (1920, 1080))
TESTS["shared_window_in_a_maximised_window_keeps_the_split"] = (
    shared_window_in_a_maximised_window_keeps_the_split, (1920, 1080))


def floating_bar_shows_its_caption(t):
    d = t.display
    p = t.program()
    p.start()
    image, (x, y) = p.screenshot()
    top, _ = wait_until("the reading pane", lambda: reading_pane(image))
    handle = (x + 4, y + top - 20)   # the bar's grip, at its left end
    d.mouse_move(*handle)
    d.tool("xdotool", "mousedown", "1")
    for step in range(1, 11):
        d.mouse_move(handle[0] + 30 * step, handle[1] + 25 * step)
    d.tool("xdotool", "mouseup", "1")
    bar = p.wait_window("Lumeno. Control Bar")
    bx, by, bw, bh = d.geometry(bar)
    picture = d.screenshot(bx, by, bw, bh, save_as=t.shot_path("floating-bar"))
    if t.shots:
        d.screenshot(save_as=t.shot_path("floating-bar-screen"))
    # The caption in a title bar's colours ahead of the buttons: most of the
    # bar's first 130 pixels are one colour that is not the bar's own.
    first = [picture.pixel(px, py) for px in range(10, 140) for py in range(8, bh - 8)]
    colour = max(set(first), key=first.count)
    check(first.count(colour) > 0.6 * len(first) and colour != picture.pixel(bw - 2, bh - 2),
          "the floating bar shows no caption")
    p.close()


TESTS["floating_bar_shows_its_caption"] = (floating_bar_shows_its_caption, (1024, 768))
