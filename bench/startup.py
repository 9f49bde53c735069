#!/usr/bin/env python3
"""Start-up to the first painted picture, the game against a bare Qt window.

Usage: bench/startup.py [BUILD_DIR] [--instructions] [--project-fonts] [--runs=N]

Runs each program N times (41 by default) on a real X server (Xvfb, started
here when DISPLAY is unset, with whatever window manager runs on it),
alternating, and prints the medians of the time from exec to the first
painted frame and of the resident memory at that moment.

--instructions  counts instead the instructions each program runs, from exec
                to its end right after that frame, offscreen, under callgrind
                (valgrind); the median of N runs (5 by default), as fontconfig's
                XML parser hashes with a random salt and varies by some 0.1 %.
--project-fonts gives both programs only the fonts that scripts/dev brings to
                a bare Debian (the packages in PROJECT_FONTS), through a
                fontconfig file of its own, instead of the machine's.
--runs=N        runs each program N times.

Both start in a folder holding a full ranking of Japanese names. The locale
is the caller's: LANG=C LC_ALL=C, or LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
(with LOCPATH for a locale built with localedef).
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# scripts/dev's fonts and the font packages that its packages pull in on a
# bare Debian 12: fontconfig's default, ghostscript's (through ImageMagick),
# and fluxbox's.
PROJECT_FONTS = ["fonts-ipafont-gothic", "fonts-ipafont-mincho", "fonts-dejavu-core",
                 "fonts-urw-base35", "fonts-droid-fallback", "fonts-noto-mono",
                 "fonts-terminus-otb"]
FONT_FILE = re.compile(r"^/usr/share/fonts/.*\.(ttf|ttc|otf|otb|pfb|t1|afm)$")


def project_fonts(folder):
    """A fontconfig file that sees only PROJECT_FONTS; returns its path."""
    fonts = os.path.join(folder, "fonts")
    for package in PROJECT_FONTS:
        listed = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True)
        if listed.returncode != 0:
            print(f"note: {package} is not installed", file=sys.stderr)
        for path in listed.stdout.splitlines():
            if FONT_FILE.match(path) and os.path.isfile(path):
                place = os.path.join(fonts, package, os.path.dirname(path).strip("/").replace("/", "_"))
                os.makedirs(place, exist_ok=True)
                os.symlink(path, os.path.join(place, os.path.basename(path)))
    # The system's configuration (its rules, conf.d) with these fonts only.
    with open("/etc/fonts/fonts.conf") as f:
        conf = f.read()
    conf = re.sub(r"\s*<dir[ >].*?</dir>", "", conf)
    conf = re.sub(r"\s*<cachedir[ >].*?</cachedir>", "", conf)
    conf = conf.replace("</fontconfig>", f"<dir>{fonts}</dir><cachedir>{folder}/cache</cachedir>"
                                          "</fontconfig>")
    path = os.path.join(folder, "fonts.conf")
    with open(path, "w") as f:
        f.write(conf)
    env = dict(os.environ, FONTCONFIG_FILE=path)
    subprocess.run(["fc-cache"], env=env, check=True)
    faces = subprocess.run(["fc-list"], env=env, capture_output=True, text=True).stdout
    print(f"{len(faces.splitlines())} font faces", file=sys.stderr)
    return path


def measure(exe, cwd, env):
    env = dict(env, QT_QPA_PLATFORM="xcb")
    start = time.monotonic_ns()
    out = subprocess.run([exe], env=env, capture_output=True, text=True, timeout=60,
                         cwd=cwd).stdout
    for line in out.splitlines():
        if line.startswith("painted "):
            _, at, rss = line.split()
            return (int(at) - start) / 1e6, int(rss) / 1024
    raise RuntimeError(f"{exe} reported no paint: {out!r}")


def instructions(exe, cwd, env):
    env = dict(env, QT_QPA_PLATFORM="offscreen")
    err = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", exe],
                         env=env, capture_output=True, text=True, timeout=600, cwd=cwd).stderr
    return int(re.search(r"Collected : (\d+)", err).group(1))


def main():
    if "--help" in sys.argv or "-h" in sys.argv:
        print(__doc__.strip())
        return
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    runs = [int(a.split("=")[1]) for a in sys.argv if a.startswith("--runs=")]
    build = os.path.abspath(args[0] if args else "build/default")
    game = os.path.join(build, "bench", "startup_game")
    bare = os.path.join(build, "bench", "startup_bare")
    work = tempfile.mkdtemp()
    env = dict(os.environ)
    if "--project-fonts" in sys.argv:
        env["FONTCONFIG_FILE"] = project_fonts(work)
    # Start where a player's full ranking (Japanese names) is to be read.
    cwd = os.path.join(work, "cwd")
    os.mkdir(cwd)
    here = os.path.dirname(os.path.abspath(__file__))
    shutil.copy(os.path.join(here, "..", "tests", "fuzz", "corpus", "full_japanese.dat"),
                os.path.join(cwd, "vornel.dat"))
    if "--instructions" in sys.argv:
        counts = {game: [], bare: []}
        for _ in range(runs[0] if runs else 5):
            for exe in (game, bare):
                counts[exe].append(instructions(exe, cwd, env))
        shutil.rmtree(work)
        gi, bi = statistics.median(counts[game]), statistics.median(counts[bare])
        print(f"bare Qt window: {bi / 1e6:7.2f} million instructions")
        print(f"Vornel:         {gi / 1e6:7.2f} million instructions")
        print(f"ratio {gi / bi:.3f}x (goal <= 1.00x)")
        return
    xvfb = None
    if not os.environ.get("DISPLAY"):
        env["DISPLAY"] = ":97"
        # Each run is the server's only client: without -noreset the server
        # resets as it leaves, and the next run may find it refusing.
        xvfb = subprocess.Popen(["Xvfb", ":97", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                                 "-noreset"], stderr=subprocess.DEVNULL)
        time.sleep(1.0)
    try:
        for exe in (game, bare):  # warm the file cache
            measure(exe, cwd, env)
        results = {game: [], bare: []}
        for _ in range(runs[0] if runs else 41):
            for exe in (game, bare):
                results[exe].append(measure(exe, cwd, env))
    finally:
        if xvfb:
            xvfb.terminate()
        shutil.rmtree(work)
    med = {exe: (statistics.median(t for t, _ in r), statistics.median(m for _, m in r))
           for exe, r in results.items()}
    (gt, gm), (bt, bm) = med[game], med[bare]
    print(f"bare Qt window: first paint {bt:6.1f} ms, resident {bm:5.1f} MB")
    print(f"Vornel:         first paint {gt:6.1f} ms, resident {gm:5.1f} MB")
    print(f"ratio {gt / bt:.3f}x (goal <= 1.00x), memory +{gm - bm:.1f} MB (goal <= +4 MB)")


if __name__ == "__main__":
    main()
