"""Waiting for something to come about by asking again and again: the program, the window
system, the buses and the recorder tell nothing when a state is reached, they are only asked.

Free of the session's libraries, so that the benches can wait the same way.
"""

import time


class TimedOut(RuntimeError):
    pass


def found(value):
    """A look-up's answer, as opposed to None: a time of 0.0 or an empty text is an answer."""
    return value is not None


def wait_until(probe, timeout, interval=0.2, accept=bool, what=None):
    """Calls probe() every `interval` seconds until accept(value) holds, and returns that value.
    Once `timeout` seconds have gone by: raises TimedOut naming `what` when it is given, else
    returns the last value seen, for the caller to show what was there instead."""
    deadline = time.monotonic() + timeout
    value = probe()
    while not accept(value):
        if time.monotonic() >= deadline:
            if what is not None:
                raise TimedOut("timed out after %g s waiting for %s" % (timeout, what))
            return value
        time.sleep(interval)
        value = probe()
    return value
