#!/usr/bin/env python3
"""Draws all of the program's artwork and the shipped start folder.

    python3 art/make_art.py

writes, relative to the repository root:
  src/res/toolbar.bmp         toolbar strip, 320 x 32, 8 bits per pixel
  src/res/about.bmp           About picture, 240 x 105, 24 bits per pixel
  src/res/vivivuz.ico         window icon, 32 x 32 and 48 x 48
  src/res/vivivuz_small.ico   small window icon, 16 x 16
  data/base/, data/mark/, data/phot/, data/kao/
  data/pp.gdt, data/ms.gdt    sheet and card pictures of the print layout preview
  data/listview.ini           the list editor's sample list of people
  data/Vivivuz_manual.pdf     the user manual

The output is the same on every run. The files are kept in the repository, so
building the program never runs this. Pictures are drawn with the Python
standard library; ImageMagick's convert turns finished bitmaps into JPEG, and
the manual needs python3-cairo and fonts-ipafont.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

ART = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(ART)
sys.dont_write_bytecode = True  # keep the source folders free of caches
sys.path.insert(0, ART)

import portrait_parts  # noqa: E402
import program_art  # noqa: E402
import sample_list  # noqa: E402
import start_folder_art as sf  # noqa: E402
import toolbar_art  # noqa: E402
from raster import bmp24, bmp8, quantize  # noqa: E402

RES = os.path.join(ROOT, "src", "res")
DATA = os.path.join(ROOT, "data")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def write_jpeg(path, canvas):
    """Saves a canvas as a baseline colour JPEG through a temporary bitmap."""
    convert = shutil.which("convert")
    if convert is None:
        sys.exit("make_art: ImageMagick's convert is needed for the JPEG pictures")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "picture.bmp")
        write(src, bmp24(canvas))
        subprocess.run([convert, src, "-strip", "-type", "TrueColor", "-interlace", "None",
                        "-sampling-factor", "2x2", "-quality", "92", path], check=True)


def write_picture(path, canvas):
    if path.endswith(".jpg"):
        write_jpeg(path, canvas)
    else:
        write(path, bmp24(canvas))


def bmp_header(path):
    """(width, height, bits per pixel) read from a BMP file's header."""
    with open(path, "rb") as f:
        head = f.read(30)
    if head[:2] != b"BM":
        return None
    w, h, _, bpp = struct.unpack("<iiHH", head[18:30])
    return w, h, bpp


def program_resources():
    _, strip = toolbar_art.toolbar_bmp()
    write(os.path.join(RES, "toolbar.bmp"), strip)
    _, about = program_art.about_bmp()
    write(os.path.join(RES, "about.bmp"), about)
    large, small = program_art.icon_files()
    write(os.path.join(RES, "vivivuz.ico"), large)
    write(os.path.join(RES, "vivivuz_small.ico"), small)


BASE_PICTURES = [
    ("base-01.bmp", sf.base_waves, (455, 275)),
    ("base-02.bmp", sf.base_geometric, (910, 550)),
    ("base-03.jpg", sf.base_sakura, (455, 275)),
    ("base-04.jpg", sf.base_mountains, (910, 550)),
    ("base-05.bmp", sf.base_seigaiha, (275, 455)),
    ("base-06.jpg", sf.base_bokeh, (550, 910)),
    ("base-07.bmp", sf.base_classic, (455, 275)),
    ("base-08.jpg", sf.base_kraft, (455, 275)),
]

MARK_PICTURES = [
    ("mark-01.bmp", sf.mark_star_emblem),
    ("mark-02.bmp", sf.mark_three_rings),
    ("mark-03.jpg", sf.mark_leaf),
    ("mark-04.bmp", sf.mark_sunrise_tile),
    ("mark-05.jpg", sf.mark_night_badge),
    ("mark-06.bmp", sf.mark_phone),
    ("mark-07.bmp", sf.mark_mail),
    ("mark-08.bmp", sf.mark_house),
]

# One mark is kept as an 8-bit palette bitmap, as pictures from paint programs often are.
PALETTE_MARKS = {"mark-06.bmp"}


def start_folder():
    for name, draw, (w, h) in BASE_PICTURES:
        write_picture(os.path.join(DATA, "base", name), draw(w, h))
    for name, draw in MARK_PICTURES:
        canvas = draw()
        path = os.path.join(DATA, "mark", name)
        if name in PALETTE_MARKS:
            palette, indexes = quantize(canvas)
            write(path, bmp8(canvas.w, canvas.h, palette, indexes))
        else:
            write_picture(path, canvas)
    for name, canvas in sf.face_pictures():
        write_picture(os.path.join(DATA, "phot", name), canvas)
    for name, draw in portrait_parts.PARTS:
        write(os.path.join(DATA, "kao", name), bmp24(draw()))
    write(os.path.join(DATA, "pp.gdt"), bmp24(sf.sheet_picture()))
    write(os.path.join(DATA, "ms.gdt"), bmp24(sf.card_picture()))
    write(os.path.join(DATA, "listview.ini"), sample_list.listview_bytes())


def manual():
    """Typesets the manual with an interpreter that has cairo (Debian's python3-cairo)."""
    candidates = [sys.executable, "/usr/bin/python3"]
    for python in candidates:
        if python and subprocess.run([python, "-c", "import cairo"],
                                     capture_output=True).returncode == 0:
            subprocess.run([python, os.path.join(ART, "manual", "make_manual.py"),
                            os.path.join(DATA, "Vivivuz_manual.pdf")], check=True)
            return
    sys.exit("make_art: the manual needs python3-cairo (apt-get install python3-cairo)")


def summary():
    """Lists every bitmap written with its size and depth, as a check of the headers."""
    paths = [os.path.join(RES, n) for n in ("toolbar.bmp", "about.bmp")]
    for sub in ("base", "mark", "phot", "kao"):
        folder = os.path.join(DATA, sub)
        paths += [os.path.join(folder, n) for n in sorted(os.listdir(folder))
                  if n.endswith(".bmp")]
    paths += [os.path.join(DATA, "pp.gdt"), os.path.join(DATA, "ms.gdt")]
    for p in paths:
        w, h, bpp = bmp_header(p)
        print("%-40s %4d x %-4d %2d bpp" % (os.path.relpath(p, ROOT), w, h, bpp))


def main():
    program_resources()
    start_folder()
    manual()
    summary()


if __name__ == "__main__":
    main()
