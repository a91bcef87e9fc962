#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times quillon-cli over collections it makes up, beside the plain reads of the same bytes.

  check of a ZIP of 200 ROMs of 256 KiB   against  unzip -p of it to /dev/null
  lint -r over 2,000 ROMs of 256 KiB in 20 folders  against  cat of the same files

Each command runs RUNS times, the two of a pair taking turns, its output to /dev/null, the files
in the page cache (each runs once before the timing starts); the medians are printed. With
--halves it also times two quillon-cli processes at once, each on half of the folders: what
two threads could at best bring on this machine.

Usage: bench/collection_speed.py [--cli build/cli/quillon-cli] [--runs 11] [--halves]
"""
import argparse
import array
import os
import random
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

ROM_SIZE = 256 * 1024


def make_rom(seed):
    """A ROM that deflates about as real ones do (code-like random bytes, repeated tables and
    patterns, a fill of FF at the end) under a header as a finished game has it, checksum
    included, so that lint finds as little as it does in a kept collection."""
    rng = random.Random(seed)
    rom = bytearray()
    while len(rom) < ROM_SIZE * 5 // 8:
        kind = rng.random()
        if kind < 0.45:
            rom += rng.randbytes(rng.randint(64, 2048))
        elif kind < 0.8:
            piece = rng.randbytes(rng.randint(4, 64))
            rom += piece * rng.randint(4, 64)
        else:
            rom += bytes([rng.randint(0, 255)]) * rng.randint(16, 512)
    rom = rom[: ROM_SIZE * 5 // 8]
    rom += b"\xff" * (ROM_SIZE - len(rom))
    name = f"BENCH GAME {seed:05}".ljust(48).encode()
    rom[0x100:0x200] = (b"SEGA MEGA DRIVE (C)SEGA 1991.JAN" + name + name + b"GM 00001009-00"
                        + b"\0\0" + b"J".ljust(16) + struct.pack(">IIII", 0, ROM_SIZE - 1,
                                                                  0xFF0000, 0xFFFFFF)
                        + b" " * 64 + b"JUE" + b" " * 13)
    words = array.array("H", rom[0x200:])
    if sys.byteorder == "little":
        words.byteswap()
    rom[0x18E:0x190] = struct.pack(">H", sum(words) & 0xFFFF)
    return bytes(rom)


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start


def timed_together(commands):
    start = time.perf_counter()
    running = [subprocess.Popen(c, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
               for c in commands]
    for process in running:
        process.wait()
    return time.perf_counter() - start


def race(runs, rows):
    """Runs each row's command in turn, runs times; returns each row's median in seconds."""
    times = {name: [] for name, _ in rows}
    for name, run in rows:
        run()  # into the page cache
    for _ in range(runs):
        for name, run in rows:
            times[name].append(run())
    return {name: statistics.median(values) for name, values in times.items()}


def report(title, medians, against):
    print(title)
    for name, median in medians.items():
        ratio = median / medians[against]
        print(f"  {name:<44} {median * 1000:8.1f} ms  {ratio:5.2f}x")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/cli/quillon-cli")
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--halves", action="store_true")
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)

    with tempfile.TemporaryDirectory() as folder:
        archive = os.path.join(folder, "roms.zip")
        with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
            for i in range(200):
                out.writestr(f"game{i:03}.bin", make_rom(i))
        print(f"roms.zip: 200 ROMs of 256 KiB, {os.path.getsize(archive) // 1024} KiB deflated")
        medians = race(args.runs, [
            ("unzip -p roms.zip > /dev/null", lambda: timed(["unzip", "-p", archive])),
            ("quillon-cli check roms.zip", lambda: timed([cli, "check", archive])),
        ])
        report("ZIP of 200 ROMs", medians, "unzip -p roms.zip > /dev/null")

        collection = os.path.join(folder, "collection")
        files = []
        folders = []
        for f in range(20):
            sub = os.path.join(collection, f"folder{f:02}")
            os.makedirs(sub)
            folders.append(sub)
            for i in range(100):
                path = os.path.join(sub, f"game{i:03}.bin")
                with open(path, "wb") as out:
                    out.write(make_rom(f * 100 + i))
                files.append(path)
        rows = [
            ("cat (2,000 files) > /dev/null", lambda: timed(["cat", *files])),
            ("quillon-cli lint -r collection", lambda: timed([cli, "lint", "-r", collection])),
        ]
        if args.halves:
            rows.append(("two quillon-cli lint -r, 10 folders each", lambda: timed_together(
                [[cli, "lint", "-r", *folders[:10]], [cli, "lint", "-r", *folders[10:]]])))
        medians = race(args.runs, rows)
        report("2,000 ROMs of 256 KiB in 20 folders", medians, "cat (2,000 files) > /dev/null")


if __name__ == "__main__":
    main()
