#!/usr/bin/env python3
"""Draws all of the program's artwork and the shipped start folder.

    python3 art/make_art.py

writes, relative to the repository root:
  src/res/toolbar.bmp         toolbar strip, 320 x 32, 8 bits per pixel
  src/res/toolbar_2x.bmp      the same at twice the size, 640 x 64, for screens above 96 DPI
  src/res/about.bmp           About picture, 240 x 105, 24 bits per pixel
  src/res/vivivuz.ico         window icon, 32 x 32 and 48 x 48
  src/res/vivivuz_small.ico   small window icon, 16 x 16
  src/res/photo_move.cur      the photo editor's move cursor, 32 x 32 monochrome
  src/res/photo_zoom.cur      the photo editor's zoom cursor, 32 x 32 monochrome
  data/base/, data/mark/, data/phot/  pictures for print: three pixels a card pixel,
                              15000 pixels per metre (381 dpi) recorded in each file
  data/kao/                   the portrait composer's parts
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
from raster import PRINT_PPM, bmp24, bmp8, matte, png, quantize  # noqa: E402

RES = os.path.join(ROOT, "src", "res")
DATA = os.path.join(ROOT, "data")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def write_jpeg(path, canvas):
    """Saves a canvas as a baseline colour JPEG recording 381 dpi, through a temporary
    bitmap."""
    convert = shutil.which("convert")
    if convert is None:
        sys.exit("make_art: ImageMagick's convert is needed for the JPEG pictures")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "picture.bmp")
        write(src, bmp24(canvas))
        subprocess.run([convert, src, "-strip", "-type", "TrueColor", "-interlace", "None",
                        "-sampling-factor", "2x2", "-quality", "92",
                        "-units", "PixelsPerInch", "-density", "381", path], check=True)


def write_picture(path, canvas):
    """A picture for print as JPEG or 24-bit BMP, by its name."""
    if path.endswith(".jpg"):
        write_jpeg(path, canvas)
    else:
        write(path, bmp24(canvas, PRINT_PPM))


def picture_header(path):
    """(width, height, bits per pixel, pixels per metre or None) of a BMP, PNG or JPEG file."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] == b"BM":
        w, h, _, bpp = struct.unpack("<iiHH", data[18:30])
        return w, h, bpp, struct.unpack("<i", data[38:42])[0]
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        w, h, depth, kind = struct.unpack(">IIBB", data[16:26])
        ppm = None
        at = data.find(b"pHYs")
        if at > 0 and data[at + 12] == 1:
            ppm = struct.unpack(">I", data[at + 4:at + 8])[0]
        return w, h, depth * {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[kind], ppm
    if data[:2] == b"\xff\xd8":
        ppm, at = None, 2
        while at + 4 <= len(data) and data[at] == 0xFF:
            marker, length = data[at + 1], struct.unpack(">H", data[at + 2:at + 4])[0]
            if marker == 0xE0 and data[at + 4:at + 9] == b"JFIF\0" and data[at + 11] == 1:
                ppm = round(struct.unpack(">H", data[at + 12:at + 14])[0] / 0.0254)
            if marker in (0xC0, 0xC1, 0xC2):
                h, w = struct.unpack(">HH", data[at + 5:at + 9])
                return w, h, 8 * data[at + 9], ppm
            at += 2 + length
    return None


def program_resources():
    _, strip = toolbar_art.toolbar_bmp()
    write(os.path.join(RES, "toolbar.bmp"), strip)
    _, strip = toolbar_art.toolbar_bmp(scale=2)
    write(os.path.join(RES, "toolbar_2x.bmp"), strip)
    _, about = program_art.about_bmp()
    write(os.path.join(RES, "about.bmp"), about)
    large, small = program_art.icon_files()
    write(os.path.join(RES, "vivivuz.ico"), large)
    write(os.path.join(RES, "vivivuz_small.ico"), small)
    move, zoom = program_art.cursor_files()
    write(os.path.join(RES, "photo_move.cur"), move)
    write(os.path.join(RES, "photo_zoom.cur"), zoom)


# Pictures for print have three pixels for each card pixel (0.2 mm) at which the sample
# design and the templates place them, so that a card prints at 381 dpi: backgrounds
# 1365 x 825 (825 x 1365 standing), marks and faces three times their placed size, the
# largest where a picture is placed at several, or today's size where it is placed at none.
BASE_PICTURES = [
    ("base-01.bmp", sf.base_waves, (1365, 825)),
    ("base-02.bmp", sf.base_geometric, (1365, 825)),
    ("base-03.jpg", sf.base_sakura, (1365, 825)),
    ("base-04.jpg", sf.base_mountains, (1365, 825)),
    ("base-05.bmp", sf.base_seigaiha, (825, 1365)),
    ("base-06.jpg", sf.base_bokeh, (825, 1365)),
    ("base-07.bmp", sf.base_classic, (1365, 825)),
    ("base-08.jpg", sf.base_kraft, (1365, 825)),
    ("base-09.bmp", sf.base_seigaiha, (1365, 825)),  # the lying back of base-05's card
]

MARK_PICTURES = [
    ("mark-01.bmp", lambda: sf.mark_star_emblem(174)),   # placed at 58 x 58
    ("mark-02.bmp", lambda: sf.mark_three_rings(210, 126)),  # 70 x 42
    ("mark-03.jpg", lambda: sf.mark_leaf(300)),
    ("mark-04.bmp", lambda: sf.mark_sunrise_tile(240)),
    ("mark-05.jpg", lambda: sf.mark_night_badge(360, 240)),
    # The three icons are one set, of the largest size one of them is placed at (34 x 34).
    ("mark-06.bmp", lambda: sf.mark_phone(102)),
    ("mark-07.bmp", lambda: sf.mark_mail(102)),
    ("mark-08.bmp", lambda: sf.mark_house(102)),
    ("mark-09.bmp", lambda: sf.mark_map(630, 420)),  # an access map, placed at 210 x 140
]

# One mark is kept as an 8-bit palette bitmap, as pictures from paint programs often are.
PALETTE_MARKS = {"mark-06.bmp"}

# The logos again as PNG with an alpha channel: soft edges over any background.
LOGO_PICTURES = [
    ("logo-01.png", lambda paper: sf.mark_star_emblem(174, paper)),
    ("logo-02.png", lambda paper: sf.mark_three_rings(210, 126, paper)),
    ("logo-03.png", lambda paper: sf.mark_leaf(300, paper)),
]


def start_folder():
    for name, draw, (w, h) in BASE_PICTURES:
        write_picture(os.path.join(DATA, "base", name), draw(w, h))
    for name, draw in MARK_PICTURES:
        canvas = draw()
        path = os.path.join(DATA, "mark", name)
        if name in PALETTE_MARKS:
            palette, indexes = quantize(canvas)
            write(path, bmp8(canvas.w, canvas.h, palette, indexes, PRINT_PPM))
        else:
            write_picture(path, canvas)
    for name, draw in LOGO_PICTURES:
        colour, alpha = matte(draw((0, 0, 0)), draw((255, 255, 255)))
        write(os.path.join(DATA, "mark", name), png(colour, alpha, PRINT_PPM))
    for name, canvas in sf.face_pictures(240, 300):  # placed at 80 x 100
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
    """Lists every picture written with its size, depth and recorded resolution, as a check
    of the headers."""
    paths = [os.path.join(RES, n) for n in ("toolbar.bmp", "toolbar_2x.bmp", "about.bmp")]
    for sub in ("base", "mark", "phot", "kao"):
        folder = os.path.join(DATA, sub)
        paths += [os.path.join(folder, n) for n in sorted(os.listdir(folder))]
    paths += [os.path.join(DATA, "pp.gdt"), os.path.join(DATA, "ms.gdt")]
    for p in paths:
        w, h, bpp, ppm = picture_header(p)
        print("%-40s %4d x %-4d %2d bpp %5s px/m %8d bytes"
              % (os.path.relpath(p, ROOT), w, h, bpp, ppm or "-", os.path.getsize(p)))


def main():
    program_resources()
    start_folder()
    manual()
    summary()


if __name__ == "__main__":
    main()
