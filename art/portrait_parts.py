"""Part pictures of the portrait composer (the kao folder).

File names are "kao-<category>-<name>.bmp" with the category as one lower-case
hexadecimal digit: 0 back hair, 1 face, 2 others, 3 eyes, 4 eyebrows, 5 nose,
6 mouth, 7 ears, 9 moustache, a beard, b hair (front), c glasses. Every hair
file "kao-b-X" has its back part "kao-0-X".

How the composer treats the pictures, and so how they are drawn:
- pure white (255, 255, 255) is transparent;
- in a face picture every pixel that is neither pure black nor pure white takes
  the chosen skin colour, so faces are a black outline around a grey fill;
- in every other part pure black takes the chosen colour (black by default),
  other colours stay as drawn;
- eyes, eyebrows and ears are drawn as a mirrored pair: the picture is the one
  on the left of the face, its mirror image goes on the right;
- among the others, a name whose first character is 0 is a pair too (at eye
  height when the second character is also 0, lower otherwise).
Edges are whole pixels (no blending), so the colour rules above hold exactly.
The background the parts are placed on is 80 x 100 pixels.
"""

import math

from raster import (Canvas, intersect, sd_arc, sd_circle, sd_ellipse, sd_polygon,
                    sd_polyline, sd_round_rect, sd_segment, subtract, union)

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
FACE_FILL = (200, 200, 200)
SKIN = (255, 222, 190)
EYE_WHITE = (248, 248, 248)
LENS_TINT = (70, 80, 110)
CHEEK = (255, 170, 170)
TONGUE = (224, 92, 96)
MOUTH_INSIDE = (150, 40, 50)


def part(w, h):
    return Canvas(w, h, WHITE)


def outlined(c, shape, fill, width=2.0):
    """A black outline of the given width around a filled shape, whole pixels only."""
    c.fill(shape, BLACK, crisp=True)
    c.fill(lambda x, y: shape(x, y) + width, fill, crisp=True)


# ---------------------------------------------------------------- faces (1)

def face_round():
    c = part(80, 100)
    neck = sd_round_rect(30, 76, 50, 101, 3)
    outlined(c, neck, FACE_FILL)
    outlined(c, sd_ellipse(40, 55, 26, 31), FACE_FILL)
    return c


def face_oval():
    c = part(80, 100)
    outlined(c, sd_round_rect(31, 78, 49, 101, 3), FACE_FILL)
    head = union(sd_ellipse(40, 52, 24, 30), sd_ellipse(40, 66, 19, 22))
    outlined(c, head, FACE_FILL)
    return c


def face_square():
    c = part(80, 100)
    outlined(c, sd_round_rect(29, 78, 51, 101, 3), FACE_FILL)
    head = union(intersect(sd_ellipse(40, 50, 27, 30), lambda x, y: y - 62),
                 sd_round_rect(14, 44, 66, 84, 12))
    outlined(c, head, FACE_FILL)
    return c


# ---------------------------------------------------------------- hair (b front, 0 back)

def hair_short_front():
    c = part(80, 100)
    fringe = lambda x: 37 + 4 * abs(math.sin((x - 14) * 0.24)) - max(0.0, 26 - x) * 0.3
    cap = intersect(sd_ellipse(40, 48, 29, 32), lambda x, y: y - fringe(x))
    sides = union(sd_round_rect(12, 30, 18, 52, 3), sd_round_rect(62, 30, 68, 52, 3))
    c.fill(union(cap, sides), BLACK, crisp=True)
    return c


def hair_short_back():
    c = part(80, 100)
    c.fill(intersect(sd_ellipse(40, 46, 30, 30), lambda x, y: y - 58), BLACK, crisp=True)
    return c


def hair_long_front():
    c = part(80, 100)
    part_line = lambda x: 36 + (x - 30) * 0.25 if x > 30 else 36 + (30 - x) * 0.5
    cap = intersect(sd_ellipse(40, 48, 29, 32), lambda x, y: y - part_line(x))
    locks = union(sd_round_rect(11, 34, 19, 80, 4), sd_round_rect(61, 34, 69, 80, 4))
    c.fill(union(cap, locks), BLACK, crisp=True)
    return c


