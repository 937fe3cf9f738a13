#!/usr/bin/env python3
"""The stealth strip on the running development program under Wine: the mode hotkey hides the panel
and shows the strip on the chosen screen edge (right, and left when the side setting says so) at its
width; a scan shows the working pill in the middle of the strip, and an answer with option B lights
the second quarter."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

SCREEN_W, SCREEN_H = 1920, 1080
STRIP_W = 4
ANSWER = json.dumps({"choices": [{"message": {"content":
                    '{"answer":"B","explanation":"the second one","option":"B"}'}}]})


def grey_at(path, x, y):
    out = subprocess.run(["convert", path, "-format", "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]",
                          "-crop", "1x1+%d+%d" % (x, y), "+repage", "info:"],
                         capture_output=True, text=True, timeout=60, check=True).stdout
    r, g, b = (int(v) for v in out.strip().split(","))
    return r, g, b


def strip_left(side):
    return SCREEN_W - STRIP_W if side == "Right" else 0


def strip_windows(side):
    """Visible windows of the program that sit where the strip belongs."""
    found = []
    for window in e2e.x("xdotool", "search", "--onlyvisible", "--class", "vyk-dev.exe").split():
        if e2e.window_geometry(window) == (strip_left(side), 0, STRIP_W, SCREEN_H):
            found.append(window)
    return found


def marked(pixel, background):
    """A mark's colour: a grey clearly apart from the white page and from black, and from what the
    strip shows where nothing is drawn. Xvfb has no compositor, so colours are compared, not blends."""
    return pixel != background and all(40 <= c <= 235 for c in pixel)


def strip_shows_the_working_pill_and_lights_the_answers_section(side):
    e2e.standin_call("reset", {})
    e2e.standin_call("script", {"path": "/v1/chat/completions", "status": 200, "delay_ms": 4000, "body": ANSWER})
    # A white page behind the strip's edge, so the marks' colours are known (darker than the page).
    page_left = SCREEN_W - 400 if side == "Right" else 0
    page = subprocess.Popen(["display", "-geometry", "+%d+0" % page_left, "-size", "400x%d" % SCREEN_H,
                             "xc:white"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    program = None
    try:
        e2e.wait_for("the white page", lambda: e2e.x("xdotool", "search", "--onlyvisible", "--name",
                                                    "^ImageMagick: white$"), timeout=60)
        program, _ = e2e.start_with_window(
            "vyk-dev.exe", cfg_text=e2e.standin_cfg(),
            ui_ini_text="[Panel]\nMathMode=1\n[Stealth]\nStripWidth=%d\nSide=%s\n" % (STRIP_W, side))
        e2e.x("xdotool", "key", "ctrl+alt+c")
        e2e.wait_for("the panel to hide", lambda: not e2e.panel_windows())
        strip = e2e.wait_for("the strip on the %s edge" % side.lower(), lambda: strip_windows(side))[0]

        # The hooks hear keys only while a Wine window has the keyboard focus.
        e2e.x("xdotool", "windowfocus", "--sync", strip)
        e2e.x("xdotool", "key", "F9")
        e2e.wait_for("the scan", lambda: program.lines_starting("[vyk] dev: query started"))
        pill_x, middle = strip_left(side) + STRIP_W // 2, SCREEN_H // 2
        top_quarter = SCREEN_H // 8

        def pill_drawn():
            shot = e2e.screenshot("strip-working-%s.png" % side.lower())
            return marked(grey_at(shot, pill_x, middle), grey_at(shot, pill_x, top_quarter))
        e2e.wait_for("the working pill", pill_drawn, timeout=30)
        e2e.check(not program.lines_starting("[vyk] dev: reply collected"),
                  "the reply arrived before the pill was seen")

        replies = e2e.wait_for("the reply", lambda: program.lines_starting("[vyk] dev: reply collected"))
        e2e.check(replies[0].startswith("[vyk] dev: reply collected (status 0, option 1"), "reply: %r" % replies)
        section_b = SCREEN_H * 3 // 8  # the middle of the second quarter

        def b_lit():
            shot = e2e.screenshot("strip-glow-%s.png" % side.lower())
            a, b, c = (grey_at(shot, pill_x, y) for y in (top_quarter, section_b, SCREEN_H * 5 // 8))
            return marked(b, a) and a == c
        e2e.wait_for("section B to glow", b_lit, timeout=30)

        e2e.x("xdotool", "windowfocus", "--sync", strip)
        e2e.x("xdotool", "key", "ctrl+alt+x")
        e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")
    finally:
        if program:
            program.stop()
        page.kill()
        page.wait(timeout=30)


def test_strip_on_the_right_edge():
    strip_shows_the_working_pill_and_lights_the_answers_section("Right")


def test_strip_on_the_left_edge():
    strip_shows_the_working_pill_and_lights_the_answers_section("Left")


if __name__ == "__main__":
    e2e.run([test_strip_on_the_right_edge, test_strip_on_the_left_edge])
