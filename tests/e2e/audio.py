"""What was heard: the null sink's monitor recorded by parec as raw s16le, 44100 Hz, stereo.

Times are seconds from the first recorded sample. The recorder runs in real time, so the
recording's current length is "now" on that time axis; marks taken with now() line events up
with the sound they caused to within a few tens of milliseconds.
"""

import math
import os
import subprocess
import wave
from array import array

from polling import found, wait_until
from processes import stop_process

RATE = 44100
CHANNELS = 2
FRAME_BYTES = 2 * CHANNELS
WINDOW = 0.02  # seconds per level reading
AUDIBLE_DBFS = -45.0
# Speech pauses between words and phrases; a quieter stretch shorter than this joins the
# sounds around it.
JOIN_GAP = 0.35
ONSET_JOIN_GAP = 0.08
POOL = 5  # windows pooled when telling one sound from another heard with it

_WINDOW_BYTES = int(RATE * WINDOW) * FRAME_BYTES


def dbfs(samples):
    if not samples:
        return -math.inf
    energy = sum(map(int.__mul__, samples, samples)) / len(samples)
    return 10 * math.log10(energy / (32768.0 * 32768.0)) if energy else -math.inf


class Recording:
    def __init__(self, raw_path, proc):
        self.raw_path = raw_path
        self.proc = proc
        self._levels = []
        self._read_bytes = 0

    def seconds(self):
        try:
            return os.path.getsize(self.raw_path) / (RATE * FRAME_BYTES)
        except OSError:
            return 0.0

    now = seconds

    def levels(self):
        """One dBFS reading per WINDOW from the start, brought up to date."""
        size = os.path.getsize(self.raw_path) if os.path.exists(self.raw_path) else 0
        whole = (size - self._read_bytes) // _WINDOW_BYTES * _WINDOW_BYTES
        if whole > 0:
            with open(self.raw_path, "rb") as raw:
                raw.seek(self._read_bytes)
                data = raw.read(whole)
            self._read_bytes += len(data)
            samples = array("h")
            samples.frombytes(data)
            step = _WINDOW_BYTES // 2
            for i in range(0, len(samples), step):
                self._levels.append(dbfs(samples[i:i + step]))
        return self._levels

    def segments(self, start=0.0, end=None, threshold=AUDIBLE_DBFS, join_gap=JOIN_GAP):
        """Runs of sound as (start, end) pairs, gaps shorter than join_gap joined."""
        return _runs(self.levels(), start, end, threshold, join_gap)

    def locate(self, reference, after, end=None):
        """Where a known sound starts at or after `after`: the offset at which the recording's
        levels follow the reference's first seconds most closely, or None if nowhere does."""
        levels = self.levels()
        span = min(len(reference.levels), int(2.0 / WINDOW))
        last = (len(levels) if end is None else min(len(levels), _index(end))) - span
        best, best_offset = None, None
        for offset in range(_index(after), last + 1):
            if levels[offset] < AUDIBLE_DBFS:
                continue
            misfit = sum(abs(_floor(levels[offset + i]) - _floor(reference.levels[i]))
                         for i in range(span)) / span
            if best is None or misfit < best:
                best, best_offset = misfit, offset
        if best is None or best > 3.0:
            return None
        return best_offset * WINDOW

    def besides(self, reference, at, start, end=None, threshold=AUDIBLE_DBFS):
        """Runs of sound within [start, end) that the known sound playing from `at` does not
        explain: what was heard over it, such as speech over the start-up sound. Levels are
        pooled over POOL windows, as the two line up only to within a window."""
        levels = self.levels()
        first = _index(at)
        rest = []
        for i in range(0, len(levels) - POOL + 1, POOL):
            heard = sum(10 ** (lv / 10) for lv in levels[i:i + POOL] if lv != -math.inf)
            known = sum(reference.energy(j - first) for j in range(i, i + POOL))
            left = heard - known if heard > 2 * known else 0.0
            rest.extend([10 * math.log10(left / POOL) if left > 0 else -math.inf] * POOL)
        return _runs(rest, start, end, threshold, JOIN_GAP)

    def audible_besides(self, reference, at, start, end):
        return sum(b - a for a, b in self.besides(reference, at, start, end))

    def audible(self, start, end, threshold=AUDIBLE_DBFS):
        """Seconds of sound within [start, end)."""
        levels = self.levels()[_index(start):_index(end)]
        return sum(WINDOW for lv in levels if lv >= threshold)

    def onset(self, after, end=None, threshold=AUDIBLE_DBFS):
        """Start of the first sound at or after `after` that lasts at least 0.1 s, or None.
        Gaps are hardly joined here, so that a key click just before speech stays apart."""
        for start, stop in self.segments(after, end, threshold, join_gap=ONSET_JOIN_GAP):
            if stop - start >= 0.1:
                return start
        return None

    def wait_for_time(self, moment, slack=10):
        """Until the recording reaches `moment`. It grows in real time, so more than `slack`
        seconds late means the recorder stalled."""
        wait_until(lambda: self.now() >= moment, moment - self.now() + slack, interval=0.1,
                   what="the recording to reach %.2f s" % moment)

    def wait_for_sound(self, after, timeout):
        return wait_until(lambda: self.onset(after), timeout, interval=0.1, accept=found)

    def wait_for_silence(self, after, quiet, timeout):
        """Time at which a stretch of `quiet` seconds without sound began, after `after`."""
        def silent_since():
            now = self.now()
            runs = self.segments(after, now)
            since = runs[-1][1] if runs else after
            return since if now - since >= quiet else None

        return wait_until(silent_since, timeout, interval=0.1, accept=found)

    def describe(self, start, end):
        runs = self.segments(start, end)
        shown = ", ".join("%.2f-%.2f" % run for run in runs[:12]) or "none"
        more = " (+%d more)" % (len(runs) - 12) if len(runs) > 12 else ""
        return "sound between %.2f and %.2f s: %s%s" % (start, end, shown, more)

    def finish(self, wav_path=None):
        """Stops the recorder and keeps the recording as a WAV file next to the raw one."""
        stop_process(self.proc)
        if not os.path.exists(self.raw_path):
            return None
        wav_path = wav_path or os.path.splitext(self.raw_path)[0] + ".wav"
        done = subprocess.run(["sox", "-t", "raw", "-r", str(RATE), "-e", "signed", "-b", "16",
                               "-c", str(CHANNELS), self.raw_path, wav_path],
                              capture_output=True)
        if done.returncode == 0:
            os.remove(self.raw_path)
            return wav_path
        return None


class Reference:
    """The level envelope of a sound file the program plays, to recognise it when heard."""

    def __init__(self, wav_path):
        with wave.open(wav_path) as sound:
            channels = sound.getnchannels()
            step = int(sound.getframerate() * WINDOW) * channels
            samples = array("h")
            samples.frombytes(sound.readframes(sound.getnframes()))
        self.levels = [dbfs(samples[i:i + step]) for i in range(0, len(samples), step)]
        self.duration = len(self.levels) * WINDOW

    def energy(self, index):
        if 0 <= index < len(self.levels) and self.levels[index] != -math.inf:
            return 10 ** (self.levels[index] / 10)
        return 0.0


def _runs(levels, start, end, threshold, join_gap):
    last = len(levels) if end is None else min(len(levels), _index(end))
    runs = []
    for i in range(_index(start), last):
        if levels[i] < threshold:
            continue
        t = i * WINDOW
        if runs and t - runs[-1][1] <= join_gap:
            runs[-1][1] = t + WINDOW
        else:
            runs.append([t, t + WINDOW])
    return [tuple(run) for run in runs]


def _floor(level):
    return max(level, -90.0)


def _index(t):
    return max(0, int(round(t / WINDOW)))
