#!/usr/bin/env python3
"""Loopback stand-in for the maker's web server, for the update tests.

  version_server.py start DIR   starts the server in the background; its port goes to
                                DIR/version-server.port once it listens
  version_server.py stop DIR    ends it

Each test picks a case name and scripts the answer under /<case>/, so tests running at the
same time do not meet:

  GET /_script/<case>?status=N&mode=M&cut=N&repeat=N&body=B
                                 sets the answer: the body (percent-encoded) repeated N times
  GET /_script/<case>/<file>?...&path=P&sign=1
                                 sets the answer of /<case>/<file> alone; path: the body is
                                 read from file P (a path of this machine) when asked for;
                                 sign=1: /<case>/<file>.sig answers the body's Ed25519
                                 signature, made with tools/sign-update.sh and the tests' key
  GET /_hits/<case>                                  requests answered for the case so far
  GET /_last/<case>                                  path and User-Agent of the last request
  GET /<case>/...                                    the scripted answer

Modes: "normal" sends the answer; "truncate" announces the whole body, sends its first `cut`
bytes and closes; "stall" does the same but keeps the connection open without sending more;
"hang" reads the request and never answers.
"""

import http.server
import os
import signal
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

PORT_FILE = "version-server.port"
PID_FILE = "version-server.pid"
LOG_FILE = "version-server.log"
# How long a hanging answer holds its connection; far beyond any client's time-out.
HANG_SECONDS = 300


class Scripts:
    def __init__(self):
        self.lock = threading.Lock()
        self.answers = {}
        self.hits = {}
        self.last = {}


SCRIPTS = Scripts()
STOPPING = threading.Event()


def parse_query(query):
    fields = {}
    for pair in query.split("&"):
        if pair:
            name, _, value = pair.partition("=")
            fields[name] = urllib.parse.unquote_to_bytes(value)
    return fields


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def send_text(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path, _, query = self.path.partition("?")
        parts = path.split("/")
        if len(parts) >= 3 and parts[1] == "_script":
            fields = parse_query(query)
            answer = {
                "status": int(fields.get("status", b"200")),
                "mode": fields.get("mode", b"normal").decode(),
                "cut": int(fields.get("cut", b"0")),
                "body": fields.get("body", b"") * int(fields.get("repeat", b"1")),
                "path": fields.get("path", b"").decode(),
                "sign": fields.get("sign", b"0") == b"1",
            }
            key = "/".join(parts[2:])
            with SCRIPTS.lock:
                SCRIPTS.answers[key] = answer
                SCRIPTS.hits[parts[2]] = 0
                SCRIPTS.last.pop(parts[2], None)
            self.send_text(200, b"scripted")
            return
        if len(parts) >= 3 and parts[1] in ("_hits", "_last"):
            with SCRIPTS.lock:
                if parts[1] == "_hits":
                    body = str(SCRIPTS.hits.get(parts[2], 0)).encode()
                else:
                    body = SCRIPTS.last.get(parts[2], b"")
            self.send_text(200, body)
            return
        case = parts[1] if len(parts) >= 2 else ""
        key = "/".join(parts[1:])
        with SCRIPTS.lock:
            answer = SCRIPTS.answers.get(key)
            if answer is None and key.endswith(".sig"):
                signed = SCRIPTS.answers.get(key[:-4])
                if signed is not None and signed["sign"]:
                    answer = {"status": 200, "mode": "normal", "cut": 0, "signature_of": signed,
                              "body": b"", "path": "", "sign": False}
            if answer is None:
                answer = SCRIPTS.answers.get(case)
            if answer is not None:
                SCRIPTS.hits[case] = SCRIPTS.hits.get(case, 0) + 1
                agent = self.headers.get("User-Agent", "")
                SCRIPTS.last[case] = (self.path + "\n" + agent).encode("latin-1")
        if answer is None:
            self.send_text(404, b"no answer scripted for this case")
            return
        self.answer(answer)

    def answer(self, answer):
        mode, body = answer["mode"], body_of(answer)
        if "signature_of" in answer:
            body = signature(body_of(answer["signature_of"]))
        if mode == "hang":
            STOPPING.wait(HANG_SECONDS)
            self.close_connection = True
            return
        if mode == "normal":
            self.send_text(answer["status"], body)
            return
        self.send_response(answer["status"])
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body[: answer["cut"]])
        self.wfile.flush()
        if mode == "stall":
            STOPPING.wait(HANG_SECONDS)
        self.close_connection = True


def body_of(answer):
    if answer.get("path"):
        with open(answer["path"], "rb") as f:
            return f.read()
    return answer["body"]


def signature(body):
    here = os.path.dirname(os.path.abspath(__file__))
    tool = os.path.join(here, "..", "..", "tools", "sign-update.sh")
    key = os.path.join(here, "renovix", "test-signing-key.pem")
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "body")
        with open(path, "wb") as f:
            f.write(body)
        subprocess.run(["bash", tool, "sign", key, path], check=True)
        with open(path + ".sig", "rb") as f:
            return f.read()


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A client that gave up on a hanging answer is expected; keep the log short.
        print("connection from %s ended: %s" % (client_address, sys.exc_info()[1]), file=sys.stderr)


def serve(folder):
    server = Server(("127.0.0.1", 0), Handler)
    port_path = os.path.join(folder, PORT_FILE)
    with open(port_path + ".new", "w") as f:
        f.write("%d\n" % server.server_address[1])
    os.replace(port_path + ".new", port_path)

    def stop(signum, frame):
        STOPPING.set()
        threading.Thread(target=server.shutdown).start()

    signal.signal(signal.SIGTERM, stop)
    server.serve_forever()


def start(folder):
    stop_server(folder)
    port_path = os.path.join(folder, PORT_FILE)
    # The server outlives this script: it must hold none of the caller's pipes (ctest waits for
    # them), so its standard streams go to a log and every other descriptor is closed.
    with open(os.path.join(folder, LOG_FILE), "ab") as log, open(os.devnull, "rb") as null:
        child = subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", folder],
                                 stdin=null, stdout=log, stderr=log, close_fds=True,
                                 start_new_session=True)
    with open(os.path.join(folder, PID_FILE), "w") as f:
        f.write("%d\n" % child.pid)
    for _ in range(100):
        if os.path.exists(port_path):
            with open(port_path) as f:
                print("version server on 127.0.0.1:%s" % f.read().strip())
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.1)
    print("the version server did not start; see %s" % os.path.join(folder, LOG_FILE))
    return 1


def stop_server(folder):
    pid_path = os.path.join(folder, PID_FILE)
    try:
        with open(pid_path) as f:
            os.kill(int(f.read()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    for name in (PID_FILE, PORT_FILE):
        try:
            os.remove(os.path.join(folder, name))
        except OSError:
            pass
    return 0


def main(argv):
    if len(argv) != 3 or argv[1] not in ("start", "stop", "serve"):
        print("usage: %s start|stop DIR" % argv[0], file=sys.stderr)
        return 2
    folder = os.path.abspath(argv[2])
    if argv[1] == "serve":
        serve(folder)
        return 0
    return start(folder) if argv[1] == "start" else stop_server(folder)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
