#!/usr/bin/env python3
"""The payload check a patch author's files go through: each bad member is refused by name, and a
good set is listed with size and SHA-256."""
import argparse
import hashlib
import os
import subprocess
import sys
import tempfile
import unittest

ARGS = None
NAMES = ("Assembly-CSharp.dll", "AliceInCradle.exe", "安装前.PNG", "安装后.PNG")
PNG = b"\x89PNG\r\n\x1a\n"


def make_set(folder, **replacements):
    """The four members in `folder`; a keyword (dll, exe, before, after) replaces one's bytes,
    None leaves it out."""
    contents = {"dll": b"MZ" + b"\x00" * 100, "exe": b"MZ" + b"\x01" * 200,
                "before": PNG + b"before", "after": PNG + b"after"}
    contents.update(replacements)
    for key, name in zip(("dll", "exe", "before", "after"), NAMES):
        if contents[key] is not None:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(contents[key])
    return contents


def check(folder):
    script = os.path.join(ARGS.source, "payload", "check_payloads.cmake")
    stamp = os.path.join(folder, "stamp")
    done = subprocess.run([ARGS.cmake, f"-DPAYLOAD_DIR={folder}", f"-DSTAMP={stamp}", "-P", script],
                          capture_output=True, text=True)
    # CMake wraps long messages: compare with the line breaks taken out.
    return done.returncode, " ".join((done.stdout + done.stderr).split()), os.path.exists(stamp)


class PayloadCheckTest(unittest.TestCase):
    def test_a_good_set_is_listed_with_size_and_digest(self):
        with tempfile.TemporaryDirectory() as folder:
            contents = make_set(folder)
            code, output, stamped = check(folder)
            self.assertEqual(code, 0, output)
            self.assertTrue(stamped)
            for key, name in zip(("dll", "exe", "before", "after"), NAMES):
                data = contents[key]
                self.assertIn(f"payload {name}: {len(data)} bytes, SHA-256 {hashlib.sha256(data).hexdigest()}",
                              output)

    def test_each_bad_member_is_refused_by_name(self):
        cases = [
            ("missing", {"exe": None}, "AliceInCradle.exe", "missing"),
            ("empty", {"dll": b""}, "Assembly-CSharp.dll", "empty"),
            ("library without MZ", {"dll": b"ZM" + b"\0" * 10}, "Assembly-CSharp.dll", 'start with "MZ"'),
            ("program without MZ", {"exe": b"#!/bin/sh\n"}, "AliceInCradle.exe", 'start with "MZ"'),
            ("picture without signature", {"after": b"GIF89a"}, "安装后.PNG", "PNG signature"),
            ("a picture that is a PNG only in name", {"before": b"\x89PNX\r\n\x1a\n"}, "安装前.PNG", "PNG signature"),
        ]
        for name, replacement, member, reason in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                make_set(folder, **replacement)
                code, output, stamped = check(folder)
                self.assertNotEqual(code, 0, output)
                self.assertFalse(stamped)
                self.assertIn(os.path.join(folder, member), output)
                self.assertIn(reason, output)

    def test_configuring_with_a_bad_folder_stops_at_once(self):
        with tempfile.TemporaryDirectory() as folder, tempfile.TemporaryDirectory() as build:
            make_set(folder, before=None)
            done = subprocess.run([ARGS.cmake, "-S", ARGS.source, "-B", build, f"-DCMAKE_TOOLCHAIN_FILE={ARGS.toolchain}",
                                   f"-DCRADLE_PAYLOAD_DIR={folder}"], capture_output=True, text=True)
            self.assertNotEqual(done.returncode, 0)
            self.assertIn("payload file missing: " + os.path.join(folder, "安装前.PNG"),
                          " ".join((done.stdout + done.stderr).split()))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--toolchain", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
