#!/usr/bin/env python3
"""Local stand-in for the two remote interfaces the tutor talks to, on the loopback address only.

It answers an OpenAI-style chat-completions endpoint (POST <any prefix>/chat/completions) and the
hosted tutor service (/v1/solve, /v1/auth/send-code, /v1/auth/verify, /v1/auth/refresh, GET /v1/me)
with plausible successes, so the program works as a demo against it. Tests steer it through control
endpoints under /_standin/:

  POST /_standin/script    JSON {"path": "/v1/solve" (path without query, or "*" for any),
                                 "status": 200, "body": "text" | "body_base64": "...",
                                 "headers": {"Name": "value"}, "delay_ms": 0,
                                 "action": "reply" | "drop" | "huge" | "stream", "huge_bytes": N,
                                 "count": 1 (-1: every time)}
                           Scripts for one path are used in the order they were added.
                           "stream" answers as a chat-completions event stream (see STREAM_FIELDS);
                           a chat request with "stream": true and no script streams by default.
  GET  /_standin/requests  every request seen, oldest first: method, path (with query), headers
                           ([name, value] pairs as received), body_base64, connection (an id per
                           TCP connection), received_ms and answered_ms (a monotonic clock; no
                           answered_ms while the reply is still being written), first_content_ms
                           (when a stream wrote its first token) and, where the body
                           is UTF-8, body.
  GET  /_standin/connections  every connection accepted, oldest first: its id, "tls" (the TLS
                           version agreed, or the handshake's error), and "received" (whether any
                           byte of a request arrived on it).
  POST /_standin/reset     forgets scripts, recorded requests and connections.

  Script action "close" replies and then closes the connection without saying so (no
  "Connection: close"), as a server does with an idle keep-alive connection.

Command line:
  standin.py serve [--port N] [--state-dir D]   runs in the foreground (port 0: any free port)
  standin.py start --state-dir D                starts in the background; returns once listening,
                                                with the port in D/port and the process id in D/pid
      both take --first-token-ms N and --tokens-per-second N: the pace of unscripted streams
  standin.py stop --state-dir D                 stops the one started with that state directory
  serve and start also take --host NAME (a name for the loopback address, e.g. localhost; the
  first address it resolves to is used) and --tls-cert FILE --tls-key FILE (PEM): HTTPS, TLS 1.2 or
  newer, with that certificate, for every request including the control ones.
"""

import argparse
import base64
import http.server
import ipaddress
import itertools
import json
import os
import signal
import socket
import ssl
import subprocess
import sys
import threading
import time

CONTROL_PREFIX = "/_standin/"

# The fields of a "stream" script (all optional):
STREAM_FIELDS = {
    "content": "the assistant text the events carry (default: the demo answer)",
    "first_token_ms": "delay before the first token (default: the server's --first-token-ms)",
    "tokens_per_second": "pace of the tokens after the first; 0 sends them at once (default: --tokens-per-second)",
    "token_chars": "characters per token (default 4)",
    "chunk_bytes": "write the stream in pieces of this many bytes, splitting lines, UTF-8 sequences "
                   "and escapes (default 0: one write per event)",
    "chunk_gap_ms": "pause between those pieces (default 0)",
    "keepalive_every": "a keep-alive comment after every N tokens (default 0: none)",
    "error_after_tokens": "after N tokens send an error event and end the stream",
    "drop_after_tokens": "after N tokens close the connection without ending the stream",
    "stall_after_tokens": "after N tokens send nothing for stall_ms, then go on",
    "stall_ms": "the length of that stall",
    "refuse": "\"error\": answer 400 naming stream; \"plain\": answer a plain JSON completion",
}
MAX_REQUEST_BODY = 64 * 1024 * 1024


class State:
    """Scripts and the request log, shared by all handler threads."""

    def __init__(self):
        self.lock = threading.Lock()
        self.scripts = []  # dicts with the script fields plus "remaining"
        self.requests = []
        self.connections = []
        self.connection_ids = itertools.count(1)
        self.token_ids = itertools.count(1)
        self.email = "student@example.com"

    def reset(self):
        with self.lock:
            self.scripts.clear()
            self.requests.clear()
            self.connections.clear()

    def add_script(self, script):
        script = dict(script)
        script["remaining"] = int(script.get("count", 1))
        with self.lock:
            self.scripts.append(script)

    def take_script(self, path):
        with self.lock:
            for script in self.scripts:
                if script.get("path") not in (path, "*"):
                    continue
                if script["remaining"] == 0:
                    continue
                if script["remaining"] > 0:
                    script["remaining"] -= 1
                return script
        return None

    def record_connection(self, entry):
        with self.lock:
            self.connections.append(entry)

    def recorded_connections(self):
        with self.lock:
            return [dict(c) for c in self.connections]

    def record(self, entry):
        with self.lock:
            self.requests.append(entry)

    def mark_answered(self, entry):
        self.mark(entry, "answered_ms")

    def mark(self, entry, name):
        with self.lock:
            entry[name] = now_ms()

    def recorded(self):
        with self.lock:
            return [dict(entry) for entry in self.requests]


