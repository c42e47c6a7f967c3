#!/usr/bin/env python3
"""Prints one line per pair of benchmarks from Google Benchmark's JSON output.

Benchmarks are named "job | way"; the first way registered for a job is the
plug-in's, the second the one it is compared with. CPU times; B / A above 1
means the plug-in's way is faster, A / B is what it costs against the other.
"""
import json
import sys


def main(path):
    with open(path) as results:
        runs = json.load(results)["benchmarks"]
    # With repetitions, the median of each benchmark; else its one run.
    medians = [run for run in runs if run.get("aggregate_name") == "median"]
    runs = medians or [run for run in runs if run.get("run_type", "iteration") == "iteration"]
    # Random interleaving mixes the order: registration order puts each
    # job's plug-in way first.
    runs.sort(key=lambda run: run.get("family_index", 0))
    jobs = {}
    for run in runs:
        job, _, way = run.get("run_name", run["name"]).partition(" | ")
        way = way.split("/")[0]  # without Google Benchmark's "/iterations:2"
        jobs.setdefault(job, []).append((way, run["cpu_time"], run["time_unit"]))
    rows = [("job", "way A", "time A", "way B", "time B", "B / A", "A / B")]
    for job, ways in jobs.items():
        if len(ways) != 2:
            continue
        (a, time_a, unit_a), (b, time_b, unit_b) = ways
        rows.append((job, a, f"{time_a:.4g} {unit_a}", b, f"{time_b:.4g} {unit_b}", f"{time_b / time_a:.3g}",
                     f"{time_a / time_b:.3g}"))
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    for row in rows:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())


if __name__ == "__main__":
    main(sys.argv[1])
