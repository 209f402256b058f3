#!/usr/bin/env python3
"""What a contest feed costs: spots written by the Logger32 stand-in into ruDOZ's spot
field, timed beside the same records written into a bare ANSI edit in another
process, and counted in wineserver requests of ruDOZ's main thread.

    bench/spot_feed.py [--build DIR] [--spots N] [--rate MS] [--trace-spots N]
                       [--times R] [--no-trace] [--soak N]
    bench/spot_feed.py --contest [MINUTES] [--contest-rate R] [--build DIR] [--times R]
                       [--trace-spots N]
    bench/spot_feed.py --latency N [--build DIR]
    bench/spot_feed.py --roads [--trace-spots N] [--rate MS] [--times 0]

Runs under Wine in a private prefix (DIR/bench-wineprefix, made on first use) on a
private Xvfb display, with reference files generated afresh: a callbook of 200,000
lines, 2,700 districts, 2,600 confirmations, 200 watch entries and the region list.
Half of the spots name a callsign the callbook knows, the other half a district in
their comment. The program is measured as the operator has it: a first spot lists a
row, and the timed spots start only once the main window and the spot list window
are on the screen with no message box open; the same is checked again after the
spots, and a run that fails either check is not reported.

Prints, per timed run: median, p95 and maximum round trip of the spot send into
ruDOZ and into the bare receiver, and the ratio of the medians. The request count
comes from `wineserver -f -d1` started before the programs: the requests of ruDOZ's
main thread in a run of N spots minus those in a run of one spot, divided by N - 1.
With --roads, the requests per spot (main thread, all threads) of the same feed sent
by the Logger32 stand-in and by the DX cluster stand-in (tools/dxnode), for what a spot
from the cluster costs beside one from Logger32.
With --soak N, N spots at the given rate, and the process figures (working set,
handles, USER and GDI objects) read by procstat.exe at the start and at the end.

With --contest, a contest at the reverse beacon network's peak: one spot every 16 ms
(62.5 a second; --contest-rate R for R a second, paced in whole milliseconds) for
MINUTES minutes (10 by default; 60 for an hour), from a feed shaped
like a contest's: 3,000 stations, most spots repeats of the busiest of them, each
station on one to three of six bands, a third of the spots from skimmers, comments
with a district and without one, each spot timed by the clock as it would be sent.
The spot list merges and ages (MergeMinutes=30, MaxAgeMinutes=30) and holds more than
a thousand rows before long. Reported per run: median, p95, p99 and maximum round trip
against the bare receiver's median in the same run, the rate reached, the CPU of
ruDOZ, of wineserver and of the run's X server (each in % of one core, and their sum),
the rows listed, and the process figures at the start, middle and end; then
the requests per spot of a traced contest run of --trace-spots spots (1,000 by
default). The rows are counted through the spot list's accessible object (tools/
accprobe), which a build before it answers with none. The screen is checked before, in the middle and after: a run whose windows
were not shown or that had a box open is not reported.
Before the runs, once for the rate, a bare baseline: the same feed at the same pace
into the bare receiver alone (l32sim --bare-only), ruDOZ not running, with the CPU of
the receiver, wineserver and X; each run prints its sum less the baseline's.

With --latency N, N spots at one a second, a confirmed district and a new one in
turn, so that the verdict bar turns green ("RDA Status CFM") and red ("New RDA !") at
every spot. The stand-in reads the bar's pixel from the screen (the desktop's DC:
what X shows) about every millisecond after it starts the send, and the main
window's title; printed: median, p95 and maximum until each changed, also in frames
of 16.7 ms.
"""
import argparse
import collections
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
WINE_RUN = os.path.join(SOURCE, "scripts", "wine-run")


def find_wine():
    out = subprocess.run(["dpkg", "-L", "wine64"], capture_output=True, text=True).stdout.split()
    wine = next((p for p in out if p.endswith("/wine64") and os.access(p, os.X_OK)), None)
    wine = wine or shutil.which("wine64") or shutil.which("wine")
    if not wine:
        sys.exit("spot_feed: wine64 is not installed (run scripts/setup.sh)")
    server = os.path.join(os.path.dirname(wine), "wineserver")
    return wine, server if os.access(server, os.X_OK) else shutil.which("wineserver")


# ---------------------------------------------------------------- reference files

PREFIXES = ["AD", "AL", "AM", "BA", "MO", "NN", "SP", "SV", "TA", "YA", "KK", "PM", "SA", "VO"]
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"


def write_lines(path, lines):
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1251"))