def parse_json(body):
    try:
        return json.loads(body.decode("utf-8")) if body else {}
    except (ValueError, UnicodeDecodeError):
        return None


def now_ms():
    return time.monotonic() * 1000.0


def tutor_content():
    return json.dumps({
        "answer": "$x = 4$",
        "explanation": "Subtract 3 from both sides to get $2x = 8$, then divide by 2.",
        "option": None,
    })


def model_of(request):
    model = request.get("model") if isinstance(request, dict) else None
    return model if isinstance(model, str) else "standin-model"


def chat_completion(request, content=None):
    return {
        "id": "chatcmpl-standin",
        "object": "chat.completion",
        "created": int(time.time()),
        "model": model_of(request),
        "choices": [{
            "index": 0,
            "message": {"role": "assistant", "content": tutor_content() if content is None else content},
            "finish_reason": "stop",
        }],
        "usage": {"prompt_tokens": 100, "completion_tokens": 40, "total_tokens": 140},
    }


def stream_tokens(content, token_chars):
    size = max(1, int(token_chars))
    return [content[i:i + size] for i in range(0, len(content), size)]


def stream_event(value):
    text = value if isinstance(value, str) else json.dumps(value, ensure_ascii=False)
    return ("data: %s\n\n" % text).encode("utf-8")


def stream_chunk(request, delta, finish=None):
    return {
        "id": "chatcmpl-standin",
        "object": "chat.completion.chunk",
        "created": int(time.time()),
        "model": model_of(request),
        "choices": [{"index": 0, "delta": delta, "finish_reason": finish}],
    }


class Dropped(Exception):
    """The script ends the stream by closing the connection."""


class EndedEarly(Exception):
    """The script ends the stream after an error event."""


