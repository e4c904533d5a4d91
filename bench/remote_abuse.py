#!/usr/bin/python3
"""Abuse of the remote answer's server, on loopback only, with figures: the oracle's memory
(resident, and its peak) and open files under each abuse, and whether the phone's requests
still pass. Starts the program itself (offscreen, no sound needed):

    bench/remote_abuse.py build/bin/quorvel [--port 18765]

Prints key=value lines. Every loop is bounded; nothing is sent to any address but 127.0.0.1
and ::1.
"""

import argparse
import base64
import os
import resource
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from polling import wait_until  # noqa: E402

LOOPBACK = "127.0.0.1"


def report(key, value):
    print("%s=%s" % (key, value), flush=True)


class Oracle:
    def __init__(self, binary, port):
        self.port = port
        self.home = tempfile.mkdtemp(prefix="quorvel-abuse-")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=self.home)
        self.log = open(os.path.join(self.home, "out.log"), "w+")
        # The usual limit of open files, whatever this script allows itself.
        self.process = subprocess.Popen(
            [binary, "--remote", "--remote-port", str(port)], stdout=self.log,
            stderr=subprocess.DEVNULL, env=env,
            preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_NOFILE, (1024, 4096)))
        self.token = wait_until(self._printed_token, 20)
        if self.token is None:
            raise SystemExit("the program printed no address")
        time.sleep(1.0)

    def _printed_token(self):
        self.log.seek(0)
        tokens = [line.strip().split("t=")[1] for line in self.log
                  if line.startswith("remote: ") and "t=" in line]
        return tokens[-1] if tokens else None

    def status(self, key):
        with open("/proc/%d/status" % self.process.pid) as lines:
            for line in lines:
                if line.startswith(key + ":"):
                    return int(line.split()[1])
        return 0

    def rss_mib(self):
        return self.status("VmRSS") / 1024.0

    def open_files(self):
        return len(os.listdir("/proc/%d/fd" % self.process.pid))

    def alive(self):
        return self.process.poll() is None

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.home, ignore_errors=True)


def exchange(port, data, host=LOOPBACK, timeout=3.0, half_close=False, source=None):
    """The raw reply to `data` sent on a fresh connection (from `source` when given), until the
    server closes or goes quiet."""
    family = socket.AF_INET6 if ":" in host else socket.AF_INET
    with socket.socket(family, socket.SOCK_STREAM) as s:
        s.settimeout(timeout)
        try:
            if source:
                s.bind((source, 0))
            s.connect((host, port))
            s.sendall(data)
            if half_close:
                s.shutdown(socket.SHUT_WR)
            reply = b""
            while True:
                got = s.recv(65536)
                if not got:
                    break
                reply += got
                if b"Connection: close" not in reply and complete(reply):
                    break
        except OSError:
            return reply if "reply" in locals() else b""
        return reply


def complete(reply):
    head, sep, body = reply.partition(b"\r\n\r\n")
    if not sep:
        return False
    for line in head.split(b"\r\n"):
        if line.lower().startswith(b"content-length:"):
            return len(body) >= int(line.split(b":")[1])
    return False


def code(reply):
    try:
        return int(reply.split(b" ", 2)[1])
    except (IndexError, ValueError):
        return 0


def legit(oracle, host=LOOPBACK, source="127.0.0.2"):
    """The phone's status request, from an address of its own: its code."""
    name = "[%s]" % host if ":" in host else host
    request = "GET /status?t=%s HTTP/1.1\r\nHost: %s:%d\r\n\r\n" % (oracle.token, name,
                                                                   oracle.port)
    return code(exchange(oracle.port, request.encode(), host=host,
                         source=None if ":" in host else source))


def watch_memory(oracle, seconds, work):
    """Runs `work` in a thread, sampling the oracle's memory; (peak RSS growth MiB, the phone's
    status code in the middle, most open files)."""
    idle = oracle.rss_mib()
    peak, files = idle, oracle.open_files()
    thread = threading.Thread(target=work, daemon=True)
    thread.start()
    middle = None
    start = time.monotonic()
    while time.monotonic() - start < seconds:
        time.sleep(0.1)
        if not oracle.alive():
            break
        peak = max(peak, oracle.rss_mib())
        files = max(files, oracle.open_files())
        if middle is None and time.monotonic() - start > seconds / 2:
            middle = legit(oracle)
    thread.join(seconds)
    return peak - idle, middle, files


