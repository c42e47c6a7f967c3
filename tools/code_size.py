#!/usr/bin/env python3
"""Prints the lines of code of each part of the tree and the tests' share.

Counts the lines of every tracked C++, C, Python and shell file. Left out:
the generated error name table (errors/ErrorNameTable.inc is not a source
file), the fuzzer's corpus and regression inputs, and the fault list
(tools/faults.txt), which are data.

Usage: ./tools/code_size.py
"""

import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = (".cpp", ".cc", ".c", ".h", ".hpp", ".py", ".sh")
# Parts in the order printed; a file belongs to the first whose test it passes.
PARTS = [
    ("plug-in (extra/, errors/ but its generator)",
     lambda path: path.startswith("extra/") or
     (path.startswith("errors/") and not path.startswith("errors/generator/"))),
    ("stand-in (standin/)", lambda path: path.startswith("standin/")),
    ("tests (tests/, fuzz/)", lambda path: path.startswith(("tests/", "fuzz/"))),
    ("host, benchmarks, tools, scripts", lambda path: True),
]


def tracked_sources():
    listed = subprocess.run(["git", "-C", ROOT, "ls-files"], check=True, capture_output=True, text=True)
    return [path for path in listed.stdout.splitlines() if path.endswith(SOURCES)]


def count_lines(path):
    with open(os.path.join(ROOT, path), "rb") as source:
        return source.read().count(b"\n")


def main():
    lines = {name: 0 for name, _ in PARTS}
    cpp = {name: 0 for name, _ in PARTS}
    for path in tracked_sources():
        part = next(name for name, belongs in PARTS if belongs(path))
        count = count_lines(path)
        lines[part] += count
        if path.endswith((".cpp", ".cc", ".c", ".h", ".hpp")):
            cpp[part] += count
    total = sum(lines.values())
    tests = "tests (tests/, fuzz/)"
    for name, _ in PARTS:
        print(f"{name:<46} {lines[name]:>7,} {100 * lines[name] / total:5.1f} %")
    print(f"{'all':<46} {total:>7,}")
    print(f"tests: {100 * lines[tests] / total:.1f} % of all lines, "
          f"{100 * cpp[tests] / sum(cpp.values()):.1f} % of the C++")
    return 0


if __name__ == "__main__":
    sys.exit(main())
