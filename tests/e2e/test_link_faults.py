"""The Logger32 link under faults, seen from both sides: an error box open at
start-up while the port is granted, Logger32 killed and started again, and Alt+Q
beside a Logger32 that has stopped answering."""
import os
import time
import unittest

import harness

harness.options_parsed()


def record(call, comment):
    call, comment = call.encode(), comment.encode()
    return (b"<DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:%d>%s<APP_DXSPOT_TIME:4>1201"
            % (len(call), call, len(comment), comment))


class LinkUnderFaults(harness.LinkTestCase):
    scene_name = "link-faults"

    def setUp(self):
        super().setUp()
        work = self.scene.work
        work.write_lines("QJar.txt", ["AB-12 Abinsk district", "MO-05 Moscow district"])
        work.write_lines("QJcfm.txt", ["AB-12;UA1AAA;2019"])
        work.write_lines("RUdoz.txt", ["UA1AAA AB-12"])
        work.write_lines("QJlook.txt", ["ZZZ"])

    def start_stand_in(self):
        sim = self.scene.start_stand_in("--port", "1=grant", "--watch", "TForm1", "--exit-after", "300")
        sim.wait_for("window", 60)
        return sim

    def spot_is_handled(self, sim, n, comment="RDA MO-05 TNX", title="Moscow district"):
        """A spot written now reaches the lookup: its district's title follows."""
        sim.control(f"settitle marker {n}")
        marker = sim.wait_for_title(f"marker {n}", 10)
        sim.control(b"spot " + record(f"R1Q{chr(65 + n)}", comment))
        sim.wait_for_title(title, 10, after_ms=marker.ms)

    def boxes(self, sim):
        done = len(sim.log.select("boxes"))
        sim.control("boxes")
        return sim.wait_for("boxes", 10, count=done + 1)[-1].num("count")

    def test_error_box_at_start_up_keeps_the_link(self):
        os.remove(os.path.join(self.scene.work.path, "QJcfm.txt"))
        sim = self.start_stand_in()
        self.scene.start_rudoz()
        # The activation's "Cannot open file" box is open while the port is won.
        harness.wait_for(lambda: self.boxes(sim) == 1, 30, what="the start-up error box")
        sim.wait_for("recv", 30, port=1, wParam=3, lParam=1)
        # The handshake's next tick, in the box's loop, finds the command window: had
        # the box taken the replies away, that tick would have tried port 2 instead.
        sim.wait_for_title("Connected Logger32 1", 30)
        self.assertEqual(self.boxes(sim), 1)
        self.assertEqual(sim.log.select("recv", port=2), [], "port 2 tried while the box was open")
        self.scene.screenshot("start-up-box")
        self.scene.work.write_lines("QJcfm.txt", ["AB-12;UA1AAA;2019"])
        display = self.scene.display
        box = harness.message_boxes(display)[0]
        x, y, w, h = display.geometry(box)
        display.click(x + w // 2, y + 8)
        display.key("Return")
        harness.wait_for(lambda: self.boxes(sim) == 0, 10, what="the box to close")
        sim.wait_for_title("Connected Logger32 1", 10)
        self.assertNotIn("All QRL Sorry -:((".encode(), [e.text for e in sim.log.titles()])
        self.spot_is_handled(sim, 0)

    def test_logger32_restart_is_noticed(self):
        sim = self.start_stand_in()
        rudoz = self.scene.start_rudoz()
        sim.wait_for_title("Connected Logger32 1", 60)
        self.spot_is_handled(sim, 0)

        sim.control("crash")  # gone as if killed
        sim.process.wait(20)
        self.scene.display.find_window("^No Logger32 run!$", timeout=20)  # ruDOZ noticed
        sim = self.start_stand_in()  # a new one: its log starts empty
        sim.wait_for_title("Connected Logger32 1", 30)
        titles = [e.text.decode("utf-8") for e in sim.log.titles()]
        self.assertEqual(titles[:2], ["No Logger32 run!", "Looking for Cat"])
        self.spot_is_handled(sim, 1, "AB-12", "Abinsk district")
        self.assertIsNone(rudoz.poll())

    def test_alt_q_beside_a_hung_logger32(self):
        sim = self.start_stand_in()
        rudoz = self.scene.start_rudoz()
        sim.wait_for_title("Connected Logger32 1", 60)
        self.spot_is_handled(sim, 0)  # a link message with a non-zero code: Disconnect is due
        sim.hang(15000)
        harness.press_keys(self.scene.display, "Moscow district", "alt+q")
        pressed = time.monotonic()
        rudoz.wait(20)
        gone = time.monotonic() - pressed
        print(f"ruDOZ gone {gone:.2f} s after Alt+Q beside a hung Logger32")
        # The disconnection waits two seconds at most; ten would mean it waited out
        # the old time-out.
        self.assertLess(gone, 8)


if __name__ == "__main__":
    unittest.main()
