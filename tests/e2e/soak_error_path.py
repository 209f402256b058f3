"""Soak of the error path, a measurement rather than a test (not run by CTest):
QJlook.txt missing, so that every lookup fails; the stand-in writes a spot every
10 ms for 30 s. Reports how many message boxes were open at once, how long each
send of a spot took, whether ruDOZ lived through it and how its memory went.

    python3 tests/e2e/soak_error_path.py --exe build/windows/ruDOZ.exe \\
        --sim build/windows/l32sim.exe --prefix build/windows/wineprefix --out build/windows/test-output/e2e
"""
import os
import statistics
import time

import harness

SECONDS = 30
CALLS = [f"R{n}ABC" for n in range(10)] + [f"UA{n}XYZ" for n in range(10)]


def descendants(pid):
    """Process ids below pid, read from /proc."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    parent = int(f.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(parent, []).append(int(entry))
            except (OSError, IndexError, ValueError):
                pass
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def windows_process(launcher):
    """The process running ruDOZ.exe among those the launcher started."""
    for pid in descendants(launcher.pid):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if b"ruDOZ.exe" in f.read() and rss_kib(pid) > 0:
                    return pid
        except OSError:
            pass
    return None


def main():
    scene = harness.LinkScene(harness.options_parsed(), "soak-error-path")
    try:
        os.remove(os.path.join(scene.work.path, "QJlook.txt"))
        spots = os.path.join(scene.out, "spots.txt")
        with open(spots, "wb") as f:
            for call in CALLS:
                f.write(b"<DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:5>AB-12\n"
                        % (len(call), call.encode()))
        sim = scene.start_stand_in("--port", "1=grant", "--watch", "TForm1", "--spots", harness.winpath(spots),
                                   "--rate", "10", "--loop", "--exit-after", "600")
        sim.wait_for("window", 60)
        rudoz = scene.start_rudoz()
        sim.wait_for("spot", 60)
        pid = harness.wait_for(lambda: windows_process(rudoz), 20, what="the ruDOZ.exe process")
        start = time.monotonic()
        boxes, memory = [], []
        while time.monotonic() - start < SECONDS:
            done = len(sim.log.select("boxes"))
            sim.control("boxes")
            boxes.append(sim.wait_for("boxes", 10, count=done + 1)[-1].num("count"))
            memory.append(rss_kib(pid))
            time.sleep(1)
        alive = rudoz.poll() is None
        scene.screenshot("soak-end")
        took = [e.num("us") / 1000 for e in sim.log.select("spot")]
        print(f"spots written: {len(took)} in about {SECONDS} s after the first")
        print(f"send time ms: max {max(took)}, mean {statistics.mean(took):.2f}, "
              f"over 100: {sum(t > 100 for t in took)}")
        print(f"message boxes open, sampled each second: max {max(boxes)}, min {min(boxes)}")
        print(f"ruDOZ alive at the end: {alive}")
        print(f"resident memory KiB: first {memory[0]}, at 10 s {memory[min(10, len(memory) - 1)]}, "
              f"last {memory[-1]}, max {max(memory)}")
    finally:
        scene.close()


if __name__ == "__main__":
    main()
