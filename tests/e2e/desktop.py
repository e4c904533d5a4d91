"""Real input and window-system requests: through the X server (XTest via xdotool, python-xlib),
or through a Wayland compositor (wtype's virtual keyboard, sway's IPC with swaymsg, grim;
gnome-shell's own D-Bus interfaces).

Window ids are the window system's own: X window ids, sway's container ids, mutter's window ids.
"""

import json
import os
import time

from Xlib import X, display, protocol

from polling import wait_until


class X11Desktop:
    qt_platform = "xcb"
    # Without a window manager a window the program shows without activating stays inactive.
    activates_new_windows = False

    def __init__(self, session):
        self.session = session

    def xdotool(self, *args):
        done = self.session.run(["xdotool"] + [str(a) for a in args], timeout=120)
        if done.returncode != 0:
            raise RuntimeError("xdotool %s failed: %s" % (" ".join(map(str, args)),
                                                          done.stderr.strip()))
        return done.stdout

    def type(self, text, delay_ms=60):
        self.xdotool("type", "--delay", delay_ms, "--", text)

    def key(self, *names, delay_ms=60):
        self.xdotool("key", "--delay", delay_ms, *names)

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", window)

    def drag(self, start, end, steps=12):
        """Press, move in small steps so the toolkit sees a drag start, release."""
        self.move(*start)
        time.sleep(0.15)
        self.xdotool("mousedown", 1)
        time.sleep(0.15)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.move(x, y)
            time.sleep(0.03)
        time.sleep(0.2)
        self.xdotool("mouseup", 1)

    def main_window(self, pid, title_start):
        found = self.session.run(["xdotool", "search", "--all", "--onlyvisible", "--pid",
                                  str(pid), "--name", "^" + title_start.replace(".", "\\.")])
        ids = found.stdout.split()
        return ids[0] if ids else None

    def window_title(self, window):
        return self.session.run(["xdotool", "getwindowname", window]).stdout.rstrip("\n")

    def window_geometry(self, window):
        """Screen position and size of a window's client area."""
        shown = self.session.run(["xdotool", "getwindowgeometry", "--shell", window]).stdout
        values = dict(line.split("=", 1) for line in shown.split())
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))

    def screenshot(self, path):
        self.session.run(["import", "-window", "root", path], timeout=30)

    def visible_windows(self, pid):
        found = self.session.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid),
                                  "--name", ""])
        return [w for w in found.stdout.split() if int(w) != self.root_window()]

    def root_window(self):
        screen = display.Display(self.session.display)
        try:
            return screen.screen().root.id
        finally:
            screen.close()

    def grab(self, x, y, width, height):
        """The screen's pixels in a rectangle, as the X server holds them."""
        screen = display.Display(self.session.display)
        try:
            return screen.screen().root.get_image(x, y, width, height, X.ZPixmap,
                                                  0xffffffff).data
        finally:
            screen.close()

    def close_window(self, window):
        """What a window manager does for the close box: a WM_DELETE_WINDOW message."""
        screen = display.Display(self.session.display)
        try:
            target = screen.create_resource_object("window", int(window))
            protocols = screen.intern_atom("WM_PROTOCOLS")
            delete = screen.intern_atom("WM_DELETE_WINDOW")
            message = protocol.event.ClientMessage(window=target, client_type=protocols,
                                                   data=(32, [delete, X.CurrentTime, 0, 0, 0]))
            target.send_event(message, event_mask=X.NoEventMask)
            # A round trip: the request is processed before the connection closes.
            screen.sync()
        finally:
            screen.close()


