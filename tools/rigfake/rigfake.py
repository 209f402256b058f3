#!/usr/bin/env python3
"""A small stand-in for Hamlib's rig daemon rigctld, on 127.0.0.1 only, for what the
real daemon with its dummy radio never does. It speaks rigctld's line protocol
(F, f, M, m, \\dump_state, \\chk_vfo; "RPRT N" answers) for a radio of its own, and
takes control lines (beginning with "#") on any connection:

  #quiet PREFIX    commands beginning with PREFIX get no answer at all
  #reject PREFIX   commands beginning with PREFIX are answered "RPRT -9"
  #drop PREFIX     the next command beginning with PREFIX closes the connection
                   without an answer (once)
  #vfo 1|0         VFO mode: \\chk_vfo answers 1, every command must name its VFO
                   ("F currVFO 14025000"); one without gets no answer, as rigctld
  #split 1|0       each answer goes out in pieces of a few bytes
  #freq HZ         the radio's frequency, as if turned by hand
  #log             the commands received so far, "N COMMAND" (N: the connection,
                   counted from 1 among those that sent commands), then "END"
  #reset           all of the above back to the start; the log emptied
  #stop            the stand-in ends

The answer to \\dump_state always goes out in one piece, its lines run together.

  rigfake.py --detach --port-file FILE --pid-file FILE [--lifetime SECONDS]
  rigfake.py --stop PIDFILE
  rigfake.py --send PORTFILE LINE
      sends one control line to the stand-in whose port PORTFILE holds and prints
      its answer
  rigfake.py --rigctld --detach --port-file FILE --pid-file FILE
      starts Debian's real rigctld with the dummy radio (-m 1) on a free loopback
      port instead, bounded by --lifetime
"""
import argparse
import os
import signal
import socket
import subprocess
import sys
import threading
import time

DUMP_STATE = "\n".join([
    "1", "1", "0",
    "150000.000000 1500000000.000000 0x1ff -1 -1 0x77e00007 0xf", "0 0 0 0 0 0 0",
    "150000.000000 1500000000.000000 0x1ff 5000 100000 0x77e00007 0xf", "0 0 0 0 0 0 0",
    "0x1ff 1", "0 0", "0xc 2400", "0 0",
    "9990", "9990", "10000", "0", "10 ", "10 20 30 ",
    "0xffffffffffffffff", "0xffffffffffffffff", "0xfffffffff7ffffff",
    "0xffffff7083ffffff", "0xffffffffffffffff", "0xffffffffffffffbf",
    # What newer daemons add after the figures.
    "vfo_ops=0x0", "done"]) + "\n"


class Radio:
    def __init__(self):
        self.lock = threading.Lock()
        self.reset()
        self.stop = threading.Event()

    def reset(self):
        self.quiet, self.reject, self.drop = [], [], []
        self.vfo = False
        self.split = False
        self.freq, self.mode = 14025000, "CW"
        self.log = []
        self.connections = 0  # those that sent a command, numbered from 1


def answer(radio, words):
    """The answer lines to one command, None for no answer."""
    cmd, args = words[0], words[1:]
    if cmd == "\\dump_state":
        return DUMP_STATE
    if cmd == "\\chk_vfo":
        return "1\n" if radio.vfo else "0\n"
    if cmd in ("F", "f", "M", "m"):
        if radio.vfo:
            if not args or args[0] not in ("currVFO", "VFOA", "VFOB", "Main"):
                return None  # rigctld waits for the rest of the command
            args = args[1:]
        if cmd == "F":
            if len(args) != 1 or not args[0].isdigit():
                return "RPRT -1\n"
            radio.freq = int(args[0])
            return "RPRT 0\n"
        if cmd == "f":
            return "%d\n" % radio.freq
        if cmd == "M":
            if len(args) != 2:
                return "RPRT -1\n"
            radio.mode = args[0]
            return "RPRT 0\n"
        return "%s\n%d\n" % (radio.mode, 2400)
    return None  # an unknown command gets nothing


def control(radio, words):
    cmd, arg = words[0], " ".join(words[1:])
    with radio.lock:
        if cmd == "#quiet":
            radio.quiet.append(arg)
        elif cmd == "#reject":
            radio.reject.append(arg)
        elif cmd == "#drop":
            radio.drop.append(arg)
        elif cmd == "#vfo":
            radio.vfo = arg == "1"
        elif cmd == "#split":
            radio.split = arg == "1"
        elif cmd == "#freq":
            radio.freq = int(arg)
        elif cmd == "#log":
            return "".join(line + "\n" for line in radio.log) + "END\n"
        elif cmd == "#reset":
            radio.reset()
        elif cmd == "#stop":
            radio.stop.set()
        else:
            return "unknown control\n"
    return "OK\n"