def hair_long_back():
    c = part(80, 100)
    back = union(sd_ellipse(40, 48, 31, 32), sd_round_rect(9, 48, 71, 92, 10))
    c.fill(back, BLACK, crisp=True)
    return c


def hair_spiky_front():
    c = part(80, 100)
    spikes = []
    for i in range(7):
        x = 14 + i * 8.5
        top = 12 + abs(i - 3) * 3.5
        spikes.append(sd_polygon([(x - 7, 36), (x + 1, top), (x + 8, 36)]))
    cap = intersect(sd_ellipse(40, 46, 28, 26), lambda x, y: y - 38 - 3 * math.sin(x * 0.7))
    c.fill(union(cap, *spikes), BLACK, crisp=True)
    return c


def hair_spiky_back():
    c = part(80, 100)
    c.fill(intersect(sd_ellipse(40, 44, 28, 24), lambda x, y: y - 50), BLACK, crisp=True)
    return c


def hair_bun_front():
    c = part(80, 100)
    bun = sd_circle(40, 14, 10)
    cap = intersect(sd_ellipse(40, 48, 28, 30), lambda x, y: y - 34 - 0.04 * abs(x - 40) ** 1.4)
    c.fill(union(cap, bun), BLACK, crisp=True)
    c.fill(sd_round_rect(33, 22, 47, 25, 1), (220, 60, 80), crisp=True)
    return c


def hair_bun_back():
    c = part(80, 100)
    c.fill(intersect(sd_ellipse(40, 46, 29, 30), lambda x, y: y - 56), BLACK, crisp=True)
    return c


# ---------------------------------------------------------------- eyes (3)

def eye_round():
    c = part(14, 12)
    outlined(c, sd_ellipse(7, 6, 6.4, 5.4), EYE_WHITE, 1.2)
    c.fill(sd_circle(7.5, 6.5, 3.2), BLACK, crisp=True)
    c.fill(sd_circle(6.2, 5.0, 1.1), EYE_WHITE, crisp=True)
    return c


def eye_smile():
    c = part(14, 8)
    c.fill(sd_arc(7, 8, 5.5, math.radians(200), math.radians(340), 2.0), BLACK, crisp=True)
    return c


def eye_dot():
    c = part(8, 8)
    c.fill(sd_circle(4, 4, 3.2), BLACK, crisp=True)
    c.fill(sd_circle(3, 3, 1.0), EYE_WHITE, crisp=True)
    return c


def eye_lashes():
    c = part(16, 12)
    outlined(c, sd_ellipse(8.5, 7, 6.2, 4.5), EYE_WHITE, 1.2)
    c.fill(sd_circle(9, 7.4, 2.8), BLACK, crisp=True)
    c.fill(sd_circle(8.1, 6.3, 0.9), EYE_WHITE, crisp=True)
    c.fill(sd_segment(2.5, 5, 0.8, 2.2, 1.3), BLACK, crisp=True)
    c.fill(sd_segment(4.5, 3.3, 3.4, 0.8, 1.3), BLACK, crisp=True)
    return c


def eye_sleepy():
    c = part(14, 8)
    c.fill(sd_arc(7, 0, 5.5, math.radians(20), math.radians(160), 1.8), BLACK, crisp=True)
    return c


def eye_wide():
    c = part(16, 14)
    outlined(c, sd_circle(8, 7, 6.2), EYE_WHITE, 1.2)
    c.fill(sd_circle(8, 7.5, 3.6), (70, 110, 160), crisp=True)
    c.fill(sd_circle(8, 7.5, 1.8), BLACK, crisp=True)
    c.fill(sd_circle(6.6, 5.8, 1.0), EYE_WHITE, crisp=True)
    return c


# ---------------------------------------------------------------- eyebrows (4)

def brow_thick():
    c = part(16, 6)
    c.fill(sd_polyline([(1.5, 4.5), (6, 1.8), (14.5, 2.6)], 2.8), BLACK, crisp=True)
    return c


def brow_thin():
    c = part(16, 6)
    c.fill(sd_arc(8, 8, 7, math.radians(215), math.radians(325), 1.4), BLACK, crisp=True)
    return c


def brow_angry():
    c = part(16, 6)
    c.fill(sd_segment(2, 1.8, 14.5, 4.5, 2.6), BLACK, crisp=True)
    return c


# ---------------------------------------------------------------- noses (5), mouths (6), ears (7)