class SwayDesktop:
    """A headless sway: keys through wtype, windows through sway's tree, for Wayland clients
    and X11 clients of its Xwayland alike."""

    # sway activates every new window and keeps it active when the program asks for another.
    activates_new_windows = True

    def __init__(self, session, qt_platform):
        self.session = session
        self.qt_platform = qt_platform

    def _run(self, argv):
        done = self.session.run(argv, timeout=120)
        if done.returncode != 0:
            raise RuntimeError("%s failed: %s" % (" ".join(argv), done.stderr.strip()))
        return done.stdout

    def _windows(self):
        tree = json.loads(self._run(["swaymsg", "-r", "-t", "get_tree"]))
        found, pending = [], [tree]
        while pending:
            node = pending.pop()
            pending.extend(node.get("nodes", []) + node.get("floating_nodes", []))
            if node.get("pid"):
                found.append(node)
        return found

    def _window(self, window):
        return next((w for w in self._windows() if str(w["id"]) == str(window)), None)

    # wtype's virtual keyboard drops the first key of a run that starts at once.
    def type(self, text, delay_ms=60):
        self._run(["wtype", "-s", "150", "-d", str(delay_ms), "--", text])

    def key(self, *names, delay_ms=60):
        for name in names:
            *modifiers, key = name.split("+")
            argv = ["wtype", "-s", "150"]
            for modifier in modifiers:
                argv += ["-M", modifier]
            argv += ["-k", key]
            for modifier in reversed(modifiers):
                argv += ["-m", modifier]
            self._run(argv)
            time.sleep(delay_ms / 1000.0)

    def move(self, x, y):
        self._run(["swaymsg", "seat", "-", "cursor", "set", str(x), str(y)])

    def focus(self, window):
        self._run(["swaymsg", "[con_id=%s]" % window, "focus"])

    def main_window(self, pid, title_start):
        for node in self._windows():
            if node["pid"] == pid and (node.get("name") or "").startswith(title_start):
                return str(node["id"])
        return None

    def window_title(self, window):
        node = self._window(window)
        return node.get("name") or "" if node else ""

    def window_geometry(self, window):
        node = self._window(window)
        rect, inner = node["rect"], node["window_rect"]
        return (rect["x"] + inner["x"], rect["y"] + inner["y"], inner["width"], inner["height"])

    def visible_windows(self, pid):
        return [str(w["id"]) for w in self._windows() if w["pid"] == pid and w.get("visible")]

    def close_window(self, window):
        self._run(["swaymsg", "[con_id=%s]" % window, "kill"])

    def screenshot(self, path):
        self.session.run(["grim", path], timeout=30)

    def drag(self, start, end, steps=12):
        raise NotImplementedError("no pointer drags on the headless compositor")


# Keysyms of the keys the scenarios press by name; a character is its own keysym (Latin-1) or
# 0x1000000 plus its code point.
KEYSYMS = {"Return": 0xff0d, "Escape": 0xff1b, "BackSpace": 0xff08, "Tab": 0xff09,
           "ctrl": 0xffe3, "shift": 0xffe1, "alt": 0xffe9, "super": 0xffeb}
SHELL_WINDOWS = """global.get_window_actors().map(a => a.meta_window).map(w => {
    const r = w.get_frame_rect();
    return {id: w.get_id(), pid: w.get_pid(), title: w.get_title() || '', focus: w.has_focus(),
            rect: [r.x, r.y, r.width, r.height], attention: w.demands_attention || w.urgent,
            shown: w.showing_on_its_workspace()};
})"""
SHELL_NOTICES = """Main.messageTray.getSources().map(s => s.notifications.map(
    n => n.title + ' ' + (n.bannerBodyText || ''))).flat()"""


def keysym(name):
    if name in KEYSYMS:
        return KEYSYMS[name]
    code = ord(name)
    return code if code < 0x100 else 0x1000000 + code


class CompositorWindows:
    """What GNOME's and KWin's sessions answer alike from their own list of windows: each has
    `windows()` (bottom first, with an id, pid, title and rect) and `_window(id)`."""

    def main_window(self, pid, title_start):
        for node in self.windows():
            if node["pid"] == pid and node["title"].startswith(title_start):
                return str(node["id"])
        return None

    def window_title(self, window):
        node = self._window(window)
        return node["title"] if node else ""

    def window_geometry(self, window):
        return tuple(self._window(window)["rect"])


