"""A Logger32 that grants no port: five ports tried about 1.5 s apart, then no more,
and the title "All QRL Sorry -:((". Ports 1 and 3 answer (0, 0), the others nothing."""
import unittest

import harness

harness.options_parsed()  # takes the paths off the command line before unittest reads it


class NoPortGranted(harness.LinkTestCase):
    scene_name = "link-all-busy"

    def test_five_ports_then_all_busy(self):
        sim = self.scene.start_stand_in("--port", "1=zero", "--port", "3=zero", "--watch", "TForm1",
                                        "--exit-after", "300")
        sim.wait_for("window", 60)
        self.scene.start_rudoz()

        requests = sim.wait_for("recv", 60, count=5, wParam=1)
        self.assertEqual([e.num("port") for e in requests], [1, 2, 3, 4, 5])
        for before, after in zip(requests, requests[1:]):
            self.assertTrue(1000 <= after.ms - before.ms <= 3500,
                            f"port {after.num('port')} tried {after.ms - before.ms} ms after the one before")
        self.assertEqual([e.num("port") for e in sim.log.select("post")], [1, 3])

        sorry = sim.wait_for_title("All QRL Sorry -:((", 10, after_ms=requests[-1].ms)
        self.assertTrue(1000 <= sorry.ms - requests[-1].ms <= 3500, f"{sorry.ms - requests[-1].ms} ms after port 5")
        busy = [e for e in sim.log.titles(requests[0].ms) if e.text == b"QRL QRX PSE" and e.ms < sorry.ms]
        self.assertTrue(busy, "no QRL QRX PSE while the ports were tried")

        self.scene.screenshot("all-busy")

        harness.press_keys(self.scene.display, "All QRL Sorry -:((", "alt+q")
        sim.main_window_gone()
        # Once ruDOZ is gone nothing more can come: no port was tried after the fifth
        # (that its timers stop is shown where the link window is driven directly).
        self.assertEqual(len(sim.log.select("recv")), 5, "link messages after All busy")
        shown = [e.text for e in sim.log.titles() if e.text is not None]
        self.assertEqual(shown[-1], "All QRL Sorry -:((".encode())
        self.assertEqual(sim.log.select("recv", wParam=4), [], "Disconnect although the last code was 0")


if __name__ == "__main__":
    unittest.main()
