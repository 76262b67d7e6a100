#!/usr/bin/env python3
"""Writes the seed corpus of the MIDI file fuzzer: small valid files that
reach every kind of chunk and event the reader knows."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "seeds", "midi_file")
os.makedirs(out, exist_ok=True)


def header(fmt, tracks, division):
    return b"MThd" + struct.pack(">IHHH", 6, fmt, tracks, division)


def track(body, end=True):
    if end:
        body += b"\x00\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + body


def tempo(delta, micros):
    return bytes([delta, 0xFF, 0x51, 0x03]) + micros.to_bytes(3, "big")


seeds = {
    "format0-notes.mid": header(0, 1, 480) + track(b"\x00\x90\x3c\x64\x83\x60\x3c\x00\x00\x80\x40\x10"),
    "format1-tempo-map.mid": header(1, 2, 480) + track(tempo(0, 500000) + tempo(0x7F, 250000))
    + track(b"\x00\xb9\x07\x00\x7f\x07\x40\x83\x60\x07\x7f"),
    "meta-sysex-program.mid": header(0, 1, 96) + track(
        b"\x00\xff\x03\x02hi\x00\xf0\x03\x7e\x01\xf7\x00\xc2\x11\x00\xd2\x40\x00\xe2\x00\x40\x00\xf7\x01\x55"),
    "smpte.mid": header(0, 1, 0xE728) + track(tempo(0, 100000) + b"\x83\x74\x90\x40\x40"),
    "foreign-chunk.mid": header(0, 1, 96) + b"XFIH\x00\x00\x00\x03abc" + track(b"\x60\xb0\x01\x10", end=False),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
