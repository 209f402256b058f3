"""Helpers for end-to-end tests: a private X display, Windows programs under Wine in
one prefix, real keyboard and mouse input with xdotool, titles, pixels, screenshots.

Only the Python standard library; the programs it drives are ruDOZ.exe and the
Logger32 stand-in, seen from outside as a user (and Logger32) would see them.
"""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.abspath(os.path.join(HERE, "..", ".."))
WINE_RUN = os.path.join(SOURCE, "scripts", "wine-run")
SAMPLE = os.path.join(SOURCE, "data", "sample")


def wait_for(predicate, timeout, interval=0.05, what="condition"):
    """Polls predicate until it returns something truthy; returns that value."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def terminate(process, grace=5):
    """Ends a process we started: politely first, then for good."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Display:
    """An Xvfb display of our own; Xvfb picks a free number itself (-displayfd)."""

    def __init__(self, width=1280, height=1024):
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        env["RUDOZ_DISPLAY"] = self.name
        return env

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *args], env=self.env(), capture_output=True, text=True)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
        return result.stdout.strip()

    def windows(self, name_regex):
        out = self.xdotool("search", "--onlyvisible", "--name", name_regex, check=False)
        return [int(w) for w in out.split()] if out else []

    def find_window(self, name_regex, timeout=20):
        return wait_for(lambda: (self.windows(name_regex) or [None])[0], timeout,
                        what=f"a window titled /{name_regex}/")

    def title(self, window):
        return self.xdotool("getwindowname", str(window), check=False)

    def wait_title(self, window, expected, timeout=10):
        return wait_for(lambda: self.title(window) == expected, timeout,
                        what=f"title {expected!r} (now {self.title(window)!r})")

    def geometry(self, window):
        """(x, y, width, height) of the whole window on the screen."""
        out = self.xdotool("getwindowgeometry", "--shell", str(window))
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def key(self, *keys):
        self.xdotool("key", "--delay", "60", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "60", text)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", str(x), str(y), "click", str(button))

    def pixel(self, x, y):
        """(red, green, blue) of a screen pixel."""
        out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                             env=self.env(), capture_output=True, text=True, check=True).stdout
        rgb = out.splitlines()[-1].split("(")[1].split(")")[0].split(",")
        return tuple(int(float(v)) for v in rgb[:3])

    def screenshot(self, path, window=None):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        args = ["import", "-window", "root"]
        if window is not None:
            x, y, w, h = self.geometry(window)
            args += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
        subprocess.run(args + [path], env=self.env(), check=True)
        return path

    def close(self):
        terminate(self.process)


class Wine:
    """Windows programs in one Wine prefix on one display."""

    def __init__(self, prefix, display):
        self.prefix = os.path.abspath(prefix)
        self.display = display
        self.processes = []

    def start(self, exe, *args, cwd=None, log=None):
        out = open(log, "wb") if log else subprocess.DEVNULL
        process = subprocess.Popen([WINE_RUN, "--prefix", self.prefix, exe, *args], cwd=cwd,
                                   env=self.display.env(), stdout=out, stderr=subprocess.STDOUT,
                                   start_new_session=True)
        self.processes.append(process)
        return process

    def stop(self, process, timeout=10):
        """Ends a program we started: first politely waits, then kills its group."""
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGTERM)
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()

    def close(self):
        for process in self.processes:
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()


# Where the spot list window opens in tests and the demo: beside the main window,
# not over it (the window stays on top of the others).
SETTINGS = ["[RD]", "VipLeft=330", "VipTop=80"]


def install_rudoz(exe, folder, settings=SETTINGS):
    """Copies ruDOZ.exe into `folder`, so that its settings file (which lies beside
    the program) is the folder's own, writes that file, and adds the sample region
    list when the folder has none. Returns the copy's path."""
    target = os.path.join(folder, os.path.basename(exe))
    shutil.copy(exe, target)
    with open(os.path.join(folder, "qjSetup.ini"), "wb") as f:
        f.write("\r\n".join(settings).encode("cp1251") + b"\r\n")
    if not os.path.exists(os.path.join(folder, "QJreg.txt")):
        shutil.copy(os.path.join(SAMPLE, "QJreg.txt"), folder)
    return target


