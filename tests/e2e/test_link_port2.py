#!/usr/bin/env python3
"""Logger32 silent on port 1 and granting port 2: the handshake, the spot intake,
a frequency report of 0 and the Disconnect when the main window closes, all seen
from Logger32's side."""

import time

import harness
from harness import check

SPOTS = [b"<DXSPOT_CALLSIGN:6>UA1ABC<DXSPOT_FREQ:7>14025.0<APP_DXSPOT_TIME:4>1201",
         b"<DXSPOT_CALLSIGN:6>DL1ABC<DXSPOT_FREQ:7>14030.0<APP_DXSPOT_TIME:4>1202",
         b"<DXSPOT_CALLSIGN:6>R3DEMO<DXSPOT_FREQ:6>7012.0<APP_DXSPOT_TIME:4>1203"]


def spot_record(call):
    return b"<DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:7>14025.0" % (len(call), call)


def callsign_field(sim):
    """The text of the main window's callsign field, the edit at the top left."""
    listed = len(sim.log.select("listed"))
    sim.control("fields")
    harness.wait_until(lambda: len(sim.log.select("listed")) > listed, 10, what="the child list")
    fields = [e for e in sim.log.select("child", x=0, y=0) if e.fields["class"] == "Edit"]
    check(fields, "the main window has no edit at 0,0")
    return fields[-1].text


def test(s):
    spots = f"{s.work}/spots.txt"
    with open(spots, "wb") as f:
        f.write(b"# three spots: Russian, not Russian, Russian\n" + b"\n".join(SPOTS) + b"\n")
    sim = s.start_stand_in("--port", "1=silent", "--port", "2=grant", "--watch", "TForm1",
                           "--spots", harness.winpath(spots), "--rate", "3000", "--exit-after", "300")
    sim.wait_for("window", 60)
    s.start_rudoz()

    # Port 1 tried, then port 2 about 1.5 s later with the title "QRL QRX PSE".
    first = sim.wait_for("recv", 60, port=1, wParam=1)[0]
    link = sim.log.select("lookup")[0].num("hwnd")
    check(link != 0 and first.num("lParam") == link, f"RegisterRequest names {first.num('lParam')}, not {link}")
    second = sim.wait_for("recv", 10, port=2, wParam=1)[0]
    check(1000 <= second.ms - first.ms <= 3500, f"port 2 tried {second.ms - first.ms} ms after port 1")
    check(second.num("lParam") == link, "RegisterRequest on port 2 names another window")
    busy = sim.wait_for_title("QRL QRX PSE", 10)
    check(first.ms < busy.ms, "QRL QRX PSE before port 2 was tried")

    # Accepted: SpotField with the link window's edit, then SpotFeed on, in that order.
    sim.wait_for("recv", 10, port=2, wParam=3, lParam=1)
    events = sim.log.events()
    index = {id(e): i for i, e in enumerate(events)}
    accepted = next(e for e in events if e.kind == "post" and e.fields == {"port": "2", "to": str(link), "wParam": "0", "lParam": "1"})
    field = next(e for e in events if e.kind == "recv" and e.fields.get("port") == "2" and e.fields["wParam"] == "2")
    feed = next(e for e in events if e.kind == "recv" and e.fields.get("port") == "2" and e.fields["wParam"] == "3")
    check(index[id(accepted)] < index[id(field)] < index[id(feed)], "SpotField and SpotFeed out of order")
    info = sim.log.select("field")[0]
    check(info.num("hwnd") == field.num("lParam") and info.fields["class"] == "Edit" and info.num("parent") == link,
          f"the spot field is not an edit of the link window: {info}")
    check(not sim.log.select("recv", port=1, wParam=2), "SpotField on the silent port")

    command = sim.wait_for("post", 10, port=2, wParam=3)[0]
    connected = sim.wait_for_title("Connected Logger32 2", 10)
    check(0 <= connected.ms - command.ms <= 3500, f"Connected {connected.ms - command.ms} ms after CommandWindow")

    # The spot feed, one record every 3 s from the time the feed was switched on (so
    # that the first lookup comes after "Connected"): Russian callsigns reach the
    # callsign field, others do not.
    sim.wait_for("spot", 30, count=3)
    check([e.text for e in sim.log.select("spot")] == SPOTS, "the spot records were not written as given")
    harness.wait_until(lambda: callsign_field(sim) == b"R3DEMO", 10, interval=0.3, what="R3DEMO in the callsign field")

    # The same callsign again starts no lookup: the title the stand-in wrote stays.
    sim.control("settitle marker")
    marker = sim.wait_for_title("marker", 10)
    sim.control(b"spot " + spot_record(b"R3DEMO"))
    sim.wait_for("spot", 10, count=4)
    time.sleep(1.5)
    later = [e for e in sim.log.select("title") if e.ms > marker.ms]
    check(not later, f"the same callsign changed the title: {later}")
    sim.control(b"spot " + spot_record(b"UA1ABC"))
    harness.wait_until(lambda: [e for e in sim.log.select("title") if e.ms > marker.ms], 10,
                       what="a lookup for a new callsign")

    # A message for the port tried before is ignored.
    sim.control("post 1 0 1")
    time.sleep(1.5)
    check(not sim.log.select("recv", port=1, wParam=2), "a reply on port 1 was taken for the link")

    # Frequency reports: 0 writes "Check CAT".
    sim.control("freq 14025000")
    sim.control("freq 0")
    cat = sim.wait_for_title("Check CAT", 10)
    s.screenshot("connected")

    # Alt+Q closes the main window: Disconnect (4, 0), sent.
    harness.press_keys(s.display, "Check CAT", "alt+q")
    bye = sim.wait_for("recv", 20, port=2, wParam=4)[0]
    check(bye.num("lParam") == 0 and "sent" in bye.flags, f"Disconnect was {bye}")
    check(bye.ms > cat.ms, "Disconnect before the close")
    harness.wait_until(lambda: any("gone" in e.flags for e in sim.log.select("title")), 20,
                       what="the main window to go")
    sim.control("quit")


if __name__ == "__main__":
    harness.run(test)
