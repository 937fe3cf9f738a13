#!/usr/bin/env python3
"""scripts/run, however it is ended (a TERM signal, Ctrl+C, or the tutor quitting), leaves nothing of
itself running: no tutor, no stand-in service, no Wine process of its prefix and no X server it
started. Each case starts it anew, as someone trying it three times in a row would.

Runs the programs already built in build/windows (scripts/run --no-build) on a private X screen;
scripts/test runs it after the Windows suite."""

import os
import re
import signal
import subprocess
import sys
import time

from script_support import (HERE, TIMEOUT, Command, Failure, alive, check, descendants, processes,
                            run, stop_wine_session, wait_for, wine_processes)

STANDIN_PID = os.path.join(HERE, "build", "run", "standin", "pid")
PRIVATE_SCREEN = re.compile(r"running on a private Xvfb screen :(\d+)")


def read_pid(path):
    try:
        with open(path) as f:
            return int(f.read().split()[0])
    except (OSError, ValueError, IndexError):
        return None


class Run(Command):
    """One scripts/run, the leader of its own process group as a shell job in a terminal is."""

    def __init__(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WINEPREFIX", "VYK_API_KEY", "OPENAI_API_KEY", "VYK_BACKEND_URL")}
        self.started = time.monotonic()
        super().__init__([os.path.join(HERE, "scripts", "run"), "--no-build"], env, cwd=HERE,
                         start_new_session=True)

    def screen(self):
        def found():
            if self.process.poll() is not None:
                raise Failure("scripts/run ended with %d before starting the tutor: %r"
                              % (self.process.returncode, self.lines))
            matches = [PRIVATE_SCREEN.search(line) for line in list(self.lines)]
            return next((":" + m.group(1) for m in matches if m), None)
        return wait_for("scripts/run to name its X screen", found, TIMEOUT)

    def wait_tutor_window(self, display):
        def found():
            if self.process.poll() is not None:
                raise Failure("scripts/run ended with %d before the tutor showed its window: %r"
                              % (self.process.returncode, self.lines))
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tavisk$"],
                                    env=dict(os.environ, DISPLAY=display), capture_output=True,
                                    text=True, timeout=60)
            return result.stdout.split()
        wait_for("the tutor window", found, TIMEOUT)
        return time.monotonic() - self.started

    def wait_exit(self):
        try:
            return self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure("scripts/run did not end: %r" % self.lines[-10:])

    def kill(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait(timeout=60)


def send_term(script, display):
    os.kill(script.process.pid, signal.SIGTERM)
    return 143


def press_ctrl_c(script, display):
    # A terminal's Ctrl+C signals the whole foreground process group.
    os.killpg(script.process.pid, signal.SIGINT)
    return 130


def quit_the_tutor(script, display):
    subprocess.run(["xdotool", "key", "ctrl+alt+x"], env=dict(os.environ, DISPLAY=display),
                   timeout=60, check=True)
    return 0


def check_leaves_nothing(end):
    script = Run()
    started = set()
    try:
        display = script.screen()
        seconds = script.wait_tutor_window(display)
        print("  the tutor window appeared %.1f s after the start" % seconds, flush=True)
        started = descendants(script.process.pid) | set(wine_processes())
        table = processes()
        check(any(table[pid][1].startswith("Xvfb") for pid in started if pid in table),
              "no X server among the processes of the run")
        standin = read_pid(STANDIN_PID)
        check(standin is not None and alive(standin), "no stand-in service running for the run")
        started.add(standin)
        expected = end(script, display)
        code = script.wait_exit()
        check(code == expected, "scripts/run ended with %d, expected %d" % (code, expected))
        wait_for("every process of the run to end",
                 lambda: not [pid for pid in started if alive(pid)] and not wine_processes(), timeout=60)
    except Failure as error:
        table = processes()
        left = {pid: table[pid][1] for pid in started if pid in table}
        left.update(wine_processes())
        raise Failure("%s; still running: %r" % (error, left))
    finally:
        script.kill()
        stop_leftovers()


def stop_leftovers():
    """Ends the prefix's Wine session and the run's stand-in, if any are running."""
    stop_wine_session()
    subprocess.run([sys.executable, os.path.join(HERE, "tools", "standin.py"), "stop", "--state-dir",
                    os.path.dirname(STANDIN_PID)], capture_output=True, timeout=60)


def a_term_signal_leaves_nothing():
    check_leaves_nothing(send_term)


def ctrl_c_leaves_nothing():
    check_leaves_nothing(press_ctrl_c)


def quitting_the_tutor_leaves_nothing():
    check_leaves_nothing(quit_the_tutor)


def main():
    # A terminal's shell starts scripts/run with Ctrl+C's signal in effect. A test started in the
    # background (CI, nohup) inherits it ignored, and a shell started with a signal ignored cannot trap
    # it: undo that, or the Ctrl+C case would test something no terminal does.
    if signal.getsignal(signal.SIGINT) == signal.SIG_IGN:
        signal.signal(signal.SIGINT, signal.default_int_handler)
    # Whatever session the prefix has (the suite's) is scripts/run's to replace; start from none.
    stop_leftovers()
    run([a_term_signal_leaves_nothing, ctrl_c_leaves_nothing, quitting_the_tutor_leaves_nothing])


if __name__ == "__main__":
    main()