def serve_connection(radio, conn):
    number = None
    conn.settimeout(300)
    conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    buffer = b""
    try:
        while not radio.stop.is_set():
            data = conn.recv(4096)
            if not data:
                return
            buffer += data
            while b"\n" in buffer:
                raw, buffer = buffer.split(b"\n", 1)
                line = raw.decode("latin-1").strip()
                words = line.split()
                if not words:
                    continue
                if words[0].startswith("#"):
                    conn.sendall(control(radio, words).encode())
                    continue
                with radio.lock:
                    if number is None:
                        radio.connections += 1
                        number = radio.connections
                    radio.log.append("%d %s" % (number, line))
                    if any(line.startswith(p) for p in radio.drop):
                        radio.drop = [p for p in radio.drop if not line.startswith(p)]
                        return
                    if any(line.startswith(p) for p in radio.quiet):
                        continue
                    reply = "RPRT -9\n" if any(line.startswith(p) for p in radio.reject) else answer(radio, words)
                    split = radio.split and words[0] != "\\dump_state"
                if reply is None:
                    continue
                if not split:
                    conn.sendall(reply.encode())
                    continue
                for i in range(0, len(reply), 3):
                    conn.sendall(reply[i:i + 3].encode())
                    time.sleep(0.01)
    except OSError:
        return
    finally:
        conn.close()


def serve(port_file, lifetime):
    radio = Radio()
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    listener.settimeout(0.5)
    port = listener.getsockname()[1]
    write_port(port_file, port)
    print("rigfake: listening on 127.0.0.1:%d" % port, flush=True)
    deadline = time.monotonic() + lifetime
    while not radio.stop.is_set() and time.monotonic() < deadline:
        try:
            conn, _ = listener.accept()
        except socket.timeout:
            continue
        threading.Thread(target=serve_connection, args=(radio, conn), daemon=True).start()
    listener.close()


def write_port(port_file, port):
    if port_file:
        with open(port_file + ".tmp", "w") as f:
            f.write("%d\n" % port)
        os.replace(port_file + ".tmp", port_file)


def free_port():
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def start_rigctld(port_file, pid_file, lifetime):
    """The real daemon, dummy radio, loopback only; up once it takes a connection."""
    port = free_port()
    proc = subprocess.Popen(["timeout", str(int(lifetime)), "rigctld", "-m", "1", "-T", "127.0.0.1",
                             "-t", str(port)], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    with open(pid_file, "w") as f:
        f.write("%d\n" % proc.pid)
    for _ in range(100):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            break
        except OSError:
            time.sleep(0.1)
    else:
        sys.exit("rigfake: rigctld did not start")
    write_port(port_file, port)
    print("rigfake: rigctld -m 1 on 127.0.0.1:%d" % port, flush=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--port-file")
    ap.add_argument("--pid-file")
    ap.add_argument("--detach", action="store_true", help="run in the background")
    ap.add_argument("--lifetime", type=float, default=900, help="seconds before it ends by itself")
    ap.add_argument("--rigctld", action="store_true", help="start the real rigctld -m 1 instead")
    ap.add_argument("--stop", metavar="PIDFILE")
    ap.add_argument("--send", nargs=2, metavar=("PORTFILE", "LINE"))
    args = ap.parse_args()
    if args.send:
        with open(args.send[0]) as f, socket.create_connection(("127.0.0.1", int(f.read())), timeout=10) as s:
            s.sendall(args.send[1].encode() + b"\n")
            answer = b""
            while not answer.endswith((b"OK\n", b"END\n", b"control\n")):
                data = s.recv(4096)
                if not data:
                    break
                answer += data
        sys.stdout.write(answer.decode())
        return
    if args.stop:
        try:
            with open(args.stop) as f:
                os.kill(int(f.read().strip()), signal.SIGTERM)
        except (OSError, ValueError):
            pass
        return
    if args.rigctld:
        start_rigctld(args.port_file, args.pid_file, args.lifetime)
        return
    if args.port_file and os.path.exists(args.port_file):
        os.remove(args.port_file)
    if args.detach:
        if os.fork():
            for _ in range(100):  # the parent returns once the port is known
                if os.path.exists(args.port_file):
                    return
                time.sleep(0.05)
            sys.exit("rigfake: did not start")
        os.setsid()
        sys.stdin.close()
        devnull = os.open(os.devnull, os.O_RDWR)
        os.dup2(devnull, 1)
        os.dup2(devnull, 2)
        if args.pid_file:
            with open(args.pid_file, "w") as f:
                f.write("%d\n" % os.getpid())
    serve(args.port_file, args.lifetime)


if __name__ == "__main__":
    main()
