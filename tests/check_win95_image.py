#!/usr/bin/env python3
"""The Windows 95 MANAGER.EXE loads on a stock Windows 95 (4.00.950): a GUI
program for system version 4.0 that imports only from the system DLLs that
Windows 95 installs, and from each only what it exports, as listed in
docs/win95/<dll>.txt. A line there is a name, then "stub" when Windows 95
exports it but the call only fails, or "?" when we are not sure of it, then
after "#" why importing it is harmless. A stub or an unsure entry is
refused unless its line says why."""
import pathlib
import struct
import sys

exe = pathlib.Path(sys.argv[1]).read_bytes()
lists = pathlib.Path(sys.argv[2])


# No C runtime DLL: a stock Windows 95 installs none that the Manager could rely on.
INSTALLED = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL", "SHELL32.DLL", "COMCTL32.DLL"}


def exports(dll):
    """name -> None for a sound export, else the fault of importing it."""
    path = lists / (dll.lower().removesuffix(".dll") + ".txt")
    if not path.exists():
        return None
    entries = {}
    for line in path.read_text().splitlines():
        entry, _, reason = line.partition("#")
        words = entry.split()
        if not words:
            continue
        name, marks = words[0], words[1:]
        if any(mark not in ("stub", "?") for mark in marks):
            raise SystemExit(f"{path.name}: unknown mark in {line!r}")
        fault = None
        if marks and not reason.strip():
            fault = "a stub on Windows 95 (the call only fails)" if "stub" in marks else "not known to be exported by Windows 95"
        entries[name] = fault
    return entries


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
    if dll.upper() not in INSTALLED:
        faults.append(f"{dll}: not a DLL that Windows 95 installs")
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
        elif allowed[function]:
            faults.append(f"{dll}!{function}: {allowed[function]}, and its line says not why that is harmless")
        thunk += 4
    descriptor += 20

for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
