#!/usr/bin/env python3
"""Checks that the shipped files are no test build.

  check-dist.py DIST_DIR --key HEX [--variable NAME]...

Fails (exit 1) when a file of DIST_DIR holds the public key HEX (its 32 bytes, or its hex text)
or the name of a variable that only builds made for the tests take from the environment (as
8-bit or UTF-16 text), or when the program files are missing. Such a file would install
updates signed with a key anyone can read, or fetch them from wherever its user's environment
points.
"""

import argparse
import pathlib
import sys

PROGRAM_FILES = ("Velbrook.exe", "velbrookc.exe", "Renovix.dll")


def forms(text):
    """A text as the program files may hold it: 8-bit and UTF-16."""
    return [text.encode("ascii"), text.encode("utf-16-le")]


def findings(folder, key_hex, variables):
    key_hex = key_hex.lower()
    needles = {"the tests' public key": [bytes.fromhex(key_hex)] + forms(key_hex) +
               forms(key_hex.upper())}
    for name in variables:
        needles[f"the test-only variable {name}"] = forms(name)
    found = []
    for path in sorted(p for p in folder.iterdir() if p.is_file()):
        data = path.read_bytes()
        for what, patterns in needles.items():
            if any(pattern in data for pattern in patterns):
                found.append(f"{path.name} holds {what}")
    return found


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[1])
    parser.add_argument("dist", type=pathlib.Path)
    parser.add_argument("--key", required=True, help="the tests' public key, 64 hex digits")
    parser.add_argument("--variable", action="append", default=[], help="a test-only variable")
    args = parser.parse_args(argv)
    missing = [name for name in PROGRAM_FILES if not (args.dist / name).is_file()]
    if missing:
        print(f"check-dist: {args.dist} lacks {', '.join(missing)}: build the release "
              "configuration first (tools/build.sh)", file=sys.stderr)
        return 1
    found = findings(args.dist, args.key, args.variable)
    for line in found:
        print(f"check-dist: {line}", file=sys.stderr)
    if found:
        print(f"check-dist: {args.dist} holds a test build", file=sys.stderr)
        return 1
    print(f"check-dist: {args.dist} holds no test build")
    return 0


if __name__ == "__main__":
    sys.exit(main())
