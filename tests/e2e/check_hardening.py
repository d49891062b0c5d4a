#!/usr/bin/env python3
"""Reads a PE executable's headers and fails unless it is hardened: ASLR with
high-entropy addresses and relocations to move it, DEP, no section both writable and
executable, and the DLL search path restricted at start-up."""
import struct
import sys

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT = 0x0040, 0x0020, 0x0100
SCN_MEM_EXECUTE, SCN_MEM_WRITE = 0x20000000, 0x80000000
RELOCS_STRIPPED = 0x0001
BASE_RELOCATION_DIRECTORY = 5


def main(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return [f"{path}: not a PE file"]
    machine, sections, _, _, _, optional_size, characteristics = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic != 0x20B:
        return ["not a 64-bit (PE32+) image"]
    dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
    directories = optional + 112
    reloc_rva, reloc_size = struct.unpack_from("<II", data, directories + 8 * BASE_RELOCATION_DIRECTORY)

    problems = []
    for flag, name in ((DYNAMIC_BASE, "ASLR (DYNAMIC_BASE)"), (HIGH_ENTROPY_VA, "HIGH_ENTROPY_VA"),
                       (NX_COMPAT, "DEP (NX_COMPAT)")):
        if not dll_characteristics & flag:
            problems.append(f"missing {name}")
    if characteristics & RELOCS_STRIPPED or reloc_size == 0:
        problems.append("no base relocations: the loader cannot move the image")
    table = optional + optional_size
    for i in range(sections):
        name, _, _, _, _, _, _, _, _, flags = struct.unpack_from("<8sIIIIIIHHI", data, table + 40 * i)
        if flags & SCN_MEM_WRITE and flags & SCN_MEM_EXECUTE:
            problems.append("section %s is writable and executable" % name.rstrip(b"\0").decode())
    if b"SetDefaultDllDirectories" not in data:
        problems.append("does not restrict the DLL search path (SetDefaultDllDirectories)")
    print(f"DllCharacteristics 0x{dll_characteristics:04X}, {sections} sections, relocations {reloc_size} bytes")
    return problems


if __name__ == "__main__":
    found = main(sys.argv[1])
    for problem in found:
        print("FAILED:", problem)
    sys.exit(1 if found else 0)
