#!/usr/bin/env python3
"""Builds errors/ErrorNameTable.inc, the table behind ErrorName(), from the
Windows and DirectX SDK headers that define the result codes.

Where the headers come from
    MinGW-w64's headers (/usr/x86_64-w64-mingw32/include) hold every family
    but dvoice.h, which comes from Wine's development package: --fetch-dvoice
    downloads that package (the version in headers.manifest) into the scratch
    folder build/error-headers/ and extracts dvoice.h alone; nothing is
    installed. scripts/install-packages.sh runs it, so that the tests, which
    regenerate the table to check it, download nothing. headers.manifest records each header's package, version and
    sha256; --check-headers tells whether the installed headers still match.

Which constants are taken
    1. Per header, the constants whose names start with one of its family
       prefixes (FAMILY_HEADERS below). Most headers define their codes as
       object-like macros; wbemcli.h and d3dx9.h as members of one status
       enum (WBEMSTATUS, _D3DXERR), and only that enum is read, because the
       other WBEM_ enums hold flags.
    2. Function-like macros are helpers (MAKE_DDHRESULT, MS_ERROR_CODE), not
       codes, and are skipped.
    3. Range markers and masks that share a family prefix are skipped: names
       ending in _FIRST, _LAST, _BASE, BASEERR, _ERRBASE or _MASK
       (OLE_E_FIRST, DNS_ERROR_ZONE_BASE, WSABASEERR, DNS_ERROR_MASK).
    4. A constant defined as just another constant's name is an alias
       (DDERR_GENERIC is E_FAIL, DIERR_READONLY is E_ACCESSDENIED): it
       restates that constant and adds no name, even when the constant it
       names is outside the families (DPNERR_PENDING is DPNSUCCESS_PENDING).
    Values are not parsed but compiled: one translation unit includes every
    header and lists the constants, the MinGW compiler turns it into
    assembly, and the numbers are read from it. Enum members and nested
    macros (MAKE_HRESULT(1, _FACDD, 2905)) come out as the compiler sees them.

Two kinds of codes
    winerror.h writes its HRESULTs typed (_HRESULT_TYPEDEF_(0x80070005),
    ((HRESULT)0), HRESULT_FROM_WIN32(...)) and its Win32 error codes as plain
    numbers (2L, WSABASEERR + 4). A plain number below 0x10000 is a Win32
    code, and is known both as that value and as its HRESULT of facility
    WIN32, 0x8007xxxx (HRESULT_FROM_WIN32; code 0 has no such form, its
    HRESULT is 0). Every other constant is taken at its own value.

One entry per value
    The names at a value are its constants plus, for a plain Win32 value or
    its 0x8007xxxx form, the Win32 code's name. They become one entry:
    a. winerror.h gives a value at most one name: the generic COM names (E_,
       S_) first, then its other HRESULTs, then the Win32 code; ties go to
       the earlier definition. So 0 is S_OK (not SEC_E_OK or ERROR_SUCCESS),
       1 is S_FALSE (not ERROR_INVALID_FUNCTION), and 0x80070005 is
       E_ACCESSDENIED, winerror.h's own HRESULT for ERROR_ACCESS_DENIED.
    b. winerror.h defines the codes of the system facilities (NULL, WIN32,
       RPC, STORAGE, SECURITY, ...). Where it names a value with an HRESULT
       outside FACILITY_ITF, that name stands alone: another header's
       constant at that value is its own spelling of the system code
       (WBEM_S_NO_ERROR is 0, WBEM_S_FALSE is 1).
    c. FACILITY_ITF values are defined per interface, and the same value
       means different things for different interfaces. winerror.h's ITF
       codes belong to OLE and COM+ interfaces (EVENT_E_, OLE_S_); where a
       component header defines the value too, the component's names are
       the entry and winerror.h's name is left out.
    d. Any other header gives a value at most one name, its first.
    e. Names that say the same thing after their family prefix and an E_ or
       S_ severity tag, underscores aside, name one condition under two
       families (D3DERR_OUTOFVIDEOMEMORY kept DDERR_OUTOFVIDEOMEMORY's
       number; DIERR_ALREADYINITIALIZED is ERROR_ALREADY_INITIALIZED): the
       first stands.
    f. The names left are joined with " & " in the order of FAMILY_HEADERS
       (ERROR_BUSY & DIERR_ACQUIRED). That order puts winerror.h first,
       because the other headers build their codes on it, then the
       DirectX Graphics headers this plug-in calls, the other DirectX
       components, DirectShow, and WMI last: the likelier meaning for a
       graphics plug-in's report is read first.
    Values these rules decide badly are listed, each with its reason, in
    name_exceptions.ini; an exception may only choose among the value's
    own names, and one that no longer changes anything is an error.

The table in C++
    Win32 codes are stored once, in kWin32CodeNames, and serve both their
    plain value and their 0x8007xxxx form. Every other entry is in
    kResultCodeNames, which the lookup searches first; it also holds the
    forms of Win32 codes whose entry is not the Win32 name alone (S_FALSE at
    1, E_ACCESSDENIED at 0x80070005, ERROR_BUSY & DIERR_ACQUIRED at
    0x800700AA). Before writing, the generator replays that lookup over
    every value and checks it against the entries.

Usage
    generate_error_names.py --fetch-dvoice
        only downloads dvoice.h into the scratch folder
    generate_error_names.py
        writes errors/ErrorNameTable.inc and errors/generator/headers.manifest
    generate_error_names.py --output FILE
        writes the table to FILE and leaves the manifest alone
    generate_error_names.py --check-headers
        exit 0 when the headers are those of the manifest, 3 when not (the
        reason is printed), so a regeneration check can skip instead of fail
"""

