#!/usr/bin/env python3
"""Copying on the running development program under Wine: Ctrl+C after an answer puts the answer and
its explanation on the clipboard, after an error it leaves the clipboard alone."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

ASK_BUTTON = (290, 133)
ANSWER = json.dumps({"choices": [{"message": {"content":
                    json.dumps({"answer": "x = 4", "explanation": "Subtract 3, then halve.", "option": None})}}]})


def clipboard():
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, timeout=30)
    return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None


def set_clipboard(text):
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode(), check=True, timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def panel_pixels(window):
    left, top, width, height = e2e.window_geometry(window)
    return subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                           "rgb:-"], capture_output=True, timeout=60).stdout


def scan_and_wait(program, window, replies_before):
    e2e.x("xdotool", "mousemove", "--window", window, "200", "420")
    e2e.x("xdotool", "key", "F9")
    def replies():
        lines = program.lines_starting("[vyk] dev: reply collected")
        return lines if len(lines) > replies_before else None
    return e2e.wait_for("the reply", replies)


def test_ctrl_c_copies_an_answer_and_leaves_the_clipboard_alone_after_an_error():
    e2e.standin_call("reset", {})
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(),
                                            ui_ini_text="[Panel]\r\nMathMode=1\r\n")
    try:
        set_clipboard("before")
        e2e.standin_call("script", {"path": "/v1/chat/completions", "status": 200, "body": ANSWER})
        replies = scan_and_wait(program, window, 0)
        e2e.check(replies[-1].startswith("[vyk] dev: reply collected (status 0"), "reply: %r" % replies)
        e2e.x("xdotool", "windowfocus", "--sync", window)
        e2e.x("xdotool", "key", "ctrl+c")
        # Wine hands CF_UNICODETEXT to X clients with its line breaks as they are or as LF.
        copied = e2e.wait_for("the answer on the clipboard",
                              lambda: clipboard() in ("x = 4\r\n\r\nSubtract 3, then halve.",
                                                      "x = 4\n\nSubtract 3, then halve.") and clipboard())
        print("copied:", repr(copied), flush=True)

        set_clipboard("untouched")
        e2e.standin_call("script", {"path": "/v1/chat/completions", "status": 500,
                                    "body": json.dumps({"error": {"message": "down"}})})
        replies = scan_and_wait(program, window, len(replies))
        e2e.check(not replies[-1].startswith("[vyk] dev: reply collected (status 0"), "reply: %r" % replies)
        e2e.x("xdotool", "windowfocus", "--sync", window)
        before = panel_pixels(window)
        e2e.x("xdotool", "key", "ctrl+c")
        # The click after the key goes through the same input queue: once the question page shows,
        # Ctrl+C has been handled.
        e2e.click(window, *ASK_BUTTON)
        e2e.wait_for("the question page", lambda: panel_pixels(window) != before)
        e2e.check(clipboard() == "untouched", "the clipboard changed: %r" % clipboard())
    finally:
        program.stop()
        e2e.standin_call("reset", {})


if __name__ == "__main__":
    e2e.run([test_ctrl_c_copies_an_answer_and_leaves_the_clipboard_alone_after_an_error])