class EventStream:
    """Writes one chat-completions event stream as a chunked HTTP body, paced as scripted."""

    def __init__(self, handler, script, request):
        self.handler = handler
        self.script = script
        self.request = request
        self.start = time.monotonic()
        options = handler.server.stream_options
        self.first_token_ms = float(script.get("first_token_ms", options["first_token_ms"]))
        self.tokens_per_second = float(script.get("tokens_per_second", options["tokens_per_second"]))

    def number(self, name):
        value = self.script.get(name)
        return None if value is None else int(value)

    def write(self, data):
        size = int(self.script.get("chunk_bytes", 0))
        gap = float(self.script.get("chunk_gap_ms", 0)) / 1000.0
        pieces = [data[i:i + size] for i in range(0, len(data), size)] if size > 0 else [data]
        for n, piece in enumerate(pieces):
            if n and gap:
                time.sleep(gap)
            self.handler.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))

    def wait_for_token(self, n):
        due = self.first_token_ms / 1000.0
        if self.tokens_per_second > 0:
            due += n / self.tokens_per_second
        left = self.start + due - time.monotonic()
        if left > 0:
            time.sleep(left)

    def play(self, entry):
        content = self.script.get("content")
        tokens = stream_tokens(tutor_content() if content is None else content,
                               self.script.get("token_chars", 4))
        keepalive = int(self.script.get("keepalive_every", 0))
        self.write(stream_event(stream_chunk(self.request, {"role": "assistant", "content": ""})))
        for n, token in enumerate(tokens):
            self.before_token(n)
            self.wait_for_token(n)
            self.write(stream_event(stream_chunk(self.request, {"content": token})))
            if n == 0:
                self.handler.server.state.mark(entry, "first_content_ms")
            if keepalive and (n + 1) % keepalive == 0:
                self.write(b": keep-alive\n\n")
        self.before_token(len(tokens))
        self.write(stream_event(stream_chunk(self.request, {}, "stop")))
        self.write(stream_event("[DONE]"))

    def before_token(self, n):
        if n == self.number("stall_after_tokens"):
            time.sleep(float(self.script.get("stall_ms", 0)) / 1000.0)
        if n == self.number("drop_after_tokens"):
            raise Dropped()
        if n == self.number("error_after_tokens"):
            self.write(stream_event({"error": {"message": "The stand-in failed on purpose.",
                                               "type": "server_error"}}))
            raise EndedEarly()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "TaviskStandin/1.0"

    def setup(self):
        self.request.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.connection_id = next(self.server.state.connection_ids)
        self.connection_entry = {"connection": self.connection_id, "tls": None, "received": False}
        self.server.state.record_connection(self.connection_entry)
        if self.server.tls is not None:
            try:
                self.request = self.server.tls.wrap_socket(self.request, server_side=True)
                self.connection_entry["tls"] = self.request.version()
            except (ssl.SSLError, OSError) as error:
                self.connection_entry["tls"] = "refused: %s" % error
                raise
        super().setup()

    def handle_one_request(self):
        try:
            super().handle_one_request()
        except (ssl.SSLError, ConnectionError):
            self.close_connection = True
        if getattr(self, "raw_requestline", b""):
            self.connection_entry["received"] = True

    def acknowledge_at_once(self):
        """Acknowledges a request's headers now rather than after the usual delay, before the body
        is read. Wine's WinHTTP writes the headers and the body in two sends, and on a connection
        kept alive the body would wait for that acknowledgement (some 40 ms on Linux) before it
        left the program."""
        if hasattr(socket, "TCP_QUICKACK"):
            try:
                self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_QUICKACK, 1)
            except OSError:
                pass

    def log_message(self, fmt, *args):
        pass  # quiet: tests read the request log instead

    def do_GET(self):
        self.handle_any()

    def do_POST(self):
        self.handle_any()

    def do_PUT(self):
        self.handle_any()

    def do_DELETE(self):
        self.handle_any()

    def do_HEAD(self):
        # A bare look at the server (the diagnostic report's): recorded, answered without a body.
        entry = self.describe(b"")
        self.server.state.record(entry)
        self.send_response(404)
        self.send_header("Content-Length", "0")
        self.end_headers()
        self.server.state.mark_answered(entry)

    # ---- plumbing -------------------------------------------------------------------------
    def read_body(self):
        length = self.headers.get("Content-Length")
        if length is None:
            return b""
        try:
            length = int(length)
        except ValueError:
            length = -1
        if length < 0 or length > MAX_REQUEST_BODY:
            self.close_connection = True
            return None
        return self.rfile.read(length)

    def send(self, status, body, headers=None):
        if isinstance(body, str):
            body = body.encode("utf-8")
        self.send_response(status)
        names = set()
        for name, value in (headers or {}).items():
            self.send_header(name, str(value))
            names.add(name.lower())
        if "content-type" not in names:
            self.send_header("Content-Type", "application/json")
        # Say so when the client asked to close: otherwise WinHTTP pools the socket this server is
        # about to close, and its next request on it fails.
        if self.headers.get("Connection", "").lower() == "close" and "connection" not in names:
            self.send_header("Connection", "close")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_json(self, status, value):
        self.send(status, json.dumps(value))

    def send_huge(self, status, size, headers=None):
        self.send_response(status)
        for name, value in (headers or {}).items():
            self.send_header(name, str(value))
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        chunk = b"x" * 65536
        left = size
        try:
            while left > 0:
                piece = chunk[:min(left, len(chunk))]
                self.wfile.write(piece)
                left -= len(piece)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def send_stream(self, script, request, entry):
        refuse = script.get("refuse")
        if refuse == "error":
            self.send_json(400, {"error": {"message": "stream is not supported for this model",
                                           "type": "invalid_request_error", "param": "stream"}})
            return
        if refuse == "plain":
            self.send_json(200, chat_completion(request, script.get("content")))
            return
        stream = EventStream(self, script, request)
        self.send_response(200)
        self.send_header("Content-Type", "text/event-stream")
        self.send_header("Cache-Control", "no-cache")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        try:
            stream.play(entry)
        except EndedEarly:
            pass
        except Dropped:
            self.drop()
            return
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
            return
        try:
            self.wfile.write(b"0\r\n\r\n")
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def drop(self):
        self.close_connection = True
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    # ---- dispatch -------------------------------------------------------------------------
    def handle_any(self):
        self.acknowledge_at_once()
        body = self.read_body()
        if body is None:
            self.send_json(413, {"error": "request body too large"})
            return
        path = self.path.split("?", 1)[0]
        if path.startswith(CONTROL_PREFIX):
            self.handle_control(path[len(CONTROL_PREFIX):], body)
            return
        entry = self.describe(body)
        self.server.state.record(entry)
        script = self.server.state.take_script(path)
        if script is not None:
            self.play(script, body, entry)
        else:
            self.answer_default(path, body, entry)
        self.server.state.mark_answered(entry)

    def describe(self, body):
        entry = {
            "method": self.command,
            "path": self.path,
            "headers": [[name, value] for name, value in self.headers.items()],
            "body_base64": base64.b64encode(body).decode("ascii"),
            "connection": self.connection_id,
            "received_ms": now_ms(),
        }
        try:
            entry["body"] = body.decode("utf-8")
        except UnicodeDecodeError:
            pass
        return entry

    def play(self, script, body, entry):
        delay = script.get("delay_ms", 0)
        if delay:
            time.sleep(delay / 1000.0)
        action = script.get("action", "reply")
        status = int(script.get("status", 200))
        headers = script.get("headers") or {}
        if action == "drop":
            self.drop()
        elif action == "close":
            self.send(status, script.get("body", ""), headers)
            self.close_connection = True
        elif action == "huge":
            self.send_huge(status, int(script.get("huge_bytes", 0)), headers)
        elif action == "stream":
            self.send_stream(script, parse_json(body), entry)
        elif "body_base64" in script:
            self.send(status, base64.b64decode(script["body_base64"]), headers)
        else:
            self.send(status, script.get("body", ""), headers)

    def handle_control(self, name, body):
        state = self.server.state
        if name == "reset" and self.command == "POST":
            state.reset()
            self.send_json(200, {"ok": True})
        elif name == "requests" and self.command == "GET":
            self.send_json(200, {"requests": state.recorded()})
        elif name == "connections" and self.command == "GET":
            self.send_json(200, {"connections": state.recorded_connections()})
        elif name == "script" and self.command == "POST":
            try:
                script = json.loads(body.decode("utf-8"))
                if not isinstance(script, dict) or not isinstance(script.get("path"), str):
                    raise ValueError("a script needs a string \"path\"")
                state.add_script(script)
            except (ValueError, UnicodeDecodeError) as error:
                self.send_json(400, {"error": str(error)})
                return
            self.send_json(200, {"ok": True})
        else:
            self.send_json(404, {"error": "unknown control request"})

    # ---- default answers ------------------------------------------------------------------
    def answer_default(self, path, body, entry):
        request = parse_json(body)
        if path.endswith("/chat/completions") and self.command == "POST":
            if isinstance(request, dict) and request.get("stream") is True:
                self.send_stream({}, request, entry)
            else:
                self.send_json(200, chat_completion(request))
        elif path == "/v1/solve" and self.command == "POST":
            self.send_json(200, self.solve_reply())
        elif path == "/v1/auth/send-code" and self.command == "POST":
            self.send_json(200, {"ok": True})
        elif path == "/v1/auth/verify" and self.command == "POST":
            self.answer_tokens(request)
        elif path == "/v1/auth/refresh" and self.command == "POST":
            self.answer_tokens(None)
        elif path == "/v1/me" and self.command == "GET":
            signed_in = self.headers.get("Authorization", "").startswith("Bearer ")
            account = {"email": self.server.state.email} if signed_in else {}
            self.send_json(200, {"account": account})
        else:
            self.send_json(404, {"error": "not found"})

    def solve_reply(self):
        return {
            "reply": {
                "status": "answer",
                "answer": "$x = 4$",
                "explanation": "Subtract 3 from both sides, then divide by 2.",
                "option": None,
            },
            "account": {"email": self.server.state.email},
        }

    def answer_tokens(self, request):
        state = self.server.state
        if isinstance(request, dict) and isinstance(request.get("email"), str) and request["email"]:
            state.email = request["email"]
        n = next(state.token_ids)
        self.send_json(200, {
            "access_token": "standin-access-%d" % n,
            "refresh_token": "standin-refresh-%d" % n,
            "email": state.email,
            "account": {"email": state.email},
        })


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, host="127.0.0.1", tls=None, stream_options=None):
        family, address = loopback_address(host, port)
        self.address_family = family
        super().__init__(address, Handler)
        self.state = State()
        self.tls = tls
        self.stream_options = stream_options or {"first_token_ms": 0, "tokens_per_second": 0}

    def handle_error(self, request, client_address):
        if isinstance(sys.exc_info()[1], (ssl.SSLError, ConnectionError)):
            return  # a refused handshake or a peer gone: recorded in the connection log
        super().handle_error(request, client_address)


