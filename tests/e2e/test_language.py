"""An English desktop's interface, and Russian chosen in it for the next start."""

from harness import in_dialog

TESTS = {}


def english_desktop_and_russian_chosen(t):
    p = t.program()
    document = p.write_document("doc.txt", "A short text to find things in.\n")
    for find_title, shelf_title in (("Find", "Shelf"), ("Искать", "Полка")):
        p.start(document, env={"LANG": "en_US.UTF-8", "LC_ALL": "", "LANGUAGE": ""})
        p.display.key("ctrl+f")
        in_dialog(p, find_title, "Escape")
        p.display.key("ctrl+b")
        in_dialog(p, shelf_title, "Escape")
        if find_title == "Find":
            # Settings › Язык / Language › Русский by the English menu's mnemonic: a note.
            p.display.key("alt+s", "Down", "Down", "Down", "Right", "Return")
            in_dialog(p, "Orvek Lumeno", "Return")
        p.close()


TESTS["english_desktop_and_russian_chosen"] = (english_desktop_and_russian_chosen, (1024, 768))
