#!/usr/bin/python3
"""Runs one real-session scenario against the quorvel program.

    /usr/bin/python3 tests/e2e/run.py <scenario> --app-dir build/bin --out build/e2e \
        [--desktop xvfb|sway|xwayland] [--audio pulseaudio|pipewire]

Starts a private session (a display, D-Bus and accessibility bus, an audio server with a null
sink, a recorder), runs the program from a fresh copy of the application folder, drives it with
real key and mouse events and checks what is seen and heard. On failure the screenshot, the
recording and the logs stay in <out>/<scenario>[-<desktop>][-<audio>]/. Exits 77 (skipped)
when the machine lacks the programs that session needs. sway will not run as root, so a root
runner carries on as the unprivileged user nobody, from copies in a folder nobody can read.
"""

import argparse
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from check import Failure, Figures  # noqa: E402
from scenarios import SCENARIOS, Stage  # noqa: E402
from session import AUDIO_SERVERS, DESKTOPS, Session, default_audio, missing_programs  # noqa

PR_SET_PDEATHSIG = 1
SKIPPED = 77
NOBODY = 65534


class OutOfTime(Exception):
    pass


def _out_of_time(signum, frame):
    raise OutOfTime("the scenario ran out of its time budget")


def _terminated(signum, frame):
    raise SystemExit("terminated by signal %d" % signum)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("--app-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--budget", type=int, default=150,
                        help="seconds before the scenario is stopped and cleaned up")
    parser.add_argument("--desktop", choices=DESKTOPS, default="xvfb")
    parser.add_argument("--audio", choices=AUDIO_SERVERS,
                        help="the audio server (default: the kind this machine has)")
    parser.add_argument("--screen", default="1280x1024", help="the X screen's size (Xvfb)")
    parser.add_argument("--scale-factor", help="QT_SCALE_FACTOR for the program")
    args = parser.parse_args()
    audio = args.audio or default_audio()

    missing = missing_programs(args.desktop, audio)
    if missing:
        print("SKIPPED %s: this machine has no %s" % (args.scenario, ", ".join(missing)))
        return SKIPPED
    label = args.scenario + "".join("-" + kind for kind, plain in
                                    ((args.desktop, "xvfb"), (audio, default_audio()),
                                     (args.screen, "1280x1024"),
                                     ("x" + (args.scale_factor or "1"), "x1"))
                                    if kind != plain)
    out_dir = os.path.join(os.path.abspath(args.out), label)
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir, exist_ok=True)
    if args.desktop != "xvfb" and os.geteuid() == 0:
        # Xwayland makes its socket in the machine's X socket folder, which must let it.
        os.makedirs("/tmp/.X11-unix", exist_ok=True)
        os.chmod("/tmp/.X11-unix", 0o1777)
        return as_nobody(args, audio, out_dir)
    app_dir = os.path.abspath(args.app_dir)
    if not os.access(os.path.join(app_dir, "quorvel"), os.X_OK):
        print("FAIL %s: no quorvel program in %s" % (args.scenario, app_dir))
        return 1

    signal.signal(signal.SIGTERM, _terminated)
    signal.signal(signal.SIGINT, _terminated)
    signal.signal(signal.SIGALRM, _out_of_time)
    signal.alarm(args.budget)

    started = time.monotonic()
    session = Session(out_dir, args.desktop, audio, args.screen, args.scale_factor)
    failed = True
    try:
        session.start()
        stage = Stage(session, app_dir, out_dir, Figures(os.path.join(out_dir, "figures.txt")))
        failed = run_apart(SCENARIOS[args.scenario], stage) != 0
    except BaseException as error:  # noqa: B902 - whatever happened, clean up below
        print("ERROR %s: %s" % (args.scenario, error))
        traceback.print_exc(file=sys.stdout)
    finally:
        signal.alarm(0)
        screen = os.path.join(out_dir, "screen.png")
        if failed and not os.path.exists(screen):
            session.screenshot(screen)
        session.stop()
        keep_evidence(out_dir, failed)
        left = session.marked_pids()
        if left:
            print("FAIL %s: processes left behind: %s" % (args.scenario, left))
            failed = True
    print("%s %s in %.1f s%s" % ("FAILED" if failed else "PASSED", args.scenario,
                                  time.monotonic() - started,
                                  "; evidence in " + out_dir if failed else ""))
    return 1 if failed else 0


