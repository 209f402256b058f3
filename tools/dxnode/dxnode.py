#!/usr/bin/env python3
"""A DX cluster node stand-in for ruDOZ's tests and demo, on 127.0.0.1 only. It plays
what real nodes do to their users:

  - "login: " without a line end (--call-prompt: "Please enter your call:"), then
    "password: " when --password is set; a wrong password or a call in --refuse gets
    "Sorry ..." and the connection is closed;
  - a greeting, then the node's prompt "CALL de NODE  9-Dec-2026 1234Z dxspider >"
    without a line end, again after every command;
  - "sh/dx N": the last N lines of --backlog in the sh/dx layout
    ("14025.0 UA1ABC  9-Dec-2026 1234Z comment <SPOTTER>"), paged by --page lines
    with "Press Enter to continue, A to abort (N lines) >";
  - the live spots of --spots, one line of the file each, at --rate lines a second
    (the first --first-after seconds after the login),
    with BEL bytes before each (--bel) and LF alone as line end (--lf);
  - --flood N: N skimmer spots as fast as they go after the file's;
  - --trickle: every line goes out a few bytes at a time;
  - --drop-after N: after N live spots the node falls silent, reads nothing and
    closes nothing (a dead connection nobody closed);
  - --bump-after N: after N live spots "CALL already connected, this instance is
    disconnected" and the connection is closed.

In the files, {now} is the time now as HHMMZ, {ago:M} the time M minutes ago,
{date} and {date:M} the date then ("9-Dec-2026"); lines beginning with "#" are
skipped. Each event goes to --log as one line: seconds since the start, the
connection's number, what happened ("connect", "got LINE", "sent N spots",
"close"). The port goes to standard output ("dxnode: listening on 127.0.0.1:PORT")
and to --port-file. Everything is bounded: --max-seconds, --max-connections.
"""
import argparse
import datetime
import os
import random
import re
import socket
import sys
import threading
import time

NODE = "RU3AB-7"


def now_utc():
    return datetime.datetime.now(datetime.timezone.utc)


def expand(line, at=None):
    """The placeholders of a spot file's line filled in."""
    at = at or now_utc()

    def when(minutes):
        return at - datetime.timedelta(minutes=int(minutes or 0))

    line = re.sub(r"\{now\}", lambda m: at.strftime("%H%MZ"), line)
    line = re.sub(r"\{ago:(\d+)\}", lambda m: when(m.group(1)).strftime("%H%MZ"), line)
    line = re.sub(r"\{date(?::(\d+))?\}",
                  lambda m: f"{when(m.group(1)).day}-{when(m.group(1)).strftime('%b-%Y')}", line)
    return line


def expand_bytes(line):
    """The same for a line of bytes in any code page: its other bytes stay as they are."""
    return expand(line.decode("latin-1")).encode("latin-1") if b"{" in line else line


def read_lines(path):
    if not path:
        return []
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    return [l.rstrip(b"\r") for l in lines if l.strip() and not l.startswith(b"#")]


class Node:
    def __init__(self, args):
        self.args = args
        self.start = time.monotonic()
        self.spots = read_lines(args.spots)
        self.backlog = read_lines(args.backlog)
        self.lock = threading.Lock()
        self.log_file = open(args.log, "a", encoding="utf-8") if args.log else None
        self.count = 0

    def log(self, n, text):
        line = f"{time.monotonic() - self.start:.3f} {n} {text}"
        with self.lock:
            if self.log_file:
                self.log_file.write(line + "\n")
                self.log_file.flush()
            else:
                print(line, flush=True)

    def deadline(self):
        return self.start + self.args.max_seconds


