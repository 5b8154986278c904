"""Pictures of the start folder: card backgrounds (base), logos (mark), face
pictures (phot) and the sheet and card pictures of the print layout preview.

Each function returns a Canvas; make_art.py decides the file name and format.
"""

import math

from raster import (Canvas, Random, clamp, draw_text5x7, fractal_noise, gradient, hash01,
                    intersect, mix, rotated, sd_arc, sd_circle, sd_ellipse, sd_polygon, sd_polyline,
                    sd_round_rect, sd_segment, sd_star, smoothstep, subtract, union,
                    value_noise)
from program_art import card_face

WHITE = (255, 255, 255)


# ---------------------------------------------------------------- base pictures

def base_waves(w=455, h=275):
    """Light sky-to-sea gradient with layered waves along the bottom."""
    s = w / 455.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix((253, 254, 255), (228, 242, 249), (y / h) ** 1.5))
    # Fine diagonal pinstripes fading out from the top right corner.
    def stripes(x, y):
        fade = clamp(1 - math.hypot(w - x, y) / (260 * s))
        band = 0.5 + 0.5 * math.cos((x + y) * 2 * math.pi / (7 * s))
        return fade * smoothstep(0.75, 1.0, band)
    for y in range(int(150 * s)):
        for x in range(int(w - 270 * s), w):
            a = stripes(x + 0.5, y + 0.5) * 0.22
            if a > 0:
                c.blend_pixel(x, y, (120, 180, 215), a)
    # A soft sun.
    c.glow(380 * s, 58 * s, 70 * s, (255, 244, 210), 0.55)
    layers = [
        (196, 11, 0.021, 0.0, ((196, 230, 242), (150, 210, 232)), 0.9),
        (214, 13, 0.017, 1.7, ((120, 196, 226), (70, 160, 210)), 0.92),
        (232, 10, 0.025, 3.1, ((54, 148, 206), (28, 104, 176)), 0.95),
        (252, 8, 0.019, 4.4, ((26, 100, 170), (16, 66, 132)), 1.0),
    ]
    for base, amp, freq, phase, (top, bottom), alpha in layers:
        base, amp, freq = base * s, amp * s, freq / s
        top_y = base - amp

        def wave(x, y, base=base, amp=amp, freq=freq, phase=phase):
            return base + amp * math.sin(x * freq + phase) + amp * 0.35 * math.sin(
                x * freq * 2.3 + phase * 1.7) - y
        c.fill(wave, lambda x, y, top=top, bottom=bottom, top_y=top_y: mix(
            top, bottom, clamp((y - top_y) / (h - top_y))), alpha,
            box=(0, top_y - amp - 2, w, h))
        # A light crest along each wave.
        c.fill(lambda x, y, f=wave: abs(f(x, y) + 1.2 * s) - 0.7 * s, (255, 255, 255), 0.45,
               box=(0, top_y - amp - 2, w, h))
    # A thin gold line riding above the waves.
    gold = lambda x, y: abs(186 * s + 9 * s * math.sin(x * 0.019 / s + 0.8) - y) - 0.8 * s
    c.fill(gold, (214, 170, 70), 0.85, box=(0, 170 * s, w, 200 * s))
    return c


def base_geometric(w=910, h=550):
    """Crisp triangles in navy and blue in the top left, an orange accent bottom right."""
    s = w / 455.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix((255, 255, 255), (242, 244, 248), (x + y) / (w + h)))
    tris = [
        ([(0, 0), (190, 0), (0, 150)], ((30, 50, 110), (50, 90, 170)), 1.0),
        ([(0, 0), (120, 0), (0, 230)], ((40, 110, 200), (70, 150, 230)), 0.75),
        ([(60, 0), (250, 0), (150, 70)], ((90, 160, 230), (150, 200, 245)), 0.7),
        ([(0, 120), (80, 90), (0, 275)], ((20, 40, 90), (40, 70, 140)), 0.55),
    ]
    for pts, (c0, c1), alpha in tris:
        pts = [(x * s, y * s) for x, y in pts]
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        c.fill(sd_polygon(pts), lambda x, y, c0=c0, c1=c1: mix(c0, c1, clamp(
            (x + y) / (300 * s))), alpha, box=(min(xs), min(ys), max(xs) + 1, max(ys) + 1))
    accent = [(455 * s, 275 * s), (455 * s, 200 * s), (370 * s, 275 * s)]
    c.fill(sd_polygon(accent), lambda x, y: mix((250, 170, 60), (236, 110, 40),
                                               (y - 200 * s) / (75 * s)),
           box=(360 * s, 195 * s, w, h))
    accent2 = [(455 * s, 240 * s), (455 * s, 170 * s), (400 * s, 275 * s), (420 * s, 275 * s)]
    c.fill(sd_polygon(accent2), (250, 200, 110), 0.5, box=(390 * s, 165 * s, w, h))
    for k in range(4):
        off = (215 + k * 9) * s
        c.fill(lambda x, y, off=off: abs(x + y * 0.8 - off) - 0.6 * s, (60, 100, 170), 0.25,
               box=(0, 0, off + 2, off / 0.8 + 2))
    return c


