"""Files dragged onto the window from another program, through the X
server's drag-and-drop protocol with a real pointer."""

import os
import subprocess
import time

from harness import check, stop_process, wait_until

TESTS = {}


def dragged_file_opens(t):
    """A stand-in file manager (lmn_drag_source) drags a text file onto the
    text pane; the drop opens it as the open command would."""
    d = t.display
    p = t.program()
    p.start()
    document = p.write_document("dropped.txt", "Перетащенный файл открыт.\n")
    source = subprocess.Popen([os.path.join(t.build_dir, "tests", "e2e", "lmn_drag_source"),
                               document], env=dict(d.env, LANG="C.UTF-8"),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        found = wait_until("the drag source", lambda: d.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^lmn-drag-source$"]).stdout.split())
        sx, sy, swidth, sheight = d.geometry(found[0].decode())
        x, y, width, height = p.geometry()
        start = (sx + swidth // 2, sy + sheight // 2)
        target = (x + width // 2, y + height - height // 5)  # on the text pane
        d.mouse_move(*start)
        d.tool("xdotool", "mousedown", "1")
        # Small steps, so that both sides see the drag go by; the protocol's
        # messages then need a moment before the button comes up.
        for step in range(1, 11):
            d.tool("xdotool", "mousemove", str(start[0] + (target[0] - start[0]) * step // 10),
                   str(start[1] + (target[1] - start[1]) * step // 10))
            time.sleep(0.05)
        time.sleep(0.3)
        d.tool("xdotool", "mouseup", "1")
        p.wait_title("Orvek Lumeno - dropped.txt")
    finally:
        stop_process(source)
    check(p.windows() == [(p.window, "Orvek Lumeno - dropped.txt")],
          f"other windows opened: {p.windows()}")


TESTS["dragged_file_opens"] = (dragged_file_opens, (1024, 768))
