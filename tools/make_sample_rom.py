#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes samples/quillon-sample.bin: a small Mega Drive ROM made by this project alone.

The program does nothing but pass the console's security check and wait, which is enough for
an emulator to boot it and for Quillon to show a header and a matching checksum.
"""
import os
import struct
import sys

SIZE = 64 * 1024
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "samples", "quillon-sample.bin")

ENTRY = 0x200
IDLE = ENTRY + 0x40  # every exception handler: rte

# move.b ($A10001).l,d0 / andi.b #$0F,d0 / beq.s +10 / move.l #'SEGA',($A14000).l / bra.s *
PROGRAM = bytes.fromhex("103900A10001" "0200000F" "670A" "23FC53454741" "00A14000" "60FE")
RTE = bytes.fromhex("4E73")


def text(value, length):
    data = value.encode("ascii")
    assert len(data) <= length
    return data.ljust(length, b" ")


def main():
    rom = bytearray(SIZE)
    struct.pack_into(">II", rom, 0, 0x00FFFE00, ENTRY)  # stack pointer, entry point
    for vector in range(2, 64):
        struct.pack_into(">I", rom, vector * 4, IDLE)

    header = [
        (0x100, text("SEGA MEGA DRIVE", 16)),
        (0x110, text("(C)QUIL 2026.DEC", 16)),
        (0x120, text("QUILLON SAMPLE ROM", 48)),
        (0x150, text("QUILLON SAMPLE ROM", 48)),
        (0x180, text("GM 00000000-00", 14)),
        (0x190, text("J", 16)),
        (0x1A0, struct.pack(">IIII", 0, SIZE - 1, 0x00FF0000, 0x00FFFFFF)),
        (0x1B0, text("", 12)),
        (0x1BC, text("", 12)),
        (0x1C8, text("MADE BY THE QUILLON PROJECT", 40)),
        (0x1F0, text("JUE", 16)),
    ]
    for offset, data in header:
        rom[offset:offset + len(data)] = data

    rom[ENTRY:ENTRY + len(PROGRAM)] = PROGRAM
    rom[IDLE:IDLE + len(RTE)] = RTE
    # Content of its own past the code, so the checksum has something to add up.
    for offset in range(0x400, SIZE):
        rom[offset] = (offset * 7 + (offset >> 8)) & 0xFF

    checksum = sum(struct.unpack_from(">%dH" % ((SIZE - 0x200) // 2), rom, 0x200)) & 0xFFFF
    struct.pack_into(">H", rom, 0x18E, checksum)

    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, "wb") as f:
        f.write(rom)
    print("%s: %d bytes, checksum %04X" % (os.path.normpath(OUT), SIZE, checksum))
    return 0


if __name__ == "__main__":
    sys.exit(main())