def sakura_flower(c, cx, cy, r, angle, petal, centre, s=1.0, alpha=1.0):
    petals = []
    for i in range(5):
        a = angle + i * 2 * math.pi / 5
        px, py = cx + math.cos(a) * r * 0.55, cy + math.sin(a) * r * 0.55
        e = rotated(sd_ellipse(px, py, r * 0.5, r * 0.36), px, py, a)
        notch = sd_circle(cx + math.cos(a) * r * 1.08, cy + math.sin(a) * r * 1.08, r * 0.14)
        petals.append(subtract(e, notch))
    shape = union(*petals)
    box = (cx - r * 1.2, cy - r * 1.2, cx + r * 1.2, cy + r * 1.2)
    c.fill(shape, lambda x, y: mix(centre, petal, clamp(math.hypot(x - cx, y - cy) / r)),
           alpha, box=box)
    c.fill(lambda x, y: abs(shape(x, y) + 0.4 * s) - 0.4 * s, (235, 150, 170), 0.35 * alpha,
           box=box)
    for i in range(5):
        a = angle + (i + 0.5) * 2 * math.pi / 5
        c.fill(sd_segment(cx, cy, cx + math.cos(a) * r * 0.32, cy + math.sin(a) * r * 0.32,
                          max(0.6 * s, r * 0.04)), (210, 90, 120), 0.7 * alpha, box=box)
    c.fill(sd_circle(cx, cy, r * 0.1), (240, 200, 90), alpha, box=box)


def base_sakura(w=455, h=275):
    s = w / 455.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix((255, 250, 250), (252, 236, 240),
                             clamp(x / w * 0.8 + y / h * 0.2)))
    # Washi fibres: faint long noise strands over a fine grain.
    for y in range(h):
        for x in range(w):
            n = fractal_noise(x / (40.0 * s), y / (7.0 * s), 11, 3)
            f = smoothstep(0.62, 0.8, n) * 0.10
            if f > 0:
                c.blend_pixel(x, y, (255, 255, 255), f * 3)
            t = fractal_noise(x / (3.0 * s), y / (3.0 * s), 5, 2)
            c.blend_pixel(x, y, (200, 170, 175), (t - 0.5) * 0.06 if t > 0.5 else 0)
    # A branch from the top right corner.
    pts = lambda *ps: [(x * s, y * s) for x, y in ps]
    branch = sd_polyline(pts((470, -10), (420, 30), (380, 48), (340, 52)), 5.0 * s)
    twig = sd_polyline(pts((420, 30), (405, 70), (396, 92)), 3.0 * s)
    twig2 = sd_polyline(pts((380, 48), (362, 24)), 2.4 * s)
    c.fill(union(branch, twig, twig2), (110, 76, 70), 0.9, box=(330 * s, 0, w, 100 * s))
    rnd = Random(7)
    flowers = [(340, 50, 15), (372, 30, 12), (398, 92, 13), (410, 62, 17), (438, 20, 14),
               (362, 22, 9), (446, 58, 10), (392, 14, 8)]
    for cx, cy, r in flowers:
        sakura_flower(c, cx * s, cy * s, r * 1.3 * s, rnd.uniform(0, 6.3), (255, 214, 226),
                      (255, 246, 248), s)
    # Falling petals across the card.
    for _ in range(16):
        x, y = rnd.uniform(200, 450) * s, rnd.uniform(90, 270) * s
        r, a = rnd.uniform(3, 6) * s, rnd.uniform(0, 6.3)
        petal = rotated(subtract(sd_ellipse(x, y, r, r * 0.62),
                                 sd_circle(x + r * 1.05, y, r * 0.3)),
                        x, y, a)
        c.fill(petal, (250, 190, 208), rnd.uniform(0.5, 0.85),
               box=(x - 8 * s, y - 8 * s, x + 8 * s, y + 8 * s))
    # A thin vermilion rule at the left.
    c.fill(lambda x, y: abs(x - 18 * s) - 1.0 * s, (200, 70, 60), 0.8, box=(0, 0, 30 * s, h))
    c.fill(lambda x, y: abs(x - 23 * s) - 0.5 * s, (200, 70, 60), 0.5, box=(0, 0, 30 * s, h))
    return c


def base_mountains(w=910, h=550):
    """A watercolour sky over misty blue mountain ridges."""
    s = w / 455.0
    c = Canvas(w, h)

    def sky(x, y):
        t = y / h
        col = gradient([(0, (206, 228, 248)), (0.45, (240, 246, 252)), (0.7, (252, 240, 226)),
                        (1, (250, 226, 206))], t)
        n = fractal_noise(x / (60 * s), y / (25 * s), 3, 4)
        return mix(col, (255, 255, 255), smoothstep(0.55, 0.75, n) * 0.6 * (1 - t))
    c.shade(sky)
    c.glow(340 * s, 160 * s, 80 * s, (255, 236, 200), 0.6)
    ridges = [(190, 26, 0.011, 1, (176, 196, 222), 0.75),
              (210, 22, 0.015, 2, (130, 160, 200), 0.8),
              (232, 18, 0.02, 3, (88, 120, 170), 0.85),
              (252, 12, 0.026, 4, (52, 80, 130), 0.92)]
    for base, amp, freq, seed, col, alpha in ridges:
        base, amp, freq = base * s, amp * s, freq / s

        def ridge(x, y, base=base, amp=amp, freq=freq, seed=seed):
            n = fractal_noise(x * freq, seed * 3.1, seed, 4)
            return base - amp * (n * 2.2 - 0.6) - y
        c.fill(ridge, lambda x, y, col=col, base=base: mix(col, (236, 240, 246), clamp(
            (y - base + 10 * s) / (70 * s)) * 0.5), alpha, box=(0, base - amp * 2, w, h))
    # Two birds.
    for bx, by, bs in ((120, 88, 1.0), (138, 80, 0.8)):
        bx, by, bs = bx * s, by * s, bs * s
        c.fill(union(sd_arc(bx - 5 * bs, by + 3 * bs, 5 * bs, math.radians(200), math.radians(320),
                            1.1 * s),
                     sd_arc(bx + 5 * bs, by + 3 * bs, 5 * bs, math.radians(220), math.radians(340),
                            1.1 * s)), (70, 80, 100), 0.8,
               box=(bx - 12 * s, by - 6 * s, bx + 12 * s, by + 8 * s))
    return c


