"""ruDOZ's own DX cluster connection against the node stand-in tools/dxnode: login
with and without a password, a refusal and a bump (the reason in the title, no
reconnect), a silent node (lost after the watchdog, reconnected with growing waits),
the backlog asked for and aged by its own times, and a spot heard through Logger32
and the cluster both listed once. Logger32's stand-in runs beside ruDOZ and logs
the main window's titles (it samples them: a title the next spot's lookup replaces
at once may go unseen, so the node keeps quiet for a moment where a title counts)."""
import os
import subprocess
import sys
import time
import unittest

import harness

harness.options_parsed()

DXNODE = os.path.join(harness.SOURCE, "tools", "dxnode", "dxnode.py")
CALL = "UA1ABC"


class Node:
    """The node stand-in on a free loopback port, its event log in the scene's folder."""

    def __init__(self, out, spots, backlog=(), *args):
        self.log = os.path.join(out, "dxnode.log")
        port_file = os.path.join(out, "dxnode.port")
        paths = []
        for name, lines in (("spots.txt", spots), ("backlog.txt", backlog)):
            if isinstance(lines, str):  # a file of lines already
                paths.append(lines)
                continue
            paths.append(os.path.join(out, name))
            with open(paths[-1], "w", encoding="utf-8") as f:
                f.write("\n".join(lines) + "\n")
        self.started = time.monotonic()
        self.process = subprocess.Popen(
            [sys.executable, DXNODE, "--port-file", port_file, "--log", self.log, "--spots", paths[0],
             "--backlog", paths[1], "--max-seconds", "240", *args],
            stdout=subprocess.DEVNULL, stderr=open(os.path.join(out, "dxnode.err"), "wb"))
        self.port = int(harness.wait_for(lambda: os.path.exists(port_file) and open(port_file).read(), 10,
                                         what="the node's port"))

    def clock(self):
        """Seconds since the node started, at least as many as its log counts."""
        return time.monotonic() - self.started

    def events(self):
        """(seconds, connection, what) of every line of the node's log."""
        try:
            with open(self.log, encoding="utf-8") as f:
                return [(float(t), int(n), what) for t, n, what in
                        (line.rstrip("\n").split(" ", 2) for line in f if line.count(" ") >= 2)]
        except FileNotFoundError:
            return []

    def wait_for(self, what, timeout, count=1):
        return harness.wait_for(lambda: (lambda found: found[:count] if len(found) >= count else None)(
            [e for e in self.events() if e[2] == what]), timeout, what=f"{count} x {what!r} in the node's log")

    def close(self):
        harness.terminate(self.process)


def dx(spotter, freq, call, comment, when="{now}", after=""):
    return f"DX de {spotter}: {freq} {call} {comment} {when} {after}".rstrip()