import argparse
import configparser
import hashlib
import re
import shutil
import subprocess
import sys
import tempfile
import textwrap
from dataclasses import dataclass
from pathlib import Path

REPO_ROOT = Path(__file__).resolve().parents[2]
GENERATOR_DIR = Path(__file__).resolve().parent
DEFAULT_OUTPUT = REPO_ROOT / "errors" / "ErrorNameTable.inc"
MANIFEST = GENERATOR_DIR / "headers.manifest"
EXCEPTIONS = GENERATOR_DIR / "name_exceptions.ini"

MINGW_INCLUDE = Path("/usr/x86_64-w64-mingw32/include")
DEFAULT_SCRATCH = REPO_ROOT / "build" / "error-headers"
WINE_PACKAGE = "libwine-dev"
WINE_HEADER_DIR = Path("usr/include/wine/wine/windows")
COMPILER = "x86_64-w64-mingw32-g++"

EXIT_HEADERS_DIFFER = 3

FACILITY_ITF = 4
FACILITY_WIN32_ERROR_BASE = 0x80070000
WIN32_CODE_LIMIT = 0x10000

GENERIC_COM_PREFIXES = ("E_", "S_")
SEVERITY_TAGS = ("E_", "S_")
MARKER_SUFFIX = re.compile(r"(_FIRST|_LAST|_BASE|BASEERR|_ERRBASE|_MASK)$")
JOIN = " & "


@dataclass(frozen=True)
class FamilyHeader:
    file: str
    prefixes: tuple
    status_enum: str = ""
    from_wine: bool = False


# winerror.h's families. DV_ is here for winerror.h's OLE data-view codes
# (DV_E_FORMATETC, ...), which share their prefix with dvoice.h's DV_ codes.
WINERROR_PREFIXES = tuple("""
    ERROR_ WSA E_ S_ CO_ RPC_ STG_ OLE_ MK_ DISP_ TYPE_ REGDB_ CLASS_
    CLASSFACTORY_ CLIPBRD_ CONVERT10_ DRAGDROP_ DATA_ VIEW_ CACHE_ OLEOBJ_
    INPLACE_ CLIENTSITE_ MARSHAL_ ENUM_ PERSIST_ MEM_ CONTEXT_ CS_ EVENT_
    XACT_ COMADMIN_ COMQC_ SCHED_ NTE_ CRYPT_ TRUST_ CERT_ CERTSRV_ SEC_
    SCARD_ SPAPI_ XENROLL_ DIGSIG_ MSSIPOTF_ OSS_ DNS_ EPT_ OR_ CAT_ FRS_ DS_
    WAIT_ MSDTC_ DV_
""".split())