def base_seigaiha(w=275, h=455):
    """Washi-like cream paper with a band of wave scales at the left; lengths follow the
    card's short side, so a lying card has the standing one's band."""
    s = min(w, h) / 275.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix((252, 249, 240), (245, 240, 226), y / h))
    for y in range(h):
        for x in range(w):
            n = value_noise(x / (2.5 * s), y / (2.5 * s), 21)
            c.blend_pixel(x, y, (210, 196, 170), (n - 0.5) * 0.12 if n > 0.5 else 0)
    band = 62 * s
    indigo, light = (34, 52, 104), (236, 240, 250)
    r = 12.0 * s

    def scale_colour(px, py):
        """The colour of the wave scales at a point: the nearest lower circle centre wins."""
        row = math.floor(py / (r * 0.5))
        best = None
        for rr in (row + 1, row + 2, row + 3):
            cy = rr * r * 0.5
            shift = (rr % 2) * r
            cx = round((px - shift) / (2 * r)) * 2 * r + shift
            d = math.hypot(px - cx, py - cy)
            if d < r:
                best = d
        if best is None:
            return None
        ring = (best / r) * 4
        k = ring - math.floor(ring)
        col = indigo if math.floor(ring) % 2 == 0 else mix(indigo, light, 0.85)
        if k < 0.2 or k > 0.8:
            col = mix(col, light if math.floor(ring) % 2 == 0 else indigo, 0.25)
        return col

    # Three by three samples a pixel smooth the rings' edges.
    offsets = [(i + 0.5) / 3 for i in range(3)]
    for y in range(h):
        for x in range(int(math.ceil(band))):
            acc, hits = [0.0, 0.0, 0.0], 0
            for oy in offsets:
                for ox in offsets:
                    col = scale_colour(x + ox, y + oy)
                    if col is not None:
                        acc = [acc[k] + col[k] for k in range(3)]
                        hits += 1
            if hits:
                c.blend_pixel(x, y, tuple(v / hits for v in acc), hits / 9 * clamp(band - x))
    c.fill(lambda x, y: abs(x - band - 3.5 * s) - 1.2 * s, (196, 160, 80),
           box=(band, 0, band + 10 * s, h))
    c.fill(lambda x, y: abs(x - band - 7.5 * s) - 0.5 * s, (196, 160, 80), 0.7,
           box=(band, 0, band + 10 * s, h))
    return c


def base_bokeh(w=550, h=910):
    """A portrait card with a pastel gradient and soft round lights."""
    s = w / 275.0
    c = Canvas(w, h)
    c.shade(lambda x, y: gradient([(0, (214, 246, 236)), (0.5, (236, 236, 252)),
                                   (1, (250, 226, 242))], clamp((y * 0.8 + x * 0.4) / (h * 0.9))))
    rnd = Random(31)
    for _ in range(26):
        x, y = rnd.uniform(-20, 295) * s, rnd.uniform(-20, 475) * s
        if 40 * s < x < 235 * s and 150 * s < y < 330 * s:
            continue
        r = rnd.uniform(10, 42) * s
        col = [(255, 255, 255), (200, 230, 255), (255, 220, 240),
               (210, 250, 230)][rnd.randint(0, 3)]
        a = rnd.uniform(0.18, 0.45)
        c.fill(sd_circle(x, y, r), col, a, box=(x - r - 2, y - r - 2, x + r + 2, y + r + 2),
               soft=2 * s)
        c.fill(lambda px, py, x=x, y=y, r=r: abs(math.hypot(px - x, py - y) - r + 1.5 * s)
               - 0.8 * s, (255, 255, 255), a * 0.8, box=(x - r - 2, y - r - 2, x + r + 2,
                                                        y + r + 2))
    panel = sd_round_rect(30 * s, 140 * s, 245 * s, 340 * s, 10 * s)
    c.fill(panel, (255, 255, 255), 0.55, soft=3 * s)
    return c