def make_files(folder, rng, callbook_lines=200000):
    """The reference files; returns the callbook's calls, the districts in use, and
    districts confirmed and new for the verdict bar's two colours."""
    codes = [f"{PREFIXES[i % len(PREFIXES)]}-{i // len(PREFIXES) % 100:02d}" for i in range(2700)]
    write_lines(os.path.join(folder, "QJar.txt"),
                [f"{c}\tРайон номер {i}{' (deleted)' if i % 37 == 0 else ''}" for i, c in enumerate(codes)])
    confirmed = [rng.choice(codes) for _ in range(2600)]
    write_lines(os.path.join(folder, "QJcfm.txt"),
                [f"{c};R{rng.randint(0, 9)}{rng.choice(LETTERS)}{rng.choice(LETTERS)};20;CW;"
                 f"2019-05-{rng.randint(1, 28):02d}" for c in confirmed])
    calls, book = [], []
    for i in range(callbook_lines):
        call = f"U{rng.choice('AB')}{i % 10}{''.join(rng.choice(LETTERS) for _ in range(3))}"
        book.append(f"{call} {rng.choice(codes)}")
        calls.append(call)
    write_lines(os.path.join(folder, "RUdoz.txt"), book)
    write_lines(os.path.join(folder, "QJlook.txt"),
                [f"R{i % 10}{rng.choice(LETTERS)}{rng.choice(LETTERS)}" for i in range(200)])
    # The region list as the Most Wanted download leaves it: most districts with a
    # last contact and a percentage (every row colour occurs), a few never activated.
    regions = []
    for i, c in enumerate(codes):
        if i % 53 == 0:
            regions.append(f"{c} - Не ступала покрышка А/М!")
        else:
            regions.append(f"{c} {rng.randint(1, 12):02d}.20{rng.randint(10, 24)}-LastQso "
                           f"{rng.choice(['3.55', '12.5', '22', '41', '75'])}%MW")
    write_lines(os.path.join(folder, "QJreg.txt"), sorted(set(regions), key=str.lower))
    active = [c for i, c in enumerate(codes) if i % 37]
    # The first spot of every run, kept with the files: a district not confirmed, so
    # that it lists a row and the spot list shows.
    with open(os.path.join(folder, WARM_UP_FILE), "w", encoding="cp1251") as f:
        f.write(record("R0WARM", "RDA: " + next(c for c in active if c not in set(confirmed)) + " tnx"))
    # For the verdict bar's colours: districts confirmed, and districts new, of which
    # no line is a deleted one (a code stands on several lines).
    deleted = {c for i, c in enumerate(codes) if i % 37 == 0}
    return calls, active, sorted(set(confirmed) - deleted), sorted(set(codes) - set(confirmed) - deleted)


def record(call, comment):
    c = comment.encode("cp1251")
    return (f"<DXSPOT_CALLSIGN:{len(call)}>{call}<DXSPOT_FREQ:7>14025.0"
            f"<DXSPOT_COMMENT:{len(c)}>{comment}<APP_DXSPOT_TIME:4>1201")


def contest_record(call, freq, spotter, comment, hhmm):
    c = comment.encode("cp1251")
    return (f"<DXSPOT_CALLSIGN:{len(call)}>{call}<DXSPOT_FREQ:{len(freq)}>{freq}"
            f"<DXSPOT_SPOTTER:{len(spotter)}>{spotter}<DXSPOT_COMMENT:{len(c)}>{comment}"
            f"<APP_DXSPOT_TIME:4>{hhmm}")


# The six contest bands: their CW segments' first kHz.
CONTEST_BANDS = [1810, 3510, 7010, 14010, 21010, 28010]


def make_contest(path, count, calls, codes, rng, start, every_ms=16):
    """A contest's feed of `count` spots, one every `every_ms` ms from the UTC time `start`
    (seconds since the epoch): 3,000 stations, half from the callbook, half naming
    their district in human spots' comments (or not at all); the busiest stations
    spotted most; a third of the spots from skimmers."""
    stations = []
    for i in range(3000):
        if i % 2 == 0:
            call, district = rng.choice(calls), None
        else:
            call, district = f"R{i % 10}{LETTERS[i // 10 % 26]}{LETTERS[i // 260 % 26]}{LETTERS[i % 26]}", \
                rng.choice(codes)
        bands = rng.sample(CONTEST_BANDS, rng.randint(1, 3))
        stations.append((call, district, [b + rng.randint(0, 40) + rng.choice([0, 0.1, 0.5, 0.9]) for b in bands]))
    lines = []
    for n in range(count):
        call, district, freqs = stations[int(len(stations) * rng.random() ** 2.5)]
        freq = f"{rng.choice(freqs):.1f}"
        hhmm = time.strftime("%H%M", time.gmtime(start + n * every_ms / 1000))
        if rng.random() < 1 / 3:
            spotter = f"{rng.choice(['DL', 'OH', 'SM', 'UA', 'W'])}{rng.randint(1, 9)}SKM-#"
            comment = f"CW {rng.randint(5, 40)} dB {rng.randint(20, 35)} WPM CQ"
        else:
            spotter = f"UA{rng.randint(1, 9)}{rng.choice(LETTERS)}{rng.choice(LETTERS)}"
            comment = (f"RDA: {district} tnx" if district and rng.random() < .8
                       else rng.choice(["", "tnx qso", "5nn", "cq test"]))
        lines.append(contest_record(call, freq, spotter, comment, hhmm))
    with open(path, "w", encoding="cp1251") as f:
        f.write("\n".join(lines) + "\n")


def make_spots(path, count, calls, codes, rng):
    """Half with a callsign the callbook knows, half with a district in the comment
    (callsigns outside the callbook); consecutive spots always differ."""
    lines = []
    for n in range(count):
        if n % 2 == 0:
            lines.append(record(rng.choice(calls), "cq test"))
        else:
            lines.append(record(f"R{n % 10}X{LETTERS[n // 10 % 26]}{LETTERS[n // 260 % 26]}",
                                f"RDA: {rng.choice(codes)} tnx 73"))
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------- one run

class Xvfb:
    def __init__(self):
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            self.name = ":" + pipe.readline().strip()
        # A desktop session loads a resource database into its display (xrdb); a bare
        # Xvfb has none, and then every font Wine selects makes Xlib look for the
        # resource files again (XGetDefault caches only a database it found): about
        # 900 file opens a second at a contest's pace, a cost no operator's desktop has.
        # (The display keeps it: -noreset.)
        subprocess.run(["xprop", "-root", "-format", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                        "ruDOZ.bench:\ton\n"], env=dict(os.environ, DISPLAY=self.name), check=True)

    def close(self):
        self.process.terminate()
        self.process.wait()


