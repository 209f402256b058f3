"""ruDOZ started without Logger32: it keeps looking, finds the stand-in once its
window appears and wins port 1; seen from Logger32's side."""
import unittest

import harness

harness.options_parsed()  # takes the paths off the command line before unittest reads it


class StartedWithoutLogger32(harness.LinkTestCase):
    scene_name = "link-search"

    def test_search_then_port_1(self):
        # The stand-in watches the main window's title from the start; its own
        # "Logger32" window comes only on command.
        sim = self.scene.start_stand_in("--watch", "TForm1", "--start-delay", "600000", "--exit-after", "300")
        sim.wait_for("start", 60)
        self.scene.start_rudoz()
        sim.wait_for_title("No Logger32 run!", 60)

        # Written again on every search tick, whatever else the title shows.
        for round in range(2):
            sim.control(f"settitle marker {round}")
            marker = sim.wait_for_title(f"marker {round}", 10)
            again = sim.wait_for_title("No Logger32 run!", 10, after_ms=marker.ms)
            self.assertLessEqual(again.ms - marker.ms, 3500)
        self.assertEqual(sim.log.select("recv"), [])

        sim.control("create")
        window = sim.wait_for("window", 10)[0]
        found = sim.wait_for_title("Looking for Cat", 10, after_ms=window.ms)
        self.assertLessEqual(found.ms - window.ms, 3500, "Logger32 found late")

        request = sim.wait_for("recv", 10, port=1, wParam=1)[0]
        self.assertTrue(1000 <= request.ms - found.ms <= 3500, f"port 1 tried {request.ms - found.ms} ms later")
        link = sim.log.select("lookup")[0].num("hwnd")
        self.assertNotEqual(link, 0)
        self.assertEqual(request.num("lParam"), link, "RegisterRequest names another window than TForm2")
        self.assertIn("posted", request.flags)

        sim.wait_for("recv", 10, port=1, wParam=3, lParam=1)
        sim.wait_for_title("Connected Logger32 1", 10)
        self.assertEqual(sim.log.select("recv", port=2), [], "port 2 tried although port 1 granted")
        self.scene.screenshot("connected")

        harness.press_keys(self.scene.display, "Connected Logger32 1", "alt+q")
        bye = sim.wait_for("recv", 20, port=1, wParam=4)[0]
        self.assertIn("sent", bye.flags)


if __name__ == "__main__":
    unittest.main()
