#!/usr/bin/python3
"""Runs one real-session scenario against the quorvel program.

    /usr/bin/python3 tests/e2e/run.py <scenario> --app-dir build/bin --out build/e2e

Starts a private session (X, D-Bus and accessibility bus, PulseAudio with a null sink, a
recorder), runs the program from a fresh copy of the application folder, drives it with real
key and mouse events and checks what is seen and heard. On failure the screenshot, the
recording and the logs stay in <out>/<scenario>/.
"""

import argparse
import os
import shutil
import signal
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from check import Failure, Figures  # noqa: E402
from scenarios import SCENARIOS, Stage  # noqa: E402
from session import Session  # noqa: E402


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
    args = parser.parse_args()

    out_dir = os.path.join(os.path.abspath(args.out), args.scenario)
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir)
    app_dir = os.path.abspath(args.app_dir)
    if not os.access(os.path.join(app_dir, "quorvel"), os.X_OK):
        print("FAIL %s: no quorvel program in %s" % (args.scenario, app_dir))
        return 1

    signal.signal(signal.SIGTERM, _terminated)
    signal.signal(signal.SIGINT, _terminated)
    signal.signal(signal.SIGALRM, _out_of_time)
    signal.alarm(args.budget)

    started = time.monotonic()
    session = Session(out_dir)
    stage = None
    failed = True
    try:
        session.start()
        stage = Stage(session, app_dir, out_dir, Figures(os.path.join(out_dir, "figures.txt")))
        SCENARIOS[args.scenario](stage)
        failed = False
    except Failure as failure:
        print("FAIL %s: %s" % (args.scenario, failure))
    except BaseException as error:  # noqa: B902 - a crash of the test must still clean up
        print("ERROR %s: %s" % (args.scenario, error))
        traceback.print_exc(file=sys.stdout)
    finally:
        signal.alarm(0)
        if failed:
            session.screenshot(os.path.join(out_dir, "screen.png"))
        if stage:
            for program in stage.programs:
                program.stop()
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
