"""Drives the real program under Xvfb and openbox, as a user would.

Everything here starts processes by id and ends them by id: the X servers,
the window managers, the program, the clipboard owners. Waiting is done by
polling for a condition with a deadline, never by a fixed sleep where a
condition can be seen.
"""

import os
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import time

LMN_DAT_SIZE = 348


class Failure(AssertionError):
    pass


class Skip(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(what, probe, timeout=5.0, interval=0.03):
    """Polls probe() until it returns something truthy; returns that."""
    began = time.monotonic()
    deadline = began + timeout
    while True:
        value = probe()
        if value:
            if os.environ.get("LMN_E2E_TRACE"):
                print(f"      {time.monotonic() - began:5.2f} s  {what}", flush=True)
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(interval)


def stop_process(process, timeout=3.0):
    """Ends a process this suite started: TERM, then KILL, by its id."""
    if process is None or process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Display:
    """An Xvfb server of one screen size with openbox on it."""

    def __init__(self, width, height, number=None):
        self.width, self.height = width, height
        read_end, write_end = os.pipe()
        command = ["Xvfb", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp", "-noreset",
                   "-displayfd", str(write_end)]
        if number is not None:
            command.insert(1, f":{number}")
        self.server = subprocess.Popen(command, pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as ready:
            line = ready.readline().strip()
        if not line:
            stop_process(self.server)
            raise RuntimeError(f"Xvfb did not start (display {number})")
        self.name = f":{line}"
        self.env = dict(os.environ, DISPLAY=self.name)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until("openbox", lambda: self.run(["wmctrl", "-m"]).returncode == 0, timeout=10)

    def close(self):
        stop_process(self.wm)
        stop_process(self.server)

    def run(self, command, timeout=10):
        return subprocess.run(command, env=self.env, capture_output=True, timeout=timeout)

    def tool(self, *args):
        result = self.run(list(args))
        if result.returncode != 0:
            raise Failure(f"{' '.join(args)} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode(errors="replace")

    def key(self, *keys):
        self.tool("xdotool", "key", "--delay", "30", *keys)

    def values(self, *command):
        """The NAME=number lines an xdotool --shell command prints."""
        return {k: int(v) for k, v in (line.split("=", 1) for line in self.tool(*command).split())
                if v.lstrip("-").isdigit()}

    def mouse_location(self):
        values = self.values("xdotool", "getmouselocation", "--shell")
        return values["X"], values["Y"]

    def mouse_move(self, x, y):
        # Not --sync: it waits for ever when the pointer is already there.
        self.tool("xdotool", "mousemove", str(x), str(y))
        wait_until("the pointer to arrive", lambda: self.mouse_location() == (x, y))

    def click(self, x, y, button=1, repeat=1):
        self.mouse_move(x, y)
        self.tool("xdotool", "click", "--repeat", str(repeat), "--delay", "60", str(button))

    def set_layouts(self, layouts="us", option=None):
        self.tool("setxkbmap", "-layout", layouts, "-option", "", *(["-option", option] if option else []))

    def active_window(self):
        result = self.run(["xdotool", "getactivewindow"])
        return result.stdout.decode().strip() if result.returncode == 0 else ""

    def window_name(self, window):
        result = self.run(["xdotool", "getwindowname", window])
        return result.stdout.decode(errors="replace").strip() if result.returncode == 0 else None

    def geometry(self, window):
        """(x, y, width, height) of a window's client area on the screen."""
        values = self.values("xdotool", "getwindowgeometry", "--shell", window)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def clipboard_text(self):
        result = self.run(["xclip", "-o", "-selection", "clipboard"], timeout=5)
        return result.stdout.decode("utf-8") if result.returncode == 0 else None

    def offer_clipboard(self, text):
        """Starts an xclip that owns the clipboard with the text; the caller
        ends it with stop_process (it also ends when another owner comes)."""
        owner = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"],
                                 env=self.env, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        owner.stdin.write(text.encode("utf-8"))
        owner.stdin.close()
        wait_until("the clipboard to hold the text", lambda: self.clipboard_text() == text)
        return owner

    def screenshot(self, x=0, y=0, width=None, height=None, save_as=None):
        width = width or self.width
        height = height or self.height
        raw = self.run(["import", "-silent", "-window", "root", "-crop",
                        f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"], timeout=20).stdout
        image = Image.from_ppm(raw)
        if save_as:
            self.run(["import", "-silent", "-window", "root", "-crop",
                      f"{width}x{height}+{x}+{y}", "+repage", save_as], timeout=20)
        return image


class Image:
    """An RGB picture read from a binary PPM (as ImageMagick writes it: no comments)."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    @staticmethod
    def from_ppm(raw):
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", raw)
        if not header:
            raise Failure("unexpected screenshot format")
        return Image(int(header[1]), int(header[2]), raw[header.end():])

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.pixels[offset:offset + 3])

    def runs(self, x, colour):
        """[start, end) rows of every vertical run of exactly that colour."""
        found, start = [], None
        for y in range(self.height + 1):
            same = y < self.height and self.pixel(x, y) == colour
            if same and start is None:
                start = y
            elif not same and start is not None:
                found.append((start, y))
                start = None
        return found


# --- the data files ----------------------------------------------------------

def read_settings(folder):
    """The fields of lmn.dat the tests look at, by their byte offsets."""
    with open(os.path.join(folder, "lmn.dat"), "rb") as f:
        data = f.read()
    check(len(data) == LMN_DAT_SIZE, f"lmn.dat is {len(data)} bytes, not {LMN_DAT_SIZE}")
    word = lambda offset: struct.unpack_from("<i", data, offset)[0]
    return {
        "windowLeft": word(0), "windowTop": word(4), "windowWidth": word(8),
        "windowHeight": word(12), "readingPaneHeight": word(16), "windowMaximized": word(20),
        "speedLevel": word(284),
    }


def read_shelf(folder):
    """The bookshelf: a list of records, newest first, each a dict with its
    key, name, path and bookmarks [(name, position, check value)]."""
    path = os.path.join(folder, "bksh.dat")
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        data = f.read()
    check(len(data) >= 8, f"bksh.dat is only {len(data)} bytes")
    _, count = struct.unpack_from("<ii", data, 0)
    text = lambda offset: data[offset:offset + 260].split(b"\0")[0].decode("cp1251")
    records = []
    for i in range(count):
        key, offset = struct.unpack_from("<ii", data, 8 + 8 * i)
        size, = struct.unpack_from("<i", data, offset)
        marks_count, = struct.unpack_from("<i", data, offset + 524)
        check(size == 528 + 268 * marks_count, f"record {key} has a wrong size word")
        marks = []
        for m in range(marks_count):
            base = offset + 528 + 268 * m
            position, value = struct.unpack_from("<ii", data, base + 260)
            marks.append((text(base), position, value))
        records.append({"key": key, "name": text(offset + 4), "path": text(offset + 264),
                        "bookmarks": marks})
    return records


# --- the program -------------------------------------------------------------

PROGRAM_TITLE = "Orvek Lumeno"


class Program:
    """A copy of the built program in a fresh folder of its own, so that its
    data files start from nothing and nothing else touches them."""

    def __init__(self, build_dir, display, folder=None):
        self.display = display
        self.folder = folder or tempfile.mkdtemp(prefix="lmn-e2e-")
        self.owns_folder = folder is None
        for name in ("lmn", "lmn.html", "lmn.en.html") if build_dir else ():
            if os.path.exists(os.path.join(build_dir, name)):
                shutil.copy2(os.path.join(build_dir, name), self.folder)
        self.command = [self.path("lmn")]  # what starts it; another user's or place's too
        self.process = None
        self.window = None
        self.log = None

    def path(self, name):
        return os.path.join(self.folder, name)

    def write_document(self, name, text):
        with open(self.path(name), "w", encoding="utf-8") as f:
            f.write(text)
        return self.path(name)

    def start(self, *arguments, env=None):
        check(self.process is None or self.process.poll() is not None, "the program still runs")
        environment = dict(self.display.env, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        environment["XDG_CONFIG_HOME"] = self.path("config")
        environment["XDG_DATA_HOME"] = self.path("data")
        environment.update(env or {})
        self.log = open(self.path("lmn.log"), "ab")
        self.process = subprocess.Popen([*self.command, *arguments], env=environment,
                                        cwd=self.folder, stdout=self.log, stderr=self.log)
        self.window = wait_until("the main window", self.main_window, timeout=15)
        self.activate(self.window)
        return self.window

    def windows(self):
        """The program's top-level windows that the window manager shows:
        [(id, title)]."""
        if self.process is None or self.process.poll() is not None:
            return []
        listing = self.display.run(["wmctrl", "-l", "-p"]).stdout.decode(errors="replace")
        found = []
        for line in listing.splitlines():
            fields = line.split(None, 4)
            if len(fields) >= 4 and fields[2] == str(self.process.pid):
                found.append((str(int(fields[0], 16)), fields[4] if len(fields) == 5 else ""))
        return found

    def main_window(self):
        for window, name in self.windows():
            if name.startswith(PROGRAM_TITLE):
                return window
        return None

    def title(self):
        return self.display.window_name(self.window)

    def wait_title(self, expected, timeout=5):
        wait_until(f"the title {expected!r} (now {self.title()!r})",
                   lambda: self.title() == expected, timeout)

    def window_named(self, name):
        for window, title in self.windows():
            if title == name:
                return window
        return None

    def wait_window(self, name, timeout=5):
        return wait_until(f"a window named {name!r} (have {self.windows()})",
                          lambda: self.window_named(name), timeout)

    def wait_no_window(self, name, timeout=5):
        wait_until(f"the window {name!r} to go", lambda: self.window_named(name) is None, timeout)

    def activate(self, window):
        self.display.run(["xdotool", "windowactivate", "--sync", window])
        wait_until("the window to be active", lambda: self.display.active_window() == window)

    def geometry(self):
        return self.display.geometry(self.window)

    def screenshot(self, save_as=None):
        x, y, width, height = self.geometry()
        return self.display.screenshot(x, y, width, height, save_as=save_as), (x, y)

    def close(self, timeout=10):
        """Closes the main window as the window manager's close button does
        and waits for the process to end."""
        self.display.tool("wmctrl", "-i", "-c", self.window)
        try:
            self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end after the close; windows: {self.windows()}")
        self.log.close()
        check(self.process.returncode == 0, f"the program ended with {self.process.returncode}")

    def kill(self):
        self.process.kill()
        self.process.wait()
        self.log.close()

    def end(self):
        if self.process is not None and self.process.poll() is None:
            self.kill()
        if self.log and not self.log.closed:
            self.log.close()

    def remove(self):
        if self.owns_folder:
            shutil.rmtree(self.folder, ignore_errors=True)


# --- what the panes show -----------------------------------------------------

READING_BACKGROUND = (0, 0, 0)          # the reading pane's first-run colours


def reading_pane(image, x=None):
    """(top, bottom) of the reading pane in a picture of the main window, by
    its background colour down one column; None when it is not shown."""
    x = image.width // 2 if x is None else x
    runs = [run for run in image.runs(x, READING_BACKGROUND) if run[1] - run[0] > 40]
    return max(runs, key=lambda run: run[1] - run[0]) if runs else None


def shows_text(image, top, bottom, background=READING_BACKGROUND):
    """Whether anything but the background is drawn between two rows."""
    pad = bytes(background)
    for y in range(top + 2, bottom - 2):
        row = image.pixels[(y * image.width + 2) * 3:(y * image.width + image.width - 2) * 3]
        if row.replace(pad, b""):
            return True
    return False


SAMPLE = ("кот, сказала Маша, сидит у окна и смотрит на улицу.\n"
          "Потом кот! Он прыгнул на стол и уронил чашку с молоком.\n"
          "Где же кот? Никто не знает, куда он убежал вечером.\n"
          "Конец истории.\n")
SAMPLE_LINES = SAMPLE.splitlines()


# --- steps many tests take ---------------------------------------------------

def start_with(t, text, name="doc.txt", *arguments):
    """A fresh program started on a UTF-8 document of that text."""
    p = t.program()
    p.start(p.write_document(name, text), *arguments)
    p.wait_title(f"{PROGRAM_TITLE} - {name}")
    return p


def copied(d, *keys):
    """The keys, then Ctrl+C: what the clipboard then holds."""
    d.key(*keys, "ctrl+c")
    return d.clipboard_text()


def in_dialog(p, title, *keys):
    """Waits for the dialog, types the keys in it and waits for it to close."""
    p.wait_window(title)
    p.display.key(*keys)
    p.wait_no_window(title)


def put_on_shelf(p):
    p.display.key("alt+b")
    in_dialog(p, "Положить документ на полку", "Return")


def open_first_on_shelf(p, title):
    p.display.key("ctrl+b")
    in_dialog(p, "Полка", "Down", "Return")
    p.wait_title(f"{PROGRAM_TITLE} - {title}", timeout=15)


def go_to_first_bookmark(p):
    p.display.key("ctrl+m")
    in_dialog(p, "Закладки", "Down", "Return")


def answer_message(p):
    """Waits for the program's message box (titled as the program) and
    answers it with Return."""
    message = wait_until("the program's message", lambda: [
        w for w, n in p.windows() if n == PROGRAM_TITLE and w != p.window])[0]
    p.activate(message)
    p.display.key("Return")
    wait_until("the message to go", lambda: message not in [w for w, _ in p.windows()])


def place_bookmark_at_once(p, press=None, seconds=0.5):
    """Shift+Alt+M (or another press) with the left Shift held as a user
    holds it: down before and up only after the program has had time to ask
    the X server about it. The naming dialog must not open meanwhile."""
    p.display.tool("xdotool", "keydown", "Shift_L")
    try:
        (press or (lambda: p.display.key("alt+m")))()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            check(p.window_named("Поместить закладку") is None, "the naming dialog opened")
    finally:
        p.display.tool("xdotool", "keyup", "Shift_L")


def bookmark_names(folder):
    shelf = read_shelf(folder)
    return [name for name, _, _ in shelf[0]["bookmarks"]] if shelf else []
