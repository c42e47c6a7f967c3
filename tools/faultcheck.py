#!/usr/bin/env python3
"""Breaks the plug-in on purpose, one fault at a time, and reports the faults
that no unit test catches (docs/testing.md: "Checking the unit tests with
deliberate faults"). Faults are derived from the code (site-*, check-*) or listed in
tools/faults.txt. Each is applied to a scratch copy, built and tested. It is

  caught     when a test fails (or crashes, or times out);
  MISSED     when every test passes: no test notices the broken rule;
  sanitize   when it shows only under AddressSanitizer ("needs: sanitizers")
             and the run is without --sanitize: it is not built;
  stale      when its snippet is not found exactly once, or a report site
             has a shape no fault can be derived from;
  no-build   when the faulty source does not compile.

Usage:
  ./tools/faultcheck.py                    every fault
  ./tools/faultcheck.py --only NAME ...    the named faults (or name prefixes)
  ./tools/faultcheck.py --list             the faults, without building
  ./tools/faultcheck.py --check-anchors    whether every fault fits the code, without building
  options: --jobs N (build jobs, default 2), --sanitize, --faults FILE,
           --verbose (show the failing tests of caught faults)

Exit status: 0 when every fault is caught (or fits, or is left for
--sanitize), 1 otherwise.
"""

import argparse
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRATCH = os.path.join(ROOT, "build", "faultcheck")
# What the scratch copy needs to build the unit tests.
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
    original: object  # listed: the snippet's lines; generated: the exact text at `start`
    replacement: object
    line: int = 0     # where a listed fault starts in the fault file
    start: int = -1   # where a generated fault's text starts in its file
    problem: str = ""  # why a generated fault could not be derived
    sanitizers: bool = False  # shows only under AddressSanitizer

    @property
    def generated(self):
        return self.line == 0


class Stale(Exception):
    pass


def fail(message):
    sys.exit(f"faultcheck: {message}")


# --- Listed faults -----------------------------------------------------------------

def parse_faults(path):
    """Reads the fault file (its format is described at its top); returns the
    listed faults and the generated faults it leaves out, by name."""
    faults, left_out = [], {}
    current, section = None, None
    with open(path, encoding="utf-8") as lines:
        for number, raw in enumerate(lines, 1):
            line = raw.rstrip("\n")
            if section is not None:
                if line in ("@@", "@@end"):
                    section = "replacement" if line == "@@" else None
                    if line == "@@end":
                        faults.append(current)
                        current = None
                else:
                    getattr(current, section).append(line)
                continue
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            key, _, value = line.partition(":")
            key, value = key.strip(), value.strip()
            if key == "fault":
                if current is not None:
                    fail(f"{path}:{number}: fault {current.name} has no snippet")
                current = Fault(value, "", "", [], [], number)
            elif key == "left out":
                name, _, reason = value.partition(":")
                if not reason.strip():
                    fail(f"{path}:{number}: left out {name} without a reason")
                left_out[name.strip()] = reason.strip()
            elif current is None:
                fail(f"{path}:{number}: '{key}' outside a fault")
            elif key in ("file", "rule"):
                setattr(current, key, value)
            elif key == "needs" and value == "sanitizers":
                current.sanitizers = True
            elif key == "@@begin":
                section = "original"
            else:
                fail(f"{path}:{number}: unknown line '{line}'")
    if current is not None or section is not None:
        fail(f"{path}: the last fault is not closed with @@end")
    for fault in faults:
        if not fault.file or not fault.rule or not any(l.strip() for l in fault.original):
            fail(f"{path}:{fault.line}: fault {fault.name} lacks a file, rule or snippet")
        if not fault.file.startswith(("extra/", "errors/")):
            fail(f"{path}:{fault.line}: fault {fault.name} is not in extra/ or errors/")
    return faults, left_out


def indent(line):
    return len(line) - len(line.lstrip(" "))


def apply_fault(fault, text):
    """The faulty text of the file; raises Stale when the fault does not fit."""
    if fault.problem:
        raise Stale(fault.problem)
    if fault.start >= 0:
        end = fault.start + len(fault.original)
        if text[fault.start:end] != fault.original:
            raise Stale("the code changed since the fault was derived")
        return text[:fault.start] + fault.replacement + text[end:]
    # A snippet matches whole lines, whatever their indentation; the
    # replacement is shifted by the indentation it was found at.
    lines = text.splitlines(keepends=True)
    stripped = [l.strip() for l in lines]
    wanted = [l.strip() for l in fault.original]
    found = [i for i in range(len(lines) - len(wanted) + 1)
             if stripped[i:i + len(wanted)] == wanted]
    if len(found) != 1:
        raise Stale(f"snippet found {len(found)} times")
    at = found[0]
    shift = indent(lines[at]) - indent(fault.original[0])
    faulty = [(" " * shift + l if shift >= 0 else l[min(-shift, indent(l)):]) + "\n"
              for l in fault.replacement]
    return "".join(lines[:at] + faulty + lines[at + len(wanted):])


