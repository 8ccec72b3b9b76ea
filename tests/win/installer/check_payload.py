#!/usr/bin/env python3
"""The setup program's payload: each shipped program is the build's own,
stripped of its debug information, names its symbol file in a .gnu_debuglink
whose checksum matches that file, and the symbol file turns an address of
the shipped code back into the function and source line it came from.

usage: check_payload.py BUILD_DIR --binutils-prefix PREFIX
"""

import argparse
import pathlib
import subprocess
import sys
import tempfile
import zlib

PROGRAMS = {"norv.exe": "wWinMain", "nnote.exe": "wWinMain", "liveup.exe": "wWinMain"}


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, check=True).stdout


def sections(tool, path):
    names = []
    for line in run(tool + "objdump", "-h", str(path)).splitlines():
        fields = line.split()
        if len(fields) > 2 and fields[0].isdigit():
            names.append((fields[1], fields[3]))  # name, address
    return names


def debuglink(tool, path):
    with tempfile.TemporaryDirectory() as scratch:
        dump = pathlib.Path(scratch) / "link"
        run(tool + "objcopy", "--dump-section", ".gnu_debuglink={}".format(dump), str(path), str(dump) + ".exe")
        data = dump.read_bytes()
    name, _, rest = data.partition(b"\0")
    crc = int.from_bytes(data[-4:], "little")
    return name.decode(), crc


def symbol_address(tool, path, symbol):
    for line in run(tool + "nm", str(path)).splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[2] == symbol:
            return fields[0]
    return None


def check(build, tool, program, entry):
    faults = []
    built = build / program
    shipped = build / "payload" / program
    symbols = build / "symbols" / (program + ".debug")
    for path in (built, shipped, symbols):
        if not path.is_file():
            return ["{}: missing".format(path)]
    shipped_sections = sections(tool, shipped)
    if any(name.startswith(".debug") for name, _ in shipped_sections):
        faults.append("{}: still carries debug sections".format(shipped))
    code = [(n, a) for n, a in shipped_sections if not n.startswith(".gnu_debuglink")]
    if code != [(n, a) for n, a in sections(tool, built) if not n.startswith(".debug")]:
        faults.append("{}: its code sections differ from the build's {}".format(shipped, program))
    if not any(name == ".debug_info" for name, _ in sections(tool, symbols)):
        faults.append("{}: holds no .debug_info".format(symbols))
    name, crc = debuglink(tool, shipped)
    if name != symbols.name:
        faults.append("{}: names {} as its symbols, not {}".format(shipped, name, symbols.name))
    if crc != zlib.crc32(symbols.read_bytes()):
        faults.append("{}: the debuglink checksum does not match {}".format(shipped, symbols))
    address = symbol_address(tool, built, entry)
    if not address:
        faults.append("{}: no {} to look up".format(built, entry))
    else:
        found = run(tool + "addr2line", "-f", "-e", str(symbols), "0x" + address).splitlines()
        if not found or found[0] != entry or "??" in found[1]:
            faults.append("{}: address of {} resolves to {}".format(symbols, entry, found))
    if shipped.stat().st_size * 4 > built.stat().st_size:
        faults.append("{}: {} bytes, hardly smaller than the build's {}".format(
            shipped, shipped.stat().st_size, built.stat().st_size))
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", type=pathlib.Path)
    parser.add_argument("--binutils-prefix", required=True)
    args = parser.parse_args()
    faults = []
    for program, entry in PROGRAMS.items():
        faults += check(args.build, args.binutils_prefix, program, entry)
        shipped = args.build / "payload" / program
        if shipped.is_file():
            print("{}: {} bytes shipped, {} bytes built".format(
                program, shipped.stat().st_size, (args.build / program).stat().st_size))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
