"""The spot list and the verdict as a screen reader gets them from another process:
tools/accprobe takes the grid's accessible object through AccessibleObjectFromWindow
and listens with SetWinEventHook, as NVDA or JAWS would, while ruDOZ runs beside the
Logger32 stand-in; and the keyboard's way to tune a row, with real key presses."""
import os
import subprocess
import unittest

import harness

args = harness.options_parsed()

# callsign, district, Most Wanted line of the district, the row's percentage cell
# (the spots have no time of their own, so the rows' time cells stay empty)
SPOTS = [
    ("R1AAA", "AB-12", "AB-12 01.2020-LastQso 3.55%MW", "3 %"),
    ("R1BBB", "CD-01", "CD-01 02.2021-LastQso 22.5%MW", "22 %"),
    ("R1CCC", "EF-05", "EF-05 03.2022-LastQso 41%MW", "41 %"),
]


def record(call, freq):
    """A spot without a time of its own: it ages from its arrival."""
    call, freq = call.encode(), freq.encode()
    return b"<DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:%d>%s<DXSPOT_COMMENT:0>" % (len(call), call, len(freq), freq)


class Access(harness.LinkTestCase):
    scene_name = "access"

    def probe(self, *words, check=True):
        """One answer of the probe, as text lines (None when it failed and check is off)."""
        result = subprocess.run([harness.WINE_RUN, "--prefix", self.scene.wine.prefix, args.probe, *words],
                                env=self.scene.display.env(), capture_output=True, timeout=60)
        if result.returncode != 0 and not check:
            return None
        self.assertEqual(result.returncode, 0, result.stderr.decode("utf-8", "replace"))
        return result.stdout.decode("utf-8").replace("\r\n", "\n").splitlines()

    def heard(self, path):
        """The events the listening probe wrote: (event, class, child, name)."""
        try:
            with open(path, "rb") as f:
                lines = f.read().decode("utf-8").splitlines()
        except FileNotFoundError:
            return []
        return [tuple(int(v, 16) if i == 0 else int(v) if i == 2 else v for i, v in enumerate(line.split("\t")[1:]))
                for line in lines if line.startswith("event\t")]

    def test_a_reader_in_another_process_reads_tunes_and_hears_the_rows(self):
        scene, work = self.scene, self.scene.work
        work.write_lines("QJar.txt", [f"{d} District {d}" for _, d, _, _ in SPOTS] + ["ZZ-01 Confirmed"])
        work.write_lines("QJcfm.txt", ["ZZ-01;UA1AAA;2019"])
        work.write_lines("RUdoz.txt", [f"{c} {d}" for c, d, _, _ in SPOTS] + ["R1ZZZ ZZ-01"])
        work.write_lines("QJlook.txt", ["ZZZ"])
        work.write_lines("QJreg.txt", [line for _, _, line, _ in SPOTS])
        sim = scene.start_stand_in("--port", "1=grant", "--exit-after", "300")
        sim.wait_for("window", 60)
        harness.install_rudoz(args.exe, work.path, harness.SETTINGS + ["MaxAgeMinutes=1", "ListWithoutFocus=1"])
        scene.wine.start(os.path.join(work.path, os.path.basename(args.exe)), cwd=work.path,
                         log=os.path.join(scene.out, "ruDOZ.out"))
        display = scene.display
        main = display.find_window("^Connected Logger32 1$", timeout=60)

        events = os.path.join(scene.out, "events.txt")
        scene.wine.start(args.probe, "watch", harness.winpath(events), log=os.path.join(scene.out, "watch.out"))
        harness.wait_for(lambda: os.path.exists(events) and open(events, "rb").read().startswith(b"ready"), 60,
                         what="the listening probe")

        for call, _, _, _ in SPOTS:
            sim.control(b"spot " + record(call, "14025.0"))
        vip = display.find_window("^Vip$", timeout=20)
        harness.wait_for(lambda: self.probe("rows")[0] == f"children {len(SPOTS)}", 20, what="three rows")

        # Each row's name is its text in column order, its description what its colour
        # says, its default action "Tune".
        rows = self.probe("rows")[1:]
        self.assertEqual(len(rows), len(SPOTS))
        descriptions = ["Most Wanted, under 15 %", "Most Wanted, under 30 %", "Most Wanted, under 50 %"]
        for (call, district, _, percent), row, description in zip(SPOTS, rows, descriptions):
            number, name, said, action = row.split("\t")
            self.assertEqual((name, said, action), (f"{call}, 14025.0, {district}, {percent}", description, "Tune"))

        # Real keys: into the list by its title, Tab to the grid, Down twice, Enter tunes
        # row 3. Then a reader's default action on row 3 does what a click on it does.
        tune = [b"<APP_CLICK_DXSPOT:15>14025.000|R1CCC", b"<STATE:2>EF<CNTY:2>05"]
        x, y, w, _ = display.geometry(vip)
        display.click(x + w // 2, y + 8)
        display.xdotool("windowfocus", "--sync", str(vip), check=False)
        display.key("Tab", "Down", "Down", "Return")
        self.assertEqual([e.text for e in sim.wait_for("command", 20, count=2)], tune)
        self.probe("do", rows[2].split("\t")[0].split()[1])  # the third row's own child id
        self.assertEqual([e.text for e in sim.wait_for("command", 20, count=4)[2:]], tune)

        # A verdict changes: the bar reads as its new text, and the reader heard it. (The
        # steps of the typed callsign raise no alert of their own and are not listed;
        # R1ZZZ is on the watch list; the list keeps out of the keyboard's way.)
        x, y, w, _ = display.geometry(main)
        display.click(x + w // 2, y + 8)
        display.xdotool("windowfocus", "--sync", str(main), check=False)
        display.key("alt+w", "R", "1", "Z", "Z", "Z")
        harness.wait_for(lambda: self.probe("bar", check=False) == ["bar\tRDA Status CFM"], 20, what="the bar's new name")
        harness.wait_for(lambda: any(e[0] == 0x800C and e[1] == "ruDOZ.StatusBar" and e[3] == "RDA Status CFM"
                                     for e in self.heard(events)), 20, what="the bar's name-changed event")

        # The rows were heard as they came, with their names, and as they aged out.
        # (Wine hands the queued events of one moment to the listener newest first.)
        created = sorted(e for e in self.heard(events) if e[0] == 0x8000 and e[1] == "TStringGrid" and e[2] > 0)
        listed = [c for c, _, _, _ in SPOTS] + ["R1ZZZ"]
        self.assertEqual([e[3].split(", ")[0] if "," in e[3] else "" for e in created[:len(listed)]], listed)
        harness.wait_for(lambda: self.probe("rows") == ["children 0"], 150, interval=2, what="the rows to age out")
        gone = [e for e in self.heard(events) if e[0] == 0x8001 and e[1] == "TStringGrid" and e[2] > 0]
        self.assertEqual(len(gone), len(listed))
        scene.screenshot("aged-out")


if __name__ == "__main__":
    unittest.main()
