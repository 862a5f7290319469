#!/usr/bin/env python3
"""The Windows 95 MANAGER.EXE loads on Windows 95: a GUI program for system
version 4.0 whose every import, by name, is one that Windows 95 (or the C
runtime it is given) exports, as listed in docs/win95/<dll>.txt."""
import pathlib
import struct
import sys

exe = pathlib.Path(sys.argv[1]).read_bytes()
lists = pathlib.Path(sys.argv[2])


def exports(dll):
    path = lists / (dll.lower().removesuffix(".dll") + ".txt")
    if not path.exists():
        return None
    return {line.split()[0] for line in path.read_text().splitlines() if line.strip() and not line.startswith("#")}


pe = struct.unpack_from("<I", exe, 0x3C)[0]
assert exe[pe:pe + 4] == b"PE\0\0", "not a PE image"
sections_count, optional_size = struct.unpack_from("<H12xH", exe, pe + 6)
opt = pe + 24
magic = struct.unpack_from("<H", exe, opt)[0]
assert magic == 0x10B, "not a 32-bit image"
os_version = struct.unpack_from("<HH", exe, opt + 40)
subsystem_version = struct.unpack_from("<HH", exe, opt + 48)
subsystem = struct.unpack_from("<H", exe, opt + 68)[0]
import_rva = struct.unpack_from("<I", exe, opt + 104)[0]
sections = [struct.unpack_from("<8xIIII", exe, opt + optional_size + 40 * i) for i in range(sections_count)]


def offset(rva):
    for size, address, raw_size, raw in sections:
        if address <= rva < address + max(size, raw_size):
            return raw + rva - address
    raise ValueError(f"RVA {rva:#x} outside every section")


def text(rva):
    start = offset(rva)
    return exe[start:exe.index(b"\0", start)].decode()


faults = []
if os_version != (4, 0):
    faults.append(f"operating-system version {os_version[0]}.{os_version[1]}, not 4.0")
if subsystem_version != (4, 0):
    faults.append(f"subsystem version {subsystem_version[0]}.{subsystem_version[1]}, not 4.0")
if subsystem != 2:
    faults.append(f"subsystem {subsystem}, not a Windows GUI program (2)")

descriptor = offset(import_rva)
while True:
    lookup, _, _, name_rva, first_thunk = struct.unpack_from("<IIIII", exe, descriptor)
    if name_rva == 0:
        break
    dll = text(name_rva)
    allowed = exports(dll)
    thunk = offset(lookup or first_thunk)
    while (entry := struct.unpack_from("<I", exe, thunk)[0]) != 0:
        if entry & 0x80000000:
            faults.append(f"{dll}: import by ordinal {entry & 0xFFFF}")
        elif allowed is None:
            faults.append(f"{dll}: no list of Windows 95 exports for this DLL")
            break
        elif (function := text(entry + 2)) not in allowed:
            faults.append(f"{dll}!{function} is not exported by Windows 95")
        thunk += 4
    descriptor += 20

for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