def nose_line():
    c = part(10, 12)
    c.fill(sd_polyline([(5.5, 1), (3, 9), (6.5, 10.5)], 1.3), BLACK, crisp=True)
    return c


def nose_round():
    c = part(10, 8)
    c.fill(sd_arc(5, 2, 4.2, math.radians(20), math.radians(160), 1.4), BLACK, crisp=True)
    return c


def nose_dots():
    c = part(10, 6)
    c.fill(union(sd_circle(3, 3, 1.2), sd_circle(7, 3, 1.2)), BLACK, crisp=True)
    return c


def mouth_smile():
    c = part(22, 8)
    c.fill(sd_arc(11, -3, 9.5, math.radians(30), math.radians(150), 1.8), BLACK, crisp=True)
    return c


def mouth_open():
    c = part(22, 12)
    shape = intersect(sd_circle(11, 1, 10), lambda x, y: 2 - y)
    outlined(c, shape, MOUTH_INSIDE, 1.4)
    c.fill(intersect(lambda x, y: shape(x, y) + 1.4, sd_circle(11, 13, 5)), TONGUE, crisp=True)
    return c


def mouth_small():
    c = part(14, 4)
    c.fill(sd_segment(2, 2, 12, 2, 1.6), BLACK, crisp=True)
    return c


def ear_plain():
    c = part(10, 18)
    ear = sd_ellipse(6, 9, 5, 8)
    outlined(c, ear, SKIN, 1.2)
    c.fill(sd_arc(6.5, 9, 2.6, math.radians(120), math.radians(250), 1.1), BLACK, crisp=True)
    # Where the ear meets the cheek the face's own outline is enough.
    c.fill(sd_round_rect(9, 2, 10, 16, 0), WHITE, crisp=True)
    return c


# ---------------------------------------------------------------- moustaches (9), beards (a)

def moustache_full():
    c = part(26, 8)
    shape = union(sd_ellipse(8, 4, 7.5, 3.2), sd_ellipse(18, 4, 7.5, 3.2))
    c.fill(subtract(shape, sd_circle(13, 8.5, 2.5)), BLACK, crisp=True)
    return c


def moustache_thin():
    c = part(26, 6)
    c.fill(sd_polyline([(2, 4.5), (7, 1.8), (13, 2.6), (19, 1.8), (24, 4.5)], 1.6), BLACK,
           crisp=True)
    return c


def beard_full():
    c = part(52, 26)
    c.fill(subtract(sd_ellipse(26, 2, 25, 22), sd_ellipse(26, 4, 12, 6)), BLACK, crisp=True)
    return c


def beard_goatee():
    c = part(52, 26)
    c.fill(sd_ellipse(26, 16, 7, 8), BLACK, crisp=True)
    c.fill(sd_ellipse(26, 8, 6, 2.2), WHITE, crisp=True)
    return c


# ---------------------------------------------------------------- glasses (c)

def glasses_round():
    c = part(56, 18)
    for cx in (15, 41):
        c.fill(lambda x, y, cx=cx: abs(math.hypot(x - cx, y - 9) - 7.5) - 0.9, BLACK,
               crisp=True)
    c.fill(sd_arc(28, 10, 5, math.radians(200), math.radians(340), 1.6), BLACK, crisp=True)
    c.fill(union(sd_segment(1, 7, 7.5, 8, 1.6), sd_segment(48.5, 8, 55, 7, 1.6)), BLACK,
           crisp=True)
    return c


def glasses_square():
    c = part(56, 16)
    for cx in (15, 41):
        frame = sd_round_rect(cx - 9, 2, cx + 9, 14, 2.5)
        c.fill(lambda x, y, f=frame: abs(f(x, y) + 0.9) - 0.9, BLACK, crisp=True)
    c.fill(sd_segment(24, 6, 32, 6, 1.6), BLACK, crisp=True)
    c.fill(union(sd_segment(0.5, 5, 6, 5, 1.6), sd_segment(50, 5, 55.5, 5, 1.6)), BLACK,
           crisp=True)
    return c


def glasses_sun():
    c = part(56, 16)
    for cx in (15, 41):
        lens = sd_round_rect(cx - 10, 2, cx + 10, 14, 5)
        outlined(c, lens, LENS_TINT, 1.4)
        c.fill(sd_segment(cx - 5, 5, cx - 2, 5, 1.2), (150, 160, 190), crisp=True)
    c.fill(sd_segment(24, 5, 32, 5, 1.6), BLACK, crisp=True)
    return c