def wait_log(path, pattern, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if os.path.exists(path):
            with open(path, "rb") as f:
                text = f.read().decode("utf-8", "replace")
            if re.search(pattern, text, re.M):
                return text
        time.sleep(0.1)
    raise RuntimeError(f"timed out waiting for /{pattern}/ in {path}")


def stop(process, timeout=10):
    """Ends a process this script started, by its id."""
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


# Where the two windows open: side by side, so that neither covers the other.
SETTINGS = "[RD]\r\nMainTop=10\r\nMainLeft=2\r\nVipTop=10\r\nVipLeft=330\r\n"
# A first spot of a district that is not confirmed (made with the files): it lists a
# row, which shows the spot list window before the timed spots begin.
WARM_UP_FILE = "warm-up-spot.txt"


def visible_windows(display):
    """(title, x, y, width, height) of every window on the display's screen."""
    env = dict(os.environ, DISPLAY=display)
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", ""], env=env,
                         capture_output=True, text=True).stdout.split()
    found = []
    for w in out:
        name = subprocess.run(["xdotool", "getwindowname", w], env=env, capture_output=True, text=True).stdout
        geo = subprocess.run(["xdotool", "getwindowgeometry", "--shell", w], env=env, capture_output=True,
                             text=True).stdout
        values = dict(line.split("=", 1) for line in geo.splitlines() if "=" in line)
        if "WIDTH" in values:
            found.append((name.rstrip("\n"), int(values["X"]), int(values["Y"]), int(values["WIDTH"]),
                          int(values["HEIGHT"])))
    return found


def program_state(display):
    """What is wrong with the screen for a measurement, or None when the main window
    and the spot list window are shown and no message box is open."""
    windows = visible_windows(display)
    problems = []
    if not any((x, y) == (2, 10) and title not in ("Vip", "ruDOZ") for title, x, y, _, _ in windows):
        problems.append("the main window is not shown")
    if not any(title == "Vip" and (x, y) == (330, 10) for title, x, y, _, _ in windows):
        problems.append("the spot list window is not shown")
    boxes = [t for t, _, _, w, h in windows if t == "ruDOZ" and w > 20 and h > 20]
    if boxes:
        problems.append(f"{len(boxes)} message box(es) open")
    return "; ".join(problems) or None


def receiver_state(display):
    """The same for the baseline: the bare receiver shown and no message box open."""
    windows = visible_windows(display)
    problems = []
    if not any(title == "l32sim receiver" for title, _, _, _, _ in windows):
        problems.append("the bare receiver is not shown")
    boxes = [t for t, _, _, w, h in windows if t == "ruDOZ" and w > 20 and h > 20]
    if boxes:
        problems.append(f"{len(boxes)} message box(es) open")
    return "; ".join(problems) or None


