"""The quorvel program under test, run from a fresh copy of the application folder."""

import os
import shutil
import subprocess

import accessibility as a11y
from polling import wait_until
from processes import stop_process

TICKS = os.sysconf("SC_CLK_TCK")


class Program:
    def __init__(self, session, app_dir, work_dir, settings=None, args=()):
        self.session = session
        self.args = list(args)
        self.folder = os.path.join(work_dir, "app")
        shutil.rmtree(self.folder, ignore_errors=True)
        shutil.copytree(app_dir, self.folder)
        if os.path.exists(self.settings_path):
            os.remove(self.settings_path)
        if settings is not None:
            with open(self.settings_path, "w") as ini:
                ini.write(settings)
        self.proc = None
        self.started_at = None
        self._app = None

    @property
    def settings_path(self):
        return os.path.join(self.folder, "oraculo.ini")

    def settings_lines(self):
        with open(self.settings_path, encoding="latin-1") as ini:
            return [line.rstrip("\r\n") for line in ini]

    def start(self):
        self.started_at = self.session.recording.now()
        self.proc = self.session.spawn_program(
            "quorvel", [os.path.join(self.folder, "quorvel")] + self.args,
            extra_env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                       "QT_QPA_PLATFORM": self.session.desktop.qt_platform},
            cwd=self.folder)
        return self

    @property
    def pid(self):
        return self.proc.pid

    def alive(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    # -- the window system -----------------------------------------------------------------

    def main_window(self, timeout=30):
        """The window system's id of the main window, once it is mapped; None should the
        program end first."""
        return wait_until(lambda: self.session.desktop.main_window(self.pid, "Quorvel,."),
                          timeout, accept=lambda window: window or not self.alive())

    def window_title(self, window):
        return self.session.desktop.window_title(window)

    def window_geometry(self, window):
        """Screen position and size of a window's client area."""
        return self.session.desktop.window_geometry(window)

    # -- accessibility ----------------------------------------------------------------------

    def accessible(self, timeout=20):
        if self._app is None:
            self._app = a11y.application(self.pid, timeout)
        return self._app

    def petition_box(self, timeout=10):
        def look():
            app = self.accessible()
            return a11y.petition_box(app) if app else None

        return wait_until(look, timeout)

    def text1(self):
        return a11y.text(self.petition_box())

    # -- resources --------------------------------------------------------------------------

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.pid) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS

    def rss_kib(self):
        with open("/proc/%d/status" % self.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

    def stop(self):
        if self.proc is not None and self.alive():
            stop_process(self.proc)
