"""Assertions that say what was expected and what was seen, and figures worth keeping."""

from gi.repository import GLib

from polling import wait_until


class Failure(AssertionError):
    pass


def expect(condition, expected, seen):
    if not condition:
        raise Failure("expected %s\n  seen: %s" % (expected, seen))


def _ask(probe):
    # An accessibility call into the program can time out while the program holds its window
    # still on purpose (the staged pauses block it): that is "not yet", not a failure.
    # (PyGObject's GLib.GError is GLib.Error: its class is named "Error".)
    try:
        return probe()
    except GLib.Error:
        return None


def eventually(probe, accept, timeout, interval=0.2):
    """Polls probe() until accept(value) holds; returns the last value either way."""
    return wait_until(lambda: _ask(probe), timeout, interval, accept)


class Figures:
    def __init__(self, path):
        self.path = path
        self.lines = []

    def note(self, name, value, unit=""):
        line = "%s: %s%s" % (name, "%.3f" % value if isinstance(value, float) else value,
                             " " + unit if unit else "")
        self.lines.append(line)
        print("  figure  " + line, flush=True)
        with open(self.path, "a") as out:
            out.write(line + "\n")