class Run:
    """ruDOZ, the Logger32 stand-in and the bare receiver in the private prefix."""

    def __init__(self, args, work, spots_file, count, trace_file=None, settings="", cluster=False,
                 bare_only=False):
        self.args, self.work, self.count, self.bare_only = args, work, count, bare_only
        self.rate_ms = args.contest_ms if args.contest else args.rate
        self.wine, self.server = find_wine()
        self.env = dict(os.environ, WINEPREFIX=args.prefix, WINEDEBUG="-all", WINEARCH="win64",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        subprocess.run([self.server, "-w"], env=self.env)  # a server left from a former run
        self.display = Xvfb()
        self.env["DISPLAY"] = self.display.name
        self.processes = []
        # Our own server, in the foreground, so that the trace holds every request.
        server_args = [self.server, "-f"] + (["-d1"] if trace_file else [])
        self.trace = open(trace_file, "wb") if trace_file else subprocess.DEVNULL
        self.server_process = subprocess.Popen(server_args, env=self.env, stderr=self.trace,
                                               stdout=subprocess.DEVNULL)
        # A start refused or failed leaves nothing running that holds the prefix.
        try:
            self.launch(args, work, spots_file, count, settings, cluster, bare_only)
        except BaseException:
            self.close()
            raise

    def launch(self, args, work, spots_file, count, settings, cluster, bare_only):
        time.sleep(1.0)
        self.sim_log = os.path.join(work, "sim.log")
        self.recv_log = os.path.join(work, "receiver.log")
        self.control = os.path.join(work, "control.txt")
        for p in (self.sim_log, self.recv_log, self.control):
            if os.path.exists(p):
                os.remove(p)
        open(self.control, "wb").close()
        exe = lambda name: os.path.join(args.build if name == "ruDOZ.exe" else args.tools, name)
        self.receiver = self.start([exe("l32sim.exe"), "--receiver", "--log", self.recv_log])
        wait_log(self.recv_log, r" receiver ", 60)
        self.start([exe("l32sim.exe"), "--control", self.control, "--rate", str(self.rate_ms),
                    "--bare-only" if bare_only else "--bare", "--watch", "TForm1", "--log", self.sim_log])
        wait_log(self.sim_log, r" window ", 60)
        self.rudoz = None
        if bare_only:
            # The baseline: the same feed into the bare receiver alone, ruDOZ not running.
            self.check_screen("before the spots", timeout=20)
            self.send_control("spots " + spots_file)
            return
        # Through the DX cluster: the node stand-in sends the feed, a few seconds after
        # the login, at the same pace; the Logger32 stand-in passes the warm-up spot only.
        self.node_log = os.path.join(work, "dxnode.log")
        if cluster:
            port_file = os.path.join(work, "dxnode.port")
            for p in (port_file, self.node_log):
                if os.path.exists(p):
                    os.remove(p)
            self.node = subprocess.Popen(
                [sys.executable, os.path.join(SOURCE, "tools", "dxnode", "dxnode.py"), "--spots", spots_file,
                 "--rate", str(1000 / self.rate_ms), "--first-after", "8", "--port-file", port_file,
                 "--log", self.node_log, "--max-seconds", str(int(300 + count * self.rate_ms / 1000 * 4))],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.processes.append(self.node)
            end = time.monotonic() + 20
            while not (os.path.exists(port_file) and open(port_file).read().strip()):
                if time.monotonic() > end:
                    raise RuntimeError("the node stand-in did not start")
                time.sleep(0.1)
            settings += f"ClusterHost=127.0.0.1\r\nClusterPort={open(port_file).read().strip()}\r\nClusterBacklog=0\r\n"
        self.cluster = cluster
        # The program's own copy beside its settings file, as an operator keeps it.
        shutil.copy(exe("ruDOZ.exe"), os.path.join(work, "ruDOZ.exe"))
        with open(os.path.join(work, "qjSetup.ini"), "wb") as f:
            f.write((SETTINGS + settings).encode("ascii"))
        self.rudoz = self.start([os.path.join(work, "ruDOZ.exe")])
        wait_log(self.sim_log, r"title hwnd=\d+ text=Connected ", 60)
        with open(os.path.join(work, WARM_UP_FILE), encoding="cp1251") as f:
            # Spotted now: with MaxAgeMinutes a fixed time of day would be too old to
            # list for most of the day, and the spot list would never show.
            self.send_control("spot " + re.sub(r"<APP_DXSPOT_TIME:4>\d{4}",
                                               "<APP_DXSPOT_TIME:4>" + time.strftime("%H%M", time.gmtime()), f.read()))
        self.check_screen("before the spots", timeout=20)
        if not cluster and spots_file:
            self.send_control("spots " + spots_file)

    def send_control(self, line):
        with open(self.control, "ab") as f:
            f.write(line.encode("cp1251") + b"\n")

    def check_screen(self, when, timeout=5):
        """Refuses a measurement of a program the operator could not see."""
        end = time.monotonic() + timeout
        while True:
            problem = (receiver_state if self.bare_only else program_state)(self.display.name)
            if not problem:
                return
            if time.monotonic() > end:
                raise RuntimeError(f"not measured: {problem} ({when})")
            time.sleep(0.2)

    def start(self, argv):
        p = subprocess.Popen([self.wine] + argv, env=self.env, cwd=self.work,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(p)
        return p

    def cpu(self):
        """CPU seconds so far of the measured program (ruDOZ, or the bare receiver in a
        baseline), of wineserver and of this run's X server."""
        pids = {"program": (self.receiver if self.bare_only else self.rudoz).pid,
                "wineserver": self.server_process.pid, "X": self.display.process.pid}
        for what, pid in pids.items():
            # The ids started here must be the processes themselves (wine and the
            # wineserver script exec them), not a wrapper's.
            with open(f"/proc/{pid}/comm") as f:
                name = f.read().strip()
            if not name.lower().startswith({"program": "l32sim" if self.bare_only else "rudoz",
                                            "wineserver": "wineserver", "X": "xvfb"}[what]):
                raise RuntimeError(f"process {pid} is {name}, not the {what} measured")
        return {what: cpu_seconds(pid) for what, pid in pids.items()}

    def wine_exe(self, argv):
        return subprocess.run([self.wine] + argv, env=self.env, cwd=self.work, capture_output=True,
                              text=True, timeout=120).stdout

    def wait_spots(self):
        if self.cluster:
            wait_log(self.node_log, rf" sent {self.count} spots", 120 + self.count * self.rate_ms / 1000 * 4)
            time.sleep(3)  # the last spots' lookups, on the window thread after the socket's
            self.check_screen("after the spots", timeout=2)
            return ""
        log = wait_log(self.sim_log, r" note spots done", 120 + self.count * self.rate_ms / 1000 * 4)
        self.check_screen("after the spots", timeout=2)
        return log

    def close(self):
        time.sleep(0.5)
        for p in reversed(self.processes):
            stop(p)
        try:
            self.server_process.wait(20)
        except subprocess.TimeoutExpired:
            stop(self.server_process)
        if self.trace is not subprocess.DEVNULL:
            self.trace.close()
        self.display.close()


# ---------------------------------------------------------------- figures

def percentile(values, q):
    s = sorted(values)
    return s[min(len(s) - 1, int(round(q * (len(s) - 1))))]


def send_times(log):
    """The round trips of the spots after the first one, which only showed the windows."""
    rudoz = [int(m) for m in re.findall(r" spot port=\d+ to=\d+ result=-?\d+ us=(\d+)", log)]
    bare = [int(m) for m in re.findall(r" bare to=\d+ us=(\d+)", log)]
    return rudoz[1:], bare[1:]


def thread_requests(trace_file, unix_pid, all_threads=False):
    """Requests of the first thread of the process with this Unix pid, by name; with
    all_threads, of every thread it starts (a connection's thread among them)."""
    counts = collections.Counter()
    tids = set()
    starting = set()  # threads of the process asking for a thread of its own
    line_re = re.compile(rb"^([0-9a-f]{4,8}): (\w+)\((.*)$")
    with open(trace_file, "rb") as f:
        for line in f:
            m = line_re.match(line)
            if not m:
                continue
            tid, request, rest = m.groups()
            if request == b"init_first_thread" and not tids and re.search(rb"unix_pid=%d\b" % unix_pid, rest):
                tids.add(tid)
            if all_threads and tid in tids and request == b"new_thread":
                # A thread of the process made by the process itself (its own handle).
                if rest.startswith(b" process=ffffffff"):
                    starting.add(tid)
                elif tid in starting and rest.startswith(b") = 0"):
                    starting.discard(tid)
                    made = re.search(rb"tid=([0-9a-f]+)", rest)
                    if made:
                        tids.add(made.group(1).rjust(4, b"0"))
            if tid in tids and not rest.startswith(b") ="):
                counts[request.decode()] += 1
    if not tids:
        raise RuntimeError(f"no thread of process {unix_pid} in {trace_file}")
    return counts


def ms(us):
    return f"{us / 1000:.2f} ms"


def timed_run(args, work, spots_file, count):
    run = Run(args, work, spots_file, count)
    try:
        log = run.wait_spots()
    finally:
        run.close()
    rudoz, bare = send_times(log)
    if len(rudoz) != count:
        raise RuntimeError(f"{len(rudoz)} of {count} spots were sent")
    return rudoz, bare


def traced_count(args, work, spots_file, count):
    trace = os.path.join(work, f"trace-{count}.txt")
    run = Run(args, work, spots_file, count, trace_file=trace)
    try:
        run.wait_spots()
    finally:
        run.close()
    counts = thread_requests(trace, run.rudoz.pid)
    if not args.keep:
        os.remove(trace)
    return counts


def cluster_line(record_text):
    """A Logger32 spot record as a node's "DX de" line: the same station, frequency
    and comment."""
    fields = dict(re.findall(r"<(\w+):\d+>([^<]*)", record_text))
    return f"DX de RA1A:     {fields['DXSPOT_FREQ']}  {fields['DXSPOT_CALLSIGN']}  {fields.get('DXSPOT_COMMENT', '')}  {{now}}"


def roads(args, work, spots_file):
    """What a spot costs by each road: the same feed from the Logger32 stand-in and from
    the DX cluster stand-in, counted in wineserver requests of ruDOZ's main thread and
    of all its threads, per spot (a run of N spots less a run of one)."""
    with open(spots_file) as f:
        lines = f.read().splitlines()[:args.trace_spots]
    figures = {}
    for road in ("Logger32", "cluster"):
        counted = []
        for n in (len(lines), 1):
            feed = os.path.join(work, f"roads-{road}-{n}.txt")
            with open(feed, "w", encoding="cp1251") as f:
                f.write("\n".join(cluster_line(l) if road == "cluster" else l for l in lines[:n]) + "\n")
            trace = os.path.join(work, f"trace-{road}-{n}.txt")
            run = Run(args, work, feed, n, trace_file=trace, cluster=road == "cluster")
            try:
                run.wait_spots()
            finally:
                run.close()
            counted.append((thread_requests(trace, run.rudoz.pid), thread_requests(trace, run.rudoz.pid, True)))
            if not args.keep:
                os.remove(trace)
        per = [(sum(counted[0][i].values()) - sum(counted[1][i].values())) / (len(lines) - 1) for i in (0, 1)]
        figures[road] = per
        print(f"{road:>8}: wineserver requests per spot: main thread {per[0]:.0f}, all threads {per[1]:.0f}")
    return figures


def soak(args, work, calls, codes, rng):
    spots_file = os.path.join(work, "soak.txt")
    make_spots(spots_file, args.soak, calls, codes, rng)
    run = Run(args, work, spots_file, args.soak)
    try:
        procstat = [os.path.join(args.tools, "procstat.exe"), "ruDOZ.exe"]
        # The warm-up spot first, then the feed's first.
        end_wait = time.monotonic() + 120
        while len(re.findall(r" spot port=", wait_log(run.sim_log, r" spot port=", 120))) < 2:
            if time.monotonic() > end_wait:
                raise RuntimeError("the feed did not start")
            time.sleep(0.2)
        start = run.wine_exe(procstat).strip()
        # A second reading once the first hundred spots have made whatever is made
        # once (fonts, brushes, caches), so that growth shows apart from start-up.
        end_wait = time.monotonic() + 120
        while len(re.findall(r" spot port=", wait_log(run.sim_log, r" spot port=", 5))) < 1 + min(100, args.soak):
            if time.monotonic() > end_wait:
                raise RuntimeError("the first hundred spots did not arrive")
            time.sleep(0.2)
        warm = run.wine_exe(procstat).strip()
        log = run.wait_spots()
        time.sleep(1.0)
        end = run.wine_exe(procstat).strip()
        log = wait_log(run.sim_log, r" note spots done", 5)
    finally:
        run.close()
    rudoz, bare = send_times(log)
    titles = [(int(t), text) for t, text in re.findall(r"^(\d+) title hwnd=\d+ text=(.*)$", log, re.M)]
    spots_at = [int(t) for t in re.findall(r"^(\d+) spot port=", log, re.M)]
    print(f"soak: {len(rudoz)} of {args.soak} spots handled at one every {args.rate} ms")
    print(f"  into ruDOZ: median {ms(percentile(rudoz, .5))}, p95 {ms(percentile(rudoz, .95))}, "
          f"longest {ms(max(rudoz))}; bare median {ms(percentile(bare, .5))}")
    print(f"  last spot at {spots_at[-1] / 1000:.1f} s, last title change at {titles[-1][0] / 1000:.1f} s "
          f"({len(titles)} title changes seen by polling)")
    print(f"  first spot:     {start}")
    print(f"  after 100:      {warm}")
    print(f"  end:            {end}")


# The contest's pace and the spot list's options through a contest evening.
CONTEST_SETTINGS = "MergeMinutes=30\r\nMaxAgeMinutes=30\r\n"


def cpu_seconds(unix_pid):
    """User and system time of a Linux process so far, in seconds."""
    with open(f"/proc/{unix_pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class LogTail:
    """The stand-in's log read as it grows, each byte once, and seldom: the machine's
    other core is the stand-in's, not the benchmark's."""

    def __init__(self, path, spot=b" spot port="):
        self.path, self.offset, self.spots, self.done, self.rest = path, 0, 0, False, b""
        self.spot = spot

    def poll(self):
        with open(self.path, "rb") as f:
            f.seek(self.offset)
            data = self.rest + f.read()
        self.offset += len(data) - len(self.rest)
        lines = data.split(b"\n")
        self.rest = lines.pop()
        for line in lines:
            self.spots += self.spot in line
            self.done = self.done or b" note spots done" in line

    def wait(self, done, timeout, process, what, every=2.0):
        end = time.monotonic() + timeout
        while True:
            self.poll()
            if done(self):
                return
            if time.monotonic() > end or (process and process.poll() is not None):
                raise RuntimeError(f"the feed did not reach {what}")
            time.sleep(every)


def listed_rows(run):
    """The rows of the spot list, as a screen reader counts them."""
    out = run.wine_exe([os.path.join(run.args.tools, "accprobe.exe"), "rows"])
    m = re.match(r"children (\d+)", out)
    return int(m.group(1)) if m else -1


def cpu_shares(before, after, seconds):
    """Each process's CPU over the feed in % of one core, and their sum."""
    shares = {k: 100 * (after[k] - before[k]) / seconds for k in before}
    shares["sum"] = sum(shares.values())
    return shares


def bare_baseline(args, work, calls, codes, rng):
    """The contest's feed at the same pace into the bare receiver only, ruDOZ not
    running: the CPU of the receiver, wineserver and the X server over the feed."""
    count = int(args.contest * 60 * args.contest_rate)
    spots_file = os.path.join(work, "contest-bare.txt")
    make_contest(spots_file, count, calls, codes, rng, time.time() + 20, args.contest_ms)
    run = Run(args, work, spots_file, count, bare_only=True)
    try:
        tail = LogTail(run.sim_log, b" bare to=")
        longest = 120 + count * args.contest_ms / 1000 * 4
        tail.wait(lambda t: t.spots >= 1, 120, None, "its first spot")
        cpu0, wall0 = run.cpu(), time.monotonic()
        tail.wait(lambda t: t.done, longest, None, "its end")
        cpu1, wall1 = run.cpu(), time.monotonic()
        run.check_screen("after the baseline feed", timeout=2)
        with open(run.sim_log, "rb") as f:
            log = f.read().decode("utf-8", "replace")
    finally:
        run.close()
    bare = [int(m) for m in re.findall(r" bare to=\d+ us=(\d+)", log)]
    if len(bare) != count:
        raise RuntimeError(f"baseline: {len(bare)} of {count} spots were sent")
    shares = cpu_shares(cpu0, cpu1, wall1 - wall0)
    print(f"bare baseline: {count} spots into the bare receiver alone (no ruDOZ), send median "
          f"{ms(percentile(bare, .5))}, p95 {ms(percentile(bare, .95))}")
    print(f"  CPU (% of one core): receiver {shares['program']:.1f}, wineserver {shares['wineserver']:.1f}, "
          f"X {shares['X']:.1f}; sum {shares['sum']:.1f}")
    return shares


def contest_run(args, work, calls, codes, rng, number, baseline):
    count = int(args.contest * 60 * args.contest_rate)
    spots_file = os.path.join(work, "contest.txt")
    # Timed from about when the feed starts: the program takes some seconds to be
    # ready, and the spots' own times must not make them a backlog.
    make_contest(spots_file, count, calls, codes, rng, time.time() + 20, args.contest_ms)
    run = Run(args, work, spots_file, count, settings=CONTEST_SETTINGS)
    procstat = [os.path.join(args.tools, "procstat.exe"), "ruDOZ.exe"]
    figures = {}
    try:
        tail = LogTail(run.sim_log)
        longest = 120 + count * args.contest_ms / 1000 * 4
        # The warm-up spot, then the feed's first.
        tail.wait(lambda t: t.spots >= 2, 120, run.rudoz, "its first spot")
        figures["start"] = run.wine_exe(procstat).strip()
        # The CPU is taken over the feed less the middle reading (a wine program's
        # start-up, which the baseline has not).
        spans = [(run.cpu(), time.monotonic())]
        tail.wait(lambda t: t.spots >= 1 + count // 2, longest, run.rudoz, "its middle")
        spans.append((run.cpu(), time.monotonic()))
        run.check_screen("in the middle of the contest", timeout=2)
        figures["middle"] = run.wine_exe(procstat).strip()
        spans.append((run.cpu(), time.monotonic()))
        tail.wait(lambda t: t.done, longest, run.rudoz, "its end")
        spans.append((run.cpu(), time.monotonic()))
        run.check_screen("after the contest", timeout=2)
        with open(run.sim_log, "rb") as f:
            log = f.read().decode("utf-8", "replace")
        figures["end"] = run.wine_exe(procstat).strip()
        # Asked last: a reader's question leaves its own objects in the process.
        rows_end = listed_rows(run)
    finally:
        run.close()
    rudoz, bare = send_times(log)
    if len(rudoz) != count:
        raise RuntimeError(f"{len(rudoz)} of {count} spots were sent")
    stamps = [int(t) for t in re.findall(r"^(\d+) spot port=", log, re.M)][1:]
    rate = (len(stamps) - 1) / max((stamps[-1] - stamps[0]) / 1000, 1e-3)
    b50 = percentile(bare, .5)
    print(f"contest run {number}: {count} spots at {rate:.1f} a second, {rows_end} rows listed at the end "
          f"(as a screen reader counts them)")
    print("  into ruDOZ: " + ", ".join(f"{name} {ms(v)} ({v / max(b50, 1):.1f}x)" for name, v in
                                        [("median", percentile(rudoz, .5)), ("p95", percentile(rudoz, .95)),
                                         ("p99", percentile(rudoz, .99)), ("max", max(rudoz))]) +
          f" | bare median {ms(b50)}")
    used = {k: spans[1][0][k] - spans[0][0][k] + spans[3][0][k] - spans[2][0][k] for k in spans[0][0]}
    shares = cpu_shares(dict.fromkeys(used, 0), used, spans[1][1] - spans[0][1] + spans[3][1] - spans[2][1])
    print(f"  CPU (% of one core): ruDOZ {shares['program']:.1f}, wineserver {shares['wineserver']:.1f}, "
          f"X {shares['X']:.1f}; sum {shares['sum']:.1f}" +
          (f"; minus the bare baseline's {baseline['sum']:.1f}: {shares['sum'] - baseline['sum']:+.1f}"
           if baseline else ""))
    for when in ("start", "middle", "end"):
        print(f"  {when + ':':8}{figures[when]}")


def contest_requests(args, work, calls, codes, rng):
    """Requests of ruDOZ's main thread per contest spot: a traced feed of N spots
    against one of a single spot."""
    counts = []
    for n in (args.trace_spots, 1):
        spots_file = os.path.join(work, f"contest-trace-{n}.txt")
        make_contest(spots_file, n, calls, codes, random.Random(7), time.time() + 20, args.contest_ms)
        trace = os.path.join(work, f"trace-contest-{n}.txt")
        run = Run(args, work, spots_file, n, trace_file=trace, settings=CONTEST_SETTINGS)
        try:
            run.wait_spots()
        finally:
            run.close()
        counts.append(thread_requests(trace, run.rudoz.pid))
        if not args.keep:
            os.remove(trace)
    total = (sum(counts[0].values()) - sum(counts[1].values())) / (args.trace_spots - 1)
    print(f"contest: wineserver requests of ruDOZ's main thread per spot: {total:.0f} "
          f"({sum(counts[0].values())} in {args.trace_spots} spots, {sum(counts[1].values())} in 1)")
    per = {k: (counts[0][k] - counts[1].get(k, 0)) / (args.trace_spots - 1) for k in counts[0]}
    top = sorted(per.items(), key=lambda kv: -kv[1])[:14]
    print("  " + ", ".join(f"{k} {v:.1f}" for k, v in top if v >= 0.5))


# The verdict bar's colours on the screen (the default palette): "RDA Status CFM" on
# clGreen, "New RDA !" on clRed.
CONFIRMED_RGB, NEW_RGB = "008000", "FF0000"
FRAME_US = 16700


def latency(args, work, confirmed, new):
    """Spots at a human pace, one a second, a confirmed district and a new one in
    turn, so that the verdict bar changes colour at every spot: the time from the
    send's start until the screen shows the bar in the new colour, and until the
    main window's title changed."""
    run = Run(args, work, None, args.latency)
    rows = []
    try:
        tail = LogTail(run.sim_log, b" painted ")
        for n in range(args.latency):
            started = time.monotonic()
            district, rgb = (confirmed[n // 2 % len(confirmed)], CONFIRMED_RGB) if n % 2 == 0 else \
                (new[n // 2 % len(new)], NEW_RGB)
            # A station of its own each time, the district in the comment.
            call = f"R{n % 10}L{LETTERS[n // 10 % 26]}{LETTERS[n // 260 % 26]}"
            run.send_control(f"paint {rgb} " + record(call, f"RDA: {district} tnx"))
            tail.wait(lambda t: t.spots >= n + 1, 10, run.rudoz, f"spot {n + 1} on the screen", .05)
            time.sleep(max(0.0, 1.0 - (time.monotonic() - started)))
        run.check_screen("after the spots", timeout=2)
        with open(run.sim_log, "rb") as f:
            log = f.read().decode("utf-8", "replace")
    finally:
        run.close()
    for m in re.finditer(r" painted send=(\d+) colour=(\w+) us=(-?\d+) title=(-?\d+) x=(-?\d+) y=(-?\d+) "
                         r"seen=(\w+)", log):
        rows.append(tuple(int(v) if i not in (1, 6) else v for i, v in enumerate(m.groups())))
    if len(rows) != args.latency:
        raise RuntimeError(f"{len(rows)} of {args.latency} spots were watched")
    print(f"latency: {args.latency} spots, one a second, a confirmed district and a new one in turn; "
          f"the verdict bar read from the screen at ({rows[0][4]}, {rows[0][5]})")
    missed = [r for r in rows if r[2] < 0]
    for name, column in (("verdict bar on the screen", 2), ("title changed", 3)):
        seen = [r[column] for r in rows if r[column] >= 0]
        if not seen:
            print(f"  {name}: never within 2 s")
            continue
        print(f"  {name}: median {ms(percentile(seen, .5))} ({percentile(seen, .5) / FRAME_US:.1f} frames), "
              f"p95 {ms(percentile(seen, .95))} ({percentile(seen, .95) / FRAME_US:.1f}), "
              f"max {ms(max(seen))} ({max(seen) / FRAME_US:.1f}); {len(seen)} of {len(rows)} seen")
    print(f"  the send itself: median {ms(percentile([r[0] for r in rows], .5))}")
    for r in missed:
        print(f"  not seen within 2 s: wanted {r[1]}, the screen showed {r[6]}")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(SOURCE, "build", "windows"))
    ap.add_argument("--spots", type=int, default=200, help="spots per timed run (default 200)")
    ap.add_argument("--rate", type=int, default=10, help="milliseconds between spots (default 10)")
    ap.add_argument("--times", type=int, default=1, help="timed runs (default 1)")
    ap.add_argument("--trace-spots", type=int, default=40, help="spots in the counted run (default 40)")
    ap.add_argument("--no-trace", action="store_true", help="times only")
    ap.add_argument("--no-baseline", action="store_true",
                    help="no bare baseline before the contest runs (an hour's run need not wait another hour)")
    ap.add_argument("--soak", type=int, default=0, help="a soak of this many spots instead")
    ap.add_argument("--callbook-lines", type=int, default=200000,
                    help="callbook size (default 200,000), to tell the files' share from the windows'")
    ap.add_argument("--contest", type=float, nargs="?", const=10.0, default=0.0, metavar="MINUTES",
                    help="a contest at 62.5 spots a second for MINUTES minutes (default 10)")
    ap.add_argument("--contest-rate", type=float, default=62.5, metavar="R",
                    help="the contest's pace in spots a second (default 62.5)")
    ap.add_argument("--latency", type=int, default=0, metavar="N",
                    help="N spots at one a second: the time until the screen shows each")
    ap.add_argument("--keep", action="store_true", help="keep the work folder and traces")
    ap.add_argument("--roads", action="store_true",
                    help="count the requests per spot by both roads: Logger32's and the DX cluster's")
    args = ap.parse_args()
    if args.contest_rate <= 0:
        sys.exit("spot_feed: --contest-rate must be more than 0")
    # The stand-in paces its feed in whole milliseconds.
    args.contest_ms = max(1, round(1000 / args.contest_rate))
    if "--contest-rate" in sys.argv and not args.contest:
        sys.exit("spot_feed: --contest-rate goes with --contest")
    if args.contest and "--trace-spots" not in sys.argv:
        args.trace_spots = 1000
    args.build = os.path.abspath(args.build)
    # The stand-ins and procstat always come from this tree's build; --build names
    # only the ruDOZ.exe to measure.
    args.tools = os.path.join(SOURCE, "build", "windows")
    args.prefix = os.path.join(args.tools, "bench-wineprefix")
    for folder, exe in [(args.build, "ruDOZ.exe"), (args.tools, "l32sim.exe")] + \
            ([(args.tools, "procstat.exe")] if args.soak or args.contest else []) + \
            ([(args.tools, "accprobe.exe")] if args.contest else []):
        if not os.path.exists(os.path.join(folder, exe)):
            sys.exit(f"spot_feed: {exe} is not built in {folder}")
    # The prefix is made once, as the tests make theirs.
    subprocess.run([WINE_RUN, "--prefix", args.prefix, os.path.join(args.tools, "l32sim.exe"), "--help"],
                   stdout=subprocess.DEVNULL, check=True)

    work = tempfile.mkdtemp(prefix="rudoz-spot-feed-")
    try:
        rng = random.Random(1251)
        calls, codes, confirmed, new = make_files(work, rng, args.callbook_lines)
        if args.soak:
            soak(args, work, calls, codes, rng)
            return
        if args.latency:
            latency(args, work, confirmed, new)
            return
        if args.contest:
            print(f"contest: {args.contest_rate:g} spots a second (one every {args.contest_ms} ms) for "
                  f"{args.contest:g} minutes; {args.callbook_lines:,}-line callbook, 2,700 districts, "
                  f"2,600 confirmations, MergeMinutes=30, MaxAgeMinutes=30")
            # One baseline for the rate, before the runs.
            baseline = bare_baseline(args, work, calls, codes, rng) if args.times and not args.no_baseline else None
            for n in range(args.times):
                contest_run(args, work, calls, codes, rng, n + 1, baseline)
            if not args.no_trace:
                contest_requests(args, work, calls, codes, rng)
            return
        spots_file = os.path.join(work, "spots.txt")
        make_spots(spots_file, max(args.spots, args.trace_spots), calls, codes, rng)
        print(f"{args.spots} spots, one every {args.rate} ms; {args.callbook_lines:,}-line callbook, 2,700 districts, "
              f"2,600 confirmations, 200 watch entries")
        for n in range(args.times):
            short = os.path.join(work, "timed.txt")
            with open(spots_file) as f:
                lines = f.read().splitlines()[:args.spots]
            with open(short, "w") as f:
                f.write("\n".join(lines) + "\n")
            rudoz, bare = timed_run(args, work, short, args.spots)
            r50, b50 = percentile(rudoz, .5), percentile(bare, .5)
            print(f"run {n + 1}: ruDOZ median {ms(r50)} p95 {ms(percentile(rudoz, .95))} max {ms(max(rudoz))} | "
                  f"bare median {ms(b50)} p95 {ms(percentile(bare, .95))} max {ms(max(bare))} | "
                  f"ratio {r50 / max(b50, 1):.1f}")
        if args.no_trace:
            return
        if args.roads:
            roads(args, work, spots_file)
            return
        one = os.path.join(work, "one.txt")
        with open(spots_file) as f:
            lines = f.read().splitlines()
        with open(one, "w") as f:
            f.write(lines[0] + "\n")
        many = os.path.join(work, "many.txt")
        with open(many, "w") as f:
            f.write("\n".join(lines[:args.trace_spots]) + "\n")
        counts_n = traced_count(args, work, many, args.trace_spots)
        counts_1 = traced_count(args, work, one, 1)
        per = {k: (counts_n[k] - counts_1.get(k, 0)) / (args.trace_spots - 1) for k in counts_n}
        total = (sum(counts_n.values()) - sum(counts_1.values())) / (args.trace_spots - 1)
        print(f"wineserver requests of ruDOZ's main thread per spot: {total:.0f} "
              f"({sum(counts_n.values())} in {args.trace_spots} spots, {sum(counts_1.values())} in 1)")
        top = sorted(per.items(), key=lambda kv: -kv[1])[:14]
        print("  " + ", ".join(f"{k} {v:.0f}" for k, v in top if v >= 0.5))
    finally:
        if args.keep:
            print(f"work folder: {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
