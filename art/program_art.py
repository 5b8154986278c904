"""Pictures built into the program: the About picture, the window icons and the photo
editor's cursors."""

import math

from raster import (Canvas, bmp24, clamp, cur, draw_text5x7, gradient, hash01, ico, intersect, mix,
                    rotated, sd_circle, sd_round_rect, sd_segment, sd_star)

# Big pixel letters of the program's name: "#" is a block, rows top to bottom.
TITLE_GLYPHS = {
    "V": ["##....##",
          "##....##",
          "##....##",
          "##....##",
          ".##..##.",
          ".##..##.",
          "..####..",
          "..####..",
          "...##..."],
    "i": ["##",
          "##",
          "..",
          "##",
          "##",
          "##",
          "##",
          "##",
          "##"],
    "v": ["........",
          "........",
          "........",
          "##....##",
          "##....##",
          ".##..##.",
          ".##..##.",
          "..####..",
          "...##..."],
    "u": ["........",
          "........",
          "........",
          "##....##",
          "##....##",
          "##....##",
          "##....##",
          "##...###",
          ".####.##"],
    "z": [".......",
          ".......",
          ".......",
          "#######",
          "....##.",
          "...##..",
          "..##...",
          ".##....",
          "#######"],
}


def title_blocks(text):
    """Block positions (column, row) of text in the title letters, and its width in columns."""
    blocks, col = [], 0
    for ch in text:
        rows = TITLE_GLYPHS[ch]
        for r, line in enumerate(rows):
            for k, cell in enumerate(line):
                if cell == "#":
                    blocks.append((col + k, r))
        col += len(rows[0]) + 1
    return blocks, col - 1


def card_face(w, h, theme=0):
    """A small business card picture used as a motif (w x h pixels)."""
    c = Canvas(w, h)
    s = w / 100.0
    if theme == 0:
        c.shade(lambda x, y: mix((255, 255, 255), (236, 242, 250), y / h))
        c.fill(lambda x, y: x - 6 * s, lambda x, y: gradient(
            [(0, (40, 110, 210)), (1, (20, 170, 180))], y / h))
        c.fill(sd_star(20 * s, 17 * s, 7.5 * s, 3.2 * s), (240, 160, 40))
        c.fill(sd_segment(32 * s, 15 * s, 70 * s, 15 * s, 3.6 * s), (50, 60, 90))
        c.fill(sd_segment(32 * s, 23 * s, 56 * s, 23 * s, 2.0 * s), (120, 130, 160))
        for i in range(3):
            y = (38 + i * 6.5) * s
            c.fill(sd_segment(14 * s, y, (62 - i * 8) * s, y, 1.6 * s), (150, 160, 180))
        qx, qy, qs = 73 * s, 33 * s, 20 * s
        cell = qs / 9
        dark, light = (40, 44, 60), (255, 255, 255)
        corners = [(0, 0), (6, 0), (0, 6)]
        for gy in range(9):
            for gx in range(9):
                near = any(fx - 1 <= gx <= fx + 3 and fy - 1 <= gy <= fy + 3
                           for fx, fy in corners)
                if not near and hash01(gx, gy, 3) < 0.5:
                    x0, y0 = qx + gx * cell, qy + gy * cell
                    c.fill(sd_round_rect(x0, y0, x0 + cell, y0 + cell, 0), dark)
        for fx, fy in corners:
            x0, y0 = qx + fx * cell, qy + fy * cell
            c.fill(sd_round_rect(x0, y0, x0 + 3 * cell, y0 + 3 * cell, 0), dark)
            c.fill(sd_round_rect(x0 + 0.5 * cell, y0 + 0.5 * cell, x0 + 2.5 * cell,
                                 y0 + 2.5 * cell, 0), light)
            c.fill(sd_round_rect(x0 + cell, y0 + cell, x0 + 2 * cell, y0 + 2 * cell, 0), dark)
    else:
        c.shade(lambda x, y: mix((214, 232, 252), (170, 204, 244), (x + y) / (w + h)))
        for k in range(3):
            amp, base = 3.0 * s, (40 + k * 7) * s
            col = [(120, 170, 230), (80, 140, 220), (50, 110, 200)][k]
            c.fill(lambda x, y, base=base, amp=amp, k=k: base + amp * math.sin(
                x / (9 * s) + k) - y, col, 0.9)
        c.fill(sd_circle(80 * s, 18 * s, 8 * s), (255, 255, 255), 0.85)
        c.fill(sd_segment(12 * s, 15 * s, 52 * s, 15 * s, 3.2 * s), (30, 60, 120))
        c.fill(sd_segment(12 * s, 23 * s, 40 * s, 23 * s, 2.0 * s), (70, 100, 160))
    return c


