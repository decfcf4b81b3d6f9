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
    p = t.program()
    p.start()
    x, y, width, height = p.geometry()
    if t.shots:
        t.display.screenshot(save_as=t.shot_path("first-start-1920"))
    top, bottom = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
    p.close()
    saved = read_settings(p.folder)
    check((width, height) == (1200, 800), f"the first window is {width} x {height}")
    check((saved["windowLeft"], saved["windowTop"], saved["windowWidth"], saved["windowHeight"])
          == (360, 140, 1200, 800), f"the first window was saved as {saved}")
    check(bottom - top == 350 and saved["readingPaneHeight"] == 350,
          f"the reading pane is {bottom - top} px and saved as {saved['readingPaneHeight']}")


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
