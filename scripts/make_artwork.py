#!/usr/bin/env python3
"""Draw Tarvendel's icon and hand cursor and write them as .ico/.cur files.

Everything is generated here from rectangles and small bitmaps so the
artwork has no outside origin and can be regenerated at any time.  Only the
standard library is used so the build machine needs nothing extra.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
RES_DIR = os.path.join(os.path.dirname(HERE), "resources")

CLEAR = (0, 0, 0, 0)
OUTLINE = (0x4A, 0x4A, 0x4A, 0xFF)
PAPER = (0xFF, 0xFF, 0xFF, 0xFF)
PAPER_SHADE = (0xE4, 0xE4, 0xE4, 0xFF)
RED = (0xD8, 0x2E, 0x2E, 0xFF)
RED_LIGHT = (0xEC, 0x5A, 0x52, 0xFF)
RED_DARK = (0xA0, 0x1C, 0x1C, 0xFF)
RING = (0x30, 0x30, 0x30, 0xFF)
RING_SHINE = (0x8C, 0x8C, 0x8C, 0xFF)
INK = (0x2A, 0x2A, 0x2A, 0xFF)

# Blocky 3x5 digits: on a calendar page the number only has to read as a
# date at a glance, and a cell grid stays pixel-exact at every size.
DIGITS = {
    "1": ["##.", ".#.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"],
}


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[CLEAR] * size for _ in range(size)]

    def rect(self, x0, y0, x1, y1, colour):
        """Fill an inclusive rectangle, clipped to the canvas."""
        for y in range(max(0, y0), min(self.size - 1, y1) + 1):
            row = self.px[y]
            for x in range(max(0, x0), min(self.size - 1, x1) + 1):
                row[x] = colour

    def dot(self, x, y, colour):
        self.rect(x, y, x, y, colour)

    def digits(self, text, x, y, col_w, row_h, gap, colour):
        for ch in text:
            glyph = DIGITS[ch]
            yy = y
            for gy, line in enumerate(glyph):
                xx = x
                for gx, cell in enumerate(line):
                    if cell == "#":
                        self.rect(xx, yy, xx + col_w[gx] - 1,
                                  yy + row_h[gy] - 1, colour)
                    xx += col_w[gx]
                yy += row_h[gy]
            x += sum(col_w) + gap


# Per-size layout.  Each size is tuned by hand rather than scaled, because
# scaling a 48px drawing down to 16px smears the outline and rings.
LAYOUTS = {
    16: dict(page=(1, 2, 14, 15), band_rows=3, round_corners=False,
             rings=[(4, 0, 4, 4), (11, 0, 11, 4)],
             digit_cols=(1, 1, 1), digit_rows=(1, 1, 1, 1, 1),
             digit_gap=2, digit_pos=(4, 8)),
    32: dict(page=(2, 4, 29, 30), band_rows=6, round_corners=True,
             rings=[(8, 1, 9, 7), (22, 1, 23, 7)],
             digit_cols=(2, 3, 2), digit_rows=(2, 3, 2, 3, 2),
             digit_gap=2, digit_pos=(8, 15)),
    48: dict(page=(3, 6, 44, 45), band_rows=10, round_corners=True,
             rings=[(12, 1, 14, 11), (33, 1, 35, 11)],
             digit_cols=(3, 4, 3), digit_rows=(3, 4, 3, 4, 3),
             digit_gap=4, digit_pos=(12, 23)),
}


def draw_icon(size):
    lay = LAYOUTS[size]
    c = Canvas(size)
    x0, y0, x1, y1 = lay["page"]

    c.rect(x0, y0, x1, y1, OUTLINE)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, PAPER)

    band_top, band_bot = y0 + 1, y0 + lay["band_rows"]
    c.rect(x0 + 1, band_top, x1 - 1, band_bot, RED)
    if size >= 32:
        # A lighter top edge and darker seam make the band read as a
        # separate strip that the page tears away from.
        c.rect(x0 + 1, band_top, x1 - 1, band_top, RED_LIGHT)
        c.rect(x0 + 1, band_bot, x1 - 1, band_bot, RED_DARK)
        # Faint shading along the bottom suggests the pad beneath.
        c.rect(x0 + 1, y1 - 1, x1 - 1, y1 - 1, PAPER_SHADE)

    if lay["round_corners"]:
        for cx, cy, dx, dy in ((x0, y0, 1, 1), (x1, y0, -1, 1),
                               (x0, y1, 1, -1), (x1, y1, -1, -1)):
            c.dot(cx, cy, CLEAR)
            c.dot(cx + dx, cy + dy, OUTLINE)

    for rx0, ry0, rx1, ry1 in lay["rings"]:
        c.rect(rx0, ry0, rx1, ry1, RING)
        if rx1 - rx0 >= 2:
            c.rect(rx0 + 1, ry0 + 1, rx1 - 1, ry1 - 1, RING_SHINE)
            c.dot(rx0, ry0, CLEAR)
            c.dot(rx1, ry0, CLEAR)
        elif rx1 > rx0:
            c.rect(rx0, ry0 + 1, rx0, ry1 - 1, RING_SHINE)

    dx, dy = lay["digit_pos"]
    c.digits("12", dx, dy, lay["digit_cols"], lay["digit_rows"],
             lay["digit_gap"], INK)
    return c


# The large sizes that high-DPI screens ask for are the small drawings
# blown up by a whole factor, so every edge stays on a pixel.
ENLARGED = {64: (32, 2), 96: (48, 2), 128: (32, 4)}


def enlarge(canvas, factor):
    big = Canvas(canvas.size * factor)
    for y in range(big.size):
        big.px[y] = [canvas.px[y // factor][x // factor] for x in range(big.size)]
    return big


def icon_canvas(size):
    if size in ENLARGED:
        base, factor = ENLARGED[size]
        return enlarge(draw_icon(base), factor)
    return draw_icon(size)


def and_mask(size, transparent):
    """1-bit mask rows, bottom-up, each padded to a 32-bit boundary."""
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            if transparent(x, y):
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def bitmap_header(size, bit_count, image_bytes, colours_used=0):
    # Icon DIBs store the XOR and AND masks stacked, hence height * 2.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bit_count,
                       0, image_bytes, 0, 0, colours_used, 0)


def icon_image(canvas):
    size = canvas.size
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b, a in canvas.px[y]:
            xor += bytes((b, g, r, a))
    mask = and_mask(size, lambda x, y: canvas.px[y][x][3] == 0)
    return bitmap_header(size, 32, len(xor) + len(mask)) + bytes(xor) + mask


def container(kind, entries):
    """ICONDIR plus entries; each entry is (size, colours, f1, f2, data).

    For icons f1/f2 are planes and bit count; for cursors they carry the
    hotspot, which is how the resource compiler finds it.
    """
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(head) + 16 * len(entries)
    dirs, blobs = b"", b""
    for size, colours, f1, f2, data in entries:
        dirs += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0,
                            f1, f2, len(data), offset)
        offset += len(data)
        blobs += data
    return head + dirs + blobs


# Pointing hand: X = black outline, o = white fill, anything else clear.
HAND = """
.....XX..........
....XooX.........
....XooX.........
....XooX.........
....XooX.........
....XooXXX.......
....XooXooXXX....
....XooXooXooXX..
....XooXooXooXoX.
....XooXooXooXooX
.XX.XooXooXooXooX
XooXXooXooXooXooX
XoooXooooooooooooX
.XoooXoooooooooooX
.XoooooooooooooooX
..XooooooooooooooX
..XoooooooooooooX
...XooooooooooooX
...XooooooooooooX
....XooooooooooX
....XXXXXXXXXXXX
"""
HAND_ORIGIN = (0, 0)
HAND_HOTSPOT = (5, 0)


def cursor_image(size=32):
    """The hand at 32 pixels, or blown up for 48 (x1.5) and 64 (x2)."""
    rows = [r for r in HAND.strip("\n").split("\n")]
    ox, oy = HAND_ORIGIN

    def cell(x, y):
        x, y = x * 32 // size, y * 32 // size
        gy, gx = y - oy, x - ox
        if 0 <= gy < len(rows) and 0 <= gx < len(rows[gy]):
            return rows[gy][gx]
        return "."

    # Monochrome cursor: AND=1 leaves the screen alone, AND=0 with XOR
    # choosing palette entry 0 (black) or 1 (white).
    xor = and_mask(size, lambda x, y: cell(x, y) == "o")
    mask = and_mask(size, lambda x, y: cell(x, y) not in "Xo")
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0)
    header = bitmap_header(size, 1, len(xor) + len(mask), 2)
    return header + palette + xor + mask


def main():
    os.makedirs(RES_DIR, exist_ok=True)
    icons = [(s, 0, 1, 32, icon_image(icon_canvas(s)))
             for s in (16, 32, 48, 64, 96, 128)]
    with open(os.path.join(RES_DIR, "Tarvendel.ico"), "wb") as f:
        f.write(container(1, icons))

    hx, hy = HAND_HOTSPOT
    cur = [(s, 2, (hx + HAND_ORIGIN[0]) * s // 32, (hy + HAND_ORIGIN[1]) * s // 32,
            cursor_image(s)) for s in (32, 48, 64)]
    with open(os.path.join(RES_DIR, "Hand.cur"), "wb") as f:
        f.write(container(2, cur))


if __name__ == "__main__":
    main()