def base_classic(w=455, h=275):
    """White with a green bar at the top and fine rules: a plain business design."""
    s = w / 455.0
    c = Canvas(w, h, (255, 255, 255))
    bar = lambda x, y: mix((24, 96, 70), (40, 140, 100), x / w)
    c.fill(sd_round_rect(0, 0, w, 14 * s, 0), bar)
    c.fill(sd_round_rect(0, 14 * s, w, 17 * s, 0), (196, 170, 96))
    c.fill(sd_round_rect(24 * s, h - 24 * s, w - 24 * s, h - 23 * s, 0), (40, 120, 90), 0.8)
    c.fill(sd_round_rect(24 * s, h - 20 * s, 140 * s, h - 19 * s, 0), (196, 170, 96), 0.9)
    c.fill(sd_round_rect(w - 10 * s, h - 70 * s, w, h, 0),
           lambda x, y: mix((24, 96, 70), (40, 140, 100), (y - h + 70 * s) / (70 * s)))
    return c


def base_kraft(w=455, h=275):
    """Kraft paper with a stitched frame."""
    s = w / 455.0
    c = Canvas(w, h)

    def paper(x, y):
        n = fractal_noise(x / (30.0 * s), y / (30.0 * s), 41, 3)
        fine = value_noise(x / (1.7 * s), y / (1.7 * s), 42)
        fibre = smoothstep(0.7, 0.9, value_noise(x / (18.0 * s), y / (2.0 * s), 43))
        col = mix((214, 184, 146), (226, 200, 164), n)
        col = mix(col, (190, 156, 116), (fine - 0.5) * 0.35 if fine > 0.5 else 0)
        return mix(col, (236, 214, 182), fibre * 0.5)
    c.shade(paper)
    inset = 14 * s
    frame = sd_round_rect(inset, inset, w - inset, h - inset, 8 * s)
    dashes = lambda x, y: abs(frame(x, y)) - 0.9 * s
    perim = lambda x, y: (math.atan2(y - h / 2, (x - w / 2) * h / w) * 60)
    c.fill(intersect(dashes, lambda x, y: (math.sin(perim(x, y)) * 2.2 - 0.6) * s),
           (255, 250, 240), 0.85)
    # A round stamp in the corner.
    cx, cy = w - 56 * s, h - 56 * s
    stamp = (cx - 30 * s, cy - 30 * s, cx + 30 * s, cy + 30 * s)
    c.fill(lambda x, y: abs(math.hypot(x - cx, y - cy) - 26 * s) - 1.6 * s, (176, 60, 50), 0.55,
           box=stamp)
    c.fill(lambda x, y: abs(math.hypot(x - cx, y - cy) - 21 * s) - 0.7 * s, (176, 60, 50), 0.55,
           box=stamp)
    c.fill(sd_star(cx, cy, 13 * s, 5.5 * s), (176, 60, 50), 0.55, box=stamp)
    return c


# ---------------------------------------------------------------- marks

# The logos draw on a paper colour: white for a bitmap, black and white for a picture with
# alpha (raster.matte).

def mark_star_emblem(size=96, paper=WHITE):
    c = Canvas(size, size, paper)
    m = size / 2
    s = size / 96.0
    c.fill(sd_circle(m, m, 44 * s), lambda x, y: mix((40, 90, 190), (20, 50, 130), y / size))
    c.fill(lambda x, y: abs(math.hypot(x - m, y - m) - 38 * s) - 1.4 * s, (250, 210, 90))
    c.fill(sd_star(m, m + 2 * s, 27 * s, 11.5 * s), lambda x, y: mix((255, 236, 130),
                                                                     (245, 170, 40), y / size))
    return c


def mark_three_rings(w=120, h=72, paper=WHITE):
    s = w / 120.0
    c = Canvas(w, h, paper)
    circles = [(38, 30, (230, 60, 90)), (60, 30, (250, 180, 30)), (82, 30, (40, 150, 220))]
    for cx, cy, col in circles:
        cx, cy = cx * s, cy * s
        c.fill(lambda x, y, cx=cx, cy=cy: abs(math.hypot(x - cx, y - cy) - 17 * s) - 3.2 * s,
               col, 0.9)
    c.fill(sd_round_rect(30 * s, 56 * s, 90 * s, 59 * s, 1.5 * s), (60, 70, 90))
    c.fill(sd_round_rect(42 * s, 63 * s, 78 * s, 65 * s, 1 * s), (150, 160, 176))
    return c


def mark_leaf(size=100, paper=WHITE):
    c = Canvas(size, size, paper)
    s = size / 100.0
    leaf = intersect(sd_circle(30 * s, 30 * s, 56 * s), sd_circle(70 * s, 70 * s, 56 * s))
    c.fill(leaf, lambda x, y: mix((130, 206, 84), (30, 130, 60), (x + (size - y)) / (2 * size)))
    c.fill(sd_segment(20 * s, 80 * s, 76 * s, 24 * s, 2.6 * s), (255, 255, 255), 0.9)
    for t in (0.3, 0.5, 0.7):
        x0, y0 = (20 + 56 * t) * s, (80 - 56 * t) * s
        reach = (16 - 10 * abs(t - 0.45)) * s
        c.fill(sd_segment(x0, y0, x0 + 2 * s, y0 - reach, 1.6 * s), (255, 255, 255), 0.8)
        c.fill(sd_segment(x0, y0, x0 + reach, y0 - 2 * s, 1.6 * s), (255, 255, 255), 0.8)
    c.fill(sd_segment(22 * s, 78 * s, 10 * s, 90 * s, 3 * s), (40, 120, 60))
    return c


