#!/usr/bin/env python3
"""Draws the card's artwork and writes it under resources/.

Writes the four bitmaps with their exact colour depths (4 or 8 bits per pixel),
the program icon, the seven cursors and a placeholder for the about picture.
The output is committed, so a build never needs this script; run it again only
when the artwork changes:  python3 tools/make_assets.py
"""

import math
import os
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "resources")


# ---------------------------------------------------------------- canvas


class Canvas:
    """A grid of palette indices with a few drawing primitives."""

    def __init__(self, w, h, fill=0):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):
        """Filled rectangle, both corners inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c, width=1):
        for i in range(width):
            self.rect(x0 + i, y0 + i, x1 - i, y0 + i, c)
            self.rect(x0 + i, y1 - i, x1 - i, y1 - i, c)
            self.rect(x0 + i, y0 + i, x0 + i, y1 - i, c)
            self.rect(x1 - i, y0 + i, x1 - i, y1 - i, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        r = (width - 1) / 2.0
        for i in range(steps + 1):
            t = i / steps
            x = x0 + (x1 - x0) * t
            y = y0 + (y1 - y0) * t
            if width <= 1:
                self.set(int(round(x)), int(round(y)), c)
            else:
                self.disc(x, y, r + 0.5, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def polygon(self, pts, c):
        """Filled polygon by the even-odd rule, sampled at pixel centres."""
        ys = [p[1] for p in pts]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for i in range(len(pts)):
                (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % len(pts)]
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(math.ceil(a - 0.5)), int(math.floor(b - 0.5)) + 1):
                    self.set(x, y, c)


# ---------------------------------------------------------------- files


def bmp_bytes(canvas, palette, bpp):
    """A Windows BMP (BITMAPINFOHEADER, bottom-up, uncompressed)."""
    assert bpp in (4, 8) and len(palette) <= (1 << bpp)
    colours = 1 << bpp
    pal = list(palette) + [(0, 0, 0)] * (colours - len(palette))
    row_bytes = ((canvas.w * bpp + 31) // 32) * 4
    rows = []
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(canvas.w):
            i = canvas.get(x, y)
            assert 0 <= i < len(palette)
            if bpp == 8:
                row[x] = i
            else:
                row[x // 2] |= i << 4 if x % 2 == 0 else i
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, bpp, 0, len(pixels),
                       2835, 2835, colours, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in pal)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + pixels


def icon_image_32(canvas, palette, transparent):
    """One 32-bit icon image: BGRA colour rows and a 1-bit AND mask."""
    w, h = canvas.w, canvas.h
    colour = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            i = canvas.get(x, y)
            r, g, b = palette[i]
            a = 0 if i == transparent else 255
            colour += bytes((b, g, r, a))
    mask_row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_row)
        for x in range(w):
            if canvas.get(x, y) == transparent:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """images: list of (width, height, image bytes)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(d for _, _, d in images)


def cur_bytes(art, hotspot):
    """A 32 x 32 monochrome cursor from ASCII art.

    '#' black, 'o' white, anything else transparent."""
    size = 32
    rows = [line.ljust(size)[:size] for line in art] + [""] * (size - len(art))
    rows = [r.ljust(size) for r in rows[:size]]
    xor = bytearray()
    andm = bytearray()
    for y in range(size - 1, -1, -1):
        xrow = bytearray(4)
        arow = bytearray(4)
        for x, ch in enumerate(rows[y]):
            bit = 0x80 >> (x % 8)
            if ch == "o":
                xrow[x // 8] |= bit
            elif ch != "#":
                arow[x // 8] |= bit
        xor += xrow
        andm += arow
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    data = info + palette + bytes(xor) + bytes(andm)
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, hotspot[0], hotspot[1], len(data), 6 + 16)
    return header + entry + data


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.relpath(path, ROOT), len(data), "bytes")


# ---------------------------------------------------------------- artwork

