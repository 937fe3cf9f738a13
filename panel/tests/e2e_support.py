"""Helpers for the end-to-end scripts that drive the built program under Wine on an X display.

Every wait polls a condition with a generous time-out; nothing relies on a fixed sleep.
"""

import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import urllib.request

BUILD_DIR = os.environ.get("VYK_BUILD_DIR", "")
SOURCE_DIR = os.environ.get("VYK_SOURCE_DIR", "")
WINE_EXEC = os.environ.get("VYK_WINE_EXEC", "")
STANDIN_STATE = os.environ.get("VYK_STANDIN_STATE", "")
TIMEOUT = 90.0


class Failure(Exception):
    pass


def wait_for(what, predicate, timeout=TIMEOUT, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)  # polling interval only; the condition decides


def check(condition, message):
    if not condition:
        raise Failure(message)


def x(*args):
    """Runs an X tool and returns its standard output ("" when it failed)."""
    result = subprocess.run(list(args), capture_output=True, text=True, timeout=60)
    return result.stdout if result.returncode == 0 else ""


def standin_port():
    with open(os.path.join(STANDIN_STATE, "port")) as f:
        return int(f.read().strip())


def standin_call(path, payload=None):
    url = "http://127.0.0.1:%d/_standin/%s" % (standin_port(), path)
    data = None if payload is None else json.dumps(payload).encode()
    request = urllib.request.Request(url, data=data, method="GET" if data is None else "POST")
    with urllib.request.urlopen(request, timeout=30) as response:
        body = response.read()
    return json.loads(body) if body else None


def standin_requests(path_suffix):
    return [r for r in standin_call("requests")["requests"] if r["path"].endswith(path_suffix)]


class Program:
    """One run of vyk.exe or vyk-dev.exe from a private copy, so its vyk.cfg and vyk.ui.ini are
    its own. Standard output is collected line by line."""

    def __init__(self, exe_name, cfg_text=None, ui_ini_text=None, env=None):
        self.dir = tempfile.mkdtemp(prefix="vyk-e2e-")
        self.exe = os.path.join(self.dir, exe_name)
        shutil.copy2(os.path.join(BUILD_DIR, exe_name), self.exe)
        if cfg_text is not None:
            with open(os.path.join(self.dir, "vyk.cfg"), "w") as f:
                f.write(cfg_text)
        if ui_ini_text is not None:
            with open(os.path.join(self.dir, "vyk.ui.ini"), "w") as f:
                f.write(ui_ini_text)
        run_env = dict(os.environ)
        for name in ("VYK_API_KEY", "OPENAI_API_KEY", "VYK_BACKEND_URL"):
            run_env.pop(name, None)
        run_env.update(env or {})
        ensure_desktop_takes_windows()
        self.lines = []
        self.lock = threading.Lock()
        self.process = subprocess.Popen([WINE_EXEC, self.exe], cwd=self.dir, env=run_env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.process.stdout:
            with self.lock:
                self.lines.append(raw.decode("utf-8", "replace").rstrip("\r\n"))

    def output(self):
        with self.lock:
            return list(self.lines)

    def lines_starting(self, prefix):
        return [line for line in self.output() if line.startswith(prefix)]

    def wait_window(self):
        """The one mapped panel window; fails early, with what the program said, if it ends."""
        def found():
            if self.process.poll() is not None:
                raise Failure("the program ended with %d before showing its window: %r"
                              % (self.process.returncode, self.output()))
            return panel_windows()
        windows = wait_for("the panel window", found)
        check(len(windows) == 1, "expected one panel window, saw %d" % len(windows))
        return windows[0]

    def wait_exit(self, timeout=TIMEOUT):
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not exit")
        self.reader.join(timeout=10)
        return code

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)
        shutil.rmtree(self.dir, ignore_errors=True)


# A Wine desktop whose explorer came up without its X11 driver refuses every window, of every
# program, for as long as it lives (the program then reports this line). That is the environment,
# not the program, and restarting the program never mends it; a new Wine session does. So each start
# first checks the session with tools/window_probe_win.cpp and replaces a broken one
# (scripts/wine-prefix); the program itself is started exactly once.
DESKTOP_REFUSED = "[vyk] dev: child control 100 could not be created (error 0)"


def desktop_takes_windows():
    probe = os.path.join(BUILD_DIR, "window-probe.exe")
    result = subprocess.run([WINE_EXEC, probe], stdin=subprocess.DEVNULL, capture_output=True,
                            text=True, timeout=300)
    return result.returncode == 0


def ensure_desktop_takes_windows():
    if desktop_takes_windows():
        return
    print("note: the Wine desktop cannot make windows; starting a new Wine session", flush=True)
    subprocess.run([os.path.join(SOURCE_DIR, "scripts", "wine-prefix"),
                    os.path.join(BUILD_DIR, "window-probe.exe")],
                   stdin=subprocess.DEVNULL, check=True, timeout=600)
    check(desktop_takes_windows(), "the new Wine session cannot make windows either")


def start_with_window(exe_name, cfg_text=None, ui_ini_text=None):
    program = Program(exe_name, cfg_text=cfg_text, ui_ini_text=ui_ini_text)
    try:
        return program, program.wait_window()
    except Failure as error:
        if DESKTOP_REFUSED in program.output() and not desktop_takes_windows():
            error = Failure("%s (the Wine desktop lost its display driver while the program started)"
                            % error)
        program.stop()
        raise error


def panel_windows():
    """X window ids titled exactly "Tavisk" that are mapped."""
    out = x("xdotool", "search", "--onlyvisible", "--name", "^Tavisk$")
    return [w for w in out.split() if w]


def window_geometry(window):
    """(x, y, width, height) of an X window."""
    out = x("xdotool", "getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def click(window, logical_x, logical_y):
    """Clicks a point of the panel given in logical pixels (the panel runs at scale 1 here)."""
    x("xdotool", "mousemove", "--window", window, str(logical_x), str(logical_y))
    x("xdotool", "click", "1")


def screenshot(name):
    folder = os.path.join(BUILD_DIR, "screenshots")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, name)
    subprocess.run(["import", "-window", "root", path], check=True, timeout=60)
    return path


def standin_cfg(api_key="sk-test-local"):
    return ("base_url=http://127.0.0.1:%d/v1\napi_key=%s\nmodel=gpt-4o-mini\n"
            % (standin_port(), api_key))


def run(test_functions):
    failed = 0
    for test in test_functions:
        try:
            test()
            print("PASS", test.__name__, flush=True)
        except Exception as error:  # report every test, then fail the script
            failed += 1
            print("FAIL", test.__name__, "-", error, flush=True)
    raise SystemExit(1 if failed else 0)
