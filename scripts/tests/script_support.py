"""Helpers of the script tests (scripts/tests/*_test.py): a script run with its output collected,
and the processes of the project's Wine prefix (build/wineprefix). Waiting, checking and reporting
are the end-to-end helpers'."""

import os
import subprocess
import sys
import threading

HERE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(HERE, "panel", "tests"))
from e2e_support import Failure, check, run, wait_for  # noqa: E402,F401

PREFIX = os.path.join(HERE, "build", "wineprefix")
PROBE = os.path.join(HERE, "build", "windows", "window-probe.exe")
SERVER = "/usr/lib/wine/wineserver"
TIMEOUT = 180.0


class Command:
    """A script started with its output (standard output and error) collected line by line."""

    def __init__(self, args, env, **options):
        self.process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **options)
        self.lines = []
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.process.stdout:
            self.lines.append(raw.decode("utf-8", "replace").rstrip("\n"))


def alive(pid):
    """Running, not merely waiting to be reaped."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def processes():
    """{pid: (parent pid, command line, environment)} of every running process."""
    found = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                cmdline = f.read().replace(b"\0", b" ").decode("utf-8", "replace").strip()
            with open("/proc/%s/environ" % entry, "rb") as f:
                environ = f.read().split(b"\0")
        except OSError:
            continue
        if fields[0] != "Z":
            found[int(entry)] = (int(fields[1]), cmdline, environ)
    return found


def wine_processes():
    """{pid: command line} of every running Wine process of the prefix: its server, the desktop, the
    programs."""
    marker = ("WINEPREFIX=" + PREFIX).encode()
    return {pid: cmd for pid, (_, cmd, env) in processes().items()
            if marker in env and (cmd.startswith("/usr/lib/wine/") or ".exe" in cmd.lower())}


def desktops():
    """Process ids of the prefix's desktop processes (explorer.exe /desktop)."""
    return sorted(pid for pid, cmd in wine_processes().items() if "explorer.exe" in cmd.lower())


def descendants(root):
    table = processes()
    found, frontier = set(), {root}
    while frontier:
        children = {pid for pid, (parent, _, _) in table.items() if parent in frontier} - found
        found |= children
        frontier = children
    return found


def stop_wine_session():
    env = dict(os.environ, WINEPREFIX=PREFIX)
    subprocess.run([SERVER, "-k"], env=env, capture_output=True, timeout=60)
    subprocess.run([SERVER, "-w"], env=env, capture_output=True, timeout=60)