# --- Generated faults ----------------------------------------------------------------

# A report site: the level and the failing call, or ReportNoDirect3D.
REPORT = re.compile(r"\b(?:D3D_FAILED\(|D3D_FAILED_AS\(\w+,)\s*(?P<level>\w+),\s*"
                    r"(?:(?P<receiver>\w+)->)?(?P<call>\w+)|\bReportNoDirect3D\(")
# A check of an inner operation's result: the receiver, the call, its "== 1".
CHECK = re.compile(r"(?:\b(\w+)->)?\b(\w+)\((?:[^()]|\([^()]*\))*\)( == 1)\b")
# A function definition starts at the line's start and does not end in ';'.
DEFINITION = re.compile(r"^[A-Za-z_][^;\n]*?\b(\w+(?:::~?\w+)?)\s*\([^;\n]*$", re.M)
# The render, texture-stage or transform state a call sets names it apart.
STATE = re.compile(r"\bD3D(?:TS|RS|TSS)_(\w+)")
# After a report in an if's condition or as a statement: the return that
# ends the failure path, maybe after other statements of the same block.
FAILURE_RETURN = re.compile(r"(?:\)|;)\s*(?:\{[^{}]*?)?\breturn\s+(1|false)\s*;")
SUCCESS = {"1": "0", "false": "true"}
SWAPPED_LEVEL = {"kLevelError": "kLevelSevere", "kLevelSevere": "kLevelError"}


def closing(text, opening):
    """The end of the parenthesis that opens at `opening`."""
    depth = 0
    for i in range(opening, len(text)):
        depth += {"(": 1, ")": -1}.get(text[i], 0)
        if depth == 0:
            return i + 1
    return len(text)


def function_at(text, offset):
    names = [m.group(1) for m in DEFINITION.finditer(text, 0, offset)]
    return names[-1] if names else "file"


def in_comment(text, offset):
    return "//" in text[text.rfind("\n", 0, offset) + 1:offset]


def report_sites(text):
    """(function, call, receiver, variants) of every report site; a variant
    is (suffix, rule, start, original, replacement, problem)."""
    for match in REPORT.finditer(text):
        if in_comment(text, match.start()):
            continue
        start = match.start()
        end = closing(text, text.index("(", start))
        site, function = text[start:end], function_at(text, start)
        call, state = match["call"] or "Direct3DCreate9", STATE.search(site)
        shown = f"{call}({state[1]})" if state else call
        variants = []
        if match["level"]:
            level = match["level"]
            swapped = SWAPPED_LEVEL.get(level, f"({level} == kLevelSevere ? kLevelError : kLevelSevere)")
            variants.append(("level", f"a failed {shown} in {function} is reported at {level}", start,
                             site, text[start:match.start("level")] + swapped + text[match.end("level"):end], ""))
        variants.append(result_variant(text, start, end, f"a failed {shown} makes {function} fail"))
        yield function, call + (f"-{state[1]}" if state else ""), match["receiver"] or "", variants


def result_variant(text, start, end, rule):
    """The site's failure passing as success, for the shapes the code has:
    "if (REPORT) ... return 1;", "REPORT; return 1;" and "return !REPORT;"."""
    site = text[start:end]
    before = text[text.rfind("\n", 0, start) + 1:start].strip()
    if re.fullmatch(r"return\s*!", before) and text[end:].lstrip().startswith(";"):
        return ("result", rule, start, site, f"({site} && false)", "")
    after = FAILURE_RETURN.match(text, end)
    if after and (before, text[end]) in (("if (", ")"), ("", ";")):
        value = after.start(1) - start
        original = text[start:after.end()]
        faulty = original[:value] + SUCCESS[after[1]] + original[value + len(after[1]):]
        return ("result", rule, start, original, faulty, "")
    return ("result", rule, start, site, site, f"no result fault for the shape '{before} {site}'")


def result_checks(text):
    for match in CHECK.finditer(text):
        if not in_comment(text, match.start()):
            function = function_at(text, match.start())
            yield function, match[2], match[1] or "", [
                ("", f"a failing {match[2]} ends {function} with 1", match.start(3), match[3], " == 2", "")]