def mark_sunrise_tile(size=80):
    """A logo on its own coloured square (no white to leave out)."""
    c = Canvas(size, size)
    s = size / 80.0
    c.shade(lambda x, y: mix((255, 150, 60), (230, 70, 80), (x + y) / (2 * size)))
    c.fill(sd_circle(40 * s, 50 * s, 18 * s), (255, 236, 170))
    for k in range(9):
        a = math.pi + k * math.pi / 8
        c.fill(sd_segment(40 * s + math.cos(a) * 23 * s, 50 * s + math.sin(a) * 23 * s,
                          40 * s + math.cos(a) * 31 * s, 50 * s + math.sin(a) * 31 * s,
                          3 * s), (255, 236, 170), 0.9)
    c.fill(lambda x, y: 52 * s - y, lambda x, y: mix((40, 60, 140), (20, 30, 90), y / size))
    for k in range(3):
        yy = (58 + k * 6) * s
        c.fill(sd_segment((22 + k * 5) * s, yy, (58 - k * 5) * s, yy, 2 * s), (255, 200, 140),
               0.7)
    return c


def mark_night_badge(w=120, h=80):
    s = w / 120.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix((16, 26, 60), (40, 60, 120), y / h))
    rnd = Random(5)
    for _ in range(30):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h * 0.6)
        c.fill(sd_circle(x, y, rnd.uniform(0.4, 1.0) * s), (255, 255, 230), rnd.uniform(0.4, 1.0),
               box=(x - 2 * s, y - 2 * s, x + 2 * s, y + 2 * s))
    moon = subtract(sd_circle(92 * s, 20 * s, 10 * s), sd_circle(97 * s, 16 * s, 9 * s))
    c.fill(moon, (255, 236, 170))
    # Buildings and their lit windows, laid out in units of the 120 x 80 badge.
    heights = [30, 44, 24, 52, 36, 28, 46, 20, 38]
    units_h = round(h / s)
    x = 4
    for i, bh in enumerate(heights):
        bw = 11 + (i % 3) * 2
        c.fill(sd_round_rect(x * s, h - bh * s, (x + bw) * s, h, 0), (10, 16, 36))
        for wy in range(units_h - bh + 4, units_h - 4, 5):
            for wx in range(int(x) + 2, int(x + bw) - 2, 4):
                if hash01(wx, wy, 9) < 0.45:
                    c.fill(sd_round_rect(wx * s, wy * s, (wx + 2) * s, (wy + 2) * s, 0),
                           (255, 214, 110), 0.9,
                           box=(wx * s - 1, wy * s - 1, (wx + 2) * s + 1, (wy + 2) * s + 1))
        x += bw + 1
    return c


def mark_phone(size=40):
    c = Canvas(size, size, WHITE)
    s = size / 40.0
    ink = (40, 44, 60)
    cx, cy, r = 27 * s, 13 * s, 16 * s
    ends = [math.radians(a) for a in (100, 180)]
    pieces = []
    for a in ends:
        ex, ey = cx + math.cos(a) * r, cy + math.sin(a) * r
        ix, iy = cx + math.cos(a) * (r - 7 * s), cy + math.sin(a) * (r - 7 * s)
        pieces.append(sd_segment(ex, ey, ix, iy, 7.5 * s))
    handset = union(sd_arc(cx, cy, r, ends[0], ends[1], 5.5 * s), *pieces)
    c.fill(handset, ink)
    for k in range(2):
        c.fill(sd_arc(cx - 3 * s, cy + 3 * s, (9 + k * 5) * s, math.radians(285),
                      math.radians(345), 2.2 * s), ink, 0.9)
    return c


def mark_mail(size=40):
    c = Canvas(size, size, WHITE)
    s = size / 40.0
    ink = (40, 44, 60)
    env = sd_round_rect(4 * s, 9 * s, 36 * s, 31 * s, 2 * s)
    c.fill(env, ink)
    c.fill(lambda x, y: env(x, y) + 2.2 * s, WHITE)
    c.fill(sd_polyline([(6 * s, 11 * s), (20 * s, 22 * s), (34 * s, 11 * s)], 2.4 * s), ink)
    return c


def mark_house(size=40):
    c = Canvas(size, size, WHITE)
    s = size / 40.0
    ink = (40, 44, 60)
    roof = sd_polyline([(5 * s, 20 * s), (20 * s, 6 * s), (35 * s, 20 * s)], 3.2 * s)
    walls = sd_round_rect(10 * s, 18 * s, 30 * s, 34 * s, 1 * s)
    c.fill(walls, ink)
    c.fill(lambda x, y: walls(x, y) + 2.4 * s, WHITE)
    c.fill(sd_round_rect(17 * s, 24 * s, 23 * s, 34 * s, 0.5 * s), ink)
    c.fill(roof, ink)
    c.fill(sd_round_rect(27 * s, 8 * s, 31 * s, 16 * s, 0), ink)
    return c


