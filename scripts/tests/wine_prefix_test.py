#!/usr/bin/env python3
"""scripts/wine-prefix with the window probe: a Wine session whose desktop cannot make windows is
replaced by a new one, the desktop that works is held for the programs that follow, and a display
that never works ends in a clear failure that names it.

Uses the prefix and the probe scripts/test has just built, on X screens of its own; scripts/test runs
it after the Windows suite."""

import os
import subprocess

from script_support import (HERE, PREFIX, PROBE, TIMEOUT, Command, check, desktops, run,
                            stop_wine_session, wait_for, wine_processes)

WINE_PREFIX_SCRIPT = os.path.join(HERE, "scripts", "wine-prefix")
WINE_EXEC = os.path.join(HERE, "scripts", "wine-exec")
RETRY_LINE = "wine-prefix: starting the Wine session again"


def free_display():
    """A display number no X server uses (socket file, lock file or abstract socket)."""
    with open("/proc/net/unix") as f:
        sockets = f.read()
    for number in range(180, 200):
        if not os.path.exists("/tmp/.X11-unix/X%d" % number) and \
                not os.path.exists("/tmp/.X%d-lock" % number) and \
                "@/tmp/.X11-unix/X%d\n" % number not in sockets:
            return ":%d" % number
    raise RuntimeError("no free X display number between 180 and 199")


class WinePrefix(Command):
    """One scripts/wine-prefix run on the given display."""

    def __init__(self, display):
        super().__init__([WINE_PREFIX_SCRIPT, PROBE], dict(os.environ, DISPLAY=display, WINEPREFIX=PREFIX))

    def wait_line(self, text):
        def seen():
            check(self.process.poll() is None or text in self.lines,
                  "wine-prefix ended with %s before saying %r: %r"
                  % (self.process.returncode, text, self.lines))
            return text in self.lines
        wait_for("wine-prefix to say %r" % text, seen, TIMEOUT)

    def wait_exit(self):
        code = self.process.wait(timeout=600)
        self.reader.join(timeout=10)
        return code


def probe_on(display):
    env = dict(os.environ, DISPLAY=display, WINEPREFIX=PREFIX)
    return subprocess.run([WINE_EXEC, PROBE], env=env, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=TIMEOUT).returncode


def a_display_that_comes_up_late_gets_a_new_session_and_one_held_desktop():
    display = free_display()
    xvfb = None
    try:
        script = WinePrefix(display)
        script.wait_line(RETRY_LINE)  # the first session had no X server to draw on
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        code = script.wait_exit()
        check(code == 0, "wine-prefix ended with %d: %r" % (code, script.lines))
        held = desktops()
        check(len(held) == 1, "desktops after the start: %r" % held)
        for attempt in (1, 2):
            check(probe_on(display) == 0, "program %d could not make windows" % attempt)
        check(desktops() == held, "the desktop changed between programs: %r, then %r"
              % (held, desktops()))
    finally:
        stop_wine_session()
        if xvfb:
            xvfb.terminate()
            xvfb.wait(timeout=60)


def a_display_without_x_server_fails_and_names_it():
    display = free_display()
    try:
        script = WinePrefix(display)
        code = script.wait_exit()
        check(code == 1, "wine-prefix ended with %d: %r" % (code, script.lines))
        check(script.lines.count(RETRY_LINE) == 2, "not three sessions: %r" % script.lines)
        expected = "wine-prefix: no Wine session on %s could make windows; is that X server running?" \
            % display
        check(script.lines[-1] == expected, "last line %r" % script.lines[-1:])
        wait_for("the failed sessions to end", lambda: not wine_processes(), 60)
    finally:
        stop_wine_session()


def main():
    stop_wine_session()
    run([a_display_that_comes_up_late_gets_a_new_session_and_one_held_desktop,
         a_display_without_x_server_fails_and_names_it])


if __name__ == "__main__":
    main()
