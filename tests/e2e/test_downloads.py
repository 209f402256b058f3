"""The setup view's download buttons clicked for real, against the local web
stand-in: the spot list's title after the confirmations, the message boxes, the
files they leave, and a failure that keeps the old file."""
import os
import unittest

import harness

ARGS = harness.options_parsed()


class SetupDownloads(unittest.TestCase):
    def setUp(self):
        self.out = os.path.join(ARGS.out, "downloads")
        os.makedirs(self.out, exist_ok=True)
        self.display = harness.Display()
        self.wine = harness.Wine(ARGS.prefix, self.display)
        self.work = harness.WorkDir()
        self.work.copy_sample("RUdoz.txt", "QJlook.txt")
        self.work.write_lines("QJcfm.txt", ["AB-12;UA1AAA;2019"])
        self.work.write_lines("QJar.txt", ["AB-12 Old list"])
        self.web = harness.WebStand(self.out)

    def tearDown(self):
        self.wine.close()
        self.display.close()
        self.work.close()
        self.web.close()

    def shot(self, name, window=None):
        self.display.screenshot(os.path.join(self.out, name + ".png"), window)

    def test_buttons_fetch_and_a_failure_keeps_the_file(self):
        settings = harness.SETTINGS + ["MyCall=ua1ABC"] + self.web.settings()
        exe = harness.install_rudoz(ARGS.exe, self.work.path, settings)
        self.wine.start(exe, cwd=self.work.path, log=os.path.join(self.out, "ruDOZ.out"))
        main = self.display.find_window("^(CFM-1|No Logger32 run!)$", timeout=60)
        # With "L32" unticked, "setup" typed into the callsign field opens the setup
        # view. The window fits its controls: the check box lies at its right end,
        # the callsign field at its left, both along the bottom edge.
        x, y, w, h = self.display.geometry(main)
        self.display.click(x + w - 28, y + h - 13)
        self.display.click(x + 40, y + h - 13)
        self.display.type("setup")
        vip = self.display.find_window("^Vip$", timeout=20)
        origin = harness.setup_panel_origin(self.display, vip, os.path.join(self.out, "setup-view.png"))

        harness.click_setup_button(self.display, origin, "cfm")
        self.display.wait_title(vip, "Download OK  CFM-300", timeout=30)
        self.assertEqual(self.work.read("QJcfm.txt"), open(os.path.join(harness.SAMPLE, "QJcfm.txt"), "rb").read())
        self.shot("after-cfm", vip)

        harness.click_setup_button(self.display, origin, "districts")
        harness.dismiss_message(self.display)
        self.assertEqual(self.work.read("QJar.txt"), open(os.path.join(harness.SAMPLE, "QJar.txt"), "rb").read())

        harness.click_setup_button(self.display, origin, "most_wanted")
        harness.dismiss_message(self.display)
        region = harness.wait_for(lambda: os.path.exists(os.path.join(self.work.path, "QJreg.txt")) and
                                  b"LastQso" in self.work.read("QJreg.txt") and self.work.read("QJreg.txt"), 20,
                                  what="the region list")
        self.assertIn(b"AD-02 12.2011-LastQso 3.55%MW\r\n", region)
        self.assertFalse(region.startswith(b"<"))

        # A server error: a message box, and the list stays as it was.
        before = self.work.read("QJar.txt")
        self.web.fault("mode=500&count=1")
        harness.click_setup_button(self.display, origin, "districts")
        self.shot("download-error")
        harness.dismiss_message(self.display)
        self.assertEqual(self.work.read("QJar.txt"), before)

        self.assertEqual(self.web.requests(), ["GET /rda/csv?call=ua1ABC 200", "GET /rda_rus.txt 200",
                                               "GET /rda/regions 200", "GET /rda_rus.txt 500"])


if __name__ == "__main__":
    unittest.main()
