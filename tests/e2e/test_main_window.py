"""The main window as the operator uses it: real keystrokes, the title, the colour of
the verdict bar, Alt+W and Alt+Q."""
import os
import unittest

import harness

ARGS = harness.options()

GREEN = (0, 128, 0)
RED = (255, 0, 0)


class MainWindow(unittest.TestCase):
    def setUp(self):
        self.work = harness.WorkDir()
        self.work.write_lines("QJcfm.txt", ["AB-12;UA1AAA;2019", "AB-12;RK3BBB;2020", "CD-01;R1CCC;20m", "",
                                            "CD-01;R1CCC;20m"])
        self.work.write_lines("QJar.txt", ["AB-12\tАбинский район", "CD-01 Other district",
                                           "EF-05 Old district deleted", "KK-33 Fresh district"])
        self.work.write_lines("RUdoz.txt", ["UA1AAA AB-12"])
        self.work.write_lines("QJlook.txt", ["R9X"])
        self.display = harness.Display()
        self.wine = harness.Wine(ARGS.prefix, self.display)
        # Logger32 grants port 1, so that the link has written its last status text
        # ("Connected Logger32 1") before the verdicts are read from the title.
        sim = harness.StandIn(self.wine, ARGS.sim, os.path.join(ARGS.out, "main-window-l32sim"), "--exit-after", "300")
        sim.wait_for("window", 60)
        self.program = self.wine.start(harness.install_rudoz(ARGS.exe, self.work.path), cwd=self.work.path)
        self.window = self.display.find_window("^CFM-2$", timeout=30)
        self.display.wait_title(self.window, "Connected Logger32 1")

    def tearDown(self):
        self.wine.close()
        self.display.close()
        self.work.close()

    def bar_colour(self):
        x, y, w, h = self.display.geometry(self.window)
        return self.display.pixel(x + 12, y + h - 12)

    def shot(self, name):
        self.display.screenshot(os.path.join(ARGS.out, name + ".png"), self.window)

    def replace_district(self, text):
        # Alt+W empties both fields and leaves the focus in the callsign field.
        self.display.key("alt+w")
        self.display.wait_title(self.window, "Нет такого")
        self.display.key("Tab")
        self.display.type(text)

    def test_verdicts_typed_into_the_district_field(self):
        x, y, start_width, start_height = self.display.geometry(self.window)
        self.shot("main-start")

        self.replace_district("ab-12")
        self.display.wait_title(self.window, "Абинский район")
        harness.wait_for(lambda: self.bar_colour() == GREEN, 5, what="the green bar")
        self.shot("main-cfm")

        self.replace_district("kk-33")
        self.display.wait_title(self.window, "Fresh district")
        harness.wait_for(lambda: self.bar_colour() == RED, 5, what="the red bar")
        self.shot("main-new")
        # Alt+W runs the lookup, which lists a spot while the alert is raised and so
        # brings the spot list window forward: a confirmed district lowers it first.
        for _ in range(5):
            self.display.key("BackSpace")
        self.display.type("ab-12")
        self.display.wait_title(self.window, "Абинский район")

        self.replace_district("ef-05")
        self.display.wait_title(self.window, "Old district deleted")
        self.shot("main-deleted")

        self.replace_district("qq-00")
        self.display.wait_title(self.window, "Нет такого")
        self.shot("main-unknown")

        # Alt+W: both fields empty, list box and bar hidden, so the window is back
        # to its size at start.
        self.display.key("alt+w")
        self.display.wait_title(self.window, "Нет такого")
        harness.wait_for(lambda: self.display.geometry(self.window)[2:] == (start_width, start_height), 5,
                         what="the window to shrink back")

        self.display.key("alt+q")
        self.program.wait(15)  # ruDOZ quits on Alt+Q: a time-out fails the test


if __name__ == "__main__":
    unittest.main()
