#!/usr/bin/env python3
"""Writes the release zip so that two builds of one commit give the same bytes: the
--file entries, then the --text entries, each in the order given, with one fixed
time, fixed attributes and the same compression. Text entries get CR LF line ends for Notepad; a text entry may be made
of several files, joined by a blank line.

  release-zip.py OUT.zip --file NAME=PATH ... --text NAME=PATH[,PATH...] ...
"""
import argparse
import os
import sys
import zipfile

# The earliest time a zip entry can carry; no build's clock gets into the file.
FIXED_TIME = (1980, 1, 1, 0, 0, 0)


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def text_of(paths):
    parts = []
    for i, path in enumerate(paths.split(",")):
        with open(path, "rb") as f:
            data = f.read()
        if i and data.startswith(b"\xef\xbb\xbf"):
            data = data[3:]  # one byte order mark, at the very start
        parts.append(data.rstrip(b"\r\n") + b"\n")
    return crlf(b"\n".join(parts))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("out")
    ap.add_argument("--file", action="append", default=[], metavar="NAME=PATH", help="an entry as it is")
    ap.add_argument("--text", action="append", default=[], metavar="NAME=PATH[,PATH]", help="a text entry")
    args = ap.parse_args()

    entries = []
    for entry in args.file:
        name, path = entry.split("=", 1)
        with open(path, "rb") as f:
            entries.append((name, f.read()))
    for entry in args.text:
        name, paths = entry.split("=", 1)
        entries.append((name, text_of(paths)))

    # Written beside the zip and put in its place once whole: a failure leaves no
    # zip that looks newer than its inputs.
    partial = args.out + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, FIXED_TIME)
            info.create_system = 0  # as a Windows tool writes it, whatever the build machine
            info.external_attr = 0x20  # the archive attribute only
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data, compresslevel=9)
    os.replace(partial, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
