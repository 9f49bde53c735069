#!/usr/bin/env python3
"""Start-up to the first painted picture, the game against a bare Qt window.

Runs each program 11 times on a real X server (Xvfb, started here when
DISPLAY is unset), alternating, and prints the medians of the time from exec
to the first painted frame and of the resident memory at that moment. With
--instructions, counts instead the instructions each program runs, from exec
to its end right after that frame, offscreen, under callgrind (valgrind).
Usage: bench/startup.py BUILD_DIR [--instructions]
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = 11


def measure(exe, cwd):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb")
    start = time.monotonic_ns()
    out = subprocess.run([exe], env=env, capture_output=True, text=True, timeout=60,
                         cwd=cwd).stdout
    for line in out.splitlines():
        if line.startswith("painted "):
            _, at, rss = line.split()
            return (int(at) - start) / 1e6, int(rss) / 1024
    raise RuntimeError(f"{exe} reported no paint: {out!r}")


def instructions(exe, cwd):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    err = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", exe],
                         env=env, capture_output=True, text=True, timeout=600, cwd=cwd).stderr
    return int(re.search(r"Collected : (\d+)", err).group(1))


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    build = os.path.abspath(args[0] if args else "build/default")
    game = os.path.join(build, "bench", "startup_game")
    bare = os.path.join(build, "bench", "startup_bare")
    # Start where a player's full ranking (Japanese names) is to be read.
    cwd = tempfile.mkdtemp()
    here = os.path.dirname(os.path.abspath(__file__))
    shutil.copy(os.path.join(here, "..", "tests", "fuzz", "corpus", "full_japanese.dat"),
                os.path.join(cwd, "vornel.dat"))
    if "--instructions" in sys.argv:
        gi, bi = instructions(game, cwd), instructions(bare, cwd)
        shutil.rmtree(cwd)
        print(f"bare Qt window: {bi / 1e6:6.1f} million instructions")
        print(f"Vornel:         {gi / 1e6:6.1f} million instructions")
        print(f"ratio {gi / bi:.2f}x (goal <= 1.00x)")
        return
    xvfb = None
    if not os.environ.get("DISPLAY"):
        os.environ["DISPLAY"] = ":97"
        xvfb = subprocess.Popen(["Xvfb", ":97", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stderr=subprocess.DEVNULL)
        time.sleep(1.0)
    try:
        for exe in (game, bare):  # warm the file cache
            measure(exe, cwd)
        results = {game: [], bare: []}
        for _ in range(RUNS):
            for exe in (game, bare):
                results[exe].append(measure(exe, cwd))
    finally:
        if xvfb:
            xvfb.terminate()
        shutil.rmtree(cwd)
    med = {exe: (statistics.median(t for t, _ in r), statistics.median(m for _, m in r))
           for exe, r in results.items()}
    (gt, gm), (bt, bm) = med[game], med[bare]
    print(f"bare Qt window: first paint {bt:6.1f} ms, resident {bm:5.1f} MB")
    print(f"Vornel:         first paint {gt:6.1f} ms, resident {gm:5.1f} MB")
    print(f"ratio {gt / bt:.2f}x (goal <= 1.00x), memory +{gm - bm:.1f} MB (goal <= +4 MB)")


if __name__ == "__main__":
    main()
