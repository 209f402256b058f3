"""Spots of new districts reach the spot list as rows coloured by how wanted their
district is and as lines of the alert log; a real click on a row tells Logger32 to
tune to the spot and, after the pause, names the district."""
import os
import subprocess
import time
import unittest

import harness

harness.options_parsed()

PINK, YELLOW, LIGHT_GREEN = (249, 176, 182), (255, 255, 0), (128, 255, 128)
TITLE_ROW = (213, 253, 91)

# callsign, district, Most Wanted line of the district, the row's colour
SPOTS = [
    ("R1AAA", "AB-12", "AB-12 01.2020-LastQso 3.55%MW", PINK),
    ("R1BBB", "CD-01", "CD-01 02.2021-LastQso 22.5%MW", YELLOW),
    ("R1CCC", "EF-05", "EF-05 03.2022-LastQso 41%MW", LIGHT_GREEN),
    ("R1DDD", "GH-07", "GH-07 04.2023-LastQso 75%MW", None),
]


def record(call, freq):
    call, freq = call.encode(), freq.encode()
    return (b"<DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:%d>%s<DXSPOT_COMMENT:0><APP_DXSPOT_TIME:4>1201"
            % (len(call), call, len(freq), freq))


def pixels(path):
    """{(x, y): (r, g, b)} of a picture, through ImageMagick's text output."""
    out = subprocess.run(["convert", path, "-depth", "8", "txt:-"], capture_output=True, text=True,
                         check=True).stdout
    result = {}
    for line in out.splitlines()[1:]:
        where, _, rest = line.partition(":")
        x, y = (int(v) for v in where.split(","))
        rgb = rest.split("(")[1].split(")")[0].split(",")
        result[(x, y)] = tuple(int(float(v)) for v in rgb[:3])
    return result


