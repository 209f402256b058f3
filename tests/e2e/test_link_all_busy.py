#!/usr/bin/env python3
"""A Logger32 that grants no port: five ports tried about 1.5 s apart, then no more,
and the title "All QRL Sorry -:((". Ports 1 and 3 answer (0, 0), the others nothing."""

import time

import harness
from harness import check


def test(s):
    sim = s.start_stand_in("--port", "1=zero", "--port", "3=zero", "--watch", "TForm1", "--exit-after", "300")
    sim.wait_for("window", 60)
    s.start_rudoz()

    requests = sim.wait_for("recv", 60, count=5, wParam=1)
    check([e.num("port") for e in requests] == [1, 2, 3, 4, 5], f"ports tried: {requests}")
    for before, after in zip(requests, requests[1:]):
        gap = after.ms - before.ms
        check(1000 <= gap <= 3500, f"port {after.num('port')} tried {gap} ms after the one before")
    check([e.num("port") for e in sim.log.select("post")] == [1, 3], "only ports 1 and 3 answer")

    sorry = sim.wait_for_title("All QRL Sorry -:((", 10, after_ms=requests[-1].ms)
    check(1000 <= sorry.ms - requests[-1].ms <= 3500, f"All busy {sorry.ms - requests[-1].ms} ms after port 5")
    busy = sim.log.select("title")
    check(any(e.text == "QRL QRX PSE".encode() and requests[0].ms < e.ms < sorry.ms for e in busy),
          "no QRL QRX PSE while the ports were tried")

    time.sleep(4)
    check(len(sim.log.select("recv")) == 5, "link messages after All busy")
    check(sim.log.select("title")[-1].text == "All QRL Sorry -:((".encode(), "the title did not stay")
    s.screenshot("all-busy")
    harness.press_keys(s.display, "All QRL Sorry -:((", "alt+q")
    harness.wait_until(lambda: any("gone" in e.flags for e in sim.log.select("title")), 20,
                       what="the main window to go")
    check(not sim.log.select("recv", wParam=4), "Disconnect sent although the last code was 0")
    sim.control("quit")


if __name__ == "__main__":
    harness.run(test)
