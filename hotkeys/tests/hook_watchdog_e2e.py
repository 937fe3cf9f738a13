#!/usr/bin/env python3
"""The hook watchdog under Wine: the development program loses its input hooks on purpose (as the
system drops a hook that was too slow); a key it then misses is seen as lost input, the watchdog
installs the hooks again with one log line, and the next F9 starts a scan."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panel", "tests"))
import e2e_support as e2e  # noqa: E402

REINSTALLED = "[vyk] Input hooks had stopped receiving input; installed them again"


def test_lost_hooks_come_back_and_the_scan_hotkey_works_again():
    e2e.standin_call("reset", {})
    program = e2e.Program("vyk-dev.exe", cfg_text=e2e.standin_cfg(),
                          env={"VYK_DEV_REMOVE_HOOKS_AFTER_MS": "1500"})
    try:
        window = program.wait_window()
        e2e.wait_for("the hooks to go", lambda: program.lines_starting("[vyk] dev: input hooks removed"))
        # Keys reach Wine while the pointer is over one of its windows.
        e2e.x("xdotool", "mousemove", "--window", window, "194", "330")
        e2e.x("xdotool", "key", "F9")  # the system sees it, the lost hooks do not
        e2e.wait_for("the watchdog", lambda: program.lines_starting(REINSTALLED), timeout=60)
        e2e.check(program.lines_starting("[vyk] dev: query started") == [], "a scan without hooks")
        e2e.check(len(program.lines_starting(REINSTALLED)) == 1, "more than one reinstall")
        e2e.x("xdotool", "key", "F9")
        e2e.wait_for("the scan", lambda: program.lines_starting("[vyk] dev: query started"))
        e2e.x("xdotool", "key", "ctrl+alt+x")
        e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")
        e2e.check(len(program.lines_starting(REINSTALLED)) == 1, "reinstalled again with live hooks")
    finally:
        program.stop()


if __name__ == "__main__":
    e2e.run([test_lost_hooks_come_back_and_the_scan_hotkey_works_again])