def huge_bodies(oracle, connections=5, seconds=6):
    """Connections announcing 200 MB answers without a token, sending as fast as they can."""
    chunk = b"a" * 65536

    def one():
        try:
            with socket.create_connection((LOOPBACK, oracle.port), timeout=2) as s:
                s.sendall(b"POST /answer HTTP/1.1\r\nHost: %s\r\nContent-Length: 209715200\r\n"
                          b"\r\n" % LOOPBACK.encode())
                end = time.monotonic() + seconds
                sent = 0
                while time.monotonic() < end and sent < 209715200:
                    sent += s.send(chunk)
                time.sleep(max(0, end - time.monotonic()))
        except OSError:
            pass

    def work():
        threads = [threading.Thread(target=one, daemon=True) for _ in range(connections)]
        for t in threads:
            t.start()
        for t in threads:
            t.join(seconds + 5)

    return watch_memory(oracle, seconds, work)


def huge_header(oracle, seconds=6):
    """One header line of up to 100 MB."""
    outcome = {}

    def work():
        try:
            with socket.create_connection((LOOPBACK, oracle.port), timeout=2) as s:
                s.sendall(b"GET / HTTP/1.1\r\nHost: %s\r\nX-Big: " % LOOPBACK.encode())
                chunk = b"a" * 65536
                sent = 0
                end = time.monotonic() + seconds
                while sent < 100 * 1024 * 1024 and time.monotonic() < end:
                    sent += s.send(chunk)
                s.sendall(b"\r\n\r\n")
                outcome["sent_mib"] = sent / 1048576.0
                outcome["code"] = code(s.recv(4096))
        except OSError as error:
            outcome.setdefault("error", str(error))

    growth, middle, files = watch_memory(oracle, seconds, work)
    return growth, middle, files, outcome


def silent_connections(oracle, count=1050, hold=8):
    """Many connections that never send a byte: the oracle's open files while they are open
    and `hold` seconds later, and whether the phone gets through."""
    sockets = []
    for _ in range(count):
        try:
            s = socket.socket()
            s.setblocking(False)
            s.connect_ex((LOOPBACK, oracle.port))
            sockets.append(s)
        except OSError:
            break
    time.sleep(1.0)
    during = legit(oracle)
    files = oracle.open_files()
    time.sleep(hold)
    # The oracle's own files tell what it still holds; the client's side of a connection the
    # listening queue never took looks open too.
    still = oracle.open_files()
    after = legit(oracle)
    for s in sockets:
        s.close()
    return len(sockets), during, files, still, after


def slow_request(oracle, seconds=15):
    """One header byte a second: how long the server lets it go on (the cap when it never
    stops it)."""
    request = b"GET /status HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + b"a" * 100
    with socket.create_connection((LOOPBACK, oracle.port), timeout=2) as s:
        s.settimeout(1.0)
        start = time.monotonic()
        for byte in request:
            if time.monotonic() - start > seconds:
                break
            try:
                s.send(bytes([byte]))
                s.recv(4096)
                break
            except socket.timeout:
                continue
            except OSError:
                break
        return time.monotonic() - start


