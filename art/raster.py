"""A small software rasteriser for the program's artwork.

Pictures are drawn into a `Canvas` of floating-point RGB samples (0..255) with
anti-aliased shapes described by signed distance functions: a shape's distance
is negative inside, positive outside, in pixels, and a pixel's coverage is
clamp(0.5 - distance). Pixel centres are at (x + 0.5, y + 0.5).

Only the Python standard library is used, so the pictures come out the same on
every machine.
"""

import math
import struct
import zlib


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(c1, c2, t):
    """Linear blend of two RGB triples, t = 0 gives c1."""
    return (c1[0] + (c2[0] - c1[0]) * t,
            c1[1] + (c2[1] - c1[1]) * t,
            c1[2] + (c2[2] - c1[2]) * t)


def gradient(stops, t):
    """Colour at t (0..1) along [(position, colour), ...] sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0.0)
    return stops[-1][1]


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def hash01(*ints):
    """Deterministic pseudo-random number in [0, 1) from integers."""
    h = 2166136261
    for i in ints:
        h = ((h ^ (i & 0xFFFFFFFF)) * 16777619) & 0xFFFFFFFF
        h ^= h >> 13
        h = (h * 0x5BD1E995) & 0xFFFFFFFF
        h ^= h >> 15
    return h / 4294967296.0


def value_noise(x, y, seed=0):
    """Smooth noise in [0, 1) with features about one unit apart."""
    xi, yi = math.floor(x), math.floor(y)
    fx, fy = x - xi, y - yi
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = hash01(xi, yi, seed)
    b = hash01(xi + 1, yi, seed)
    c = hash01(xi, yi + 1, seed)
    d = hash01(xi + 1, yi + 1, seed)
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy


def fractal_noise(x, y, seed=0, octaves=4):
    total, amp, norm = 0.0, 1.0, 0.0
    for o in range(octaves):
        total += value_noise(x, y, seed + o * 101) * amp
        norm += amp
        x, y, amp = x * 2.03, y * 2.03, amp * 0.5
    return total / norm


class Random:
    """A tiny deterministic generator (so output never depends on Python's own)."""

    def __init__(self, seed):
        self.state = (seed * 2654435761 + 1) & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return hash01(self.state)

    def uniform(self, lo, hi):
        return lo + (hi - lo) * self.next()

    def randint(self, lo, hi):
        return lo + int(self.next() * (hi - lo + 1))


# ---------------------------------------------------------------- distances

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ellipse(cx, cy, rx, ry):
    """Approximate distance to an axis-aligned ellipse (good near the edge)."""
    def f(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        k = math.hypot(dx, dy)
        if k == 0:
            return -min(rx, ry)
        gx, gy = dx / rx, dy / ry
        g = math.hypot(gx, gy)
        return (k - 1.0) * k / g if g > 0 else -min(rx, ry)
    return f


def sd_round_rect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return f


def sd_segment(x0, y0, x1, y1, width):
    """A stroke of the given width with round caps."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1e-9
    half = width / 2

    def f(x, y):
        t = clamp(((x - x0) * dx + (y - y0) * dy) / ll)
        return math.hypot(x - x0 - dx * t, y - y0 - dy * t) - half
    return f


def sd_polyline(points, width):
    segs = [sd_segment(*a, *b, width) for a, b in zip(points, points[1:])]
    return lambda x, y: min(s(x, y) for s in segs)


def sd_polygon(points):
    n = len(points)

    def f(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            ll = ex * ex + ey * ey or 1e-9
            t = clamp((wx * ex + wy * ey) / ll)
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (ey or 1e-9):
                inside = not inside
        return -d if inside else d
    return f


def sd_arc(cx, cy, r, a0, a1, width):
    """A circular arc stroke from angle a0 to a1 (radians, screen y down)."""
    half = width / 2
    p0 = (cx + r * math.cos(a0), cy + r * math.sin(a0))
    p1 = (cx + r * math.cos(a1), cy + r * math.sin(a1))
    span = (a1 - a0) % (2 * math.pi)

    def f(x, y):
        a = (math.atan2(y - cy, x - cx) - a0) % (2 * math.pi)
        if a <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - half
        return min(math.hypot(x - p0[0], y - p0[1]),
                   math.hypot(x - p1[0], y - p1[1])) - half
    return f


def sd_star(cx, cy, r_out, r_in, points=5, rot=-math.pi / 2):
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rot + i * math.pi / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return sd_polygon(pts)


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def intersect(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def outline(f, width):
    """The band of the given width centred on a shape's edge."""
    return lambda x, y: abs(f(x, y)) - width / 2


def rotated(f, cx, cy, angle):
    """The shape f turned by angle (radians, clockwise on screen) about (cx, cy)."""
    c, s = math.cos(-angle), math.sin(-angle)

    def g(x, y):
        dx, dy = x - cx, y - cy
        return f(cx + dx * c - dy * s, cy + dx * s + dy * c)
    return g


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, width, height, colour=(255, 255, 255)):
        self.w, self.h = width, height
        self.r = [float(colour[0])] * (width * height)
        self.g = [float(colour[1])] * (width * height)
        self.b = [float(colour[2])] * (width * height)

    def get(self, x, y):
        i = y * self.w + x
        return (self.r[i], self.g[i], self.b[i])

    def set(self, x, y, c):
        i = y * self.w + x
        self.r[i], self.g[i], self.b[i] = c

    def blend_pixel(self, x, y, c, a):
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        i = y * self.w + x
        if a >= 1:
            self.r[i], self.g[i], self.b[i] = c
        else:
            self.r[i] += (c[0] - self.r[i]) * a
            self.g[i] += (c[1] - self.g[i]) * a
            self.b[i] += (c[2] - self.b[i]) * a

    def shade(self, fn, box=None):
        """Sets every pixel (of box) to fn(x, y) evaluated at the pixel centre."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.set(x, y, fn(x + 0.5, y + 0.5))

    def fill(self, sdf, colour, alpha=1.0, box=None, soft=1.0, crisp=False):
        """Paints the inside of sdf. colour is an RGB triple or fn(x, y) -> RGB.

        box limits the pixels examined (x0, y0, x1, y1); soft widens the edge
        (1 = one pixel of anti-aliasing, larger values blur it); crisp paints
        whole pixels only (those whose centre lies inside), with no blending.
        """
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        paint = colour if callable(colour) else None
        for y in range(max(0, int(y0)), min(self.h, int(math.ceil(y1)))):
            py = y + 0.5
            for x in range(max(0, int(x0)), min(self.w, int(math.ceil(x1)))):
                px = x + 0.5
                d = sdf(px, py)
                if crisp:
                    if d < 0:
                        self.set(x, y, paint(px, py) if paint else colour)
                    continue
                if d >= 0.5 * soft:
                    continue
                cov = clamp(0.5 - d / soft) * alpha
                self.blend_pixel(x, y, paint(px, py) if paint else colour, cov)

    def fill_framed(self, sdf, colour, line, width=1.0, box=None):
        """Paints a shape with an outline of the given width inside its edge."""
        self.fill(sdf, line, box=box)
        self.fill(lambda x, y: sdf(x, y) + width, colour, box=box)

    def glow(self, cx, cy, radius, colour, strength=1.0):
        """A soft round light whose opacity falls off smoothly to zero at radius."""
        box = (cx - radius, cy - radius, cx + radius + 1, cy + radius + 1)
        for y in range(max(0, int(box[1])), min(self.h, int(box[3]))):
            for x in range(max(0, int(box[0])), min(self.w, int(box[2]))):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / radius
                if d < 1:
                    a = (1 - d) ** 2 * strength
                    self.blend_pixel(x, y, colour, a)

    def blit(self, img, ox, oy, transparent=None):
        """Copies img with its top-left corner at (ox, oy), optionally skipping one colour."""
        for y in range(img.h):
            for x in range(img.w):
                c = img.get(x, y)
                if transparent is not None and tuple(round(v) for v in c) == transparent:
                    continue
                if 0 <= x + ox < self.w and 0 <= y + oy < self.h:
                    self.set(x + ox, y + oy, c)

    def draw_image(self, img, cx, cy, angle=0.0, scale=1.0, alpha=1.0,
                   corner=0.0, shadow=None):
        """Draws img centred on (cx, cy), turned by angle (radians, clockwise) and
        scaled, sampled bilinearly, with anti-aliased (optionally rounded) edges.

        shadow = (dx, dy, blur, strength) draws a soft drop shadow first.
        """
        hw, hh = img.w * scale / 2, img.h * scale / 2
        rect = rotated(sd_round_rect(cx - hw, cy - hh, cx + hw, cy + hh, corner * scale),
                       cx, cy, angle)
        ext = math.hypot(hw, hh) + 2
        if shadow:
            dx, dy, blur, strength = shadow
            srect = rotated(sd_round_rect(cx - hw + dx, cy - hh + dy, cx + hw + dx,
                                          cy + hh + dy, corner * scale), cx + dx, cy + dy,
                            angle)
            self.fill(srect, (0, 0, 0), strength,
                      box=(cx - ext + dx - blur, cy - ext + dy - blur,
                           cx + ext + dx + blur, cy + ext + dy + blur), soft=blur)
        c, s = math.cos(-angle), math.sin(-angle)

        def sample(px, py):
            dx, dy = px - cx, py - cy
            u = (dx * c - dy * s) / scale + img.w / 2 - 0.5
            v = (dx * s + dy * c) / scale + img.h / 2 - 0.5
            return img.sample(u, v)
        self.fill(rect, sample, alpha, box=(cx - ext, cy - ext, cx + ext, cy + ext))

    def sample(self, u, v):
        """Bilinear sample at image coordinates (pixel centres at integers), clamped."""
        u = clamp(u, 0, self.w - 1)
        v = clamp(v, 0, self.h - 1)
        x0, y0 = int(u), int(v)
        x1, y1 = min(x0 + 1, self.w - 1), min(y0 + 1, self.h - 1)
        fx, fy = u - x0, v - y0
        top = mix(self.get(x0, y0), self.get(x1, y0), fx)
        bot = mix(self.get(x0, y1), self.get(x1, y1), fx)
        return mix(top, bot, fy)

    def scaled(self, w, h):
        """A box-filtered copy of the picture resized to w x h."""
        out = Canvas(w, h)
        sx, sy = self.w / w, self.h / h
        for y in range(h):
            ya, yb = y * sy, (y + 1) * sy
            for x in range(w):
                xa, xb = x * sx, (x + 1) * sx
                acc = [0.0, 0.0, 0.0]
                total = 0.0
                for yy in range(int(ya), min(self.h, int(math.ceil(yb)))):
                    wy = min(yb, yy + 1) - max(ya, yy)
                    for xx in range(int(xa), min(self.w, int(math.ceil(xb)))):
                        wgt = wy * (min(xb, xx + 1) - max(xa, xx))
                        c = self.get(xx, yy)
                        acc[0] += c[0] * wgt
                        acc[1] += c[1] * wgt
                        acc[2] += c[2] * wgt
                        total += wgt
                out.set(x, y, tuple(a / total for a in acc))
        return out

    def mirrored(self):
        out = Canvas(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                out.set(self.w - 1 - x, y, self.get(x, y))
        return out

    def bytes_rgb(self):
        """Rows top to bottom of 8-bit R, G, B, rounded and clamped."""
        out = bytearray()
        for i in range(self.w * self.h):
            out += bytes((int(clamp(round(self.r[i]), 0, 255)),
                          int(clamp(round(self.g[i]), 0, 255)),
                          int(clamp(round(self.b[i]), 0, 255))))
        return bytes(out)

    def pixels(self):
        data = self.bytes_rgb()
        return [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]


# ---------------------------------------------------------------- file writers

# Pixels per metre recorded in a file: screen pictures at 96 dpi, pictures for print at
# three card pixels per 0.2 mm (381 dpi), which the program places at a third of their size.
SCREEN_PPM = 3780
PRINT_PPM = 15000


def _bmp_headers(w, h, bpp, image_size, palette_entries, ppm):
    offset = 14 + 40 + 4 * palette_entries
    file_header = struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, image_size,
                       ppm, ppm, palette_entries, 0)
    return file_header + info


def bmp24(canvas, ppm=SCREEN_PPM):
    """A bottom-up 24-bit BMP file (BITMAPINFOHEADER, no compression) recording ppm
    pixels per metre."""
    data = canvas.bytes_rgb()
    stride = (canvas.w * 3 + 3) & ~3
    rows = []
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray()
        for x in range(canvas.w):
            i = (y * canvas.w + x) * 3
            row += bytes((data[i + 2], data[i + 1], data[i]))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    body = b"".join(rows)
    return _bmp_headers(canvas.w, canvas.h, 24, len(body), 0, ppm) + body


def bmp8(width, height, palette, indexes, ppm=SCREEN_PPM):
    """A bottom-up 8-bit palette BMP; palette is a list of RGB, indexes row-major."""
    stride = (width + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytes(indexes[y * width:(y + 1) * width])
        body += row + b"\0" * (stride - width)
    pal = bytearray()
    for r, g, b in palette:
        pal += bytes((b, g, r, 0))
    pal += b"\0" * (4 * (256 - len(palette)))
    return _bmp_headers(width, height, 8, len(body), 256, ppm) + bytes(pal) + bytes(body)


def median_cut(colours, count):
    """Up to count representative colours of a list of RGB triples (with repeats)."""
    boxes = [list(colours)]
    while len(boxes) < count:
        best, best_range, best_axis = None, -1, 0
        for i, box in enumerate(boxes):
            if len(set(box)) < 2:
                continue
            for axis in range(3):
                vals = [c[axis] for c in box]
                rng = (max(vals) - min(vals)) * math.sqrt(len(box))
                if rng > best_range:
                    best, best_range, best_axis = i, rng, axis
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda c: (c[best_axis], c))
        mid = len(box) // 2
        boxes += [box[:mid], box[mid:]]
    result = []
    for box in boxes:
        n = len(box)
        result.append(tuple(round(sum(c[k] for c in box) / n) for k in range(3)))
    return sorted(set(result))


def quantize(canvas, reserved=(), avoid=()):
    """Palette (at most 256 colours) and per-pixel indexes for an 8-bit BMP.

    reserved colours are put in the palette as they are; colours in avoid are
    nudged by one step so that the palette never holds them exactly.
    """
    px = canvas.pixels()
    exact = sorted(set(px))
    if len(exact) + len(reserved) <= 256:
        palette = sorted(set(exact) | set(reserved))
    else:
        palette = sorted(set(median_cut(px, 256 - len(reserved))) | set(reserved))

    def nudge(c):
        while c in avoid:
            c = tuple(v + 1 if v < 128 else v - 1 for v in c)
        return c
    palette = [nudge(c) for c in palette]
    lookup = {}
    indexes = []
    for c in px:
        if c not in lookup:
            lookup[c] = min(range(len(palette)), key=lambda i: sum(
                (a - b) ** 2 for a, b in zip(palette[i], c)))
        indexes.append(lookup[c])
    return palette, indexes


def ico(images):
    """An .ico file of 32-bit images with AND masks; images = [(canvas, alpha)],
    where alpha is a list of 0..1 per pixel (row-major)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for canvas, alpha in images:
        w, h = canvas.w, canvas.h
        data = canvas.bytes_rgb()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                i = y * w + x
                a = int(clamp(round(alpha[i] * 255), 0, 255))
                r, g, b = data[i * 3:i * 3 + 3]
                xor += bytes((b, g, r, a))
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(w):
                if alpha[y * w + x] < 0.5:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + bytes(xor) + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def cur(rows, hotspot):
    """A monochrome 32 x 32 .cur file drawn as text rows: "#" black, "o" white, anything
    else transparent; rows shorter than 32 are padded with transparency."""
    size = 32
    grid = [(r + " " * size)[:size] for r in rows] + [" " * size] * (size - len(rows))
    xor, mask = bytearray(), bytearray()
    for y in range(size - 1, -1, -1):  # bottom row first
        xrow, mrow = bytearray(4), bytearray(4)
        for x, ch in enumerate(grid[y]):
            bit = 0x80 >> (x % 8)
            if ch == "o":
                xrow[x // 8] |= bit
            elif ch != "#":
                mrow[x // 8] |= bit
        xor += xrow
        mask += mrow
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask),
                         0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    blob = header + palette + bytes(xor) + bytes(mask)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(blob), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + blob


def png(canvas, alpha=None, ppm=None):
    """A non-interlaced 8-bit PNG file: RGB, or RGBA with straight (not premultiplied)
    alpha when alpha (0..1 per pixel, row-major) is given; ppm records pixels per metre
    in a pHYs chunk."""
    data = canvas.bytes_rgb()
    raw = bytearray()
    for y in range(canvas.h):
        raw += b"\0"  # filter: none
        if alpha is None:
            raw += data[y * canvas.w * 3:(y + 1) * canvas.w * 3]
            continue
        for x in range(canvas.w):
            i = y * canvas.w + x
            raw += data[i * 3:i * 3 + 3]
            raw.append(int(clamp(round(alpha[i] * 255), 0, 255)))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    colour_type = 2 if alpha is None else 6
    header = chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, colour_type, 0, 0, 0))
    if ppm:
        header += chunk(b"pHYs", struct.pack(">IIB", ppm, ppm, 1))
    return (b"\x89PNG\r\n\x1a\n" + header
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def matte(on_black, on_white):
    """Colour and alpha of a picture drawn twice, once on black and once on white paper.

    Every blend is linear in the paper's colour, so the difference of the two drawings is
    how much paper shows through. Returns (canvas of straight colours, alpha list). Fully
    transparent pixels are white, as the paper of a bitmap logo is, except next to the
    drawing, where they take the colour of its edge: a picture scaled without regard to
    alpha then shows no dark or light fringe.
    """
    w, h = on_black.w, on_black.h
    out = Canvas(w, h)
    alpha = [0.0] * (w * h)
    for i in range(w * h):
        seen = (on_white.r[i] - on_black.r[i] + on_white.g[i] - on_black.g[i]
                + on_white.b[i] - on_black.b[i]) / (3 * 255.0)
        a = clamp(1.0 - seen)
        if a * 255 < 0.5:
            continue
        alpha[i] = a
        out.r[i], out.g[i], out.b[i] = (on_black.r[i] / a, on_black.g[i] / a, on_black.b[i] / a)
    edge = []
    for y in range(h):
        for x in range(w):
            if alpha[y * w + x] > 0:
                continue
            acc, total = [0.0, 0.0, 0.0], 0.0
            for yy in range(max(0, y - 1), min(h, y + 2)):
                for xx in range(max(0, x - 1), min(w, x + 2)):
                    a = alpha[yy * w + xx]
                    if a > 0:
                        c = out.get(xx, yy)
                        acc = [acc[k] + c[k] * a for k in range(3)]
                        total += a
            if total > 0:
                edge.append((x, y, tuple(v / total for v in acc)))
    for x, y, c in edge:
        out.set(x, y, c)
    return out, alpha


# ---------------------------------------------------------------- pixel font

# A 5 x 7 capital font for small labels; "." is paper, anything else ink.
FONT5X7 = {
    "A": ".###.#...##...#######...##...##...#",
    "B": "####.#...##...#####.#...##...#####.",
    "C": ".###.#...##....#....#....#...#.###.",
    "D": "####.#...##...##...##...##...#####.",
    "E": "######....#....####.#....#....#####",
    "F": "######....#....####.#....#....#....",
    "G": ".###.#...##....#.####...##...#.####",
    "H": "#...##...##...#######...##...##...#",
    "I": ".###...#....#....#....#....#...###.",
    "K": "#...##..#.#.#..##...#.#..#..#.#...#",
    "L": "#....#....#....#....#....#....#####",
    "M": "#...###.###.#.##.#.##...##...##...#",
    "N": "#...###..##.#.##..###...##...##...#",
    "O": ".###.#...##...##...##...##...#.###.",
    "P": "####.#...##...#####.#....#....#....",
    "R": "####.#...##...#####.#.#..#..#.#...#",
    "S": ".###." "#...#" "#...." ".###." "....#" "#...#" ".###.",
    "T": "#####..#....#....#....#....#....#..",
    "U": "#...##...##...##...##...##...#.###.",
    "V": "#...##...##...##...#.#.#..#.#...#..",
    "Z": "#####....#...#...#...#...#....#####",
    "?": ".###.#...#....#...#...#.........#..",
    " ": "." * 35,
}


def draw_text5x7(canvas, text, x, y, colour, scale=1, spacing=1, alpha=1.0):
    """Writes text in the 5 x 7 font with its top-left corner at (x, y)."""
    for ch in text:
        glyph = FONT5X7[ch]
        for gy in range(7):
            for gx in range(5):
                if glyph[gy * 5 + gx] != ".":
                    for yy in range(scale):
                        for xx in range(scale):
                            canvas.blend_pixel(x + gx * scale + xx, y + gy * scale + yy,
                                               colour, alpha)
        x += (5 + spacing) * scale
    return x


def text5x7_width(text, scale=1, spacing=1):
    return len(text) * (5 + spacing) * scale - spacing * scale
