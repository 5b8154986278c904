#!/usr/bin/env python3
"""Two-sided printing as the end-to-end test checks it.

  design SAMPLE FRONT_BMP BACK_BMP OUT
      OUT: the sample design file with every item off, the front's base picture FRONT_BMP,
      and a back (every front card key again with the prefix "back.", its items off, base
      picture BACK_BMP) in use, bound on the long edge, turned by hand.
  picture PATH GREY
      PATH: a 91 x 55 24-bit bitmap file of one grey.
  sides PGM...
      For each page, "front" when it holds the front grey, "back" for the back grey, else
      "other"; one word a line.
  behind FRONT_PGM BACK_PGM
      The back page's card boxes are the front page's mirrored on the page width (long
      edge on upright paper), and the back page has no cut marks. Exit status 1 if not.
"""
import struct
import sys

FRONT_GREY = 64
BACK_GREY = 144
TOLERANCE = 24


def read_design(path):
    return open(path, "rb").read().decode("utf-16").replace("\r\n", "\n").split("\n")


def item_off(line):
    key = line.split("=", 1)[0]
    return key.endswith("].on") or key == "phot_data.on"


def design(sample, front_bmp, back_bmp, out):
    lines = [line for line in read_design(sample) if line]
    card = []  # the card keys: up to the sheet size, and the face
    for line in lines:
        if line.startswith("base_pw="):
            break
        card.append(line)
    card += [line for line in lines if line.startswith("phot_data.")]

    def side(line, bmp):
        key = line.split("=", 1)[0]
        if key == "base_filepass":
            return key + "=" + bmp
        if item_off(line):
            return key + "=0"
        return line

    front = [side(line, front_bmp) if line in card else line for line in lines]
    front = [line for line in front if not line.split("=", 1)[0] in ("back_on", "duplex", "duplex_device")
             and not line.startswith("back.")]
    two_sided = front + ["back_on=1", "duplex=1", "duplex_device=0"]
    two_sided += ["back." + side(line, back_bmp) for line in card]
    open(out, "wb").write(("\r\n".join(two_sided) + "\r\n").encode("utf-16"))


def picture(path, grey):
    w, h = 91, 55
    row = bytes([grey] * 3 * w) + bytes((4 - 3 * w % 4) % 4)
    pixels = row * h
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    open(path, "wb").write(header + info + pixels)


def read_pgm(path):
    data = open(path, "rb").read()
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P5", path
    w, h = int(parts[1]), int(parts[2])
    return w, h, parts[4][: w * h]


def mask(pixels, grey):
    return bytes(1 if abs(p - grey) <= TOLERANCE else 0 for p in pixels)


def sides(paths):
    for path in paths:
        w, h, pixels = read_pgm(path)
        front = sum(mask(pixels, FRONT_GREY))
        back = sum(mask(pixels, BACK_GREY))
        enough = w * h // 50
        print("front" if front > enough and back < enough else "back" if back > enough and front < enough else "other")


def behind(front_path, back_path):
    w, h, front_pixels = read_pgm(front_path)
    bw, bh, back_pixels = read_pgm(back_path)
    if (w, h) != (bw, bh):
        print("the pages differ in size")
        return 1
    front = mask(front_pixels, FRONT_GREY)
    back = mask(back_pixels, BACK_GREY)
    mirrored = bytearray(w * h)
    for y in range(h):
        row = front[y * w:(y + 1) * w]
        mirrored[y * w:(y + 1) * w] = row[::-1]
    both = sum(a & b for a, b in zip(mirrored, back))
    either = sum(a | b for a, b in zip(mirrored, back))
    overlap = both / either if either else 0
    dark_on_back = sum(1 for p in back_pixels if p < FRONT_GREY - TOLERANCE)
    print(f"front boxes {sum(front)} px, back boxes {sum(back)} px, mirrored overlap {overlap:.3f}, "
          f"dark pixels on the back {dark_on_back}")
    return 0 if overlap > 0.95 and dark_on_back == 0 and sum(back) > w * h // 10 else 1


def main():
    command, args = sys.argv[1], sys.argv[2:]
    if command == "design":
        design(*args)
    elif command == "picture":
        picture(args[0], int(args[1]))
    elif command == "sides":
        sides(args)
    elif command == "behind":
        return behind(*args)
    return 0


if __name__ == "__main__":
    sys.exit(main())
