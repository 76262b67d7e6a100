#!/usr/bin/env python3
"""Writes the chunk fuzzer's seed corpus into fuzz/seeds/chunk/.

Each seed is one mode byte (bit 0: answer Yes to the name question, bit 1: read
the rest as a factory bank file) followed by the data."""
import os
import struct

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
out = os.path.join(root, "fuzz", "seeds", "chunk")
bank_file = open(os.path.join(root, "resources", "FactoryBank.fxb"), "rb").read()
bank = bank_file[160:]

HEADER = struct.pack("<IhH", 0x288C3D75, 5, 0)


def name(text):
    return b"\x04" + text.encode().ljust(31, b"\0")[:31]


def param(index, step):
    return struct.pack("<BBH", 0, index, step)


def mapping(index, key):
    return struct.pack("<BBh", 1, index, key)


def program(index, text):
    return struct.pack("<BB", 2, index) + text.encode().ljust(24, b"\0")[:24]


def current(index):
    return struct.pack("<BB", 3, index)


preset = HEADER + name("Tallow Reed") + b"".join(param(i, 7000 * i) for i in range(9))
seeds = {
    "bank": b"\0" + bank,
    "bank_file": b"\2" + bank_file,
    "bank_file_truncated": b"\2" + bank_file[:700],
    "preset_with_mappings": b"\0" + preset + mapping(2, -20473) + mapping(8, -20406),
    "foreign_yes": b"\1" + HEADER + name("Another Effect") + param(0, 64000) + program(3, "Three") + current(3),
    "foreign_no": b"\0" + HEADER + name("Another Effect") + param(0, 64000),
    "out_of_range": b"\0" + HEADER + param(9, 1) + mapping(200, 5) + program(16, "x") + current(255),
    "steps_beyond_grid": b"\0" + HEADER + param(0, 65535) + param(1, 64001) + param(2, 63999),
    "cut_in_program": b"\0" + HEADER + program(1, "One")[:10],
    "unknown_type": b"\0" + HEADER + b"\x07\x00\x00\x00",
    "later_version": b"\0" + struct.pack("<IhH", 0x288C3D75, 6, 0) + param(0, 1),
    "older_version": b"\0" + struct.pack("<IhH", 0x288C3D75, -1, 0) + param(0, 1),
    "no_header": b"\0" + HEADER[:7],
    "program_kind_file": b"\2" + bank_file[:8] + b"FPCh" + bank_file[12:],
}
os.makedirs(out, exist_ok=True)
for seed, data in sorted(seeds.items()):
    with open(os.path.join(out, seed), "wb") as f:
        f.write(data)
print(f"{len(seeds)} seeds in {out}")
