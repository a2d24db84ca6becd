#!/usr/bin/env python3
"""Draws Tessaly's icon (res/icon/Tessaly.ico): a printer with a sheet of
paper and a red removal badge. Pure standard library and deterministic, so
running it again gives the same bytes:

    python3 res/icon/make_icon.py res/icon/Tessaly.ico

The 16, 24, 32 and 48 pixel images are 32-bit DIBs with an AND mask (every
Windows since XP reads them); the 256 pixel image is PNG, which Vista and
later use for large views. Each is drawn at 8x8 supersampling."""
import struct
import sys
import zlib

SUPER = 8

# Shapes on a 48-unit canvas, drawn back to front: (kind, colour, geometry).
# Colours are RGBA.
BODY_DARK = (58, 66, 78, 255)
BODY = (92, 104, 120, 255)
BODY_LIGHT = (140, 152, 168, 255)
PAPER = (255, 255, 255, 255)
PAPER_EDGE = (176, 184, 196, 255)
SLOT = (28, 32, 38, 255)
LED = (90, 200, 110, 255)
BADGE = (210, 40, 40, 255)
BADGE_EDGE = (150, 20, 20, 255)
WHITE = (255, 255, 255, 255)

SHAPES = [
    # the sheet behind the printer, sticking out at the top
    ("rrect", PAPER_EDGE, (12.5, 3.5, 35.5, 22, 1.5)),
    ("rrect", PAPER, (13.5, 4.5, 34.5, 22, 1)),
    ("rect", (120, 140, 170, 255), (16.5, 8.5, 31.5, 9.5)),
    ("rect", (120, 140, 170, 255), (16.5, 11.5, 29.5, 12.5)),
    ("rect", (120, 140, 170, 255), (16.5, 14.5, 31.5, 15.5)),
    # the body
    ("rrect", BODY_DARK, (3, 17, 45, 37, 4)),
    ("rrect", BODY, (4, 18, 44, 36, 3.2)),
    ("rect", BODY_LIGHT, (5.5, 19.5, 42.5, 21.5)),
    # the output slot and the sheet coming out of it
    ("rrect", SLOT, (9, 29, 39, 32, 1.2)),
    ("rrect", PAPER_EDGE, (11.5, 30.5, 36.5, 44.5, 1)),
    ("rrect", PAPER, (12.5, 30.5, 35.5, 43.5, 0.8)),
    ("rect", (120, 140, 170, 255), (15.5, 35.5, 30.5, 36.5)),
    ("rect", (120, 140, 170, 255), (15.5, 38.5, 27.5, 39.5)),
    # the power light
    ("circle", LED, (39, 24.5, 1.6)),
    # the removal badge: a red disc with a white bar
    ("circle", BADGE_EDGE, (36.5, 36.5, 10.5)),
    ("circle", BADGE, (36.5, 36.5, 9.3)),
    ("rrect", WHITE, (30.5, 34.8, 42.5, 38.2, 1.2)),
]


def inside(kind, geo, x, y):
    if kind == "rect":
        x0, y0, x1, y1 = geo
        return x0 <= x < x1 and y0 <= y < y1
    if kind == "rrect":
        x0, y0, x1, y1, r = geo
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if kind == "circle":
        cx, cy, r = geo
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    raise ValueError(kind)


def over(dst, src):
    """src over dst, both straight (not premultiplied) RGBA floats 0..1."""
    sa = src[3]
    da = dst[3] * (1 - sa)
    a = sa + da
    if a == 0:
        return (0.0, 0.0, 0.0, 0.0)
    return tuple((src[i] * sa + dst[i] * da) / a for i in range(3)) + (a,)


def render(size):
    """Rows of (r, g, b, a) bytes, top row first."""
    scale = 48.0 / size
    n = size * SUPER
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = (px + (sx + 0.5) / SUPER) * scale
                    y = (py + (sy + 0.5) / SUPER) * scale
                    c = (0.0, 0.0, 0.0, 0.0)
                    for kind, colour, geo in SHAPES:
                        if inside(kind, geo, x, y):
                            c = over(c, tuple(v / 255.0 for v in colour))
                    # accumulate premultiplied so edges blend correctly
                    acc[0] += c[0] * c[3]
                    acc[1] += c[1] * c[3]
                    acc[2] += c[2] * c[3]
                    acc[3] += c[3]
            samples = SUPER * SUPER
            a = acc[3] / samples
            if a > 0:
                rgb = [round(255 * acc[i] / acc[3]) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], round(255 * a)))
        rows.append(row)
    del n
    return rows


def dib(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def png(rows):
    size = len(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(path):
    images = [(16, dib), (24, dib), (32, dib), (48, dib), (256, png)]
    blobs = [(size, encode(render(size))) for size, encode in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, data in blobs:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in blobs)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "Tessaly.ico")
