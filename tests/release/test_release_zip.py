"""The release zip: what it holds (the exe without symbols or a link time, the
README and the third-party notices with CR LF line ends) and that making it again
from the same build gives the same bytes, however the files' times moved."""
import argparse
import os
import struct
import subprocess
import sys
import unittest
import zipfile

ARGS = None


def make_package():
    subprocess.run(["cmake", "--build", ARGS.build, "--target", "package"], check=True, stdout=subprocess.DEVNULL)
    with open(ARGS.zip, "rb") as f:
        return f.read()


def pe_header(exe):
    """(link time, symbol table offset, section names) from the PE file's headers."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    assert exe[pe:pe + 4] == b"PE\0\0"
    _, sections, stamp, symbols, _, optional_size, _ = struct.unpack_from("<HHIIIHH", exe, pe + 4)
    first = pe + 24 + optional_size
    names = [exe[first + 40 * i:first + 40 * i + 8].rstrip(b"\0").decode() for i in range(sections)]
    return stamp, symbols, names


class ReleaseZip(unittest.TestCase):
    def test_contents(self):
        with zipfile.ZipFile(ARGS.zip) as z:
            self.assertEqual(z.namelist(), ["ruDOZ.exe", "README.txt", "THIRD-PARTY-NOTICES.txt"])
            self.assertEqual({i.date_time for i in z.infolist()}, {(1980, 1, 1, 0, 0, 0)})
            exe = z.read("ruDOZ.exe")
            texts = {name: z.read(name) for name in ("README.txt", "THIRD-PARTY-NOTICES.txt")}
        stamp, symbols, sections = pe_header(exe)
        self.assertEqual(stamp, 0)
        self.assertEqual(symbols, 0)
        self.assertFalse([s for s in sections if s.startswith((".debug", "/"))], sections)
        for name, text in texts.items():
            with self.subTest(name):
                self.assertEqual(text.count(b"\n"), text.count(b"\r\n"))
                self.assertTrue(text.startswith(b"\xef\xbb\xbf"))
                self.assertEqual(text.count(b"\xef\xbb\xbf"), 1)
        notices = texts["THIRD-PARTY-NOTICES.txt"]
        for licence in (b"based in part on the work of the Independent JPEG Group", b"libjpeg-turbo Licenses",
                        b"LEGAL ISSUES", b"Zope Public License", b"winpthreads", b"GCC Runtime Library Exception"):
            self.assertIn(licence, notices)

    def test_same_bytes_when_made_again(self):
        first = make_package()
        # Another time on an input, as another checkout's build would have.
        os.utime(os.path.join(ARGS.build, "README.txt"), (1000000000, 1000000000))
        os.remove(ARGS.zip)
        self.assertEqual(make_package(), first)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--zip", required=True)
    ARGS, rest = parser.parse_known_args()
    make_package()
    unittest.main(argv=[sys.argv[0]] + rest)
