#!/usr/bin/env python3
"""The real program on a real X desktop: Xvfb with the openbox window manager,
real key and mouse events (XTEST, through xdotool), and what a player would
see read from outside (window and frame geometry, screenshots).

    desktop_test.py GAME SCENE ICON32

GAME is the vornel executable, SCENE the screenshot_scene tool (the game on a
known board), ICON32 the committed 32 x 32 application icon. Every tool it
needs must be installed (scripts/dev does it); a missing one is a failure.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

GAME, SCENE, ICON32 = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)
TOOLS = ["Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "import", "convert"]
MAIN = "^Vornel Ver1\\.0\\.0"
VERSION = "ﾊﾞｰｼﾞｮﾝ情報"
RANKING = "ｽｺｱﾗﾝｷﾝｸﾞ"
REGISTRATION = "ﾗﾝｷﾝｸﾞ登録"


class Desktop:
    """An X server of its own with openbox running on it."""

    def __init__(self, width=1024, height=768, scale=None):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read)
        self.size = (width, height)
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip(), QT_QPA_PLATFORM="xcb")
        self.env.pop("QT_SCALE_FACTOR", None)
        if scale:
            self.env["QT_SCALE_FACTOR"] = str(scale)
        self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.wait(lambda: "window id" in self.out("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                  "openbox did not start")
        self.programs = []

    def close(self):
        for p in self.programs + [self.wm, self.xvfb]:
            if p.poll() is None:
                p.kill()
            p.wait()
            if p.stdout:
                p.stdout.close()

    def out(self, *command):
        return subprocess.run(command, env=self.env, check=True, capture_output=True,
                              text=True, timeout=30).stdout

    def start(self, *command, cwd):
        p = subprocess.Popen(command, cwd=cwd, env=self.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
        self.programs.append(p)
        return p

    @staticmethod
    def wait(condition, what, seconds=20):
        deadline = time.monotonic() + seconds
        while not condition():
            if time.monotonic() > deadline:
                raise AssertionError(what)
            time.sleep(0.05)

    def window(self, name):
        """The visible window whose caption matches `name`, once it is mapped."""
        found = []

        def search():
            found[:] = self.windows(name)
            return bool(found)
        self.wait(search, f"no window {name}")
        return found[-1]

    def windows(self, name):
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                           env=self.env, capture_output=True, text=True)
        return r.stdout.split()

    def shown(self, name):
        return bool(self.windows(name))

    def client(self, window):
        """Position and size of the window's client area on the screen."""
        info = {}
        for line in self.out("xwininfo", "-id", window).splitlines():
            key, _, value = line.strip().partition(":")
            info[key] = value.strip()
        return (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
                int(info["Width"]), int(info["Height"]))

    def frame(self, window):
        """The outer frame, window manager's decoration included: x, y, w, h."""
        x, y, w, h = self.client(window)
        text = self.out("xprop", "-id", window, "_NET_FRAME_EXTENTS")
        left, right, top, bottom = (int(v) for v in text.split("=")[1].split(","))
        return x - left, y - top, w + left + right, h + top + bottom

    def centred(self, window):
        """How far the frame lies from the centre of the screen."""
        x, y, w, h = self.frame(window)
        return x - (self.size[0] - w) // 2, y - (self.size[1] - h) // 2

    def keys(self, *keys):
        for key in keys:
            self.out("xdotool", "key", key)
            time.sleep(0.15)

    def type(self, text):
        self.out("xdotool", "type", "--delay", "50", text)

    def click(self, x, y, button):
        self.out("xdotool", "mousemove", str(x), str(y), "click", str(button))

    def pixels(self, x, y, w, h):
        """RGB bytes of a rectangle of the screen as it is now."""
        with tempfile.NamedTemporaryFile(suffix=".png") as shot:
            self.out("import", "-window", "root", shot.name)
            return subprocess.run(
                ["convert", shot.name, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "rgb:-"],
                check=True, capture_output=True).stdout


def Lines(path):
    with open(path, "rb") as f:
        return f.read().split(b"\r\n")


