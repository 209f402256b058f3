#!/usr/bin/env python3
"""Writes cluster_feed.txt: 2,000 spots for as many Russian stations, both line
layouts, fields after the time, skimmers, comments in UTF-8 and Windows-1251, and
a hostile line after every tenth spot (none of which is a spot). The core test reads
the file line by line and the end-to-end test feeds it through the node stand-in;
both expect the same 2,000 callsigns in order. Run it again only to change the feed."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
HOSTILE = [
    b"DX de RA1A: 14O25.0 R1XYZ broken frequency {now}",
    b"DX de RA1A: 14025.0 R1<YZ no callsign {now}",
    b"DX de RA1A: 14025.0 R1XYZ cut off",
    b"DX de : 14025.0 R1XYZ no spotter {now}",
    b"WWV de VE7CC <18>:   SFI=150, A=5, K=1",
    b"DX de RA1A: 14025.0 R1XYZ \x01\x02 binary {now}",
    b"14025.0 R1XYZ 2026-12-09 1200Z wrong date <RA1A>",
    b"DX de RA1A: 14025.0 R1XYZ " + b"X" * 320 + b" {now}",
]


def call(n):
    return f"R{n % 10}{chr(65 + n // 10 % 26)}{chr(65 + n // 260 % 26)}{chr(65 + n // 6760 % 26)}"


def main():
    lines = []
    for n in range(2000):
        freq = f"{[3500, 7000, 14000, 21000, 28000][n % 5] + n % 97}.{n % 10}"
        if n % 4 == 3:
            lines.append(f"{freq} {call(n)}  {{date}} {{now}} sh/dx layout {n} <RA{n % 9 + 1}A>".encode())
        elif n % 4 == 2:
            lines.append(f"DX de LZ4UX-#: {freq} {call(n)} CW {n % 30} dB {15 + n % 20} WPM CQ {{now}} KN22".encode())
        elif n % 4 == 1:
            lines.append(f"DX de RA1A:{freq} {call(n)} рда ab-{n % 39 + 1:02d} {{now}} 14 29".encode("utf-8"))
        else:
            lines.append(f"DX de R{n % 9}AA-2:  {freq}  {call(n)}  ".encode() + "тнх".encode("cp1251") + b" {now}")
        if n % 10 == 9:
            lines.append(HOSTILE[n // 10 % len(HOSTILE)])
    with open(os.path.join(HERE, "cluster_feed.txt"), "wb") as f:
        f.write(b"\n".join(lines) + b"\n")


if __name__ == "__main__":
    main()
