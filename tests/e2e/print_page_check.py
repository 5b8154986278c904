#!/usr/bin/env python3
"""Measures a printed sheet rendered as a grey-scale PGM page (pdftoppm -gray).

    print_page_check.py PAGE.pgm DPI px py pw ph spx spy cntx cnty cut L G

The eight layout numbers are the design's (0.1 mm and card counts); cut is
"marks" (each card's four corner marks must be there, L and G the mark's
length and distance from the card in 0.1 mm), "nomarks" (no mark anywhere
near a card; the cards need not have a picture then) or "any".

With "marks" or "any", every card must show its base picture: the card's
edges are found where the picture meets the blank paper (pure white), by
scanning outward from 3 mm inside each edge, and must lie within 0.5 mm of
where the layout puts them. One line per card is printed; the exit code is 1
with the reasons when anything is off.
"""
import re
import sys

TOLERANCE_MM = 0.5
PAPER = 255
INK = 128  # darker than this is a cut mark


def read_pgm(path):
    data = open(path, "rb").read()
    m = re.match(rb"P5\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not m or int(m.group(3)) != 255:
        sys.exit(f"{path}: not an 8-bit PGM file")
    return int(m.group(1)), int(m.group(2)), data[m.end():]


class Page:
    def __init__(self, path, dpi):
        self.width, self.height, self.pixels = read_pgm(path)
        self.dpi = dpi

    def px(self, mm):
        return int(round(mm * self.dpi / 25.4))

    def mm(self, px):
        return px * 25.4 / self.dpi

    def at(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.pixels[y * self.width + x]
        return PAPER

    def edge(self, x, y, dx, dy):
        """Walks from (x, y) by (dx, dy) to the first of three paper pixels in a row;
        returns its coordinate along the walk (None when the start is paper)."""
        if self.at(x, y) == PAPER:
            return None
        for _ in range(self.width + self.height):
            if all(self.at(x + i * dx, y + i * dy) == PAPER for i in range(3)):
                return x if dx else y
            x, y = x + dx, y + dy
        return None

    def ink(self, left, top, right, bottom):
        """True when the rectangle (ends included) holds a cut-mark-dark pixel."""
        return any(self.at(x, y) < INK
                   for y in range(top, bottom + 1) for x in range(left, right + 1))


def main():
    if len(sys.argv) != 14:
        sys.exit(__doc__)
    page = Page(sys.argv[1], int(sys.argv[2]))
    px, py, pw, ph, spx, spy, cntx, cnty = (int(v) for v in sys.argv[3:11])
    cut = sys.argv[11]
    length = int(sys.argv[12]) / 10
    g = int(int(sys.argv[13]) * page.dpi / 254)  # the mark's distance in pixels, as printed
    failures = []
    for r in range(cnty):
        for k in range(cntx):
            name = f"card ({k}, {r})"
            # Expected edges in millimetres from the paper's top-left corner.
            left = (px + k * (pw + spx)) / 10
            top = (py + r * (ph + spy)) / 10
            right, bottom = left + pw / 10, top + ph / 10
            inside = 3.0
            mid_x, mid_y = page.px((left + right) / 2), page.px((top + bottom) / 2)
            if cut != "nomarks":
                found = {
                    "left": page.edge(page.px(left + inside), mid_y, -1, 0),
                    "right": page.edge(page.px(right - inside), mid_y, 1, 0),
                    "top": page.edge(mid_x, page.px(top + inside), 0, -1),
                    "bottom": page.edge(mid_x, page.px(bottom - inside), 0, 1),
                }
                if None in found.values():
                    failures.append(f"{name}: no picture where the card should be")
                    continue
                # left/top: the first paper pixel is just outside; the edge is one further in.
                measured = {
                    "left": page.mm(found["left"] + 1), "right": page.mm(found["right"]),
                    "top": page.mm(found["top"] + 1), "bottom": page.mm(found["bottom"]),
                }
                expected = {"left": left, "right": right, "top": top, "bottom": bottom}
                off = {side: measured[side] - expected[side] for side in expected}
                print(f"{name}: " + ", ".join(
                    f"{side} {measured[side]:.2f} mm ({off[side]:+.2f})" for side in expected))
                for side, delta in off.items():
                    if abs(delta) > TOLERANCE_MM:
                        failures.append(f"{name}: {side} edge {delta:+.2f} mm off")
                a_x, b_x = found["left"] + 1, found["right"]
                a_y, b_y = found["top"] + 1, found["bottom"]
            else:
                a_x, b_x, a_y, b_y = page.px(left), page.px(right), page.px(top), page.px(bottom)
            if cut == "any":
                continue
            # Strips three pixels wide outside each edge, centred where the marks stand.
            strips = {
                "left": lambda t: (a_x - g - 2, t, a_x - g, t),
                "right": lambda t: (b_x + g - 1, t, b_x + g + 1, t),
                "top": lambda t: (t, a_y - g - 2, t, a_y - g),
                "bottom": lambda t: (t, b_y + g - 1, t, b_y + g + 1),
            }
            half, beyond = page.px(length / 2), page.px(length + 1.5)
            arms = [  # (strip, position along the edge inside the arm, one past its end)
                ("left", a_y + half, a_y + beyond), ("top", a_x + half, a_x + beyond),
                ("right", a_y + half, a_y + beyond), ("top", b_x - half, b_x - beyond),
                ("left", b_y - half, b_y - beyond), ("bottom", a_x + half, a_x + beyond),
                ("right", b_y - half, b_y - beyond), ("bottom", b_x - half, b_x - beyond),
            ]
            for side, on_arm, past_arm in arms:
                there = page.ink(*strips[side](on_arm))
                if cut == "marks" and not there:
                    failures.append(f"{name}: no cut mark on the {side} side at {on_arm}")
                if cut == "nomarks" and there:
                    failures.append(f"{name}: a cut mark on the {side} side at {on_arm}")
                if page.ink(*strips[side](past_arm)):
                    failures.append(f"{name}: ink on the {side} side beyond the mark at {past_arm}")
    for failure in failures:
        print("FAIL " + failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
