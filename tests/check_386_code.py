#!/usr/bin/env python3
"""Every instruction of the Windows 95 MANAGER.EXE runs on a 386 (with its
387): the disassembly names no instruction that a later processor brought,
nor an MMX or SSE register. Usage: check_386_code.py OBJDUMP IMAGE"""
import re
import subprocess
import sys

# The processor that brought each family, for the message.
LATER = [
    (r"bswap|cmpxchg|xadd|invd|wbinvd|invlpg", "486"),
    (r"cmpxchg8b|rdtsc|rdmsr|wrmsr|rsm|cpuid", "Pentium"),
    (r"cmov\w+|fcmov\w+|f(u)?comip?|rdpmc|sysenter|sysexit|fxsave|fxrstor|ud2", "Pentium Pro"),
    (r"emms|femms|movd|movq|pand\w*|por|pxor|padd\w+|psub\w+|punpck\w+|pack\w+|pcmp\w+|psll\w|psrl\w|psra\w", "Pentium MMX"),
    (r"ldmxcsr|stmxcsr|sfence|lfence|mfence|prefetch\w*|movnt\w+|clflush|maskmovq|fisttp\w*|endbr32|"
     r"\w+ps|\w+pd|\w+ss|\w+sd|movdq\w|pshuf\w+|syscall|sysret|rdtscp|popcnt|lzcnt|tzcnt|movbe|crc32", "a later processor"),
]
PREFIXES = {"lock", "rep", "repz", "repe", "repnz", "repne", "data16", "addr16", "data32", "addr32",
            "cs", "ds", "es", "fs", "gs", "ss", "notrack", "bnd"}
# x87 mnemonics that end like SSE ones but are the 387's own.
X87 = re.compile(r"f\w+")
VECTOR_REGISTER = re.compile(r"%(x|y|z)?mm\d")

objdump, image = sys.argv[1], sys.argv[2]
listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", image], capture_output=True, text=True, check=True).stdout

faults = []
instructions = 0
for line in listing.splitlines():
    parts = line.split("\t")
    if len(parts) < 2 or not parts[0].strip().endswith(":"):
        continue
    address, text = parts[0].strip().rstrip(":"), parts[1].strip()
    words = text.split()
    while words and words[0] in PREFIXES:
        words = words[1:]
    if not words or words[0] == "(bad)":
        continue
    instructions += 1
    mnemonic, operands = words[0], " ".join(words[1:])
    why = None
    for pattern, processor in LATER:
        if re.fullmatch(pattern, mnemonic) and not (processor == "a later processor" and X87.fullmatch(mnemonic)):
            why = processor
    # Alignment filler in the form the Pentium Pro brought (0F 1F); the 386's is one byte or an lea.
    if mnemonic.startswith("nop") and operands:
        why = "Pentium Pro"
    if VECTOR_REGISTER.search(operands):
        why = "an MMX or SSE processor"
    if why:
        faults.append(f"{address}: {text} (first run by {why})")

if instructions == 0:
    faults.append("no instructions disassembled: not an image, or the wrong objdump")
for fault in faults:
    print(fault)
print(f"{instructions} instructions, {len(faults)} that a 386 lacks")
sys.exit(1 if faults else 0)