class Cluster(harness.LinkTestCase):
    scene_name = "cluster"

    def setUp(self):
        super().setUp()
        self.node = None
        work = self.scene.work
        work.write_lines("QJar.txt", [f"AB-{n:02d}\tDistrict {n}" for n in range(1, 40)])
        work.write_lines("RUdoz.txt", [f"R1{chr(65 + n)}A AB-{n + 1:02d}" for n in range(26)] + ["R1DUP AB-30"])
        work.write_lines("QJcfm.txt", ["AB-39;UA1AAA;2019"])
        work.write_lines("QJlook.txt", ["ZZZZZ"])
        work.write_lines("QJmis.txt", [])

    def tearDown(self):
        if self.node:
            self.node.close()
        super().tearDown()

    def start(self, spots, backlog=(), node_args=(), settings=()):
        self.node = Node(self.scene.out, spots, backlog, *node_args)
        self.sim = self.scene.start_stand_in("--port", "1=grant", "--watch", "TForm1", "--exit-after", "300")
        self.sim.wait_for("window", 60)
        exe = harness.install_rudoz(self.scene.args.exe, self.scene.work.path, harness.SETTINGS + [
            f"MyCall={CALL}", "ClusterHost=127.0.0.1", f"ClusterPort={self.node.port}", "ClusterRetrySeconds=1",
            *settings])
        self.scene.wine.start(exe, cwd=self.scene.work.path, log=os.path.join(self.scene.out, "ruDOZ.out"))

    def listed(self):
        """The callsigns of the alert log's lines, in order."""
        return [line.split(b":")[0].decode() for line in self.scene.work.read("QJmis.txt").split(b"\r\n") if line]

    def rows(self):
        """The spot list's rows' callsigns, as a screen reader reads them (tools/accprobe)."""
        result = subprocess.run([harness.WINE_RUN, "--prefix", self.scene.wine.prefix, self.scene.args.probe, "rows"],
                                env=self.scene.display.env(), capture_output=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr.decode("utf-8", "replace"))
        lines = result.stdout.decode("utf-8").replace("\r\n", "\n").splitlines()[1:]
        return [line.split("\t")[1].split(",")[0] for line in lines]

    def wait_listed(self, call, timeout=30):
        return harness.wait_for(lambda: call in self.listed() and self.listed(), timeout, what=f"{call} listed")

    def test_login_backlog_and_live_spots(self):
        self.start(
            [dx("W3LPL", "14025.0", "R1AA", "CW 12 dB 22 WPM CQ", after="FN20"),
             dx("LZ4UX-#", "7003.0", "R1BA", "CW 6 dB 20 WPM", after="KN22 14 28"),
             "DX de RA1A: 14O25.0 R1CA broken frequency {now}", dx("RA1A", "21025.0", "R1DA", "end")],
            ["14025.0 R1EA  {date:90} {ago:90} too old <RA1A>", "14026.0 R1FA  {date:20} {ago:20} recent <RA1A>"],
            ("--bel", "--page", "1", "--trickle", "--first-after", "2"),
            ["ClusterCommands=set/skimmer; set/nobeep", "ClusterBacklog=5", "MaxAgeMinutes=60"])
        self.node.wait_for(f"got {CALL}", 60)
        self.sim.wait_for_title("Cluster: connected to RU3AB-7", 30)
        self.node.wait_for("got sh/dx 5", 30)
        got = [e[2] for e in self.node.events() if e[2].startswith("got ")]
        self.assertEqual(got[:4], [f"got {CALL}", "got set/skimmer", "got set/nobeep", "got sh/dx 5"])
        self.wait_listed("R1DA")
        harness.wait_for(lambda: "R1FA" in self.listed(), 30, what="the recent backlog spot listed")
        self.scene.screenshot("cluster-listed")
        # The broken frequency is no spot; the backlog spot older than the age limit
        # is looked up, but not listed.
        self.assertEqual(sorted(self.listed()), ["R1AA", "R1BA", "R1DA", "R1EA", "R1FA"])
        self.assertEqual(sorted(self.rows()), ["R1AA", "R1BA", "R1DA", "R1FA"])

    def test_a_large_mixed_feed_is_listed_as_the_core_predicts(self):
        # tests/data/cluster_feed.txt: 2,000 stations in both layouts with fields after
        # the time, and hostile lines; with BEL bytes and LF line ends. The core's test
        # of the same file expects these callsigns, in this order.
        calls = [f"R{n % 10}{chr(65 + n // 10 % 26)}{chr(65 + n // 260 % 26)}A" for n in range(2000)]
        self.scene.work.write_lines("RUdoz.txt", [f"{c} AB-{n % 38 + 1:02d}" for n, c in enumerate(calls)])
        self.start(os.path.join(harness.SOURCE, "tests", "data", "cluster_feed.txt"),
                   node_args=("--bel", "--lf", "--rate", "0"), settings=["ClusterBacklog=0"])
        harness.wait_for(lambda: len(self.listed()) >= 2000, 240, interval=1, what="2,000 spots listed")
        self.assertEqual(self.listed(), calls)
        self.scene.screenshot("cluster-feed")

    def test_password(self):
        self.start([dx("RA1A", "14025.0", "R1AA", "pw")], node_args=("--password", "s3cret", "--call-prompt", "--first-after", "2"),
                   settings=["ClusterPassword=s3cret", "ClusterCall=UA1ABC-2"])
        self.node.wait_for("got UA1ABC-2", 60)
        self.node.wait_for("got s3cret", 30)
        self.sim.wait_for_title("Cluster: connected to RU3AB-7", 30)
        self.wait_listed("R1AA")

    def test_refused_and_bumped_stay_down(self):
        for name, node_args, title in [
                ("refused", ("--refuse", CALL), f"Cluster refused: Sorry {CALL} is not allowed to connect to RU3AB-7"),
                ("bumped", ("--bump-after", "0"),
                 f"Cluster refused: {CALL} already connected, this instance is disconnected")]:
            with self.subTest(name):
                if self.node:
                    self.tearDown()
                    self.setUp()
                self.start([dx("RA1A", "14025.0", "R1AA", "x"), dx("RA1A", "14025.0", "R1BA", "x")],
                           node_args=node_args)
                self.sim.wait_for_title(title, 60)
                ended = self.node.wait_for("close", 10)[0][0]
                # Waits of 1, 2 and 4 s would have brought three reconnects by now.
                harness.wait_for(lambda: self.node.clock() > ended + 8, 20, interval=0.5, what="8 s after the end")
                self.assertEqual([e[2] for e in self.node.events()].count("connect"), 1)
                self.scene.screenshot(f"cluster-{name}")

    def test_silent_node_reconnects_with_growing_waits(self):
        self.start([dx("RA1A", "14025.0", "R1AA", "then silence"), dx("RA1A", "14025.0", "R1BA", "never")],
                   node_args=("--drop-after", "1", "--rate", "0"), settings=["ClusterSilenceSeconds=2"])
        connects = self.node.wait_for("connect", 90, count=4)
        for wait in (1, 2, 4):
            self.sim.wait_for_title(f"Cluster lost: reconnecting in {wait} s", 10)
        times = [t for t, _, _ in connects]
        gaps = [b - a for a, b in zip(times, times[1:])]
        # Each gap is the watchdog's 2 s and a wait twice the one before.
        for gap, wait in zip(gaps, (1, 2, 4)):
            self.assertGreaterEqual(gap, 2 + wait - 0.3, gaps)
            self.assertLess(gap, 2 + wait + 2.5, gaps)
        print("silent node: connects at", [round(t, 1) for t in times], "gaps", [round(g, 1) for g in gaps])
        self.assertEqual(self.listed().count("R1AA"), 1)

    def test_spot_through_both_intakes_listed_once(self):
        self.start([dx("RA1A", "14025.0", "R1DUP", "both"), dx("RA1A", "14025.0", "R1BA", "between")],
                   node_args=("--rate", "2"))
        self.sim.wait_for_title("Connected Logger32 1", 60)
        self.wait_listed("R1BA", 60)

        def record(call):
            return (b"<DXSPOT_CALLSIGN:%d>%s<DXSPOT_FREQ:7>14025.0<DXSPOT_SPOTTER:4>RA1A<APP_DXSPOT_TIME:4>1200"
                    % (len(call), call.encode()))
        self.sim.control(b"spot " + record("R1DUP"))
        self.sim.control(b"spot " + record("R1CA"))
        self.wait_listed("R1CA")
        self.assertEqual(self.listed(), ["R1DUP", "R1BA", "R1CA"])


if __name__ == "__main__":
    unittest.main()
