"""Real input through the X server (XTest via xdotool) and window-system requests (python-xlib)."""

import time

from Xlib import X, display, protocol


class Desktop:
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