class GnomeDesktop(CompositorWindows):
    """gnome-shell headless: keys through mutter's remote-desktop interface (through the
    compositor, as a person's keyboard), windows and notices asked of the shell itself (it runs
    in unsafe mode), for Wayland clients and X11 clients of its Xwayland alike."""

    activates_new_windows = True

    def __init__(self, session, qt_platform):
        self.session = session
        self.qt_platform = qt_platform
        self._keyboard = None

    def _bus(self):
        import dbus
        return dbus.bus.BusConnection(self.session.env["DBUS_SESSION_BUS_ADDRESS"])

    def eval(self, script):
        bus = self._bus()
        try:
            shell = bus.get_object("org.gnome.Shell", "/org/gnome/Shell")
            ok, result = shell.Eval(script, dbus_interface="org.gnome.Shell")
        finally:
            bus.close()
        if not ok:
            raise RuntimeError("the shell refused %r: %s" % (script[:60], result))
        return json.loads(result) if result else None

    def ready(self):
        try:
            return self.eval("Main.layoutManager._startingUp === false")
        except Exception:
            return False

    def start(self):
        self.eval("Main.overview.hide()")

    # -- keys ---------------------------------------------------------------------------------

    def _keys(self):
        # One remote-desktop session on one connection, made in the process that types; its
        # first key is lost (and an X client's first key under the new keyboard map), so taps of
        # Shift open it.
        if self._keyboard is None or self._keyboard[0] != os.getpid():
            bus = self._bus()
            service = "org.gnome.Mutter.RemoteDesktop"
            path = bus.get_object(service, "/org/gnome/Mutter/RemoteDesktop").CreateSession(
                dbus_interface=service)
            remote = bus.get_object(service, path)
            remote.Start(dbus_interface=service + ".Session")
            self._keyboard = (os.getpid(), bus, remote)
            for _ in range(2):
                self._tap(KEYSYMS["shift"])
                time.sleep(0.3)
        return self._keyboard[2]

    def _press(self, sym, down):
        self._keys().NotifyKeyboardKeysym(dbus_uint(sym), down,
                                          dbus_interface="org.gnome.Mutter.RemoteDesktop.Session")

    def _tap(self, sym):
        self._press(sym, True)
        self._press(sym, False)

    def type(self, text, delay_ms=60):
        for char in text:
            self._tap(keysym(char))
            time.sleep(delay_ms / 1000.0)

    def key(self, *names, delay_ms=60):
        for name in names:
            *modifiers, last = name.split("+")
            for modifier in modifiers:
                self._press(keysym(modifier), True)
            self._tap(keysym(last))
            for modifier in reversed(modifiers):
                self._press(keysym(modifier), False)
            time.sleep(delay_ms / 1000.0)

    # -- windows ------------------------------------------------------------------------------

    def windows(self):
        """The windows, bottom first."""
        return self.eval(SHELL_WINDOWS)

    def notices(self):
        """The notifications in the shell's message tray, and the windows asking for
        attention."""
        return self.eval(SHELL_NOTICES) + [w["title"] for w in self.windows() if w["attention"]]

    def _window(self, window):
        return next((w for w in self.windows() if str(w["id"]) == str(window)), None)

    def move(self, x, y):
        self.eval("imports.gi.Clutter.get_default_backend().get_default_seat().warp_pointer(%d, %d)"
                  % (x, y))

    def _act_on(self, window, action):
        self.eval("global.get_window_actors().map(a => a.meta_window).filter(w => w.get_id() == "
                  "%s).forEach(w => w.%s(global.get_current_time()))" % (window, action))

    def focus(self, window):
        self._act_on(window, "activate")

    def visible_windows(self, pid):
        return [str(w["id"]) for w in self.windows() if w["pid"] == pid and w["shown"]]

    def close_window(self, window):
        self._act_on(window, "delete")

    def screenshot(self, path):
        self.eval("(() => { const f = imports.gi.Gio.File.new_for_path(%s); "
                  "const s = f.replace(null, false, 0, null); "
                  "new imports.gi.Shell.Screenshot().screenshot(false, s, () => s.close(null)); "
                  "})()" % json.dumps(path))
        time.sleep(1)

    def drag(self, start, end, steps=12):
        raise NotImplementedError("no pointer drags through the remote-desktop keyboard")


def dbus_uint(value):
    import dbus
    return dbus.UInt32(value)


# Linux key codes of a US keyboard, and whether Shift is held for the character.
_ROWS = [("1234567890-=", 2), ("qwertyuiop[]", 16), ("asdfghjkl;'`", 30), ("zxcvbnm,./", 44)]
_SHIFTED = dict(zip('!@#$%^&*()_+{}:"~<>?', "1234567890-=[];'`,./"))
LINUX_KEYS = {char: code + i for row, code in _ROWS for i, char in enumerate(row)}
LINUX_KEYS.update({" ": 57, "Return": 28, "Escape": 1, "BackSpace": 14, "Tab": 15, "ctrl": 29,
                   "shift": 42, "alt": 56, "super": 125, "\\": 43})
KWIN_WINDOWS = """print('%s' + JSON.stringify(workspace.clientList().sort(
    (a, b) => a.stackingOrder - b.stackingOrder).map(c => ({
    id: c.internalId.toString(), pid: c.pid, title: c.caption, active: c.active,
    rect: [c.frameGeometry.x, c.frameGeometry.y, c.frameGeometry.width, c.frameGeometry.height],
    attention: c.demandsAttention}))));"""


def linux_key(char):
    """(code, shifted) of a character or a key's name."""
    if char in LINUX_KEYS:
        return LINUX_KEYS[char], False
    if char.lower() in LINUX_KEYS:
        return LINUX_KEYS[char.lower()], True
    return LINUX_KEYS[_SHIFTED[char]], True


