"""Pieces for end-to-end tests: an X display, Windows programs under Wine in one
prefix, the stand-in's event log, window titles from X and screenshots.

Only the standard library; every process started here is ended by its own id."""

import os
import re
import signal
import subprocess
import tempfile
import time

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(SOURCE_DIR, "scripts", "wine-run")


class TestFailure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def wait_until(predicate, timeout, interval=0.05, what="condition"):
    """The first true value of predicate() within timeout seconds, or TestFailure."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TestFailure(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


class Display:
    """A private Xvfb display, found through -displayfd."""

    def __init__(self, size="1280x1024x24"):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", size, "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            self.close()
            raise TestFailure("Xvfb did not start")
        self.name = ":" + number

    def env(self):
        return dict(os.environ, DISPLAY=self.name)

    def screenshot(self, path):
        subprocess.run(["import", "-display", self.name, "-window", "root", path],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()


class WineProgram:
    """A Windows program started through scripts/wine-run on a given display and
    prefix, in a process group of its own so that it can be ended by its id."""

    def __init__(self, display, prefix, exe, args=(), cwd=None, output=None):
        env = dict(os.environ, RUDOZ_DISPLAY=display.name)
        self.output = output
        out = open(output, "wb") if output else subprocess.DEVNULL
        self.proc = subprocess.Popen([WINE_RUN, "--prefix", prefix, exe, *args], env=env, cwd=cwd,
                                     stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        if output:
            out.close()

    def running(self):
        return self.proc.poll() is None

    def wait(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self, grace=5):
        """Waits up to `grace` seconds for the program to end, then ends its group."""
        if self.wait(grace) is None:
            try:
                os.killpg(self.proc.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            if self.wait(5) is None:
                try:
                    os.killpg(self.proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                self.proc.wait()


def prepare_prefix(display, prefix):
    """Creates the Wine prefix once (wineboot), before timed steps run in it."""
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        env = dict(os.environ, RUDOZ_DISPLAY=display.name)
        subprocess.run([WINE_RUN, "--prefix", prefix, "cmd", "/c", "exit"], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)


# --- the stand-in's event log -----------------------------------------------------

_EVENT = re.compile(r"^(\d+) (\S+)(.*)$")
_FIELD = re.compile(r"(\w+)=(\S*)")


class Event:
    def __init__(self, ms, kind, fields, text, flags):
        self.ms, self.kind, self.fields, self.text, self.flags = ms, kind, fields, text, flags

    def num(self, name):
        return int(self.fields[name])

    def __repr__(self):
        return f"{self.ms} {self.kind} {self.fields} {self.flags} {self.text!r}"


def parse_event(line):
    """One log line: "MS kind k=v ... [flag] [text=REST]"; text is bytes."""
    m = _EVENT.match(line.decode("latin-1"))
    if not m:
        return None
    rest = m.group(3)
    text = None
    at = rest.find(" text=")
    if at >= 0:
        text = _unescape(rest[at + 6:].encode("latin-1"))
        rest = rest[:at]
    fields = dict(_FIELD.findall(rest))
    flags = [w for w in rest.split() if "=" not in w]
    return Event(int(m.group(1)), m.group(2), fields, text, flags)


def _unescape(raw):
    return re.sub(rb"\\x([0-9A-F]{2})", lambda m: bytes([int(m.group(1), 16)]), raw)


class EventLog:
    def __init__(self, path):
        self.path = path

    def events(self):
        try:
            with open(self.path, "rb") as f:
                lines = f.read().split(b"\n")
        except FileNotFoundError:
            return []
        return [e for e in (parse_event(l) for l in lines if l) if e]

    def select(self, kind, **fields):
        return [e for e in self.events() if e.kind == kind and
                all(e.fields.get(k) == str(v) for k, v in fields.items())]

    def wait_for(self, kind, timeout, count=1, **fields):
        """The first `count` events of that kind and fields, waiting for them."""
        found = wait_until(lambda: (lambda s: s if len(s) >= count else None)(self.select(kind, **fields)),
                           timeout, what=f"{count} x {kind} {fields} in {self.path}")
        return found[:count]

    def wait_for_title(self, text, timeout, after_ms=-1):
        """The first title event with that text (UTF-8 bytes or str) after after_ms."""
        want = text.encode("utf-8") if isinstance(text, str) else text
        return wait_until(
            lambda: next((e for e in self.select("title") if e.text == want and e.ms > after_ms), None),
            timeout, what=f"title {want!r} in {self.path}")


def control(path, line):
    """Appends one command line to a stand-in's control file."""
    with open(path, "ab") as f:
        f.write((line if isinstance(line, bytes) else line.encode("latin-1")) + b"\n")


# --- X side ---------------------------------------------------------------------

