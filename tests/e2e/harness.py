"""Helpers for end-to-end tests: a private X display, Windows programs under Wine in
one prefix, real keyboard and mouse input with xdotool, titles, pixels, screenshots.

Only the Python standard library; the programs it drives are ruDOZ.exe and the
Logger32 stand-in, seen from outside as a user (and Logger32) would see them.
"""
import os
import shutil
import signal
import subprocess
import tempfile
import time

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
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()


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


def options():
    """Paths handed over by CTest: --exe, --prefix, --out (and --sim when needed)."""
    import argparse
    import sys
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--sim")
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--out", required=True)
    args, rest = parser.parse_known_args()
    sys.argv[1:] = rest
    return args
