#!/usr/bin/env python3
"""The table of bench/wine/compare.sh: median frame rates of the two programs
at each quad count, their ratio, the median of the ratios within each round
(steadier on a busy machine) with the lowest and highest, and whether their
last frames are the same pixel for pixel. Exits 1 when a run failed or the
pictures differ."""
import os
import statistics
import struct
import sys


def pixels(path):
    """The pixel rows of a bottom-up 24- or 32-bit bitmap, without padding or alpha."""
    with open(path, "rb") as file:
        data = file.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = []
    for row in range(abs(height)):
        line = data[offset + row * stride: offset + row * stride + width * step]
        rows.append(b"".join(line[i:i + 3] for i in range(0, len(line), step)))
    return width, abs(height), rows


def differing_pixels(a, b):
    (wa, ha, ra), (wb, hb, rb) = pixels(a), pixels(b)
    if (wa, ha) != (wb, hb):
        return wa * ha
    return sum(1 for x, y in zip(ra, rb) for i in range(0, len(x), 3) if x[i:i + 3] != y[i:i + 3])


def main(output):
    rates = {}
    rounds = {}  # (count, round) -> program -> fps
    failed = False
    with open(os.path.join(output, "runs.txt")) as runs:
        for line in runs:
            words = line.split()
            program, count = words[0], int(words[1])
            if words[3] != "fps":
                failed = True
                continue
            rates.setdefault(count, {}).setdefault(program, []).append(float(words[4]))
            rounds.setdefault((count, int(words[2])), {})[program] = float(words[4])
    print()
    print("quads  plug-in fps (median)  raw fps (median)  plug-in / raw  per-round ratio (median)  lowest-highest"
          "  last frames")
    for count in sorted(rates):
        plugin = statistics.median(rates[count].get("PluginQuads", [0]))
        raw = statistics.median(rates[count].get("RawQuads", [0]))
        try:
            different = differing_pixels(os.path.join(output, f"PluginQuads-{count}.bmp"),
                                         os.path.join(output, f"RawQuads-{count}.bmp"))
            pictures = "identical" if different == 0 else f"{different} pixels differ"
        except (OSError, struct.error):
            different, pictures = 1, "missing"
        failed = failed or different != 0
        ratio = plugin / raw if raw else 0
        # The two runs of one round ran back to back, under the same load.
        paired = [r["PluginQuads"] / r["RawQuads"] for (c, _), r in rounds.items()
                  if c == count and r.get("RawQuads") and "PluginQuads" in r]
        per_round = statistics.median(paired) if paired else 0
        spread = f"{min(paired):.3f}-{max(paired):.3f}" if paired else "-"
        print(f"{count:5}  {plugin:20.2f}  {raw:16.2f}  {ratio:13.3f}  {per_round:23.3f}  {spread:>14}  {pictures}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
