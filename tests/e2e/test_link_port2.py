"""Logger32 silent on port 1 and granting port 2: the handshake, the spot intake,
a frequency report of 0 and the Disconnect when the main window closes, all seen
from Logger32's side."""
import unittest

import harness

harness.options_parsed()  # takes the paths off the command line before unittest reads it

SPOTS = [b"<DXSPOT_CALLSIGN:6>UA1ABC<DXSPOT_FREQ:7>14025.0<APP_DXSPOT_TIME:4>1201",
         b"<DXSPOT_CALLSIGN:6>DL1ABC<DXSPOT_FREQ:7>14030.0<APP_DXSPOT_TIME:4>1202",
         b"<DXSPOT_CALLSIGN:6>R3DEMO<DXSPOT_FREQ:6>7012.0<APP_DXSPOT_TIME:4>1203"]


def kinds_between(events, first, last):
    """The kinds of the events logged after `first` and before `last`."""
    keys = [(e.ms, e.kind, e.text) for e in events]
    return [e.kind for e in events[keys.index((first.ms, first.kind, first.text)) + 1:
                                   keys.index((last.ms, last.kind, last.text))]]


def spot_record(call):
    return b"<DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:7>14025.0" % (len(call), call)


class Port2Granted(harness.LinkTestCase):
    scene_name = "link-port2"

    def callsign_field(self):
        """The text of the main window's callsign field, the edit at the top left."""
        listed = len(self.sim.log.select("listed"))
        self.sim.control("fields")
        self.sim.wait_for("listed", 10, count=listed + 1)
        fields = [e for e in self.sim.log.select("child", x=0, y=0) if e.fields["class"] == "Edit"]
        self.assertTrue(fields, "the main window has no edit at 0,0")
        return fields[-1].text

    def test_handshake_spots_frequency_and_disconnect(self):
        spots = f"{self.scene.out}/spots.txt"
        with open(spots, "wb") as f:
            f.write(b"# Russian, not Russian, Russian\n" + b"\n".join(SPOTS) + b"\n")
        # One record every 3 s from the time the feed goes on, so that the first
        # lookup writes its title after "Connected".
        self.sim = sim = self.scene.start_stand_in(
            "--port", "1=silent", "--port", "2=grant", "--watch", "TForm1", "--spots", harness.winpath(spots),
            "--rate", "3000", "--exit-after", "300")
        sim.wait_for("window", 60)
        self.scene.start_rudoz()

        # Port 1 tried, then port 2 about 1.5 s later with the title "QRL QRX PSE".
        first = sim.wait_for("recv", 60, port=1, wParam=1)[0]
        link = sim.log.select("lookup")[0].num("hwnd")
        self.assertNotEqual(link, 0)
        self.assertEqual(first.num("lParam"), link)
        second = sim.wait_for("recv", 10, port=2, wParam=1)[0]
        self.assertTrue(1000 <= second.ms - first.ms <= 3500, f"port 2 tried {second.ms - first.ms} ms after port 1")
        self.assertEqual(second.num("lParam"), link)
        busy = sim.wait_for_title("QRL QRX PSE", 10)
        self.assertGreater(busy.ms, first.ms)

        # Accepted: SpotField naming the link window's edit, then SpotFeed on.
        sim.wait_for("recv", 10, port=2, wParam=3, lParam=1)
        order = [(e.kind, e.fields.get("port"), e.fields.get("wParam")) for e in sim.log.events()
                 if e.kind in ("post", "recv") and e.fields.get("port") == "2"]
        accepted, spot_field, spot_feed = ("post", "2", "0"), ("recv", "2", "2"), ("recv", "2", "3")
        self.assertLess(order.index(accepted), order.index(spot_field))
        self.assertLess(order.index(spot_field), order.index(spot_feed))
        field = sim.log.select("field")[0]
        self.assertEqual(field.num("hwnd"), sim.log.select("recv", port=2, wParam=2)[0].num("lParam"))
        self.assertEqual((field.fields["class"], field.num("parent")), ("Edit", link))
        self.assertEqual(sim.log.select("recv", port=1, wParam=2), [], "SpotField on the silent port")

        command = sim.wait_for("post", 10, port=2, wParam=3)[0]
        connected = sim.wait_for_title("Connected Logger32 2", 10)
        self.assertTrue(0 <= connected.ms - command.ms <= 3500)

        # The spot feed: Russian callsigns reach the callsign field, others do not.
        sim.wait_for("spot", 30, count=3)
        self.assertEqual([e.text for e in sim.log.select("spot")], SPOTS)
        harness.wait_for(lambda: self.callsign_field() == b"R3DEMO", 10, interval=0.3,
                         what="R3DEMO in the callsign field")

        # The same callsign again starts no lookup: the title written here stays
        # until a new callsign's lookup writes its own. A spot is handled before
        # Logger32's send returns and its title is written right after; the stand-in
        # looks at the title every 50 ms and sends the next spot only once this test
        # has read the repeat in its log, so a lookup of the repeat would be logged
        # between the two spots.
        sim.control("settitle marker")
        sim.wait_for_title("marker", 10)
        sim.control(b"spot " + spot_record(b"R3DEMO"))
        repeat = sim.wait_for("spot", 10, count=4)[-1]
        sim.control(b"spot " + spot_record(b"UA1ABC"))
        fresh = sim.wait_for("spot", 10, count=5)[-1]
        harness.wait_for(lambda: sim.log.titles(fresh.ms - 1), 10, what="the lookup of a new callsign")
        self.assertNotIn("title", kinds_between(sim.log.events(), repeat, fresh), "the same callsign started a lookup")

        # A message for the port tried before is ignored; the frequency reports that
        # follow it in the same queue show when it has been handled: 0 writes "Check
        # CAT".
        sim.control("post 1 0 1")
        sim.control("freq 14025000")
        sim.control("freq 0")
        cat = sim.wait_for_title("Check CAT", 10)
        self.assertEqual(len(sim.log.select("recv", wParam=2)), 1, "a reply on port 1 taken for the link")
        self.scene.screenshot("connected")

        # Alt+Q closes the main window: Disconnect (4, 0), sent.
        harness.press_keys(self.scene.display, "Check CAT", "alt+q")
        bye = sim.wait_for("recv", 20, port=2, wParam=4)[0]
        self.assertEqual(bye.num("lParam"), 0)
        self.assertIn("sent", bye.flags)
        self.assertGreater(bye.ms, cat.ms)
        sim.main_window_gone()


if __name__ == "__main__":
    unittest.main()
