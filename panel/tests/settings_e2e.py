#!/usr/bin/env python3
"""The settings page on the running development program under Wine: a segment writes its one key, a
scan binding changed through its keycap works at once and after a restart, the e-mail sign-in runs
end to end against the stand-in, and screenshots of every section in both themes."""

import base64
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

# Logical points on the 388 x 486 panel (scale 1). The settings page opens with General open.
SETTINGS_BUTTON = (359, 20)
TEN_SECONDS = (290, 253)       # "10s" with Stealth open
SCAN_KEYCAP = (192, 307)       # the primary scan keycap with Hotkeys open
SIGN_IN_FIELD = (150, 189)
PRIMARY_BUTTON = (90, 227)
BACK_BUTTON = (190, 227)
SIGN_OUT_BUTTON = (312, 227)
EMAIL = "student@example.com"


def ini_text(program):
    path = os.path.join(program.dir, "vyk.ui.ini")
    if not os.path.exists(path):
        return ""
    with open(path, "rb") as f:
        return f.read().decode("latin-1")


def open_settings(window):
    e2e.click(window, *SETTINGS_BUTTON)


def header_y(index, open_section):
    """The centre of section `index`'s header while `open_section` is open (-1 for none)."""
    open_heights = [152, 139, 104, 139, 186]
    y = 104
    for i in range(index):
        y += (open_heights[i] if i == open_section else 28) + 6
    return y + 14


def toggle_section(window, index, open_section):
    e2e.click(window, 100, header_y(index, open_section))


def test_ten_seconds_writes_hands_free_and_nothing_else():
    original = "[Panel]\r\nQuality=Fast\r\n"
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(), ui_ini_text=original)
    try:
        open_settings(window)
        toggle_section(window, 3, 1)
        e2e.click(window, *TEN_SECONDS)
        e2e.wait_for("HandsFreeSec=10 in vyk.ui.ini", lambda: "HandsFreeSec=10" in ini_text(program))
        # Only that key was added: the file is the original plus one section with one key.
        text = ini_text(program).replace("\r\n", "\n")
        lines = [line for line in text.split("\n") if line.strip()]
        e2e.check(sorted(lines) == sorted(["[Panel]", "Quality=Fast", "[Stealth]", "HandsFreeSec=10"]),
                  "vyk.ui.ini: %r" % text)
        # Pressing it again writes nothing.
        before = ini_text(program)
        e2e.click(window, *TEN_SECONDS)
        e2e.click(window, *SETTINGS_BUTTON)  # a later event: the second click has been handled
        e2e.check(ini_text(program) == before, "the selected segment wrote again: %r" % ini_text(program))
    finally:
        program.stop()


def test_scan_binding_changed_through_its_keycap_works_at_once_and_after_a_restart():
    e2e.standin_call("reset", {})
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg())
    saved = ""
    try:
        open_settings(window)
        toggle_section(window, 4, 1)
        e2e.click(window, *SCAN_KEYCAP)
        e2e.x("xdotool", "key", "ctrl+shift+s")
        e2e.wait_for("Scan=Ctrl+Shift+S in vyk.ui.ini", lambda: "Scan=Ctrl+Shift+S" in ini_text(program))
        e2e.screenshot("settings-hotkey-rebound.png")
        e2e.x("xdotool", "mousemove", "--window", window, "200", "420")
        e2e.x("xdotool", "key", "ctrl+shift+s")
        e2e.wait_for("a scan from the new binding", lambda: program.lines_starting("[vyk] dev: query started"))
        saved = ini_text(program)
    finally:
        program.stop()
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(), ui_ini_text=saved)
    try:
        e2e.x("xdotool", "mousemove", "--window", window, "200", "420")
        e2e.x("xdotool", "key", "ctrl+shift+s")
        e2e.wait_for("a scan from the saved binding", lambda: program.lines_starting("[vyk] dev: query started"))
    finally:
        program.stop()


def form_lines(program):
    return program.lines_starting("[vyk] dev: account form ")


def wait_form(program, what, predicate):
    return e2e.wait_for(what, lambda: [line for line in form_lines(program) if predicate(line)])


def requests_to(path):
    return e2e.standin_requests(path)


