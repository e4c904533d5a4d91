#!/usr/bin/python3
"""What scripts/setup would do on machines with other sound systems than this one.

Each case is a copy of this machine's dpkg database with the sound packages changed as a user's
machine has them (a Debian 12 GNOME desktop's PipeWire, a plain PulseAudio machine, a machine
with neither), less whatever on this machine needs the packages taken away (a desktop brings
some), so that apt accepts the copy; `scripts/setup --simulate` then plans against it and apt
simulates the plan.
Nothing is installed. Exits 77 (skipped) when apt has no package lists to plan with.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SETUP = os.path.join(TOP, "scripts", "setup")
SOUND = ["pulseaudio", "pipewire", "pipewire-bin", "pipewire-pulse", "pipewire-alsa",
         "pipewire-audio", "wireplumber"]
CONFLICTING = {"pulseaudio": ["pipewire-audio", "pipewire-alsa"]}
# Fields of an archive's index that dpkg refuses in its own status file.
ARCHIVE_ONLY = re.compile(r"^(Filename|Size|MD5sum|SHA1|SHA256|SHA512|Description-md5): .*\n",
                          re.M)


def stanzas(text):
    return [s for s in text.strip("\n").split("\n\n") if s.strip()]


def name_of(stanza):
    return re.search(r"^Package: (\S+)", stanza, re.M).group(1)


def field_names(stanza, field):
    """The package names a relation field lists, as groups of alternatives."""
    found = re.search(r"^%s: (.*)$" % field, stanza, re.M)
    if not found:
        return []
    return [[alternative.split()[0].split(":")[0] for alternative in group.split("|")]
            for group in found.group(1).split(",") if group.strip()]


def needing_nothing_missing(packages):
    """packages less every one whose dependencies are no longer all there, over and over."""
    while True:
        there = set(packages)
        for stanza in packages.values():
            there.update(name for group in field_names(stanza, "Provides") for name in group)
        broken = [name for name, stanza in packages.items()
                  if any(not set(group) & there for field in ("Depends", "Pre-Depends")
                         for group in field_names(stanza, field))]
        if not broken:
            return packages
        for name in broken:
            del packages[name]


class Machine:
    """A dpkg database of its own, starting as this machine's less every sound package."""

    def __init__(self, root, name, without=()):
        self.dir = os.path.join(root, name)
        os.makedirs(os.path.join(self.dir, "updates"))
        os.makedirs(os.path.join(self.dir, "info"))
        with open("/var/lib/dpkg/status") as status:
            self.packages = {name_of(s): s for s in stanzas(status.read())}
        for name in SOUND + list(without):
            self.packages.pop(name, None)
        self.packages = needing_nothing_missing(self.packages)
        self.write()

    @property
    def status(self):
        return os.path.join(self.dir, "status")

    def write(self):
        with open(self.status, "w") as status:
            status.write("\n\n".join(self.packages.values()) + "\n")

    def install(self, *names):
        """Marks as installed what apt would install for names, as it would resolve them."""
        planned = apt(["-s", "-o", "Dir::State::status=" + self.status, "install",
                       "--no-install-recommends"] + list(names))
        chosen = ["%s=%s" % (name.split(":")[0], version)
                  for name, version in re.findall(r"^Inst (\S+) \((\S+)", planned, re.M)]
        seen = set()
        for stanza in stanzas(apt_cache(["show", "--no-all-versions"] + chosen)):
            name = name_of(stanza)
            if name in seen:
                continue
            seen.add(name)
            stanza = ARCHIVE_ONLY.sub("", stanza + "\n").rstrip("\n")
            self.packages[name] = re.sub(r"^Package: .*$", r"\g<0>\nStatus: install ok installed",
                                         stanza, count=1, flags=re.M)
        self.write()

    def installed(self, name):
        return name in self.packages and "Status: install ok installed" in self.packages[name]

    def setup(self, sets, desktop=False):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        if desktop:
            env["WAYLAND_DISPLAY"] = "wayland-0"
        done = subprocess.run([SETUP, "--simulate", self.dir] + sets, env=env,
                              capture_output=True, text=True)
        return done