class Session:
    def __init__(self, node, sock, n):
        self.node, self.sock, self.n, self.args = node, sock, n, node.args
        self.buffer = b""
        self.sock.settimeout(1.0)

    def end(self):
        return "\n" if self.args.lf else "\r\n"

    def send(self, text):
        data = text if isinstance(text, bytes) else text.encode("utf-8")
        if self.args.trickle:
            for i in range(0, len(data), 3):
                self.sock.sendall(data[i:i + 3])
                time.sleep(0.002)
        else:
            self.sock.sendall(data)

    def send_line(self, text):
        data = text if isinstance(text, bytes) else text.encode("utf-8")
        self.send((b"\a" if self.args.bel else b"") + data + self.end().encode())

    def read_line(self, timeout=60):
        """One line from the user; None at a close or after `timeout` s."""
        end = min(time.monotonic() + timeout, self.node.deadline())
        while b"\n" not in self.buffer:
            if time.monotonic() > end:
                return None
            try:
                data = self.sock.recv(4096)
            except socket.timeout:
                continue
            if not data:
                return None
            self.buffer += data
        line, _, self.buffer = self.buffer.partition(b"\n")
        text = line.rstrip(b"\r").decode("utf-8", "replace")
        self.node.log(self.n, "got " + text)
        return text

    def commands_waiting(self):
        """Lines the user sent meanwhile, without waiting."""
        lines = []
        self.sock.setblocking(False)
        try:
            while True:
                data = self.sock.recv(4096)
                if not data:
                    break
                self.buffer += data
        except (BlockingIOError, InterruptedError):
            pass
        finally:
            self.sock.settimeout(1.0)
        while b"\n" in self.buffer:
            line, _, self.buffer = self.buffer.partition(b"\n")
            text = line.rstrip(b"\r").decode("utf-8", "replace")
            self.node.log(self.n, "got " + text)
            lines.append(text)
        return lines

    def prompt(self, call):
        self.send(f"{call} de {NODE} {expand('{date} {now}')} dxspider >")

    def login(self):
        self.send("Please enter your call: " if self.args.call_prompt else "login: ")
        call = self.read_line()
        if not call:
            return None
        call = call.strip().upper()
        if call in self.args.refuse:
            self.send_line(f"Sorry {call} is not allowed to connect to {NODE}")
            return None
        if self.args.password:
            self.send("password: ")
            if self.read_line() != self.args.password:
                self.send_line("Sorry, wrong password")
                return None
        self.send_line(f"Hello {call}, this is {NODE} in Testland running DXSpider")
        self.prompt(call)
        return call

    def command(self, call, text):
        words = text.strip().split()
        if words and words[0].lower() in ("sh/dx", "show/dx"):
            count = int(words[1]) if len(words) > 1 and words[1].isdigit() else 10
            lines = self.node.backlog[-count:] if count else []
            for i, line in enumerate(lines):
                if self.args.page and i and i % self.args.page == 0:
                    self.send(f"Press Enter to continue, A to abort ({len(lines) - i} lines) >")
                    if self.read_line(30) is None:
                        return False
                self.send_line(expand_bytes(line))
            self.node.log(self.n, f"sent {len(lines)} backlog")
        self.prompt(call)
        return True

    def run(self):
        call = self.login()
        if not call:
            return
        sent = 0
        feed = list(self.node.spots)
        rng = random.Random(self.n)
        flood = [f"DX de SK{i % 10}SK-#: {7000 + rng.randint(0, 60)}.{rng.randint(0, 9)} "
                 f"R{rng.randint(1, 9)}{chr(65 + i % 26)}{chr(65 + i // 26 % 26)} CW {rng.randint(1, 40)} dB "
                 f"{rng.randint(15, 35)} WPM CQ {{now}}".encode() for i in range(self.args.flood)]
        pause = 1.0 / self.args.rate if self.args.rate > 0 else 0
        # A quiet moment after the login before the first spot, when asked for.
        quiet_until = min(time.monotonic() + self.args.first_after, self.node.deadline())
        while time.monotonic() < quiet_until:
            time.sleep(0.05)
        for i, line in enumerate(feed + flood):
            if time.monotonic() > self.node.deadline():
                return
            for text in self.commands_waiting():
                if not self.command(call, text):
                    return
            if self.args.drop_after is not None and sent >= self.args.drop_after:
                self.node.log(self.n, f"silent after {sent} spots")
                # Dead, not closed: nothing more, in either direction, until the
                # user gives up or the time is over.
                while time.monotonic() < self.node.deadline():
                    try:
                        if not self.sock.recv(4096, socket.MSG_PEEK):
                            return
                    except socket.timeout:
                        pass
                    time.sleep(0.2)
                return
            if self.args.bump_after is not None and sent >= self.args.bump_after:
                self.send_line(f"{call} already connected, this instance is disconnected")
                self.node.log(self.n, "bumped")
                return
            self.send_line(expand_bytes(line))
            sent += 1
            if pause and i < len(feed):
                time.sleep(pause)
        self.node.log(self.n, f"sent {sent} spots")
        # Then a quiet node that still answers: commands and keepalives.
        while time.monotonic() < self.node.deadline():
            text = self.read_line(timeout=1)
            if text is None:
                if self.buffer == b"" and self.closed():
                    return
                continue
            if not self.command(call, text):
                return

    def closed(self):
        try:
            self.sock.setblocking(False)
            return self.sock.recv(1, socket.MSG_PEEK) == b""
        except (BlockingIOError, InterruptedError):
            return False
        except OSError:
            return True
        finally:
            self.sock.settimeout(1.0)


def serve(node, n, sock):
    node.log(n, "connect")
    try:
        Session(node, sock, n).run()
    except OSError as e:
        node.log(n, f"error {e}")
    finally:
        sock.close()
        node.log(n, "close")


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--port-file")
    p.add_argument("--spots", help="live spot lines, one a line")
    p.add_argument("--backlog", help="sh/dx lines, oldest first")
    p.add_argument("--password")
    p.add_argument("--refuse", action="append", default=[], help="a call refused (repeatable)")
    p.add_argument("--call-prompt", action="store_true")
    p.add_argument("--page", type=int, default=0)
    p.add_argument("--rate", type=float, default=10.0)
    p.add_argument("--first-after", type=float, default=0.0, help="seconds before the first live spot")
    p.add_argument("--bel", action="store_true")
    p.add_argument("--lf", action="store_true")
    p.add_argument("--flood", type=int, default=0)
    p.add_argument("--trickle", action="store_true")
    p.add_argument("--drop-after", type=int)
    p.add_argument("--bump-after", type=int)
    p.add_argument("--log")
    p.add_argument("--max-seconds", type=float, default=600)
    p.add_argument("--max-connections", type=int, default=50)
    args = p.parse_args()
    args.refuse = [c.upper() for c in args.refuse]
    node = Node(args)
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", args.port))
    server.listen(8)
    server.settimeout(0.5)
    port = server.getsockname()[1]
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write(str(port))
        os.replace(args.port_file + ".tmp", args.port_file)
    print(f"dxnode: listening on 127.0.0.1:{port}", flush=True)
    connections = 0
    threads = []
    while time.monotonic() < node.deadline() and connections < args.max_connections:
        try:
            sock, _ = server.accept()
        except socket.timeout:
            continue
        connections += 1
        threads.append(threading.Thread(target=serve, args=(node, connections, sock), daemon=True))
        threads[-1].start()
    server.close()
    for t in threads:
        t.join(max(0.0, node.deadline() - time.monotonic()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