def test_sign_in_by_email_code_end_to_end():
    e2e.standin_call("reset", {})
    program, window = e2e.start_with_window("vyk-dev.exe",
                                            cfg_text="backend_url=http://127.0.0.1:%d\n" % e2e.standin_port())
    try:
        first = wait_form(program, "the start-up probe", lambda line: True)[0]
        open_settings(window)
        toggle_section(window, 0, 1)
        if "signed in 1" in first:  # a session left by an earlier run: start signed out
            e2e.click(window, *SIGN_OUT_BUTTON)
            wait_form(program, "signed out", lambda line: '"Signed out."' in line)

        # Blank input: a message and no request.
        e2e.click(window, *SIGN_IN_FIELD)
        e2e.click(window, *PRIMARY_BUTTON)
        wait_form(program, "the blank-input message",
                  lambda line: '"Enter your email address." (error 1, code stage 0' in line)
        e2e.check(not requests_to("/v1/auth/send-code"), "a blank address was sent")

        # Send code, pressed twice quickly while the service is slow: one request.
        e2e.standin_call("script", {"path": "/v1/auth/send-code", "status": 200, "delay_ms": 1500,
                                    "body": json.dumps({"ok": True})})
        e2e.click(window, *SIGN_IN_FIELD)
        e2e.x("xdotool", "type", "--delay", "20", "  " + EMAIL + " ")
        e2e.x("xdotool", "mousemove", "--window", window, str(PRIMARY_BUTTON[0]), str(PRIMARY_BUTTON[1]))
        e2e.x("xdotool", "click", "--repeat", "2", "--delay", "60", "1")
        wait_form(program, "the code stage", lambda line: "code stage 1" in line)
        sends = requests_to("/v1/auth/send-code")
        e2e.check(len(sends) == 1, "double press sent %d requests" % len(sends))

        # Back restores the address; sending again goes to the same address.
        e2e.click(window, *BACK_BUTTON)
        e2e.wait_for("the e-mail stage", lambda: "code stage 0" in form_lines(program)[-1])
        e2e.click(window, *PRIMARY_BUTTON)
        e2e.wait_for("a second code", lambda: len(requests_to("/v1/auth/send-code")) == 2)
        bodies = [json.loads(base64.b64decode(r["body_base64"])) for r in requests_to("/v1/auth/send-code")]
        e2e.check([b.get("email") for b in bodies] == [EMAIL, EMAIL], "addresses sent: %r" % bodies)
        e2e.wait_for("the code stage again",
                     lambda: len([line for line in form_lines(program) if "code stage 1" in line]) >= 2)

        # Verify: signed in, the account's address on view.
        e2e.click(window, *SIGN_IN_FIELD)
        e2e.x("xdotool", "type", "--delay", "20", "123456")
        e2e.click(window, *PRIMARY_BUTTON)
        wait_form(program, "signed in", lambda line: 'signed in 1, email "%s"' % EMAIL in line)
        e2e.check(len(requests_to("/v1/auth/verify")) == 1, "verify requests")
        e2e.screenshot("settings-account-signed-in.png")

        # Sign out with the service unreachable: still "Signed out.".
        e2e.standin_call("script", {"path": "*", "action": "drop", "count": -1})
        e2e.click(window, *SIGN_OUT_BUTTON)
        wait_form(program, "signed out", lambda line: '"Signed out." (error 0, code stage 0, signed in 0' in line)
    finally:
        program.stop()
        e2e.standin_call("reset", {})


def panel_pixels(window):
    """The panel's pixels on screen, to tell when a repaint has landed."""
    left, top, width, height = e2e.window_geometry(window)
    result = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                             "rgb:-"], capture_output=True, timeout=60)
    return result.stdout


def settled_change(window, before):
    """The panel looks different from `before` and the same in two captures in a row."""
    first = panel_pixels(window)
    return first != before and first == panel_pixels(window)


def test_screenshots_of_every_section_in_both_themes():
    program, window = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(),
                                            ui_ini_text="[Panel]\r\nGlassStyle=Dark\r\n")
    names = ["account", "general", "style", "stealth", "hotkeys"]
    try:
        open_settings(window)
        for theme in ("dark", "light"):
            open_section = 1
            for index in (0, 1, 2, 3, 4):
                e2e.x("xdotool", "mousemove", "--window", window, "200", "470")
                if open_section != index:
                    before = panel_pixels(window)
                    toggle_section(window, index, open_section)
                    open_section = index
                    e2e.x("xdotool", "mousemove", "--window", window, "200", "470")
                    e2e.wait_for("the section to open on screen", lambda: settled_change(window, before))
                shot = e2e.screenshot("settings-%s-%s.png" % (names[index], theme))
                e2e.check(os.path.getsize(shot) > 0, "empty screenshot")
            if theme == "dark":
                toggle_section(window, 2, open_section)  # Style
                e2e.click(window, 326, header_y(2, 2) - 14 + 34 + 13)  # "Light"
                e2e.wait_for("GlassStyle=Light", lambda: "GlassStyle=Light" in ini_text(program))
                toggle_section(window, 1, 2)  # back to General, as at the start
    finally:
        program.stop()


if __name__ == "__main__":
    e2e.run([test_ten_seconds_writes_hands_free_and_nothing_else,
             test_scan_binding_changed_through_its_keycap_works_at_once_and_after_a_restart,
             test_sign_in_by_email_code_end_to_end,
             test_screenshots_of_every_section_in_both_themes])