def mark_map(w=210, h=140):
    """A shop's access map: streets, a railway with its station, a park, a river and a red
    pin at the shop, in units of a 210 x 140 map. The names are the card's own texts."""
    s = w / 210.0
    c = Canvas(w, h, (246, 243, 234))
    box = lambda x0, y0, x1, y1: (x0 * s - 2, y0 * s - 2, x1 * s + 2, y1 * s + 2)
    c.fill(sd_round_rect(10 * s, 90 * s, 38 * s, 132 * s, 4 * s), (204, 230, 190),
           box=box(10, 90, 38, 132))
    for tx, ty in ((18, 100), (28, 110), (20, 122), (31, 124)):
        c.fill(sd_circle(tx * s, ty * s, 3.2 * s), (150, 196, 140), box=box(tx - 4, ty - 4, tx + 4, ty + 4))
    river = [(176, -4), (170, 30), (186, 70), (178, 110), (190, 144)]
    c.fill(sd_polyline([(x * s, y * s) for x, y in river], 11 * s), (178, 212, 238),
           box=box(160, -6, 200, 146))
    kerb, street = (206, 200, 190), (255, 255, 255)
    streets = [
        ([(-4, 72), (214, 72)], 9),      # the main street
        ([(120, -4), (120, 144)], 8),    # the street from the station
        ([(48, 72), (48, 144)], 6),
        ([(120, 112), (214, 112)], 6),
        ([(-4, 18), (100, 18)], 5),
    ]
    for points, width in streets:
        c.fill(sd_polyline([(x * s, y * s) for x, y in points], (width + 2) * s), kerb)
    for points, width in streets:
        c.fill(sd_polyline([(x * s, y * s) for x, y in points], width * s), street)
    # A bridge where the streets cross the river.
    for y in (72, 112):
        c.fill(sd_round_rect(164 * s, (y - 6) * s, 196 * s, (y + 6) * s, 1 * s), kerb,
               box=box(162, y - 8, 198, y + 8))
        c.fill(sd_round_rect(164 * s, (y - 4.5) * s, 196 * s, (y + 4.5) * s, 0), street,
               box=box(162, y - 8, 198, y + 8))
    # The railway: black and white dashes, and the station across it.
    rail = 38
    c.fill(sd_round_rect(-2, (rail - 2.2) * s, w + 2, (rail + 2.2) * s, 0), (60, 60, 66),
           box=box(-1, rail - 4, 211, rail + 4))
    for k in range(0, 210, 12):
        c.fill(sd_round_rect((k + 1) * s, (rail - 1) * s, (k + 7) * s, (rail + 1) * s, 0), WHITE,
               box=box(k, rail - 2, k + 8, rail + 2))
    c.fill_framed(sd_round_rect(104 * s, 31 * s, 136 * s, 45 * s, 2 * s), (236, 240, 246),
                  (60, 60, 66), 1.4 * s, box=box(103, 30, 137, 46))
    # The way from the station, dotted, to the pin.
    route = [(122.5, 46), (122.5, 75), (51, 75), (51, 95)]
    for (x0, y0), (x1, y1) in zip(route, route[1:]):
        steps = int(math.hypot(x1 - x0, y1 - y0) / 4)
        for i in range(steps + 1):
            x, y = x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps
            c.fill(sd_circle(x * s, y * s, 0.9 * s), (214, 60, 60), box=box(x - 2, y - 2, x + 2, y + 2))
    px, py = 62, 88
    pin = union(sd_circle(px * s, py * s, 7 * s),
                sd_polygon([((px - 5.4) * s, (py + 4.5) * s), ((px + 5.4) * s, (py + 4.5) * s),
                            (px * s, (py + 15) * s)]))
    c.fill(lambda x, y: pin(x - 1.2 * s, y - 1.2 * s), (120, 110, 100), 0.35, soft=2 * s,
           box=box(px - 9, py - 9, px + 11, py + 18))
    c.fill(pin, (214, 52, 52), box=box(px - 9, py - 9, px + 9, py + 17))
    c.fill(sd_circle(px * s, py * s, 2.8 * s), WHITE, box=box(px - 4, py - 4, px + 4, py + 4))
    # North at the top-right corner, and a thin frame.
    c.fill(sd_polygon([(196 * s, 6 * s), (201 * s, 20 * s), (196 * s, 16 * s), (191 * s, 20 * s)]),
           (60, 60, 66), box=box(190, 5, 202, 21))
    draw_text5x7(c, "N", round(193.5 * s), round(22 * s), (60, 60, 66), scale=max(1, round(s)))
    c.fill(lambda x, y: min(x, y, w - x, h - y) - 1.5 * s, (120, 114, 104))
    return c


# ---------------------------------------------------------------- face pictures

