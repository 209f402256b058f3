"""Spots from Logger32 whose callsigns are not in the callbook: the district comes
from what the spotter wrote in the comment, and the main window shows the verdict."""
import unittest

import harness

harness.options_parsed()

GREEN = (0, 128, 0)
RED = (255, 0, 0)

# comment as the spotter wrote it, the district description the title must show
# (None: no district), the colour of the verdict bar (None: no bar). One of each
# verdict: the forms of comment are tested in the core and the lookup's tests.
ROWS = [
    ("RDA: AB12 TNX 73", "Abinsk district", GREEN),
    ("rda mo-05", "Moscow district", RED),
    ("URDA MO-05", None, None),
]


def record(call, comment):
    call, comment = call.encode(), comment.encode()
    return (b"<DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:%d>%s<APP_DXSPOT_TIME:4>1201"
            % (len(call), call, len(comment), comment))


class SpotComments(harness.LinkTestCase):
    scene_name = "lookup-spots"

    def test_comments_reach_verdicts(self):
        work = self.scene.work
        work.write_lines("QJar.txt", ["AB-12 Abinsk district", "MO-05 Moscow district"])
        work.write_lines("QJcfm.txt", ["AB-12;UA1AAA;2019"])
        work.write_lines("RUdoz.txt", ["UA1AAA AB-12"])
        work.write_lines("QJlook.txt", ["ZZZ"])
        sim = self.scene.start_stand_in("--port", "1=grant", "--watch", "TForm1", "--exit-after", "300")
        sim.wait_for("window", 60)
        self.scene.start_rudoz()
        sim.wait_for_title("Connected Logger32 1", 60)
        display = self.scene.display

        for n, (comment, title, colour) in enumerate(ROWS):
            with self.subTest(comment=comment):
                # A marker first, so that each row's title is its own even when it
                # repeats the row before.
                sim.control(f"settitle marker {n}")
                marker = sim.wait_for_title(f"marker {n}", 10)
                sim.control(b"spot " + record(f"R1Q{chr(65 + n)}", comment))
                shown = sim.wait_for_title(title or "Нет такого", 10, after_ms=marker.ms)
                window = display.find_window("^" + (title or "Нет такого") + "$", timeout=10)

                def bar():
                    x, y, w, h = display.geometry(window)
                    return display.pixel(x + 12, y + h - 12)
                # The bar is painted just after the title is written.
                if colour:
                    harness.wait_for(lambda: bar() == colour, 5, what=f"the bar in {colour}")
                else:
                    harness.wait_for(lambda: bar() not in (GREEN, RED), 5, what="no verdict bar")
                self.scene.screenshot(f"spot-{n:02d}")
                self.assertGreater(shown.ms, marker.ms)


if __name__ == "__main__":
    unittest.main()
