#!/usr/bin/env python3
"""The demo: ruDOZ.exe under Wine in a folder holding the sample reference files,
beside l32sim.exe playing Logger32 (port 1 granted, a short spot feed)."""
import os
import shutil
import signal
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import harness  # noqa: E402

BUILD = os.path.join(ROOT, "build", "windows")
EXE = os.path.join(BUILD, "ruDOZ.exe")
SIM = os.path.join(BUILD, "l32sim.exe")
PREFIX = os.path.join(BUILD, "wineprefix")
DEMO = os.path.join(ROOT, "build", "demo")
SHOTS = os.path.join(DEMO, "screenshots")


def prepare_folder():
    if os.path.isdir(DEMO):
        shutil.rmtree(DEMO)
    os.makedirs(SHOTS)
    for name in ("RUdoz.txt", "QJar.txt", "QJcfm.txt", "QJlook.txt", "l32sim-spots.txt"):
        shutil.copy(os.path.join(harness.SAMPLE, name), DEMO)


def have_display():
    if not os.environ.get("DISPLAY"):
        return False
    return subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0


def on_desktop():
    print(f"demo: starting Logger32's stand-in and ruDOZ on {os.environ['DISPLAY']} in {DEMO}")
    print("demo: spots arrive every 6 s; type a callsign (try UA1ABC or R3DEMO) or a district (AD-09);"
          " Alt+W clears, Alt+Q quits")
    env = dict(os.environ, RUDOZ_DISPLAY=os.environ["DISPLAY"])
    spots = harness.winpath(os.path.join(DEMO, "l32sim-spots.txt"))
    sim = subprocess.Popen([harness.WINE_RUN, "--prefix", PREFIX, SIM, "--spots", spots, "--rate", "6000", "--loop",
                            "--freq", "14025000", "--log", harness.winpath(os.path.join(DEMO, "l32sim.log"))],
                           cwd=DEMO, env=env, start_new_session=True)
    try:
        return subprocess.call([harness.WINE_RUN, "--prefix", PREFIX, EXE], cwd=DEMO, env=env)
    finally:
        os.killpg(sim.pid, signal.SIGTERM)
        sim.wait()


def headless():
    display = harness.Display()
    wine = harness.Wine(PREFIX, display)
    try:
        print(f"demo: no desktop; running ruDOZ on the virtual display {display.name} in {DEMO}")
        sim = harness.StandIn(wine, SIM, DEMO, "--exit-after", "600")
        sim.wait_for("window", 60)
        program = wine.start(EXE, cwd=DEMO)
        window = display.find_window("^CFM-", timeout=60)
        display.wait_title(window, "Connected Logger32 1")
        print(f"demo: ruDOZ is up and linked to Logger32's stand-in, title {display.title(window)!r}")

        def step(name, keys=(), text=None, expect=None, spot=None):
            for k in keys:
                display.key(k)
            if text:
                display.type(text)
            if spot:
                sim.control(b"spot " + spot)
            if expect:
                display.wait_title(window, expect)
            path = display.screenshot(os.path.join(SHOTS, name + ".png"), window)
            print(f"demo: {name:<22} title {display.title(window)!r:<32} -> {os.path.relpath(path, ROOT)}")

        step("01-start")
        step("02-confirmed-callsign", text="ua1abc")
        step("03-new-callsign", keys=["alt+w"], text="r3demo")
        step("04-district-typed", keys=["alt+w", "Tab"], text="ad-09")
        step("05-cleared", keys=["alt+w"], expect="Нет такого")
        with open(os.path.join(DEMO, "l32sim-spots.txt"), "rb") as f:
            spots = {line.split(b">")[1].split(b"<")[0]: line for line in f.read().splitlines() if line.startswith(b"<")}
        step("06-spot-confirmed", spot=spots[b"UA1ABC"], expect="Полярный район 9")
        step("07-spot-new-district", spot=spots[b"R3DEMO"], expect="Речной район 2")
        sim.control("freq 0")
        step("08-no-cat", expect="Check CAT")
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
