#!/usr/bin/env python3
"""Breaks the plug-in on purpose, one fault at a time, and reports the faults
that no unit test catches.

Each fault in tools/faults.txt replaces one exact snippet of a source file in
extra/ or errors/ with a faulty one. The tool copies the tree once into
build/faultcheck/src, builds the Linux unit tests there (Debug, without
sanitizers unless --sanitize) and times them, then for every fault: puts the
faulty snippet in, rebuilds (only the changed file and the links), runs the
unit tests in parallel jobs that stop at their first failure, and puts the
original back. A fault is

  caught     when the test program fails (or crashes, or times out);
  MISSED     when every test passes: no test notices the broken rule;
  stale      when its snippet is not found exactly once: the list must follow
             the code;
  no-build   when the faulty source does not compile: the fault is badly written.

Usage:
  ./tools/faultcheck.py                    every fault
  ./tools/faultcheck.py --only NAME ...    the named faults (or name prefixes)
  ./tools/faultcheck.py --list             the faults, without building
  options: --jobs N (build jobs, default 2), --sanitize, --faults FILE,
           --verbose (show the failing tests of caught faults)

Exit status: 0 when every fault is caught, 1 otherwise.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRATCH = os.path.join(ROOT, "build", "faultcheck")
# Directories of the tree the scratch copy needs to build the unit tests.
COPIED = ["CMakeLists.txt", "cmake", "extra", "errors", "standin", "tests", "bench", "tools"]
TEST_TIMEOUT_SECONDS = 300
PARALLEL_JOBS = 2
# Ninja rebuilds a single changed file faster than make decides what to do.
GENERATOR = "Ninja" if shutil.which("ninja") else "Unix Makefiles"
# Tests that take longer than this run in jobs of their own, after the others.
SLOW_TEST_SECONDS = 0.2



@dataclass
class Fault:
    name: str
    file: str
    rule: str
    original: str
    replacement: str
    line: int  # where the fault starts in the fault file


def fail(message):
    sys.exit(f"faultcheck: {message}")


def parse_faults(path):
    """Reads the fault file; its format is described at its top."""
    faults = []
    current = None
    section = None
    with open(path, encoding="utf-8") as lines:
        for number, raw in enumerate(lines, 1):
            line = raw.rstrip("\n")
            if section in ("original", "replacement"):
                if line == "@@" or line == "@@end":
                    section = "replacement" if line == "@@" else None
                    if line == "@@end":
                        faults.append(current)
                        current = None
                    continue
                block = getattr(current, section)
                setattr(current, section, block + line + "\n")
                continue
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            key, _, value = line.partition(":")
            key, value = key.strip(), value.strip()
            if key == "fault":
                if current is not None:
                    fail(f"{path}:{number}: fault {current.name} has no snippet")
                current = Fault(value, "", "", "", "", number)
            elif current is None:
                fail(f"{path}:{number}: '{key}' outside a fault")
            elif key == "file":
                current.file = value
            elif key == "rule":
                current.rule = value
            elif key == "@@begin":
                section = "original"
            else:
                fail(f"{path}:{number}: unknown line '{line}'")
    if current is not None or section is not None:
        fail(f"{path}: the last fault is not closed with @@end")
    names = [fault.name for fault in faults]
    for fault in faults:
        if names.count(fault.name) > 1:
            fail(f"{path}: fault name {fault.name} is used twice")
        if not fault.file or not fault.rule or not fault.original:
            fail(f"{path}:{fault.line}: fault {fault.name} lacks a file, rule or snippet")
        if not (fault.file.startswith("extra/") or fault.file.startswith("errors/")):
            fail(f"{path}:{fault.line}: fault {fault.name} is not in extra/ or errors/")
    return faults


def run(command, cwd, timeout=None):
    return subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, timeout=timeout)


def copy_tree(source_dir):
    """Brings the scratch copy up to date with the checkout, touching only
    files whose contents differ, so that the scratch build stays incremental."""
    for entry in COPIED:
        source = os.path.join(ROOT, entry)
        target = os.path.join(source_dir, entry)
        if os.path.isfile(source):
            sync_file(source, target)
            continue
        if not os.path.isdir(source):
            continue
        for folder, subfolders, files in os.walk(source):
            subfolders[:] = [d for d in subfolders if d != "__pycache__"]
            for file in files:
                path = os.path.join(folder, file)
                sync_file(path, os.path.join(target, os.path.relpath(path, source)))
        # Files deleted from the checkout leave the copy too (a removed test
        # file would otherwise still be built).
        for folder, subfolders, files in os.walk(target):
            for file in files:
                path = os.path.join(folder, file)
                if not os.path.exists(os.path.join(source, os.path.relpath(path, target))):
                    os.remove(path)


def sync_file(source, target):
    with open(source, "rb") as f:
        data = f.read()
    if os.path.exists(target):
        with open(target, "rb") as f:
            if f.read() == data:
                return
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "wb") as f:
        f.write(data)
    shutil.copymode(source, target)


def configure(source_dir, build_dir, sanitize):
    command = ["cmake", "-S", source_dir, "-B", build_dir, "-G", GENERATOR,
               "-DCMAKE_BUILD_TYPE=Debug",
               f"-DGRAPHICSDLL_SANITIZE={'ON' if sanitize else 'OFF'}",
               # No debug information: nothing reads it, and it is most of
               # what every fault's relink writes.
               "-DCMAKE_CXX_FLAGS_DEBUG=-O0",
               # The test list is read when ctest runs, not after every link.
               "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"]
    if shutil.which("ld.lld"):
        command += [f"-DCMAKE_{kind}_LINKER_FLAGS=-fuse-ld=lld" for kind in ("EXE", "SHARED")]
    result = run(command, ROOT)
    if result.returncode != 0:
        fail("cmake could not configure the scratch build:\n" + result.stdout)


def build(build_dir, jobs):
    return run(["cmake", "--build", build_dir, "--target", "unit_tests", f"-j{jobs}"], ROOT)


def test_jobs(program):
    """Times the unit tests on the unmodified build and splits them into jobs:
    the quick ones together first, then each slow one alone, slowest first,
    so that most faults are caught within the first job. Returns the jobs'
    test filters, once they pass as jobs too."""
    report = os.path.join(os.path.dirname(program), "baseline.json")
    result = run([program, "--gtest_brief=1", f"--gtest_output=json:{report}"],
                 os.path.dirname(program), TEST_TIMEOUT_SECONDS)
    if result.returncode != 0:
        fail("the unit tests fail without any fault:\n" + result.stdout[-3000:])
    with open(report, encoding="utf-8") as f:
        suites = json.load(f)["testsuites"]
    seconds = {f"{suite['name']}.{test['name']}": float(test["time"].rstrip("s"))
               for suite in suites for test in suite["testsuite"]}
    slow = sorted((t for t in seconds if seconds[t] >= SLOW_TEST_SECONDS), key=seconds.get, reverse=True)
    filters = ["*-" + ":".join(slow)] + slow
    failed = run_tests(program, filters)
    if failed:
        fail("the unit tests fail without any fault when run as separate jobs: " + ", ".join(failed))
    return filters


def run_tests(program, filters):
    """Runs the test jobs, PARALLEL_JOBS at a time, each stopping at its first
    failure; the first job to fail ends the others. Returns the names of the
    failed tests, empty when every test passed."""
    pending, running, outputs, failed = list(enumerate(filters)), [], [], None
    deadline = time.monotonic() + TEST_TIMEOUT_SECONDS
    while (pending or running) and failed is None and time.monotonic() < deadline:
        while pending and len(running) < PARALLEL_JOBS:
            index, test_filter = pending.pop(0)
            # Each job in its own directory, for the files tests write.
            workdir = os.path.join(os.path.dirname(program), f"job{index}")
            os.makedirs(workdir, exist_ok=True)
            output = tempfile.TemporaryFile("w+")
            outputs.append(output)
            running.append((subprocess.Popen(
                [program, "--gtest_brief=1", "--gtest_fail_fast", f"--gtest_filter={test_filter}"],
                cwd=workdir, stdout=output, stderr=subprocess.STDOUT), output))
        time.sleep(0.01)
        for job in [j for j in running if j[0].poll() is not None]:
            running.remove(job)
            if job[0].returncode != 0:
                failed = job
    for process, _ in running:
        process.kill()
        process.wait()
    names = []
    if failed is not None:
        process, output = failed
        output.seek(0)
        names = sorted({line.split("]", 1)[1].split()[0].rstrip(",")
                        for line in output if line.startswith("[  FAILED  ]") and "." in line})
        names = names or [f"(exit status {process.returncode})"]
    elif pending or running:
        names = ["(timed out)"]
    for output in outputs:
        output.close()
    return names


def check_fault(fault, source_dir, build_dir, jobs, filters):
    """Applies one fault, builds, tests, restores. Returns (status, detail)."""
    path = os.path.join(source_dir, fault.file)
    if not os.path.exists(path):
        return "stale", "file not found"
    with open(path, encoding="utf-8") as f:
        pristine = f.read()
    count = pristine.count(fault.original)
    if count != 1:
        return "stale", f"snippet found {count} times"
    try:
        with open(path, "w", encoding="utf-8") as f:
            f.write(pristine.replace(fault.original, fault.replacement))
        built = build(build_dir, jobs)
        if built.returncode != 0:
            errors = [l for l in built.stdout.splitlines() if "error" in l][:3]
            return "no-build", "; ".join(errors)
        failed = run_tests(os.path.join(build_dir, "tests", "unit_tests"), filters)
        if not failed:
            return "MISSED", ""
        return "caught", ", ".join(failed[:4]) + (" ..." if len(failed) > 4 else "")
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(pristine)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--only", nargs="+", metavar="NAME",
                        help="check only these faults (names or name prefixes)")
    parser.add_argument("--jobs", type=int, default=2, help="build jobs (default 2)")
    parser.add_argument("--sanitize", action="store_true",
                        help="build with AddressSanitizer and UndefinedBehaviorSanitizer")
    parser.add_argument("--faults", default=os.path.join(ROOT, "tools", "faults.txt"))
    parser.add_argument("--list", action="store_true", help="list the faults and stop")
    parser.add_argument("--verbose", action="store_true",
                        help="show which tests caught each fault")
    args = parser.parse_args()

    faults = parse_faults(args.faults)
    if args.only:
        faults = [f for f in faults if any(f.name == n or f.name.startswith(n) for n in args.only)]
        if not faults:
            fail("no fault matches --only")
    if args.list:
        for fault in faults:
            print(f"{fault.name:40} {fault.file:28} {fault.rule}")
        print(f"{len(faults)} faults")
        return 0

    flavour = "sanitize" if args.sanitize else "plain"
    source_dir = os.path.join(SCRATCH, "src")
    build_dir = os.path.join(SCRATCH, f"{GENERATOR.split()[-1].lower()}-{flavour}")
    copy_tree(source_dir)
    configure(source_dir, build_dir, args.sanitize)
    print("Building the unmodified scratch copy...", flush=True)
    built = build(build_dir, args.jobs)
    if built.returncode != 0:
        fail("the unmodified tree does not build:\n" + built.stdout[-3000:])
    filters = test_jobs(os.path.join(build_dir, "tests", "unit_tests"))

    results = {}
    for index, fault in enumerate(faults, 1):
        started = time.monotonic()
        status, detail = check_fault(fault, source_dir, build_dir, args.jobs, filters)
        results[fault.name] = status
        seconds = time.monotonic() - started
        shown = detail if (status != "caught" or args.verbose) else ""
        print(f"[{index:3}/{len(faults)}] {status:8} {fault.name:40} {seconds:5.1f}s {shown}",
              flush=True)
    # Leave the scratch build matching the unmodified tree.
    build(build_dir, args.jobs)

    counts = {s: sum(1 for v in results.values() if v == s)
              for s in ("caught", "MISSED", "stale", "no-build")}
    missed = [f for f in faults if results[f.name] != "caught"]
    if missed:
        print("\nNot caught:")
        for fault in missed:
            print(f"  {results[fault.name]:8} {fault.name}  ({fault.file}): {fault.rule}")
    print(f"\n{counts['caught']} of {len(faults)} faults caught; {counts['MISSED']} missed, "
          f"{counts['stale']} stale, {counts['no-build']} do not build")
    return 0 if counts["caught"] == len(faults) else 1


if __name__ == "__main__":
    sys.exit(main())
