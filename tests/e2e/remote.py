"""The performer's side of the remote answer: the address the program prints, plain HTTP
requests, the program's listening sockets, and a real Chromium driven through chromedriver's
WebDriver protocol (plain HTTP from urllib)."""

import base64
import json
import os
import socket
import urllib.error
import urllib.parse
import urllib.request

from check import expect
from polling import wait_until
from processes import stop_process

PREFIX = "remote: "


def address(session, timeout=30):
    """The page's address the program printed on a line of its own."""
    log = os.path.join(session.out_dir, "quorvel.log")

    def printed():
        if not os.path.exists(log):
            return None
        with open(log, encoding="utf-8", errors="replace") as lines:
            found = [line[len(PREFIX):].strip() for line in lines if line.startswith(PREFIX)]
        return found[-1] if found else None

    return wait_until(printed, timeout)


def program_output(session):
    with open(os.path.join(session.out_dir, "quorvel.log"), encoding="utf-8",
              errors="replace") as log:
        return log.read()


def with_token(page_address, path, token=None):
    """The same server's `path`, with the page's token unless another one is given."""
    parts = urllib.parse.urlsplit(page_address)
    given = urllib.parse.parse_qs(parts.query)["t"][0] if token is None else token
    query = "" if given == "" else "t=" + given
    return urllib.parse.urlunsplit((parts.scheme, parts.netloc, path, query, ""))


def request(url, body=None, timeout=10):
    """(status, body) of one request; a body makes it a text/plain POST."""
    headers = {"Content-Type": "text/plain; charset=utf-8"} if body is not None else {}
    ask = urllib.request.Request(url, data=body, headers=headers,
                                 method="POST" if body is not None else "GET")
    try:
        with urllib.request.urlopen(ask, timeout=timeout) as reply:
            return reply.status, reply.read()
    except urllib.error.HTTPError as error:
        return error.code, error.read()


def listening_ports(pid):
    """TCP ports the process listens on, from its sockets in /proc."""
    inodes = set()
    fd_dir = "/proc/%d/fd" % pid
    for fd in os.listdir(fd_dir):
        try:
            target = os.readlink(os.path.join(fd_dir, fd))
        except OSError:
            continue
        if target.startswith("socket:["):
            inodes.add(target[len("socket:["):-1])
    ports = set()
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        if not os.path.exists(table):
            continue
        with open(table) as rows:
            next(rows)
            for row in rows:
                fields = row.split()
                if fields[3] == "0A" and fields[9] in inodes:
                    ports.add(int(fields[1].rsplit(":", 1)[1], 16))
    return sorted(ports)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Browser:
    """Headless Chromium on a phone-sized screen, through chromedriver."""

    def __init__(self, session, profile_dir, width=390, height=844):
        self.session = session
        os.makedirs(profile_dir)
        port = free_port()
        self.base = "http://127.0.0.1:%d" % port
        self.driver = session.spawn_program(
            "chromedriver", ["chromedriver", "--port=%d" % port], extra_env={}, cwd=profile_dir)
        wait_until(self._ready, 20, what="chromedriver to be ready")
        options = {
            "binary": "/usr/bin/chromium",
            "args": ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--user-data-dir=" + profile_dir],
            "mobileEmulation": {"deviceMetrics": {"width": width, "height": height,
                                                  "pixelRatio": 2.0}},
        }
        created = self._call("POST", "/session", {
            "capabilities": {"alwaysMatch": {"goog:chromeOptions": options}}})
        self.id = created["sessionId"]

    def _ready(self):
        try:
            return self._call("GET", "/status")["ready"]
        except OSError:
            return False

    def _call(self, method, path, payload=None):
        data = json.dumps(payload).encode() if payload is not None else None
        ask = urllib.request.Request(self.base + path, data=data, method=method,
                                     headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(ask, timeout=60) as reply:
                return json.load(reply)["value"]
        except urllib.error.HTTPError as error:
            raise RuntimeError("WebDriver %s %s: %s" % (method, path, error.read()[:500]))

    def _session(self, method, path, payload=None):
        return self._call(method, "/session/%s%s" % (self.id, path), payload)

    def open(self, url):
        self._session("POST", "/url", {"url": url})

    def element(self, css):
        found = self._session("POST", "/element", {"using": "css selector", "value": css})
        # W3C names the key "element-6066-..."; the older protocol "ELEMENT".
        return next(iter(found.values()))

    def type_into(self, css, text):
        self._session("POST", "/element/%s/value" % self.element(css), {"text": text})

    def click(self, css):
        self._session("POST", "/element/%s/click" % self.element(css), {})

    def text(self, css):
        return self._session("GET", "/element/%s/text" % self.element(css))

    def script(self, source, *args):
        """Runs `source` as a function body in the page; its return value."""
        return self._session("POST", "/execute/sync", {"script": source, "args": list(args)})

    def screenshot(self, path):
        with open(path, "wb") as png:
            png.write(base64.b64decode(self._session("GET", "/screenshot")))

    def close(self):
        try:
            self._call("DELETE", "/session/%s" % self.id)
        except (OSError, RuntimeError):
            pass
        stop_process(self.driver)


def status_reaches(browser, wanted, timeout):
    seen = wait_until(lambda: browser.text("#status"), timeout, interval=0.3,
                      accept=lambda text: text == wanted)
    expect(seen == wanted, 'the page\'s status "%s"' % wanted, repr(seen))
