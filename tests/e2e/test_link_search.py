#!/usr/bin/env python3
"""ruDOZ started without Logger32: it keeps looking, finds the stand-in once its
window appears and wins port 1."""

import harness
from harness import check


def test(s):
    # The stand-in watches the main window's title from the start; its own
    # "Logger32" window comes only on command.
    sim = s.start_stand_in("--watch", "TForm1", "--start-delay", "600000", "--exit-after", "300")
    sim.wait_for("start", 60)
    s.start_rudoz()

    first = sim.wait_for_title("No Logger32 run!", 60)
    # Written again on every search tick: whatever else the title shows goes.
    for round in range(2):
        sim.control(f"settitle marker {round}")
        marker = sim.wait_for_title(f"marker {round}", 10)
        again = sim.wait_for_title("No Logger32 run!", 10, after_ms=marker.ms)
        check(again.ms - marker.ms <= 3500, f"not rewritten within 3.5 s: {again.ms - marker.ms} ms")
    check(not sim.log.select("recv"), "a link message before Logger32 was there")

    sim.control("create")
    window = sim.wait_for("window", 10)[0]
    found = sim.wait_for_title("Looking for Cat", 10, after_ms=window.ms)
    check(found.ms - window.ms <= 3500, f"Logger32 found {found.ms - window.ms} ms after it appeared")

    request = sim.wait_for("recv", 10, port=1, wParam=1)[0]
    check(1000 <= request.ms - found.ms <= 3500, f"port 1 tried {request.ms - found.ms} ms after the search")
    link = sim.log.select("lookup")[0].num("hwnd")
    check(link != 0 and request.num("lParam") == link, "RegisterRequest does not name the TForm2 window")
    check("posted" in request.flags, "RegisterRequest was not posted")

    sim.wait_for("recv", 10, port=1, wParam=2)
    sim.wait_for("recv", 10, port=1, wParam=3, lParam=1)
    sim.wait_for_title("Connected Logger32 1", 10)
    check(not sim.log.select("recv", port=2), "port 2 tried although port 1 granted")
    s.screenshot("connected")
    harness.press_keys(s.display, "Connected Logger32 1", "alt+q")
    sim.wait_for("recv", 20, port=1, wParam=4)
    sim.control("quit")


if __name__ == "__main__":
    harness.run(test)
