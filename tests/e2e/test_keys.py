"""The keys on a real keyboard, with the US layout, with the Russian one
switched on beside it, and with a Russian layout alone (no Latin letters
anywhere): a shortcut works in each by the key's place; the keypad's and the
main keyboard's speed keys and the wheel change the speed."""

from harness import SAMPLE, SAMPLE_LINES, check, in_dialog, read_settings, \
    read_shelf, reading_pane, shows_text, start_with, stop_process, wait_until

TESTS = {}

# With the Russian group active a letter key gives a Cyrillic keysym; typing
# that keysym puts the keyboard in that group for the press, as a user's
# layout switch does.
RUSSIAN = {"a": "Cyrillic_ef", "b": "Cyrillic_i", "k": "Cyrillic_el", "m": "Cyrillic_softsign",
           "c": "Cyrillic_es", "o": "Cyrillic_shcha", "f": "Cyrillic_a", "v": "Cyrillic_em"}
KEYBOARDS = {  # name: (the letters' keysyms, setxkbmap layouts and option)
    "us": ({}, ("us", None)),
    "ru": (RUSSIAN, ("us,ru", "grp:caps_toggle")),
    "ru_alone": (RUSSIAN, ("ru", None)),
}


def command_keys(t, keyboard):
    d = t.display
    letters, layouts = KEYBOARDS[keyboard]
    key = lambda modifier, letter: f"{modifier}+{letters.get(letter, letter)}"

    def copies(what, expected, *keys):
        d.key(*keys, key("ctrl", "c"))
        wait_until(what, lambda: (d.clipboard_text() or "").rstrip("\n") == expected)
    d.set_layouts(*layouts)
    p = start_with(t, SAMPLE)
    document = p.path("doc.txt")

    copies("Ctrl+C to copy line 1", SAMPLE_LINES[0], "ctrl+Home", "shift+End")
    d.key("Down", "Home", "shift+End", "ctrl+Insert")
    wait_until("Ctrl+Insert to copy line 2", lambda: d.clipboard_text() == SAMPLE_LINES[1])
    # Ctrl+F3 looks for the selection further on, F3 for the same again.
    copies("Ctrl+F3 to find the second 'кот'", "кот!", "ctrl+Home", *["shift+Right"] * 3,
           "ctrl+F3", "shift+Right")
    copies("F3 to find the third 'кот'", "кот?", "F3", "shift+Right")
    copies("Ctrl+A to select the whole text", SAMPLE.rstrip("\n"), key("ctrl", "a"))

    # Speed: the keypad + + + - and the main keyboard's = = = + - - give two
    # levels each; the wheel over the reading pane up twice and down once, one.
    d.key("KP_Add", "KP_Add", "KP_Add", "KP_Subtract", "equal", "equal", "equal", "plus", "minus",
          "minus")
    shown = lambda: reading_pane(p.screenshot()[0])
    top, bottom = wait_until("the reading pane", shown)
    x, y, width, _ = p.geometry()
    d.mouse_move(x + width // 2, y + (top + bottom) // 2)
    d.tool("xdotool", "click", "--repeat", "2", "--delay", "80", "4")
    d.tool("xdotool", "click", "5")

    # F5 gives the window to the text pane, F9 shares it again.
    d.key("F5")
    wait_until("F5 to hide the reading pane", lambda: shown() is None)
    d.key("F9")
    pane = wait_until("F9 to bring the reading pane back", shown)
    d.key("ctrl+Home", "space")
    wait_until("Space to start reading", lambda: shows_text(p.screenshot()[0], *pane))
    d.key("space")
    wait_until("Space to stop reading", lambda: not shows_text(p.screenshot()[0], *pane))

    for keys, titles in ((key("ctrl", "o"), ("Открыть",)), (key("ctrl", "b"), ("Полка",)),
                         (key("ctrl", "k"), ("Горячие клавиши",)), ("F1", None)):
        before = {window for window, _ in p.windows()}
        d.key(keys)
        window, name = wait_until(f"{keys} to open its window", lambda: [
            (w, n) for w, n in p.windows() if w not in before and n])[0]
        check(titles is None or name in titles, f"{keys} opened {name!r}")
        if titles is None:
            d.tool("wmctrl", "-i", "-c", window)
        else:
            d.key("Escape")
        wait_until(f"the window of {keys} to close", lambda: window not in dict(p.windows()))
        p.activate(p.window)

    d.key(key("alt", "b"))
    in_dialog(p, "Положить документ на полку", "Return")
    shelf = wait_until("Alt+B to store the document", lambda: read_shelf(p.folder))
    check(len(shelf) == 1 and shelf[0]["path"] == document, f"Alt+B stored {shelf}")
    for keys, title in ((key("alt", "m"), "Поместить закладку"), (key("ctrl", "m"), "Закладки"),
                        (key("ctrl", "f"), "Искать")):
        d.key(keys)
        in_dialog(p, title, "Escape")

    # Ctrl+V and Shift+Insert load the clipboard's text.
    for keys, text in ((key("ctrl", "v"), "Текст из буфера обмена.\nВторая строка буфера."),
                       ("shift+Insert", "Ещё один текст, уже третий.\nИ его вторая строка.")):
        owner = d.offer_clipboard(text)
        try:
            d.key(keys)
            p.wait_title("Orvek Lumeno")
            copies(f"{keys} to load the clipboard", text.splitlines()[0], "ctrl+Home", "shift+End")
        finally:
            stop_process(owner)
    p.close()
    speed = read_settings(p.folder)["speedLevel"]
    check(speed == 30, f"the speed keys and the wheel gave {speed}, not 30")


for keyboard in KEYBOARDS:
    TESTS[f"keys_with_{keyboard}_layout"] = (lambda t, k=keyboard: command_keys(t, k), (1024, 768))
