#!/usr/bin/env python3
"""Draws the Manager's artwork and writes it into res/ as 16-colour ICO/BMP.

    python3 scripts/make_art.py           regenerate res/*.ico and res/panel.bmp
    python3 scripts/make_art.py --check   exit 1 if the files in res/ are stale

Standard library only; the output is byte-for-byte the same on every run.
"""
import os
import struct
import sys

# The fixed 16-colour VGA palette, in the order Windows uses for 4-bit DIBs.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
(BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
 GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE) = range(16)
CLEAR = None  # transparent pixel (icons only)


class Canvas:
    """A grid of palette indices with a few drawing primitives (clipped)."""

    def __init__(self, w, h, bg=CLEAR):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        """Filled rectangle, corners inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def rect(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0, c)
        self.fill(x0, y1, x1, y1, c)
        self.fill(x0, y0, x0, y1, c)
        self.fill(x1, y0, x1, y1, c)

    def bevel(self, x0, y0, x1, y1, face, light=WHITE, dark=GREY, edge=BLACK):
        """A raised box: outline, lit top-left and shaded bottom-right edges."""
        self.fill(x0, y0, x1, y1, face)
        self.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 1, light)
        self.fill(x0 + 1, y0 + 1, x0 + 1, y1 - 1, light)
        self.fill(x0 + 1, y1 - 1, x1 - 1, y1 - 1, dark)
        self.fill(x1 - 1, y0 + 1, x1 - 1, y1 - 1, dark)
        self.rect(x0, y0, x1, y1, edge)

    def line(self, x0, y0, x1, y1, c, width=1):
        """Bresenham line, stamped with a width x width square."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x1 > x0 else -1), (1 if y1 > y0 else -1)
        err = dx + dy
        while True:
            self.fill(x0, y0, x0 + width - 1, y0 + width - 1, c)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def ellipse(self, cx, cy, rx, ry, c, ring=None):
        """Filled ellipse about a (possibly fractional) centre; with ring=t only
        the outer band t pixels thick is painted."""
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                u, v = x + 0.5 - cx, y + 0.5 - cy
                if (u / rx) ** 2 + (v / ry) ** 2 > 1.0:
                    continue
                if ring and rx > ring and ry > ring and \
                        (u / (rx - ring)) ** 2 + (v / (ry - ring)) ** 2 <= 1.0:
                    continue
                self.put(x, y, c)

    def down_arrow(self, shaft, head, top, neck, fill, edge):
        """A pixel-exact downward arrow: shaft spans columns shaft[0]..shaft[1]
        from row top, the head starts at row neck spanning head[0]..head[1]
        and narrows by one pixel a side per row, so its flanks are clean 45s."""
        spans = [shaft] * (neck - top)
        lo, hi = head
        while lo <= hi:
            spans.append((lo, hi))
            lo, hi = lo + 1, hi - 1
        for i, (lo, hi) in enumerate(spans):
            y = top + i
            self.fill(lo, y, hi, y, fill)
            self.put(lo, y, edge)
            self.put(hi, y, edge)
        self.fill(shaft[0], top, shaft[1], top, edge)
        self.fill(head[0], neck, shaft[0], neck, edge)
        self.fill(shaft[1], neck, head[1], neck, edge)
        self.fill(spans[-1][0], top + len(spans) - 1, spans[-1][1],
                  top + len(spans) - 1, edge)

    def polygon(self, pts, c):
        """Even-odd scanline fill, sampling at pixel centres."""
        for y in range(min(p[1] for p in pts), max(p[1] for p in pts) + 1):
            yc, xs = y + 0.5, []
            for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
                if (ay <= yc) != (by <= yc):
                    xs.append(ax + (yc - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for xa, xb in zip(xs[::2], xs[1::2]):
                for x in range(int(xa + 0.5), int(xb + 0.5)):
                    self.put(x, y, c)


# ---------------------------------------------------------------- encoding

def _palette_bytes():
    return b"".join(struct.pack("<4B", b, g, r, 0) for r, g, b in PALETTE)


def _xor_rows(cv):
    """4-bit pixel rows, bottom-up, each padded to a 4-byte boundary."""
    stride = (cv.w * 4 + 31) // 32 * 4
    out = bytearray()
    for row in reversed(cv.px):
        idx = [c or 0 for c in row] + [0]
        line = bytes((idx[i] << 4) | idx[i + 1] for i in range(0, cv.w, 2))
        out += line.ljust(stride, b"\0")
    return bytes(out)


def _and_rows(cv):
    """1-bit mask rows, bottom-up: 1 = transparent."""
    stride = (cv.w + 31) // 32 * 4
    out = bytearray()
    for row in reversed(cv.px):
        line = bytearray(stride)
        for x, c in enumerate(row):
            if c is CLEAR:
                line[x >> 3] |= 0x80 >> (x & 7)
        out += line
    return bytes(out)


def encode_ico(images):
    """An icon file holding the given canvases as 4-bit images."""
    blobs = []
    for cv in images:
        bits = _xor_rows(cv) + _and_rows(cv)
        head = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h * 2, 1, 4, 0,
                           len(bits), 0, 0, 0, 0)
        blobs.append(head + _palette_bytes() + bits)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for cv, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", cv.w, cv.h, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def encode_bmp(cv):
    bits = _xor_rows(cv)
    offset = 14 + 40 + 16 * 4
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 4, 0, len(bits),
                       2835, 2835, 16, 16)
    return head + info + _palette_bytes() + bits


