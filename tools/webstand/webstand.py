#!/usr/bin/env python3
"""Local stand-in for the two web services of ruDOZ: the confirmation service and the
award's web server. Serves the sample files of data/sample on 127.0.0.1:

  /rda/csv?call=CALL   QJcfm.txt (cfm-CALL.txt when that file exists)
  /rda/regions         regions.html (the Most Wanted page)
  /rda_rus.txt         QJar.txt
  /map/CODE.jpg        map/CODE.jpg

Faults on request, for tests and the demo (each applies to the paths that begin
with PREFIX, default all, for the next COUNT requests, default until cleared):

  /_admin/fault?mode=404|500|truncate|slow|body|text|redirect|...&prefix=/map/&count=1&file=map/huge.jpg&seconds=3
      404 and 500 answer with an error page; truncate announces the whole length
      and closes the connection after half the body; slow waits SECONDS (3) before
      answering; body answers 200 with the sample file FILE instead; text answers
      200 text/plain with TEXT (percent-encoded, its bytes as given); redirect
      answers 302 with FILE (a path) as the new location (without a count, a path
      redirected to itself is a loop). The framing of the body:
      chunked        the body in chunks, ended by the last chunk
      chunked-cut    half the body in chunks, then the connection closes
      nolength       no Content-Length; the connection closes after the body
      gzip           the body gzip-compressed, said by Content-Encoding
      empty          200 with an empty body
      Servers that never finish:
      stall          reads the request and answers nothing for SECONDS (600)
      trickle        200, then a one-byte chunk every SECONDS (1), endlessly
      flood          200, then chunks as fast as they go, endlessly
      huge           200 announcing a 2 GiB body, then zeros
  /_admin/blackhole    the port of a socket that never accepts: a connection
                       to it hangs (its queue is full)
  /_admin/clear        no more faults
  /_admin/log          the request log (one "METHOD PATH STATUS" line per request)
  /_admin/stop         stops listening; the process ends

Every request is logged to standard output and kept for /_admin/log. The port is
printed ("webstand: listening on http://127.0.0.1:PORT") and written to --port-file.
"""
import argparse
import gzip
import os
import signal
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "sample")


class State:
    def __init__(self, root):
        self.root = os.path.realpath(root)
        self.lock = threading.Lock()
        self.fault = None  # dict(mode, prefix, count, file, text, seconds)
        self.log = []
        self.blackhole = None

    def blackhole_port(self):
        """A listening socket whose queue is kept full: a further connection is never
        accepted and hangs until its own time-out."""
        with self.lock:
            if self.blackhole is None:
                listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                listener.bind(("127.0.0.1", 0))
                listener.listen(0)
                fillers = []
                for _ in range(8):  # more than the queue holds; the rest hang unnoticed
                    filler = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                    filler.setblocking(False)
                    filler.connect_ex(listener.getsockname())
                    fillers.append(filler)
                self.blackhole = (listener, fillers)
            return self.blackhole[0].getsockname()[1]

    def take_fault(self, path):
        with self.lock:
            f = self.fault
            if not f or not path.startswith(f["prefix"]):
                return None
            if f["count"] is not None:
                f["count"] -= 1
                if f["count"] <= 0:
                    self.fault = None
            return dict(f)