class KWinDesktop(CompositorWindows):
    """KWin with a virtual output: keys through its fake-input protocol (a small client the
    suite builds), windows through KWin scripts whose answers KWin writes to its log, for
    Wayland clients and X11 clients of its Xwayland alike. No notification server runs, so a
    window asking for attention is the notice looked for."""

    activates_new_windows = True

    def __init__(self, session, qt_platform, fake_input, log):
        self.session = session
        self.qt_platform = qt_platform
        self.fake_input = fake_input
        self.log = log
        self._asked = 0

    def _send(self, events, delay_ms):
        done = self.session.run([self.fake_input, str(delay_ms)] + events, timeout=120)
        if done.returncode != 0:
            raise RuntimeError("fake_input failed: %s" % done.stderr.strip())

    def _strokes(self, name):
        code, shifted = linux_key(name)
        strokes = ["key:%d:1" % code, "key:%d:0" % code]
        return (["key:42:1"] + strokes + ["key:42:0"]) if shifted else strokes

    def type(self, text, delay_ms=60):
        self._send([event for char in text for event in self._strokes(char)], delay_ms // 2)

    def key(self, *names, delay_ms=60):
        for name in names:
            *modifiers, last = name.split("+")
            codes = [linux_key(m)[0] for m in modifiers]
            self._send(["key:%d:1" % c for c in codes] + self._strokes(last)
                       + ["key:%d:0" % c for c in reversed(codes)], 20)
            time.sleep(delay_ms / 1000.0)

    def move(self, x, y):
        self._send(["move:%d:%d" % (x, y)], 0)

    def script(self, source):
        """Runs a KWin script; what it prints after the marker comes back, read from the log."""
        import dbus
        self._asked += 1
        marker = "quorvel-%d-%d:" % (os.getpid(), self._asked)
        path = os.path.join(self.session.root, "kwin-%d-%d.js" % (os.getpid(), self._asked))
        with open(path, "w") as script:
            script.write(source.replace("%s", marker, 1))
        bus = dbus.bus.BusConnection(self.session.env["DBUS_SESSION_BUS_ADDRESS"])
        try:
            scripting = bus.get_object("org.kde.KWin", "/Scripting", introspect=False)
            scripting.loadScript(path, marker, dbus_interface="org.kde.kwin.Scripting",
                                 signature="ss")
            # Runs every script loaded and not yet running: this one.
            scripting.start(dbus_interface="org.kde.kwin.Scripting")
            answer = wait_until(lambda: self._printed(marker), 10)
            scripting.unloadScript(marker, dbus_interface="org.kde.kwin.Scripting")
        finally:
            bus.close()
        return json.loads(answer) if answer else None

    def _printed(self, marker):
        with open(self.log, errors="replace") as log:
            for line in log:
                if marker in line:
                    return line.split(marker, 1)[1].strip().rstrip('"')
        return None

    def ready(self):
        try:
            return self.script("print('%s' + JSON.stringify(true));") is True
        except Exception:
            return False

    def windows(self):
        """The windows, bottom first."""
        return self.script(KWIN_WINDOWS)

    def notices(self):
        return [w["title"] for w in self.windows() if w["attention"]]

    def _window(self, window):
        return next((w for w in self.windows() if w["id"] == str(window)), None)

    def _act_on(self, window, action):
        self.script("workspace.clientList().filter(c => c.internalId.toString() == %s).forEach("
                    "c => %s); print('%%s' + 'null');" % (json.dumps(str(window)), action))

    def focus(self, window):
        self._act_on(window, "workspace.activeClient = c")

    def visible_windows(self, pid):
        return [w["id"] for w in self.windows() if w["pid"] == pid]

    def close_window(self, window):
        self._act_on(window, "c.closeWindow()")

    def screenshot(self, path):
        """KWin writes the screen's pixels into a pipe (32-bit, blue first), ImageMagick makes
        them a picture."""
        import dbus
        read_end, write_end = os.pipe()
        bus = dbus.bus.BusConnection(self.session.env["DBUS_SESSION_BUS_ADDRESS"])
        try:
            shot = bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2", introspect=False)
            found = shot.CaptureWorkspace({}, dbus.types.UnixFd(write_end),
                                          dbus_interface="org.kde.KWin.ScreenShot2",
                                          signature="a{sv}h")
            os.close(write_end)
            with os.fdopen(read_end, "rb") as pipe:
                pixels = pipe.read()
        finally:
            bus.close()
        raw = path + ".raw"
        with open(raw, "wb") as out:
            out.write(pixels)
        self.session.run(["convert", "-size", "%dx%d" % (found["width"], found["height"]),
                          "-depth", "8", "bgra:" + raw, path], timeout=30)
        os.remove(raw)
