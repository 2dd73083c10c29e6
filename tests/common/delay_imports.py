#!/usr/bin/env python3
# Prints a PE file's delay-loaded imports, one "dll function slot" a line (the DLL in lower case).
# slot tells what the function's address slot holds before the first call: "stub" for the address
# of code in the program (the load stub, which loads the DLL and fills the slot), else "empty" or
# "outside" (a first call would jump there).
# GNU ld leaves the delay-import entry of the data directory empty, so the descriptors are found by
# their contents: 32-byte records with RVA attributes (1) whose DLL name is a DLL's file name and
# whose name table lists imports by name or ordinal, ending with a zero entry.
import re
import struct
import sys

data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
step = 8 if struct.unpack_from("<H", data, pe + 24)[0] == 0x20B else 4
table = pe + 24 + optional_size
base = int.from_bytes(data[pe + 52 - 4 * (step == 8):pe + 56], "little")
headers = [struct.unpack_from("<12xIII16xI", data, table + 40 * i) for i in range(sections)]
spans = [header[:3] for header in headers]
code = [(va, size) for va, size, raw, flags in headers if flags & 0x20000000]  # executable


def offset(rva):
    for va, size, raw in spans:
        if rva and va <= rva < va + size:
            return raw + rva - va
    return None


def text(rva, pattern):
    at = offset(rva)
    end = data.find(b"\0", at) if at is not None else -1
    name = data[at:end].decode("latin-1") if end > 0 else ""
    return name if re.fullmatch(pattern, name) else None


def slot(at):
    value = int.from_bytes(data[at:at + step], "little")
    if value == 0:
        return "empty"
    return "stub" if any(va <= value - base < va + size for va, size in code) else "outside"


def names(rva):
    at, found = offset(rva), []
    while at is not None and at + step <= len(data):
        value = int.from_bytes(data[at:at + step], "little")
        if value == 0:
            return found
        ordinal = value >> (step * 8 - 1)
        found.append("#%d" % (value & 0xFFFF) if ordinal else text(value + 2, r"[A-Za-z_][\w@?$]*"))
        if found[-1] is None:
            return None
        at += step
    return None


for va, size, raw in spans:
    for at in range(raw, raw + size - 31, 4):
        attrs, name, module, iat, int_ = struct.unpack_from("<5I", data, at)
        dll = text(name, r"[\w.-]+\.[Dd][Ll][Ll]") if attrs == 1 else None
        listed = (names(int_) if dll and offset(module) and offset(iat) else None) or []
        for i, function in enumerate(listed):
            print(dll.lower(), function, slot(offset(iat) + i * step))
