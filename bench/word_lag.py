#!/usr/bin/python3
"""Word events against what is heard: bench_word_lag speaks into a private audio server (the
real-session suite's own, with a null sink and a recorder on its monitor), and each word event
is set against the recording.

    bench/word_lag.py BENCH_WORD_LAG pulseaudio|pipewire with|without

"with" keeps another stream playing into the sink (as a desktop often has); "without" leaves
the sink idle between sentences, so the server may suspend it and start the next stream late.
Recording time is tied to CLOCK_MONOTONIC by watching the recording grow (its first seconds,
which a new recorder drops, left out), so each figure carries the recorder's delivery delay,
a few tens of milliseconds at most, on the late side. Prints key=value lines.
"""

import array
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from session import Session  # noqa: E402

RATE = 44100
AUDIBLE = 300  # sample value, about -40 dBFS


def main():
    program, server, other = sys.argv[1], sys.argv[2], sys.argv[3] == "with"
    out = tempfile.mkdtemp(prefix="quorvel-word-lag-")
    session = Session(out, audio=server)
    try:
        recording = session.start_audio(keepalive=other)
        offsets, done = [], threading.Event()

        def watch():
            while not done.is_set():
                offsets.append(time.monotonic() - recording.now())
                time.sleep(0.002)

        watcher = threading.Thread(target=watch)
        watcher.start()
        spoken = subprocess.run([program, "4", "3500"], env=session.env, capture_output=True,
                                text=True, timeout=120)
        time.sleep(0.5)
        done.set()
        watcher.join()
        settled = offsets[len(offsets) // 8:]
        offset = sorted(settled)[len(settled) // 50]
        with open(recording.raw_path, "rb") as raw:
            samples = array.array("h", raw.read())
    finally:
        session.stop()
        shutil.rmtree(out, ignore_errors=True)

    lines = spoken.stdout.splitlines()
    calls = [int(line.split()[1]) / 1e9 for line in lines if line.startswith("call")]
    words = [(int(line.split()[1]) / 1e9, int(line.split()[2])) for line in lines
             if line.startswith("word")]

    def heard_after(moment):
        i = max(int((moment - offset) * RATE) * 2, 0)
        while i < len(samples) and abs(samples[i]) < AUDIBLE:
            i += 2
        return i / 2 / RATE + offset

    start_ms, lags = [], []
    for n, call in enumerate(calls):
        until = calls[n + 1] if n + 1 < len(calls) else float("inf")
        these = [w for w in words if call < w[0] < until]
        if not these:
            continue
        onset = heard_after(call)
        start_ms.append((onset - call) * 1000)
        first_position = these[0][1]
        lags += [(when - onset - (position - first_position) / 1000) * 1000
                 for when, position in these]
    print("sentences=%d" % len(start_ms))
    print("heard_after_call_ms=%.0f" % (sum(start_ms) / max(len(start_ms), 1)))
    print("lag_mean_ms=%.1f" % (sum(lags) / max(len(lags), 1)))
    print("lag_min_ms=%.1f" % min(lags, default=float("nan")))
    print("lag_max_ms=%.1f" % max(lags, default=float("nan")))
    print("words=%d" % len(lags))
    return 0 if lags else 1


if __name__ == "__main__":
    sys.exit(main())
