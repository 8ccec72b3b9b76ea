#!/usr/bin/env python3
"""Draws Norvale's artwork and writes the files that norv.rc and nnote.rc embed.

Usage: make_artwork.py OUTPUT_FOLDER [--preview PREVIEW_FOLDER]

Everything is drawn here from simple shapes and pixel fonts, with the Python
standard library only, so the same script always gives the same files. Shapes
are signed distance functions; a pixel is supersampled only where an edge may
cross it. --preview also writes each picture at 4x as PNG for a visual check.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Geometry: signed distance functions (negative inside). Combinations return
# bounds of the true distance, which is all the edge test below relies on.


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    m = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * m


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return d


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def d(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2
    return d


def polygon(points):
    pts = list(points)

    def d(x, y):
        best = float("inf")
        inside = False
        n = len(pts)
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[i - 1]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey or 1e-9)))
            best = min(best, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (ey or 1e-9):
                inside = not inside
        return -best if inside else best
    return d


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def halfplane(ax, ay, bx, by):
    """Inside is to the right of the line from a to b (y grows downwards)."""
    nx, ny = by - ay, -(bx - ax)
    n = math.hypot(nx, ny)
    nx, ny = nx / n, ny / n
    return lambda x, y: (x - ax) * nx + (y - ay) * ny


def sector(cx, cy, start_deg, end_deg):
    """The angles from start to end, clockwise on screen (under 180 degrees)."""
    a0, a1 = math.radians(start_deg), math.radians(end_deg)
    p0 = (cx + math.cos(a0), cy + math.sin(a0))
    p1 = (cx + math.cos(a1), cy + math.sin(a1))
    h0 = halfplane(cx, cy, p0[0], p0[1])
    h1 = halfplane(p1[0], p1[1], cx, cy)
    return lambda x, y: max(h0(x, y), h1(x, y))


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def subtract(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


def grow(shape, amount):
    return lambda x, y: shape(x, y) - amount


def rotated(shape, degrees, cx, cy):
    a = math.radians(-degrees)
    ca, sa = math.cos(a), math.sin(a)

    def d(x, y):
        dx, dy = x - cx, y - cy
        return shape(cx + dx * ca - dy * sa, cy + dx * sa + dy * ca)
    return d


def arc_arrow(cx, cy, r, width, start_deg, end_deg, head=1.9):
    """A clockwise arc band with an arrowhead at its end."""
    band = intersect(ring(cx, cy, r, width), sector(cx, cy, start_deg, end_deg))
    a = math.radians(end_deg)
    ux, uy = math.cos(a), math.sin(a)  # outwards
    tx, ty = -uy, ux  # clockwise tangent
    half = width * head / 2 + width / 2
    base_x, base_y = cx + ux * r, cy + uy * r
    tip = (base_x + tx * width * 1.5, base_y + ty * width * 1.5)
    outer = (base_x + ux * half, base_y + uy * half)
    inner = (base_x - ux * half, base_y - uy * half)
    return union(band, polygon([outer, tip, inner]))


# ---------------------------------------------------------------------------
# Colour and paint. Colours are straight RGBA floats 0..1.


def rgb(hex_text, alpha=1.0):
    v = int(hex_text.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, alpha)


def _mix(stops, t):
    t = max(0.0, min(1.0, t))
    for i in range(1, len(stops)):
        p1, c1 = stops[i]
        if t <= p1:
            p0, c0 = stops[i - 1]
            f = (t - p0) / ((p1 - p0) or 1e-9)
            return tuple(c0[k] + (c1[k] - c0[k]) * f for k in range(4))
    return stops[-1][1]


def _stops(stops):
    return [(p, rgb(c) if isinstance(c, str) else c) for p, c in stops]


def linear(x0, y0, x1, y1, stops):
    s = _stops(stops)
    dx, dy = x1 - x0, y1 - y0
    l2 = dx * dx + dy * dy
    return lambda x, y: _mix(s, ((x - x0) * dx + (y - y0) * dy) / l2)


def vertical(y0, y1, top, bottom):
    return linear(0, y0, 0, y1, [(0, top), (1, bottom)])


def radial(cx, cy, r, stops):
    s = _stops(stops)
    return lambda x, y: _mix(s, math.hypot(x - cx, y - cy) / r)


def solid(colour, alpha=1.0):
    c = rgb(colour, alpha) if isinstance(colour, str) else colour
    return lambda x, y: c


# ---------------------------------------------------------------------------
# Canvas: premultiplied RGBA. Shapes are given in design units; `scale` maps
# them to pixels so that one drawing serves several sizes.

_SUB = [(i + 0.5) / 4 for i in range(4)]


class Canvas:
    def __init__(self, width, height, scale=1.0, ox=0.0, oy=0.0):
        self.w, self.h, self.scale = width, height, scale
        self.ox, self.oy = ox, oy  # pixel offset of the design origin
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def _design(self, px, py):
        return (px - self.ox) / self.scale, (py - self.oy) / self.scale

    def fill(self, shape, paint, expand_px=0.0, clip=None):
        s = self.scale
        paint = paint if callable(paint) else solid(paint)
        for j in range(self.h):
            for i in range(self.w):
                x, y = self._design(i + 0.5, j + 0.5)
                d = shape(x, y) * s - expand_px
                if d > 0.75:
                    continue
                if d < -0.75:
                    cover = 1.0
                else:
                    hits = 0
                    for sy in _SUB:
                        for sx in _SUB:
                            xx, yy = self._design(i + sx, j + sy)
                            if shape(xx, yy) * s - expand_px < 0:
                                hits += 1
                    cover = hits / 16.0
                    if not hits:
                        continue
                if clip is not None:
                    cover *= clip(x, y)
                self.blend(i, j, paint(x, y), cover)

    def blend(self, i, j, colour, cover=1.0):
        if not (0 <= i < self.w and 0 <= j < self.h):
            return
        r, g, b, a = colour
        a *= cover
        p = self.px[j * self.w + i]
        k = 1.0 - a
        p[0] = r * a + p[0] * k
        p[1] = g * a + p[1] * k
        p[2] = b * a + p[2] * k
        p[3] = a + p[3] * k

    def text(self, font, string, x, y, colour, spacing=1, zoom=1):
        """Pixel-font text at whole pixels; (x, y) is the top left in pixels.
        zoom repeats every font pixel as a zoom x zoom block, which keeps it crisp."""
        c = rgb(colour) if isinstance(colour, str) else colour
        for ch in string:
            rows = font[ch]
            for dy, row in enumerate(rows):
                for dx, bit in enumerate(row):
                    cover = 1.0 if bit == "#" else 0.45 if bit == "+" else 0.0
                    if not cover:
                        continue
                    for a in range(zoom):
                        for b in range(zoom):
                            self.blend(x + dx * zoom + a, y + dy * zoom + b, c, cover)
            x += (len(rows[0]) + spacing) * zoom

    def design_text(self, font, string, x, y, colour, spacing=1):
        """Pixel-font text in design units, one font pixel per unit, so it
        scales with the canvas; (x, y) is the top left in design units."""
        c = rgb(colour) if isinstance(colour, str) else colour
        ink, soft = [], []
        for ch in string:
            rows = font[ch]
            for dy, row in enumerate(rows):
                for dx, bit in enumerate(row):
                    if bit == "#":
                        ink.append(box(x + dx, y + dy, x + dx + 1, y + dy + 1))
                    elif bit == "+":
                        soft.append(box(x + dx, y + dy, x + dx + 1, y + dy + 1))
            x += len(rows[0]) + spacing
        if ink:
            self.fill(union(*ink), c)
        if soft:
            self.fill(union(*soft), (c[0], c[1], c[2], c[3] * 0.45))

    def rgba8(self):
        out = []
        for r, g, b, a in self.px:
            if a <= 0.0:
                out.append((0, 0, 0, 0))
                continue
            out.append(tuple(min(255, max(0, int(round(v / a * 255)))) for v in (r, g, b)) +
                       (min(255, int(round(a * 255))),))
        return out


def text_zoom(c):
    """Pixel fonts grow only by whole pixels: twice their size from 200 % on."""
    return 2 if c.scale >= 1.9 else 1


def text_width(font, string, spacing=1):
    return sum(len(font[ch][0]) for ch in string) + spacing * (len(string) - 1)


# ---------------------------------------------------------------------------
# Pixel fonts: '#' is ink, '+' a softened corner.

DIGITS_5X7 = {
    "0": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": [".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": [".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", "..#..", "..#..", "..#.."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."],
}

DIGITS_6X10_BOLD = {
    "0": [".####.", "##++##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##++##", ".####."],
    "1": ["..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "######"],
    "2": [".####.", "##..##", "....##", "....##", "...##+", "..##+.", ".##+..", "##+...", "##....", "######"],
    "3": [".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "....##", "##..##", ".####."],
    "4": ["...+##", "..+###", ".+####", "+##.##", "##..##", "######", "....##", "....##", "....##", "....##"],
    "5": ["######", "##....", "##....", "#####.", "....##", "....##", "....##", "....##", "##..##", ".####."],
    "6": [".####.", "##..##", "##....", "##....", "#####.", "##..##", "##..##", "##..##", "##..##", ".####."],
    "7": ["######", "....##", "....##", "...+##", "...##+", "..+##.", "..##..", "..##..", "..##..", "..##.."],
    "8": [".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", "##..##", ".####."],
    "9": [".####.", "##..##", "##..##", "##..##", "##..##", ".#####", "....##", "....##", "##..##", ".####."],
    "?": [".####.", "##..##", "....##", "...+##", "..##+.", "..##..", "..##..", "......", "..##..", "..##.."],
}

LETTERS_7X9_BOLD = {
    "A": ["..###..", ".##+##.", "##...##", "##...##", "##...##", "#######", "##...##", "##...##", "##...##"],
    "B": ["######.", "##...##", "##...##", "##...##", "######.", "##...##", "##...##", "##...##", "######."],
    "C": [".#####.", "##...##", "##.....", "##.....", "##.....", "##.....", "##.....", "##...##", ".#####."],
    "D": ["#####..", "##..##.", "##...##", "##...##", "##...##", "##...##", "##...##", "##..##.", "#####.."],
    "E": ["#######", "##.....", "##.....", "##.....", "######.", "##.....", "##.....", "##.....", "#######"],
}

LETTERS_5X7 = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["###..", "#..#.", "#...#", "#...#", "#...#", "#..#.", "###.."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "?": [".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."],
}

LETTER_N_4X5 = {"N": ["#..#", "##.#", "#.##", "#..#", "#..#"]}

LETTERS_3X5 = {
    "C": [".##", "#..", "#..", "#..", ".##"],
    "S": [".##", "#..", ".#.", "..#", "##."],
    "V": ["#.#", "#.#", "#.#", "#.#", ".#."],
}

# ---------------------------------------------------------------------------
# Shared motifs, drawn in a 22-unit design square.

OUTLINE = 1.0  # pixels


def outlined(c, shape, fill_paint, line_colour, width=OUTLINE):
    """A shape with a darker line just inside its edge."""
    c.fill(shape, line_colour)
    c.fill(grow(shape, -width / c.scale), fill_paint)


def gloss(c, cx, cy, rx, ry, strength=0.75):
    c.fill(ellipse(cx, cy, rx, ry),
           linear(0, cy - ry, 0, cy + ry, [(0, rgb("#ffffff", strength)), (1, rgb("#ffffff", 0.0))]))


def letter_n(cx, cy, h, squeeze=1.0):
    """A bold N as one polygon, h tall, horizontally squeezed for rotation."""
    w = h * 0.78 * squeeze
    t = h * 0.24 * squeeze
    x0, x1 = cx - w / 2, cx + w / 2
    y0, y1 = cy - h / 2, cy + h / 2
    return polygon([(x0, y1), (x0, y0), (x0 + t, y0), (x1 - t, y1 - h * 0.42), (x1 - t, y0),
                    (x1, y0), (x1, y1), (x1 - t, y1), (x0 + t, y0 + h * 0.42), (x0 + t, y1)])


def draw_ball(c, cx=11.0, cy=11.0, r=10.2, spin_deg=0.0, label=True):
    """The program's own ball: blue, glossy, with a white label bearing N.

    spin_deg turns the ball about its vertical axis; a second label on the far
    side comes round as the first one leaves."""
    outlined(c, circle(cx, cy, r),
             radial(cx - r * 0.3, cy - r * 0.4, r * 1.45,
                    [(0, "#8cc4ff"), (0.4, "#2f78e0"), (0.8, "#1548a8"), (1, "#0c2f78")]),
             rgb("#0a2460"))
    if label:
        for side in (0.0, 180.0):
            a = math.radians(spin_deg + side)
            depth = math.cos(a)
            if depth < 0.08:
                continue
            lx = cx + math.sin(a) * r * 0.62
            lr = r * 0.47
            sq = depth
            disc = ellipse(lx, cy + r * 0.04, lr * sq, lr)
            c.fill(disc, rgb("#0a2460", 0.55), expand_px=0.8)
            c.fill(disc, radial(lx - lr * 0.4, cy - lr * 0.5, lr * 2.0,
                                [(0, "#ffffff"), (0.6, "#eef3fa"), (1, "#c8d4e6")]))
            if lr * c.scale >= 5.0:
                if sq > 0.3:
                    c.fill(letter_n(lx, cy + r * 0.04, lr * 1.15, sq), "#103a8c")
            elif sq > 0.95:
                # Too small to draw smoothly: a crisp 4 x 5 letter instead.
                px = int(math.floor(lx * c.scale + c.ox)) - 2
                py = int(math.floor((cy + r * 0.04) * c.scale + c.oy)) - 2
                c.text(LETTER_N_4X5, "N", px, py, "#103a8c")
    gloss(c, cx - r * 0.32, cy - r * 0.52, r * 0.5, r * 0.3, 0.8)


def draw_refresh_arrows(c, cx=11.0, cy=11.0, r=7.2, width=2.6):
    shape = union(arc_arrow(cx, cy, r, width, 200, 340), arc_arrow(cx, cy, r, width, 20, 160))
    outlined(c, grow(shape, 0.6), vertical(2, 20, "#7ddc6c", "#1f8a2e"), rgb("#145f20"))


def draw_check_motif(c):
    if c.scale < 0.9:
        draw_refresh_arrows(c, r=7.0, width=3.3)
        draw_ball(c, 11, 11, 3.6, label=False)
    else:
        draw_refresh_arrows(c)
        draw_ball(c, 11, 11, 3.9, label=False)


# ---------------------------------------------------------------------------
# Toolbar and menu images (22 x 22 design units).


def icon_exit(c):
    outlined(c, circle(11, 11, 9.6), vertical(1.5, 20.5, "#ff7a6b", "#b3221a"), rgb("#7a1410"))
    gloss(c, 11, 6.5, 6.0, 3.2, 0.45)
    power = union(subtract(ring(11, 11.6, 4.6, 1.9), polygon([(11, 11.6), (6.5, 3), (15.5, 3)])),
                  segment(11, 5.0, 11, 10.8, 1.9))
    c.fill(grow(power, 0.55), rgb("#7a1410", 0.45))
    c.fill(power, "#ffffff")


def icon_check(c):
    draw_check_motif(c)


def icon_csv(c):
    page = polygon([(4.5, 1.5), (13.5, 1.5), (17.5, 5.5), (17.5, 20.5), (4.5, 20.5)])
    outlined(c, page, vertical(1.5, 20.5, "#ffffff", "#e3e9f0"), rgb("#66788a"))
    outlined(c, polygon([(13.0, 1.5), (13.0, 6.0), (17.5, 6.0)]), "#d2dbe5", rgb("#66788a"))
    for y in (7.5, 10.0, 12.5):
        c.fill(box(6.5, y - 0.5, 15.5, y + 0.5), "#9fb2c6")
    c.fill(box(10.0, 5.0, 11.0, 13.0), "#9fb2c6")
    outlined(c, box(2.0, 13.5, 20.0, 20.5, 1.5), vertical(13.5, 20.5, "#49c25a", "#1d8a2d"),
             rgb("#13621f"))
    s = c.scale
    z = text_zoom(c)
    wpx = text_width(LETTERS_3X5, "CSV") * z
    c.text(LETTERS_3X5, "CSV", int(round(11 * s - wpx / 2)), int(round(17 * s - 2.5 * z)), "#ffffff", zoom=z)


def gear_shape(cx=11.0, cy=11.0):
    teeth = [rotated(box(cx - 1.7, cy - 9.6, cx + 1.7, cy - 5.0, 0.6), k * 45, cx, cy) for k in range(8)]
    return subtract(union(circle(cx, cy, 7.0), *teeth), circle(cx, cy, 2.7))


def icon_options(c):
    outlined(c, gear_shape(), radial(8, 7, 15, [(0, "#eef2f6"), (0.55, "#a3b1bf"), (1, "#5d6c7b")]),
             rgb("#3c4854"))
    c.fill(ring(11, 11, 4.4, 0.9), rgb("#3c4854", 0.35))


COMPANION_COLOURS = {
    "D": ("#b07ad6", "#5f2a8a", "#3e1860"),  # Damson
    "C": ("#e08a5a", "#9a3f1c", "#662610"),  # Cedar
    "A": ("#7ccf6a", "#2f7f2a", "#1c561a"),  # Alder
    "B": ("#8fb6e6", "#3b64a0", "#243f6c"),  # Birch
    "E": ("#5fc4c0", "#1d6f74", "#114a4e"),  # Elder
}


def icon_companion(letter):
    def draw(c):
        top, bottom, line = COMPANION_COLOURS[letter]
        outlined(c, box(2.0, 2.0, 20.0, 20.0, 4.2), vertical(2, 20, top, bottom), rgb(line))
        gloss(c, 11, 6.2, 7.6, 3.6, 0.35)
        s = c.scale
        z = text_zoom(c)
        font = LETTERS_7X9_BOLD if s >= 0.9 else LETTERS_5X7
        rows = font[letter]
        x = int(round(11 * s - len(rows[0]) * z / 2))
        y = int(round(11 * s - len(rows) * z / 2))
        c.text(font, letter, x + z, y + z, rgb(line, 0.6), zoom=z)
        c.text(font, letter, x, y, "#ffffff", zoom=z)
    return draw


def icon_support(c):
    buoy = subtract(circle(11, 11, 9.8), circle(11, 11, 4.2))
    outlined(c, buoy, radial(8, 7, 15, [(0, "#ffffff"), (1, "#d8dde2")]), rgb("#6f6266"))
    inner = grow(buoy, -OUTLINE / c.scale)
    red = radial(8, 7, 15, [(0, "#ff8a7a"), (1, "#c0281e")])
    for start in (-30, 60, 150, 240):
        c.fill(intersect(inner, sector(11, 11, start, start + 40)), red)
    gloss(c, 9, 5.5, 5.5, 2.6, 0.45)


def icon_bank(c):
    stone = vertical(2, 20, "#fbf6e8", "#c9bd9c")
    line = rgb("#6e6450")
    outlined(c, polygon([(1.8, 8.2), (11, 2.0), (20.2, 8.2)]), stone, line)
    outlined(c, box(3.0, 7.6, 19.0, 10.0, 0.3), stone, line)
    for x in (5.0, 9.0, 13.0, 17.0):
        outlined(c, box(x - 1.3, 9.6, x + 1.3, 17.4), stone, line)
    outlined(c, box(2.0, 17.0, 20.0, 20.2, 0.4), stone, line)
    c.fill(circle(11, 6.0, 1.2), "#d4a22a")


def icon_globe(c):
    sphere = circle(11, 11, 9.6)
    outlined(c, sphere, radial(8, 7, 15, [(0, "#9fd4ff"), (0.5, "#3a8ee0"), (1, "#15529c")]),
             rgb("#0f3f78"))
    inner = grow(sphere, -1.0 / c.scale)
    land = union(ellipse(7.5, 8.0, 3.6, 2.6), ellipse(9.0, 12.5, 1.8, 3.2),
                 ellipse(15.5, 9.5, 2.6, 3.4), ellipse(16.0, 15.5, 2.2, 1.6),
                 ellipse(5.0, 15.0, 1.6, 1.1))
    c.fill(intersect(land, inner), vertical(2, 20, "#8ee07a", "#2f8f30"))
    for m in (ellipse(11, 11, 4.2, 9.6), ellipse(11, 11, 9.6, 3.8)):
        c.fill(intersect(lambda x, y, m=m: abs(m(x, y)) - 0.35, inner), rgb("#ffffff", 0.35))
    gloss(c, 8.5, 5.5, 5.0, 2.6, 0.55)


def icon_help(c):
    outlined(c, circle(11, 11, 9.6), vertical(1.5, 20.5, "#74b4ff", "#1b5cb8"), rgb("#123f80"))
    gloss(c, 11, 6.0, 6.0, 3.0, 0.45)
    s = c.scale
    z = text_zoom(c)
    font = DIGITS_6X10_BOLD if s >= 0.9 else LETTERS_5X7
    rows = font["?"]
    x = int(round(11 * s - len(rows[0]) * z / 2))
    y = int(round(11 * s - len(rows) * z / 2))
    c.text(font, "?", x, y + z, rgb("#0c2f66", 0.5), zoom=z)
    c.text(font, "?", x, y, "#ffffff", zoom=z)


def icon_busy(c):
    wood = vertical(2, 20, "#d9a462", "#7c4c1c")
    wood_line = rgb("#553210")
    glass = polygon([(6.2, 5.0), (15.8, 5.0), (15.4, 7.2), (11.9, 10.4), (11.9, 11.6),
                     (15.4, 14.8), (15.8, 17.0), (6.2, 17.0), (6.6, 14.8), (10.1, 11.6),
                     (10.1, 10.4), (6.6, 7.2)])
    c.fill(glass, rgb("#e6f3ff", 0.85))
    top_sand = intersect(glass, halfplane(0, 8.2, 22, 8.2), halfplane(22, 11.2, 0, 11.2))
    c.fill(top_sand, vertical(8, 11, "#ffd36a", "#e09a20"))
    bottom_sand = intersect(glass, union(ellipse(11, 17.4, 4.6, 2.9), halfplane(0, 16.0, 22, 16.0)))
    c.fill(bottom_sand, vertical(13, 17, "#ffd36a", "#d88a14"))
    c.fill(segment(11, 11.2, 11, 15.0, 0.7), "#e8a62a")
    c.fill(subtract(grow(glass, 0.55 / c.scale), glass), rgb("#5f7e99"))
    c.fill(segment(8.0, 6.3, 9.5, 9.2, 0.8), rgb("#ffffff", 0.8))
    for x in (4.6, 17.4):
        outlined(c, box(x - 0.9, 4.0, x + 0.9, 18.0), wood, wood_line)
    outlined(c, box(3.0, 2.0, 19.0, 5.2, 1.0), wood, wood_line)
    outlined(c, box(3.0, 16.8, 19.0, 20.0, 1.0), wood, wood_line)


def icon_table(c):
    outlined(c, box(1.5, 3.0, 20.5, 19.5, 1.2), "#ffffff", rgb("#3f5f86"))
    c.fill(intersect(box(1.5, 3.0, 20.5, 7.0, 1.2), grow(box(1.5, 3.0, 20.5, 19.5, 1.2), -1 / c.scale)),
           vertical(3, 7, "#6fa8ec", "#2f6cc0"))
    for y in (10.8, 14.8):
        c.fill(box(2.5, y - 0.45, 19.5, y + 0.45), "#a6b8cc")
    for x in (7.6, 14.0):
        c.fill(box(x - 0.45, 7.0, x + 0.45, 18.5), "#a6b8cc")
    c.fill(circle(4.8, 8.9, 1.3), "#2f78e0")
    c.fill(circle(4.8, 12.9, 1.3), "#2f78e0")


def icon_launch(c):
    outlined(c, circle(11, 11, 9.6), vertical(1.5, 20.5, "#8ee07a", "#23882f"), rgb("#145f20"))
    gloss(c, 11, 6.0, 6.0, 3.0, 0.45)
    c.fill(grow(polygon([(8.6, 6.4), (16.0, 11.0), (8.6, 15.6)]), 0.4), rgb("#0d4a16", 0.45))
    c.fill(polygon([(8.4, 6.0), (15.6, 10.6), (8.4, 15.2)]), "#ffffff")


def icon_version(c):
    side = polygon([(3.0, 7.5), (11.0, 11.5), (11.0, 20.0), (3.0, 16.0)])
    front = polygon([(11.0, 11.5), (19.0, 7.5), (19.0, 16.0), (11.0, 20.0)])
    lid = polygon([(3.0, 7.5), (11.0, 3.5), (19.0, 7.5), (11.0, 11.5)])
    line = rgb("#6b4416")
    outlined(c, side, vertical(7, 20, "#e6b66a", "#b57f34"), line)
    outlined(c, front, vertical(7, 20, "#d19a4c", "#8f5c1e"), line)
    outlined(c, lid, vertical(3, 12, "#f6d79c", "#dcaa5e"), line)
    c.fill(polygon([(6.4, 5.8), (14.4, 9.8), (15.6, 9.2), (7.6, 5.2)]), "#fff2d2")


def icon_about(c):
    outlined(c, circle(11, 11, 9.6), vertical(1.5, 20.5, "#74b4ff", "#1b5cb8"), rgb("#123f80"))
    gloss(c, 11, 6.0, 6.0, 3.0, 0.45)
    c.fill(circle(11, 6.4, 1.55), "#ffffff")
    c.fill(union(box(9.9, 9.0, 12.1, 16.2, 0.3), box(8.6, 9.0, 12.1, 10.4), box(8.6, 14.9, 13.4, 16.4)),
           "#ffffff")


def icon_update(c):
    tray = polygon([(2.0, 13.0), (6.0, 13.0), (7.5, 15.5), (14.5, 15.5), (16.0, 13.0), (20.0, 13.0),
                    (20.0, 20.0), (2.0, 20.0)])
    outlined(c, tray, vertical(13, 20, "#dfe6ee", "#97a6b6"), rgb("#4d5c6c"))
    arrow = polygon([(8.6, 1.8), (13.4, 1.8), (13.4, 8.0), (17.0, 8.0), (11.0, 14.2), (5.0, 8.0), (8.6, 8.0)])
    outlined(c, arrow, vertical(2, 14, "#8ee07a", "#23882f"), rgb("#145f20"))


def icon_home(c):
    line = rgb("#7a2a1a")
    outlined(c, box(4.5, 9.0, 17.5, 19.8, 0.4), vertical(9, 20, "#fffaf0", "#e2d6bf"), rgb("#7b6a50"))
    outlined(c, polygon([(1.2, 10.6), (11.0, 2.0), (20.8, 10.6), (18.6, 12.0), (11.0, 5.4), (3.4, 12.0)]),
             vertical(2, 12, "#ff8466", "#c0341e"), line)
    outlined(c, box(9.0, 13.0, 13.0, 19.8, 0.5), vertical(13, 20, "#3f8ee8", "#1b55a8"), rgb("#123f80"))
    outlined(c, box(14.3, 3.8, 16.5, 7.8), "#b04a30", line)


def icon_my_numbers(c):
    """A ticket with the user's marked numbers and a star for a win."""
    ticket = box(1.5, 3.5, 18.5, 17.5, 1.6)
    outlined(c, ticket, vertical(3.5, 17.5, "#fffdf2", "#f1dfa6"), rgb("#8a6a1c"))
    for row, y in enumerate((7.0, 10.5, 14.0)):
        for col, x in enumerate((5.0, 8.5, 12.0, 15.5)):
            marked = (row * 4 + col) % 3 == 0
            c.fill(circle(x, y, 1.3), "#c0341e" if marked else "#d9c89a")
    star = polygon([(16.0, 10.2), (17.6, 14.0), (21.4, 14.3), (18.5, 16.8), (19.4, 20.6), (16.0, 18.6),
                    (12.6, 20.6), (13.5, 16.8), (10.6, 14.3), (14.4, 14.0)])
    outlined(c, star, vertical(10, 21, "#fff27a", "#f0a81c"), rgb("#8a5a10"))


