#!/usr/bin/env python3
"""Writes the small PNG files that seed the PNG decoder's fuzz target.

Each file is valid and small (at most 24x24 pixels); together they cover
every colour type and bit depth, tRNS, interlacing, the five filter types,
stored, fixed and dynamic DEFLATE blocks, split IDAT data and ancillary
chunks. Usage: make_png_seeds.py OUTPUT_DIR
"""
import os
import random
import struct
import sys
import zlib

DEPTHS = {0: (1, 2, 4, 8, 16), 2: (8, 16), 3: (1, 2, 4, 8), 4: (8, 16), 6: (8, 16)}
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_row(kind, row, prev, stride):
    out = bytearray()
    for i, x in enumerate(row):
        a = row[i - stride] if i >= stride else 0
        b = prev[i]
        c = prev[i - stride] if i >= stride else 0
        pred = (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]
        out.append((x - pred) & 255)
    return bytes([kind]) + bytes(out)


def pack_row(samples, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    bits = "".join(format(s, "0%db" % depth) for s in samples)
    bits += "0" * (-len(bits) % 8)
    return bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))


def scanlines(rng, w, h, ctype, depth, interlace, filters):
    ch = CHANNELS[ctype]
    top = (1 << depth) - 1
    if ctype == 3:
        top = min(top, 15)
    pixels = [[[rng.randint(0, top) for _ in range(ch)] for _ in range(w)] for _ in range(h)]
    bpp = ch * depth
    stride = max(1, bpp // 8)
    passes = ADAM7 if interlace else ((0, 0, 1, 1),)
    raw = bytearray()
    n = 0
    for x0, y0, dx, dy in passes:
        xs, ys = range(x0, w, dx), range(y0, h, dy)
        if not xs or not ys:
            continue
        prev = bytes((len(xs) * bpp + 7) // 8)
        for y in ys:
            row = pack_row([s for x in xs for s in pixels[y][x]], depth)
            raw += filter_row(filters[n % len(filters)], row, prev, stride)
            prev = row
            n += 1
    return bytes(raw)


def compress(raw, mode):
    if mode == "stored":
        c = zlib.compressobj(0)
    elif mode == "fixed":
        c = zlib.compressobj(9, zlib.DEFLATED, 15, 9, zlib.Z_FIXED)
    else:
        c = zlib.compressobj(9)
    return c.compress(raw) + c.flush()


def png(rng, w, h, ctype, depth, interlace=0, filters=(0, 1, 2, 3, 4), mode="dynamic", split=0, trns=False,
        extras=()):
    out = bytes([137, 80, 78, 71, 13, 10, 26, 10])
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, ctype, 0, 0, interlace))
    for e in extras:
        out += e
    if ctype == 3:
        out += chunk(b"PLTE", bytes(rng.randint(0, 255) for _ in range(16 * 3)))
        if trns:
            out += chunk(b"tRNS", bytes(rng.randint(0, 255) for _ in range(10)))
    elif trns and ctype == 0:
        out += chunk(b"tRNS", struct.pack(">H", rng.randint(0, (1 << depth) - 1)))
    elif trns and ctype == 2:
        out += chunk(b"tRNS", struct.pack(">HHH", *(rng.randint(0, (1 << depth) - 1) for _ in range(3))))
    data = compress(scanlines(rng, w, h, ctype, depth, interlace, filters), mode)
    step = split or len(data)
    for i in range(0, len(data), step):
        out += chunk(b"IDAT", data[i:i + step])
    return out + chunk(b"IEND", b"")


def main():
    target = sys.argv[1]
    os.makedirs(target, exist_ok=True)
    rng = random.Random(6)
    files = {}
    for ctype, depths in DEPTHS.items():
        for depth in depths:
            files["c%dd%d.png" % (ctype, depth)] = png(rng, 13, 9, ctype, depth)
            files["c%dd%d-adam7.png" % (ctype, depth)] = png(rng, 11, 10, ctype, depth, interlace=1)
            if ctype in (0, 2, 3):
                files["c%dd%d-trns.png" % (ctype, depth)] = png(rng, 7, 7, ctype, depth, trns=True)
    for f in range(5):
        files["filter%d.png" % f] = png(rng, 16, 8, 6, 8, filters=(f,))
    files["stored.png"] = png(rng, 24, 24, 2, 8, mode="stored")
    files["fixed.png"] = png(rng, 24, 24, 2, 8, mode="fixed")
    files["split-idat.png"] = png(rng, 16, 16, 6, 8, split=7)
    files["ancillary.png"] = png(rng, 8, 8, 6, 8, extras=(
        chunk(b"gAMA", struct.pack(">I", 45455)),
        chunk(b"iCCP", b"profile\0\0" + zlib.compress(bytes(64))),
        chunk(b"tEXt", b"Comment\0seed"),
        chunk(b"prVt", b"unknown ancillary chunk")))
    files["one-pixel.png"] = png(rng, 1, 1, 0, 1)
    for name, data in sorted(files.items()):
        with open(os.path.join(target, name), "wb") as f:
            f.write(data)
    print("wrote %d files to %s" % (len(files), target))


if __name__ == "__main__":
    main()
