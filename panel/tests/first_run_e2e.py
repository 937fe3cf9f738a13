#!/usr/bin/env python3
"""The first run under Wine: started with no configuration at all, the panel opens on the Account
section's first-run message; "Open vyk.cfg" writes the commented template next to the program (the
editor is replaced by a harmless command); a key and the stand-in's base_url added to the file switch
the running program to local API-key mode, and a typed question is answered. Screenshots of each
step go to build/windows/screenshots/."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

# Logical points on the 388 x 486 panel (scale 1), with the Account section open.
OPEN_CONFIG_BUTTON = (90, 227)
SETTINGS_BUTTON = (359, 20)
ASK_BUTTON = (282, 133)
QUESTION = "What is 6 times 7?"
KEY = "sk-first-run-key"


def read(path):
    with open(path, "rb") as f:
        return f.read().decode("utf-8")


PANEL = "388x486+1510+574"  # where the panel sits on the tests' 1920 x 1080 screen


def panel_pixels(path):
    return subprocess.run(["convert", path, "-crop", PANEL, "+repage", "rgb:-"], capture_output=True,
                          check=True, timeout=60).stdout


def blank_panel():
    return bytes(388 * 486 * 3)  # before the first paint the screen is black


def settled_shot(name, before):
    """A screenshot of the panel once it differs from `before` and holds still between two shots,
    so a frame caught before a repaint is never kept. Returns the panel's pixels."""
    last = [None]

    def take():
        pixels = panel_pixels(e2e.screenshot(name))
        same = pixels == last[0]
        last[0] = pixels
        return pixels if same and pixels != before else None
    return e2e.wait_for("the panel settled for " + name, take)


def test_first_run_writes_the_template_and_a_key_switches_to_local_mode():
    e2e.standin_call("reset", {})
    e2e.ensure_desktop_takes_windows()
    program = e2e.Program("vyk-dev.exe", env={"VYK_DEV_EDITOR": "cmd.exe /c rem"})
    try:
        window = program.wait_window()
        cfg = os.path.join(program.dir, "vyk.cfg")
        e2e.check(not os.path.exists(cfg), "a vyk.cfg before the first run")
        e2e.x("xdotool", "windowactivate", "--sync", window)
        shown = settled_shot("first_run.png", blank_panel())

        e2e.click(window, *OPEN_CONFIG_BUTTON)
        e2e.wait_for("vyk.cfg written next to the program", lambda: os.path.exists(cfg) and read(cfg))
        template = read(cfg)
        e2e.check(template.startswith("# vyk.cfg:") and "\r\n#api_key=\r\n" in template,
                  "not the template: %r" % template[:200])
        shown = settled_shot("first_run_vyk_cfg_written.png", shown)

        with open(cfg, "a", newline="") as f:
            f.write("api_key=%s\r\nbase_url=http://127.0.0.1:%d/v1\r\n" % (KEY, e2e.standin_port()))
        e2e.wait_for("local API-key mode without a restart", lambda: program.lines_starting(
            "[vyk] dev: configuration read (configured 1, hosted 0)"))
        shown = settled_shot("first_run_local_key.png", shown)

        e2e.click(window, *SETTINGS_BUTTON)  # back to the answer page
        e2e.click(window, *ASK_BUTTON)
        e2e.x("xdotool", "type", "--delay", "20", QUESTION)
        e2e.x("xdotool", "key", "Return")
        requests = e2e.wait_for("the chat request", lambda: e2e.standin_requests("/chat/completions"))
        headers = {name.lower(): value for name, value in requests[0]["headers"]}
        e2e.check(headers.get("authorization") == "Bearer " + KEY, "bearer header %r" % headers)
        e2e.wait_for("the collected reply", lambda: program.lines_starting("[vyk] dev: reply collected (status 0"))
        settled_shot("first_run_answered.png", shown)
        # Nothing went anywhere before the key was there, and the key never reached the log.
        paths = [r["path"] for r in e2e.standin_call("requests")["requests"]]
        e2e.check(paths == ["/v1/chat/completions"], "requests: %r" % paths)
        e2e.check(not any(KEY in line for line in program.output()), "the API key reached the log")
    finally:
        program.stop()
        e2e.standin_call("reset", {})


if __name__ == "__main__":
    e2e.run([test_first_run_writes_the_template_and_a_key_switches_to_local_mode])
