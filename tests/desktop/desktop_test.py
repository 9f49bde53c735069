#!/usr/bin/env python3
"""The real program on a real X desktop: Xvfb with a window manager (openbox,
or fluxbox, which answers no frame-extents request), in the C or the Japanese
locale, at whole and fractional scales; real key and mouse events (XTEST,
through xdotool), and what a player would see read from outside (window and
frame geometry, screenshots).

    VORNEL_VERSION=1.2.3 desktop_test.py GAME SCENE ICON32 [CASE ...]

GAME is the vornel executable, SCENE the screenshot_scene tool (the game on a
known board), ICON32 the committed 32 x 32 application icon, VORNEL_VERSION
the version the game's caption shows. Each CASE (a name such as
DesktopTest.test_high_density_keeps_the_tick_plain_and_the_icon_sharp, or
unittest's -k PATTERN) picks what runs; without one, the words of
VORNEL_DESKTOP_CASES do, and without those every case runs. Every tool it
needs must be installed (scripts/dev does it); a missing one is a failure.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

GAME, SCENE, ICON32 = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)
CASES = sys.argv[4:] or os.environ.get("VORNEL_DESKTOP_CASES", "").split()
TOOLS = ["Xvfb", "openbox", "fluxbox", "xdotool", "xwininfo", "xprop", "import", "convert",
         "localedef", "dbus-daemon"]
JAPANESE = "ja_JP.UTF-8"
MAIN = "^Vornel Ver" + re.escape(os.environ.get("VORNEL_VERSION") or
                                  sys.exit("desktop_test.py: VORNEL_VERSION is not set (ctest sets it)"))
VERSION = "ﾊﾞｰｼﾞｮﾝ情報"
RANKING = "ｽｺｱﾗﾝｷﾝｸﾞ"
REGISTRATION = "ﾗﾝｷﾝｸﾞ登録"


class Desktop:
    """An X server of its own with a window manager running on it, and the
    environment a player's session gives the game: its locale and, as a
    desktop's font setting would, a proportional font of its own."""

    def __init__(self, width=1024, height=768, scale=None, wm="openbox", lang=None,
                 desktop_font=None):
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
        self.home = tempfile.mkdtemp()  # fluxbox writes its settings there
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip(), QT_QPA_PLATFORM="xcb",
                        HOME=self.home, XDG_CONFIG_HOME=self.home)
        for name in ("QT_SCALE_FACTOR", "QT_QPA_PLATFORMTHEME", "LC_ALL", "LANGUAGE"):
            self.env.pop(name, None)
        self.env["LANG"] = "C.UTF-8"
        if scale:
            self.env["QT_SCALE_FACTOR"] = str(scale)
        if lang:
            self.env.update(LANG=lang, LOCPATH=Locales())
        if desktop_font:
            os.makedirs(os.path.join(self.home, "qt6ct"))
            with open(os.path.join(self.home, "qt6ct", "qt6ct.conf"), "w") as f:
                f.write(f'[Fonts]\ngeneral="{desktop_font},-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n')
            self.env["QT_QPA_PLATFORMTHEME"] = "qt6ct"
        self.wm = subprocess.Popen([wm], env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.wait(lambda: "window id" in self.out("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                  f"{wm} did not start")
        self.programs = []

    def close(self):
        for p in self.programs + [self.wm, self.xvfb]:
            if p.poll() is None:
                p.kill()
            p.wait()
            if p.stdout:
                p.stdout.close()
        shutil.rmtree(self.home, ignore_errors=True)

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


    def ink(self, window, box):
        """The pixels of the client area inside box (x, y, w, h) that differ
        from the client's top-left corner, its background."""
        x, y, _, _ = self.client(window)
        left, top, w, h = box
        shot = self.pixels(x, y, left + w, top + h)
        at = lambda px, py: shot[3 * (py * (left + w) + px):3 * (py * (left + w) + px) + 3]
        return [(px, py) for py in range(top, top + h) for px in range(left, left + w)
                if at(px, py) != at(0, 0)]


_locales = []


def Locales():
    """The Japanese locale, built once into a folder of its own."""
    if not _locales:
        _locales.append(tempfile.mkdtemp())
        subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8",
                        os.path.join(_locales[0], JAPANESE)], check=True, capture_output=True)
        day = subprocess.run(["date", "-d", "2026-12-07", "+%a"], text=True, capture_output=True,
                             env=dict(os.environ, LOCPATH=_locales[0], LC_ALL=JAPANESE)).stdout
        assert day == "月\n", f"the Japanese locale does not work: {day!r}"
    return _locales[0]


# Bands of each dialog's client area (x, y, w, h, in pixels from the design's
# twips at 15 per pixel) where no text may reach: between stacked lines (a
# line of the dialog font is 13 pixels high), between a caption and what it
# names, between the ranking's cells and past the last of them.
CLEAR = {
    VERSION: [(62, 26, 190, 9), (13, 109, 250, 6), (13, 128, 250, 3)],
    RANKING: [(47, 6, 2, 12), (44, 51, 1, 180), (216, 51, 1, 180), (290, 51, 1, 180),
              (415, 51, 8, 180)],
    REGISTRATION: [(17, 25, 190, 12), (155, 37, 7, 12), (152, 58, 9, 12), (17, 104, 240, 6)],
}


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

    # The desktops a player may have: the window manager, the locale, and a
    # desktop's font setting replacing the application's font.
    PLAYERS = [dict(), dict(wm="fluxbox", lang=JAPANESE),
               dict(lang=JAPANESE, desktop_font="IPAPGothic,14")]

    def assertTextsFit(self, d, window, name):
        """Every text stays in its box: the bands between the designed boxes,
        and past the last of them, hold no ink."""
        for box in CLEAR[name]:
            self.assertEqual(d.ink(window, box), [], f"{name}: ink in {box}")

    def test_windows_open_centred_and_keys_close_the_display_dialogs(self):
        # The longest texts the ranking shows, at every level: names, times
        # of ten hours and more, full dates.
        ranking = b"".join(b'"%d","%d","\x8eR\x93c\x91\xbe\x98Y %d","%s","2026/12/07 17:15:0%d"\r\n'
                           % (level, p, p, b"123:45:07" if p % 2 else b"10:00:00", p)
                           for level in range(4) for p in range(10))
        with open(os.path.join(self.cwd, "vornel.dat"), "wb") as f:
            f.write(ranking)
        for player in self.PLAYERS:
            with self.subTest(**player):
                d = Desktop(**player)
                try:
                    self.open_centred_and_close(d)
                finally:
                    d.close()
        with open(os.path.join(self.cwd, "vornel.dat"), "rb") as f:
            self.assertEqual(f.read(), ranking, "showing the ranking wrote its file")

    def open_centred_and_close(self, d):
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

        # The display dialogs open centred, their texts in their boxes, with
        # their button focused: Enter presses it. Escape closes them too.
        for open_keys, name in ((["alt+a"], VERSION), (["alt+r", "b"], RANKING)):
            for close_key in ("Return", "Escape"):
                d.out("xdotool", "windowactivate", "--sync", main)
                d.keys(*open_keys)
                dialog = d.window(name)
                self.assertEqual(d.centred(dialog), (0, 0), name)
                self.assertTextsFit(d, dialog, name)
                d.keys(close_key)
                d.wait(lambda: not d.shown(name), f"{close_key} left {name} open")
        self.assertIsNone(game.poll())
        self.quit(d, game, main)

    def test_registration_takes_enter_only_on_its_button_and_ignores_escape(self):
        # Level 1 holds nine times of 0:00:00: the first clear takes the
        # tenth place, the second is no better and gets the congratulation.
        with open(os.path.join(self.cwd, "vornel.dat"), "wb") as f:
            for place in range(9):
                f.write(b'"1","%d","p%d","0:00:00","2026/01/01 00:00:00"\r\n' % (place, place))
        d = self.desktop(wm="fluxbox", lang=JAPANESE)
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
        self.assertTextsFit(d, dialog, REGISTRATION)
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

    def test_fractional_scale_gives_every_cell_one_pitch_and_clicks_the_cell_shown(self):
        # At 1.25 a cell is 27 device pixels; the 2-pixel border and the
        # sheet's frame take the rest of the 465.
        d = self.desktop(scale=1.25, lang=JAPANESE)
        game = d.start(GAME, cwd=self.cwd)
        main = d.window(MAIN)
        self.assertEqual(d.centred(main), (0, 0))
        d.keys("alt+f", "s")
        x, y, w, h = d.client(main)
        top = y + h - 465
        self.assertEqual(w, 465)
        cell = lambda k: 2 + 14 + 27 * k  # first device pixel of cell k
        # The covered tile's one-pixel dark right edge and black bottom line,
        # every 27 pixels across and down the board.
        for line, colour in ((d.pixels(x, top + cell(7) + 13, 465, 1), b"\x58\x58\x58"),
                             (d.pixels(x + cell(7) + 13, top, 1, 465), b"\0\0\0")):
            self.assertEqual([i for i in range(465) if line[3 * i:3 * i + 3] == colour],
                             [cell(k) + 26 for k in range(16)])

        def marked(cx, cy):
            shot = d.pixels(x + cell(cx), top + cell(cy), 27, 27)
            return any(shot[i] > 200 and shot[i + 1] > 200 and shot[i + 2] < 100
                       for i in range(0, len(shot), 3))
        # Right-clicks on the last pixel of cell (0, 0) and the first of
        # (15, 15) mark those two cells and no neighbour.
        d.click(x + cell(0) + 26, top + cell(0) + 26, 3)
        d.click(x + cell(15), top + cell(15), 3)
        time.sleep(0.3)
        self.assertEqual([marked(0, 0), marked(1, 0), marked(0, 1), marked(1, 1), marked(15, 15),
                          marked(14, 15), marked(15, 14)], [True] + [False] * 3 + [True, False, False])
        self.quit(d, game, main)

    def test_keyboard_alone_plays_a_registered_win_that_a_screen_reader_follows(self):
        import pyatspi  # the system Python's, as Debian has it
        from gi.repository import GLib
        self.assertIn("DBUS_SESSION_BUS_ADDRESS", os.environ, "run under dbus-run-session")
        screen_reader = pyatspi.Registry.getDesktop(0)  # starts the accessibility bus
        renamed = []  # (role, new name) of every object that announced one

        def on_renamed(event):
            try:
                renamed.append((event.source.getRole(), event.source.name))
            except GLib.Error:  # from a game that has ended since
                pass
        pyatspi.Registry.registerEventListener(on_renamed, "object:property-change:accessible-name")

        def pump(seconds=0.2):
            for _ in range(int(seconds / 0.02)):
                GLib.MainContext.default().iteration(False)
                time.sleep(0.02)

        def find(role):
            pump()
            games = [a for a in screen_reader if a is not None and a.name == "Vornel"]
            return games and pyatspi.findDescendant(games[-1], lambda n: n.getRole() == role)

        d = self.desktop(lang=JAPANESE)
        d.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        # The clock runs in the caption without a word to the screen reader.
        game = d.start(GAME, cwd=self.cwd)
        main = d.window(MAIN)
        d.keys("alt+f", "s")
        pump(1.6)
        self.assertNotIn(pyatspi.ROLE_FRAME, [role for role, _ in renamed])
        self.quit(d, game, main)
        d.wait(lambda: not find(pyatspi.ROLE_TABLE), "the game stayed on the bus")

        # A known board (the scene's), 簡単, played by keys alone from what
        # the cells are called.
        scene = d.start(SCENE, "play", cwd=self.cwd)
        main = d.window(MAIN)
        d.wait(lambda: find(pyatspi.ROLE_TABLE), "the board is not on the accessibility bus")
        board = find(pyatspi.ROLE_TABLE)
        table = board.queryTable()
        self.assertEqual((board.name, table.nRows, table.nColumns), ("盤面", 16, 16))
        d.keys("alt+f", "l", "Return", "alt+f", "s")
        sheet = os.path.join(os.path.dirname(ICON32), "tilesheet.png")
        x0, y0, _, h0 = d.client(main)
        cursor = [0, 0]

        def press(x, y, key):
            steps = (["Right" if x > cursor[0] else "Left"] * abs(x - cursor[0]) +
                     ["Down" if y > cursor[1] else "Up"] * abs(y - cursor[1]))
            d.out("xdotool", "key", "--delay", "20", *steps, key)
            cursor[:] = [x, y]

        def focused(x, y):
            return table.getAccessibleAt(y, x).getState().contains(pyatspi.STATE_FOCUSED)

        checked = False
        while not d.shown(REGISTRATION):
            pump()
            names = {(x, y): table.getAccessibleAt(y, x).name for y in range(16) for x in range(16)}
            self.assertNotIn("踏んだ爆弾", names.values(), "a deduction opened a bomb")
            self.assertTrue(focused(*cursor), "the cursor's cell is not the focused one")
            looks = {"未開封": "8+8", "空白": "118+8", "1": "8+30", "2": "30+30"}
            for (x, y), name in names.items() if not checked and "空白" in names.values() else ():
                if name in looks and [x, y] != cursor:  # shown as the tile of its name
                    tile = subprocess.run(["convert", sheet, "-crop", "22x22+" + looks[name],
                                           "rgb:-"], check=True, capture_output=True).stdout
                    self.assertEqual(d.pixels(x0 + 10 + 22 * x, y0 + h0 - 362 + 22 * y, 22, 22),
                                     tile, (x, y, name))
                    checked = True
            covered = {p for p, name in names.items() if name == "未開封"}
            marked = {p for p, name in names.items() if name == "爆弾マーク"}
            safe, bombs = set(), set()
            for (x, y), name in names.items():
                around = {(x + i, y + j) for i in (-1, 0, 1) for j in (-1, 0, 1)}
                if name.isdigit() and int(name) == len(around & marked):
                    safe |= around & covered
                elif name.isdigit() and int(name) - len(around & marked) == len(around & covered):
                    bombs |= around & covered
            if len(covered) == 20 - len(marked):
                bombs = covered
            if not safe and not bombs:  # a guess: the covered cell nearest the middle
                safe = {min(covered, key=lambda p: ((p[0] - 7.5) ** 2 + (p[1] - 7.5) ** 2, p))}
            for x, y in sorted(bombs):
                press(x, y, "space")
            for x, y in sorted(safe - bombs):
                press(x, y, "Return")
        self.assertTrue(checked)
        # Cells announced what they came to show.
        self.assertLessEqual({"空白", "1", "爆弾マーク"},
                             {name for role, name in renamed if role == pyatspi.ROLE_TABLE_CELL})

        # The name box is named by its prompt; the win is registered; the
        # board has the focus again after the dialogs.
        d.window(REGISTRATION)
        self.assertEqual(find(pyatspi.ROLE_TEXT).name, "お名前を入力して下さい")
        d.type("Yomi")
        d.keys("Tab", "Return")
        d.window(RANKING)
        d.keys("Return")
        d.wait(lambda: not d.shown(RANKING), "the ranking stayed open")
        pump()
        self.assertTrue(focused(*cursor), "the board did not take the focus back")
        self.assertEqual(Lines(os.path.join(self.cwd, "vornel.dat"))[0],
                         b'"0","0","Yomi","0:00:00","2026/12/07 21:14:00"')
        self.quit(d, scene, main)

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + CASES, verbosity=2)
