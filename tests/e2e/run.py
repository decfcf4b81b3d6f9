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

MODULES = ["test_books", "test_drop", "test_keys", "test_mouse", "test_reading", "test_shelf",
           "test_window"]


class Context:
    def __init__(self, build_dir, display):
        self.build_dir = build_dir
        self.display = display
        self.programs = []
        self.shots = os.environ.get("LMN_E2E_SHOTS")

    def program(self, folder=None):
        program = harness.Program(self.build_dir, self.display, folder)
        self.programs.append(program)
        return program

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
    wanted = sys.argv[2:]
    if not os.path.exists(os.path.join(build_dir, "lmn")):
        print(f"e2e: no built program in {build_dir}")
        return 1

    tests = []
    for module in MODULES:
        for name, (function, screen) in importlib.import_module(module).TESTS.items():
            if not wanted or any(part in name for part in wanted):
                tests.append((name, function, screen))

    numbers = [int(n) for n in os.environ.get("LMN_E2E_DISPLAYS", "").split(",") if n.strip()]
    displays = {}
    failed, skipped = [], []
    started = time.monotonic()
    try:
        for name, function, screen in tests:
            if screen not in displays:
                number = numbers[len(displays)] if len(displays) < len(numbers) else None
                displays[screen] = harness.Display(*screen, number=number)
            display = displays[screen]
            display.set_layouts("us")
            context = Context(build_dir, display)
            began = time.monotonic()
            outcome, detail = "pass", ""
            try:
                function(context)
            except harness.Skip as reason:
                outcome, detail = "skip", str(reason)
            except Exception as error:  # noqa: BLE001 - every failure is reported
                outcome = "fail"
                detail = "".join(traceback.format_exception_only(type(error), error)).strip()
                if not isinstance(error, harness.Failure):
                    detail = traceback.format_exc()
            finally:
                context.clean_up()
            seconds = time.monotonic() - began
            if outcome == "fail":
                failed.append(name)
            if outcome == "skip":
                skipped.append(name)
            label = {"pass": "ok", "fail": "FAIL", "skip": "skip"}[outcome]
            print(f"e2e {label:>4}  {name}  ({seconds:.1f} s)" + (f"\n      {detail}" if detail else ""),
                  flush=True)
    finally:
        for display in displays.values():
            display.close()

    total = time.monotonic() - started
    print(f"e2e: {len(tests)} tests in {total:.0f} s: {len(failed)} failed, {len(skipped)} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