class Handler(BaseHTTPRequestHandler):
    server_version = "webstand/1"
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):  # the request log below says it all
        pass

    def record(self, status):
        line = f"{self.command} {self.path} {status}"
        with self.server.state.lock:
            self.server.state.log.append(line)
        print(f"webstand: {line}", flush=True)

    def send_body(self, status, body, content_type="application/octet-stream", truncate=False):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        if truncate:
            self.send_header("Connection", "close")
        self.end_headers()
        if truncate:
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.close_connection = True
        else:
            self.wfile.write(body)
        self.record(status if not truncate else f"{status} truncated")

    def error_page(self, status, text):
        body = f"<html><body><h1>{status} {text}</h1></body></html>\n".encode()
        self.send_body(status, body, "text/html")

    def sample(self, name):
        path = os.path.realpath(os.path.join(self.server.state.root, name))
        if not path.startswith(self.server.state.root + os.sep) or not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def admin(self, what, query):
        state = self.server.state
        if what == "fault":
            count = query.get("count", [None])[0]
            with state.lock:
                state.fault = {"mode": query.get("mode", ["404"])[0], "prefix": query.get("prefix", ["/"])[0],
                               "count": int(count) if count else None, "file": query.get("file", [""])[0],
                               "text": query.get("text", [""])[0],
                               "seconds": float(query["seconds"][0]) if "seconds" in query else None}
            self.send_body(200, b"fault set\n", "text/plain")
        elif what == "clear":
            with state.lock:
                state.fault = None
            self.send_body(200, b"cleared\n", "text/plain")
        elif what == "log":
            with state.lock:
                text = "".join(line + "\n" for line in state.log)
            self.send_body(200, text.encode(), "text/plain")
        elif what == "blackhole":
            self.send_body(200, f"{state.blackhole_port()}\n".encode(), "text/plain")
        elif what == "stop":
            self.send_body(200, b"stopping\n", "text/plain")
            threading.Thread(target=self.server.shutdown, daemon=True).start()
        else:
            self.error_page(404, "Not Found")

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query, keep_blank_values=True, encoding="latin-1")
        if url.path.startswith("/_admin/"):
            return self.admin(url.path[len("/_admin/"):], query)

        fault = self.server.state.take_fault(url.path)
        mode = fault["mode"] if fault else None
        if mode == "404":
            return self.error_page(404, "Not Found")
        if mode == "500":
            return self.error_page(500, "Internal Server Error")
        if mode == "slow":
            time.sleep(3 if fault["seconds"] is None else fault["seconds"])
        if mode == "redirect":
            self.send_response(302)
            self.send_header("Location", fault["file"])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return self.record(302)

        if url.path == "/rda/csv":
            call = query.get("call", [""])[0]
            body = (self.sample(f"cfm-{call}.txt") if call and "/" not in call else None) or self.sample("QJcfm.txt")
        elif url.path == "/rda/regions":
            body = self.sample("regions.html")
        elif url.path == "/rda_rus.txt":
            body = self.sample("QJar.txt")
        elif url.path.startswith("/map/") and url.path.endswith(".jpg"):
            body = self.sample("map/" + url.path[len("/map/"):])
        else:
            body = None
        if mode == "body":
            body = self.sample(fault["file"])
        if mode == "text":
            return self.send_body(200, fault["text"].encode("latin-1"), "text/plain")
        if body is None:
            return self.error_page(404, "Not Found")
        self.send_framed(body, mode, fault)

    def send_framed(self, body, mode, fault):
        """The body as the fault asks for it; without one, whole with its length."""
        if mode in ("truncate", None, "slow", "body"):
            return self.send_body(200, body, truncate=(mode == "truncate"))
        if mode == "empty":
            return self.send_body(200, b"")
        if mode == "gzip":
            return self.send_gzip(body)
        if mode == "stall":
            self.record("stalled")
            time.sleep(600 if fault["seconds"] is None else fault["seconds"])
            self.close_connection = True
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if mode == "huge":
            self.send_header("Content-Length", str(2 ** 31))
        elif mode == "nolength":
            self.send_header("Connection", "close")
        else:
            self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        self.close_connection = True
        self.record(f"200 {mode}")
        try:
            if mode == "nolength":
                self.wfile.write(body)
            elif mode == "chunked":
                for at in range(0, len(body), 1000):
                    self.write_chunk(body[at:at + 1000])
                self.wfile.write(b"0\r\n\r\n")
            elif mode == "chunked-cut":
                self.write_chunk(body[: len(body) // 2])
            elif mode == "trickle":
                while True:
                    self.write_chunk(b"x")
                    time.sleep(1 if fault["seconds"] is None else fault["seconds"])
            elif mode in ("flood", "huge"):
                block = bytes(65536)
                while True:
                    if mode == "flood":
                        self.write_chunk(block)
                    else:
                        self.wfile.write(block)
            self.wfile.flush()
        except OSError:
            pass  # the client went away: the end of every endless answer

    def write_chunk(self, data):
        self.wfile.write(b"%x\r\n%s\r\n" % (len(data), data))
        self.wfile.flush()

    def send_gzip(self, body):
        packed = gzip.compress(body, mtime=0)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(packed)))
        self.end_headers()
        self.wfile.write(packed)
        self.record("200 gzip")


def write_atomically(path, text):
    with open(path + ".tmp", "w") as f:
        f.write(text)
    os.replace(path + ".tmp", path)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--root", default=ROOT, help="folder of the sample files (default data/sample)")
    ap.add_argument("--port", type=int, default=0, help="port to listen on (default: any free one)")
    ap.add_argument("--port-file", help="write the port number into this file once listening")
    ap.add_argument("--detach", action="store_true",
                    help="go on in the background once listening; write the process id to --pid-file")
    ap.add_argument("--pid-file", help="file for the process id (with --detach)")
    ap.add_argument("--log-file", help="append the request log here instead of standard output")
    ap.add_argument("--stop", metavar="PIDFILE", help="stop the stand-in whose process id PIDFILE holds")
    args = ap.parse_args()

    if args.stop:
        try:
            with open(args.stop) as f:
                pid = int(f.read().strip())
            os.kill(pid, signal.SIGTERM)
            print(f"webstand: stopped {pid}")
        except (OSError, ValueError) as e:
            print(f"webstand: nothing to stop ({e})")
        return 0

    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.state = State(args.root)
    port = server.server_address[1]

    # The socket listens already: requests wait in its queue until serving starts,
    # so whoever reads the port file may connect at once.
    print(f"webstand: listening on http://127.0.0.1:{port}", flush=True)
    if args.port_file:
        write_atomically(args.port_file, f"{port}\n")
    if args.detach:
        child = os.fork()
        if child:
            if args.pid_file:
                write_atomically(args.pid_file, f"{child}\n")
            os._exit(0)
        os.setsid()
        devnull = os.open(os.devnull, os.O_RDWR)
        os.dup2(devnull, 0)
        if not args.log_file:
            os.dup2(devnull, 1)
            os.dup2(devnull, 2)
    elif args.pid_file:
        write_atomically(args.pid_file, f"{os.getpid()}\n")
    if args.log_file:
        out = os.open(args.log_file, os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644)
        os.dup2(out, 1)
        os.dup2(out, 2)
    signal.signal(signal.SIGTERM, lambda *_: threading.Thread(target=server.shutdown, daemon=True).start())
    server.serve_forever()
    server.server_close()
    print("webstand: stopped listening", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