TOOLBAR = [icon_exit, icon_check, icon_csv, icon_options, icon_companion("D"), icon_companion("C"),
           icon_companion("A"), icon_companion("B"), icon_companion("E"), icon_support, icon_bank,
           icon_globe, icon_help, icon_my_numbers, icon_busy]

MENU = [icon_table, icon_options, icon_check, icon_launch, icon_companion("D"), icon_companion("C"),
        icon_companion("A"), icon_companion("B"), icon_companion("E"), icon_version, icon_about,
        icon_update, icon_home, icon_support, icon_bank, icon_globe, icon_help, icon_exit]


def draw_strip(painters, size):
    sheet = Canvas(size * len(painters), size)
    for k, paint in enumerate(painters):
        c = Canvas(size, size, scale=size / 22.0)
        paint(c)
        for j in range(size):
            for i in range(size):
                sheet.px[j * sheet.w + k * size + i] = c.px[j * size + i]
    return sheet


# ---------------------------------------------------------------------------
# Icons (.ico): the program, tray states and the tray animation.


def draw_icon(painter, size):
    c = Canvas(size, size, scale=size / 22.0)
    painter(c)
    return c


def app_painter(spin=0.0):
    def paint(c):
        if c.w >= 32:
            c.fill(ellipse(11, 20.6, 7.5, 1.2), rgb("#000000", 0.18))
            draw_ball(c, 11, 10.4, 9.9, spin)
        else:
            draw_ball(c, 11, 11, 10.6, spin)
    return paint


