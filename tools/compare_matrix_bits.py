#!/usr/bin/env python3
"""Compares two outputs of matrix_bits, float by float, in ULPs.

Usage: compare_matrix_bits.py REFERENCE CANDIDATE [--max-ulps N]

REFERENCE is the output of the Windows build run against Wine's d3dx9_29,
CANDIDATE that of the Linux build against the stand-in. Every result that
differs is printed with its inputs in decimal and, for each float that
differs, the distance in ULPs; a summary per function follows.

The stand-in computes as Wine does, so by default (N = 0) any difference
fails. With N > 0, a float counts as too far off when it differs by more
than N ULPs of its own value and also by more than N ULPs of the largest
float of its matrix. The second measure is there because the matrices are
sums of products of sines and cosines: two libraries whose sin and cos each
round correctly to within one ULP can still disagree by several ULPs of a
small element that comes out of a cancellation, while the absolute
difference stays at the rounding error of the matrix's magnitude. The exit
status is 1
when a float is too far off, when a float is NaN on one side only, or when
the two files do not list the same inputs.
"""

import argparse
import struct
import sys
from collections import OrderedDict


def parse(path):
    cases = []
    with open(path, encoding="ascii") as lines:
        for number, line in enumerate(lines, 1):
            line = line.strip()
            if not line:
                continue
            head, sep, tail = line.partition(" = ")
            words = head.split()
            result = [int(word, 16) for word in tail.split()]
            if not sep or len(result) != 16:
                sys.exit(f"{path}:{number}: not a matrix_bits line: {line!r}")
            cases.append((words[0], [int(word, 16) for word in words[1:]], result))
    return cases


def as_float(bits):
    return struct.unpack("<f", struct.pack("<I", bits))[0]


def is_nan(bits):
    return (bits & 0x7F800000) == 0x7F800000 and (bits & 0x007FFFFF) != 0


def ordered(bits):
    """Maps float bits onto integers that count representable floats."""
    return -(bits & 0x7FFFFFFF) if bits & 0x80000000 else bits


def ulps(reference, candidate):
    if is_nan(reference) or is_nan(candidate):
        return 0 if is_nan(reference) and is_nan(candidate) else None
    return abs(ordered(reference) - ordered(candidate))


def ulp_of(value):
    """The gap between value and the next float away from zero."""
    bits = struct.unpack("<I", struct.pack("<f", abs(value)))[0]
    return as_float(bits + 1) - as_float(bits) if bits < 0x7F800000 else float("inf")


def describe(function, inputs):
    values = ", ".join(f"{as_float(bits):.9g}" for bits in inputs)
    return f"{function}({values})"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("reference")
    parser.add_argument("candidate")
    parser.add_argument("--max-ulps", type=int, default=0)
    arguments = parser.parse_args()

    reference = parse(arguments.reference)
    candidate = parse(arguments.candidate)
    if len(reference) != len(candidate):
        sys.exit(f"different case counts: {len(reference)} and {len(candidate)}")

    summary = OrderedDict()
    failures = 0
    for (function, inputs, expected), (other, other_inputs, actual) in zip(reference, candidate):
        if (function, inputs) != (other, other_inputs):
            sys.exit(f"the inputs differ: {describe(function, inputs)} against "
                     f"{describe(other, other_inputs)}")
        stats = summary.setdefault(function, {"cases": 0, "differ": 0, "worst": 0})
        stats["cases"] += 1
        differing = [(i, e, a) for i, (e, a) in enumerate(zip(expected, actual)) if e != a]
        if not differing:
            continue
        stats["differ"] += 1
        scale = ulp_of(max(abs(as_float(bits)) for bits in expected if not is_nan(bits)))
        too_far = False
        notes = []
        for i, e, a in differing:
            own = ulps(e, a)
            if own is None:
                too_far = True
                notes.append(f"[{i // 4}][{i % 4}] {as_float(e):.9g} vs {as_float(a):.9g} (NaN)")
                continue
            of_matrix = abs(as_float(e) - as_float(a)) / scale
            too_far |= own > arguments.max_ulps and of_matrix > arguments.max_ulps
            stats["worst"] = max(stats["worst"], own)
            notes.append(f"[{i // 4}][{i % 4}] {as_float(e):.9g} vs {as_float(a):.9g} "
                         f"({own} ulp, {of_matrix:.2g} ulp of the matrix)")
        failures += too_far
        verdict = "FAIL" if too_far else "ok  "
        print(f"{verdict} {describe(function, inputs)}: {len(differing)} of 16 floats differ: "
              + ", ".join(notes))

    for function, stats in summary.items():
        print(f"{function}: {stats['cases']} cases, {stats['differ']} differ, "
              f"worst {stats['worst']} ulp")
    if arguments.max_ulps == 0:
        print(f"{failures} results differ" if failures else "every result is equal bit for bit")
    else:
        limit = f"{arguments.max_ulps} ulp of both its value and its matrix"
        if failures:
            print(f"{failures} results have a float off by more than {limit}")
        else:
            print(f"no float is off by more than {limit}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
