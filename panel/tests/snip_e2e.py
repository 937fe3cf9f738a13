#!/usr/bin/env python3
"""The snip overlay of the running development program under Wine: F10 and a drag over a window of
known colours sends one snip whose JPEG is the dragged rectangle; Esc and the right button cancel
with no request; hotkeys do nothing while the overlay is open."""

import base64
import json
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

REPLY = json.dumps({"choices": [{"message": {"content": '{"answer":"42","explanation":"x","option":-1}'}}]})
# The picture under the drag: red on the left, blue on the right, shown by ImageMagick at (600, 300).
PICTURE_LEFT, PICTURE_TOP, PICTURE_W, PICTURE_H = 600, 300, 400, 200
DRAG_FROM, DRAG_TO = (700, 340), (900, 440)  # 200 x 100, half red, half blue


def start_dev():
    return e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg())


def quit_cleanly(program):
    e2e.x("xdotool", "key", "ctrl+alt+x")
    e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")


class Picture:
    """An ImageMagick window of two colour blocks at a known place on the X screen."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="vyk-snip-")
        path = os.path.join(self.dir, "blocks.png")
        half = PICTURE_W // 2
        subprocess.run(["convert", "-size", "%dx%d" % (half, PICTURE_H), "xc:#FF0000",
                        "(", "-size", "%dx%d" % (half, PICTURE_H), "xc:#0000FF", ")", "+append", path],
                       check=True, timeout=60)
        self.process = subprocess.Popen(["display", "-geometry", "+%d+%d" % (PICTURE_LEFT, PICTURE_TOP),
                                         "-title", "snip-blocks", path],
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        e2e.wait_for("the picture on screen", lambda: screen_pixel(700, 400) == (255, 0, 0))

    def close(self):
        self.process.kill()
        self.process.wait(timeout=30)


def screen_pixel(px, py):
    out = e2e.x("import", "-window", "root", "-crop", "1x1+%d+%d" % (px, py), "-depth", "8", "txt:-")
    match = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1] if out else "")
    return tuple(int(v) for v in match.groups()) if match else None


def image_pixel(path, px, py):
    out = e2e.x("convert", path, "-crop", "1x1+%d+%d" % (px, py), "-depth", "8", "txt:-")
    match = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1] if out else "")
    return tuple(int(v) for v in match.groups()) if match else None


def near(colour, wanted, tolerance=40):
    return colour is not None and all(abs(a - b) <= tolerance for a, b in zip(colour, wanted))


def overlay_under_pointer():
    """Whether the window under the pointer covers the whole X screen (only the overlay does)."""
    out = e2e.x("xdotool", "getmouselocation", "--shell")
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    window = values.get("WINDOW", "")
    return window not in ("", "0") and e2e.window_geometry(window)[2:] == (1920, 1080)


def open_overlay(program, window):
    opened = len(program.lines_starting("[vyk] dev: snip overlay opened"))
    # Keys reach Wine's hooks while the pointer is over one of its windows.
    e2e.x("xdotool", "mousemove", "--window", window, "194", "330")
    e2e.x("xdotool", "key", "F10")
    e2e.wait_for("the snip overlay", lambda: len(program.lines_starting("[vyk] dev: snip overlay opened")) > opened)
    e2e.wait_for("the overlay under the pointer", overlay_under_pointer)


def wait_closed(program, count):
    e2e.wait_for("the snip overlay to close",
                 lambda: len(program.lines_starting("[vyk] dev: snip overlay closed")) >= count)


def test_drag_sends_the_dragged_rectangle():
    e2e.standin_call("reset", {})
    e2e.standin_call("script", {"path": "/v1/chat/completions", "status": 200, "body": REPLY})
    picture = Picture()
    program, window = start_dev()
    try:
        open_overlay(program, window)
        e2e.x("xdotool", "mousemove", str(DRAG_FROM[0]), str(DRAG_FROM[1]))
        e2e.x("xdotool", "mousedown", "1")
        e2e.x("xdotool", "mousemove", "800", "400")
        e2e.x("xdotool", "mousemove", str(DRAG_TO[0]), str(DRAG_TO[1]))
        # Outside the selection the picture is dimmed (Xvfb shows the dim layer opaque).
        e2e.wait_for("the dimmed desktop", lambda: not near(screen_pixel(650, 320), (255, 0, 0)))
        e2e.screenshot("snip_overlay.png")
        e2e.x("xdotool", "mouseup", "1")
        requests = e2e.wait_for("the snip request", lambda: e2e.standin_requests("/chat/completions"))
        e2e.wait_for("the collected reply", lambda: program.lines_starting("[vyk] dev: reply collected"))
        e2e.check(len(e2e.standin_requests("/chat/completions")) == 1, "more than one request")
        e2e.check(program.lines_starting("[vyk] dev: query started") == ["[vyk] dev: query started (kind 2)"],
                  "starts: %r" % program.lines_starting("[vyk] dev: query started"))
        body = requests[0]["body"]
        match = re.search(r'"url":"data:image/jpeg;base64,([A-Za-z0-9+/=]+)"', body)
        e2e.check(match is not None, "no JPEG in %r" % body[:300])
        path = os.path.join(picture.dir, "snip.jpg")
        with open(path, "wb") as f:
            f.write(base64.b64decode(match.group(1)))
        size = e2e.x("identify", "-format", "%w %h", path).strip()
        e2e.check(size == "200 100", "snip of %r" % size)
        for px, py, wanted in ((20, 50, (255, 0, 0)), (80, 10, (255, 0, 0)), (110, 50, (0, 0, 255)),
                               (190, 90, (0, 0, 255))):
            colour = image_pixel(path, px, py)
            e2e.check(near(colour, wanted), "snip pixel (%d, %d) is %r" % (px, py, colour))
        quit_cleanly(program)
    finally:
        program.stop()
        picture.close()


def test_escape_right_button_and_hotkeys_send_nothing():
    e2e.standin_call("reset", {})
    program, window = start_dev()
    try:
        open_overlay(program, window)
        # Hotkeys reach the overlay, not the panel: no scan, no second overlay.
        e2e.x("xdotool", "key", "--delay", "30", "F9", "F10")
        e2e.x("xdotool", "key", "Escape")
        wait_closed(program, 1)

        open_overlay(program, window)
        e2e.x("xdotool", "mousemove", "500", "500", "click", "3")
        wait_closed(program, 2)

        open_overlay(program, window)  # a drag that ends with the right button sends nothing either
        e2e.x("xdotool", "mousemove", "300", "300", "mousedown", "1", "mousemove", "600", "600")
        e2e.x("xdotool", "click", "3")
        wait_closed(program, 3)
        e2e.x("xdotool", "mouseup", "1")

        open_overlay(program, window)  # a click without a drag closes it with no query
        e2e.x("xdotool", "mousemove", "400", "400", "click", "1")
        wait_closed(program, 4)

        # The hooks are live again: the scan hotkey now starts a scan, the first query of this run.
        e2e.x("xdotool", "mousemove", "--window", window, "194", "330")
        e2e.x("xdotool", "key", "F9")
        e2e.wait_for("the scan", lambda: program.lines_starting("[vyk] dev: query started"))
        started = program.lines_starting("[vyk] dev: query started")
        e2e.check(started == ["[vyk] dev: query started (kind 0)"], "starts: %r" % started)
        e2e.check(len(program.lines_starting("[vyk] dev: snip overlay opened")) == 4, "overlays opened")
        quit_cleanly(program)
    finally:
        program.stop()


if __name__ == "__main__":
    e2e.run([
        test_drag_sends_the_dragged_rectangle,
        test_escape_right_button_and_hotkeys_send_nothing,
    ])
