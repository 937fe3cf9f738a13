#!/usr/bin/env python3
"""The glass backdrop in the running development program under Wine. Wine has no compositor, so
with "Liquid glass" on the glass object's initialisation fails with a platform code: the panel
says so once per evaluation, stays on its plain palettes and keeps painting."""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

GLASS_LINE = re.compile(r"^\[vyk\] dev: glass (on|off) \(initialise 0x([0-9A-F]{8})\)$")
PLAIN_LIGHT = (0xF6, 0xF6, 0xF9)
PLAIN_DARK = (0x1E, 0x1E, 0x22)


def pixel(x, y):
    out = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "txt:-"],
                         check=True, capture_output=True, text=True, timeout=60).stdout
    match = re.search(r"#([0-9A-Fa-f]{6})", out)
    e2e.check(match is not None, "no pixel in %r" % out)
    value = int(match.group(1), 16)
    return (value >> 16, (value >> 8) & 0xFF, value & 0xFF)


def glass_lines(program):
    return [GLASS_LINE.match(line) for line in program.output() if GLASS_LINE.match(line)]


def run_with_glass(style, expected_background):
    ini = "[Panel]\r\nLiquidGlass=1\r\nGlassStyle=%s\r\n" % style
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(), ui_ini_text=ini)
    try:
        lines = e2e.wait_for("the backdrop evaluation", lambda: glass_lines(program))
        e2e.check(all(line.group(1) == "off" for line in lines), "glass turned on: %r" % program.output())
        code = int(lines[0].group(2), 16)
        e2e.check(code & 0x80000000, "initialisation did not fail: 0x%08X" % code)
        print("glass initialisation under Wine: 0x%08X" % code, flush=True)
        left, top, width, height = e2e.window_geometry(window)
        # A spot of the answer page's background, left of the cards, painted by the panel itself.
        e2e.wait_for("the plain %s background" % style,
                     lambda: pixel(left + 10, top + height // 2) == expected_background)
        e2e.screenshot("glass-unavailable-%s.png" % style.lower())
        e2e.x("xdotool", "key", "ctrl+alt+x")
        e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")
    finally:
        program.stop()


def test_light_glass_without_compositor_paints_plain_light():
    run_with_glass("Light", PLAIN_LIGHT)


def test_dark_glass_without_compositor_paints_plain_dark():
    run_with_glass("Dark", PLAIN_DARK)


if __name__ == "__main__":
    e2e.run([
        test_light_glass_without_compositor_paints_plain_light,
        test_dark_glass_without_compositor_paints_plain_dark,
    ])
