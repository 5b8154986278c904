"""The toolbar strips: ten 32 x 32 button pictures side by side, 8 bits per pixel, and the
same pictures drawn at twice the size (64 x 64) for screens above 96 DPI.

Button order: template, base, mark, text, QR code, face, list, print, help, exit. The
pictures are drawn in a 32-unit square; the strip at twice the size evaluates the same
shapes at half-unit pixels, so its edges are as fine as its pixels, not enlarged ones.
"""

import math

from raster import (Canvas, bmp8, hash01, mix, quantize, sd_arc, sd_circle, sd_ellipse, sd_polygon,
                    sd_polyline, sd_round_rect, sd_segment, sd_star, intersect, union)

SIZE = 32
# The main window's own background colour, so that the flat toolbar shows no tiles.
BACKGROUND = (238, 235, 218)
INK = (52, 58, 78)
PAPER = (254, 254, 252)

# The toolbar maps these exact palette colours to system colours when it loads
# the strip; keeping them out of the palette keeps the pictures as drawn.
SYSTEM_MAPPED = {(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)}


def vgrad(y0, y1, c0, c1):
    return lambda x, y: mix(c0, c1, min(1.0, max(0.0, (y - y0) / (y1 - y0))))


def icon_template(c):
    cards = [((9, 4, 30, 18), (196, 218, 246), (70, 120, 200)),
             ((5.5, 9, 26.5, 23), (252, 232, 184), (226, 150, 40)),
             ((2, 14, 23, 28), PAPER, (214, 64, 72))]
    for (x0, y0, x1, y1), face, band in cards:
        card = sd_round_rect(x0, y0, x1, y1, 1.6)
        c.fill(sd_round_rect(x0 + 1, y0 + 1, x1 + 1, y1 + 1, 1.6), (0, 0, 0), 0.18)
        c.fill_framed(card, face, INK)
        c.fill(intersect(card, lambda x, y, x0=x0: x - (x0 + 4.5)), band,
               box=(x0, y0, x1, y1))
        c.fill(lambda x, y, f=card: abs(f(x, y) + 0.5) - 0.5, INK)
    # The front card carries a few lines of "text" and a round logo.
    for i, (xa, xb) in enumerate(((9, 19), (9, 16), (9, 18))):
        y = 18.5 + i * 3.2
        c.fill(sd_segment(xa, y, xb, y, 1.4), (120, 128, 150))
    c.fill(sd_circle(20, 24.5, 1.7), (226, 150, 40))


def icon_base(c):
    frame = sd_round_rect(2.5, 5, 29.5, 27, 1.5)
    c.fill(sd_round_rect(3.5, 6, 30.5, 28, 1.5), (0, 0, 0), 0.18)
    c.fill(frame, INK)
    inner = lambda x, y: frame(x, y) + 1.2
    c.fill(inner, vgrad(6, 22, (120, 180, 240), (214, 236, 255)))
    c.fill(intersect(inner, sd_circle(22, 11.5, 3.2)), (255, 206, 70))
    c.fill(intersect(inner, sd_circle(22, 11.5, 5.5)), (255, 230, 140), 0.35)
    back = sd_ellipse(10, 29, 14, 11)
    front = sd_ellipse(25, 31, 13, 10)
    c.fill(intersect(inner, back), vgrad(18, 27, (96, 170, 90), (60, 130, 70)))
    c.fill(intersect(inner, front), vgrad(21, 27, (140, 200, 90), (90, 160, 70)))
    # A cloud.
    cloud = union(sd_circle(9, 12, 2.4), sd_circle(12, 11, 3.0), sd_circle(15, 12.5, 2.2),
                  sd_round_rect(7, 12, 17, 14.6, 1.3))
    c.fill(intersect(inner, cloud), (250, 252, 255))


def icon_mark(c):
    star = sd_star(16, 17.2, 14.2, 6.0)
    c.fill(sd_star(17, 18.2, 14.2, 6.0), (0, 0, 0), 0.18)
    c.fill(star, INK)
    c.fill(lambda x, y: star(x, y) + 1.2, vgrad(4, 28, (255, 226, 100), (240, 150, 30)))
    c.fill(intersect(lambda x, y: star(x, y) + 1.2, lambda x, y: (x - 16) + (y - 17) * 0.6),
           (255, 246, 190), 0.55)
    c.fill(sd_circle(16, 17, 2.2), (255, 250, 220), 0.8)


