#!/usr/bin/env python3
"""The demo: ruDOZ.exe under Wine in a folder holding the sample reference files,
beside l32sim.exe playing Logger32 (port 1 granted, a short spot feed) and the local
web stand-in playing the two web services (downloads and region maps); without a
desktop, a scene tunes Debian's rigctld (dummy radio) instead of Logger32, and a last
one runs ruDOZ with the DX cluster stand-in as a cluster of its own, tuning rigctld."""
import os
import shutil
import signal
import socket
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import harness  # noqa: E402

BUILD = os.path.join(ROOT, "build", "windows")
EXE = os.path.join(BUILD, "ruDOZ.exe")
SIM = os.path.join(BUILD, "l32sim.exe")
PREFIX = os.path.join(BUILD, "wineprefix")
DEMO = os.path.join(ROOT, "build", "demo")
SETTINGS = []  # the demo's settings file
SHOTS = os.path.join(DEMO, "screenshots")


def prepare_folder():
    if os.path.isdir(DEMO):
        shutil.rmtree(DEMO)
    os.makedirs(SHOTS)
    for name in ("RUdoz.txt", "QJar.txt", "QJcfm.txt", "QJlook.txt", "QJreg.txt", "l32sim-spots.txt"):
        shutil.copy(os.path.join(harness.SAMPLE, name), DEMO)
    # The program runs from the demo folder, with the frequency panel shown and the
    # web services' addresses pointing at the stand-in.
    web = harness.WebStand(DEMO)
    # The progress window opens to the right of the spot list window, which stays on top.
    SETTINGS[:] = harness.SETTINGS + ["QrgPanel=1", "MyCall=UA1ABC", "ProgressLeft=620", "ProgressTop=80"] + web.settings()
    exe = harness.install_rudoz(EXE, DEMO, SETTINGS)
    print(f"demo: the web services answer on {web.base}")
    return exe, web


def have_display():
    if not os.environ.get("DISPLAY"):
        return False
    return subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0


def on_desktop(exe):
    print(f"demo: starting Logger32's stand-in and ruDOZ on {os.environ['DISPLAY']} in {DEMO}")
    print("demo: spots arrive every 6 s; type a callsign (try UA1ABC or R3DEMO) or a district (AD-09);"
          " Alt+W clears, Alt+Q quits")
    env = dict(os.environ, RUDOZ_DISPLAY=os.environ["DISPLAY"])
    spots = harness.winpath(os.path.join(DEMO, "l32sim-spots.txt"))
    sim = subprocess.Popen([harness.WINE_RUN, "--prefix", PREFIX, SIM, "--spots", spots, "--rate", "6000", "--loop",
                            "--freq", "14025000", "--log", harness.winpath(os.path.join(DEMO, "l32sim.log"))],
                           cwd=DEMO, env=env, start_new_session=True)
    try:
        return subprocess.call([harness.WINE_RUN, "--prefix", PREFIX, exe], cwd=DEMO, env=env)
    finally:
        os.killpg(sim.pid, signal.SIGTERM)
        sim.wait()


