"""Every key of the command table, typed on a real keyboard, with the US
layout and with the Russian one active, and with a Russian layout alone (no
Latin letters anywhere): a shortcut must work in each, by the key's place."""

from harness import SAMPLE, SAMPLE_LINES, check, read_settings, read_shelf, reading_pane, \
    shows_text, stop_process, wait_until

TESTS = {}

# The keys as xdotool types them. With the Russian group active, a letter key
# gives a Cyrillic keysym; typing that keysym puts the keyboard in the Russian
# group for the press, as a user's layout switch does.
LAYOUT_KEYS = {
    "us": {"a": "a", "b": "b", "k": "k", "v": "v", "m": "m", "c": "c", "o": "o", "f": "f"},
    "ru": {"a": "Cyrillic_ef", "b": "Cyrillic_i", "k": "Cyrillic_el", "v": "Cyrillic_em",
           "m": "Cyrillic_softsign", "c": "Cyrillic_es", "o": "Cyrillic_shcha", "f": "Cyrillic_a"},
}

# The layouts each test sets up: the keys typed are LAYOUT_KEYS[letters].
KEYBOARDS = {
    "us": ("us", ("us", None)),
    "ru": ("ru", ("us,ru", "grp:caps_toggle")),
    # A machine set up for Russian alone: the letter keys have no Latin keysym
    # in any group.
    "ru_alone": ("ru", ("ru", None)),
}

DIALOG_KEYS = [
    # (key, letter or None, window title; None: any new window)
    ("ctrl", "o", ("Открыть", "Open")),
    ("ctrl", "b", ("Полка",)),
    ("ctrl", "k", ("Горячие клавиши",)),
    ("", "F1", None),
]


def command_keys(t, keyboard):
    d = t.display
    layout, layouts = KEYBOARDS[keyboard]
    letters = LAYOUT_KEYS[layout]
    key = lambda modifier, letter: f"{modifier}+{letters.get(letter, letter)}" if modifier \
        else letters.get(letter, letter)
    if layouts[0] != "us":
        d.set_layouts(*layouts)
    p = t.program()
    document = p.write_document("doc.txt", SAMPLE)
    p.start(document)
    p.wait_title("Orvek Lumeno - doc.txt")

    # Copy: Ctrl+C and Ctrl+Insert.
    d.key("ctrl+Home", "shift+End", key("ctrl", "c"))
    wait_until("Ctrl+C to copy line 1", lambda: d.clipboard_text() == SAMPLE_LINES[0])
    d.key("Down", "Home", "shift+End", "ctrl+Insert")
    wait_until("Ctrl+Insert to copy line 2", lambda: d.clipboard_text() == SAMPLE_LINES[1])

    # Ctrl+F3 looks for the selection further on, F3 for the same again.
    d.key("ctrl+Home", "shift+Right", "shift+Right", "shift+Right", "ctrl+F3", "shift+Right",
          key("ctrl", "c"))
    wait_until("Ctrl+F3 to find the second 'кот'", lambda: d.clipboard_text() == "кот!")
    d.key("F3", "shift+Right", key("ctrl", "c"))
    wait_until("F3 to find the third 'кот'", lambda: d.clipboard_text() == "кот?")

    # Ctrl+A selects the whole text (the text pane's own key).
    d.key(key("ctrl", "a"), key("ctrl", "c"))
    wait_until("Ctrl+A to select the whole text",
               lambda: (d.clipboard_text() or "").rstrip("\n") == SAMPLE.rstrip("\n"))

    # The numeric keypad's + and - change the speed (saved at close).
    d.key("KP_Add", "KP_Add", "KP_Add", "KP_Subtract")

    # F5 gives the window to the text pane, F9 shares it again.
    shown = lambda: reading_pane(p.screenshot()[0])
    pane = wait_until("the reading pane", shown)
    d.key("F5")
    wait_until("F5 to hide the reading pane", lambda: shown() is None)
    d.key("F9")
    pane = wait_until("F9 to bring the reading pane back", shown)

    # Space starts reading (the pane shows words) and stops it (it goes blank).
    d.key("ctrl+Home", "space")
    wait_until("Space to start reading",
               lambda: shows_text(p.screenshot()[0], *pane), timeout=5)
    d.key("space")
    wait_until("Space to stop reading",
               lambda: not shows_text(p.screenshot()[0], *pane), timeout=5)

    for modifier, letter, titles in DIALOG_KEYS:
        before = {window for window, _ in p.windows()}
        d.key(key(modifier, letter))
        new = lambda: [(w, n) for w, n in p.windows() if w not in before and n]
        window, name = wait_until(f"{modifier}+{letter} to open its window", new)[0]
        check(titles is None or name in titles, f"{modifier}+{letter} opened {name!r}")
        if titles is None:
            d.tool("wmctrl", "-i", "-c", window)
        else:
            d.key("Escape")
        wait_until(f"the window of {modifier}+{letter} to close",
                   lambda: all(w != window for w, _ in p.windows()))
        p.activate(p.window)

    # Alt+M and Ctrl+M do nothing while the document is not on the shelf.
    d.key(key("alt", "b"))
    p.wait_window("Положить документ на полку")
    d.key("Return")
    p.wait_no_window("Положить документ на полку")
    # The record is written once the naming dialog has closed.
    shelf = wait_until("Alt+B to store the document", lambda: read_shelf(p.folder))
    check(len(shelf) == 1 and shelf[0]["path"] == document, f"Alt+B stored {shelf}")
    for modifier, letter, title in (("alt", "m", "Поместить закладку"),
                                    ("ctrl", "m", "Закладки"),
                                    ("ctrl", "f", "Искать")):
        d.key(key(modifier, letter))
        p.wait_window(title)
        d.key("Escape")
        p.wait_no_window(title)

    # Ctrl+V and Shift+Insert load the clipboard's (Russian) text.
    for keys, text in ((key("ctrl", "v"), "Текст из буфера обмена.\nВторая строка буфера."),
                       ("shift+Insert", "Ещё один текст, уже третий.\nИ его вторая строка.")):
        owner = d.offer_clipboard(text)
        try:
            d.key(keys)
            p.wait_title("Orvek Lumeno")
            d.key("ctrl+Home", "shift+End", key("ctrl", "c"))
            wait_until(f"{keys} to load the clipboard",
                       lambda: d.clipboard_text() == text.splitlines()[0])
        finally:
            stop_process(owner)

    p.close()
    check(read_settings(p.folder)["speedLevel"] == 27, "keypad + + + - did not give speed 27")


def keys_with_us_layout(t):
    command_keys(t, "us")


def keys_with_russian_layout(t):
    command_keys(t, "ru")


def keys_with_russian_layout_alone(t):
    command_keys(t, "ru_alone")


TESTS["keys_with_us_layout"] = (keys_with_us_layout, (1024, 768))
TESTS["keys_with_russian_layout"] = (keys_with_russian_layout, (1024, 768))
TESTS["keys_with_russian_layout_alone"] = (keys_with_russian_layout_alone, (1024, 768))
