#!/usr/bin/env python3
"""Compares the transcripts of the differential scenarios: the Linux build
against the stand-in and the Windows build under Wine. Exit 0 when they
agree line for line, 1 (with a unified diff) when they do not.

    compare_transcripts.py STANDIN_TRANSCRIPT WINE_TRANSCRIPT
"""

import difflib
import re
import sys

# Lines that depend on the adapter rather than on the plug-in or the device
# rules, each with its reason. The scenario program makes the stand-in look
# like Wine's adapter inside Xvfb, so every other line must agree.
ADAPTER_DEPENDENT = [
    # Xvfb shows one screen, so Wine shows one adapter, and the stand-in is
    # told to show one: equal here, but a property of the machine.
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
    if not standin or standin[-1] != "== end" or not wine or wine[-1] != "== end":
        print("a transcript does not reach its end: a scenario program stopped early", file=sys.stderr)
    diff = list(difflib.unified_diff(standin, wine, "stand-in", "Wine", lineterm=""))
    for line in diff:
        print(line)
    complete = standin and standin[-1] == "== end" and wine and wine[-1] == "== end"
    if not diff and complete:
        print(f"differential scenarios: {len(standin)} lines agree")
    return 0 if not diff and complete else 1


if __name__ == "__main__":
    sys.exit(main())
