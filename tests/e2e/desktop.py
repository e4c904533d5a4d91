"""Real input and window-system requests: through the X server (XTest via xdotool, python-xlib),
or through a Wayland compositor (wtype's virtual keyboard, sway's IPC with swaymsg, grim).

Window ids are the window system's own: X window ids, or sway's container ids.
"""

import json
import time

from Xlib import X, display, protocol


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