class WorkDir:
    """A scratch working directory holding reference files."""

    def __init__(self):
        self.path = tempfile.mkdtemp(prefix="rudoz-e2e-")

    def write_lines(self, name, lines):
        with open(os.path.join(self.path, name), "wb") as f:
            for line in lines:
                f.write(line.encode("cp1251") + b"\r\n")

    def copy_sample(self, *names):
        for name in names:
            shutil.copy(os.path.join(SAMPLE, name), self.path)

    def read(self, name):
        with open(os.path.join(self.path, name), "rb") as f:
            return f.read()

    def close(self):
        shutil.rmtree(self.path, ignore_errors=True)


_options = None


def options_parsed():
    """The options of this run, parsed once."""
    global _options
    if _options is None:
        _options = options()
    return _options


def options():
    """Paths handed over by CTest: --exe, --prefix, --out (and --sim when needed)."""
    import argparse
    import sys
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--sim")
    parser.add_argument("--probe")
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--out", required=True)
    args, rest = parser.parse_known_args()
    sys.argv[1:] = rest
    return args


# --- Logger32's side: the stand-in l32sim and its event log -----------------------

def winpath(path):
    """A Linux path as the Windows programs under Wine see it (drive Z:)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Event:
    """One line of the stand-in's log: "MS kind k=v ... [flags] [text=REST]"."""

    def __init__(self, ms, kind, fields, flags, text):
        self.ms, self.kind, self.fields, self.flags, self.text = ms, kind, fields, flags, text

    def num(self, name):
        return int(self.fields[name])

    def __repr__(self):
        return f"<{self.ms} {self.kind} {self.fields} {self.flags} {self.text!r}>"


def parse_event(line):
    """The text after " text=" comes back as bytes, its \\xNN escapes undone."""
    head, has_text, text = line.partition(b" text=")
    words = head.decode("latin-1").split()
    if len(words) < 2 or not words[0].isdigit():
        return None
    fields = dict(w.split("=", 1) for w in words[2:] if "=" in w)
    flags = [w for w in words[2:] if "=" not in w]
    if has_text:
        text = re.sub(rb"\\x([0-9A-F]{2})", lambda m: bytes([int(m.group(1), 16)]), text)
    else:
        text = None
    return Event(int(words[0]), words[1], fields, flags, text)


class EventLog:
    def __init__(self, path):
        self.path = path

    def events(self):
        try:
            with open(self.path, "rb") as f:
                lines = f.read().split(b"\n")
        except FileNotFoundError:
            return []
        return [e for e in map(parse_event, filter(None, lines)) if e]

    def select(self, kind, **fields):
        return [e for e in self.events()
                if e.kind == kind and all(e.fields.get(k) == str(v) for k, v in fields.items())]

    def wait_for(self, kind, timeout, count=1, **fields):
        """The first `count` events of that kind with those fields."""
        found = wait_for(lambda: (lambda s: s[:count] if len(s) >= count else None)(self.select(kind, **fields)),
                         timeout, what=f"{count} x {kind} {fields} in {self.path}")
        return found

    def titles(self, after_ms=-1):
        return [e for e in self.select("title") if e.ms > after_ms]

    def wait_for_title(self, text, timeout, after_ms=-1):
        """The first title event showing `text` after after_ms."""
        want = text.encode("utf-8")
        return wait_for(lambda: next((e for e in self.titles(after_ms) if e.text == want), None), timeout,
                        what=f"the title {text!r} in {self.path}")


