#!/usr/bin/env python3
"""Hands-free scanning on the running development program under Wine: in stealth mode with a 5 s
interval, a screen that changes and settles is scanned exactly once, and a screen that stays as it
was is not scanned again."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panel", "tests"))
import e2e_support as e2e  # noqa: E402

STARTED = "[vyk] dev: query started"
COLLECTED = "[vyk] dev: reply collected"
# A rescan of an unchanged screen could come at the earliest one interval (5 s) after the last scan
# ended, on the next one-second tick. Watching for twice that long shows that none comes; this is a
# bounded wait for something that must not happen, not a wait for a condition.
QUIET_SECONDS = 10.0


class ColourWindow:
    """An ImageMagick window of one colour at the top left of the X screen: known screen content
    (Wine paints the root window black)."""

    def __init__(self, colour, size):
        self.name = "ImageMagick: " + colour
        self.process = subprocess.Popen(["display", "-geometry", "+0+0", "-size", size, "xc:" + colour],
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        e2e.wait_for("the %s window" % colour,
                     lambda: e2e.x("xdotool", "search", "--onlyvisible", "--name", "^%s$" % self.name),
                     timeout=60)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)


def scans_started(program):
    return program.lines_starting(STARTED)


def wait_scans_settled(program, count):
    """Waits until `count` scans have started and as many replies have been collected."""
    e2e.wait_for("%d scans with their replies" % count,
                 lambda: len(scans_started(program)) >= count and len(program.lines_starting(COLLECTED)) >= count)
    started = scans_started(program)
    e2e.check(len(started) == count, "scans started: %r" % started)
    e2e.check(all(line == STARTED + " (kind 0)" for line in started), "not plain scans: %r" % started)


def stays_quiet(program, count):
    deadline = time.monotonic() + QUIET_SECONDS
    while time.monotonic() < deadline:
        e2e.check(len(scans_started(program)) == count,
                  "an unchanged screen was scanned again: %r" % scans_started(program))
        time.sleep(0.1)  # polling interval of the bounded watch above


def test_a_changed_screen_is_scanned_once_and_an_unchanged_one_never():
    e2e.standin_call("reset", {})
    first = ColourWindow("#3060c0", "1400x900")
    second = None
    program, _ = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(),
                                       ui_ini_text="[Stealth]\nHandsFreeSec=5\n")
    try:
        e2e.check(scans_started(program) == [], "a scan before stealth mode")
        e2e.x("xdotool", "key", "ctrl+alt+c")  # stealth mode: the panel becomes the strip
        e2e.wait_for("the panel to hide", lambda: not e2e.panel_windows())
        # Nothing has been answered yet, so the settled screen is scanned once.
        wait_scans_settled(program, 1)
        stays_quiet(program, 1)

        second = ColourWindow("#c08020", "1600x1000")
        wait_scans_settled(program, 2)
        stays_quiet(program, 2)
        # ImageMagick took the keyboard focus, and the hooks only hear keys while a Wine window has
        # it: give it back to the strip before the quit hotkey.
        second.close()
        first.close()
        strips = e2e.x("xdotool", "search", "--onlyvisible", "--class", "vyk-dev.exe").split()
        e2e.check(strips, "no visible window of the program in stealth mode")
        e2e.x("xdotool", "windowfocus", "--sync", strips[0])
        e2e.x("xdotool", "key", "ctrl+alt+x")
        e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")
    finally:
        program.stop()
        first.close()
        if second:
            second.close()


if __name__ == "__main__":
    e2e.run([test_a_changed_screen_is_scanned_once_and_an_unchanged_one_never])
