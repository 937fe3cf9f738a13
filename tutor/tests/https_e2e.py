#!/usr/bin/env python3
"""The tutor over HTTPS under Wine. Each run makes two certificate authorities of its own: one the
test Wine prefix is told to trust (tools/test_root_win.cpp adds it to the prefix's root store, and
removes it afterwards; nothing outside the prefix ever trusts it), and a stranger. Two stand-ins
serve HTTPS (TLS 1.2, the most Wine's WinHTTP speaks) on "localhost", since Wine refuses a
certificate that names 127.0.0.1 only as an address: one with a certificate from each authority.

- A typed question goes to the trusted stand-in over HTTPS and its reply is collected; after the
  stand-in closed the kept-alive connection, a second question gets through on a new one.
- The stranger's certificate is refused before any byte of a request is sent, and the query ends in
  the sentence for an unreachable service (tutor/tests/https_refusal_wintest.cpp, run from here)."""

import json
import os
import ssl
import subprocess
import sys
import tempfile
import shutil
import urllib.request
import uuid

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panel", "tests"))
import e2e_support as e2e  # noqa: E402

HOST = "localhost"
QUESTIONS = ["What is 7 times 6?", "What is 2 plus 2?"]
ANSWER = json.dumps({"choices": [{"message": {"content":
                    json.dumps({"answer": "42", "explanation": "Seven sixes.", "option": None})}}]})


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, timeout=120,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Authority:
    """A certificate authority made for this run, and a server certificate for HOST signed by it."""

    def __init__(self, folder, name):
        self.folder = os.path.join(folder, name)
        os.makedirs(self.folder)
        subject = "/CN=Tavisk test authority %s %s" % (name, uuid.uuid4().hex[:12])
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
                "-days", "2", "-subj", subject, "-addext", "basicConstraints=critical,CA:TRUE",
                "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=self.folder)
        openssl("x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der", cwd=self.folder)
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr",
                "-subj", "/CN=" + HOST, cwd=self.folder)
        with open(os.path.join(self.folder, "server.ext"), "w") as f:
            f.write("subjectAltName=DNS:%s\nbasicConstraints=CA:FALSE\n"
                    "keyUsage=critical,digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n" % HOST)
        openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
                "-out", "server.pem", "-days", "2", "-extfile", "server.ext", cwd=self.folder)

    def path(self, name):
        return os.path.join(self.folder, name)