def nnote_painter(c):
    bubble = union(box(1.2, 2.0, 20.8, 15.6, 4.2), polygon([(5.0, 14.0), (10.0, 14.0), (4.2, 20.5)]))
    outlined(c, bubble, vertical(2, 20, "#fffdf0", "#f1dd9a"), rgb("#8a6a1c"))
    draw_ball(c, 11, 8.8, 5.0, label=c.w >= 32)


# ---------------------------------------------------------------------------
# Glyph strip: silver balls 1..43, then dark tiles 0..9, 18 x 18 each, grey.


def draw_glyph_strip(cell=18):
    """The strip with cells of `cell` pixels; the drawing is made for 18."""
    cells = 53
    sheet = Canvas(cell * cells, cell)
    for i in range(cells):
        c = Canvas(cell, cell, scale=cell / 18.0)
        c.fill(box(0, 0, 18, 18), "#ffffff")
        if i < 43:
            draw_silver_ball(c, str(i + 1))
        else:
            draw_tile(c, str(i - 43))
        for j in range(cell):
            for x in range(cell):
                sheet.px[j * sheet.w + i * cell + x] = c.px[j * cell + x]
    return sheet


def glyph_text(c, font, string, x, y, colour):
    """Numerals at whole pixels at 100 %, scaled with the cell elsewhere."""
    if c.scale == 1.0:
        c.text(font, string, x, y, colour)
    else:
        c.design_text(font, string, x, y, colour)


