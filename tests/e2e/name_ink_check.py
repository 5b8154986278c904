#!/usr/bin/env python3
"""Tells printed pages apart by the ink of the text that differs between them.

Usage: name_ink_check.py PAGE.pgm PAGE.pgm ...   (binary PGM, all the same size)

The pages are sheets of the same card that differ only in one text (a person's name).
Where a page is much darker than the lightest of all pages at that pixel, it has ink of
its own there; the amount of that ink grows with the number of characters of the page's
text. Prints one pixel count per page. The PDF keeps no text for Japanese glyphs, so
this is how a test reads which name a page carries.
"""
import sys


def read_pgm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P5" or int(fields[3]) > 255:
        sys.exit("%s: not an 8-bit binary PGM" % path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + width * height]


def main():
    pages = [read_pgm(p) for p in sys.argv[1:]]
    if len(pages) < 2 or len({(w, h) for w, h, _ in pages}) != 1:
        sys.exit("need two or more pages of one size")
    lightest = bytes(max(column) for column in zip(*(pixels for _, _, pixels in pages)))
    for _, _, pixels in pages:
        print(sum(1 for own, light in zip(pixels, lightest) if light - own > 80))


if __name__ == "__main__":
    main()