def headless(exe):
    display = harness.Display()
    wine = harness.Wine(PREFIX, display)
    try:
        print(f"demo: no desktop; running ruDOZ on the virtual display {display.name} in {DEMO}")
        sim = harness.StandIn(wine, SIM, DEMO, "--exit-after", "600")
        sim.wait_for("window", 60)
        program = wine.start(exe, cwd=DEMO)
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
        step("03-district-typed", keys=["alt+w", "Tab"], text="ad-09")
        step("04-cleared", keys=["alt+w"], expect="Нет такого")
        # A new district raises the alert: the spot list window comes forward with it.
        step("05-new-callsign", text="r3demo")
        with open(os.path.join(DEMO, "l32sim-spots.txt"), "rb") as f:
            spots = {line.split(b">")[1].split(b"<")[0]: line for line in f.read().splitlines() if line.startswith(b"<")}
        step("06-spot-confirmed", spot=spots[b"UA1ABC"], expect="Полярный район 9")
        step("07-spot-new-district", spot=spots[b"R3DEMO"], expect="Речной район 2")

        # Three more new districts, less and less wanted: yellow, light green, none.
        for call in (b"R2DEMO", b"R4DEMO", b"R5DEMO"):
            sim.control(b"spot " + spots[call])
        sim.wait_for("spot", 20, count=5)
        sim.control("freq 14025000")
        time.sleep(2)
        vip = display.find_window("^Vip$", timeout=20)
        path = display.screenshot(os.path.join(SHOTS, "08-spot-list.png"), vip)
        print(f"demo: {'08-spot-list':<22} rows pink, yellow, light green, plain -> {os.path.relpath(path, ROOT)}")

        # A click on the R3DEMO row (the second data row): Logger32 is told to tune to
        # the spot, and after the pause the district.
        x, y, w, h = display.geometry(vip)
        display.click(x + 30, y + 70)
        for event in sim.wait_for("command", 20, count=2):
            print(f"demo: Logger32 received {event.text.decode('cp1251')!r}")
        path = display.screenshot(os.path.join(SHOTS, "09-spot-clicked.png"), vip)
        print(f"demo: {'09-spot-clicked':<22} caption {display.title(vip)!r} -> {os.path.relpath(path, ROOT)}")
        sim.control("freq 0")
        step("10-no-cat", expect="Check CAT")
        show_map(display)
        setup_view(display, window)
        progress_window(display, window)
        contest_options(display, window, sim)
        real_shapes(display, window, sim)
        display.screenshot(os.path.join(SHOTS, "desktop.png"))
        press_main(display, window)
        display.key("alt+q")
        wine.stop(program, timeout=15)
        radio_scene(wine, display, sim)
        cluster_scene(wine, display)
        print(f"demo: done; screenshots in {os.path.relpath(SHOTS, ROOT)}")
        return 0
    finally:
        wine.close()
        display.close()


def shot(display, name, window):
    path = display.screenshot(os.path.join(SHOTS, name + ".png"), window)
    print(f"demo: {name:<22} title {display.title(window)!r:<32} -> {os.path.relpath(path, ROOT)}")


def show_map(display):
    """"Show Map" from the spot list's menu on the pink row of the new district."""
    vip = display.find_window("^Vip$|LastQso", timeout=20)
    pink = (249, 176, 182)
    path = os.path.join(SHOTS, "11-region-map-row.png")

    def pink_row():
        out = subprocess.run(["convert", display.screenshot(path, vip), "-depth", "8", "txt:-"],
                             capture_output=True, text=True, check=True).stdout
        points = []
        for line in out.splitlines()[1:]:
            where, _, rest = line.partition(":")
            if tuple(int(float(v)) for v in rest.split("(")[1].split(")")[0].split(",")[:3]) == pink:
                points.append(tuple(int(v) for v in where.split(",")))
        return points if len(points) > 300 else None
    points = harness.wait_for(pink_row, 10, interval=0.5, what="the pink row")
    x = min(p[0] for p in points) + 20
    y = max(p[1] for p in points) - 6  # the newest pink row
    wx, wy, _, _ = display.geometry(vip)
    display.click(wx + x, wy + y, button=3)
    display.key("Down", "Down", "Return")  # "Setup", then "Show Map"
    map_window = display.find_window("^Map$", timeout=20)
    shot(display, "11-region-map", map_window)
    # Closing the map only hides it.
    display.xdotool("windowactivate", "--sync", str(map_window), check=False)
    display.key("alt+F4")
    harness.wait_for(lambda: not display.windows("^Map$"), 10, what="the map window to hide")


def setup_view(display, window):
    """The setup view from the main window's context menu ("Setup", its first
    entry), then its confirmations button."""
    x, y, w, h = display.geometry(window)
    display.click(x + 167, y + h - 13, button=3)  # between the district field and "L32"
    display.key("Down", "Return")
    vip = display.find_window("^Vip$|LastQso", timeout=20)
    display.xdotool("windowactivate", "--sync", str(vip), check=False)
    display.xdotool("windowraise", str(vip), check=False)
    origin = harness.setup_panel_origin(display, vip, os.path.join(SHOTS, "12-setup-view.png"))
    shot(display, "12-setup-view", vip)
    harness.click_setup_button(display, origin, "cfm")
    display.wait_title(vip, "Download OK  CFM-300", timeout=30)
    shot(display, "13-confirmations-fetched", vip)