def as_nobody(args, audio, out_dir):
    """Runs this scenario again as nobody, from copies of the suite and the application folder
    that nobody can read (the checkout may sit in a folder only root may enter), and brings the
    evidence back into out_dir."""
    staging = tempfile.mkdtemp(prefix="quorvel-e2e-nobody-")
    try:
        suite = os.path.join(staging, "e2e")
        shutil.copytree(os.path.dirname(os.path.abspath(__file__)), suite,
                        ignore=shutil.ignore_patterns("__pycache__"))
        shutil.copytree(os.path.abspath(args.app_dir), os.path.join(staging, "app"))
        os.makedirs(os.path.join(staging, "out"))
        for folder, folders, files in os.walk(staging):
            os.chown(folder, NOBODY, NOBODY)
            for name in files:
                os.chown(os.path.join(folder, name), NOBODY, NOBODY)
        os.chmod(staging, 0o755)
        argv = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups",
                sys.executable, os.path.join(suite, "run.py"), args.scenario,
                "--app-dir", os.path.join(staging, "app"), "--out", os.path.join(staging, "out"),
                "--budget", str(args.budget), "--desktop", args.desktop, "--audio", audio]
        sys.stdout.flush()
        status = subprocess.call(argv, cwd=staging)
        evidence = os.path.join(staging, "out", os.path.basename(out_dir))
        if os.path.isdir(evidence):
            shutil.copytree(evidence, out_dir, dirs_exist_ok=True)
        return status
    finally:
        shutil.rmtree(staging, ignore_errors=True)


def run_apart(scenario, stage):
    """Runs the scenario in a child process, so that even a fatal abort inside a library
    leaves this process to take the screenshot and stop the session. Returns its status."""
    sys.stdout.flush()
    child = os.fork()
    if child == 0:
        os._exit(run_here(scenario, stage))
    try:
        _, status = os.waitpid(child, 0)
    except BaseException:
        os.kill(child, signal.SIGKILL)
        os.waitpid(child, 0)
        raise
    if os.WIFSIGNALED(status):
        print("ERROR: the scenario died of signal %d" % os.WTERMSIG(status))
        return 1
    return os.WEXITSTATUS(status)


def run_here(scenario, stage):
    for number in (signal.SIGTERM, signal.SIGINT):
        signal.signal(number, signal.SIG_DFL)
    # Should the runner itself be killed outright, the scenario goes with it.
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)
    status = 1
    try:
        scenario(stage)
        status = 0
    except Failure as failure:
        print("FAIL %s: %s" % (scenario.__name__, failure))
    except BaseException as error:  # noqa: B902 - reported, then the parent cleans up
        print("ERROR %s: %s" % (scenario.__name__, error))
        traceback.print_exc(file=sys.stdout)
    finally:
        if status:
            stage.session.screenshot(os.path.join(stage.out_dir, "screen.png"))
        for program in stage.programs:
            program.stop()
        sys.stdout.flush()
    return status


def keep_evidence(out_dir, failed):
    """A passing scenario keeps its logs and figures only; a failing one keeps everything."""
    if failed:
        return
    for name in os.listdir(out_dir):
        path = os.path.join(out_dir, name)
        if os.path.isdir(path):
            shutil.rmtree(path, ignore_errors=True)
        elif name.endswith((".wav", ".raw", ".png")):
            os.remove(path)


if __name__ == "__main__":
    sys.exit(main())