def x_windows(display, name_regex):
    r = subprocess.run(["xdotool", "search", "--name", name_regex], env=display.env(),
                       capture_output=True, text=True, timeout=20)
    return [int(w) for w in r.stdout.split()]


def x_title(display, window):
    r = subprocess.run(["xprop", "-id", str(window), "_NET_WM_NAME"], env=display.env(),
                       capture_output=True, timeout=20)
    m = re.search(rb'= "(.*)"', r.stdout)
    return m.group(1).decode("utf-8", "replace") if m else None


def xdotool(display, *args):
    subprocess.run(["xdotool", *args], env=display.env(), check=True, timeout=20,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def press_keys(display, title, *keys):
    """Real key presses into the window whose X title is exactly `title`."""
    windows = x_windows(display, "^" + re.escape(title) + "$")
    check(windows, f"no window titled {title!r} on {display.name}")
    # A click makes it the active window, as it would for the operator; then the keys.
    xdotool(display, "mousemove", "--window", str(windows[0]), "40", "10", "click", "1")
    xdotool(display, "windowfocus", "--sync", str(windows[0]))
    xdotool(display, "key", *keys)


def work_dir(name):
    """A fresh directory for one test's files under the build tree's e2e folder."""
    base = os.environ.get("RUDOZ_E2E_DIR") or os.path.join(tempfile.gettempdir(), "rudoz-e2e")
    path = os.path.join(base, name)
    os.makedirs(path, exist_ok=True)
    for entry in os.listdir(path):
        full = os.path.join(path, entry)
        if os.path.isfile(full):
            os.remove(full)
    return path


def winpath(path):
    """A Linux path as the Windows programs under Wine see it (drive Z:)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class StandIn:
    """l32sim, the Logger32 stand-in, with its event log and control file."""

    def __init__(self, session, args):
        self.log = EventLog(os.path.join(session.work, "l32sim.log"))
        self.control_file = os.path.join(session.work, "l32sim.control")
        open(self.control_file, "wb").close()
        self.program = WineProgram(
            session.display, session.prefix, session.l32sim_exe,
            ["--log", winpath(self.log.path), "--control", winpath(self.control_file), *args],
            cwd=session.work, output=os.path.join(session.work, "l32sim.out"))

    def control(self, line):
        control(self.control_file, line)

    def wait_for(self, kind, timeout, count=1, **fields):
        return self.log.wait_for(kind, timeout, count, **fields)

    def wait_for_title(self, text, timeout, after_ms=-1):
        return self.log.wait_for_title(text, timeout, after_ms)


class Session:
    """One X display and one Wine prefix for ruDOZ.exe and l32sim.exe, configured by
    the environment the build gives the test: RUDOZ_EXE, L32SIM_EXE,
    RUDOZ_E2E_PREFIX, RUDOZ_SAMPLE_DIR and RUDOZ_E2E_DIR."""

    def __init__(self, name):
        self.name = name
        self.rudoz_exe = os.environ["RUDOZ_EXE"]
        self.l32sim_exe = os.environ["L32SIM_EXE"]
        self.prefix = os.environ["RUDOZ_E2E_PREFIX"]
        self.work = work_dir(name)
        self.display = Display()
        self.programs = []
        prepare_prefix(self.display, self.prefix)

    def start_stand_in(self, *args):
        sim = StandIn(self, list(args))
        self.programs.append(sim.program)
        return sim

    def start_rudoz(self):
        """ruDOZ.exe in the work directory, beside copies of the sample reference files."""
        sample = os.environ["RUDOZ_SAMPLE_DIR"]
        for name in os.listdir(sample):
            with open(os.path.join(sample, name), "rb") as src, open(os.path.join(self.work, name), "wb") as dst:
                dst.write(src.read())
        program = WineProgram(self.display, self.prefix, self.rudoz_exe, cwd=self.work,
                              output=os.path.join(self.work, "ruDOZ.out"))
        self.programs.append(program)
        return program

    def screenshot(self, label):
        self.display.screenshot(os.path.join(self.work, f"{label}.png"))

    def close(self):
        for program in reversed(self.programs):
            program.stop(grace=5)
        self.display.close()


def run(test):
    """Runs test(session) in a fresh session; a failure is printed and exits 1."""
    import sys
    import traceback
    session = Session(os.path.splitext(os.path.basename(sys.argv[0]))[0])
    try:
        test(session)
        print(f"PASS {session.name}")
    except Exception:
        traceback.print_exc()
        for name in ("l32sim.log", "l32sim.out", "ruDOZ.out"):
            path = os.path.join(session.work, name)
            if os.path.exists(path):
                print(f"--- {path}")
                with open(path, "rb") as f:
                    print(f.read().decode("utf-8", "replace"))
        try:
            session.screenshot("failure")
        except Exception:
            pass
        sys.exit(1)
    finally:
        session.close()