# A 16-colour palette. It holds no RGB(1,1,1), the colour the card passes as
# "transparent" for its opaque bitmaps.
PAL16 = [
    (0, 0, 0),        # 0 black
    (128, 0, 0),      # 1
    (0, 128, 0),      # 2
    (128, 128, 0),    # 3
    (0, 0, 128),      # 4
    (255, 0, 255),    # 5 magenta: the face's transparent background
    (92, 46, 20),     # 6 dark brown
    (255, 140, 0),    # 7 orange
    (192, 192, 192),  # 8 light grey
    (210, 110, 20),   # 9 carrot shade
    (0, 255, 0),      # 10
    (255, 255, 0),    # 11
    (0, 0, 255),      # 12
    (150, 190, 230),  # 13 ice blue
    (225, 235, 245),  # 14 near white
    (255, 255, 255),  # 15 white
]
BLACK, MAGENTA, BROWN, ORANGE, GREY, CARROT, ICE, NEARWHITE, WHITE = 0, 5, 6, 7, 8, 9, 13, 14, 15


def snowflake(c, cx, cy, arm, main, side, width=1):
    """Six arms with two pairs of side branches each."""
    for k in range(6):
        a = math.radians(90 + 60 * k)
        ex, ey = cx + arm * math.cos(a), cy - arm * math.sin(a)
        c.line(cx, cy, ex, ey, main, width)
        for frac, blen in ((0.45, 0.35), (0.72, 0.25)):
            bx, by = cx + arm * frac * math.cos(a), cy - arm * frac * math.sin(a)
            for turn in (-50, 50):
                b = a + math.radians(turn)
                c.line(bx, by, bx + arm * blen * math.cos(b), by - arm * blen * math.sin(b), side)
    c.set(int(cx), int(cy), main)


def draw_close_button():
    c = Canvas(40, 40, BLACK)
    c.frame(0, 0, 39, 39, GREY, 2)
    snowflake(c, 19.5, 19.5, 12, WHITE, WHITE)
    return c


def draw_snowflake():
    c = Canvas(26, 26, BLACK)
    snowflake(c, 12.5, 12.5, 11, WHITE, GREY)
    c.disc(12.5, 12.5, 1.6, WHITE)
    return c


def draw_face():
    c = Canvas(78, 63, MAGENTA)
    # eyes
    c.disc(25, 14, 5.2, BROWN)
    c.disc(49, 14, 5.2, BROWN)
    c.set(23, 12, WHITE)
    c.set(47, 12, WHITE)
    # carrot nose, pointing to the right
    c.polygon([(34, 23), (34, 35), (72, 30)], ORANGE)
    for x in (42, 50, 58):
        c.line(x, 26, x + 1, 31, CARROT)
    # smile of coal dots on an arc
    for i in range(7):
        a = math.radians(200 + 140 * i / 6)
        c.disc(37 + 20 * math.cos(a), 34 - 14 * math.sin(a) + 8, 2.4, BROWN)
    return c