class DesktopTest(unittest.TestCase):
    def setUp(self):
        missing = [t for t in TOOLS if shutil.which(t) is None]
        self.assertEqual(missing, [], "install them with scripts/dev")
        self.assertTrue(GAME and os.access(GAME, os.X_OK), GAME)
        self.cwd = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.cwd)

    def desktop(self, **kwargs):
        d = Desktop(**kwargs)
        self.addCleanup(d.close)
        return d

    def quit(self, d, program, window):
        d.out("xdotool", "windowactivate", "--sync", window)
        d.keys("alt+f", "x")
        self.assertEqual(program.wait(timeout=30), 0)

    def test_windows_open_centred_and_keys_close_the_display_dialogs(self):
        d = self.desktop()
        game = d.start(GAME, cwd=self.cwd)
        main = d.window(MAIN)
        # The first picture is already centred, frame and all, and stays put.
        self.assertEqual(d.centred(main), (0, 0))
        first = d.frame(main)
        time.sleep(0.5)
        self.assertEqual(d.frame(main), first)

        # A level command leaves a window that was not moved where it is...
        d.keys("alt+f", "l", "Down", "Down", "Return")
        self.assertEqual(d.frame(main), first)
        # ...and brings a dragged one back to the centre.
        d.out("xdotool", "windowmove", "--sync", main, "40", "50")
        self.assertNotEqual(d.frame(main), first)
        d.out("xdotool", "windowactivate", "--sync", main)
        d.keys("alt+f", "l", "Return")
        self.assertEqual(d.frame(main), first)

        # The display dialogs open centred with their button focused: Enter
        # presses it. Escape closes them too.
        for open_keys, name in ((["alt+a"], VERSION), (["alt+r", "b"], RANKING)):
            for close_key in ("Return", "Escape"):
                d.out("xdotool", "windowactivate", "--sync", main)
                d.keys(*open_keys)
                dialog = d.window(name)
                self.assertEqual(d.centred(dialog), (0, 0), name)
                d.keys(close_key)
                d.wait(lambda: not d.shown(name), f"{close_key} left {name} open")
        self.assertIsNone(game.poll())
        self.quit(d, game, main)
        self.assertFalse(os.path.exists(os.path.join(self.cwd, "vornel.dat")))

    def test_registration_takes_enter_only_on_its_button_and_ignores_escape(self):
        # Level 1 holds nine times of 0:00:00: the first clear takes the
        # tenth place, the second is no better and gets the congratulation.
        with open(os.path.join(self.cwd, "vornel.dat"), "wb") as f:
            for place in range(9):
                f.write(b'"1","%d","p%d","0:00:00","2026/01/01 00:00:00"\r\n' % (place, place))
        d = self.desktop()
        scene = d.start(SCENE, "play", cwd=self.cwd)
        bombs = [tuple(map(int, scene.stdout.readline().split()[1:])) for _ in range(30)]
        main = d.window(MAIN)
        x, y, w, h = d.client(main)
        board = (x + 2, y + h - 372 + 2)  # below the menu bar, inside the border

        def clear_the_board():
            d.out("xdotool", "windowactivate", "--sync", main)
            d.keys("alt+f", "s")
            for bx, by in bombs:
                d.click(board[0] + 8 + 22 * bx + 11, board[1] + 8 + 22 * by + 11, 3)

        clear_the_board()
        dialog = d.window(REGISTRATION)
        self.assertEqual(d.centred(dialog), (0, 0))
        d.type("Taro")
        d.keys("Return", "KP_Enter", "Escape")
        time.sleep(0.5)
        self.assertTrue(d.shown(REGISTRATION), "Enter or Escape in the name box closed it")
        d.keys("Tab", "Return")
        d.wait(lambda: not d.shown(REGISTRATION), "Enter on O K did not press it")
        d.window(RANKING)
        d.keys("Return")
        d.wait(lambda: not d.shown(RANKING), "the ranking stayed open")
        self.assertEqual(Lines(os.path.join(self.cwd, "vornel.dat"))[19],
                         b'"1","9","Taro","0:00:00","2026/12/07 21:14:00"')

        # A clear that does not rank: the congratulation box; closing it
        # leaves the game running.
        clear_the_board()
        d.window("^Vornel$")
        d.keys("Return")
        d.wait(lambda: not d.shown("^Vornel$"), "the congratulation box stayed open")
        time.sleep(0.5)
        self.assertIsNone(scene.poll(), "the program ended with the congratulation box")
        self.quit(d, scene, main)

    def test_high_density_keeps_the_tick_plain_and_the_icon_sharp(self):
        d = self.desktop(width=1600, height=1200, scale=2)
        game = d.start(GAME, cwd=self.cwd)
        main = d.window(MAIN)
        # Positions are whole pixels of the scaled desktop: one pixel off at most.
        self.assertLessEqual(max(map(abs, d.centred(main))), 1)

        # The level menu, with "簡単" highlighted and "普通" checked.
        d.keys("alt+f", "l")
        menus = []
        for line in d.out("xwininfo", "-root", "-tree").splitlines():
            if '("vornel" "Vornel")' in line and "x" in line.split(")")[-1]:
                size, _, at = line.split(")")[-1].split()[0].partition("+")
                w, h = map(int, size.split("x"))
                mx, my = map(int, at.split("+"))
                menus.append((mx, my, w, h))
        mx, my, mw, mh = max(m for m in menus if m[2] < 400)  # the rightmost popup
        gutter = 56  # left of the item texts, at twice the size
        rows = d.pixels(mx + 2, my, gutter - 2, mh)
        width = gutter - 2
        row = [rows[3 * width * r:3 * width * (r + 1)] for r in range(mh)]
        highlight = row[mh // 8][0:3]
        lit = [r for r in range(mh) if row[r][0:3] == highlight]
        top, item = lit[0], len(lit)
        band = lambda k: row[top + k * item + 2:top + (k + 1) * item - 2]
        for k in (0, 2, 3):  # unchecked: nothing beside them
            colours = {line[i:i + 3] for line in band(k) for i in range(0, len(line), 3)}
            self.assertEqual(len(colours), 1, f"item {k} has a mark or a box")
        background = band(2)[0][0:3]
        ink = {(i // 3, r) for r, line in enumerate(band(1)) for i in range(0, len(line), 3)
               if line[i:i + 3] != background}
        self.assertTrue(ink, "the checked item has no mark")
        left = min(p[0] for p in ink) + max(p[0] for p in ink)
        mirrored = {(left - px, py) for px, py in ink}
        self.assertTrue(mirrored != ink, "a round dot, not a tick")
        d.keys("Escape", "Escape", "Escape")

        # The version dialog's 32 x 32 icon as 2 x 2 blocks of its pixels.
        d.out("xdotool", "windowactivate", "--sync", main)
        d.keys("alt+a")
        about = d.window(VERSION)
        ax, ay, _, _ = d.client(about)
        icon = subprocess.run(["convert", ICON32, "-scale", "200%", "rgb:-"], check=True,
                              capture_output=True).stdout
        self.assertEqual(len(icon), 64 * 64 * 3)
        self.assertEqual(d.pixels(ax + 2 * 16, ay + 2 * 37, 64, 64), icon)
        d.keys("Return")
        d.wait(lambda: not d.shown(VERSION), "the version dialog stayed open")
        self.quit(d, game, main)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