def aliases(oracle, count=249, each=8):
    """`each` wrong-token requests from each of `count` loopback addresses, within about a
    second: how many were looked at (403) rather than held back (429)."""
    looked = limited = 0
    for alias in range(1, count + 1):
        # The phone's own address is left out.
        source = "127.0.0.%d" % (alias if alias < 2 else alias + 1)
        for _ in range(each):
            with socket.socket() as s:
                s.settimeout(2)
                try:
                    s.bind((source, 0))
                    s.connect((LOOPBACK, oracle.port))
                    s.sendall(b"GET /status?t=guess HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                              b"Connection: close\r\n\r\n")
                    status = code(s.recv(4096))
                except OSError:
                    status = 0
            looked += status == 403
            limited += status == 429
    return looked, limited


MASK = b"\0\0\0\0"  # a client's frames are masked; this key leaves them as they are
CLOSE_FRAME = b"\x88\x80" + MASK


def push_open(oracle, source=None, timeout=3.0):
    """A push channel opened with the token: the socket, and whether its first message came."""
    s = socket.socket()
    s.settimeout(timeout)
    reply = b""
    try:
        if source:
            s.bind((source, 0))
        s.connect((LOOPBACK, oracle.port))
        s.sendall(b"GET /push?t=%s HTTP/1.1\r\nHost: %s:%d\r\nUpgrade: websocket\r\n"
                  b"Connection: Upgrade\r\nSec-WebSocket-Key: %s\r\n"
                  b"Sec-WebSocket-Version: 13\r\n\r\n"
                  % (oracle.token.encode(), LOOPBACK.encode(), oracle.port,
                     base64.b64encode(os.urandom(16))))
        while b'"state"' not in reply:
            got = s.recv(4096)
            if not got:
                break
            reply += got
    except OSError:
        pass
    return s, reply.startswith(b"HTTP/1.1 101") and b'"state"' in reply, code(reply)


def frames_unread(oracle, frame, seconds=5):
    """A push client that sends `frame` as fast as it can and never reads: the oracle's peak
    memory growth, and how long the server let it go on."""
    outcome = {}

    def work():
        # Out of the last abuse's second: the phone's address is rate-limited too.
        time.sleep(1.1)
        s, opened, _ = push_open(oracle)
        outcome["opened"] = opened
        start = time.monotonic()
        while time.monotonic() - start < seconds:
            try:
                s.send(frame * 1000)
            except socket.timeout:
                continue
            except OSError:
                break
        outcome["dropped_after_s"] = time.monotonic() - start
        s.close()

    growth, middle, files = watch_memory(oracle, seconds + 2, work)
    return growth, middle, outcome


def reconnects(oracle, count):
    """The phone's push channel opened and ended `count` times from one address, by a close
    frame and by a plain close in turn, at the rate the server allows one client: how many were
    served, the codes of those that were not (0: no reply), and the oracle's memory and open
    files before and after."""
    time.sleep(1.5)
    before = (oracle.rss_mib(), oracle.open_files())
    served = 0
    others = []
    for i in range(count):
        start = time.monotonic()
        s, opened, status = push_open(oracle, source="127.0.0.3")
        served += opened
        if not opened:
            others.append(status)
        if i % 2 == 0:
            try:
                s.sendall(CLOSE_FRAME)
                s.recv(4096)
            except OSError:
                pass
        s.close()
        time.sleep(max(0, start + 0.14 - time.monotonic()))
    time.sleep(1.5)
    return served, others, before, (oracle.rss_mib(), oracle.open_files())


def crowd(oracle, addresses=100, most=1100, seconds=10):
    """Silent connections from `addresses` loopback addresses, reconnecting as fast as they
    can and never more than `most` open: (peak memory growth, the phone's status in the
    middle, most open files)."""
    def work():
        held = []
        end = time.monotonic() + seconds
        i = 0
        while time.monotonic() < end:
            s = socket.socket()
            s.setblocking(False)
            try:
                s.bind(("127.0.1.%d" % (1 + i % addresses), 0))
                s.connect_ex((LOOPBACK, oracle.port))
            except OSError:
                s.close()
                continue
            held.append(s)
            i += 1
            if len(held) > most:
                held.pop(0).close()
        for s in held:
            s.close()

    return watch_memory(oracle, seconds, work)


def http_behaviour(oracle):
    t = oracle.token
    host = "Host: 127.0.0.1:%d\r\n" % oracle.port
    rows = {}
    reply = exchange(oracle.port, ("GET /status?t=%s HTTP/1.1\r\n%sConnection: close\r\n\r\n"
                                   % (t, host)).encode(), timeout=3)
    rows["connection_close_closes"] = b"Connection: close" in reply
    start = time.monotonic()
    reply = exchange(oracle.port, ("GET /status?t=%s HTTP/1.0\r\n\r\n" % t).encode(), timeout=3)
    rows["http10_closes_s"] = round(time.monotonic() - start, 2)
    reply = exchange(oracle.port, ("GET /status?t=%s HTTP/1.1\r\n%s\r\n" % (t, host)).encode(),
                     half_close=True)
    rows["half_close_reply"] = code(reply)
    reply = exchange(oracle.port, ("HEAD /status?t=%s HTTP/1.1\r\n%s\r\n" % (t, host)).encode(),
                     timeout=2)
    rows["head"] = code(reply)
    with socket.create_connection((LOOPBACK, oracle.port), timeout=2) as s:
        s.sendall(("POST /answer?t=%s HTTP/1.1\r\n%sContent-Length: 3\r\nExpect: 100-continue"
                   "\r\n\r\n" % (t, host)).encode())
        try:
            rows["expect_100"] = code(s.recv(4096))
        except socket.timeout:
            rows["expect_100"] = "none"
    reply = exchange(oracle.port, ("POST /answer?t=%s HTTP/1.1\r\n%sContent-Length: 3\r\n"
                                   "Content-Length: 3\r\n\r\nsim" % (t, host)).encode())
    rows["duplicate_length"] = code(reply)
    reply = exchange(oracle.port, ("GET /status?t=%s HTTP/1.1\r\nHost: evil.example\r\n\r\n"
                                   % t).encode())
    rows["foreign_host"] = code(reply)
    body = "\u200b\u200e\u202e".encode()
    reply = exchange(oracle.port, ("POST /answer?t=%s HTTP/1.1\r\n%sContent-Length: %d\r\n\r\n"
                                   % (t, host, len(body))).encode() + body)
    rows["zero_width_answer"] = code(reply)
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("binary")
    parser.add_argument("--port", type=int, default=18765)
    parser.add_argument("--reconnects", type=int, default=1000)
    args = parser.parse_args()
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, 4096), hard))

    oracle = Oracle(args.binary, args.port)
    try:
        report("idle_rss_mib", "%.1f" % oracle.rss_mib())
        for key, value in http_behaviour(oracle).items():
            report("http_" + key, value)
        growth, middle, files = huge_bodies(oracle)
        report("huge_bodies_rss_growth_mib", "%.1f" % growth)
        report("huge_bodies_phone_status", middle)
        growth, middle, files, outcome = huge_header(oracle)
        report("huge_header_rss_growth_mib", "%.1f" % growth)
        report("huge_header_sent_mib", "%.1f" % outcome.get("sent_mib", 0))
        report("huge_header_status", outcome.get("code", outcome.get("error")))
        report("slow_request_closed_after_s", "%.1f" % slow_request(oracle))
        opened, during, files, still, after = silent_connections(oracle)
        report("silent_opened", opened)
        report("silent_oracle_open_files", files)
        report("silent_phone_status_during", during)
        report("silent_oracle_open_files_after_9s", still)
        report("silent_phone_status_after", after)
        time.sleep(1.5)
        looked, limited = aliases(oracle)
        report("aliases_guesses_looked_at", looked)
        report("aliases_guesses_limited", limited)
        report("aliases_phone_status", legit(oracle))
        report("ipv6_phone_status", legit(oracle, "::1"))
        for name, frame in (("ping_flood", b"\x89\x80" + MASK),
                            ("continuation_flood", b"\x80\x80" + MASK),
                            ("data_flood", b"\x81\x83" + MASK + b"sim")):
            growth, middle, outcome = frames_unread(oracle, frame)
            report(name + "_opened", outcome.get("opened"))
            report(name + "_rss_growth_mib", "%.1f" % growth)
            report(name + "_dropped_after_s", "%.2f" % outcome.get("dropped_after_s", -1))
            report(name + "_phone_status", middle)
        growth, middle, files = crowd(oracle)
        report("crowd_rss_growth_mib", "%.1f" % growth)
        report("crowd_phone_status", middle)
        report("crowd_oracle_open_files", files)
        growth, middle, files = crowd(oracle, addresses=6, most=64, seconds=4)
        report("six_neighbours_phone_status", middle)
        served, others, before, after = reconnects(oracle, args.reconnects)
        report("reconnects_served", "%d of %d" % (served, args.reconnects))
        report("reconnects_not_served_codes", sorted(others))
        report("reconnects_rss_mib_before_after", "%.1f %.1f" % (before[0], after[0]))
        report("reconnects_open_files_before_after", "%d %d" % (before[1], after[1]))
        report("reconnects_phone_status", legit(oracle))
        report("peak_rss_mib", "%.1f" % (oracle.status("VmHWM") / 1024.0))
        report("final_rss_mib", "%.1f" % oracle.rss_mib())
        report("alive", oracle.alive())
    finally:
        oracle.stop()


if __name__ == "__main__":
    sys.exit(main())
