#!/usr/bin/env python3
"""The program under Wine on a 1920x1080 X screen: refusal of the release build, start-up,
placement, quitting, a typed question travelling to the local stand-in, and the scan hotkey."""

import json
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

REFUSAL = re.compile(r"^\[vyk\] Window capture exclusion could not be set \(error \d+\)\.$")
QUESTION = "What is 7 times 6?"


def start_dev(ui_ini_text=None):
    return e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg(), ui_ini_text=ui_ini_text)


def quit_cleanly(program):
    # Ending the program its own way (a killed Wine GUI process leaves the server busy a while).
    e2e.x("xdotool", "key", "ctrl+alt+x")
    e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")


def focus_panel(window):
    # An empty spot of the answer page: clicking it gives the panel the keyboard.
    e2e.click(window, 194, 330)
    e2e.wait_for("the panel to take the focus",
                 lambda: e2e.x("xdotool", "getwindowfocus").strip() == window, timeout=30)


def run_release_build():
    program = e2e.Program("vyk.exe", cfg_text=e2e.standin_cfg())
    try:
        seen_window = False
        while program.process.poll() is None:
            seen_window = seen_window or bool(e2e.panel_windows())
        code = program.wait_exit()
        return code, program.output(), seen_window or bool(e2e.panel_windows())
    finally:
        program.stop()


def test_release_build_refuses_without_capture_exclusion():
    code, lines, seen_window = run_release_build()
    e2e.check(code == 1, "exit code %d, expected 1" % code)
    e2e.check(not seen_window, "a panel window was shown")
    e2e.check(any(REFUSAL.match(line) for line in lines), "no refusal line in %r" % lines)


def test_dev_build_places_panel_and_quits_on_escape():
    e2e.standin_call("reset", {})
    program, window = start_dev()
    try:
        e2e.check(e2e.window_geometry(window) == (1510, 574, 388, 486),
                  "panel at %r" % (e2e.window_geometry(window),))
        e2e.screenshot("panel.png")
        focus_panel(window)
        e2e.x("xdotool", "key", "Escape")
        code = program.wait_exit()
        e2e.check(code == 0, "exit code %d after Escape" % code)
        # Local API-key mode makes no request at start-up (no account probe).
        e2e.check(e2e.standin_call("requests")["requests"] == [], "start-up made a request")
    finally:
        program.stop()


def test_quit_hotkey_ends_the_program():
    program, window = start_dev()
    try:
        quit_cleanly(program)
    finally:
        program.stop()


def test_typed_question_reaches_the_standin_and_the_reply_is_collected():
    e2e.standin_call("reset", {})
    program, window = start_dev()
    try:
        focus_panel(window)
        e2e.click(window, 282, 133)  # "Ask a question"
        e2e.x("xdotool", "type", "--delay", "20", QUESTION)
        e2e.x("xdotool", "key", "Return")
        requests = e2e.wait_for("the chat request", lambda: e2e.standin_requests("/chat/completions"))
        e2e.check(len(requests) == 1, "%d chat requests" % len(requests))
        body = requests[0]["body"]
        prefix = ('{"model":"gpt-4o-mini","temperature":0,"max_tokens":4096,'
                  '"messages":[{"role":"system","content":"You are a study tutor.')
        suffix = '"},{"role":"user","content":"Question:\\n' + QUESTION + '"}]}'
        e2e.check(body.startswith(prefix), "body starts %r" % body[:120])
        e2e.check(body.endswith(suffix), "body ends %r" % body[-120:])
        parsed = json.loads(body)
        e2e.check(len(parsed["messages"][0]["content"]) == 1354, "system prompt length")
        headers = {name.lower(): value for name, value in requests[0]["headers"]}
        e2e.check(headers.get("authorization") == "Bearer sk-test-local", "bearer header")
        e2e.wait_for("the collected reply",
                     lambda: program.lines_starting("[vyk] dev: reply collected (status 0"))
        e2e.check("[vyk] local fast -> gpt-4o-mini" in program.output(), "no local request line")
        e2e.check(not any("sk-test-local" in line for line in program.output()),
                  "the API key reached the log")
        quit_cleanly(program)
    finally:
        program.stop()


def test_hosted_start_probes_the_account_once():
    e2e.standin_call("reset", {})
    program, _ = e2e.start_with_window("vyk-dev.exe",
                                       cfg_text="backend_url=http://127.0.0.1:%d\n" % e2e.standin_port())
    try:
        probes = e2e.wait_for("the account probe", lambda: e2e.standin_requests("/v1/me"))
        e2e.check(probes[0]["method"] == "GET", "probe method %r" % probes[0]["method"])
        quit_cleanly(program)
        e2e.check(len(e2e.standin_requests("/v1/me")) == 1, "more than one probe")
    finally:
        program.stop()


def test_scan_hotkey_twice_starts_one_scan():
    # Vision scans reach the stand-in, which holds the reply long enough for the second press to
    # arrive while the first scan runs.
    e2e.standin_call("reset", {})
    e2e.standin_call("script", {"path": "/v1/chat/completions", "status": 200, "delay_ms": 4000,
                                "body": json.dumps({"choices": [{"message": {"content":
                                        '{"answer":"42","explanation":"6 x 7","option":-1}'}}]})})
    program, window = start_dev(ui_ini_text="[Panel]\nMathMode=1\n")
    try:
        e2e.x("xdotool", "key", "--delay", "30", "F9", "F9")
        e2e.wait_for("the collected reply", lambda: program.lines_starting("[vyk] dev: reply collected"))
        started = program.lines_starting("[vyk] dev: query started")
        e2e.check(started == ["[vyk] dev: query started (kind 1)"], "starts: %r" % started)
        e2e.check(len(e2e.standin_requests("/chat/completions")) == 1, "more than one request")
        quit_cleanly(program)
    finally:
        program.stop()


if __name__ == "__main__":
    e2e.run([
        test_release_build_refuses_without_capture_exclusion,
        test_dev_build_places_panel_and_quits_on_escape,
        test_quit_hotkey_ends_the_program,
        test_typed_question_reaches_the_standin_and_the_reply_is_collected,
        test_scan_hotkey_twice_starts_one_scan,
        test_hosted_start_probes_the_account_once,
    ])