def loopback_address(host, port):
    """The family and address to bind for `host`: the first address it resolves to, which the
    clients on this machine connect to first. Only a loopback address is accepted."""
    family, _, _, _, address = socket.getaddrinfo(host, port, type=socket.SOCK_STREAM)[0]
    if not ipaddress.ip_address(address[0]).is_loopback:
        raise SystemExit("standin: %s is not a loopback address (%s)" % (host, address[0]))
    return family, address[:2] if family == socket.AF_INET else address


def tls_context(cert, key):
    if not cert:
        return None
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.minimum_version = ssl.TLSVersion.TLSv1_2
    context.load_cert_chain(cert, key)
    return context


def write_atomically(path, text):
    temp = path + ".tmp"
    with open(temp, "w") as f:
        f.write(text)
    os.replace(temp, path)


def serve(args):
    server = Server(args.port, args.host, tls_context(args.tls_cert, args.tls_key),
                    {"first_token_ms": args.first_token_ms, "tokens_per_second": args.tokens_per_second})
    port = server.server_address[1]
    if args.state_dir:
        os.makedirs(args.state_dir, exist_ok=True)
        write_atomically(os.path.join(args.state_dir, "pid"), "%d\n" % os.getpid())
        write_atomically(os.path.join(args.state_dir, "port"), "%d\n" % port)
    print("standin listening on %s://%s:%d" % ("https" if server.tls else "http", args.host, port), flush=True)
    signal.signal(signal.SIGTERM, lambda *_: threading.Thread(target=server.shutdown).start())
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    server.server_close()
    return 0


