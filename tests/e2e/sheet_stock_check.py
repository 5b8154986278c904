#!/usr/bin/env python3
"""Measures a printed card-stock sheet or calibration page (pdftoppm -gray PGM).

    sheet_stock_check.py cards PAGE.pgm DPI px py pw ph cntx cnty TOLERANCE
    sheet_stock_check.py crosses PAGE.pgm DPI x1 y1 x2 y2 TOLERANCE

cards: every card of the grid (lengths in 0.1 mm, no gaps) shows a base picture that
is white but for a dark band along its left and top edges; each card's left and top
edges are found where that band starts, scanning from the neighbour's white side, and
must lie within TOLERANCE mm of where the layout puts them.

crosses: the calibration page's two crosses must meet within TOLERANCE mm of the
corners (x1, y1) and (x2, y2) (0.1 mm); a cross's arms are the longest dark lines
through a window of 4 mm around the corner.

One line per measurement; exit code 1 with the reasons when anything is off.
"""
import sys

from print_page_check import INK, Page as PrintedPage


class Page(PrintedPage):
    def dark(self, x, y):
        return self.at(x, y) < INK

    def first_dark(self, x, y, dx, dy, steps):
        """The first dark pixel walking from (x, y) by (dx, dy), as a coordinate along the walk."""
        for _ in range(steps):
            if self.dark(x, y):
                return x if dx else y
            x, y = x + dx, y + dy
        return None


def cards(page, args):
    px, py, pw, ph, cntx, cnty = (int(v) for v in args[:6])
    tolerance = float(args[6])
    failures = []
    reach = page.px(2.0)
    for r in range(cnty):
        for k in range(cntx):
            left, top = (px + k * pw) / 10, (py + r * ph) / 10
            # Along the card's middle, from 2 mm outside the expected edge inward.
            mid_x, mid_y = page.px(left + pw / 20), page.px(top + ph / 20)
            found_x = page.first_dark(page.px(left) - reach, mid_y, 1, 0, 2 * reach)
            found_y = page.first_dark(mid_x, page.px(top) - reach, 0, 1, 2 * reach)
            if found_x is None or found_y is None:
                failures.append(f"card ({k}, {r}): no edge near ({left:.1f}, {top:.1f}) mm")
                continue
            dx, dy = page.mm(found_x) - left, page.mm(found_y) - top
            print(f"card ({k}, {r}): left {page.mm(found_x):.2f} mm ({dx:+.2f}), top {page.mm(found_y):.2f} mm ({dy:+.2f})")
            for side, delta in (("left", dx), ("top", dy)):
                if abs(delta) > tolerance:
                    failures.append(f"card ({k}, {r}): {side} edge {delta:+.2f} mm off")
    return failures


def cross_at(page, x, y):
    """The column and row with the most dark pixels in a 4 mm window around (x, y)."""
    half = page.px(2.0)
    columns = {c: sum(page.dark(c, j) for j in range(y - half, y + half)) for c in range(x - half, x + half)}
    rows = {j: sum(page.dark(i, j) for i in range(x - half, x + half)) for j in range(y - half, y + half)}
    best_column = max(columns, key=columns.get)
    best_row = max(rows, key=rows.get)
    # A line may be more than a pixel wide: its middle.
    wide_columns = [c for c, n in columns.items() if n >= columns[best_column] * 0.8]
    wide_rows = [j for j, n in rows.items() if n >= rows[best_row] * 0.8]
    return sum(wide_columns) / len(wide_columns), sum(wide_rows) / len(wide_rows), columns[best_column]


def crosses(page, args):
    x1, y1, x2, y2 = (int(v) / 10 for v in args[:4])
    tolerance = float(args[4])
    failures = []
    for name, (x, y) in (("top-left", (x1, y1)), ("bottom-right", (x2, y2))):
        cx, cy, ink = cross_at(page, page.px(x), page.px(y))
        if ink < page.px(3.0):
            failures.append(f"{name}: no cross near ({x:.1f}, {y:.1f}) mm")
            continue
        # A line drawn at pixel c covers c..c+1: its place is the pixel's middle.
        mx, my = page.mm(cx + 0.5), page.mm(cy + 0.5)
        print(f"{name} cross: ({mx:.2f}, {my:.2f}) mm, expected ({x:.1f}, {y:.1f}) ({mx - x:+.2f}, {my - y:+.2f})")
        if abs(mx - x) > tolerance or abs(my - y) > tolerance:
            failures.append(f"{name}: cross {mx - x:+.2f}, {my - y:+.2f} mm off")
    return failures


def main():
    if len(sys.argv) < 4 or sys.argv[1] not in ("cards", "crosses"):
        sys.exit(__doc__)
    page = Page(sys.argv[2], int(sys.argv[3]))
    failures = (cards if sys.argv[1] == "cards" else crosses)(page, sys.argv[4:])
    for failure in failures:
        print("FAIL " + failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