# ---------------------------------------------------------------- pictures

# Colour schemes for the three icons: arrow fill, arrow edge, drive face,
# drive light edge, drive LED, sheet fill, sheet text.
SCHEMES = {
    "manager": dict(arrow=BLUE, arrow_edge=NAVY, face=SILVER, lit=WHITE,
                    led=LIME, sheet=WHITE, text=GREY),
    "on": dict(arrow=LIME, arrow_edge=GREEN, face=SILVER, lit=WHITE,
               led=LIME, sheet=WHITE, text=GREY),
    "off": dict(arrow=SILVER, arrow_edge=GREY, face=SILVER, lit=SILVER,
                led=GREY, sheet=SILVER, text=GREY),
}


def cross(cv, x0, y0, n, t):
    """A red X over n rows, each stroke t pixels across, from (x0, y0)."""
    for i in range(n):
        cv.fill(x0 + i, y0 + i, x0 + i + t - 1, y0 + i, RED)
        cv.fill(x0 + n - 1 - i, y0 + i, x0 + n + t - 2 - i, y0 + i, RED)


def icon32(s, crossed):
    cv = Canvas(32, 32)
    # A sheet of paper with a folded corner, top left.
    cv.polygon([(3, 1), (12, 1), (16, 5), (16, 19), (3, 19)], s["sheet"])
    for a, b in [((3, 1), (11, 1)), ((11, 1), (16, 6)), ((16, 6), (16, 19)),
                 ((3, 19), (16, 19)), ((3, 1), (3, 19))]:
        cv.line(*a, *b, BLACK)
    cv.line(11, 1, 11, 6, BLACK)
    cv.line(11, 6, 16, 6, BLACK)
    for y in (8, 11, 14):
        cv.fill(5, y, 13, y, s["text"])
    # A fat arrow pointing down into the drive.
    cv.down_arrow((20, 26), (16, 30), 2, 11, s["arrow"], s["arrow_edge"])
    # The drive: a raised box with a slot and an activity light.
    cv.bevel(1, 20, 30, 30, s["face"], light=s["lit"])
    cv.fill(4, 25, 19, 26, GREY)
    cv.fill(4, 25, 19, 25, BLACK)
    cv.fill(24, 24, 27, 26, s["led"])
    cv.rect(23, 23, 28, 27, GREY)
    if crossed:
        cross(cv, 16, 16, 13, 4)
    return cv


def icon16(s, crossed):
    cv = Canvas(16, 16)
    # A thick downward arrow over a wide drive; no room for the sheet.
    cv.down_arrow((5, 10), (2, 13), 0, 4, s["arrow"], s["arrow_edge"])
    cv.bevel(0, 10, 15, 15, s["face"], light=s["lit"])
    cv.fill(3, 12, 8, 12, BLACK)
    cv.fill(11, 12, 12, 13, s["led"])
    if crossed:
        cross(cv, 7, 8, 7, 3)
    return cv


