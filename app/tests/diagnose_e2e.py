#!/usr/bin/env python3
"""vyk.exe --version and --diagnose under Wine: both programs print their version (and the development
program's log begins with it); the shipped program writes the
full report (standard output and vyk-diagnose.txt beside it) although Wine cannot hide a window from
capture; every check has its line with Wine's answer; the service check is a bare request that
carries no key; a TLS server with a certificate Wine does not trust is named as such."""

import os
import re
import shutil
import ssl
import subprocess
import sys
import tempfile
import threading
from http.server import BaseHTTPRequestHandler, HTTPServer

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panel", "tests"))
import e2e_support as e2e  # noqa: E402

KEY = "sk-diagnose-secret-4711"

# Every line the report has under Wine on one X screen, with Wine's answers.
WINE_LINES = [
    r"Tavisk \d+\.\d+\.\d+ diagnostic report",
    r"Windows: OK, \d+\.\d+\.\d+.*, under Wine \S+",
    r"DPI awareness: (OK, per-monitor v2|FAILED, per-monitor v2 could not be declared; running .*), system DPI \d+.*",
    r"Monitor 1 \S+: OK, 1920 x 1080 at \(0, 0\), primary, 96 DPI \(100%\), rotation 0 degrees",
    r"Capture exclusion: FAILED, a window could not be hidden from screen capture \(vyk.exe refuses to start\) \(error 8\)",
    r"Glass backdrop: FAILED, composition unavailable; the panel keeps its plain look \(0x[0-9A-F]{8}\)",
    r"Keyboard hook: OK, installed",
    r"Mouse hook: OK, installed",
    r"Desktop duplication \S+: FAILED, does not start on adapter 0 \".*\" \(0x[0-9A-F]{8}\)",
    r"OCR: FAILED, no OCR engine \(Windows.Media.Ocr\); screen scans fail, vision scans and snips work \(0x80040154\)",
    r"Configuration: OK, .*vyk\.cfg",
    r"Mode: OK, local API key \(a key is set; model gpt-4o-mini\)",
    r"Service 127\.0\.0\.1: OK, answered in \d+ ms \(HTTP \d+\)",
    r"Credential store: OK, a test entry was written, read back and removed",
    r"Report file: OK, .*vyk-diagnose\.txt",
]


def run(program_dir, exe, *args):
    env = dict(os.environ)
    for name in ("VYK_API_KEY", "OPENAI_API_KEY", "VYK_BACKEND_URL"):
        env.pop(name, None)
    result = subprocess.run([e2e.WINE_EXEC, os.path.join(program_dir, exe)] + list(args), cwd=program_dir,
                            env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
    return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r\n", "\n")


def program_copy(exe, cfg_text):
    folder = tempfile.mkdtemp(prefix="vyk-diagnose-")
    shutil.copy2(os.path.join(e2e.BUILD_DIR, exe), folder)
    with open(os.path.join(folder, "vyk.cfg"), "w") as f:
        f.write(cfg_text)
    return folder


def check_report_lines(output, expected):
    lines = output.rstrip("\n").split("\n")
    e2e.check(len(lines) == len(expected), "%d lines, expected %d:\n%s" % (len(lines), len(expected), output))
    for line, pattern in zip(lines, expected):
        e2e.check(re.fullmatch(pattern, line), "line %r does not match %r" % (line, pattern))


def version():
    with open(os.path.join(e2e.BUILD_DIR, "CMakeCache.txt")) as cache:
        return re.search(r"CMAKE_PROJECT_VERSION:STATIC=(\S+)", cache.read()).group(1)


def test_version_of_both_programs():
    for exe in ("vyk.exe", "vyk-dev.exe"):
        folder = program_copy(exe, "")
        try:
            code, output = run(folder, exe, "--version")
            e2e.check(code == 0, "%s --version exited %d" % (exe, code))
            e2e.check(output == "Tavisk %s\n" % version(), "%s --version printed %r" % (exe, output))
        finally:
            shutil.rmtree(folder, ignore_errors=True)


def test_development_log_begins_with_the_version():
    program, _ = e2e.start_with_window("vyk-dev.exe", cfg_text=e2e.standin_cfg())
    try:
        e2e.wait_for("a first line", program.output)
        first = program.output()[0]
        e2e.check(first == "[vyk] dev: Tavisk %s (development build)" % version(), "first line %r" % first)
        e2e.x("xdotool", "key", "ctrl+alt+x")
        e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")
    finally:
        program.stop()


def test_release_program_writes_every_line_and_sends_no_key():
    e2e.standin_call("reset", {})
    folder = program_copy("vyk.exe", e2e.standin_cfg(api_key=KEY))
    try:
        code, output = run(folder, "vyk.exe", "--diagnose")
        e2e.check(code == 0, "--diagnose exited %d:\n%s" % (code, output))
        check_report_lines(output, WINE_LINES)
        with open(os.path.join(folder, "vyk-diagnose.txt"), "rb") as f:
            e2e.check(f.read().decode("utf-8").replace("\r\n", "\n") == output, "the file differs from the output")
        e2e.check(KEY not in output, "the key is in the report")
        requests = e2e.standin_call("requests")["requests"]
        e2e.check([(r["method"], r["path"]) for r in requests] == [("HEAD", "/")], "requests: %r" % requests)
        headers = {name.lower(): value for name, value in requests[0]["headers"]}
        e2e.check("authorization" not in headers and "x-device-hash" not in headers, "headers: %r" % headers)
        e2e.check(KEY not in str(requests), "the key was sent")
        print(output, end="", flush=True)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


class Quiet(BaseHTTPRequestHandler):
    def do_HEAD(self):  # noqa: N802
        self.send_response(200)
        self.end_headers()

    def log_message(self, *args):
        pass


def untrusted_tls_server(folder):
    """A TLS server on 127.0.0.1 with a fresh self-signed certificate for "localhost"."""
    key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "2", "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost"],
                   check=True, capture_output=True, timeout=120)
    server = HTTPServer(("127.0.0.1", 0), Quiet)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.maximum_version = ssl.TLSVersion.TLSv1_2  # what Wine's WinHTTP speaks
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def test_an_untrusted_certificate_is_named_with_its_code():
    if not shutil.which("openssl"):
        print("note: no openssl to make a certificate; TLS check skipped", flush=True)
        return
    scratch = tempfile.mkdtemp(prefix="vyk-tls-")
    server = untrusted_tls_server(scratch)
    folder = program_copy("vyk.exe", "api_key=%s\nbase_url=https://localhost:%d/v1\n"
                          % (KEY, server.server_address[1]))
    try:
        code, output = run(folder, "vyk.exe", "--diagnose")
        e2e.check(code == 0, "--diagnose exited %d" % code)
        line = [l for l in output.split("\n") if l.startswith("Service localhost:")]
        e2e.check(len(line) == 1 and re.fullmatch(
            r"Service localhost: FAILED, TLS or certificate failure.* \(WinHTTP 12\d\d\d \(.*\)\)", line[0]),
            "service line: %r" % line)
    finally:
        server.shutdown()
        shutil.rmtree(folder, ignore_errors=True)
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    e2e.run([test_version_of_both_programs, test_development_log_begins_with_the_version,
             test_release_program_writes_every_line_and_sends_no_key,
             test_an_untrusted_certificate_is_named_with_its_code])
