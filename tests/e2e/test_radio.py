"""The radio through Debian's real rigctld (dummy radio) on loopback, with real
pointer input: a click on a 20 m CW spot's row tunes the dummy there in CW, the
frequency panel follows a frequency set from outside, and its SSB button gives the
band's sideband. The radio is read back and turned from outside with rigctl."""
import os
import socket
import subprocess
import unittest

import harness

harness.options_parsed()

PINK = (249, 176, 182)


def pixels(path):
    """{(x, y): (r, g, b)} of a picture, through ImageMagick's text output."""
    out = subprocess.run(["convert", path, "-depth", "8", "txt:-"], capture_output=True, text=True).stdout
    return {tuple(int(v) for v in line.partition(":")[0].split(",")):
            tuple(int(float(v)) for v in line.split("(")[1].split(")")[0].split(",")[:3])
            for line in out.splitlines()[1:]}


class Radio(harness.LinkTestCase):
    scene_name = "radio"

    def setUp(self):
        super().setUp()
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        self.rigctld = subprocess.Popen(["timeout", "300", "rigctld", "-m", "1", "-T", "127.0.0.1", "-t",
                                         str(self.port)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        harness.wait_for(lambda: self.rigctl("f"), 10, what="rigctld")

    def tearDown(self):
        harness.terminate(self.rigctld)
        super().tearDown()

    def rigctl(self, *args):
        result = subprocess.run(["rigctl", "-m", "2", "-r", f"127.0.0.1:{self.port}", *args],
                                capture_output=True, text=True, timeout=10)
        return result.stdout if result.returncode == 0 else ""

    def reads(self, hz, mode):
        harness.wait_for(lambda: self.rigctl("f", "m").startswith(f"{hz}\n{mode}\n"), 10,
                         what=f"the dummy at {hz} in {mode} (now {self.rigctl('f', 'm')!r})")

    def panel(self, vip, name):
        """The frequency panel's label, between its two buttons, as the screen shows it."""
        picture = pixels(self.scene.display.screenshot(os.path.join(self.scene.out, name + ".png"), vip))
        w, h = max(picture)[0] + 1, max(y for _, y in picture) + 1
        return {xy: c for xy, c in picture.items() if 60 < xy[0] < w - 60 and xy[1] > h - 30}

    def test_row_click_and_ssb_button_tune_the_dummy(self):
        work, display = self.scene.work, self.scene.display
        work.write_lines("QJar.txt", ["AB-12 District"])
        work.write_lines("QJcfm.txt", ["ZZ-01;UA1AAA;2019"])
        work.write_lines("RUdoz.txt", ["R1AAA AB-12"])
        work.write_lines("QJreg.txt", ["AB-12 01.2020-LastQso 3.55%MW"])
        sim = self.scene.start_stand_in("--port", "1=grant", "--exit-after", "300")
        sim.wait_for("window", 60)
        exe = harness.install_rudoz(self.scene.args.exe, work.path,
                                    harness.SETTINGS + ["QrgPanel=1", "Radio=rigctld", f"RigPort={self.port}"])
        self.scene.wine.start(exe, cwd=work.path, log=os.path.join(self.scene.out, "ruDOZ.out"))
        # The radio connects at once; the link to Logger32 says so after its handshake.
        display.find_window("^Connected Logger32 1$", timeout=60)
        sim.control(b"spot <DXSPOT_CALLSIGN:5>R1AAA<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:0><APP_DXSPOT_TIME:4>1201")
        vip = display.find_window("^Vip$", timeout=20)

        def pink_row():
            picture = pixels(display.screenshot(os.path.join(self.scene.out, "rows.png"), vip))
            found = [xy for xy, c in picture.items() if c == PINK]
            return found if len(found) > 300 else None
        pink = harness.wait_for(pink_row, 10, interval=0.5, what="the spot's row")
        wx, wy, ww, wh = display.geometry(vip)
        display.click(wx + min(x for x, _ in pink) + 20, wy + (min(y for _, y in pink) + max(y for _, y in pink)) // 2)
        self.reads(14025000, "CW")
        self.scene.screenshot("tuned")

        # Turned by hand to 40 m, then 20 m phone: the panel follows (within 2 s, and the
        # screenshots' time), and SSB gives the band's sideband.
        for hz, mode in ((7100000, "LSB"), (14200000, "USB")):
            before = self.panel(vip, "panel-before")
            self.rigctl("F", str(hz))
            harness.wait_for(lambda: self.panel(vip, f"panel-{hz}") != before, 4, interval=0.1, what="the panel")
            display.click(wx + ww - 26, wy + wh - 20)  # SSB
            self.reads(hz, mode)
        self.scene.screenshot("ssb")


if __name__ == "__main__":
    unittest.main()