class SpotList(harness.LinkTestCase):
    scene_name = "spot-list"

    def start_with_rows(self):
        """ruDOZ beside a granting stand-in, with a row per spot; the stand-in, the
        main window and the spot list window."""
        work = self.scene.work
        work.write_lines("QJar.txt", [f"{d} District {d}" for _, d, _, _ in SPOTS])
        work.write_lines("QJcfm.txt", ["ZZ-01;UA1AAA;2019"])
        work.write_lines("RUdoz.txt", [f"{c} {d}" for c, d, _, _ in SPOTS])
        work.write_lines("QJlook.txt", ["ZZZ"])
        work.write_lines("QJreg.txt", [line for _, _, line, _ in SPOTS])
        work.write_lines("QJmis.txt", ["UA1AAA:  AB-12  01.01.2020  10:00:00"])
        sim = self.scene.start_stand_in("--port", "1=grant", "--exit-after", "300")
        sim.wait_for("window", 60)
        self.scene.start_rudoz()
        display = self.scene.display
        main = display.find_window("^Connected Logger32 1$", timeout=60)
        for call, _, _, _ in SPOTS:
            sim.control(b"spot " + record(call, "14025.0"))
        vip = display.find_window("^Vip$", timeout=20)
        return sim, main, vip

    def row_point(self, vip, colour):
        """A point on the screen inside the row of that colour, once it shows."""
        display = self.scene.display

        def find():
            picture = pixels(display.screenshot(os.path.join(self.scene.out, "rows.png"), vip))
            found = [xy for xy, c in picture.items() if c == colour]
            return found if len(found) > 300 else None
        found = harness.wait_for(find, 10, interval=0.5, what=f"a row of {colour}")
        wx, wy, _, _ = display.geometry(vip)
        return wx + min(x for x, _ in found) + 20, wy + (min(y for _, y in found) + max(y for _, y in found)) // 2

    def test_quick_clicks_and_a_hung_logger32(self):
        sim, main, vip = self.start_with_rows()
        display = self.scene.display
        pink, yellow = self.row_point(vip, PINK), self.row_point(vip, YELLOW)
        # Two rows clicked one right after the other: each click sequence whole, each
        # with its own row's district.
        display.xdotool("mousemove", str(pink[0]), str(pink[1]), "click", "1",
                        "mousemove", str(yellow[0]), str(yellow[1]), "click", "1")
        sent = [e.text for e in sim.wait_for("command", 20, count=4)]
        self.assertEqual(sent, [b"<APP_CLICK_DXSPOT:15>14025.000|R1AAA", b"<STATE:2>AB<CNTY:2>12",
                                b"<APP_CLICK_DXSPOT:15>14025.000|R1BBB", b"<STATE:2>CD<CNTY:2>01"])

        # Logger32 hangs: a row click gives up after its bound, says so in the title,
        # and the keyboard is answered again long before Logger32 wakes up.
        sim.hang(8000)
        clicked = time.monotonic()
        display.click(*pink)
        harness.wait_for(lambda: display.title(main) == "No answer from Logger32", 6, what="the title")
        x, y, w, _ = display.geometry(main)
        display.click(x + w // 2, y + 8)  # the operator clicks back into the main window
        display.type("zz")
        harness.wait_for(lambda: display.title(main) == "Нет такого", 6, what="the typed lookup")
        self.assertLess(time.monotonic() - clicked, 7)  # Logger32 hangs for 8 s

    def test_spots_become_coloured_rows_and_a_click_tunes_logger32(self):
        sim, _, vip = self.start_with_rows()
        work, display = self.scene.work, self.scene.display
        log = harness.wait_for(lambda: (lambda b: b if b.count(b"\r\n") == 5 else None)(work.read("QJmis.txt")), 20,
                               what="four alert lines in QJmis.txt")
        lines = log.split(b"\r\n")
        self.assertEqual(lines[0], b"UA1AAA:  AB-12  01.01.2020  10:00:00")
        for (call, district, _, _), line in zip(SPOTS, lines[1:5]):
            self.assertTrue(line.startswith(f"{call}:  {district}  ".encode()), line)

        def shot(name, wanted):
            """The list's pixels once `wanted` holds for them."""
            def taken():
                picture = pixels(display.screenshot(os.path.join(self.scene.out, name + ".png"), vip))
                return picture if wanted(picture) else None
            return harness.wait_for(taken, 10, interval=0.5, what=name)

        def count(picture, colour):
            return sum(1 for p in picture.values() if p == colour)

        # Every colour shows, on whole rows.
        picture = shot("spot-list", lambda p: all(count(p, c) > 300 for c in (PINK, YELLOW, LIGHT_GREEN)))

        # A real click on the pink row: the spot, then the district.
        pink = [xy for xy, colour in picture.items() if colour == PINK]
        x = min(x for x, _ in pink) + 20
        y = (min(y for _, y in pink) + max(y for _, y in pink)) // 2
        wx, wy, _, _ = display.geometry(vip)
        display.click(wx + x, wy + y)
        spot, district = sim.wait_for("command", 20, count=2)
        self.assertEqual(spot.text, b"<APP_CLICK_DXSPOT:15>14025.000|R1AAA")
        self.assertEqual(district.text, b"<STATE:2>AB<CNTY:2>12")
        self.assertLessEqual(spot.ms, district.ms)

        # The right button opens the menu where it was pressed, also right after a row
        # click, but only once that click's district has gone out; its "Clear All"
        # empties the list.
        shown = set(display.windows(".*"))
        display.xdotool("mousemove", str(wx + x), str(wy + y), "click", "1", "click", "3")
        menu = harness.wait_for(lambda: next(iter(set(display.windows(".*")) - shown), None), 10, what="the menu")
        self.assertEqual([e.text for e in sim.log.select("command")][2:],
                         [b"<APP_CLICK_DXSPOT:15>14025.000|R1AAA", b"<STATE:2>AB<CNTY:2>12"],
                         "the click's district went out before the menu opened")
        mx, my, mw, mh = display.geometry(menu)
        self.assertLessEqual(abs(mx - (wx + x)) + abs(my - (wy + y)), 8)
        self.scene.screenshot("spot-list-menu")
        display.click(mx + mw // 2, my + mh * 5 // 8)  # the third of its four entries
        cleared = shot("spot-list-cleared", lambda p: not any(count(p, c) for c in (PINK, YELLOW, LIGHT_GREEN)))
        self.assertIn(vip, display.windows(".*"))  # cleared, not closed
        self.assertGreater(count(cleared, TITLE_ROW), 300)


if __name__ == "__main__":
    unittest.main()
