"""A private desktop session: a display (Xvfb alone, Xvfb with a window manager that focuses
new windows, or a headless Wayland compositor), D-Bus with the accessibility bus, an audio server
(PulseAudio, or PipeWire with WirePlumber and its PulseAudio server) with a null sink, and a
recorder on that sink's monitor.

Every process started here carries a marker in its environment, naming the runner that
started it, so that the clean-up can find and stop the ones that detached themselves (the
accessibility bus daemons do) by their ids, and a later run can stop what a runner killed
outright had to leave behind.
"""

import os
import re
import signal
import shutil
import subprocess
import tempfile
import uuid

from audio import Recording
from desktop import GnomeDesktop, KWinDesktop, SwayDesktop, X11Desktop
from polling import wait_until

MARKER = "QUORVEL_E2E_SESSION"
SINK = "quorvel_null"


class SessionError(RuntimeError):
    pass


def _wait_for(predicate, timeout, what):
    # Asked often: each service's start waits on the one before.
    wait_until(predicate, timeout, interval=0.05, what=what)


# xvfb: X11 with no window manager; sway: native Wayland; xwayland: an X11 client under sway,
# which like most window managers activates every new window; gnome and gnome-xwayland: the
# same under gnome-shell, and under KWin.
DESKTOPS = ("xvfb", "sway", "xwayland", "gnome", "gnome-xwayland", "kwin", "kwin-xwayland")
FAKE_INPUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_input.c")
FAKE_INPUT_PROTOCOL = "/usr/share/plasma-wayland-protocols/fake-input.xml"
KWIN_NEEDS = ["kwin_wayland", "wayland-scanner", "cc", FAKE_INPUT_PROTOCOL,
              "/usr/include/wayland-client.h"]
AUDIO_SERVERS = ("pulseaudio", "pipewire")
# What each kind needs on the machine; a session whose programs are missing is skipped.
NEEDS = {
    "xvfb": ["Xvfb", "xdotool"],
    "sway": ["sway", "swaymsg", "wtype", "grim"],
    "xwayland": ["sway", "swaymsg", "wtype", "grim", "Xwayland"],
    "gnome": ["gnome-shell"],
    "gnome-xwayland": ["gnome-shell", "Xwayland"],
    "kwin": KWIN_NEEDS,
    "kwin-xwayland": KWIN_NEEDS + ["Xwayland"],
    "pulseaudio": ["pulseaudio", "pactl", "pacat", "parec"],
    "pipewire": ["pipewire", "wireplumber", "pipewire-pulse", "pactl", "pacat", "parec"],
}


def missing_programs(desktop, audio):
    return [name for name in NEEDS[desktop] + NEEDS[audio]
            if not (os.path.exists(name) if name.startswith("/") else shutil.which(name))]


def default_audio():
    """The kind of server this machine has: PulseAudio where it is there, else PipeWire."""
    return "pulseaudio" if shutil.which("pulseaudio") else "pipewire"