def cylinder(cv, cx, top, bottom, rx, ry, bands=(12, 24)):
    """A disk stack drawn column by column so the shading follows the curve."""
    for x in range(cx - rx, cx + rx):
        u = (x + 0.5 - cx) / rx
        dy = int(ry * (1 - u * u) ** 0.5 + 0.5)
        shade = AQUA if -0.75 < u < -0.45 else TEAL
        cv.fill(x, top, x, bottom + dy, shade)
        for b in bands:
            cv.put(x, top + b + dy, NAVY)
        cv.put(x, bottom + dy, BLACK)
    cv.fill(cx - rx, top, cx - rx, bottom, BLACK)
    cv.fill(cx + rx - 1, top, cx + rx - 1, bottom, BLACK)
    cv.ellipse(cx, top, rx, ry, AQUA)
    cv.ellipse(cx, top, rx, ry, BLACK, ring=1)


def panel():
    cv = Canvas(211, 221, WHITE)
    # Soft floor shadows tie the pieces together.
    cv.ellipse(46, 110, 40, 7, SILVER)
    cv.ellipse(146, 150, 62, 8, SILVER)
    cv.ellipse(70, 205, 52, 9, SILVER)

    # Remote file server tower, top left.
    cv.bevel(20, 14, 72, 108, SILVER)
    for y in (24, 38, 52):
        cv.bevel(27, y, 65, y + 10, SILVER)
        cv.fill(31, y + 4, 52, y + 5, GREY)
        cv.fill(31, y + 4, 52, y + 4, BLACK)
        cv.fill(58, y + 4, 60, y + 6, LIME)
    for y in range(72, 100, 4):
        cv.fill(30, y, 62, y + 1, GREY)

    # The workstation: monitor over a desktop case, right.
    cv.bevel(96, 22, 198, 104, SILVER)
    cv.fill(104, 30, 190, 94, GREY)
    cv.fill(105, 31, 190, 94, NAVY)
    cv.rect(104, 30, 190, 94, BLACK)
    cv.polygon([(126, 46), (162, 46), (170, 54), (170, 86), (126, 86)], WHITE)
    cv.polygon([(162, 46), (170, 54), (162, 54)], SILVER)
    for y in (60, 67, 74):
        cv.fill(133, y, 162, y + 2, BLUE)
    cv.fill(186, 98, 190, 100, LIME)
    cv.polygon([(132, 105), (162, 105), (170, 114), (124, 114)], GREY)
    cv.bevel(90, 114, 204, 144, SILVER)
    cv.fill(100, 126, 150, 128, GREY)
    cv.fill(100, 126, 150, 126, BLACK)
    cv.fill(188, 124, 194, 127, LIME)
    cv.fill(188, 131, 194, 134, YELLOW)

    # Network cable from the server to the workstation, with data packets.
    cv.line(46, 109, 46, 128, NAVY, 3)
    cv.line(46, 128, 90, 128, NAVY, 3)
    for x in (58, 74):
        cv.fill(x - 3, 126, x + 3, 132, YELLOW)
        cv.rect(x - 3, 126, x + 3, 132, OLIVE)

    # The local cache disk, fed by an arrow from the workstation.
    cylinder(cv, 70, 160, 196, 40, 10)
    arrow = [(150, 146), (160, 146), (160, 184), (126, 184), (126, 192),
             (113, 179), (126, 166), (126, 174), (150, 174)]
    cv.polygon(arrow, LIME)
    for a, b in zip(arrow, arrow[1:] + arrow[:1]):
        cv.line(*a, *b, GREEN)
    return cv


def build():
    files = {}
    for name, scheme in (("manager", "manager"), ("cache_on", "on"),
                         ("cache_off", "off")):
        s, off = SCHEMES[scheme], scheme == "off"
        files[name + ".ico"] = encode_ico([icon32(s, off), icon16(s, off)])
    files["panel.bmp"] = encode_bmp(panel())
    return files


def main(argv):
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    files = build()
    if "--check" in argv:
        stale = []
        for name, data in sorted(files.items()):
            path = os.path.join(res, name)
            if not os.path.exists(path) or open(path, "rb").read() != data:
                stale.append(name)
        for name in stale:
            print("make_art: res/%s is out of date" % name, file=sys.stderr)
        return 1 if stale else 0
    for name, data in sorted(files.items()):
        with open(os.path.join(res, name), "wb") as f:
            f.write(data)
        print("wrote res/%s (%d bytes)" % (name, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