def icon_text(c):
    blue = (36, 72, 168)
    a_shape = union(sd_segment(2.8, 28, 8.8, 5.5, 3.2), sd_segment(8.8, 5.5, 14.8, 28, 3.2),
                    sd_segment(5.5, 20.5, 12, 20.5, 2.6))
    c.fill(a_shape, blue)
    red = (206, 44, 52)
    bun = union(sd_segment(23.4, 6.6, 24.2, 9.4, 2.6),
                sd_segment(17.4, 12.6, 30.2, 12.6, 2.4),
                sd_polyline([(27.4, 13.4), (25.6, 19.5), (22.2, 25.2), (17.6, 29.4)], 2.4),
                sd_polyline([(19.8, 13.4), (21.8, 19.5), (25.4, 25.2), (30.4, 29)], 2.4))
    c.fill(bun, red)


def icon_qr(c):
    tile = sd_round_rect(1, 1, 31, 31, 2)
    c.fill(tile, (186, 194, 210))
    c.fill(lambda x, y: tile(x, y) + 1, PAPER)
    dark = (28, 32, 46)
    origin = 3
    finders = [(origin, origin), (origin + 17, origin), (origin, origin + 17)]

    def in_finder_zone(px, py):
        return any(fx - 1 <= px < fx + 10 and fy - 1 <= py < fy + 10 for fx, fy in finders)
    for fx, fy in finders:
        for y in range(9):
            for x in range(9):
                ring = x < 2 or y < 2 or x > 6 or y > 6
                core = 3 <= x <= 5 and 3 <= y <= 5
                if ring or core:
                    c.set(fx + x, fy + y, dark)
    for my in range(13):
        for mx in range(13):
            px, py = origin + mx * 2, origin + my * 2
            if in_finder_zone(px, py) or in_finder_zone(px + 1, py + 1):
                continue
            if hash01(mx, my, 7) < 0.52:
                for y in range(2):
                    for x in range(2):
                        c.set(px + x, py + y, dark)


def icon_face(c):
    head = sd_circle(16, 17.5, 12.3)
    c.fill(sd_circle(17, 18.5, 12.3), (0, 0, 0), 0.16)
    c.fill(head, INK)
    inner = lambda x, y: head(x, y) + 1.2
    c.fill(inner, vgrad(6, 30, (255, 226, 190), (246, 196, 150)))
    fringe = lambda x: 11.8 + 2.6 * abs(math.sin((x - 3.5) * 0.62)) - max(0.0, x - 22) * 0.6
    hair = intersect(sd_circle(16, 17.2, 13.0), lambda x, y: y - fringe(x))
    c.fill(hair, INK)
    c.fill(intersect(hair, inner, lambda x, y: y - fringe(x) + 1.0),
           vgrad(5, 14, (130, 86, 52), (88, 56, 34)))
    c.fill(sd_segment(11, 8, 15, 6.8, 1.2), (176, 128, 86), 0.8)
    for ex in (11.5, 20.5):
        c.fill(sd_ellipse(ex, 18.2, 1.5, 2.1), INK)
        c.fill(sd_circle(ex + 0.5, 17.5, 0.55), PAPER)
        c.fill(sd_circle(ex - 1.2 if ex < 16 else ex + 1.2, 22.2, 2.1), (250, 140, 140), 0.45)
    c.fill(sd_arc(16, 20.2, 5.0, math.radians(35), math.radians(145), 1.6), (150, 50, 50))


def icon_list(c):
    board = sd_round_rect(5, 3.5, 27, 30.5, 2)
    c.fill(sd_round_rect(6, 4.5, 28, 31.5, 2), (0, 0, 0), 0.18)
    c.fill_framed(board, vgrad(3, 30, (206, 156, 96), (170, 118, 62)), INK)
    c.fill_framed(sd_round_rect(8, 6.5, 24, 28, 0.8), PAPER, (150, 120, 90))
    clip = sd_round_rect(11.5, 1.5, 20.5, 7.5, 1.5)
    c.fill_framed(clip, vgrad(1, 8, (214, 220, 230), (150, 160, 178)), INK)
    colours = [(52, 120, 220), (60, 170, 90), (236, 150, 40), (214, 64, 72)]
    for i, col in enumerate(colours):
        y = 11.5 + i * 4.4
        c.fill(sd_circle(11.5, y, 1.5), col)
        c.fill(sd_segment(14.5, y, 21.5 - (i % 2) * 2.5, y, 1.5), (110, 118, 140))