def person(w, h, bg, skin, hair, hair_style, clothes, collar=None, tie=None, glasses=False,
           beard=False, smile=True):
    """A friendly cartoon head-and-shoulders portrait."""
    s = w / 160.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix(bg[0], bg[1], clamp(y / h)))
    c.glow(80 * s, 80 * s, 90 * s, (255, 255, 255), 0.35)
    ink = (60, 44, 40)
    cx = 80 * s
    skin_dark = mix(skin, (150, 90, 70), 0.25)
    hair_dark = mix(hair, (0, 0, 0), 0.3)
    if hair_style == "long":
        back = union(sd_ellipse(cx, 92 * s, 52 * s, 60 * s),
                     sd_round_rect(cx - 52 * s, 92 * s, cx + 52 * s, 160 * s, 20 * s))
        c.fill(back, lambda x, y: mix(hair, hair_dark, clamp((y - 40 * s) / (120 * s))))
    # Shoulders and clothes.
    body = sd_round_rect(cx - 70 * s, 150 * s, cx + 70 * s, 260 * s, 48 * s)
    shadowed = mix(clothes, (0, 0, 0), 0.35)
    c.fill(body, lambda x, y: mix(clothes, shadowed, clamp((y - 150 * s) / (50 * s))))
    neck = sd_round_rect(cx - 14 * s, 118 * s, cx + 14 * s, 160 * s, 6 * s)
    c.fill(neck, skin_dark)
    if collar:
        c.fill(sd_polygon([(cx - 22 * s, 146 * s), (cx, 176 * s), (cx + 22 * s, 146 * s),
                           (cx + 30 * s, 152 * s), (cx, 200 * s), (cx - 30 * s, 152 * s)]),
               collar)
        c.fill(sd_polygon([(cx - 16 * s, 150 * s), (cx, 172 * s), (cx + 16 * s, 150 * s)]),
               skin_dark)
    if tie:
        c.fill(sd_polygon([(cx - 6 * s, 168 * s), (cx + 6 * s, 168 * s), (cx + 10 * s, 200 * s),
                           (cx - 10 * s, 200 * s)]), tie)
        c.fill(sd_polygon([(cx - 7 * s, 160 * s), (cx + 7 * s, 160 * s), (cx + 4 * s, 170 * s),
                           (cx - 4 * s, 170 * s)]), mix(tie, (0, 0, 0), 0.25))
    # Ears, head and face.
    for ex in (cx - 44 * s, cx + 44 * s):
        c.fill(sd_ellipse(ex, 92 * s, 9 * s, 13 * s), skin)
        c.fill(sd_ellipse(ex, 92 * s, 4.5 * s, 7 * s), skin_dark, 0.6)
    head = sd_ellipse(cx, 86 * s, 44 * s, 50 * s)
    c.fill(head, lambda x, y: mix(skin, skin_dark, clamp((y - 70 * s) / (80 * s)) * 0.5))
    if hair_style in ("short", "long"):
        fringe = lambda x: (62 + 10 * abs(math.sin((x / s - 36) * 0.075))) * s + (
            max(0.0, x - cx) * 0.25 if hair_style == "long" else 0)
        cap = intersect(sd_ellipse(cx, 80 * s, 49 * s, 52 * s), lambda x, y: y - fringe(x))
        c.fill(cap, lambda x, y: mix(hair, hair_dark, clamp((y - 28 * s) / (40 * s))))
        c.fill(sd_arc(cx - 10 * s, 64 * s, 26 * s, math.radians(215), math.radians(265),
                      4 * s), mix(hair, (255, 255, 255), 0.3), 0.6)
        if hair_style == "long":
            for side in (-1, 1):
                c.fill(sd_round_rect(cx + side * 46 * s - 9 * s, 70 * s, cx + side * 46 * s + 9 * s,
                                     150 * s, 9 * s), hair_dark)
    elif hair_style == "grey":
        sides = union(sd_ellipse(cx - 41 * s, 78 * s, 10 * s, 22 * s),
                      sd_ellipse(cx + 41 * s, 78 * s, 10 * s, 22 * s))
        c.fill(sides, hair)
    # Eyebrows, eyes, nose, mouth, cheeks.
    for side in (-1, 1):
        ex = cx + side * 17 * s
        c.fill(sd_arc(ex, 82 * s, 11 * s, math.radians(235), math.radians(305), 3 * s),
               mix(hair_dark, ink, 0.5))
        if smile:
            c.fill(sd_ellipse(ex, 90 * s, 4.4 * s, 5.6 * s), ink)
            c.fill(sd_circle(ex + 1.5 * s, 88 * s, 1.5 * s), (255, 255, 255))
        c.fill(sd_circle(ex + side * 8 * s, 104 * s, 7 * s), (250, 140, 140), 0.28)
    c.fill(sd_arc(cx, 98 * s, 5 * s, math.radians(20), math.radians(160), 2 * s), skin_dark)
    if beard:
        b = subtract(intersect(sd_ellipse(cx, 96 * s, 46 * s, 42 * s), lambda x, y: 100 * s - y),
                     sd_ellipse(cx, 112 * s, 10 * s, 6 * s))
        c.fill(b, hair)
    mouth = intersect(sd_circle(cx, 106 * s, 14 * s), lambda x, y: 108 * s - y)
    c.fill(mouth, (150, 50, 60))
    c.fill(intersect(mouth, sd_circle(cx, 124 * s, 8 * s)), (236, 110, 120))
    if glasses:
        for side in (-1, 1):
            ex = cx + side * 17 * s
            c.fill(lambda x, y, ex=ex: abs(sd_round_rect(ex - 12 * s, 82 * s, ex + 12 * s, 99 * s,
                                                         6 * s)(x, y)) - 1.4 * s, (50, 50, 60))
            c.fill(sd_round_rect(ex - 11 * s, 83 * s, ex + 11 * s, 98 * s, 5 * s),
                   (200, 230, 255), 0.18)
        c.fill(sd_arc(cx, 92 * s, 6 * s, math.radians(200), math.radians(340), 2.4 * s),
               (50, 50, 60))
    return c


