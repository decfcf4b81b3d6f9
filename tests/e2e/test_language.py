"""The interface on an English desktop, and a language chosen in the
settings, which speaks from the next start."""

from harness import in_dialog

TESTS = {}
ENGLISH_DESKTOP = {"LANG": "en_US.UTF-8", "LC_ALL": "", "LANGUAGE": ""}


def english_desktop_and_russian_chosen(t):
    d = t.display
    p = t.program()
    document = p.write_document("doc.txt", "A short text to find things in.\n")
    p.start(document, env=ENGLISH_DESKTOP)
    d.key("ctrl+f")
    in_dialog(p, "Find", "Escape")
    # Settings › Язык / Language › Русский, through the English menu's
    # mnemonic; a note says the language changes at the next start.
    d.key("alt+s", "Down", "Down", "Down", "Right", "Return")
    in_dialog(p, "Orvek Lumeno", "Return")
    p.close()
    p.start(document, env=ENGLISH_DESKTOP)
    d.key("ctrl+f")
    in_dialog(p, "Искать", "Escape")
    p.close()


TESTS["english_desktop_and_russian_chosen"] = (english_desktop_and_russian_chosen, (1024, 768))
