"""Ending a child process politely, then firmly."""

import subprocess


def stop_process(proc, grace=5):
    if proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