# ---------------------------------------------------------------- others (2)

def other_lashes_pair():
    """Lashes above the eyes (a pair at eye height: name begins with 00)."""
    c = part(16, 18)
    for x0, x1, y1 in ((3, 1, 1), (6, 5, 0), (9, 9.5, 0)):
        c.fill(sd_segment(x0, 5, x1, y1 + 1, 1.2), BLACK, crisp=True)
    return c


def other_cheeks_pair():
    """Rosy cheeks (a lower pair: name begins with 0 and then another digit)."""
    c = part(12, 6)
    c.fill(sd_ellipse(6, 3, 5.5, 2.6), CHEEK, crisp=True)
    return c


def other_freckles_pair():
    """Freckles under the eyes (a lower pair)."""
    c = part(12, 6)
    for x, y in ((2, 2), (5, 4), (8, 2), (10, 4.5)):
        c.fill(sd_circle(x, y, 0.9), (170, 110, 70), crisp=True)
    return c


def other_hairpin():
    """A flower hairpin, drawn once (the name begins with 1)."""
    c = part(40, 60)
    for i in range(5):
        a = math.radians(90 + 72 * i)
        c.fill(sd_circle(30 + 3.2 * math.cos(a), 12 - 3.2 * math.sin(a), 2.6), (240, 120, 160), crisp=True)
    c.fill(sd_circle(30, 12, 1.8), (250, 210, 60), crisp=True)
    return c


def other_mole():
    c = part(30, 20)
    c.fill(sd_circle(24, 15, 1.3), BLACK, crisp=True)
    return c


def other_bandage():
    c = part(30, 14)
    band = sd_round_rect(14, 3, 28, 9, 3)
    outlined(c, band, (240, 200, 160), 1.0)
    c.fill(sd_round_rect(19, 4, 23, 8, 1), (250, 226, 200), crisp=True)
    return c


PARTS = [
    ("kao-1-001.bmp", face_round),
    ("kao-1-002.bmp", face_oval),
    ("kao-1-003.bmp", face_square),
    ("kao-b-001.bmp", hair_short_front),
    ("kao-0-001.bmp", hair_short_back),
    ("kao-b-002.bmp", hair_long_front),
    ("kao-0-002.bmp", hair_long_back),
    ("kao-b-003.bmp", hair_spiky_front),
    ("kao-0-003.bmp", hair_spiky_back),
    ("kao-b-004.bmp", hair_bun_front),
    ("kao-0-004.bmp", hair_bun_back),
    ("kao-3-001.bmp", eye_round),
    ("kao-3-002.bmp", eye_smile),
    ("kao-3-003.bmp", eye_dot),
    ("kao-3-004.bmp", eye_lashes),
    ("kao-3-005.bmp", eye_sleepy),
    ("kao-3-006.bmp", eye_wide),
    ("kao-4-001.bmp", brow_thick),
    ("kao-4-002.bmp", brow_thin),
    ("kao-4-003.bmp", brow_angry),
    ("kao-5-001.bmp", nose_line),
    ("kao-5-002.bmp", nose_round),
    ("kao-5-003.bmp", nose_dots),
    ("kao-6-001.bmp", mouth_smile),
    ("kao-6-002.bmp", mouth_open),
    ("kao-6-003.bmp", mouth_small),
    ("kao-7-001.bmp", ear_plain),
    ("kao-9-001.bmp", moustache_full),
    ("kao-9-002.bmp", moustache_thin),
    ("kao-a-001.bmp", beard_full),
    ("kao-a-002.bmp", beard_goatee),
    ("kao-c-001.bmp", glasses_round),
    ("kao-c-002.bmp", glasses_square),
    ("kao-c-003.bmp", glasses_sun),
    ("kao-2-001.bmp", other_lashes_pair),
    ("kao-2-011.bmp", other_cheeks_pair),
    ("kao-2-101.bmp", other_mole),
    ("kao-2-102.bmp", other_bandage),
    ("kao-2-012.bmp", other_freckles_pair),
    ("kao-2-103.bmp", other_hairpin),
]