def apt(args):
    return subprocess.run(["apt-get"] + args, capture_output=True, text=True, check=True).stdout


def apt_cache(args):
    return subprocess.run(["apt-cache"] + args, capture_output=True, text=True,
                          check=True).stdout


def planned(done):
    first = done.stdout.splitlines()[0] if done.stdout else ""
    return set(first[len("would install:"):].split())


def removed(done):
    return re.findall(r"^Remv (\S+)", done.stdout, re.M)


class Checks:
    def __init__(self):
        self.failed = 0
        self.passed = 0

    def expect(self, ok, what, seen):
        if ok:
            self.passed += 1
            print("ok   %s" % what)
        else:
            self.failed += 1
            print("FAIL %s: %s" % (what, seen))


def run_case(checks, machine, label, sets, must, must_not, desktop=False):
    done = machine.setup(sets, desktop)
    plan = planned(done)
    checks.expect(done.returncode == 0, "%s: apt can carry out the plan for %s" % (label, sets),
                  done.stdout[-1500:] + done.stderr[-1500:])
    checks.expect(not removed(done), "%s: nothing removed" % label, removed(done))
    checks.expect(set(must) <= plan, "%s: installs %s" % (label, must), sorted(plan))
    checks.expect(not (set(must_not) & plan), "%s: never installs %s" % (label, must_not),
                  sorted(plan & set(must_not)))
    for package, conflicts in CONFLICTING.items():
        if package in plan:
            had = [c for c in conflicts if machine.installed(c)]
            checks.expect(not had, "%s: %s only where nothing conflicts" % (label, package), had)


def main():
    if not os.path.isdir("/var/lib/apt/lists") or not any(
            "_Packages" in name for name in os.listdir("/var/lib/apt/lists")):
        print("skipped: apt has no package lists (run apt-get update)")
        return 77
    root = tempfile.mkdtemp(prefix="quorvel-setup-")
    checks = Checks()
    try:
        gnome = Machine(root, "pipewire-desktop")
        gnome.install("pipewire-audio")
        # Without --no-remove apt would take the user's PipeWire away for pulseaudio.
        forced = subprocess.run(["apt-get", "-s", "-o", "Dir::State::status=" + gnome.status,
                                 "install", "--no-remove", "pulseaudio"],
                                capture_output=True, text=True)
        checks.expect(forced.returncode != 0 and "remove is disabled" in forced.stderr,
                      "apt refuses pulseaudio beside pipewire-audio when removing is disabled",
                      forced.stdout[-500:] + forced.stderr[-500:])
        run_case(checks, gnome, "PipeWire desktop", ["build", "run"], [], ["pulseaudio", "xvfb"],
                 desktop=True)
        run_case(checks, gnome, "PipeWire desktop", ["build", "run", "test"], [], ["pulseaudio"])

        plain = Machine(root, "pulseaudio-machine")
        plain.install("pulseaudio")
        run_case(checks, plain, "PulseAudio machine", ["build", "run", "test"], [],
                 ["pipewire", "pipewire-pulse", "wireplumber"])

        bare = Machine(root, "no-sound-server", without=["xvfb", "xauth"])
        run_case(checks, bare, "no sound server", ["run"], ["pulseaudio", "xvfb"],
                 ["pipewire-pulse"])
        run_case(checks, bare, "no sound server", ["build", "run", "test"],
                 ["pulseaudio", "pipewire", "wireplumber", "pipewire-pulse"],
                 ["pipewire-alsa", "pipewire-audio"])
    finally:
        shutil.rmtree(root, ignore_errors=True)
    print("%d passed, %d failed" % (checks.passed, checks.failed))
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