def silhouette(w, h):
    s = w / 160.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix((190, 214, 236), (120, 160, 206), y / h))
    c.glow(80 * s, 70 * s, 110 * s, (255, 255, 255), 0.35)
    col = lambda x, y: mix((250, 252, 255), (220, 232, 246), y / h)
    c.fill(sd_ellipse(80 * s, 82 * s, 36 * s, 44 * s), col)
    c.fill(sd_round_rect(80 * s - 66 * s, 146 * s, 80 * s + 66 * s, 260 * s, 54 * s), col)
    c.fill(sd_round_rect(80 * s - 14 * s, 110 * s, 80 * s + 14 * s, 150 * s, 6 * s), col)
    return c


def cat_mascot(w=80, h=100):
    s = w / 80.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix((255, 244, 214), (252, 220, 170), y / h))
    ink = (70, 50, 40)
    fur, dark = (250, 176, 90), (220, 130, 60)
    cx = 40 * s
    body = sd_ellipse(cx, 92 * s, 30 * s, 22 * s)
    c.fill(body, fur)
    c.fill(sd_ellipse(cx, 96 * s, 16 * s, 14 * s), (255, 240, 220))
    for side in (-1, 1):
        ear = sd_polygon([(cx + side * 30 * s, 36 * s), (cx + side * 24 * s, 10 * s),
                          (cx + side * 8 * s, 26 * s)])
        c.fill(ear, fur)
        c.fill(sd_polygon([(cx + side * 25 * s, 32 * s), (cx + side * 23 * s, 16 * s),
                           (cx + side * 13 * s, 27 * s)]), (255, 190, 190))
    head = sd_ellipse(cx, 48 * s, 31 * s, 26 * s)
    c.fill(head, fur)
    for k in range(3):
        c.fill(sd_segment(cx - 4 * s + k * 4 * s, 24 * s, cx - 4 * s + k * 4 * s, 31 * s,
                          2.2 * s), dark)
    for side in (-1, 1):
        ex = cx + side * 12 * s
        c.fill(sd_ellipse(ex, 46 * s, 3.4 * s, 4.4 * s), ink)
        c.fill(sd_circle(ex + 1 * s, 44.5 * s, 1.2 * s), (255, 255, 255))
        c.fill(sd_circle(ex + side * 5 * s, 56 * s, 4 * s), (255, 130, 130), 0.35)
        for k in (-1, 1):
            c.fill(sd_segment(cx + side * 17 * s, (55 + k * 2) * s, cx + side * 34 * s,
                              (53 + k * 5) * s, 0.9 * s), ink, 0.8)
    c.fill(sd_polygon([(cx - 3 * s, 52 * s), (cx + 3 * s, 52 * s), (cx, 55.5 * s)]),
           (230, 100, 110))
    c.fill(sd_arc(cx - 3 * s, 56 * s, 3 * s, math.radians(20), math.radians(160), 1.2 * s), ink)
    c.fill(sd_arc(cx + 3 * s, 56 * s, 3 * s, math.radians(20), math.radians(160), 1.2 * s), ink)
    return c


def face_pictures(w, h):
    """(name, canvas) of the face pictures of w x h; names begin with "phot"."""
    return [
        ("phot-01.bmp", person(w, h, ((214, 230, 246), (168, 196, 228)), (255, 218, 186),
                               (70, 50, 40), "short", (50, 64, 96), collar=(255, 255, 255),
                               tie=(200, 50, 60))),
        ("phot-02.bmp", person(w, h, ((255, 236, 226), (246, 200, 196)), (255, 224, 200),
                               (110, 64, 44), "long", (236, 120, 140), collar=(255, 250, 246))),
        ("phot-03.jpg", silhouette(w, h)),
        ("phot-04.jpg", person(w, h, ((226, 240, 224), (180, 210, 180)), (244, 204, 172),
                               (200, 200, 204), "grey", (120, 90, 70), collar=(240, 240, 236),
                               tie=(40, 90, 150), glasses=True, beard=True)),
        ("phot-05.bmp", cat_mascot(w, h)),
    ]


# ---------------------------------------------------------------- print layout preview

def sheet_picture(w=210, h=297):
    """A sheet of paper (A4 proportions) for the print layout preview."""
    c = Canvas(w, h, (255, 255, 255))
    c.shade(lambda x, y: mix((255, 255, 255), (246, 247, 250), clamp((x / w + y / h) / 2)))
    for x in range(w):
        for y in (0, h - 1):
            c.set(x, y, (150, 154, 164))
    for y in range(h):
        for x in (0, w - 1):
            c.set(x, y, (150, 154, 164))
    for i in range(1, 4):
        a = 0.10 / i
        for x in range(1, w - 1):
            c.blend_pixel(x, h - 1 - i, (120, 124, 140), a)
        for y in range(1, h - 1):
            c.blend_pixel(w - 1 - i, y, (120, 124, 140), a)
    return c


def card_picture(w=182, h=110):
    """One business card (91 : 55) for the print layout preview."""
    c = card_face(w, h, theme=0)
    for x in range(w):
        c.set(x, 0, (120, 130, 150))
        c.set(x, h - 1, (120, 130, 150))
    for y in range(h):
        c.set(0, y, (120, 130, 150))
        c.set(w - 1, y, (120, 130, 150))
    return c