# The envelope's 256-colour palette: a few named colours, then a yellow ramp.
PAL256_NAMED = [
    (255, 244, 184),  # 0 pale yellow paper
    (165, 62, 38),    # 1 red-brown outline
    (240, 222, 150),  # 2 shaded flap
    (200, 40, 40),    # 3 stamp red
    (255, 255, 255),  # 4 white
    (40, 90, 160),    # 5 stamp blue
]
PAL256 = PAL256_NAMED + [(255, 255 - i // 4, 120 + i // 2) for i in range(250)]
PAPER, OUTLINE, FLAP, STAMPRED, PWHITE, STAMPBLUE = range(6)


def draw_letter():
    w, h = 104, 68
    c = Canvas(w, h, PAPER)
    # flap: a triangle from the top corners to the middle
    c.polygon([(2, 2), (w - 2, 2), (w / 2, h * 0.58)], FLAP)
    c.frame(0, 0, w - 1, h - 1, OUTLINE, 2)
    c.line(2, 2, w / 2, h * 0.58, OUTLINE, 2)
    c.line(w - 3, 2, w / 2, h * 0.58, OUTLINE, 2)
    c.line(2, h - 3, w * 0.40, h * 0.48, OUTLINE)
    c.line(w - 3, h - 3, w * 0.60, h * 0.48, OUTLINE)
    # a stamp in the top right corner
    c.rect(w - 24, 6, w - 8, 24, STAMPRED)
    c.frame(w - 24, 6, w - 8, 24, PWHITE)
    snowflake(c, w - 16, 15, 6, PWHITE, PWHITE)
    return c


ICON_PAL = [(0, 0, 0), (30, 70, 150), (255, 255, 255), (170, 200, 235)]


def draw_icon(size):
    c = Canvas(size, size, 0)
    c.disc((size - 1) / 2, (size - 1) / 2, size / 2 - 0.5, 1)
    snowflake(c, (size - 1) / 2, (size - 1) / 2, size * 0.38, 2, 3, 2 if size >= 32 else 1)
    return c


# ---------------------------------------------------------------- cursors

ARROW = [
    "#",
    "##",
    "#o#",
    "#oo#",
    "#ooo#",
    "#oooo#",
    "#ooooo#",
    "#oooooo#",
    "#ooooooo#",
    "#oooooooo#",
    "#ooooo#####",
    "#oo#oo#",
    "#o# #oo#",
    "##  #oo#",
    "#    #oo#",
    "     #oo#",
    "      ##",
]


def overlay(base, extra, dx, dy):
    rows = [r.ljust(32) for r in base] + [" " * 32] * (32 - len(base))
    rows = [list(r) for r in rows]
    for y, line in enumerate(extra):
        for x, ch in enumerate(line):
            if ch != " " and 0 <= y + dy < 32 and 0 <= x + dx < 32:
                rows[y + dy][x + dx] = ch
    return ["".join(r).rstrip() for r in rows]


HAND = [
    "     ##",
    "    #oo#",
    "    #oo#",
    "    #oo#",
    "    #oo#",
    "    #oo###",
    "    #oo#oo###",
    "    #oo#oo#oo##",
    " ## #oo#oo#oo#o#",
    "#oo##oooooooo#o#",
    "#ooo#ooooooooooo#",
    " #oo#ooooooooooo#",
    "  #oooooooooooooo#",
    "  #ooooooooooooo#",
    "   #oooooooooooo#",
    "   #ooooooooooo#",
    "    #oooooooooo#",
    "    #oooooooooo#",
    "     #oooooooo#",
    "     #oooooooo#",
    "     ##########",
]

DATABASE = [
    "  ########",
    " #oooooooo#",
    "#oooooooooo#",
    "##oooooooo##",
    "#o########o#",
    "#oooooooooo#",
    "##oooooooo##",
    "#o########o#",
    "#oooooooooo#",
    " #oooooooo#",
    "  ########",
]

HOURGLASS = [
    "#######",
    "#ooooo#",
    " #ooo#",
    "  #o#",
    " #o#o#",
    "#ooooo#",
    "#######",
]

PAGE = [
    "#########",
    "#ooooooo#",
    "#ooooooo#",
    "#ooooooo#",
    "#ooooooo#",
    "#ooooooo#",
    "#########",
]

NO_DROP = [
    "   #####",
    "  #ooooo#",
    " #oo###oo#",
    "#oo#  #ooo#",
    "#o#  #ooo#o#",
    "#o# #ooo# #o#",
    "#o##ooo#  #o#",
    "#oooo#   #o#",
    " #oo#   #oo#",
    "  #oo###oo#",
    "   #ooooo#",
    "    #####",
]


def split_cursor(vertical):
    """Two bars with arrows pointing away from them; the hotspot is the centre.

    The horizontal split moves left and right (vertical bars); the vertical
    split is the same picture turned by a quarter."""
    art = [[" "] * 32 for _ in range(32)]
    c = 15
    for y in range(7, 24):  # the bars: white, outlined in black
        for x, ch in ((c - 3, "#"), (c - 2, "o"), (c - 1, "#"), (c + 1, "#"), (c + 2, "o"), (c + 3, "#")):
            art[y][x] = ch
    for x in list(range(c - 11, c - 3)) + list(range(c + 4, c + 12)):  # the shafts
        art[c - 1][x], art[c][x], art[c + 1][x] = "#", "o", "#"
    for d in range(5):  # the heads
        for s in range(-d - 1, d + 2):
            ch = "#" if abs(s) == d + 1 else "o"
            art[c + s][c - 15 + d + 1] = ch
            art[c + s][c + 15 - d - 1] = ch
    if vertical:
        art = [[art[x][y] for x in range(32)] for y in range(32)]
    return ["".join(r).rstrip() for r in art]


CURSORS = [
    # (resource id, file name, art, hotspot)
    (32761, "hand.cur", HAND, (5, 0)),
    (32762, "sqlwait.cur", overlay(ARROW, DATABASE, 14, 14), (0, 0)),
    (32763, "multidrag.cur", overlay(overlay(ARROW, PAGE, 12, 16), PAGE, 15, 19), (0, 0)),
    (32764, "vsplit.cur", split_cursor(True), (15, 15)),
    (32765, "hsplit.cur", split_cursor(False), (15, 15)),
    (32766, "drag.cur", overlay(ARROW, PAGE, 12, 18), (0, 0)),
    (32767, "nodrop.cur", NO_DROP, (6, 6)),
]

CURSOR_NAMES = {
    32761: "hand pointer",
    32762: "database wait",
    32763: "multiple drag",
    32764: "vertical split",
    32765: "horizontal split",
    32766: "drag",
    32767: "no drop",
}


def write_cursors_rc():
    lines = [
        "// The program's own cursors, shared by the card and Orvex.dll.",
        "// Written by tools/make_assets.py.",
    ]
    for rid, name, _, _ in CURSORS:
        lines.append('%d CURSOR "resources/cursors/%s" // %s' % (rid, name, CURSOR_NAMES[rid]))
    write(os.path.join(RES, "cursors.rc"), ("\n".join(lines) + "\n").encode())


# ---------------------------------------------------------------- about picture


def write_placeholder_jpeg():
    """A 512 x 384 winter scene stand-in, as a baseline JPEG (needs cjpeg)."""
    w, h = 512, 384
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            sky = (20 + y // 8, 40 + y // 6, 90 + y // 5)
            ground = y > h - 40 - 12 * math.sin(x / 40.0)
            row += bytes((250, 250, 250) if ground else sky)
        rows.append(row)
    for k in range(140):
        fx = (k * 97) % w
        fy = (k * 57) % (h - 40)
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                if abs(dx) + abs(dy) <= 1 and 0 <= fx + dx < w and 0 <= fy + dy < h:
                    rows[fy + dy][3 * (fx + dx):3 * (fx + dx) + 3] = bytes((255, 255, 255))
    ppm = b"P6\n%d %d\n255\n" % (w, h) + b"".join(bytes(r) for r in rows)
    out = os.path.join(RES, "screenview.jpg")
    jpg = subprocess.run(["cjpeg", "-quality", "85", "-baseline"], input=ppm, capture_output=True,
                         check=True).stdout
    write(out, jpg)


def main():
    write(os.path.join(RES, "fvlclosebutton.bmp"), bmp_bytes(draw_close_button(), PAL16, 4))
    write(os.path.join(RES, "letter.bmp"), bmp_bytes(draw_letter(), PAL256, 8))
    write(os.path.join(RES, "snowflake.bmp"), bmp_bytes(draw_snowflake(), PAL16, 4))
    write(os.path.join(RES, "snowmanface.bmp"), bmp_bytes(draw_face(), PAL16, 4))
    write(os.path.join(RES, "frostvale.ico"),
          ico_bytes([(s, s, icon_image_32(draw_icon(s), ICON_PAL, 0)) for s in (16, 32, 48)]))
    for _, name, art, hot in CURSORS:
        write(os.path.join(RES, "cursors", name), cur_bytes(art, hot))
    write_cursors_rc()
    if "--no-picture" not in sys.argv and not os.path.exists(os.path.join(RES, "screenview.jpg")):
        write_placeholder_jpeg()


if __name__ == "__main__":
    main()