def read_pid(state_dir):
    try:
        with open(os.path.join(state_dir, "pid")) as f:
            return int(f.read().strip())
    except (OSError, ValueError):
        return None


def process_alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    return True


def stop(args):
    pid = read_pid(args.state_dir)
    if pid is not None and process_alive(pid):
        os.kill(pid, signal.SIGTERM)
        deadline = time.monotonic() + 10
        while process_alive(pid) and time.monotonic() < deadline:
            time.sleep(0.05)
        if process_alive(pid):
            os.kill(pid, signal.SIGKILL)
    for name in ("pid", "port"):
        try:
            os.remove(os.path.join(args.state_dir, name))
        except OSError:
            pass
    return 0


def start(args):
    os.makedirs(args.state_dir, exist_ok=True)
    stop(args)  # a stale one from an interrupted run
    log = open(os.path.join(args.state_dir, "standin.log"), "ab")
    command = [sys.executable, os.path.abspath(__file__), "serve", "--port", str(args.port),
               "--state-dir", args.state_dir, "--host", args.host,
               "--first-token-ms", str(args.first_token_ms), "--tokens-per-second", str(args.tokens_per_second)]
    if args.tls_cert:
        command += ["--tls-cert", args.tls_cert, "--tls-key", args.tls_key]
    child = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                             start_new_session=True)
    port_file = os.path.join(args.state_dir, "port")
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if os.path.exists(port_file):
            with open(port_file) as f:
                print("standin listening on %s://%s:%s" % ("https" if args.tls_cert else "http", args.host,
                                                          f.read().strip()))
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.02)
    print("standin did not start (see %s)" % os.path.join(args.state_dir, "standin.log"),
          file=sys.stderr)
    if child.poll() is None:
        child.kill()
    return 1


def main(argv):
    parser = argparse.ArgumentParser(description="Local stand-in of the tutor's remote services.")
    commands = parser.add_subparsers(dest="command", required=True)
    serve_parser = commands.add_parser("serve", help="run in the foreground")
    serve_parser.add_argument("--state-dir")
    start_parser = commands.add_parser("start", help="run in the background")
    start_parser.add_argument("--state-dir", required=True)
    for listening in (serve_parser, start_parser):
        listening.add_argument("--port", type=int, default=0)
        listening.add_argument("--host", default="127.0.0.1")
        listening.add_argument("--tls-cert")
        listening.add_argument("--tls-key")
        listening.add_argument("--first-token-ms", type=float, default=0,
                               help="delay before the first token of an unscripted stream")
        listening.add_argument("--tokens-per-second", type=float, default=0,
                               help="pace of an unscripted stream's tokens (0: at once)")
    stop_parser = commands.add_parser("stop", help="stop a background stand-in")
    stop_parser.add_argument("--state-dir", required=True)
    args = parser.parse_args(argv)
    return {"serve": serve, "start": start, "stop": stop}[args.command](args)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