def about_canvas():
    w, h = 240, 105
    c = Canvas(w, h)
    top_left, bottom_right = (26, 36, 92), (14, 118, 136)
    c.shade(lambda x, y: mix(top_left, bottom_right,
                             clamp((x * 0.7 + y * 1.4) / (w * 0.7 + h * 1.4))))
    # Faint diagonal light bands and soft round lights.
    c.fill(lambda x, y: abs((x - y * 0.8) - 150) - 18, (255, 255, 255), 0.05, soft=18)
    c.fill(lambda x, y: abs((x - y * 0.8) - 200) - 6, (255, 255, 255), 0.05, soft=8)
    for cx, cy, r, a in ((30, 92, 30, 0.10), (120, 8, 26, 0.08), (228, 96, 34, 0.10),
                         (96, 88, 12, 0.08), (150, 40, 9, 0.07)):
        c.glow(cx, cy, r, (170, 230, 255), a)
    # A fine dot grid in the lower left corner.
    for gy in range(66, h, 6):
        for gx in range(4, 110, 6):
            a = 0.16 * clamp(1 - (gx / 110 + (h - gy) / 40) * 0.8)
            if a > 0:
                c.fill(sd_circle(gx + 0.5, gy + 0.5, 0.9), (200, 240, 255), a,
                       box=(gx - 2, gy - 2, gx + 3, gy + 3))
    # Two business cards, fanned.
    back = card_face(100, 61, theme=1)
    front = card_face(100, 61, theme=0)
    c.draw_image(back, 203, 42, angle=math.radians(-13), scale=0.68, corner=2.5,
                 shadow=(2, 3, 4, 0.35))
    c.draw_image(front, 190, 70, angle=math.radians(7), scale=0.76, corner=2.5,
                 shadow=(2, 3, 4, 0.40))
    # The name in big pixel letters with a shadow and a bevel.
    blocks, cols = title_blocks("Vivivuz")
    unit, ox, oy = 3, 12, 12
    for col, row in blocks:
        x, y = ox + col * unit, oy + row * unit
        c.fill(sd_round_rect(x + 2, y + 2, x + unit + 2, y + unit + 2, 0.3), (6, 12, 40), 0.55,
               box=(x, y, x + unit + 4, y + unit + 4))
    filled = set(blocks)
    for col, row in blocks:
        x, y = ox + col * unit, oy + row * unit
        colour = gradient([(0, (255, 240, 160)), (0.5, (255, 200, 80)), (1, (246, 140, 52))],
                          row / 8)
        for yy in range(unit):
            for xx in range(unit):
                shade = 1.0
                if (yy == 0 and (col, row - 1) not in filled) or (
                        xx == 0 and (col - 1, row) not in filled):
                    shade = 1.15
                elif (yy == unit - 1 and (col, row + 1) not in filled) or (
                        xx == unit - 1 and (col + 1, row) not in filled):
                    shade = 0.82
                c.set(x + xx, y + yy, tuple(min(255, v * shade) for v in colour))
    # A thin rule and the subtitle.
    rule_y = oy + 9 * unit + 6
    c.fill(sd_segment(13, rule_y, 13 + cols * unit - 30, rule_y, 1.0),
           lambda x, y: mix((255, 200, 80), (120, 220, 230), (x - 13) / (cols * unit)))
    draw_text5x7(c, "CARD DESIGNER", 13, rule_y + 6, (214, 240, 248))
    for i, col in enumerate(((240, 90, 90), (255, 190, 60), (80, 200, 120), (90, 160, 250))):
        x = 13 + i * 9
        c.fill(sd_round_rect(x, rule_y + 19, x + 6, rule_y + 25, 1.5), col, 0.95)
    return c


def about_bmp():
    c = about_canvas()
    return c, bmp24(c)


# ---------------------------------------------------------------- icons