# The order decides which name survives rule e and the order of joined names
# (see the module's description). It is also the include order of the
# translation unit that evaluates the values: d3dx9xof.h needs d3dx9.h first.
FAMILY_HEADERS = (
    FamilyHeader("winerror.h", WINERROR_PREFIXES),
    FamilyHeader("d3d9.h", ("D3DERR_", "D3DOK_NOAUTOGEN")),
    FamilyHeader("d3dx9.h", ("D3DXERR_",), status_enum="_D3DXERR"),
    FamilyHeader("ddraw.h", ("DDERR_",)),
    FamilyHeader("dxfile.h", ("DXFILEERR_",)),
    FamilyHeader("d3dx9xof.h", ("D3DXFERR_",)),
    FamilyHeader("dinput.h", ("DIERR_",)),
    FamilyHeader("dmerror.h", ("DMUS_",)),
    FamilyHeader("dsound.h", ("DSERR_",)),
    FamilyHeader("dplay8.h", ("DPNERR_",)),
    FamilyHeader("dvoice.h", ("DVERR_", "DV_"), from_wine=True),
    FamilyHeader("vfwmsgs.h", ("VFW_", "E_PROP_")),
    FamilyHeader("mmstream.h", ("MS_",)),
    FamilyHeader("mediaerr.h", ("DMO_E_",)),
    FamilyHeader("wbemcli.h", ("WBEM_", "WBEMMOF_", "WBEMESS_"), status_enum="tag_WBEMSTATUS"),
)
WINERROR = FAMILY_HEADERS[0]


class GeneratorError(Exception):
    pass


@dataclass
class Constant:
    name: str
    header_rank: int  # position of its header in FAMILY_HEADERS
    line_rank: int  # order of definition within its header
    definition: str
    value: int = 0

    @property
    def header(self):
        return FAMILY_HEADERS[self.header_rank]

    @property
    def is_win32_code(self):
        # winerror.h types every HRESULT; Win32 codes are plain numbers.
        return self.header is WINERROR and "HRESULT" not in self.definition

    @property
    def is_generic_com(self):
        return self.header is WINERROR and self.name.startswith(GENERIC_COM_PREFIXES)

    @property
    def family_prefix(self):
        return max((p for p in self.header.prefixes if self.name.startswith(p)), key=len)


# ---------------------------------------------------------------------------
# Locating the headers


def header_path(header, mingw_include, scratch):
    if header.from_wine:
        return scratch / WINE_HEADER_DIR / header.file
    return mingw_include / header.file


def fetch_dvoice(scratch, version):
    """Downloads Wine's development package and extracts dvoice.h alone."""
    scratch.mkdir(parents=True, exist_ok=True)
    package = f"{WINE_PACKAGE}={version}" if version else WINE_PACKAGE
    run(["apt-get", "download", package], cwd=scratch)
    debs = sorted(scratch.glob(f"{WINE_PACKAGE}_*.deb"), key=lambda p: p.stat().st_mtime)
    if not debs:
        raise GeneratorError(f"apt-get download left no {WINE_PACKAGE} package in {scratch}")
    member = f"./{WINE_HEADER_DIR / 'dvoice.h'}"
    tar_stream = subprocess.Popen(["dpkg-deb", "--fsys-tarfile", str(debs[-1])], stdout=subprocess.PIPE)
    run(["tar", "-x", "-C", str(scratch), member], stdin=tar_stream.stdout)
    if tar_stream.wait() != 0:
        raise GeneratorError(f"dpkg-deb could not read {debs[-1]}")