class StandIn:
    """l32sim, playing Logger32 in the same prefix and on the same display, with its
    log and control file in `folder`."""

    def __init__(self, wine, exe, folder, *args):
        os.makedirs(folder, exist_ok=True)
        self.log = EventLog(os.path.join(folder, "l32sim.log"))
        self.control_file = os.path.join(folder, "l32sim.control")
        for path in (self.log.path, self.control_file):
            open(path, "wb").close()
        self.process = wine.start(exe, "--log", winpath(self.log.path), "--control", winpath(self.control_file),
                                  *args, cwd=folder, log=os.path.join(folder, "l32sim.out"))

    def control(self, line):
        """Appends one command line (str or bytes) to the control file."""
        with open(self.control_file, "ab") as f:
            f.write((line if isinstance(line, bytes) else line.encode("latin-1")) + b"\n")

    def wait_for(self, kind, timeout, count=1, **fields):
        return self.log.wait_for(kind, timeout, count, **fields)

    def wait_for_title(self, text, timeout, after_ms=-1):
        return self.log.wait_for_title(text, timeout, after_ms)

    def hang(self, ms):
        """Makes the stand-in hang for `ms` milliseconds; returns once it has begun
        (it logs the command, then handles nothing more until the time is over)."""
        done = len(self.log.select("control"))
        line = f"hang {ms}"
        self.control(line)
        self.wait_for("control", 10, count=done + 1)
        hung = self.log.select("control")[done:]
        if not any(e.text == line.encode() for e in hung):
            raise AssertionError(f"the stand-in took {hung} for {line!r}")

    def main_window_gone(self, timeout=20):
        wait_for(lambda: any("gone" in e.flags for e in self.log.select("title")), timeout,
                 what="the watched window to go")


