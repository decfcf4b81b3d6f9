"""The reading controls on a real keyboard and mouse: the main keyboard's
"=", "+" and "-" and the wheel change the speed with the US and with the
Russian layout, and a new speed times the very next group; Left during
reading shows the group before; the focus letter never cuts off a word that
fits; the status bar's time left falls while reading goes on."""

import time

from harness import READING_BACKGROUND, check, read_settings, reading_pane, shows_text, \
    wait_until

TESTS = {}

# Words of six letters or more: every group is plain and not short, so each
# stays for the base interval of the speed level.
WORDS = ["алфавит", "бегемот", "вертолёт", "гиппопотам", "дирижабль", "ежевика", "жемчужина",
         "заповедник", "искусство", "калейдоскоп", "лабиринт", "мармелад"]


def start_with(t, text):
    p = t.program()
    p.start(p.write_document("doc.txt", text))
    p.wait_title("Orvek Lumeno - doc.txt")
    return p


def speed_keys_on_the_main_keyboard(t, layout):
    d = t.display
    d.set_layouts(layout)
    p = start_with(t, " ".join(WORDS) + "\n")
    # 25 at first run: = = = + - - gives 27; the wheel up twice and down
    # once over the reading pane, one click step each, gives 28.
    d.key("equal", "equal", "equal", "plus", "minus", "minus")
    image, (x, y) = p.screenshot()
    top, bottom = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
    d.mouse_move(x + image.width // 2, y + (top + bottom) // 2)
    d.tool("xdotool", "click", "--repeat", "2", "--delay", "80", "4")
    d.tool("xdotool", "click", "5")
    p.close()
    speed = read_settings(p.folder)["speedLevel"]
    check(speed == 28, f"main keyboard and wheel with the {layout} layout gave speed {speed}")


def speed_keys_with_us_layout(t):
    speed_keys_on_the_main_keyboard(t, "us")


def speed_keys_with_russian_layout(t):
    speed_keys_on_the_main_keyboard(t, "ru")


def copied_group(d):
    """The group highlighted in the text pane now, through Ctrl+C."""
    d.key("ctrl+c")
    return d.clipboard_text()


def left_during_reading_shows_the_previous_group(t):
    d = t.display
    p = start_with(t, " ".join(WORDS) + "\n")
    d.key(*["minus"] * 24)  # level 1: almost a second a word
    d.key("ctrl+Home", "space")
    wait_until("the fourth word", lambda: copied_group(d) == WORDS[3], timeout=8)
    d.key("Left")
    wait_until("Left to show the third word again", lambda: copied_group(d) == WORDS[2],
               timeout=0.8)
    pane = reading_pane(p.screenshot()[0])
    check(pane is not None and shows_text(p.screenshot()[0], *pane),
          "the reading pane went blank after Left")
    # Reading goes on from there.
    wait_until("the fourth word once more", lambda: copied_group(d) == WORDS[3], timeout=3)
    d.key("ctrl+Right")  # no further sentence: the run ends as at the end
    wait_until("Ctrl+Right to end the run",
               lambda: not shows_text(p.screenshot()[0], *pane), timeout=3)
    # Stopped, the arrows move the caret in the text pane as usual.
    d.key("ctrl+Home", "Right", "shift+Right", "shift+Right")
    wait_until("Right to move the caret", lambda: copied_group(d) == WORDS[0][1:3])
    p.close()


def speed_change_times_the_next_group(t):
    """Text without a comma or full stop: every group is of one kind, and a
    new speed still times the group after it."""
    d = t.display
    p = start_with(t, " ".join(WORDS * 2) + "\n")
    d.key(*["minus"] * 24)  # level 1: almost a second a word, 23 s for the text
    pane = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
    d.key("ctrl+Home", "space")
    wait_until("the first word", lambda: shows_text(p.screenshot()[0], *pane))
    d.key(*["equal"] * 49)  # level 50: 50 ms a word
    wait_until("the text to be read through at the new speed",
               lambda: not shows_text(p.screenshot()[0], *pane), timeout=6)
    p.close()
    check(read_settings(p.folder)["speedLevel"] == 50, "the speed did not reach 50")


def ink_columns(image, top, bottom):
    """(first, last) columns of anything drawn in the reading pane between
    two rows, and the (first, last) columns of the pane itself."""
    pane = [x for x in range(image.width) if image.pixel(x, top + 2) == READING_BACKGROUND]
    drawn = [x for x in pane
             if any(image.pixel(x, y) != READING_BACKGROUND for y in range(top + 2, bottom - 2))]
    return (drawn[0], drawn[-1]) if drawn else None, (pane[0], pane[-1])


def focus_letter_keeps_a_long_word_whole(t):
    """With the focus letter on, a word that fits the pane but whose fifth
    letter sits far from its end is moved in just enough to show whole."""
    d = t.display
    p = t.program()
    with open(p.path("lmn.ini"), "w", encoding="utf-8") as f:
        f.write("[Reading]\nFocusLetter=true\n")
    word = "достопримечательность"  # the 5th of 21 letters is the focus letter
    p.start(p.write_document("doc.txt", " ".join([word] * 3) + "\n"))
    p.wait_title("Orvek Lumeno - doc.txt")
    d.key(*["minus"] * 24)  # level 1: almost a second a word
    top, bottom = wait_until("the reading pane", lambda: reading_pane(p.screenshot()[0]))
    d.key("ctrl+Home", "space")
    image = wait_until("the word in the reading pane",
                       lambda: next((i for i in [p.screenshot()[0]] if shows_text(i, top, bottom)),
                                    None))
    d.key("space")
    drawn, pane = ink_columns(image, top, bottom)
    check(drawn is not None, "the reading pane shows nothing")
    check(drawn[1] - drawn[0] < pane[1] - pane[0] - 40,
          f"the word ({drawn}) does not fit the pane ({pane}) for this test")
    check(pane[0] < drawn[0] and drawn[1] < pane[1],
          f"the word is cut: drawn from {drawn[0]} to {drawn[1]}, the pane is {pane}")
    p.close()


def estimate_ink(image):
    """[left, right] columns of the dark pixels in the right half of the
    status bar, where the rate and time left are; None when it is blank. The
    status bar is the lowest band of light rows."""
    light = lambda y: sum(1 for x in range(0, image.width, 8) if sum(image.pixel(x, y)) > 600) \
        > image.width // 8 * 3 // 4
    bottom = next((y for y in range(image.height - 1, 0, -1) if light(y)), None)
    if bottom is None:
        return None
    columns = []
    for x in range(image.width // 2, image.width - 24):
        for y in range(bottom - 18, bottom):
            if sum(image.pixel(x, y)) < 240:
                columns.append(x)
                break
    return (columns[0], columns[-1]) if columns else None


def time_left_falls_as_reading_goes_on(t):
    d = t.display
    # 60 words at level 25 last 12 seconds: "осталось 12 с" at rest, 13 s
    # with the first tick, one digit from under 10 s on.
    p = start_with(t, " ".join(WORDS * 5) + "\n")
    first = wait_until("the rate and time left", lambda: estimate_ink(p.screenshot()[0]))
    d.key("ctrl+Home", "space")
    shots, widths = [], []
    deadline = time.monotonic() + 6
    while time.monotonic() < deadline:
        ink = estimate_ink(p.screenshot(t.shot_path(f"estimate-{len(shots)}"))[0])
        shots.append(ink)
        widths.append(None if ink is None else ink[1] - ink[0])
        time.sleep(0.4)
    check(all(w is not None for w in widths), f"the pane went blank while reading: {widths}")
    changes = sum(1 for a, b in zip(shots, shots[1:]) if a != b)
    check(changes >= 1, f"the time left did not change in 6 s of reading: {shots}")
    # From "осталось 13 с" to "осталось 7 с": one digit less.
    check(widths[-1] < widths[0], f"the time left did not fall: widths {widths}, at rest {first}")
    wait_until("the pane to empty at the end of the task",
               lambda: estimate_ink(p.screenshot()[0]) is None, timeout=10)
    p.close()


TESTS["speed_keys_with_us_layout"] = (speed_keys_with_us_layout, (1024, 768))
TESTS["speed_keys_with_russian_layout"] = (speed_keys_with_russian_layout, (1024, 768))
TESTS["left_during_reading_shows_the_previous_group"] = (
    left_during_reading_shows_the_previous_group, (1024, 768))
TESTS["speed_change_times_the_next_group"] = (speed_change_times_the_next_group, (1024, 768))
TESTS["focus_letter_keeps_a_long_word_whole"] = (focus_letter_keeps_a_long_word_whole,
                                                 (1920, 1080))
TESTS["time_left_falls_as_reading_goes_on"] = (time_left_falls_as_reading_goes_on, (1024, 768))
