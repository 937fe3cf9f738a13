#!/usr/bin/env python3
"""The release archive as a student gets it: made by the package's own packer from the release
program of this build (scripts/package builds that same program from a clean tree), twice, byte for
byte the same; unpacked into an empty folder, the program prints its version and its diagnostic
report under Wine, with the packaged vyk.cfg template read and nothing configured; and the program's resources hold the version information
and the icon in every size."""

import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile


sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from debian_python import require  # noqa: E402

pefile = require("pefile")
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panel", "tests"))
import e2e_support as e2e  # noqa: E402

ICON_SIZES = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256}


def version():
    with open(os.path.join(e2e.BUILD_DIR, "CMakeCache.txt")) as cache:
        return re.search(r"CMAKE_PROJECT_VERSION:STATIC=(\S+)", cache.read()).group(1)


def packaged_program(scratch):
    """vyk.exe as scripts/package ships it."""
    path = os.path.join(scratch, "vyk.exe")
    subprocess.run([os.path.join(e2e.SOURCE_DIR, "tools", "package_program"), os.path.join(e2e.BUILD_DIR, "vyk.exe"),
                    path], check=True, timeout=120)
    return path


def make_archive(out, program, guide):
    tools = os.path.join(e2e.SOURCE_DIR, "tools")
    subprocess.run(["python3", os.path.join(tools, "package_zip.py"), out, "tavisk-" + version(),
                    program + "=vyk.exe",
                    os.path.join(e2e.BUILD_DIR, "package", "vyk.cfg") + "=vyk.cfg",
                    guide + "=user-guide.html"], check=True, timeout=120)
    with open(out, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def wine(folder, *args):
    env = dict(os.environ)
    for name in ("VYK_API_KEY", "OPENAI_API_KEY", "VYK_BACKEND_URL"):
        env.pop(name, None)
    result = subprocess.run([e2e.WINE_EXEC, os.path.join(folder, "vyk.exe")] + list(args), cwd=folder, env=env,
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
    return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r\n", "\n")


def test_archive_is_reproducible_and_the_unpacked_program_runs():
    scratch = tempfile.mkdtemp(prefix="vyk-package-")
    try:
        guide = os.path.join(scratch, "user-guide.html")
        subprocess.run(["python3", os.path.join(e2e.SOURCE_DIR, "tools", "guide_html.py"),
                        os.path.join(e2e.SOURCE_DIR, "docs", "user-guide.md"), guide], check=True, timeout=120)
        program = packaged_program(scratch)
        first = make_archive(os.path.join(scratch, "a.zip"), program, guide)
        second = make_archive(os.path.join(scratch, "b.zip"), program, guide)
        e2e.check(first == second, "two archives of the same files differ")

        folder = os.path.join(scratch, "unpacked")
        os.mkdir(folder)
        with zipfile.ZipFile(os.path.join(scratch, "a.zip")) as archive:
            names = archive.namelist()
            top = "tavisk-%s/" % version()
            e2e.check(names == [top + n for n in ("vyk.exe", "vyk.cfg", "user-guide.html")], "members %r" % names)
            archive.extractall(folder)
        program = os.path.join(folder, top)
        code, output = wine(program, "--version")
        e2e.check(code == 0 and output == "Tavisk %s\n" % version(), "--version: %d %r" % (code, output))

        code, output = wine(program, "--diagnose")
        e2e.check(code == 0, "--diagnose exited %d" % code)
        for expected in ("Tavisk %s diagnostic report" % version(), "Capture exclusion: FAILED",
                         "vyk.cfg\n",  # the template, read: every key in it is commented out
                         "Mode: FAILED, hosted, but no tutor service is configured",
                         "Service tutor.tavisk.invalid: FAILED, the built-in placeholder address, never contacted",
                         "Report file: OK, "):
            e2e.check(expected in output, "%r missing from:\n%s" % (expected, output))
        e2e.check(os.path.exists(os.path.join(program, "vyk-diagnose.txt")), "no report file beside the program")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def test_resources_hold_version_information_and_every_icon_size():
    scratch = tempfile.mkdtemp(prefix="vyk-package-")
    try:
        program = packaged_program(scratch)
        with open(program, "rb") as f:
            pe = pefile.PE(data=f.read())
        sections = subprocess.run(["x86_64-w64-mingw32-objdump", "-h", program], capture_output=True, text=True,
                                  check=True, timeout=60).stdout
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    e2e.check(".debug" not in sections, "debug sections or link:\n" + sections)
    strings = {}
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    e2e.check(strings.get("ProductName") == "Tavisk", "strings %r" % strings)
    e2e.check(strings.get("FileDescription") == "Tavisk study tutor", "strings %r" % strings)
    e2e.check(strings.get("ProductVersion") == version() and strings.get("FileVersion") == version(),
              "strings %r" % strings)
    e2e.check(strings.get("LegalCopyright", "").startswith("Copyright"), "strings %r" % strings)
    fixed = pe.VS_FIXEDFILEINFO[0]
    major, minor, patch = (int(n) for n in version().split("."))
    e2e.check((fixed.FileVersionMS, fixed.FileVersionLS) == ((major << 16) | minor, patch << 16),
              "fixed file version %x.%x" % (fixed.FileVersionMS, fixed.FileVersionLS))
    e2e.check(pe.FILE_HEADER.TimeDateStamp == 0, "the PE header carries a time stamp")

    kinds = {entry.id: entry for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries}
    e2e.check(pefile.RESOURCE_TYPE["RT_MANIFEST"] in kinds, "no manifest")
    group = kinds[pefile.RESOURCE_TYPE["RT_GROUP_ICON"]].directory.entries[0].directory.entries[0].data.struct
    data = pe.get_data(group.OffsetToData, group.Size)
    count = int.from_bytes(data[4:6], "little")
    sizes = {data[6 + 14 * i] or 256 for i in range(count)}
    e2e.check(sizes == ICON_SIZES, "icon sizes %r" % sorted(sizes))
    icons = kinds[pefile.RESOURCE_TYPE["RT_ICON"]].directory.entries
    e2e.check(len(icons) == len(ICON_SIZES), "%d icon images" % len(icons))


if __name__ == "__main__":
    e2e.run([test_archive_is_reproducible_and_the_unpacked_program_runs,
             test_resources_hold_version_information_and_every_icon_size])
