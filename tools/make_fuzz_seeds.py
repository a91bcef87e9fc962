#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the fuzz targets' seeds into a folder, one subfolder a kind of input:

images/   small ROM images of each layout: plain (whole and cut short), a copier's interleaved
          image (also one without "SEGA", with and without the copier's marks), a byte-swapped
          one, a disc's first sector as a 2048-byte and a raw 2352-byte one, and the start of a
          ZIP archive and of a PNG picture, which are no ROM;
saves/    the same images as the save target takes them: their length in three bytes, the
          image, then the texts and choices of an edit;
options/  option values, a byte that picks the kind of value before each;
cues/     cue sheets of a Mega-CD image;
archives/ a ZIP archive of two images and a gzip file of one, a byte before each that picks the
          format.

Everything is made here; no ROM or disc image comes from anywhere else.
"""
import base64
import gzip
import io
import os
import struct
import sys
import zipfile

BLOCK = 16 * 1024
COPIER_HEADER = 512


def text(value, length):
    return value.encode("latin-1").ljust(length, b" ")


def header(console="SEGA MEGA DRIVE "):
    """The 256 bytes from 0x100 of a cartridge header."""
    fields = [
        text(console, 16), text("(C)QUIL 2026.DEC", 16),
        text("FUZZ SEED", 48), text("FUZZ SEED", 48),
        text("GM 00000000-00", 14), b"\x00\x00", text("J6", 16),
        struct.pack(">IIII", 0, 0, 0xFF0000, 0xFFFFFF),
        b"RA\xF8\x20" + struct.pack(">II", 0x200001, 0x203FFF),
        text("", 12), text("", 40), text("JUE", 16),
    ]
    data = b"".join(fields)
    assert len(data) == 0x100
    return data


def with_checksum(rom):
    rom = bytearray(rom)
    total = 0
    for i in range(0x200, len(rom) - 1, 2):
        total += rom[i] << 8 | rom[i + 1]
    struct.pack_into(">H", rom, 0x18E, total & 0xFFFF)
    return bytes(rom)


def plain(size):
    rom = bytearray(size)
    struct.pack_into(">II", rom, 0, 0x00FFFE00, 0x200)
    rom[0x100:0x200] = header()
    for i in range(0x200, size):
        rom[i] = (i * 7) & 0xFF
    return with_checksum(rom)


def interleaved(rom, marks=True):
    """A copier's image: its own header, then each block's odd bytes before its even ones; a
    last piece of a block is left as it is."""
    copier = bytearray(COPIER_HEADER)
    copier[0], copier[1] = len(rom) // BLOCK, 3
    if marks:
        copier[8], copier[9], copier[10] = 0xAA, 0xBB, 6
    image = bytearray(copier)
    whole = len(rom) - len(rom) % BLOCK
    for start in range(0, whole, BLOCK):
        block = rom[start:start + BLOCK]
        image += block[1::2] + block[0::2]
    return bytes(image + rom[whole:])


def byte_swapped(rom):
    swapped = bytearray(rom)
    swapped[0::2], swapped[1::2] = rom[1::2], rom[0::2]
    return bytes(swapped)


def disc_sector():
    """A Mega-CD system area's first 2048 bytes."""
    sector = bytearray(2048)
    sector[0:16] = b"SEGADISCSYSTEM  "
    sector[0x10:0x20] = text("FUZZSEED", 16)
    sector[0x100:0x200] = header("SEGA MEGA-CD    ")
    return bytes(sector)


def raw_sector(user_data):
    """A mode 1 sector as a raw image holds it: sync, address, mode, data; parities left zero."""
    sync = b"\x00" + b"\xFF" * 10 + b"\x00"
    return sync + b"\x00\x02\x00\x01" + user_data + bytes(288)


def images():
    rom = plain(BLOCK * 2)
    # Without "SEGA" only the size (an odd number of 512-byte units) tells an interleaved image,
    # or the copier's marks; a last 1 KiB lies past the last whole block.
    nameless = bytearray(plain(BLOCK + 1024))
    nameless[0x100:0x110] = text("GENESIS", 16)
    return {
        "plain.bin": plain(0x400),
        "plain-64k.bin": plain(0x10000),
        "short.bin": plain(0x400)[:0x190],
        "empty.bin": b"",
        "interleaved.smd": interleaved(rom),
        "interleaved-nameless.smd": interleaved(nameless, marks=False),
        "interleaved-nameless-marks.smd": interleaved(nameless),
        "byte-swapped.bin": byte_swapped(plain(0x400)),
        "disc.iso": disc_sector(),
        "disc-raw.bin": raw_sector(disc_sector()),
        # Without "SEGA" at 0x100, which would make either a cartridge.
        "archive.zip": b"PK\x03\x04\x14\x00\x00\x00\x08\x00" + bytes(range(256)) * 4,
        "picture.png": b"\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR" + bytes(0x200),
    }


def save_input(image, texts, checksum):
    """The image's length in three bytes, low first, then the texts and a checksum as the
    save target reads them (each ended by a backslash and one more byte)."""
    edit = b"".join(t.encode("latin-1") + b"\\;" for t in [checksum] + texts)
    return struct.pack("<I", len(image))[:3] + image + edit + b"\x01\xFF\x00\x01"


OPTIONS = [
    (0, "SEGA MEGA DRIVE"), (5, "(C)QUIL 2026.DEC"), (10, "Überschall ÄÖÜ"), (20, "JUE"),
    (1, "0x00FF0000"), (1, "FFFFFFFF"), (1, " 200001 "),
    (2, "none"), (2, "sram-odd:200001-203FFF"), (2, "sram-even:200000-203FFE"),
    (2, "sram-word:200000-20FFFF"), (2, "eeprom:200001-200001"),
    (3, "8F1C"), (3, " 0001 "), (3, "000000FFFF"),
    (4, "pow2"), (4, "512K"), (4, "4M"), (4, "131072"),
]

CUES = {
    "cooked.cue": 'FILE "game.iso" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n',
    "raw.cue": ('FILE "Game (Track 1).bin" BINARY\r\n  TRACK 01 MODE1/2352\r\n'
                '    INDEX 01 00:00:00\r\nFILE "Game (Track 2).bin" BINARY\r\n'
                '  TRACK 02 AUDIO\r\n    INDEX 00 00:00:00\r\n    INDEX 01 00:02:00\r\n'),
    "pregap.cue": ('\ufeffREM GENRE Game\nfile game.bin motorola\ntrack 01 mode2/2352\n'
                   'pregap 00:02:00\nindex 00 00:00:00\nindex 01 01:02:03\n'),
    "audio-first.cue": 'FILE "a.wav" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n',
}


def archives(images):
    names = sorted(images)[:2]
    packed = io.BytesIO()
    with zipfile.ZipFile(packed, "w", zipfile.ZIP_DEFLATED) as out:
        for name in names:
            info = zipfile.ZipInfo(name + ".bin", date_time=(1980, 1, 1, 0, 0, 0))
            out.writestr(info, images[name], zipfile.ZIP_DEFLATED)
    return {"zip": b"\0" + packed.getvalue(),
            "gz": b"\1" + gzip.compress(images[names[0]], mtime=0)}


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_fuzz_seeds.py FOLDER")
    out = sys.argv[1]
    seeds = {"images": images(), "options": {}, "cues": {}, "saves": {}}
    for name, image in seeds["images"].items():
        seeds["saves"][name] = save_input(image, ["SEGA GENESIS", "(C)FUZZ", "NEW NAME", "",
                                                  "GM 12345678-01", "U"], "1234")
    # An edit whose only patch has no bytes, into an empty file: once failed the whole save.
    seeds["saves"]["empty-patch"] = b"\0\0\0" + b"10  " + bytes(7)
    # A 10-byte file grown with 0xFF and written at two places apart: once wrote zeros over
    # the padding between them.
    seeds["saves"]["grown-gap"] = base64.b64decode(
        "CgAAMNoAAABGAACk//////////////8AAAAA//8AAP8AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
        "AAAAAAAAAAAAAPYEEiAuPEpYfGZ0gpCerLrI1uTyAA4cKjhGVGJwfoyaqLbE0uDu/AoYJjRCUF5seojc6s6W"
        "pMCy+AYUIjA+TFpodgAAAAAAAAAAAAAAAAD//////v//dDl0eXBlX2luZm8AAAAAAABV///+///AAA==")
    for i, (pick, value) in enumerate(OPTIONS):
        seeds["options"][f"option-{i:02}"] = bytes([pick]) + value.encode("utf-8")
    for name, sheet in CUES.items():
        seeds["cues"][name] = sheet.encode("utf-8")
    seeds["archives"] = archives(seeds["images"])
    for kind, files in seeds.items():
        os.makedirs(os.path.join(out, kind), exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(out, kind, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