class Session:
    def __init__(self, out_dir, desktop="xvfb", audio="pulseaudio", screen="1280x1024",
                 scale_factor=None):
        self.out_dir = out_dir
        # "1920x1080+1920x1080" is two monitors side by side on one X screen, a laptop and a TV:
        # each is a screen to Qt, and one can be unplugged during the show.
        sizes = [tuple(int(v) for v in size.split("x")) for size in screen.split("+")]
        self.monitors = [(sum(w for w, _ in sizes[:i]), 0, w, h) for i, (w, h) in enumerate(sizes)]
        self.screen = "%dx%d" % (sum(w for w, _ in sizes), max(h for _, h in sizes))
        # Qt's own scale factor for the program, as a 2x laptop's desktop sets it.
        self.scale_factor = scale_factor
        self.desktop_kind = desktop
        self.audio_kind = audio
        self.desktop = None
        self.id = "%d:%s" % (os.getpid(), uuid.uuid4().hex)
        self.root = tempfile.mkdtemp(prefix="quorvel-e2e-")
        self.procs = []
        self.env = None
        self.recording = None
        self.display = None

    # -- start ------------------------------------------------------------------------------

    def start(self):
        stop_orphans()
        self.env = self._base_env()
        self._start_dbus()
        if self.desktop_kind == "xvfb":
            self._start_x()
            self.desktop = X11Desktop(self)
        elif self.desktop_kind.startswith("gnome"):
            self.desktop = self._start_gnome(xwayland=self.desktop_kind == "gnome-xwayland")
        elif self.desktop_kind.startswith("kwin"):
            self.desktop = self._start_kwin(xwayland=self.desktop_kind == "kwin-xwayland")
        else:
            self._start_sway(xwayland=self.desktop_kind == "xwayland")
            self.desktop = SwayDesktop(self, "xcb" if self.desktop_kind == "xwayland" else
                                       "wayland")
        self._start_accessibility()
        self._start_sound(keepalive=True)
        # The test itself talks to the display and the accessibility bus.
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "DBUS_SESSION_BUS_ADDRESS",
                     "XDG_RUNTIME_DIR"):
            if name in self.env:
                os.environ[name] = self.env[name]
        return self

    def _base_env(self):
        inherited = ("QT_", "PULSE_", "DBUS_", "DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_")
        env = {k: v for k, v in os.environ.items() if not k.startswith(inherited)}
        runtime = os.path.join(self.root, "runtime")
        home = os.path.join(self.root, "home")
        for folder in (runtime, home):
            os.makedirs(folder, mode=0o700)
        env.update({
            MARKER: self.id,
            "HOME": home,
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        return env

    def _spawn(self, name, argv, env=None, **kwargs):
        log = open(os.path.join(self.out_dir, "%s.log" % name), "ab")
        proc = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL, stdout=log,
                                stderr=log, **kwargs)
        proc.log = log
        self.procs.append(proc)
        return proc

    def _start_x(self):
        read_end, write_end = os.pipe()
        self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen + "x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,))
        os.close(write_end)
        # Xvfb writes the number and a newline once it listens; should it die first, the pipe
        # ends empty.
        with os.fdopen(read_end, "rb") as report:
            number = report.readline()
        if not number.strip():
            raise SessionError("Xvfb did not report a display number")
        self.display = ":" + number.decode().strip()
        self.env["DISPLAY"] = self.display
        _wait_for(lambda: self.run(["xdotool", "getdisplaygeometry"]).returncode == 0,
                  20, "the X display " + self.display)
        if len(self.monitors) > 1:
            for i, (x, y, w, h) in enumerate(self.monitors):
                # About 96 dpi; the first monitor is the primary one.
                self._xrandr("--setmonitor", "%sM%d" % ("*" if i == 0 else "", i),
                             "%d/%dx%d/%d+%d+%d" % (w, w * 254 // 960, h, h * 254 // 960, x, y),
                             "none")

    def _xrandr(self, *argv):
        if self.run(["xrandr"] + list(argv)).returncode != 0:
            raise SessionError("xrandr %s failed" % " ".join(argv))

    def unplug(self, monitor):
        """Takes monitor number `monitor` (from 0) away, as a TV's cable pulled out."""
        self._xrandr("--delmonitor", "M%d" % monitor)

    def start_audio(self, keepalive=True):
        """The audio server and its recorder alone, with a D-Bus session for PipeWire."""
        stop_orphans()
        self.env = self._base_env()
        self._start_dbus()
        return self._start_sound(keepalive)

    def _start_sound(self, keepalive):
        if self.audio_kind == "pipewire":
            self._start_pipewire()
        else:
            self._start_pulseaudio()
        if keepalive:
            self._start_keepalive()
        self.recording = self._start_recorder()
        return self.recording

    def _start_sway(self, xwayland):
        # Headless, with no input devices of its own: keys come from wtype's virtual keyboard.
        config = os.path.join(self.root, "sway.conf")
        with open(config, "w") as conf:
            conf.write("output HEADLESS-1 resolution 1280x1024\nxwayland %s\n"
                       % ("force" if xwayland else "disable"))
        runtime = self.env["XDG_RUNTIME_DIR"]
        env = dict(self.env, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                   WLR_RENDERER="pixman")
        sway = self._spawn("sway", ["sway", "-c", config], env=env)
        sockets = lambda prefix: [n for n in os.listdir(runtime)  # noqa: E731
                                  if n.startswith(prefix) and not n.endswith(".lock")]
        _wait_for(lambda: sockets("wayland-") and sockets("sway-ipc."), 20, "the compositor")
        self.env["WAYLAND_DISPLAY"] = sockets("wayland-")[0]
        self.env["SWAYSOCK"] = os.path.join(runtime, sockets("sway-ipc.")[0])
        _wait_for(lambda: self.run(["swaymsg", "-t", "get_outputs"]).returncode == 0, 20,
                  "the compositor's outputs")
        if xwayland:
            _wait_for(lambda: self._xwayland_display(sway.pid), 20, "Xwayland")
            self.display = self._xwayland_display(sway.pid)
            self.env["DISPLAY"] = self.display

    def _start_gnome(self, xwayland):
        # The shell dies at start without a system bus; a private one stands in for it.
        system_bus = "unix:path=" + os.path.join(self.env["XDG_RUNTIME_DIR"], "system_bus")
        self._spawn("system-bus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                   "--address=" + system_bus])
        self.env["DBUS_SYSTEM_BUS_ADDRESS"] = system_bus
        _wait_for(lambda: os.path.exists(system_bus[len("unix:path="):]), 10, "a system bus")
        name = "wayland-quorvel"
        self._spawn("gnome-shell", ["gnome-shell", "--wayland", "--headless", "--unsafe-mode",
                                    "--virtual-monitor", "1280x1024", "--wayland-display", name]
                    + ([] if xwayland else ["--no-x11"]))
        self.env["WAYLAND_DISPLAY"] = name
        desktop = GnomeDesktop(self, "xcb" if xwayland else "wayland")
        _wait_for(desktop.ready, 60, "GNOME Shell")
        # It starts in the overview.
        desktop.start()
        if xwayland:
            # The shell's Xwayland lets in only holders of its own cookie.
            for name in ("DISPLAY", "XAUTHORITY"):
                self.env[name] = desktop.eval("imports.gi.GLib.getenv('%s')" % name)
            self.display = self.env["DISPLAY"]
        return desktop

    def _start_kwin(self, xwayland):
        # The packaged program carries a file capability that an unprivileged container will
        # not run; a copy carries none.
        kwin = os.path.join(self.root, "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), kwin)
        name = "wayland-quorvel"
        env = dict(self.env, KWIN_WAYLAND_NO_PERMISSION_CHECKS="1",
                   KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1",
                   QT_LOGGING_RULES="kwin_scripting.debug=true")
        compositor = self._spawn("kwin", [kwin, "--virtual", "--width", "1280", "--height",
                                          "1024", "--socket", name, "--no-lockscreen",
                                          "--no-kactivities"] + (["--xwayland"] if xwayland
                                                                 else []), env=env)
        self.env["WAYLAND_DISPLAY"] = name
        desktop = KWinDesktop(self, "xcb" if xwayland else "wayland", self._build_fake_input(),
                              os.path.join(self.out_dir, "kwin.log"))
        _wait_for(desktop.ready, 60, "KWin")
        if xwayland:
            _wait_for(lambda: self._xwayland_display(compositor.pid), 20, "Xwayland")
            self.display = self._xwayland_display(compositor.pid)
            self.env["DISPLAY"] = self.display
        return desktop

    def _build_fake_input(self):
        for kind, name in (("client-header", "fake-input-client-protocol.h"),
                           ("private-code", "fake-input-protocol.c")):
            self.run(["wayland-scanner", kind, FAKE_INPUT_PROTOCOL, os.path.join(self.root, name)],
                     check=True)
        program = os.path.join(self.root, "fake_input")
        self.run(["cc", "-O1", "-I", self.root, "-o", program, FAKE_INPUT,
                  os.path.join(self.root, "fake-input-protocol.c"), "-lwayland-client"],
                 check=True)
        return program

    @staticmethod
    def _xwayland_display(compositor):
        """The X display whose lock file the compositor holds."""
        for name in os.listdir("/tmp"):
            match = re.fullmatch(r"\.X(\d+)-lock", name)
            if not match or not os.path.exists("/tmp/.X11-unix/X" + match.group(1)):
                continue
            try:
                with open(os.path.join("/tmp", name)) as lock:
                    if int(lock.read().strip(" \n\0") or 0) == compositor:
                        return ":" + match.group(1)
            except (OSError, ValueError):
                continue
        return None

    def _start_dbus(self):
        address = "unix:path=" + os.path.join(self.env["XDG_RUNTIME_DIR"], "bus")
        self._spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                             "--address=" + address])
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        _wait_for(lambda: os.path.exists(address[len("unix:path="):]), 10, "the D-Bus session bus")

    def _start_accessibility(self):
        self._spawn("at-spi-bus", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        _wait_for(self._accessibility_bus_ready, 15, "the accessibility bus")
        self._spawn("at-spi-registry", ["/usr/libexec/at-spi2-registryd"])

    def _accessibility_bus_ready(self):
        # Asking org.a11y.Bus itself before the launcher owns the name would start a second
        # launcher through bus activation.
        owned = self._dbus_call("--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                                "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus")
        if "boolean true" not in owned:
            return False
        return "unix:" in self._dbus_call("--dest=org.a11y.Bus", "/org/a11y/bus",
                                          "org.a11y.Bus.GetAddress")

    def _dbus_call(self, *args):
        done = self.run(["dbus-send", "--session", "--print-reply"] + list(args))
        return done.stdout if done.returncode == 0 else ""

    def _pulse_client_env(self):
        runtime = os.path.join(self.env["XDG_RUNTIME_DIR"], "pulse")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        socket = os.path.join(runtime, "native")
        client_conf = os.path.join(self.root, "client.conf")
        with open(client_conf, "w") as conf:
            conf.write("autospawn = no\ndefault-server = unix:%s\n" % socket)
        self.env.update({
            "PULSE_RUNTIME_PATH": runtime,
            "PULSE_STATE_PATH": os.path.join(self.root, "pulse-state"),
            "PULSE_CLIENTCONFIG": client_conf,
            "PULSE_SERVER": "unix:" + socket,
        })
        return socket

    def _start_pipewire(self):
        self._pulse_client_env()
        self._spawn("pipewire", ["pipewire"])
        _wait_for(lambda: os.path.exists(os.path.join(self.env["XDG_RUNTIME_DIR"],
                                                      "pipewire-0")), 20, "the PipeWire server")
        self._spawn("wireplumber", ["wireplumber"])
        self._spawn("pipewire-pulse", ["pipewire-pulse"])
        _wait_for(lambda: self.run(["pactl", "info"]).returncode == 0, 20,
                  "PipeWire's PulseAudio server")
        self.run(["pactl", "load-module", "module-null-sink", "sink_name=%s" % SINK,
                  "rate=44100", "channels=2"], check=True)
        # The sink is listed a moment before the session manager lets it be the default.
        _wait_for(self._null_sink_is_default, 20, "the null sink as the default output")

    def _null_sink_is_default(self):
        self.run(["pactl", "set-default-sink", SINK])
        return self.run(["pactl", "get-default-sink"]).stdout.strip() == SINK

    def _start_pulseaudio(self):
        socket = self._pulse_client_env()
        self._spawn("pulseaudio", [
            "pulseaudio", "--daemonize=no", "--system=false", "--exit-idle-time=-1",
            "--disallow-exit", "--use-pid-file=false", "--disable-shm=true",
            "--log-target=stderr", "-n",
            "--load=module-null-sink sink_name=%s rate=44100 channels=2" % SINK,
            "--load=module-native-protocol-unix auth-anonymous=1 socket=%s" % socket,
            "--load=module-always-sink",
        ])
        _wait_for(lambda: self.run(["pactl", "info"]).returncode == 0, 20,
                  "the PulseAudio server")
        self.run(["pactl", "set-default-sink", SINK], check=True)

    def _start_keepalive(self):
        # Without a stream already playing, a new stream into the null sink stalls for ~2 s.
        self._spawn("keepalive", ["pacat", "--playback", "--device=" + SINK, "--latency-msec=20",
                                  "--format=s16le", "--rate=44100", "--channels=2", "/dev/zero"])

    def _start_recorder(self):
        raw = os.path.join(self.out_dir, "recording.raw")
        proc = self._spawn("parec", ["parec", "--device=%s.monitor" % SINK, "--format=s16le",
                                     "--rate=44100", "--channels=2", "--latency-msec=20",
                                     "--raw", raw])
        recording = Recording(raw, proc)
        # A new recorder drops its first seconds: wait until samples really flow.
        _wait_for(lambda: recording.seconds() > 0.5, 20, "the recorder's first samples")
        return recording

    # -- running programs -------------------------------------------------------------------

    def spawn_program(self, name, argv, extra_env, cwd):
        env = dict(self.env, **extra_env)
        if self.scale_factor:
            env["QT_SCALE_FACTOR"] = self.scale_factor
        return self._spawn(name, argv, env=env, cwd=cwd)

    def run(self, argv, **kwargs):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, **kwargs)

    def screenshot(self, path):
        if self.desktop:
            self.desktop.screenshot(path)

    # -- stop -------------------------------------------------------------------------------

    def stop(self):
        if self.recording:
            self.recording.finish()
        for proc in reversed(self.procs):
            self._stop(proc)
        self._stop_stragglers()
        for proc in self.procs:
            proc.log.close()
        shutil.rmtree(self.root, ignore_errors=True)

    @staticmethod
    def _stop(proc):
        if proc.poll() is not None:
            return
        proc.terminate()
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(timeout=5)

    def _stop_stragglers(self):
        for attempt_signal in (signal.SIGTERM, signal.SIGKILL):
            pids = self.marked_pids()
            if not pids:
                return
            for pid in pids:
                try:
                    os.kill(pid, attempt_signal)
                except ProcessLookupError:
                    pass
            wait_until(lambda: not self.marked_pids(), 3, interval=0.05)

    def marked_pids(self):
        return [pid for pid, marker in marked_processes() if marker == self.id]


def marked_processes():
    """(pid, marker) of every live process that a session of this suite started."""
    prefix = ("%s=" % MARKER).encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as environ:
                variables = environ.read().split(b"\0")
        except OSError:
            continue
        for variable in variables:
            if variable.startswith(prefix) and not _is_zombie(int(entry)):
                found.append((int(entry), variable[len(prefix):].decode()))
    return found


def stop_orphans():
    """Stops what sessions of runners that no longer exist left behind."""
    for pid, marker in marked_processes():
        runner = int(marker.split(":", 1)[0])
        if _alive(runner):
            continue
        print("stopping process %d left behind by an earlier run" % pid)
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass


def _alive(pid):
    return os.path.exists("/proc/%d" % pid) and not _is_zombie(pid)


def _is_zombie(pid):
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] == "Z"
    except OSError:
        return True