def draw_silver_ball(c, number):
    c.fill(circle(9, 9.2, 8.4), rgb("#000000", 0.10), expand_px=0.6)
    outlined(c, circle(9, 9, 8.4),
             radial(6.2, 5.4, 13.5, [(0, "#ffffff"), (0.35, "#eeeeee"), (0.75, "#b8b8b8"), (1, "#7a7a7a")]),
             rgb("#6a6a6a"))
    c.fill(circle(9, 9.4, 5.6), rgb("#ffffff", 0.55))
    wpx = text_width(DIGITS_5X7, number)
    glyph_text(c, DIGITS_5X7, number, 9 - (wpx + 1) // 2, 6, "#000000")


def draw_tile(c, digit):
    outlined(c, box(1.0, 1.0, 17.0, 17.0, 2.6), vertical(1, 17, "#5c5c5c", "#1c1c1c"), rgb("#101010"))
    c.fill(box(2.5, 2.0, 15.5, 3.0, 0.4), rgb("#ffffff", 0.22))
    glyph_text(c, DIGITS_6X10_BOLD, digit, 6, 4, "#ffffff")


# ---------------------------------------------------------------------------
# The update sound: a soft two-note chime, mono 16-bit PCM.


def chime_samples(rate=22050):
    notes = [(0.00, 1318.5, 0.55), (0.16, 1046.5, 0.60)]  # E6 then C6
    length = int(rate * 1.25)
    out = []
    for n in range(length):
        t = n / rate
        v = 0.0
        for start, freq, gain in notes:
            u = t - start
            if u < 0:
                continue
            attack = min(1.0, u / 0.006)
            env = attack * math.exp(-u * 4.2)
            v += gain * env * (math.sin(2 * math.pi * freq * u) + 0.28 * math.sin(2 * math.pi * freq * 2.76 * u)
                               * math.exp(-u * 9.0) + 0.12 * math.sin(2 * math.pi * freq * 5.4 * u) * math.exp(-u * 18.0))
        fade = min(1.0, (length - n) / (rate * 0.05))
        out.append(int(max(-1.0, min(1.0, v * 0.5 * fade)) * 32767))
    return rate, out


def wav_bytes(rate, samples):
    data = struct.pack("<%dh" % len(samples), *samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


# ---------------------------------------------------------------------------
# File writers.


def bmp32(canvas):
    """32-bit BI_RGB bitmap with straight alpha in the fourth byte, bottom-up."""
    pixels = canvas.rgba8()
    rows = []
    for j in range(canvas.h - 1, -1, -1):
        row = bytearray()
        for i in range(canvas.w):
            r, g, b, a = pixels[j * canvas.w + i]
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 32, 0, len(image), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return head + info + image


def grey_levels(canvas):
    levels = []
    for r, g, b, a in canvas.rgba8():
        # The strip is opaque: it is drawn onto white.
        y = 0.299 * r + 0.587 * g + 0.114 * b
        levels.append(int(round(y * a / 255 + 255 * (1 - a / 255))))
    return levels


def bmp8_grey(canvas):
    levels = grey_levels(canvas)
    stride = (canvas.w + 3) & ~3
    image = bytearray()
    for j in range(canvas.h - 1, -1, -1):
        row = bytes(levels[j * canvas.w:(j + 1) * canvas.w])
        image += row + b"\0" * (stride - canvas.w)
    palette = b"".join(bytes((v, v, v, 0)) for v in range(256))
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 8, 0, len(image), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    return head + info + palette + bytes(image)


def ico(canvases):
    """An icon file of 32-bit images (straight alpha) with their AND masks."""
    entries, blobs = [], []
    for c in canvases:
        pixels = c.rgba8()
        xor = bytearray()
        for j in range(c.h - 1, -1, -1):
            for i in range(c.w):
                r, g, b, a = pixels[j * c.w + i]
                xor += bytes((b, g, r, a))
        mask_stride = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for j in range(c.h - 1, -1, -1):
            row = bytearray(mask_stride)
            for i in range(c.w):
                if pixels[j * c.w + i][3] == 0:
                    row[i // 8] |= 0x80 >> (i % 8)
            mask += row
        info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(info + bytes(xor) + bytes(mask))
        entries.append(c)
    header = struct.pack("<HHH", 0, 1, len(canvases))
    offset = 6 + 16 * len(canvases)
    directory = b""
    for c, blob in zip(entries, blobs):
        directory += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return header + directory + b"".join(blobs)


def png(width, height, rgb_rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(row) for row in rgb_rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def preview(canvas, zoom=4, grey=False):
    """The picture enlarged, over a light checkerboard where it is transparent."""
    pixels = canvas.rgba8()
    levels = grey_levels(canvas) if grey else None
    rows = []
    for j in range(canvas.h * zoom):
        row = bytearray()
        for i in range(canvas.w * zoom):
            k = (j // zoom) * canvas.w + i // zoom
            if grey:
                v = levels[k]
                row += bytes((v, v, v))
                continue
            r, g, b, a = pixels[k]
            bg = 236 if ((i // 8) + (j // 8)) % 2 else 252
            f = a / 255
            row += bytes(int(round(v * f + bg * (1 - f))) for v in (r, g, b))
        rows.append(row)
    return png(canvas.w * zoom, canvas.h * zoom, rows)


def side_by_side(canvases, gap=4):
    height = max(c.h for c in canvases)
    width = sum(c.w for c in canvases) + gap * (len(canvases) - 1)
    sheet = Canvas(width, height)
    x = 0
    for c in canvases:
        for j in range(c.h):
            for i in range(c.w):
                sheet.px[j * width + x + i] = c.px[j * c.w + i]
        x += c.w + gap
    return sheet


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    out = argv[1]
    previews = argv[argv.index("--preview") + 1] if "--preview" in argv else None
    os.makedirs(out, exist_ok=True)
    if previews:
        os.makedirs(previews, exist_ok=True)

    # Every picture the program scales with the display is drawn at 100, 150 and 200 %.
    suffix = {100: "", 150: "_150", 200: "_200"}
    toolbars = {p: draw_strip(TOOLBAR, 22 * p // 100) for p in suffix}
    glyph_strips = {p: draw_glyph_strip(18 * p // 100) for p in suffix}
    menu = draw_strip(MENU, 16)
    # Small icons at 16, 24 and 32 pixels; large ones at 32, 48 and 64.
    app = [draw_icon(app_painter(), s) for s in (16, 24, 32, 48, 64)]
    normal = [draw_icon(app_painter(), s) for s in (16, 24, 32)]
    checking = [draw_icon(lambda c: draw_check_motif(c), s) for s in (16, 24, 32)]
    frames = [[draw_icon(app_painter(k * 22.5), s) for s in (16, 24, 32)] for k in range(8)]
    nnote = [draw_icon(nnote_painter, s) for s in (16, 24, 32, 48, 64)]

    for percent in suffix:
        write(os.path.join(out, "toolbar%s.bmp" % suffix[percent]), bmp32(toolbars[percent]))
        write(os.path.join(out, "glyphs%s.bmp" % suffix[percent]), bmp8_grey(glyph_strips[percent]))
    write(os.path.join(out, "menu.bmp"), bmp32(menu))
    write(os.path.join(out, "norv.ico"), ico(app))
    write(os.path.join(out, "tray_normal.ico"), ico(normal))
    write(os.path.join(out, "tray_checking.ico"), ico(checking))
    for k, frame in enumerate(frames):
        write(os.path.join(out, "tray_anim%d.ico" % k), ico(frame))
    write(os.path.join(out, "nnote.ico"), ico(nnote))
    write(os.path.join(out, "norv.wav"), wav_bytes(*chime_samples()))

    if previews:
        for percent in suffix:
            write(os.path.join(previews, "toolbar%s.png" % suffix[percent]), preview(toolbars[percent]))
            write(os.path.join(previews, "glyphs%s.png" % suffix[percent]),
                  preview(glyph_strips[percent], grey=True))
        write(os.path.join(previews, "menu.png"), preview(menu))
        write(os.path.join(previews, "icons.png"), preview(side_by_side(app + normal + checking + nnote)))
        write(os.path.join(previews, "tray_anim.png"), preview(side_by_side([f[0] for f in frames] +
                                                                            [f[-1] for f in frames])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
