#!/usr/bin/env python3
# PeHeaderCheck.py: the hardening that the PE headers of the exe and the DLLs record.
# Usage: PeHeaderCheck.py IMAGE...
# Each image must allow ASLR (DYNAMIC_BASE) with its base relocations kept, run with DEP
# (NX_COMPAT), be terminal-server aware, carry no time stamp (the file header's, and those
# of its export and resource directories, are 0) and have no section both writable and
# executable. Prints what it found per image; exits with 1 on any failure.
import struct
import sys

RELOCS_STRIPPED = 0x0001
DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100
TERMINAL_SERVER_AWARE = 0x8000
MEM_EXECUTE = 0x20000000
MEM_WRITE = 0x80000000
EXPORT_DIRECTORY = 0
RESOURCE_DIRECTORY = 2
BASE_RELOCATION_DIRECTORY = 5


def file_offset(sections, rva):
    for _, virtual_address, virtual_size, raw_offset, raw_size, _ in sections:
        if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
            return raw_offset + rva - virtual_address
    return None


def check(path):
    with open(path, "rb") as image:
        data = image.read()
    problems = []
    if data[:2] != b"MZ":
        return ["not an MZ image"]
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return ["no PE signature"]
    section_count, time_stamp, optional_size, characteristics = struct.unpack_from("<2xHI8xHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic not in (0x10B, 0x20B):
        return ["unknown optional header magic 0x%x" % magic]
    dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    directory_count = struct.unpack_from("<I", data, directories - 4)[0]

    def directory(index):
        if index >= directory_count:
            return 0, 0
        return struct.unpack_from("<II", data, directories + 8 * index)

    table = optional + optional_size
    sections = []
    for i in range(section_count):
        entry = table + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from("<IIII", data, entry + 8)
        flags = struct.unpack_from("<I", data, entry + 36)[0]
        sections.append((name, virtual_address, virtual_size, raw_offset, raw_size, flags))

    for flag, label in ((DYNAMIC_BASE, "DYNAMIC_BASE"), (NX_COMPAT, "NX_COMPAT"),
                        (TERMINAL_SERVER_AWARE, "TERMINAL_SERVER_AWARE")):
        if not dll_characteristics & flag:
            problems.append(label + " is not set")
    if characteristics & RELOCS_STRIPPED:
        problems.append("the relocations are stripped")
    if directory(BASE_RELOCATION_DIRECTORY)[1] == 0:
        problems.append("there are no base relocations")
    if time_stamp != 0:
        problems.append("the file header has the time stamp %d" % time_stamp)
    for index, label in ((EXPORT_DIRECTORY, "export"), (RESOURCE_DIRECTORY, "resource")):
        rva, size = directory(index)
        offset = file_offset(sections, rva) if size else None
        if offset is not None and struct.unpack_from("<I", data, offset + 4)[0] != 0:
            problems.append("the %s directory has a time stamp" % label)
    for name, _, _, _, _, flags in sections:
        if flags & MEM_WRITE and flags & MEM_EXECUTE:
            problems.append("section %s is both writable and executable" % name)
    return problems


def main():
    if len(sys.argv) < 2:
        print("usage: PeHeaderCheck.py IMAGE...", file=sys.stderr)
        return 2
    failed = False
    for path in sys.argv[1:]:
        problems = check(path)
        for problem in problems:
            print("FAIL %s: %s" % (path, problem))
        if not problems:
            print("ok %s" % path)
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