def generated_faults(root):
    places = []  # (family, file, function, call, receiver, variants)
    for path in sorted(glob.glob(os.path.join(root, "extra", "*.cpp"))):
        file = os.path.relpath(path, root)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        if not file.endswith("ErrorReport.cpp"):  # where the reports are defined
            places += [("site", file) + place for place in report_sites(text)]
        places += [("check", file) + place for place in result_checks(text)]
    faults = []
    for index, (family, file, function, call, receiver, variants) in enumerate(places):
        # One function making the same call twice: told apart by the object
        # it is made on, or else numbered.
        same = [p for p in places if p[:4] == (family, file, function, call)]
        label = call
        if len(same) > 1 and len({p[4] for p in same}) == len(same):
            label = f"{receiver}-{call}"
        elif len(same) > 1 and same.index(places[index]) > 0:
            label = f"{call}-{same.index(places[index]) + 1}"
        stem = os.path.splitext(os.path.basename(file))[0]
        for suffix, rule, start, original, replacement, problem in variants:
            name = "-".join(p for p in (family, stem, function.split("::")[-1], label, suffix) if p)
            faults.append(Fault(name, file, rule, original, replacement, 0, start, problem))
    return faults


def all_faults(fault_file):
    listed, left_out = parse_faults(fault_file)
    generated = generated_faults(ROOT)
    names = {f.name for f in generated}
    unknown = sorted(set(left_out) - names)
    if unknown:
        fail(f"{fault_file}: left out faults that are not generated: {', '.join(unknown)}")
    generated = [f for f in generated if f.name not in left_out]
    names = [f.name for f in generated + listed]
    twice = sorted({n for n in names if names.count(n) > 1})
    if twice:
        fail(f"fault names used twice: {', '.join(twice)}")
    return generated, listed


# --- Building and testing ------------------------------------------------------------

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
    try:
        faulty = apply_fault(fault, pristine)
    except Stale as stale:
        return "stale", str(stale)
    try:
        with open(path, "w", encoding="utf-8") as f:
            f.write(faulty)
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


def check_anchors(faults):
    """Applies every fault to the checkout's text, without building."""
    stale = 0
    for fault in faults:
        with open(os.path.join(ROOT, fault.file), encoding="utf-8") as f:
            text = f.read()
        try:
            apply_fault(fault, text)
        except Stale as problem:
            stale += 1
            print(f"stale    {fault.name}  ({fault.file}): {problem}")
    return stale


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--only", nargs="+", metavar="NAME",
                        help="check only these faults (names or name prefixes)")
    parser.add_argument("--jobs", type=int, default=2, help="build jobs (default 2)")
    parser.add_argument("--sanitize", action="store_true",
                        help="build with AddressSanitizer and UndefinedBehaviorSanitizer")
    parser.add_argument("--faults", default=os.path.join(ROOT, "tools", "faults.txt"))
    parser.add_argument("--list", action="store_true", help="list the faults and stop")
    parser.add_argument("--check-anchors", action="store_true",
                        help="check that every fault can be applied, without building")
    parser.add_argument("--verbose", action="store_true",
                        help="show which tests caught each fault")
    args = parser.parse_args()

    generated, listed = all_faults(args.faults)
    faults = generated + listed
    if args.only:
        faults = [f for f in faults if any(f.name.startswith(n) for n in args.only)]
        if not faults:
            fail("no fault matches --only")
    made = sum(f.generated for f in faults)
    origin = f"({made} generated, {len(faults) - made} listed)"
    if args.list:
        for fault in faults:
            print(f"{fault.name:56} {fault.file:24} {fault.rule}")
        print(f"faults: {len(faults)} {origin}")
        return 0
    if args.check_anchors:
        stale = check_anchors(faults)
        print(f"faults: {len(faults) - stale} apply, {stale} stale {origin}")
        return 1 if stale else 0

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
        if fault.sanitizers and not args.sanitize:
            status, detail = "sanitize", "shows only under AddressSanitizer: check it with --sanitize"
        else:
            status, detail = check_fault(fault, source_dir, build_dir, args.jobs, filters)
        results[fault.name] = status
        seconds = time.monotonic() - started
        shown = detail if (status != "caught" or args.verbose) else ""
        print(f"[{index:3}/{len(faults)}] {status:8} {fault.name:56} {seconds:5.1f}s {shown}",
              flush=True)
    # Leave the scratch build matching the unmodified tree.
    build(build_dir, args.jobs)

    counts = {s: sum(1 for v in results.values() if v == s)
              for s in ("caught", "MISSED", "stale", "no-build", "sanitize")}
    missed = [f for f in faults if results[f.name] not in ("caught", "sanitize")]
    if missed:
        print("\nNot caught:")
        for fault in missed:
            print(f"  {results[fault.name]:8} {fault.name}  ({fault.file}): {fault.rule}")
    left = f", {counts['sanitize']} left for --sanitize" if counts["sanitize"] else ""
    print(f"\nfaults: {counts['caught']} caught, {counts['MISSED']} missed, {counts['stale']} stale, "
          f"{counts['no-build']} do not build{left} {origin}")
    return 0 if not missed else 1


if __name__ == "__main__":
    sys.exit(main())
