#!/usr/bin/env python3
"""The real program on the desktops players have: Xvfb with a window manager
(openbox; fluxbox, which answers no frame-extents request; xfwm4; GNOME's
mutter and KDE's KWin), or mutter as a Wayland compositor; in the C or the
Japanese locale, at whole and fractional scales; real key and mouse events
(XTEST through xdotool, or mutter's remote desktop), and what a player sees
and hears read from outside (window and frame geometry, screenshots, the
accessibility tree, the Orca screen reader's words).

    VORNEL_VERSION=1.2.3 desktop_test.py GAME SCENE ICON32 [CASE ...]

GAME is the vornel executable, SCENE the screenshot_scene tool (the game on a
known board), ICON32 the committed 32 x 32 application icon, VORNEL_VERSION
the version the game's caption shows. Each CASE (a name such as
DesktopTest.test_high_density_keeps_the_tick_plain_and_the_icon_sharp, or
unittest's -k PATTERN) picks what runs; without one every case runs, but a
process can serve the accessibility tests of one case only (ctest runs each
case alone). Every tool it needs must be installed (scripts/dev does it); a
missing one is a failure.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import tty
import unittest

GAME, SCENE, ICON32 = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)
CASES = sys.argv[4:]
TOOLS = ["Xvfb", "openbox", "fluxbox", "xfwm4", "mutter", "kwin_x11", "xdotool", "xwininfo",
         "xprop", "xmessage", "import", "convert", "localedef", "dbus-daemon", "orca"]
JAPANESE = "ja_JP.UTF-8"
MAIN = "^Vornel Ver" + re.escape(os.environ.get("VORNEL_VERSION") or
                                  sys.exit("desktop_test.py: VORNEL_VERSION is not set (ctest sets it)"))
VERSION = "ﾊﾞｰｼﾞｮﾝ情報"
RANKING = "ｽｺｱﾗﾝｷﾝｸﾞ"
REGISTRATION = "ﾗﾝｷﾝｸﾞ登録"


WINDOW_MANAGERS = {"openbox": ["openbox"], "fluxbox": ["fluxbox"], "xfwm4": ["xfwm4"],
                   "mutter": ["mutter", "--x11", "--replace"], "kwin": ["kwin_x11", "--replace"]}


class Desktop:
    """An X server with a window manager (or mutter on Wayland) and the
    session a player's desktop gives: a runtime folder and a session bus of
    its own, a locale and maybe a desktop font. All it starts ends with it."""

    def __init__(self, width=1024, height=768, scale=None, wm="openbox", lang=None,
                 desktop_font=None):
        self.size = (width, height)
        self.home = tempfile.mkdtemp()  # fluxbox writes its settings there
        self.programs = []
        try:
            self.start_session(scale, wm, lang, desktop_font)
        except BaseException:
            self.close()
            raise

    def spawn(self, *command, env=None, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        self.programs.append(subprocess.Popen(command, env=env or self.env, start_new_session=True,
                                              **kwargs))
        return self.programs[-1]

    def first_line(self, *command):
        """The line a program writes, once it is up, to the descriptor {fd}."""
        read, write = os.pipe()
        self.spawn(*(a.replace("{fd}", str(write)) for a in command), pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as f:
            line = f.readline().strip()
        if not line:
            raise RuntimeError(f"{command[0]} did not start")
        return line

    def start_session(self, scale, wm, lang, desktop_font):
        runtime = os.path.join(self.home, "run")
        os.mkdir(runtime, 0o700)
        self.env = dict(os.environ, QT_QPA_PLATFORM="xcb", HOME=self.home, LANG="C.UTF-8",
                        XDG_CONFIG_HOME=self.home, XDG_RUNTIME_DIR=runtime)
        for name in ("QT_SCALE_FACTOR", "QT_QPA_PLATFORMTHEME", "LC_ALL", "LANGUAGE",
                     "WAYLAND_DISPLAY", "DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.first_line(
            "dbus-daemon", "--session", "--nofork", "--print-address={fd}",
            f"--address=unix:path={runtime}/bus")
        if wm == "wayland":  # GNOME's own session: mutter as the compositor
            self.env.update(WAYLAND_DISPLAY="vornel-wayland", QT_QPA_PLATFORM="wayland")
            self.spawn("mutter", "--wayland", "--headless", "--no-x11", "--wayland-display",
                       "vornel-wayland", "--virtual-monitor", "%dx%d" % self.size)
            self.wait(lambda: os.path.exists(os.path.join(runtime, "vornel-wayland")),
                      "mutter did not start")
            return
        # -noreset: a server resets when its last client leaves and refuses
        # clients meanwhile; the probes below are such passing clients.
        self.env["DISPLAY"] = ":" + self.first_line(
            "Xvfb", "-displayfd", "{fd}", "-screen", "0", "%dx%dx24" % self.size, "-nolisten", "tcp",
            "-noreset")
        # The window manager comes once the server has answered a client:
        # fluxbox started at once could, under load, now and then not connect.
        self.wait(lambda: subprocess.run(["xprop", "-root", "-len", "0", "RESOURCE_MANAGER"],
                                         env=self.env, capture_output=True).returncode == 0,
                  "Xvfb takes no client")
        if scale:
            self.env["QT_SCALE_FACTOR"] = str(scale)
        if lang:
            self.env.update(LANG=lang, LOCPATH=Locales())
        if desktop_font:
            os.makedirs(os.path.join(self.home, "qt6ct"))
            with open(os.path.join(self.home, "qt6ct", "qt6ct.conf"), "w") as f:
                f.write(f'[Fonts]\ngeneral="{desktop_font},-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n')
            self.env["QT_QPA_PLATFORMTHEME"] = "qt6ct"
        self.wm = self.spawn(*WINDOW_MANAGERS[wm])
        self.wait(lambda: "window id" in self.out("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                  f"{wm} did not start")
        # A manager says it is there before it manages windows: one mapped
        # meanwhile may stay unframed for good. A player's manager ran long
        # before; here the game starts once a window of our own was framed.
        for _ in range(10):
            probe = self.spawn("xmessage", "-name", "vornel-wm-probe", "probe")
            framed = self.until(lambda: any("=" in self.out("xprop", "-id", w, "_NET_FRAME_EXTENTS")
                                            for w in self.windows("^vornel-wm-probe$", "--classname")), 2)
            probe.kill()
            self.wait(lambda: not self.windows("^vornel-wm-probe$", "--classname"), "xmessage stayed")
            if framed:
                break
        else:
            raise AssertionError(f"{wm} frames no window")
        if wm == "kwin":
            time.sleep(1)  # for a second after, KWin frames a twin slower than the game waits

    def close(self):
        for p in reversed(self.programs):  # the session bus and the X server last
            if p.poll() is None:
                try:
                    os.killpg(p.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            p.wait()
            if p.stdout:
                p.stdout.close()
        shutil.rmtree(self.home, ignore_errors=True)

    def out(self, *command):
        return subprocess.run(command, env=self.env, check=True, capture_output=True,
                              text=True, timeout=30).stdout

    def start(self, *command, cwd, env=None):
        """The game, its errors kept (a sanitizer's report among them) for a failed exit."""
        errors = tempfile.TemporaryFile(dir=self.home)
        program = self.spawn(*command, cwd=cwd, env=env, stdout=subprocess.PIPE, text=True,
                             stderr=errors)
        program.errors = errors
        return program

    @staticmethod
    def until(condition, seconds):
        deadline = time.monotonic() + seconds
        while not condition():
            if time.monotonic() > deadline:
                return False
            time.sleep(0.05)
        return True

    @classmethod
    def wait(cls, condition, what, seconds=20):
        if not cls.until(condition, seconds):
            raise AssertionError(what)

    def window(self, name):
        """The visible window whose caption matches `name`, once it is mapped."""
        found = []

        def search():
            found[:] = self.windows(name)
            return bool(found)
        self.wait(search, f"no window {name}")
        return found[-1]

    def windows(self, name, by="--name", visible=True):
        r = subprocess.run(["xdotool", "search"] + ["--onlyvisible"] * visible + [by, name],
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
        """Presses each key; a chord as a hand does (a screen reader's key
        listener can part an instant chord)."""
        for key in keys:
            *held, last = key.split("+")
            for modifier in held:
                self.out("xdotool", "keydown", modifier)
                time.sleep(0.1)
            self.out("xdotool", "key", last)
            for modifier in reversed(held):
                time.sleep(0.1)
                self.out("xdotool", "keyup", modifier)
            time.sleep(0.15)

    def menu(self, *keys):
        """Presses a menu command's keys, each once the menus (windows of the
        game's, two deep at most) that the keys before it open are up."""
        for n, key in enumerate(keys):
            self.wait(lambda: len(self.windows("^(vornel|screenshot_scene)$", "--classname")) > min(n, 2),
                      f"{keys[:n]} opened no menu")
            self.keys(key)

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


class Orca:
    """The screen reader blind players use, without a speech server: it logs
    what it would say to a terminal of the test's (to a file, its last words
    would wait in a buffer)."""

    def __init__(self, d):
        # It will not start beside another of the user's, and must not replace one.
        assert subprocess.run(["pgrep", "-x", "orca"]).returncode, "another Orca runs"
        master, self.terminal = os.openpty()
        tty.setraw(self.terminal)
        self.output, self.read = bytearray(), 0
        threading.Thread(target=self.drain, args=(master,), daemon=True).start()
        d.spawn("orca", "--disable", "braille", "--disable", "splash-window",
                "--debug-file=" + os.ttyname(self.terminal),
                env=dict(d.env, SPEECHD_ADDRESS="unix_socket:" + os.path.join(d.home, "none")))
        self.hears("")  # its first words: it is up

    def drain(self, master):
        while True:
            try:
                self.output += os.read(master, 1 << 16)
            except OSError:
                return

    def settle(self):
        """Waits until Orca is idle: a key sent while it is busy may be lost."""
        size = -1
        while size != len(self.output):
            size = len(self.output)
            time.sleep(0.3)

    def said(self):
        """What Orca said since the last call."""
        text = bytes(self.output[self.read:])
        text = text[:text.rfind(b"\n") + 1]
        self.read += len(text)
        return re.findall(r"SPEECH OUTPUT: '(.*?)' ?\{", text.decode(errors="replace"))

    def hears(self, *parts, seconds=30):
        """Waits until Orca has said each of `parts`, in this order; returns
        all it said meanwhile."""
        heard, deadline = [], time.monotonic() + seconds
        while True:
            heard += self.said()
            missing = list(parts)
            for line in heard:
                while missing and missing[0] in line:
                    line = line[line.index(missing[0]) + len(missing.pop(0)):]
            if not missing:
                return heard
            if time.monotonic() > deadline:
                raise AssertionError(f"Orca did not say {missing[0]!r}; it said {heard}")
            time.sleep(0.1)


def AccessibilityOf(d):
    """The system Python's AT-SPI binding on the desktop's bus (one bus a
    process: each case runs alone), and a finder of a role in the game."""
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = d.env["DBUS_SESSION_BUS_ADDRESS"]
    import pyatspi
    from gi.repository import GLib
    screen_reader = pyatspi.Registry.getDesktop(0)  # starts the accessibility bus

    def find(role):
        for _ in range(10):  # lets the bus's news in
            GLib.MainContext.default().iteration(False)
            time.sleep(0.02)
        games = [a for a in screen_reader if a is not None and a.name == "Vornel"]
        return games and pyatspi.findDescendant(games[-1], lambda n: n.getRole() == role)
    return pyatspi, find


class RemoteKeyboard:
    """Keys through mutter's remote desktop: headless, it has no keyboard."""
    KEYSYMS = {"alt": 0xffe9, "Shift_L": 0xffe1, "Return": 0xff0d, "Tab": 0xff09,
               "Escape": 0xff1b, "space": 0x20, "Left": 0xff51, "Up": 0xff52, "Right": 0xff53,
               "Down": 0xff54}

    def __init__(self):
        from gi.repository import Gio, GLib
        self.bus, self.Variant = Gio.bus_get_sync(Gio.BusType.SESSION, None), GLib.Variant
        self.session = self.call("/org/gnome/Mutter/RemoteDesktop", "CreateSession")[0]
        self.call(self.session, "Start")

    def call(self, path, method, args=None):
        interface = "org.gnome.Mutter.RemoteDesktop" + (".Session" if "Session/" in path else "")
        return self.bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                                  None, 0, -1, None).unpack()

    def press(self, *keys):
        for key in keys:  # "alt+a": held together
            syms = [self.KEYSYMS.get(k) or ord(k) for k in key.split("+")]
            for sym, down in [(s, True) for s in syms] + [(s, False) for s in reversed(syms)]:
                self.call(self.session, "NotifyKeyboardKeysym", self.Variant("(ub)", (sym, down)))
            time.sleep(0.03)


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

    def quit(self, d, program):
        d.menu("alt+f", "x")
        status = program.wait(timeout=30)
        program.errors.seek(0)
        with program.errors:
            self.assertEqual(status, 0, program.errors.read()[-4000:].decode(errors="replace"))

    # The desktops a player may have: the window manager (GNOME's and KDE's
    # among them), the locale, and a desktop's font setting replacing the
    # application's font. No key is sent after a click or a window
    # activation of the test's own: each window must take the keyboard.
    PLAYERS = [dict(), dict(wm="fluxbox", lang=JAPANESE),
               dict(lang=JAPANESE, desktop_font="IPAPGothic,14"), dict(wm="mutter"),
               dict(wm="kwin", lang=JAPANESE), dict(wm="xfwm4")]

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
        d.menu("alt+f", "l", "Down", "Down", "Return")
        self.assertEqual(d.frame(main), first)
        # ...and brings a dragged one back to the centre.
        d.out("xdotool", "windowmove", "--sync", main, "40", "50")
        self.assertNotEqual(d.frame(main), first)
        d.menu("alt+f", "l", "Return")
        self.assertEqual(d.frame(main), first)

        # The display dialogs open centred, their texts in their boxes, with
        # their button focused: Enter presses it. Escape closes them too.
        for open_keys, name in ((["alt+a"], VERSION), (["alt+r", "b"], RANKING)):
            for close_key in ("Return", "Escape"):
                d.menu(*open_keys)
                dialog = d.window(name)
                self.assertEqual(d.centred(dialog), (0, 0), name)
                self.assertTextsFit(d, dialog, name)
                d.keys(close_key)
                d.wait(lambda: not d.shown(name), f"{close_key} left {name} open")
        self.assertIsNone(game.poll())
        self.quit(d, game)

    def test_registration_takes_enter_only_on_its_button_and_ignores_escape(self):
        # Level 1 holds nine times of 0:00:00: the first clear takes the
        # tenth place, the second is no better and gets the congratulation.
        with open(os.path.join(self.cwd, "vornel.dat"), "wb") as f:
            for place in range(9):
                f.write(b'"1","%d","p%d","0:00:00","2026/01/01 00:00:00"\r\n' % (place, place))
        for player in (dict(wm="fluxbox", lang=JAPANESE), dict(wm="mutter"), dict(wm="kwin")):
            with self.subTest(**player):
                os.makedirs(os.path.join(self.cwd, player["wm"]))
                shutil.copy(os.path.join(self.cwd, "vornel.dat"), os.path.join(self.cwd, player["wm"]))
                d = Desktop(**player)
                try:
                    self.register(d, os.path.join(self.cwd, player["wm"]))
                finally:
                    d.close()

    def register(self, d, cwd):
        scene = d.start(SCENE, "play", cwd=cwd)
        bombs = [tuple(map(int, scene.stdout.readline().split()[1:])) for _ in range(30)]
        main = d.window(MAIN)
        x, y, w, h = d.client(main)
        board = (x + 2, y + h - 372 + 2)  # below the menu bar, inside the border

        def clear_the_board():
            d.menu("alt+f", "s")
            # The clock shows in the caption once the new game runs.
            d.window(MAIN + "  \\[ 0:00:00 \\]")
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
        self.assertEqual(Lines(os.path.join(cwd, "vornel.dat"))[19],
                         b'"1","9","Taro","0:00:00","2026/12/07 21:14:00"')

        # A clear that does not rank: the congratulation box; closing it
        # leaves the game running.
        clear_the_board()
        d.window("^Vornel$")
        d.keys("Return")
        d.wait(lambda: not d.shown("^Vornel$"), "the congratulation box stayed open")
        time.sleep(0.5)
        self.assertIsNone(scene.poll(), "the program ended with the congratulation box")
        self.quit(d, scene)

    def test_high_density_keeps_the_tick_plain_and_the_icon_sharp(self):
        d = self.desktop(width=1600, height=1200, scale=2)
        # A window manager too busy to frame the game's twin in time: the
        # window is centred again by its own frame once it has one.
        os.kill(d.wm.pid, signal.SIGSTOP)
        game = d.start(GAME, cwd=self.cwd)
        d.wait(lambda: d.windows(MAIN, visible=False), "the game set no caption")
        time.sleep(0.5)  # past the quarter second the game waits
        os.kill(d.wm.pid, signal.SIGCONT)
        main = d.window(MAIN)
        # Positions are whole pixels of the scaled desktop: one pixel off at most.
        d.wait(lambda: max(map(abs, d.centred(main))) <= 1, "the window stays off the centre")

        # The level menu, with "簡単" highlighted and "普通" checked.
        d.menu("alt+f", "l")
        time.sleep(0.5)
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
        d.keys("alt+a")
        about = d.window(VERSION)
        ax, ay, _, _ = d.client(about)
        icon = subprocess.run(["convert", ICON32, "-scale", "200%", "rgb:-"], check=True,
                              capture_output=True).stdout
        self.assertEqual(len(icon), 64 * 64 * 3)
        self.assertEqual(d.pixels(ax + 2 * 16, ay + 2 * 37, 64, 64), icon)
        d.keys("Return")
        d.wait(lambda: not d.shown(VERSION), "the version dialog stayed open")
        self.quit(d, game)

    def test_fractional_scale_gives_every_cell_one_pitch_and_clicks_the_cell_shown(self):
        # At 1.25 a cell is 27 device pixels; the 2-pixel border and the
        # sheet's frame take the rest of the 465.
        d = self.desktop(scale=1.25, lang=JAPANESE)
        game = d.start(GAME, cwd=self.cwd)
        main = d.window(MAIN)
        self.assertEqual(d.centred(main), (0, 0))
        d.menu("alt+f", "s")
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
        self.quit(d, game)

    def test_keyboard_alone_plays_a_registered_win_that_a_screen_reader_speaks(self):
        d = self.desktop(lang=JAPANESE)
        orca = Orca(d)
        pyatspi, find = AccessibilityOf(d)

        def menu(*keys):  # a key with Alt may be lost while Orca is busy
            orca.settle()
            d.menu(*keys)

        # A known board (the scene's): moves, edges, marks, where the game
        # stands and a loss on 普通, then a win on 簡単 played by keys alone
        # from what the cells are called, as Orca speaks them.
        scene = d.start(SCENE, "play", cwd=self.cwd)
        bombs = [tuple(map(int, scene.stdout.readline().split()[1:])) for _ in range(30)]
        main = d.window(MAIN)
        d.wait(lambda: find(pyatspi.ROLE_CANVAS), "the board is not on the accessibility bus")
        board = find(pyatspi.ROLE_CANVAS)
        table = board.queryTable()
        self.assertEqual((board.name, table.nRows, table.nColumns), ("盤面", 16, 16))
        orca.hears("空白 1行1列")  # the title's cell that has the focus
        cursor = [0, 0]

        def press(x, y, key):
            steps = (["Right" if x > cursor[0] else "Left"] * abs(x - cursor[0]) +
                     ["Down" if y > cursor[1] else "Up"] * abs(y - cursor[1]))
            d.out("xdotool", "key", "--delay", "20", *steps, key)
            cursor[:] = [x, y]

        menu("alt+f", "s")
        heard = orca.hears("未開封 1行1列")
        time.sleep(1.6)  # the clock in the caption goes unsaid
        self.assertEqual([line for line in heard + orca.said() if "[ 0:0" in line], [])
        for key, said in (("Left", "左端"), ("Right", "未開封 1行2列"), ("Down", "未開封 2行2列"),
                          ("space", "爆弾マーク"), ("i", "普通 爆弾30個 マーク1個 経過時間 0:00:00")):
            d.keys(key)
            cells = [line for line in orca.hears(said) if re.search("[0-9]+行[0-9]+列", line)]
            self.assertLessEqual(len(cells), 1, f"{key}: {cells}")  # a cell, never its row
        cursor[:] = [1, 1]
        press(*bombs[0], "Return")
        orca.hears("踏んだ爆弾 ゲームオーバー")
        d.keys("Up" if bombs[0][1] else "Down")  # the lost board is still read
        orca.hears(f"{bombs[0][1] + (0 if bombs[0][1] else 2)}行{bombs[0][0] + 1}列")

        menu("alt+f", "l", "Return")
        menu("alt+f", "s")
        orca.hears("未開封 1行1列")
        sheet = os.path.join(os.path.dirname(ICON32), "tilesheet.png")
        x0, y0, _, h0 = d.client(main)
        cursor[:] = [0, 0]

        def focused(x, y):
            return table.getAccessibleAt(y, x).getState().contains(pyatspi.STATE_FOCUSED)

        checked = False
        while True:
            orca.settle()  # a player hears each turn out
            if d.shown(REGISTRATION):
                break
            find(pyatspi.ROLE_CANVAS)  # lets the bus's news in
            names = {(x, y): table.getAccessibleAt(y, x).name.split()[0]  # before its place
                     for y in range(16) for x in range(16)}
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

        # The dialogs say what they show, the ranking a place at a time; the
        # board has the focus again after them.
        heard = orca.hears("ﾗﾝｷﾝｸﾞ登録 ] ダイアログ おめでとうございます クリアータイム ： 0:00:00 レベル ： 簡単",
                           "お名前を入力して下さい テキスト")
        self.assertTrue(any(re.match("通知 [1-8][.]?$", line) for line in heard), "no count was told")
        self.assertTrue(any(re.match("通知 空白 [0-9]+マス開きました", line) for line in heard))
        d.type('"')
        orca.hears('次の文字はランキングに保存できません："')
        d.type("Yomi")
        d.keys("Tab", "Return")
        orca.hears("ｽｺｱﾗﾝｷﾝｸﾞ ] ダイアログ 簡単、1位 Yomi 0:00:00 2026/12/07 21:14:00", "閉じる")
        for keys, said in ((["Tab", "Tab"], "1位 Yomi 0:00:00 2026/12/07 21:14:00"),
                           (["Down"], "2位 空き"), (["shift+Tab", "Down"], "普通、登録なし"),
                           (["Escape"], f"{cursor[1] + 1}行{cursor[0] + 1}列")):
            d.keys(*keys)
            orca.hears(said)
        self.assertTrue(focused(*cursor), "the board did not take the focus back")
        d.keys("alt+a")
        orca.hears("ﾊﾞｰｼﾞｮﾝ情報 ] ダイアログ 「Vornel Ver", "ご利用頂きありがとうございます。", "O K")
        d.keys("Return")
        self.assertEqual(Lines(os.path.join(self.cwd, "vornel.dat"))[0],
                         b'"0","0","Yomi","0:00:00","2026/12/07 21:14:00"')
        orca.settle()
        self.quit(d, scene)

    def test_gnome_on_wayland_gives_each_window_the_keyboard(self):
        d = self.desktop(wm="wayland")
        pyatspi, find = AccessibilityOf(d)
        keyboard = RemoteKeyboard()
        scene = d.start(SCENE, "play", cwd=self.cwd,
                        env=dict(d.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
        bombs = [tuple(map(int, scene.stdout.readline().split()[1:])) for _ in range(30)]

        def active(caption):
            find(pyatspi.ROLE_FRAME)  # lets the bus's news in
            return any(re.search(caption, w.name) for a in pyatspi.Registry.getDesktop(0)
                       if a and a.name == "Vornel" for w in a
                       if w.getState().contains(pyatspi.STATE_ACTIVE))

        def keys_make_active(keys, caption):
            keyboard.press(*keys)
            d.wait(lambda: active(caption), f"{keys} left {caption} without the keyboard")

        d.wait(lambda: active(MAIN + "$"), "the main window did not take the keyboard")
        keyboard.press("Shift_L")  # mutter makes its virtual keyboard on the first key
        keys_make_active(["alt+a"], VERSION)
        keys_make_active(["Return"], MAIN + "$")
        keys_make_active(["alt+r", "b"], RANKING)
        keys_make_active(["Escape"], MAIN + "$")
        keyboard.press("alt+f", "s")
        x = y = 0
        for bx, by in bombs:
            keyboard.press(*(["Right" if bx > x else "Left"] * abs(bx - x) +
                             ["Down" if by > y else "Up"] * abs(by - y) + ["space"]))
            x, y = bx, by
        d.wait(lambda: active(REGISTRATION), "the registration dialog did not take the keyboard")
        keyboard.press("w", "a", "y", "Tab", "Return")
        keys_make_active([], RANKING)
        keys_make_active(["Return"], MAIN + "$")
        self.assertEqual(Lines(os.path.join(self.cwd, "vornel.dat"))[10],
                         b'"1","0","way","0:00:00","2026/12/07 21:14:00"')

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + CASES, verbosity=2)
