#!/usr/bin/env python3
"""Crash dumps under Wine: the development program crashes on purpose at start-up (VYK_DEV_CRASH:
an access violation, or an exception through a noexcept function), writes a minidump under
%LOCALAPPDATA%\\Tavisk\\crashes with one line naming it, keeps the newest five dumps there, and ends
as a crash ends. The shipped program never reads the variable."""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panel", "tests"))
import e2e_support as e2e  # noqa: E402

CRASHED = re.compile(r"^\[vyk\] Crashed \((.+)\); crash dump written to (.+\.dmp)$")
THREAD_LIST, MODULE_LIST, EXCEPTION = 3, 4, 6
ACCESS_VIOLATION = 0xC0000005
# After the dump the crash goes on as before: to the system's handling of an unhandled exception
# (under Wine, its debugger; the exit code of a process that ever had a second thread is then 0
# there), or to the runtime's terminate handler, which aborts (exit code 3).
UNHANDLED = "Unhandled page fault on write access to 0000000000000000"
TERMINATED = "terminate called after throwing an instance of 'std::runtime_error'"
EXIT_ABORT = 3


def run(exe_name, kind):
    """Runs a copy of a built program with VYK_DEV_CRASH set to `kind`, to its end."""
    folder = tempfile.mkdtemp(prefix="vyk-crash-")
    try:
        exe = os.path.join(folder, exe_name)
        shutil.copy2(os.path.join(e2e.BUILD_DIR, exe_name), exe)
        return subprocess.run([e2e.WINE_EXEC, exe], cwd=folder, env=dict(os.environ, VYK_DEV_CRASH=kind),
                              capture_output=True, text=True, timeout=300, stdin=subprocess.DEVNULL)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def crash(kind):
    """Runs vyk-dev.exe until it crashes: its exit code, its standard error, the crash line's cause
    and the dump's path."""
    result = run("vyk-dev.exe", kind)
    found = [m for m in map(CRASHED.match, result.stdout.splitlines()) if m]
    e2e.check(len(found) == 1, "crash lines in %r" % result.stdout)
    unix = subprocess.run([e2e.WINE_EXEC, "winepath", "-u", found[0].group(2)], capture_output=True,
                          text=True, timeout=300, stdin=subprocess.DEVNULL).stdout.strip()
    return result.returncode, result.stderr, found[0].group(1), unix


def streams(dump):
    """The stream directory of a minidump, {type: (offset, size)}, after checking its header."""
    e2e.check(dump[:4] == b"MDMP", "no MDMP signature")
    version, count, directory = struct.unpack_from("<III", dump, 4)
    e2e.check(version & 0xFFFF == 0xA793, "minidump version 0x%08X" % version)
    e2e.check(0 < count < 64 and directory + 12 * count <= len(dump), "stream directory out of the file")
    found = {}
    for i in range(count):
        kind, size, offset = struct.unpack_from("<III", dump, directory + 12 * i)
        e2e.check(offset + size <= len(dump), "stream %d out of the file" % kind)
        found[kind] = (offset, size)
    return found


def check_dump(path, exception_code):
    with open(path, "rb") as f:
        dump = f.read()
    found = streams(dump)
    e2e.check(THREAD_LIST in found and MODULE_LIST in found, "streams %r" % sorted(found))
    offset, _ = found[THREAD_LIST]
    (threads,) = struct.unpack_from("<I", dump, offset)
    thread_ids = set()
    for i in range(threads):
        thread = offset + 4 + 48 * i  # MINIDUMP_THREAD
        thread_ids.add(struct.unpack_from("<I", dump, thread)[0])
        _, stack_size, stack_rva, context_size, context_rva = struct.unpack_from("<QIIII", dump, thread + 24)
        e2e.check(stack_rva + stack_size <= len(dump) and context_rva + context_size <= len(dump),
                  "thread %d's stack or context out of the file" % i)
    e2e.check(threads >= 1, "no threads")
    offset, _ = found[MODULE_LIST]
    (modules,) = struct.unpack_from("<I", dump, offset)
    names = []
    for i in range(modules):
        (name_rva,) = struct.unpack_from("<I", dump, offset + 4 + 108 * i + 20)  # MINIDUMP_MODULE
        (length,) = struct.unpack_from("<I", dump, name_rva)
        names.append(dump[name_rva + 4:name_rva + 4 + length].decode("utf-16-le"))
    e2e.check(any(name.lower().endswith("\\vyk-dev.exe") for name in names), "modules %r" % names)
    if exception_code is not None:
        e2e.check(EXCEPTION in found, "no exception stream")
        thread_id, _, code = struct.unpack_from("<III", dump, found[EXCEPTION][0])
        e2e.check(code == exception_code, "exception 0x%08X" % code)
        e2e.check(thread_id in thread_ids, "the crashing thread is not in the thread list")


def test_an_access_violation_and_a_failed_noexcept_write_dumps_and_keep_five():
    code, errors, cause, path = crash("access")
    e2e.check(UNHANDLED in errors, "the system did not see the crash: %r" % errors[-2000:])
    e2e.check(cause == "exception 0xC0000005", "cause %r" % cause)
    check_dump(path, ACCESS_VIOLATION)
    print("dump:", path, os.path.getsize(path), "bytes", flush=True)

    # The folder holds the dump just checked, whatever earlier runs left, and six older ones.
    folder = os.path.dirname(path)
    old = ["vyk-2001010%d-000000-%d.dmp" % (day, day) for day in range(1, 7)]
    for name in old:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"MDMP")
    with open(os.path.join(folder, "notes.txt"), "w") as f:
        f.write("not a dump")
    for name in os.listdir(folder):
        if name.endswith(".dmp") and name not in old:
            os.remove(os.path.join(folder, name))
    try:
        code, errors, cause, path = crash("noexcept")
        e2e.check(code == EXIT_ABORT, "exit code %d after std::terminate" % code)
        e2e.check(TERMINATED in errors, "the runtime's terminate handler did not run: %r" % errors[-2000:])
        e2e.check(cause == "std::terminate", "cause %r" % cause)
        check_dump(path, None)
        kept = sorted(os.listdir(folder))
        e2e.check(kept == sorted(old[2:] + [os.path.basename(path), "notes.txt"]), "the folder holds %r" % kept)
    finally:
        for name in os.listdir(folder):
            if name.endswith(".dmp") or name == "notes.txt":
                os.remove(os.path.join(folder, name))


def test_the_shipped_program_never_crashes_on_purpose():
    # It refuses to run under Wine (no capture exclusion) and ends with 1, as it does without the variable.
    result = run("vyk.exe", "access")
    e2e.check(result.returncode == 1, "exit code %d" % result.returncode)
    e2e.check("[vyk] Crashed" not in result.stdout, "it crashed: %r" % result.stdout)


if __name__ == "__main__":
    e2e.run([test_an_access_violation_and_a_failed_noexcept_write_dumps_and_keep_five,
             test_the_shipped_program_never_crashes_on_purpose])
