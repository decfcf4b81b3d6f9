#!/usr/bin/env python3
"""Runs the end-to-end tests against a built program.

    tests/e2e/run.py BUILD_DIR [NAME_PART ...]

Each test gets the built `lmn` (and the help file beside it) copied into a
fresh folder, on an Xvfb server with openbox. LMN_E2E_DISPLAYS (say "91,92")
fixes the display numbers to use; otherwise Xvfb picks free ones.
LMN_E2E_SHOTS names a folder that keeps the screenshots the tests take;
LMN_E2E_TRACE=1 prints how long each wait took.
"""

import importlib
import os
import sys
import time
import traceback

sys.dont_write_bytecode = True  # nothing left behind in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402

MODULES = ["test_books", "test_drop", "test_keys", "test_language", "test_mouse", "test_reading",
           "test_shelf", "test_window"]


class Context:
    """What a test gets: the display, its programs and where screenshots go."""

    def __init__(self, build_dir, display):
        self.build_dir, self.display, self.programs = build_dir, display, []
        self.shots = os.environ.get("LMN_E2E_SHOTS")

    def program(self, folder=None):
        self.programs.append(harness.Program(self.build_dir, self.display, folder))
        return self.programs[-1]

    def shot_path(self, name):
        if not self.shots:
            return None
        os.makedirs(self.shots, exist_ok=True)
        return os.path.join(self.shots, name + ".png")

    def clean_up(self):
        for program in self.programs:
            program.end()
            program.remove()
        self.programs.clear()


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    build_dir = os.path.abspath(sys.argv[1])
    if not os.path.exists(os.path.join(build_dir, "lmn")):
        print(f"e2e: no built program in {build_dir}")
        return 1
    tests = [(name, function, screen) for module in MODULES
             for name, (function, screen) in importlib.import_module(module).TESTS.items()
             if not sys.argv[2:] or any(part in name for part in sys.argv[2:])]
    numbers = [int(n) for n in os.environ.get("LMN_E2E_DISPLAYS", "").split(",") if n.strip()]
    displays, failed, skipped = {}, [], []
    started = time.monotonic()
    try:
        for name, function, screen in tests:
            if screen not in displays:
                number = numbers[len(displays)] if len(displays) < len(numbers) else None
                displays[screen] = harness.Display(*screen, number=number)
            displays[screen].set_layouts("us")
            context = Context(build_dir, displays[screen])
            began = time.monotonic()
            label, detail = "ok", ""
            try:
                function(context)
            except harness.Skip as reason:
                label, detail = "skip", str(reason)
                skipped.append(name)
            except harness.Failure as error:
                label, detail = "FAIL", str(error)
                failed.append(name)
            except Exception:  # noqa: BLE001 - every failure is reported
                label, detail = "FAIL", traceback.format_exc()
                failed.append(name)
            finally:
                context.clean_up()
            print(f"e2e {label:>4}  {name}  ({time.monotonic() - began:.1f} s)"
                  + (f"\n      {detail}" if detail else ""), flush=True)
    finally:
        for display in displays.values():
            display.close()
    print(f"e2e: {len(tests)} tests in {time.monotonic() - started:.0f} s: {len(failed)} failed, "
          f"{len(skipped)} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