def progress_window(display, window):
    """"Progress" from the main window's context menu (its third entry) on the
    sample files; then the regions by what they still need, most first, and the
    needed districts of the first."""
    x, y, w, h = display.geometry(window)
    display.click(x + 167, y + h - 13, button=3)
    display.key("Down", "Down", "Down", "Return")
    progress = display.find_window("^RDA Progress$", timeout=20)
    shot(display, "14-progress", progress)
    left, titles, rows = harness.progress_table(display, progress, os.path.join(SHOTS, "15-progress-needed.png"))
    needed = left + sum(harness.PROGRESS_COLUMNS[:4]) + harness.PROGRESS_COLUMNS[4] // 2
    display.click(needed, titles + 8)
    display.click(needed, titles + 8)
    display.click(left + 20, rows + 6)
    time.sleep(1)
    shot(display, "15-progress-needed", progress)


def contest_options(display, window, sim):
    """The spot list's options dialog from its menu ("Setup", then "Options…"):
    repeats merged within 30 minutes. Then R2DEMO is spotted three times on rising
    frequencies, between two spots of R4DEMO: each station keeps one row, moved to
    the newest place with its last frequency and time."""
    x, y, w, h = display.geometry(window)
    display.click(x + 167, y + h - 13, button=3)
    display.key("Down", "Down", "Return")  # "Show Vip": the grid again after the setup view
    vip = display.find_window("^Vip$|LastQso|^Download OK", timeout=20)
    vx, vy, vw, vh = display.geometry(vip)
    display.click(vx + 30, vy + 60, button=3)
    display.key("Down", "Right", "Down", "Down", "Down", "Down", "Return")  # "Setup", "Options…"
    dialog = display.find_window("^Options$", timeout=20)
    display.type("30")  # into the first field, the merge's minutes, which has the keyboard
    shot(display, "16-options-dialog", dialog)
    display.key("Return")
    harness.wait_for(lambda: not display.windows("^Options$"), 10, what="the dialog to close")
    # The hand goes back to the logger: while the pointer rests on the grid the rows
    # in view hold still, and the merged repeats would go only once it left.
    display.xdotool("mousemove", str(x + w // 2), str(y + 8))
    spots = [(b"R2DEMO", b"14012.0", b"rda ad-03", b"1215"), (b"R4DEMO", b"10105.0", b"rda ad-04", b"1216"),
             (b"R2DEMO", b"14013.5", b"rda ad-03", b"1217"), (b"R4DEMO", b"10106.0", b"rda ad-04", b"1218"),
             (b"R2DEMO", b"14015.0", b"rda ad-03", b"1219")]
    for call, freq, comment, hhmm in spots:
        sim.control(b"spot <DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:%d>%s<DXSPOT_COMMENT:%d>%s<APP_DXSPOT_TIME:4>%s"
                    % (len(call), call, len(freq), freq, len(comment), comment, hhmm))
    sim.wait_for("spot", 20, count=5 + len(spots))
    time.sleep(2)
    path = display.screenshot(os.path.join(SHOTS, "17-merged-repeats.png"), vip)
    print(f"demo: {'17-merged-repeats':<22} R2DEMO spotted three times: one row, 14015.0 at 12:19"
          f" -> {os.path.relpath(path, ROOT)}")


def real_shapes(display, window, sim):
    """The files as they circulate today (data/sample/real), put in place while the
    program runs: every file is read again at its next use. A callsign with an
    expired dated line before its plain line, one with two districts valid today
    (both named above the verdict), one whose district was deleted and is judged by
    its successor, and the progress window counting the service's CSV export."""
    real = os.path.join(harness.SAMPLE, "real")
    for name in ("RUdoz.txt", "QJar.txt", "QJcfm.txt"):
        shutil.copy(os.path.join(real, name), DEMO)
    # A spot of a foreign station whose comment names no district (a comment speaks
    # only for its own station anyway).
    sim.control(b"spot <DXSPOT_CALLSIGN:5>DL1AA<DXSPOT_FREQ:7>14020.0<DXSPOT_COMMENT:2>cq<APP_DXSPOT_TIME:4>1220")
    sim.wait_for("spot", 20, count=11)
    for number, call, what in (("18", "r1exp", "expired dated line, then the plain one"),
                               ("19", "r2two", "two districts valid today"),
                               ("20", "r3old", "a deleted district judged by its successor")):
        before = display.title(window)
        press_main(display, window)  # a new district brought the spot list forward
        display.key("alt+w")
        display.type(call)
        harness.wait_for(lambda: display.title(window) != before or None, 10, what=f"the verdict of {call}")
        time.sleep(0.5)
        path = display.screenshot(os.path.join(SHOTS, f"{number}-real-{call}.png"), window)
        print(f"demo: {number}-real-{call:<13} {what}: title {display.title(window)!r} -> {os.path.relpath(path, ROOT)}")
    x, y, w, h = display.geometry(window)
    display.click(x + 167, y + h - 13, button=3)
    display.key("Down", "Down", "Down", "Return")  # "Progress"
    progress = display.find_window("^RDA Progress$", timeout=20)
    time.sleep(1)
    shot(display, "21-real-progress", progress)


def radio_scene(wine, display, sim):
    """The radio without Logger32's commands: Debian's rigctld with its dummy radio on
    loopback, and the settings pointing at it. Logger32's stand-in still passes the
    spots; a click on R3DEMO's row (7012.0, the 40 m CW segment) tunes the dummy there
    in CW, read back with rigctl. The district goes nowhere in this way."""
    rigctld, port, rigctl = start_rigctld()
    try:
        # The sample files again, in which R3DEMO's district is new.
        for name in ("RUdoz.txt", "QJar.txt", "QJcfm.txt"):
            shutil.copy(os.path.join(harness.SAMPLE, name), DEMO)
        exe = harness.install_rudoz(EXE, DEMO, SETTINGS + ["Radio=rigctld", f"RigPort={port}"])
        program = wine.start(exe, cwd=DEMO)
        window = display.find_window("^CFM-|^Looking|^Connected", timeout=60)
        display.wait_title(window, "Connected Logger32 1", timeout=30)
        with open(os.path.join(DEMO, "l32sim-spots.txt"), "rb") as f:
            spot = next(line for line in f.read().splitlines() if line.startswith(b"<DXSPOT_CALLSIGN:6>R3DEMO"))
        sim.control(b"spot " + spot)
        vip = display.find_window("^Vip$|LastQso", timeout=20)
        time.sleep(1)
        x, y, _, _ = display.geometry(vip)
        display.click(x + 30, y + 52)  # the first row
        tuned = harness.wait_for(lambda: (lambda r: r if r.startswith("7012000\nCW\n") else None)(rigctl("f", "m")),
                                 10, what="the dummy radio at 7012000 in CW")
        print(f"demo: rigctld's dummy radio reads {tuned.split()[:2]} after the click on R3DEMO's row")
        time.sleep(1.5)  # the panel shows the radio's frequency, read every second
        path = display.screenshot(os.path.join(SHOTS, "22-radio-rigctld.png"), vip)
        print(f"demo: {'22-radio-rigctld':<22} title {display.title(window)!r:<32} -> {os.path.relpath(path, ROOT)}")
        press_main(display, window)
        display.key("alt+q")
        wine.stop(program, timeout=15)
    finally:
        harness.terminate(rigctld)


def start_rigctld():
    """Debian's rigctld with its dummy radio on a free loopback port (for five minutes
    at most), and a way to ask it with rigctl."""
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    rigctld = subprocess.Popen(["timeout", "300", "rigctld", "-m", "1", "-T", "127.0.0.1", "-t", str(port)],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)

    def rigctl(*args):
        return subprocess.run(["rigctl", "-m", "2", "-r", f"127.0.0.1:{port}", *args], capture_output=True,
                              text=True, timeout=10).stdout
    try:
        harness.wait_for(lambda: rigctl("f"), 10, what="rigctld")
    except BaseException:
        harness.terminate(rigctld)
        raise
    return rigctld, port, rigctl


def cluster_scene(wine, display):
    """ruDOZ without Logger32's spots or commands: a DX cluster of its own, the node
    stand-in (tools/dxnode), which prompts "login: " without a line end, answers the
    backlog's "sh/dx", then sends live spots with BEL bytes and a grid after the time;
    and the radio through rigctld. The title tells the cluster's state; hovering over a
    row names its spotter; a click on a row tunes the dummy radio."""
    with open(os.path.join(DEMO, "RUdoz.txt"), encoding="cp1251") as f:
        calls = [line.split()[0] for line in f if line[:1] in "RU" and len(line.split()) == 2][:6]
    spots, backlog = os.path.join(DEMO, "dxnode-spots.txt"), os.path.join(DEMO, "dxnode-backlog.txt")
    with open(spots, "w") as f:
        f.writelines(f"DX de RA{n + 1}A: {14005 + 7 * n}.0 {call} CW {n + 9} dB 22 WPM CQ {{now}} KO85\n"
                     for n, call in enumerate(calls[2:]))
    with open(backlog, "w") as f:
        f.writelines(f"{7010 + n}.0 {call}  {{date:20}} {{ago:20}} from the backlog <RW{n + 1}AA>\n"
                     for n, call in enumerate(calls[:2]))
    rigctld, rig_port, rigctl = start_rigctld()
    port_file = os.path.join(DEMO, "dxnode.port")
    node = subprocess.Popen([sys.executable, os.path.join(ROOT, "tools", "dxnode", "dxnode.py"), "--spots", spots,
                             "--backlog", backlog, "--bel", "--rate", "0.5", "--first-after", "3", "--port-file",
                             port_file, "--log", os.path.join(DEMO, "dxnode.log"), "--max-seconds", "120"])
    try:
        port = harness.wait_for(lambda: os.path.exists(port_file) and open(port_file).read(), 10, what="the node")
        exe = harness.install_rudoz(EXE, DEMO, SETTINGS + ["Radio=rigctld", f"RigPort={rig_port}",
                                                           "ClusterHost=127.0.0.1", f"ClusterPort={port}",
                                                           "ClusterBacklog=2"])
        program = wine.start(exe, cwd=DEMO)
        window = display.find_window("^Cluster: connected to", timeout=60)
        shot(display, "23-cluster-connected", window)
        vip = display.find_window("^Vip$", timeout=60)
        harness.wait_for(lambda: open(os.path.join(DEMO, "dxnode.log")).read().count("sent 4 spots"), 60,
                         what="the live spots")
        time.sleep(1)
        x, y, w, h = display.geometry(vip)
        display.xdotool("mousemove", str(x + 30), str(y + 50))
        harness.wait_for(lambda: " de R" in display.title(vip), 10, what="a row's spotter in the title")
        shot(display, "24-cluster-spot-list", vip)
        before = rigctl("f")
        display.click(x + 30, y + 52)  # the first row
        tuned = harness.wait_for(lambda: (lambda r: r if r != before else None)(rigctl("f", "m")), 10,
                                 what="the dummy radio tuned by a cluster spot's row")
        print(f"demo: rigctld's dummy radio reads {tuned.split()[:2]} after a click on a cluster spot's row")
        press_main(display, window)
        display.key("alt+q")
        wine.stop(program, timeout=15)
    finally:
        harness.terminate(node)
        harness.terminate(rigctld)


def press_main(display, window):
    x, y, w, h = display.geometry(window)
    display.click(x + 40, y + h - 13)


def main():
    exe, web = prepare_folder()
    try:
        return on_desktop(exe) if have_display() else headless(exe)
    finally:
        web.close()


if __name__ == "__main__":
    sys.exit(main())
