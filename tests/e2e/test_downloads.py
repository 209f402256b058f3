"""The setup view's download buttons clicked for real, against the local web
stand-in: the spot list's title after the confirmations, the message boxes, the
files they leave, and failures that keep the old file: an error status, a server
that never answers, an endless slow body, a redirect loop, a web page or an empty
answer in place of a list."""
import glob
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

    def start_and_open_setup(self):
        """Starts ruDOZ and opens the setup view; returns the spot list window and the
        setup panel's origin."""
        settings = harness.SETTINGS + ["MyCall=ua1ABC"] + self.web.settings()
        exe = harness.install_rudoz(ARGS.exe, self.work.path, settings)
        self.wine.start(exe, cwd=self.work.path, log=os.path.join(self.out, "ruDOZ.out"))
        # The main window shows while the program still starts; "CFM-1" is written
        # when it is ready for the operator (the link's search writes over it later).
        main = self.display.find_window("^CFM-1$", timeout=60)
        # With "L32" unticked, "setup" typed into the callsign field opens the setup
        # view. The window fits its controls: the check box lies at its right end,
        # the callsign field at its left, both along the bottom edge.
        x, y, w, h = self.display.geometry(main)
        self.display.click(x + w - 28, y + h - 13)
        self.display.click(x + 40, y + h - 13)
        self.display.type("setup")
        vip = self.display.find_window("^Vip$", timeout=20)
        return vip, harness.setup_panel_origin(self.display, vip, os.path.join(self.out, "setup-view.png"))

    def temporary_files(self):
        return glob.glob(os.path.join(self.work.path, "rdz*.tmp"))

    def test_buttons_fetch_and_a_failure_keeps_the_file(self):
        vip, origin = self.start_and_open_setup()

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


    def test_endless_and_foreign_answers_end_in_a_message_and_keep_the_files(self):
        # Bounds of a few seconds instead of the operator's tens of seconds:
        # connecting, silence, the whole download (milliseconds).
        os.environ["RUDOZ_DOWNLOAD_BOUNDS"] = "3000,2000,4000"
        self.addCleanup(os.environ.pop, "RUDOZ_DOWNLOAD_BOUNDS", None)
        # A download cut off by an earlier end of the program left this behind.
        with open(os.path.join(self.work.path, "rdz1A2B.tmp"), "wb") as f:
            f.write(b"half a list")
        vip, origin = self.start_and_open_setup()
        self.assertEqual(self.temporary_files(), [])

        districts, confirmations = self.work.read("QJar.txt"), self.work.read("QJcfm.txt")
        cases = [
            ("stalled", "districts", "mode=stall&count=1", "GET /rda_rus.txt stalled"),
            ("trickle", "districts", "mode=trickle&seconds=0.2&count=1", "GET /rda_rus.txt 200 trickle"),
            ("redirect-loop", "districts", "mode=redirect&file=/rda_rus.txt", "GET /rda_rus.txt 302"),
            ("web-page", "cfm", "mode=body&file=regions.html&count=1", "GET /rda/csv?call=ua1ABC 200"),
            ("empty", "cfm", "mode=empty&count=1", "GET /rda/csv?call=ua1ABC 200"),
        ]
        for name, button, fault, request in cases:
            with self.subTest(name):
                before = len(self.web.requests())
                self.web.fault(fault)
                harness.click_setup_button(self.display, origin, button)
                # Each ends within the bounds set above, well before the program's
                # own (15 s of silence, 60 s in all), in a message box.
                harness.wait_for(lambda: harness.message_boxes(self.display), 10, what="the failure's message")
                self.shot("failure-" + name)
                harness.dismiss_message(self.display)
                self.web.admin("clear")
                self.assertIn(request, self.web.requests()[before:])
                self.assertEqual(self.work.read("QJar.txt"), districts)
                self.assertEqual(self.work.read("QJcfm.txt"), confirmations)
                self.assertEqual(self.temporary_files(), [])
                self.assertNotEqual(self.display.title(vip), "Download OK  CFM-0")
        # The loop was followed as far as the bound and no further.
        self.assertEqual(self.web.requests().count("GET /rda_rus.txt 302"), 6)


if __name__ == "__main__":
    unittest.main()
