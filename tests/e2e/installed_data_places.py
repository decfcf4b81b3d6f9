#!/usr/bin/env python3
"""The installed program started by a user who cannot write its folder keeps
lmn.dat under $XDG_CONFIG_HOME/lumeno and bksh.dat under $XDG_DATA_HOME/lumeno;
a copy in a folder the user can write keeps both next to itself and touches no
user folder. Run as root, the program runs as the user "nobody" (root can
write any folder); run as anyone else, the installed folder is made read-only.

    installed_data_places.py DESTDIR   (a tree installed with prefix /usr)
"""

import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Display, Program, in_dialog  # noqa: E402

AS_ROOT = os.geteuid() == 0


def run(display, executable, home, *writable):
    """Starts the program as the user, opens the shelf (which creates the
    shelf file) and closes the window, which writes the settings."""
    os.makedirs(os.path.join(home, "run"), mode=0o700)
    if AS_ROOT:
        subprocess.run(["chown", "-R", "nobody:nogroup", home, *writable], check=True)
    p = Program(None, display, folder=home)
    p.command = (["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"]
                 if AS_ROOT else []) + [executable]
    p.start(env={"HOME": home, "XDG_RUNTIME_DIR": os.path.join(home, "run")})
    display.key("ctrl+b")
    in_dialog(p, "Полка", "Escape")
    p.close()


def main():
    installed = os.path.abspath(sys.argv[1])
    programs = os.path.join(installed, "usr/bin")
    work = tempfile.mkdtemp()
    os.chmod(work, 0o755)
    if AS_ROOT:
        subprocess.run(["chmod", "-R", "a+rX", installed], check=True)
    else:
        os.chmod(programs, 0o555)
    display = Display(1280, 1024)
    try:
        home = os.path.join(work, "installed-user")
        run(display, os.path.join(programs, "lmn"), home)
        exists = lambda *parts: os.path.isfile(os.path.join(*parts)) and os.path.getsize(os.path.join(*parts)) > 0
        checks = [("installed: lmn.dat in XDG_CONFIG_HOME/lumeno", exists(home, "config/lumeno/lmn.dat")),
                  ("installed: bksh.dat in XDG_DATA_HOME/lumeno", exists(home, "data/lumeno/bksh.dat")),
                  ("installed: nothing written beside the executable",
                   not {"lmn.dat", "bksh.dat"} & set(os.listdir(programs)))]
        portable, home = os.path.join(work, "portable"), os.path.join(work, "portable-user")
        os.makedirs(portable)
        for name in ("usr/bin/lmn", "usr/share/lumeno/lmn.html"):
            shutil.copy2(os.path.join(installed, name), portable)
        run(display, os.path.join(portable, "lmn"), home, portable)
        checks += [("portable: lmn.dat next to the executable", exists(portable, "lmn.dat")),
                   ("portable: bksh.dat next to the executable", exists(portable, "bksh.dat")),
                   ("portable: no user folders made",
                    not {"config", "data"} & set(os.listdir(home)))]
    finally:
        display.close()
        os.chmod(programs, 0o755)
        shutil.rmtree(work, ignore_errors=True)
    for description, holds in checks:
        print(("ok: " if holds else "FAILED: ") + description)
    return 0 if all(holds for _, holds in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
