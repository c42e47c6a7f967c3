#!/usr/bin/env python3
"""Compares the transcripts of the differential scenarios: the Linux build
against the stand-in and the Windows build under Wine. Exit 0 when they
agree line for line, 1 (with a unified diff) when they do not.

    compare_transcripts.py STANDIN_TRANSCRIPT WINE_TRANSCRIPT
"""

import difflib
import re
import sys

# Lines that depend on the machine rather than on the plug-in or the device
# rules, each with its reason; they are left out of the comparison. The
# adapter's formats, sample counts and depth formats are not among them: the
# scenario program gives the stand-in those of Wine's adapter inside Xvfb
# (LikeWinesAdapter), so the lines that show them must agree.
ADAPTER_DEPENDENT = [
    # One per screen: Xvfb has one, a desktop may have more.
    (re.compile(r"^  log 2: Number of video adapters: \d+$"), "the number of screens"),
]


def comparable(path):
    with open(path, encoding="utf-8", errors="replace") as transcript:
        lines = [line.rstrip("\r\n") for line in transcript]
    return [line for line in lines if not any(pattern.match(line) for pattern, _ in ADAPTER_DEPENDENT)]


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    standin, wine = (comparable(path) for path in sys.argv[1:])
    complete = all(transcript and transcript[-1] == "== end" for transcript in (standin, wine))
    if not complete:
        print("a transcript does not reach its end: a scenario program stopped early", file=sys.stderr)
    diff = list(difflib.unified_diff(standin, wine, "stand-in", "Wine", lineterm=""))
    for line in diff:
        print(line)
    if diff or not complete:
        return 1
    print(f"differential scenarios: {len(standin)} lines agree")
    return 0


if __name__ == "__main__":
    sys.exit(main())
