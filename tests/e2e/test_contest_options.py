"""With ListWithoutFocus=1, a spot listed while the operator types in the main
window shows the spot list without taking the keyboard: the next keys still reach
the main window (Alt+W clears its fields, the next callsign is looked up)."""
import os
import unittest

import harness

ARGS = harness.options()

PINK, YELLOW = (249, 176, 182), (255, 255, 0)


class ListWithoutFocus(unittest.TestCase):
    def setUp(self):
        self.work = harness.WorkDir()
        self.work.write_lines("QJar.txt", ["AB-12 Abinsk district", "KK-33 Fresh district", "MO-12 Moscow district"])
        self.work.write_lines("QJcfm.txt", ["AB-12;UA1AAA;2019"])
        self.work.write_lines("RUdoz.txt", ["R3NEW KK-33", "R3TWO MO-12"])
        self.work.write_lines("QJlook.txt", ["ZZZ"])
        self.work.write_lines("QJreg.txt", ["KK-33 01.2020-LastQso 3.55%MW", "MO-12 02.2021-LastQso 22.5%MW"])
        self.out = os.path.join(ARGS.out, "contest-options")
        self.display = harness.Display()
        self.wine = harness.Wine(ARGS.prefix, self.display)
        # Logger32 grants port 1, so that the link has written its last status text
        # before the lookups' titles are read.
        sim = harness.StandIn(self.wine, ARGS.sim, self.out, "--exit-after", "300")
        sim.wait_for("window", 60)
        exe = harness.install_rudoz(ARGS.exe, self.work.path, harness.SETTINGS + ["ListWithoutFocus=1"])
        self.program = self.wine.start(exe, cwd=self.work.path)
        self.window = self.display.find_window("^CFM-1$", timeout=30)
        self.display.wait_title(self.window, "Connected Logger32 1")

    def tearDown(self):
        self.wine.close()
        self.display.close()
        self.work.close()

    def test_typing_goes_on_in_the_main_window_while_spots_are_listed(self):
        display = self.display
        display.key("alt+w")
        display.wait_title(self.window, "Нет такого")
        display.type("r3new")
        display.wait_title(self.window, "Fresh district")
        vip = display.find_window("^Vip$", timeout=20)
        # The keys after the listing: only the main window knows Alt+W.
        display.key("alt+w")
        display.wait_title(self.window, "Нет такого")
        display.type("r3two")
        display.wait_title(self.window, "Moscow district")

        def rows():
            width, height, pixels = harness.picture(display.screenshot(os.path.join(self.out, "spot-list.png"), vip))
            counts = [sum(1 for p in pixels.values() if p == colour) for colour in (PINK, YELLOW)]
            return counts if min(counts) > 300 else None
        harness.wait_for(rows, 10, interval=0.5, what="a pink and a yellow row in the spot list")
        display.screenshot(os.path.join(self.out, "desktop.png"))
        display.key("alt+q")
        self.program.wait(15)  # ruDOZ quits on Alt+Q: a time-out fails the test


if __name__ == "__main__":
    unittest.main()