def icon_print(c):
    shadow = sd_round_rect(3.5, 12.5, 30.5, 25.5, 2.5)
    c.fill(shadow, (0, 0, 0), 0.18)
    paper_in = sd_round_rect(8.5, 2.5, 23.5, 14, 0.6)
    c.fill_framed(paper_in, PAPER, INK)
    for y in (6, 8.8):
        c.fill(sd_segment(11, y, 21, y, 1.1), (150, 160, 185))
    body = sd_round_rect(2.5, 11.5, 29.5, 24.5, 2.5)
    c.fill_framed(body, vgrad(11, 25, (176, 186, 204), (118, 128, 150)), INK)
    c.fill(sd_round_rect(6, 14, 26, 15.3, 0.6), (230, 236, 245), 0.9)
    c.fill(sd_circle(25.5, 18, 1.5), (70, 200, 100))
    c.fill(sd_round_rect(7, 20, 25, 22.5, 0.8), (44, 50, 66))
    paper_out = sd_round_rect(8.5, 21, 23.5, 30.5, 0.6)
    c.fill_framed(paper_out, PAPER, INK)
    for i, y in enumerate((24.5, 27.3)):
        c.fill(sd_segment(11, y, 21 - i * 3, y, 1.2), (214, 64, 72) if i == 0 else (52, 120, 220))


def icon_help(c):
    disc = sd_circle(16, 16, 13.6)
    c.fill(sd_circle(17, 17, 13.6), (0, 0, 0), 0.18)
    c.fill(disc, (30, 66, 150))
    c.fill(lambda x, y: disc(x, y) + 1.2, vgrad(3, 29, (110, 170, 246), (40, 96, 200)))
    c.fill(intersect(lambda x, y: disc(x, y) + 1.2, sd_ellipse(16, 9.5, 10, 6)),
           (255, 255, 255), 0.22)
    mark = union(sd_arc(16, 12.2, 4.6, math.radians(180), math.radians(75), 3.0),
                 sd_polyline([(17.2, 16.6), (16, 18.2), (16, 19.6)], 3.0))
    c.fill(mark, PAPER)
    c.fill(sd_circle(16, 24.2, 1.9), PAPER)


def icon_exit(c):
    c.fill(sd_round_rect(4, 3, 20, 31, 1), (0, 0, 0), 0.18)
    frame = sd_round_rect(3, 2, 19, 30, 1)
    c.fill_framed(frame, (110, 74, 46), INK)
    door = sd_polygon([(5, 4), (17, 6.5), (17, 30), (5, 28)])
    c.fill(door, vgrad(4, 30, (226, 164, 96), (184, 120, 62)))
    c.fill(lambda x, y: abs(door(x, y)) - 0.5, INK)
    c.fill(sd_circle(14.8, 18.2, 1.3), (255, 220, 90))
    arrow = union(sd_segment(13, 17, 24, 17, 4.4),
                  sd_polygon([(30.5, 17), (23, 9.5), (23, 24.5)]))
    c.fill(lambda x, y: arrow(x, y) - 1.1, PAPER)
    c.fill(arrow, vgrad(9, 25, (90, 200, 110), (30, 140, 60)))


ICONS = [icon_template, icon_base, icon_mark, icon_text, icon_qr,
         icon_face, icon_list, icon_print, icon_help, icon_exit]


class ScaledCanvas(Canvas):
    """A canvas of scale x 32 pixels a side on which the pictures draw in 32 units."""

    def __init__(self, scale, colour):
        super().__init__(SIZE * scale, SIZE * scale, colour)
        self.scale = scale

    def fill(self, sdf, colour, alpha=1.0, box=None, soft=1.0, crisp=False):
        assert not crisp, "crisp filling would go through the unit-square set"
        k = self.scale
        paint = (lambda x, y: colour(x / k, y / k)) if callable(colour) else colour
        if box is not None:
            box = tuple(v * k for v in box)
        super().fill(lambda x, y: sdf(x / k, y / k) * k, paint, alpha, box, soft, crisp)

    def set(self, x, y, c):
        """Sets one unit square (the QR picture's modules are whole units)."""
        k = self.scale
        for dy in range(k):
            for dx in range(k):
                Canvas.set(self, x * k + dx, y * k + dy, c)


def toolbar_canvas(background=BACKGROUND, scale=1):
    size = SIZE * scale
    strip = Canvas(size * len(ICONS), size, background)
    for i, draw in enumerate(ICONS):
        cell = Canvas(SIZE, SIZE, background) if scale == 1 else ScaledCanvas(scale, background)
        draw(cell)
        strip.blit(cell, i * size, 0)
    return strip


def toolbar_bmp(scale=1):
    strip = toolbar_canvas(scale=scale)
    palette, indexes = quantize(strip, reserved=[BACKGROUND], avoid=SYSTEM_MAPPED)
    return strip, bmp8(strip.w, strip.h, palette, indexes)
