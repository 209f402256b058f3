#!/usr/bin/env python3
"""The demo: ruDOZ.exe under Wine in a folder holding the sample reference files."""
import os
import shutil
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import harness  # noqa: E402

BUILD = os.path.join(ROOT, "build", "windows")
EXE = os.path.join(BUILD, "ruDOZ.exe")
PREFIX = os.path.join(BUILD, "wineprefix")
DEMO = os.path.join(ROOT, "build", "demo")
SHOTS = os.path.join(DEMO, "screenshots")


def prepare_folder():
    if os.path.isdir(DEMO):
        shutil.rmtree(DEMO)
    os.makedirs(SHOTS)
    for name in ("RUdoz.txt", "QJar.txt", "QJcfm.txt", "QJlook.txt"):
        shutil.copy(os.path.join(harness.SAMPLE, name), DEMO)


def have_display():
    if not os.environ.get("DISPLAY"):
        return False
    return subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0


def on_desktop():
    print(f"demo: starting ruDOZ on {os.environ['DISPLAY']} in {DEMO}")
    print("demo: type a callsign (try UA1ABC or R3DEMO) or a district (AD-09); Alt+W clears, Alt+Q quits")
    env = dict(os.environ, RUDOZ_DISPLAY=os.environ["DISPLAY"])
    return subprocess.call([harness.WINE_RUN, "--prefix", PREFIX, EXE], cwd=DEMO, env=env)


def headless():
    display = harness.Display()
    wine = harness.Wine(PREFIX, display)
    try:
        print(f"demo: no desktop; running ruDOZ on the virtual display {display.name} in {DEMO}")
        program = wine.start(EXE, cwd=DEMO)
        window = display.find_window("^CFM-", timeout=60)
        print(f"demo: ruDOZ is up, title {display.title(window)!r}")

        def step(name, keys=(), text=None, expect=None):
            for k in keys:
                display.key(k)
            if text:
                display.type(text)
            if expect:
                display.wait_title(window, expect)
            path = display.screenshot(os.path.join(SHOTS, name + ".png"), window)
            print(f"demo: {name:<22} title {display.title(window)!r:<32} -> {os.path.relpath(path, ROOT)}")

        step("01-start")
        step("02-confirmed-callsign", text="ua1abc")
        step("03-new-callsign", keys=["alt+w"], text="r3demo")
        step("04-district-typed", keys=["alt+w", "Tab"], text="ad-09")
        step("05-cleared", keys=["alt+w"], expect="Нет такого")
        display.screenshot(os.path.join(SHOTS, "desktop.png"))
        display.key("alt+q")
        wine.stop(program, timeout=15)
        print(f"demo: done; screenshots in {os.path.relpath(SHOTS, ROOT)}")
        return 0
    finally:
        wine.close()
        display.close()


def main():
    prepare_folder()
    return on_desktop() if have_display() else headless()


if __name__ == "__main__":
    sys.exit(main())
