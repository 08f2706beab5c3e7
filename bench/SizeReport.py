#!/usr/bin/env python3
# SizeReport.py: the exe's whole size and its size without the resource section (.rsrc).
# Usage: SizeReport.py EXE [GOAL_BYTES]
# Reads the PE section table itself: the resource section's raw size (its bytes in the
# file) is taken off the file size, so the figure is what code, data and headers cost.
import os
import struct
import sys


def rsrc_raw_size(data):
    if data[:2] != b"MZ":
        raise ValueError("not an MZ executable")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    table = pe + 24 + optional_size
    total = 0
    for i in range(sections):
        entry = table + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0")
        raw_size = struct.unpack_from("<I", data, entry + 16)[0]
        if name == b".rsrc":
            total += raw_size
    return total


def main():
    if len(sys.argv) not in (2, 3):
        print("usage: SizeReport.py EXE [GOAL_BYTES]", file=sys.stderr)
        return 2
    path = sys.argv[1]
    goal = int(sys.argv[2]) if len(sys.argv) == 3 else 48 * 1024
    with open(path, "rb") as exe:
        data = exe.read()
    size = os.path.getsize(path)
    without = size - rsrc_raw_size(data)
    print(f"size exe={os.path.basename(path)} rsrc_bytes={size - without}"
          f" within_goal={'yes' if without <= goal else 'no'}")
    print(f"exe_bytes={size} exe_without_resources_bytes={without} goal_bytes={goal}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