def draw_icon(c, size):
    """The program's icon: a business card in front of a second one."""
    s = size / 32.0
    if size <= 16:
        # Edges on whole pixels keep the small icon crisp.
        back = sd_round_rect(3, 1, 16, 10, 1)
        c.fill(back, (30, 70, 150))
        c.fill(lambda x, y: back(x, y) + 1, (100, 160, 236))
        c.fill(sd_round_rect(4, 6, 15, 7, 0), (255, 255, 255), 0.5)
        card = sd_round_rect(0, 5, 15, 15, 1)
        c.fill(card, (56, 62, 84))
        c.fill(lambda x, y: card(x, y) + 1, (255, 255, 255))
        c.fill(sd_round_rect(1, 6, 3, 14, 0), (222, 56, 64))
        c.fill(sd_star(6.5, 9.3, 3.3, 1.45), (240, 146, 20))
        c.fill(sd_round_rect(9, 8, 14, 9, 0), (56, 66, 100))
        c.fill(sd_round_rect(5, 12, 13, 13, 0), (150, 160, 184))
        return
    back = rotated(sd_round_rect(5 * s, 3 * s, 30 * s, 19 * s, 2 * s), 17.5 * s, 11 * s,
                   math.radians(-12))
    c.fill(back, (30, 70, 150))
    c.fill(lambda x, y: back(x, y) + 1, lambda x, y: mix((110, 170, 240), (50, 110, 210),
                                                       y / (20 * s)))
    for k in range(2):
        wave = lambda x, y, k=k: (14 + k * 2.5) * s + 1.2 * s * math.sin(x / (2.5 * s) + k) - y
        c.fill(intersect(lambda x, y: back(x, y) + 1, wave), (255, 255, 255), 0.25)
    c.fill(rotated(sd_round_rect(2 * s, 11 * s, 31 * s, 30 * s, 2 * s), 16.5 * s, 20.5 * s,
                   math.radians(3)), (0, 0, 0), 0.3, soft=2 * s)
    card = rotated(sd_round_rect(1 * s, 10 * s, 30 * s, 29 * s, 2 * s), 15.5 * s, 19.5 * s,
                   math.radians(3))
    inner = lambda x, y: card(x, y) + 1
    c.fill(card, (56, 62, 84))
    c.fill(inner, lambda x, y: mix((255, 255, 255), (232, 238, 246), (y - 10 * s) / (19 * s)))
    c.fill(intersect(inner, lambda x, y: x - 5 * s - (y - 10 * s) * 0.05), lambda x, y: mix(
        (240, 80, 80), (210, 40, 70), (y - 10 * s) / (19 * s)))
    c.fill(sd_star(11.5 * s, 16 * s, 4.2 * s, 1.8 * s), (245, 160, 30))
    c.fill(sd_segment(17 * s, 15.5 * s, 26.5 * s, 16 * s, 2.0 * s), (56, 66, 100))
    c.fill(sd_segment(9 * s, 21.5 * s, 24 * s, 22.3 * s, 1.3 * s), (140, 150, 175))
    c.fill(sd_segment(9 * s, 25 * s, 20 * s, 25.6 * s, 1.3 * s), (140, 150, 175))


def icon_image(size):
    """The icon drawn at size, with its colours and per-pixel opacity."""
    on_black, on_white = Canvas(size, size, (0, 0, 0)), Canvas(size, size, (255, 255, 255))
    draw_icon(on_black, size)
    draw_icon(on_white, size)
    out = Canvas(size, size)
    alpha = []
    for y in range(size):
        for x in range(size):
            b, wcol = on_black.get(x, y), on_white.get(x, y)
            a = clamp(1 - ((wcol[0] - b[0]) + (wcol[1] - b[1]) + (wcol[2] - b[2])) / (3 * 255))
            alpha.append(a)
            out.set(x, y, tuple(clamp(v / a, 0, 255) if a > 0 else 0 for v in b))
    return out, alpha


def icon_files():
    large = ico([icon_image(32), icon_image(48)])
    small = ico([icon_image(16)])
    return large, small


# The photo editor's cursors: "#" black, "o" white, blank transparent.
MOVE_CURSOR = [
    "           #",
    "          #o#",
    "         #ooo#",
    "        #ooooo#",
    "       #########",
    "           #o#",
    "     #     #o#     #",
    "    ##     #o#     ##",
    "   #o#     #o#     #o#",
    "  #oo#######o#######oo#",
    " #ooooooooooooooooooooo#",
    "  #oo#######o#######oo#",
    "   #o#     #o#     #o#",
    "    ##     #o#     ##",
    "     #     #o#     #",
    "           #o#",
    "       #########",
    "        #ooooo#",
    "         #ooo#",
    "          #o#",
    "           #",
]

ZOOM_CURSOR = [
    "     #####",
    "   ##ooooo##",
    "  #ooooooooo#",
    " #oooo#oooooo#",
    " #oooo#oooooo#",
    "#oooo###ooooo#",
    "#ooo#######oo#",
    "#oooo###ooooo#",
    "#ooooo#oooooo#",
    " #ooooooooooo#",
    " #oooooooooo#",
    "  #ooooooooo##",
    "   ##ooooo##o##",
    "     #####  #oo#",
    "             #oo#",
    "              #oo#",
    "               #oo#",
    "                #o#",
    "                 #",
]


def cursor_files():
    """The move cursor (hot spot in its centre) and the zoom cursor (hot spot in the lens)."""
    return cur(MOVE_CURSOR, (11, 10)), cur(ZOOM_CURSOR, (6, 6))