def run(command, **kwargs):
    result = subprocess.run(command, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        raise GeneratorError(f"{' '.join(command)} failed:\n{result.stderr}")
    return result.stdout


# ---------------------------------------------------------------------------
# The manifest: package, version and sha256 of each header read


def sha256_of(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def package_of(header, path, scratch):
    """The Debian package and version that ship a header."""
    if header.from_wine:
        debs = sorted(scratch.glob(f"{WINE_PACKAGE}_*.deb"), key=lambda p: p.stat().st_mtime)
        if not debs:
            raise GeneratorError(f"no {WINE_PACKAGE} package in {scratch}: run scripts/install-packages.sh")
        fields = run(["dpkg-deb", "-f", str(debs[-1]), "Package", "Version"])
        values = dict(line.split(": ", 1) for line in fields.splitlines())
        return values["Package"], values["Version"]
    owner = run(["dpkg-query", "-S", str(path.resolve())]).split(":", 1)[0]
    version = run(["dpkg-query", "-W", "-f", "${Version}", owner])
    return owner, version


def manifest_lines(mingw_include, scratch):
    lines = [
        "# The headers that ErrorNameTable.inc is generated from: file, Debian",
        "# package, package version and the file's sha256. Written by",
        "# generate_error_names.py; --check-headers compares the installed headers.",
    ]
    for header in FAMILY_HEADERS:
        path = header_path(header, mingw_include, scratch)
        package, version = package_of(header, path, scratch)
        lines.append(f"{header.file} {package} {version} {sha256_of(path)}")
    return lines


def read_manifest():
    entries = {}
    for line in MANIFEST.read_text().splitlines():
        if line.strip() and not line.startswith("#"):
            file, package, version, digest = line.split()
            entries[file] = (package, version, digest)
    return entries


def header_differences(mingw_include, scratch):
    """Why the installed headers are not the manifest's; empty when they are."""
    if shutil.which(COMPILER) is None:
        return [f"{COMPILER} is not installed"]
    if not MANIFEST.exists():
        return [f"{MANIFEST} is missing"]
    manifest = read_manifest()
    problems = []
    for header in FAMILY_HEADERS:
        path = header_path(header, mingw_include, scratch)
        if header.file not in manifest:
            problems.append(f"{header.file} is not in the manifest")
        elif not path.exists():
            hint = " (scripts/install-packages.sh gets it)" if header.from_wine else ""
            problems.append(f"{path} is missing{hint}")
        elif sha256_of(path) != manifest[header.file][2]:
            package, version, _ = manifest[header.file]
            problems.append(f"{path} differs from the one of {package} {version}")
    return problems


def wine_version_in_manifest():
    if not MANIFEST.exists():
        return ""
    for file, (_, version, _) in read_manifest().items():
        if file == "dvoice.h":
            return version
    return ""


# ---------------------------------------------------------------------------
# Reading the constants


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", "", text)
    return text.replace("\\\n", " ")


DEFINE = re.compile(r"^[ \t]*#[ \t]*define[ \t]+([A-Za-z_]\w*)(\()?[ \t]*(.*)$", re.M)


def macro_definitions(text):
    """Object-like macros in definition order, the first definition of each."""
    found = {}
    for name, function_like, body in DEFINE.findall(text):
        if not function_like:
            found.setdefault(name, body.strip())
    return list(found.items())


def enum_members(text, tag):
    match = re.search(r"\benum\s+" + re.escape(tag) + r"\s*\{(.*?)\}", text, re.S)
    if match is None:
        raise GeneratorError(f"enum {tag} not found")
    members = []
    for item in match.group(1).split(","):
        name, _, initialiser = item.partition("=")
        if name.strip():
            members.append((name.strip(), initialiser.strip()))
    return members


def check_names_unique(constants):
    # A name defined by two headers would have two families and two ranks.
    seen = {}
    for constant in constants:
        other = seen.setdefault(constant.name, constant)
        if other is not constant:
            raise GeneratorError(f"{constant.name} is defined in {other.header.file} and {constant.header.file}")


def is_alias(definition):
    return re.fullmatch(r"\(?\s*[A-Za-z_]\w*\s*\)?", definition) is not None


def read_constants(header_rank, path):
    header = FAMILY_HEADERS[header_rank]
    text = strip_comments(path.read_text(encoding="latin-1"))
    if header.status_enum:
        candidates = enum_members(text, header.status_enum)
    else:
        candidates = macro_definitions(text)
    constants = []
    for name, definition in candidates:
        if not name.startswith(header.prefixes) or MARKER_SUFFIX.search(name):
            continue
        if is_alias(definition):
            continue
        constants.append(Constant(name, header_rank, len(constants), definition))
    return constants


# ---------------------------------------------------------------------------
# Evaluating the values with the compiler


def evaluate_values(constants, scratch):
    includes = "".join(f"#include <{h.file}>\n" for h in FAMILY_HEADERS)
    values = ",\n".join(f"    (unsigned int)({c.name})" for c in constants)
    source = f"#include <windows.h>\n{includes}\nextern \"C\" const unsigned int kValues[] = {{\n{values}\n}};\n"
    with tempfile.TemporaryDirectory() as work:
        unit = Path(work) / "values.cpp"
        unit.write_text(source)
        assembly = run([COMPILER, "-S", "-o", "-", "-Wall", "-Werror",
                        "-I", str(scratch / WINE_HEADER_DIR), str(unit)])
    block = assembly.split("kValues:", 1)
    numbers = re.findall(r"^\s*\.long\s+(-?\d+)\s*$", block[1], re.M) if len(block) == 2 else []
    if len(numbers) < len(constants):
        raise GeneratorError("the compiler's assembly holds fewer values than constants")
    for constant, number in zip(constants, numbers):
        constant.value = int(number) & 0xFFFFFFFF
    for constant in constants:
        if constant.is_win32_code and constant.value >= WIN32_CODE_LIMIT:
            raise GeneratorError(f"{constant.name} is untyped but no Win32 code: {constant.value:#x}")


# ---------------------------------------------------------------------------
# One entry per value


def facility(value):
    return (value >> 16) & 0x1FFF


def win32_code_of(value):
    """The Win32 code a value stands for, plainly or in its WIN32 HRESULT form."""
    if value < WIN32_CODE_LIMIT:
        return value
    if (value & 0xFFFF0000) == FACILITY_WIN32_ERROR_BASE and (value & 0xFFFF) != 0:
        return value & 0xFFFF
    return None


def names_by_value(constants):
    """Each value with its constants; a Win32 code also at its 0x8007xxxx form."""
    by_value = {}
    for constant in constants:
        by_value.setdefault(constant.value, []).append(constant)
        if constant.is_win32_code and constant.value:
            by_value.setdefault(FACILITY_WIN32_ERROR_BASE | constant.value, []).append(constant)
    return by_value


def winerror_choice(candidates):
    """Rule a: winerror.h's one name for a value, or None."""
    def preference(constant):
        kind = 0 if constant.is_generic_com else (2 if constant.is_win32_code else 1)
        return (kind, constant.line_rank)

    from_winerror = [c for c in candidates if c.header is WINERROR]
    return min(from_winerror, key=preference) if from_winerror else None


def first_of_each_other_header(candidates):
    """Rule d: the first name of every header but winerror.h, in header order."""
    first = {}
    for constant in sorted(candidates, key=lambda c: (c.header_rank, c.line_rank)):
        if constant.header is not WINERROR:
            first.setdefault(constant.header_rank, constant)
    return list(first.values())


def condition_words(constant):
    rest = constant.name[len(constant.family_prefix):]
    if rest.startswith(SEVERITY_TAGS) and constant.family_prefix not in SEVERITY_TAGS:
        rest = rest[2:]
    return rest.replace("_", "")


def without_repeated_conditions(names):
    """Rule e: keeps the first of names that say the same thing."""
    kept, seen = [], set()
    for constant in names:
        words = condition_words(constant)
        if words not in seen:
            seen.add(words)
            kept.append(constant)
    return kept


def entry_by_rule(value, candidates):
    """The names of one value's entry, in join order (rules a to f)."""
    system_name = winerror_choice(candidates)
    in_itf = facility(value) == FACILITY_ITF
    if system_name and not system_name.is_win32_code and not in_itf:
        return [system_name]  # rule b
    others = first_of_each_other_header(candidates)
    if in_itf and others:
        system_name = None  # rule c
    return without_repeated_conditions(([system_name] if system_name else []) + others)


def read_exceptions():
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(EXCEPTIONS)
    exceptions = {}
    for section in parser.sections():
        fields = parser[section]
        if not fields.get("reason", "").strip():
            raise GeneratorError(f"exception {section} gives no reason")
        if "entry" not in fields:
            raise GeneratorError(f"exception {section} gives no entry")
        exceptions[int(section, 16)] = fields["entry"].split(JOIN)
    return exceptions


def resolve_entries(constants, exceptions):
    by_value = names_by_value(constants)
    entries = {}
    for value, candidates in by_value.items():
        entries[value] = [c.name for c in entry_by_rule(value, candidates)]
    for value, names in exceptions.items():
        own_names = {c.name for c in by_value.get(value, [])}
        if not own_names.issuperset(names):
            raise GeneratorError(f"exception {value:#010x} names {names}, not all of them the value's own")
        if entries[value] == names:
            raise GeneratorError(f"exception {value:#010x} no longer changes anything: remove it")
        entries[value] = names
    return {value: JOIN.join(names) for value, names in entries.items()}


# ---------------------------------------------------------------------------
# The two C++ tables


def split_tables(entries, constants):
    """Win32 rows, stored once for both forms, and the rows searched first."""
    win32_rows = {}
    for constant in constants:
        if not constant.is_win32_code:
            continue
        forms = [constant.value] + ([FACILITY_WIN32_ERROR_BASE | constant.value] if constant.value else [])
        if any(entries.get(form) == constant.name for form in forms):
            win32_rows[constant.value] = constant.name
    result_rows = {}
    for value, name in entries.items():
        code = win32_code_of(value)
        if code is None or win32_rows.get(code) != name:
            result_rows[value] = name
    return win32_rows, result_rows


def replay_lookup(value, win32_rows, result_rows):
    """ErrorNames.cpp's lookup, step for step."""
    if value in result_rows:
        return result_rows[value]
    code = win32_code_of(value)
    if code is not None and code in win32_rows:
        return win32_rows[code]
    return "Unknown"


def check_tables(entries, win32_rows, result_rows):
    probes = set(entries) | {FACILITY_WIN32_ERROR_BASE | code for code in win32_rows} | set(win32_rows)
    probes.add(FACILITY_WIN32_ERROR_BASE)
    for value in sorted(probes):
        expected = entries.get(value, "Unknown")
        found = replay_lookup(value, win32_rows, result_rows)
        if found != expected:
            raise GeneratorError(f"the tables name {value:#010x} {found!r}, the entry is {expected!r}")


def first_name_counts(win32_rows, result_rows, constants):
    header_of = {c.name: c.header.file for c in constants}
    counts = {h.file: 0 for h in FAMILY_HEADERS}
    for name in list(win32_rows.values()) + list(result_rows.values()):
        counts[header_of[name.split(JOIN)[0]]] += 1
    return counts


def render_rows(rows):
    return "".join(f"    {{0x{value:08X}u, L\"{name}\"}},\n" for value, name in sorted(rows.items()))


def render_table(win32_rows, result_rows, constants):
    counts = first_name_counts(win32_rows, result_rows, constants)
    joined = sum(1 for name in result_rows.values() if JOIN in name)
    summary = ", ".join(f"{file} {count}" for file, count in counts.items()) + "."
    summary_lines = "".join(f"//   {line}\n" for line in textwrap.wrap(summary, 74))
    return (
        "// Generated by errors/generator/generate_error_names.py from the headers\n"
        "// listed in errors/generator/headers.manifest. Do not edit: regenerate.\n"
        f"// {len(win32_rows) + len(result_rows)} entries, {joined} of them joined. By the header of their\n"
        "// first name:\n"
        f"{summary_lines}"
        "\n"
        "// Win32 error codes, each named for its plain value and for its HRESULT of\n"
        "// facility WIN32 (0x8007xxxx) where kResultCodeNames has no row for it.\n"
        "constexpr ErrorNameEntry kWin32CodeNames[] = {\n"
        f"{render_rows(win32_rows)}"
        "};\n"
        "\n"
        "// Every other entry, searched first.\n"
        "constexpr ErrorNameEntry kResultCodeNames[] = {\n"
        f"{render_rows(result_rows)}"
        "};\n"
    )


# ---------------------------------------------------------------------------


def generate(mingw_include, scratch):
    constants = []
    for rank, header in enumerate(FAMILY_HEADERS):
        path = header_path(header, mingw_include, scratch)
        if not path.exists():
            hint = ": run scripts/install-packages.sh" if header.from_wine else ""
            raise GeneratorError(f"{path} is missing{hint}")
        constants.extend(read_constants(rank, path))
    check_names_unique(constants)
    evaluate_values(constants, scratch)
    entries = resolve_entries(constants, read_exceptions())
    win32_rows, result_rows = split_tables(entries, constants)
    check_tables(entries, win32_rows, result_rows)
    return render_table(win32_rows, result_rows, constants)


def check_committed_table(mingw_include, scratch):
    """The unit tests' check: 0 when errors/ErrorNameTable.inc is what the
    headers give, 1 with the first differing line when it is stale, 3 when
    the headers are not those the table was made from (nothing to compare)."""
    problems = header_differences(mingw_include, scratch)
    if problems:
        print("\n".join(["the headers are not those of headers.manifest:"] + problems))
        return EXIT_HEADERS_DIFFER
    committed = DEFAULT_OUTPUT.read_text().splitlines()
    fresh = generate(mingw_include, scratch).splitlines()
    for number, (old, new) in enumerate(zip(committed + ["<end>"], fresh + ["<end>"]), 1):
        if old != new:
            print(f"errors/ErrorNameTable.inc is stale, line {number}: committed \"{old}\", "
                  f"generated \"{new}\"")
            return 1
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--output", type=Path, help="write the table here and leave the manifest alone")
    parser.add_argument("--check-headers", action="store_true",
                        help="only tell whether the headers are the manifest's (exit 3 when not)")
    parser.add_argument("--check", action="store_true",
                        help="only tell whether the committed table is what the headers give "
                             "(exit 1 when not, 3 when the headers are not the manifest's)")
    parser.add_argument("--fetch-dvoice", action="store_true",
                        help=f"only download {WINE_PACKAGE} and extract dvoice.h into the scratch folder")
    parser.add_argument("--mingw-include", type=Path, default=MINGW_INCLUDE)
    parser.add_argument("--scratch", type=Path, default=DEFAULT_SCRATCH)
    args = parser.parse_args()
    try:
        if args.check_headers:
            problems = header_differences(args.mingw_include, args.scratch)
            for problem in problems:
                print(problem)
            return EXIT_HEADERS_DIFFER if problems else 0
        if args.fetch_dvoice:
            fetch_dvoice(args.scratch, wine_version_in_manifest())
            return 0
        if args.check:
            return check_committed_table(args.mingw_include, args.scratch)
        table = generate(args.mingw_include, args.scratch)
        (args.output or DEFAULT_OUTPUT).write_text(table)
        if args.output is None:
            MANIFEST.write_text("\n".join(manifest_lines(args.mingw_include, args.scratch)) + "\n")
    except GeneratorError as error:
        print(f"generate_error_names.py: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
