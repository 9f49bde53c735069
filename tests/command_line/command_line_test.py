#!/usr/bin/env python3
"""The game's command line with no display: the answers, the exit statuses,
and the data folder that a start from the menu makes.
Usage: command_line_test.py GAME"""
import os
import shutil
import stat
import subprocess
import sys
import tempfile

NO_DISPLAY = "vornel: 画面を開けません / cannot open a display"
USAGE = "Usage: vornel [--menu] [Qt options]"

home = tempfile.mkdtemp()
env = {k: v for k, v in os.environ.items()
       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME")}
env["HOME"] = home
failures = []
for args, status, out, err in [
        (["--help"], 0, USAGE, None),
        (["-platform", "xcb", "--display", ":0", "-style=Fusion", "--help"], 0, USAGE, None),
        (["--version"], 0, "vornel 1.0.0", None),
        (["--bogus"], 2, None, "vornel: オプション --bogus はありません / unknown option --bogus"),
        (["-display"], 2, None, "vornel: オプション -display に値がありません / option -display needs a value"),
        (["vornel.dat"], 2, None, "vornel: 引数 vornel.dat は使えません / unexpected argument vornel.dat"),
        ([], 1, None, NO_DISPLAY),
        (["--menu"], 1, None, NO_DISPLAY)]:
    run = subprocess.run([sys.argv[1], *args], env=env, cwd=home, capture_output=True, text=True, timeout=60)
    got = (run.returncode, run.stdout.split("\n")[0] if out else None, run.stderr.split("\n")[0] if err else None)
    if got != (status, out, err) or (status == 1 and run.stderr != NO_DISPLAY + "\n"):
        failures.append(f"vornel {' '.join(args)}: status {run.returncode}\n{run.stdout}{run.stderr}")

folder = os.path.join(home, ".local", "share", "vornel")
if not os.path.isdir(folder) or stat.S_IMODE(os.stat(folder).st_mode) != 0o700:
    failures.append(f"--menu did not make {folder} with mode 0700")
shutil.rmtree(home)
print("\n".join(failures) or "command line: all answers as expected")
sys.exit(1 if failures else 0)