class TlsStandin:
    """tools/standin.py over HTTPS with an authority's server certificate."""

    def __init__(self, folder, authority):
        self.state = os.path.join(folder, "standin-" + os.path.basename(authority.folder))
        subprocess.run([sys.executable, os.path.join(e2e.SOURCE_DIR, "tools", "standin.py"), "start",
                        "--state-dir", self.state, "--host", HOST, "--tls-cert", authority.path("server.pem"),
                        "--tls-key", authority.path("server.key")],
                       check=True, timeout=60, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        with open(os.path.join(self.state, "port")) as f:
            self.port = int(f.read())
        self.url = "https://%s:%d" % (HOST, self.port)
        context = ssl.create_default_context(cafile=authority.path("ca.pem"))
        self.opener = urllib.request.build_opener(urllib.request.ProxyHandler({}),
                                                  urllib.request.HTTPSHandler(context=context))

    def call(self, name, payload=None):
        data = None if payload is None else json.dumps(payload).encode()
        request = urllib.request.Request(self.url + "/_standin/" + name, data=data,
                                         method="GET" if data is None else "POST")
        with self.opener.open(request, timeout=30) as response:
            return json.loads(response.read())

    def stop(self):
        subprocess.run([sys.executable, os.path.join(e2e.SOURCE_DIR, "tools", "standin.py"), "stop",
                        "--state-dir", self.state], timeout=60, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)


def wine_path(path):
    return "Z:" + path


def test_root(action, authority):
    result = subprocess.run([e2e.WINE_EXEC, os.path.join(e2e.BUILD_DIR, "test-root.exe"), action,
                             wine_path(authority.path("ca.der"))],
                            capture_output=True, text=True, timeout=300, stdin=subprocess.DEVNULL)
    e2e.check(result.returncode == 0, "test-root %s: %s" % (action, result.stdout.strip()))


def ask(program, window, question, replies_before):
    e2e.click(window, 282, 133)  # "Ask a question"
    e2e.x("xdotool", "key", "ctrl+a")  # the box may still hold the last question
    e2e.x("xdotool", "type", "--delay", "20", question)
    e2e.x("xdotool", "key", "Return")

    def replies():
        lines = program.lines_starting("[vyk] dev: reply collected")
        return lines if len(lines) > replies_before else None
    return e2e.wait_for("the reply to %r" % question, replies)


# The two stand-ins of the run, started by main().
trusted = None
stranger = None


def test_typed_questions_over_https_also_after_the_server_closed_the_connection():
    trusted.call("reset", {})
    # The first answer comes with the connection closed behind it, unannounced.
    trusted.call("script", {"path": "/v1/chat/completions", "status": 200, "body": ANSWER, "action": "close"})
    program, window = e2e.start_with_window(
        "vyk-dev.exe", cfg_text="base_url=%s/v1\napi_key=sk-test-local\nmodel=gpt-4o-mini\n" % trusted.url)
    try:
        e2e.click(window, 194, 330)  # an empty spot: the panel takes the keyboard
        e2e.wait_for("the panel to take the focus",
                     lambda: e2e.x("xdotool", "getwindowfocus").strip() == window, timeout=30)
        replies = ask(program, window, QUESTIONS[0], 0)
        e2e.check(replies[-1].startswith("[vyk] dev: reply collected (status 0"), "first reply: %r" % replies)
        e2e.screenshot("https_answer.png")
        replies = ask(program, window, QUESTIONS[1], len(replies))
        e2e.check(replies[-1].startswith("[vyk] dev: reply collected (status 0"), "second reply: %r" % replies)

        requests = [r for r in trusted.call("requests")["requests"] if r["path"] == "/v1/chat/completions"]
        e2e.check(len(requests) == 2, "%d chat requests over HTTPS" % len(requests))
        for request, question in zip(requests, QUESTIONS):
            e2e.check(json.loads(request["body"])["messages"][1]["content"].endswith(question),
                      "request for %r: %r" % (question, request["body"][-80:]))
        e2e.check(requests[0]["connection"] != requests[1]["connection"], "the closed connection was used again")
        versions = {c["tls"] for c in trusted.call("connections")["connections"]}
        print("TLS versions agreed:", sorted(str(v) for v in versions), flush=True)
        e2e.check(all(str(v).startswith("TLSv1.") for v in versions), "connections: %r" % versions)
        e2e.x("xdotool", "key", "ctrl+alt+x")
        e2e.check(program.wait_exit() == 0, "exit code after the quit hotkey")
    finally:
        program.stop()


def test_an_untrusted_authority_is_refused_before_the_request():
    stranger.call("reset", {})
    env = dict(os.environ, VYK_UNTRUSTED_HTTPS_URL=stranger.url)
    result = subprocess.run([e2e.WINE_EXEC, os.path.join(e2e.BUILD_DIR, "win_tests.exe"),
                             "--gtest_filter=HttpsRefusal.*"], env=env, capture_output=True, text=True,
                            timeout=600, stdin=subprocess.DEVNULL)
    e2e.check(result.returncode == 0 and "[  PASSED  ] 1 test" in result.stdout and "SKIPPED" not in result.stdout,
              "the refusal test:\n" + result.stdout[-3000:])
    connections = stranger.call("connections")["connections"]
    attempts = [c for c in connections if c["connection"] != connections[-1]["connection"]]  # not this call
    print("connections to the stranger:", attempts, flush=True)
    e2e.check(len(attempts) >= 1, "WinHTTP never connected to the stranger")
    e2e.check(not any(c["received"] for c in attempts), "a request reached the stranger: %r" % attempts)
    e2e.check(stranger.call("requests")["requests"] == [], "the stranger recorded a request")


def main():
    global trusted, stranger
    folder = tempfile.mkdtemp(prefix="vyk-https-")
    trusted_authority = Authority(folder, "trusted")
    stranger_authority = Authority(folder, "stranger")
    servers = []
    test_root("add", trusted_authority)
    try:
        trusted = TlsStandin(folder, trusted_authority)
        servers.append(trusted)
        stranger = TlsStandin(folder, stranger_authority)
        servers.append(stranger)
        e2e.run([test_typed_questions_over_https_also_after_the_server_closed_the_connection,
                 test_an_untrusted_authority_is_refused_before_the_request])
    finally:
        for server in servers:
            server.stop()
        test_root("remove", trusted_authority)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