def press_keys(display, title, *keys):
    """Clicks into the window whose title is exactly `title`, as the operator would
    to bring it forward, then presses the keys."""
    window = display.find_window("^" + re.escape(title) + "$")
    x, y, w, h = display.geometry(window)
    display.click(x + w // 2, y + 8)
    display.xdotool("windowfocus", "--sync", str(window), check=False)
    display.key(*keys)


class LinkScene:
    """ruDOZ.exe beside the stand-in, on a display of their own and in one prefix;
    ruDOZ works in a scratch folder holding the sample reference files, and the
    stand-in's log, ruDOZ's output and the screenshots go to <out>/<name>."""

    def __init__(self, args, name):
        self.args = args
        self.out = os.path.join(args.out, name)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        self.display = Display()
        self.wine = Wine(args.prefix, self.display)
        self.work = WorkDir()
        self.work.copy_sample("RUdoz.txt", "QJar.txt", "QJcfm.txt", "QJlook.txt")
        self.sim = None

    def start_stand_in(self, *sim_args):
        self.sim = StandIn(self.wine, self.args.sim, self.out, *sim_args)
        return self.sim

    def start_rudoz(self):
        exe = install_rudoz(self.args.exe, self.work.path)
        return self.wine.start(exe, cwd=self.work.path, log=os.path.join(self.out, "ruDOZ.out"))

    def screenshot(self, name):
        return self.display.screenshot(os.path.join(self.out, name + ".png"))

    def close(self):
        if self.sim and self.sim.process.poll() is None:
            self.sim.control("quit")
            self.wine.stop(self.sim.process, timeout=10)
        self.wine.close()
        self.display.close()
        self.work.close()


class LinkTestCase(unittest.TestCase):
    """A test with a fresh LinkScene named by the class's `scene_name`."""

    scene_name = "link"

    def setUp(self):
        self.scene = LinkScene(options_parsed(), self.scene_name)

    def tearDown(self):
        self.scene.close()


# --- the web services' side: the stand-in tools/webstand --------------------------

WEBSTAND = os.path.join(SOURCE, "tools", "webstand", "webstand.py")


class WebStand:
    """The local stand-in for the confirmation service and the award's web server,
    on a free port; its request log goes to <folder>/webstand.log."""

    def __init__(self, folder):
        os.makedirs(folder, exist_ok=True)
        port_file = os.path.join(folder, "webstand.port")
        if os.path.exists(port_file):
            os.remove(port_file)
        self.log_path = os.path.join(folder, "webstand.log")
        self.process = subprocess.Popen(
            ["python3", WEBSTAND, "--port-file", port_file, "--log-file", self.log_path],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port = wait_for(lambda: os.path.exists(port_file) and open(port_file).read().strip(), 20,
                        what="the web stand-in's port")
        self.base = f"http://127.0.0.1:{port}"

    def admin(self, path):
        import urllib.request
        with urllib.request.urlopen(self.base + "/_admin/" + path, timeout=10) as answer:
            return answer.read().decode()

    def fault(self, query):
        self.admin("fault?" + query)

    def requests(self):
        """The "GET PATH STATUS" lines of the program's requests so far."""
        return [line for line in self.admin("log").splitlines() if "/_admin/" not in line]

    def settings(self):
        """The settings lines that point ruDOZ at this stand-in."""
        return [f"CfmServer={self.base}", f"RdaServer={self.base}"]

    def close(self):
        terminate(self.process)


# The setup panel's buttons: the centre of each, in the panel's (= the spot list
# window's client area's) pixels.
SETUP_BUTTONS = {"cfm": (96 + 72, 8 + 8), "most_wanted": (32 + 96, 88 + 7), "districts": (32 + 96, 104 + 7),
                 "ok": (96 + 25, 120 + 8)}
SETUP_PANEL = (223, 223, 227)  # the panel's colour 0xE3DFDF


def setup_panel_origin(display, window, shot_path):
    """Screen point of the setup panel's top-left corner, found from the panel's
    colour in a screenshot of the window (the frame drawn around the client area
    differs between systems)."""
    def find():
        out = subprocess.run(["convert", display.screenshot(shot_path, window), "-depth", "8", "txt:-"],
                             capture_output=True, text=True, check=True).stdout
        xs, ys = [], []
        for line in out.splitlines()[1:]:
            where, _, rest = line.partition(":")
            rgb = tuple(int(float(v)) for v in rest.split("(")[1].split(")")[0].split(",")[:3])
            if rgb == SETUP_PANEL:
                x, y = (int(v) for v in where.split(","))
                xs.append(x)
                ys.append(y)
        return (min(xs), min(ys)) if len(xs) > 5000 else None
    left, top = wait_for(find, 15, interval=0.5, what="the setup panel")
    wx, wy, _, _ = display.geometry(window)
    # Inside the rounded border of 2 pixels.
    return wx + left - 2, wy + top - 2


def picture(path):
    """(width, height, {(x, y): (r, g, b)}) of a picture, through ImageMagick."""
    out = subprocess.run(["convert", path, "-depth", "8", "txt:-"], capture_output=True, text=True,
                         check=True).stdout
    lines = out.splitlines()
    width, height = (int(v) for v in lines[0].split(":")[1].split(",")[:2])
    pixels = {}
    for line in lines[1:]:
        where, _, rest = line.partition(":")
        x, y = (int(v) for v in where.split(","))
        pixels[(x, y)] = tuple(int(float(v)) for v in rest.split("(")[1].split(")")[0].split(",")[:3])
    return width, height, pixels


# The progress window's table: its column widths, left to right (region, name,
# confirmed, active, needed, per cent).
PROGRESS_COLUMNS = (70, 240, 75, 55, 66, 50)
WHITE = (255, 255, 255)


def progress_table(display, window, shot_path):
    """Screen points of the progress window's table: its left edge, the top of the
    column titles and the top of the first row. The titles are the first white band
    across the window (inside the frame, whose outer line may be white too); a line
    closes them off from the rows."""
    width, height, pixels = picture(display.screenshot(shot_path, window))
    for y in range(8, height // 2):
        whites = [x for x in range(8, width - 8) if pixels[(x, y)] == WHITE]
        if len(whites) > width // 2:
            left, titles = whites[0], y
            break
    else:
        raise AssertionError("no table in the progress window")
    rows = next(y for y in range(titles, height) if pixels[(left + 150, y)] != WHITE) + 1
    wx, wy, _, _ = display.geometry(window)
    return wx + left, wy + titles, wy + rows


def click_setup_button(display, origin, name):
    dx, dy = SETUP_BUTTONS[name]
    display.click(origin[0] + dx, origin[1] + dy)


def dismiss_message(display, timeout=20):
    """Waits for a message box titled "ruDOZ" and closes it with Enter; returns its
    window id (gone by then)."""
    box = wait_for(lambda: next(iter(message_boxes(display)), None), timeout, what="a message box")
    display.xdotool("windowactivate", "--sync", str(box), check=False)
    display.xdotool("windowfocus", "--sync", str(box), check=False)
    display.key("Return")
    wait_for(lambda: box not in display.windows("^ruDOZ$"), 10, what="the message box to close")
    return box


def message_boxes(display):
    """The visible windows titled "ruDOZ" but for the program's taskbar window, which
    is shown with no size."""
    def sized(window):
        try:
            _, _, w, h = display.geometry(window)
        except (RuntimeError, KeyError):
            return False  # gone meanwhile
        return w > 20 and h > 20
    return [w for w in display.windows("^ruDOZ$") if sized(w)]
