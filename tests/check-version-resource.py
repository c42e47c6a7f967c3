#!/usr/bin/python3
"""Checks the version resource of a Windows build of the plug-in.

Usage: check-version-resource.py GraphicsDLL.dll VERSION

The DLL must carry the project's version (three parts, such as 1.0.0) as its
file and product version, both as numbers (with a fourth part 0) and as
text, and name the product, the file and what it is. Reads the DLL with
Debian's python3-pefile, hence Debian's Python. Exits 1 and says what is
wrong otherwise.
"""

import sys

import pefile


def version_strings(pe):
    """The values of the resource's first string table, as text."""
    for info in getattr(pe, "FileInfo", [[]])[0]:
        if info.Key == b"StringFileInfo" and info.StringTable:
            return {key.decode(): value.decode() for key, value in info.StringTable[0].entries.items()}
    return {}


def problems(path, version):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    if not getattr(pe, "VS_FIXEDFILEINFO", None):
        return ["has no version resource"]
    fixed = pe.VS_FIXEDFILEINFO[0]
    major, minor, patch = (int(part) for part in version.split("."))
    numbers = ((major << 16) | minor, patch << 16)
    found = []
    if (fixed.FileVersionMS, fixed.FileVersionLS) != numbers:
        found.append("its file version number is not %s.0" % version)
    if (fixed.ProductVersionMS, fixed.ProductVersionLS) != numbers:
        found.append("its product version number is not %s.0" % version)
    strings = version_strings(pe)
    expected = {"FileVersion": version, "ProductVersion": version, "ProductName": "GraphicsDLL",
                "OriginalFilename": "GraphicsDLL.dll"}
    for key, value in expected.items():
        if strings.get(key) != value:
            found.append("%s is %r, expected %r" % (key, strings.get(key), value))
    if not strings.get("FileDescription"):
        found.append("it has no FileDescription")
    return found


def main():
    path, version = sys.argv[1], sys.argv[2]
    found = problems(path, version)
    for problem in found:
        print("FAIL: %s: %s" % (path, problem), file=sys.stderr)
    if not found:
        print("%s: version %s in its version resource" % (path, version))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
