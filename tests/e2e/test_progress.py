"""The award progress window of the real program on the sample files, driven with
real input: opened from the main window's menu, sorted by a click on a column
title, a region clicked for its needed districts, the table copied and read back
from the X clipboard (Wine hands the Windows clipboard over to X)."""
import os
import subprocess
import unittest

import harness

ARGS = harness.options()

# Where the settings put the window, and its size.
PLACE = (560, 60, 620, 560)


def region_names():
    """{letters: name} from the header lines of the sample district list."""
    with open(os.path.join(harness.SAMPLE, "QJar.txt"), "rb") as f:
        lines = f.read().decode("cp1251").splitlines()
    return {fields[1][1:3]: fields[0] for fields in (line.split("\t") for line in lines) if fields[1].startswith("(")}


class ProgressWindow(unittest.TestCase):
    def setUp(self):
        self.out = os.path.join(ARGS.out, "progress")
        os.makedirs(self.out, exist_ok=True)
        self.work = harness.WorkDir()
        self.work.copy_sample("RUdoz.txt", "QJar.txt", "QJcfm.txt", "QJlook.txt")
        self.display = harness.Display()
        self.wine = harness.Wine(ARGS.prefix, self.display)
        # Logger32 grants port 1, so that the link's status texts are over before
        # the main window's menu is used.
        sim = harness.StandIn(self.wine, ARGS.sim, os.path.join(self.out, "l32sim"), "--exit-after", "300")
        sim.wait_for("window", 60)
        settings = harness.SETTINGS + [f"ProgressLeft={PLACE[0]}", f"ProgressTop={PLACE[1]}",
                                       f"ProgressWidth={PLACE[2]}", f"ProgressHeight={PLACE[3]}"]
        self.program = self.wine.start(harness.install_rudoz(ARGS.exe, self.work.path, settings), cwd=self.work.path)
        self.main = self.display.find_window("^CFM-", timeout=30)
        self.confirmed = int(self.display.title(self.main)[4:])
        self.display.wait_title(self.main, "Connected Logger32 1")

    def tearDown(self):
        self.wine.close()
        self.display.close()
        self.work.close()

    def shot(self, name):
        return self.display.screenshot(os.path.join(self.out, name + ".png"), self.window)

    def clipboard(self):
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o", "-t", "UTF8_STRING"],
                                env=self.display.env(), capture_output=True)
        return result.stdout.decode("utf-8") if result.returncode == 0 else ""

    def copy_table(self):
        """The table as "Copy" puts it on the clipboard: the focus goes from the table
        back to the button (Shift+Tab) and Space presses it."""
        subprocess.run(["xclip", "-selection", "clipboard", "-i", "/dev/null"], env=self.display.env(), check=True)
        self.display.key("shift+Tab", "space")
        text = harness.wait_for(self.clipboard, 10, what="the table on the clipboard")
        return [line.split("\t") for line in text.splitlines() if line]  # X takes LF line ends

    def needed_lines_shown(self, name):
        """Lines of text in the needed list, the white band at the bottom of the
        window: bands of rows with dark pixels where the codes stand, at its left."""
        width, height, pixels = harness.picture(self.shot(name))
        white_rows = [y for y in range(height // 2, height - 8)
                      if sum(pixels[(x, y)] == harness.WHITE for x in range(8, width - 8)) > width // 2]
        top = next(y for y in reversed(white_rows) if y - 1 not in white_rows)
        left = next(x for x in range(8, width) if pixels[(x, top + 1)] == harness.WHITE)
        bands, inside = 0, False
        for y in range(top, white_rows[-1]):
            dark = any(sum(pixels[(x, y)]) < 300 for x in range(left + 2, left + 40))
            bands += dark and not inside
            inside = dark
        return bands

    def test_sort_select_and_copy_with_real_input(self):
        x, y, w, h = self.display.geometry(self.main)
        self.display.click(x + 167, y + h - 13, button=3)  # between the district field and "L32"
        self.display.key("Down", "Down", "Down", "Return")  # "Setup", "Show Vip", "Progress"
        self.window = self.display.find_window("^RDA Progress$", timeout=20)
        self.assertEqual(self.display.geometry(self.window), PLACE)
        self.assertEqual(self.needed_lines_shown("progress-open"), 0)  # no region chosen yet

        left, titles, top = harness.progress_table(self.display, self.window,
                                                   os.path.join(self.out, "progress-find-table.png"))
        # A click on the title "Needed" sorts by it, fewest first; then a click on
        # the first row lists that region's needed districts below the table.
        needed_title = left + sum(harness.PROGRESS_COLUMNS[:4]) + harness.PROGRESS_COLUMNS[4] // 2
        self.display.click(needed_title, titles + 8)
        self.display.click(left + 20, top + 6)
        table = self.copy_table()
        self.assertEqual(table[0], ["Region", "Name", "Confirmed", "Active", "Needed", "%"])
        rows = table[1:]
        self.assertGreater(len(rows), 80)
        self.assertEqual(sum(int(r[2]) for r in rows), self.confirmed)  # the title's count
        self.assertEqual([int(r[4]) for r in rows], sorted(int(r[4]) for r in rows))
        names = region_names()
        for r in rows:
            self.assertEqual(int(r[3]) - int(r[2]), int(r[4]), r)
            self.assertEqual(r[1], names[r[0]])  # Cyrillic as the header line has it
        self.shot("progress-sorted")

        # The list of the region clicked shows its needed districts, one a line, as
        # many as fit.
        shown = harness.wait_for(lambda: self.needed_lines_shown("progress-needed") or None, 10,
                                 what="the needed list")
        self.assertGreaterEqual(shown, min(int(rows[0][4]), 8))
        self.assertLessEqual(shown, int(rows[0][4]))

        # A second click on the same title turns the order round.
        self.display.click(needed_title, titles + 8)
        self.display.click(left + 20, top + 6)
        rows = self.copy_table()[1:]
        self.assertEqual([int(r[4]) for r in rows], sorted((int(r[4]) for r in rows), reverse=True))
        self.shot("progress-sorted-descending")

        self.display.key("alt+F4")  # closing only hides it
        harness.wait_for(lambda: not self.display.windows("^RDA Progress$"), 10, what="the window to hide")
        harness.press_keys(self.display, self.display.title(self.main), "alt+q")
        # The program quits with the window hidden (a time-out fails the test); how
        # its place is kept is tested with the settings file's other keys.
        self.program.wait(15)


if __name__ == "__main__":
    unittest.main()
