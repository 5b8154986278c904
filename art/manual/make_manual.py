"""Typesets the user manual (manual_ja.txt) into a PDF with cairo.

Needs Debian's python3-cairo (run with /usr/bin/python3) and the IPA fonts
(fonts-ipafont). Usage: make_manual.py OUTPUT.pdf

The text file is plain lines with a few marks:
  @title T / @subtitle T / @center T     title page lines
  @picture about                         the About picture, centred
  # T / ## T                             headings
  - T                                    bullet item
  1. T                                   numbered step
  @toolbar N NAME|TEXT                   toolbar button N of the strip with its name and text
  @note T                                a boxed hint
  @screenshot NAME|CAPTION               docs/screenshots/NAME.png (made by
                                         scripts/screenshots.sh) with a caption
  @page                                  new page
Other non-empty lines are paragraphs.
"""

import os
import re
import sys

import cairo

HERE = os.path.dirname(os.path.abspath(__file__))
SCREENSHOTS = os.path.join(os.path.dirname(os.path.dirname(HERE)), "docs", "screenshots")
sys.dont_write_bytecode = True  # keep the source folders free of caches
sys.path.insert(0, os.path.dirname(HERE))

import program_art  # noqa: E402
import toolbar_art  # noqa: E402

PAGE_W, PAGE_H = 595.276, 841.89  # A4 in points
MARGIN_X, MARGIN_TOP, MARGIN_BOTTOM = 62.0, 70.0, 64.0
TEXT_W = PAGE_W - 2 * MARGIN_X
FONT = "IPAPGothic"
ACCENT = (0.09, 0.36, 0.62)
INK = (0.13, 0.14, 0.18)
GREY = (0.45, 0.47, 0.52)
ROW_BACKGROUND = (240, 242, 247)

# Characters that may not begin a line, and those that may not end one.
NO_START = set("、。，．,.)）」』】〕・：:；;！!？?ーぁぃぅぇぉっゃゅょァィゥェォッャュョ〜%")
NO_END = set("(（「『【〔")
WORD = re.compile(r"[A-Za-z0-9_\-+*/=.,:#&'@%]+|.", re.S)


def surface_from_canvas(canvas):
    stride = cairo.ImageSurface.format_stride_for_width(cairo.FORMAT_RGB24, canvas.w)
    data = bytearray(stride * canvas.h)
    rgb = canvas.bytes_rgb()
    for y in range(canvas.h):
        for x in range(canvas.w):
            i = (y * canvas.w + x) * 3
            o = y * stride + x * 4
            data[o:o + 4] = bytes((rgb[i + 2], rgb[i + 1], rgb[i], 255))
    return cairo.ImageSurface.create_for_data(data, cairo.FORMAT_RGB24, canvas.w, canvas.h,
                                              stride)


def png_dpi(path):
    """The horizontal DPI a PNG file records in its pHYs chunk (in metres), else 96."""
    with open(path, "rb") as f:
        data = f.read()
    at = 8
    while at + 8 <= len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        kind = data[at + 4:at + 8]
        if kind == b"pHYs" and length == 9 and data[at + 16] == 1:
            return round(int.from_bytes(data[at + 8:at + 12], "big") * 0.0254)
        if kind == b"IDAT":
            break
        at += 12 + length
    return 96


class Typesetter:
    def __init__(self, path):
        self.surface = cairo.PDFSurface(path, PAGE_W, PAGE_H)
        self.surface.set_metadata(cairo.PDFMetadata.TITLE, "Vivivuz 取扱説明書")
        self.surface.set_metadata(cairo.PDFMetadata.AUTHOR, "Vivivuz")
        self.surface.set_metadata(cairo.PDFMetadata.CREATE_DATE, "2024-01-01T00:00:00Z")
        self.surface.set_metadata(cairo.PDFMetadata.MOD_DATE, "2024-01-01T00:00:00Z")
        self.cr = cairo.Context(self.surface)
        self.page = 1
        self.y = MARGIN_TOP
        self.strip = surface_from_canvas(toolbar_art.toolbar_canvas(ROW_BACKGROUND))
        self.about = surface_from_canvas(program_art.about_canvas())
        self.decorate()

    # -------------------------------------------------------------- basics

    def font(self, size, bold=False):
        self.cr.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                                 cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
        self.cr.set_font_size(size)

    def width(self, text):
        return self.cr.text_extents(text).x_advance

    def show(self, x, y, text, colour=INK):
        self.cr.set_source_rgb(*colour)
        self.cr.move_to(x, y)
        self.cr.show_text(text)

    def decorate(self):
        """Running header and page number of the current page."""
        cr = self.cr
        if self.page > 1:
            self.font(8.5)
            self.show(MARGIN_X, 40, "Vivivuz 取扱説明書", GREY)
            cr.set_source_rgb(*ACCENT)
            cr.set_line_width(0.6)
            cr.move_to(MARGIN_X, 46)
            cr.line_to(PAGE_W - MARGIN_X, 46)
            cr.stroke()
        self.font(9)
        label = "%d" % self.page
        self.show((PAGE_W - self.width(label)) / 2, PAGE_H - 34, label, GREY)

    def new_page(self):
        self.cr.show_page()
        self.page += 1
        self.y = MARGIN_TOP
        self.decorate()

    def room(self, height):
        if self.y + height > PAGE_H - MARGIN_BOTTOM:
            self.new_page()

    def wrap(self, text, width):
        """Splits text into lines no wider than width (in the current font)."""
        tokens = WORD.findall(text)
        # Glue tokens that may not start a line to the one before, and those
        # that may not end a line to the one after.
        glued = []
        for t in tokens:
            if glued and (t[0] in NO_START or glued[-1][-1] in NO_END):
                glued[-1] += t
            else:
                glued.append(t)
        lines, line = [], ""
        for t in glued:
            if line and self.width(line + t) > width:
                lines.append(line.rstrip())
                line = t.lstrip()
            else:
                line += t
        if line:
            lines.append(line)
        return lines

    def paragraph(self, text, x, width, size=10.5, lead=1.75, colour=INK, bold=False):
        self.font(size, bold)
        step = size * lead
        for line in self.wrap(text, width):
            self.room(step)
            self.show(x, self.y + size, line, colour)
            self.y += step

    # -------------------------------------------------------------- elements

    def title(self, text):
        self.y = 120
        self.font(30, True)
        self.show((PAGE_W - self.width(text)) / 2, self.y, text, ACCENT)
        self.y += 30

    def subtitle(self, text):
        self.font(13)
        self.show((PAGE_W - self.width(text)) / 2, self.y + 8, text, GREY)
        self.y += 40

    def centre(self, text):
        self.font(12)
        self.show((PAGE_W - self.width(text)) / 2, self.y + 12, text, INK)
        self.y += 36

    def picture(self):
        scale = 1.6
        w, h = self.about.get_width() * scale, self.about.get_height() * scale
        x = (PAGE_W - w) / 2
        cr = self.cr
        cr.save()
        cr.set_source_rgba(0, 0, 0, 0.12)
        cr.rectangle(x + 4, self.y + 4, w, h)
        cr.fill()
        cr.translate(x, self.y)
        cr.scale(scale, scale)
        cr.set_source_surface(self.about, 0, 0)
        cr.get_source().set_filter(cairo.FILTER_NEAREST)
        cr.paint()
        cr.restore()
        self.y += h + 16

    def heading(self, text):
        self.room(70)
        if self.y > MARGIN_TOP:
            self.y += 14
        cr = self.cr
        cr.set_source_rgb(*ACCENT)
        cr.rectangle(MARGIN_X, self.y, 5, 24)
        cr.fill()
        self.font(17, True)
        self.show(MARGIN_X + 14, self.y + 18.5, text, INK)
        cr.set_source_rgb(0.80, 0.84, 0.90)
        cr.set_line_width(0.8)
        cr.move_to(MARGIN_X, self.y + 31)
        cr.line_to(PAGE_W - MARGIN_X, self.y + 31)
        cr.stroke()
        self.y += 42

    def subheading(self, text):
        self.room(50)
        self.y += 8
        cr = self.cr
        cr.set_source_rgb(*ACCENT)
        cr.rectangle(MARGIN_X, self.y + 3, 9, 9)
        cr.fill()
        self.font(12.5, True)
        self.show(MARGIN_X + 15, self.y + 12, text, ACCENT)
        self.y += 24

    def bullet(self, text):
        self.font(10.5)
        self.room(18)
        self.cr.set_source_rgb(*ACCENT)
        self.cr.new_path()
        self.cr.arc(MARGIN_X + 6, self.y + 6.8, 2.2, 0, 6.2832)
        self.cr.fill()
        self.paragraph(text, MARGIN_X + 16, TEXT_W - 16)
        self.y += 2

    def step(self, number, text):
        self.font(10.5)
        self.room(18)
        cr = self.cr
        cr.set_source_rgb(*ACCENT)
        cr.new_path()
        cr.arc(MARGIN_X + 8, self.y + 6.5, 7.5, 0, 6.2832)
        cr.fill()
        self.font(9, True)
        self.show(MARGIN_X + 8 - self.width(number) / 2, self.y + 9.8, number, (1, 1, 1))
        self.paragraph(text, MARGIN_X + 22, TEXT_W - 22)
        self.y += 3

    def toolbar_row(self, index, name, text):
        icon, gap = 26.0, 10.0
        name_w = 118.0
        self.font(10.5)
        lines = self.wrap(text, TEXT_W - icon - gap - name_w)
        height = max(icon + 8, len(lines) * 10.5 * 1.6 + 8)
        self.room(height)
        cr = self.cr
        cr.set_source_rgb(*(v / 255 for v in ROW_BACKGROUND))
        cr.rectangle(MARGIN_X, self.y, TEXT_W, height - 3)
        cr.fill()
        cr.save()
        cr.translate(MARGIN_X + 3, self.y + (height - 3 - icon) / 2)
        cr.scale(icon / 32, icon / 32)
        cr.rectangle(0, 0, 32, 32)
        cr.clip()
        cr.set_source_surface(self.strip, -32 * index, 0)
        cr.get_source().set_filter(cairo.FILTER_NEAREST)
        cr.paint()
        cr.restore()
        top = self.y + (height - 3 - len(lines) * 10.5 * 1.6) / 2
        self.font(10.5, True)
        self.show(MARGIN_X + icon + gap, top + 11.5, name, ACCENT)
        self.font(10.5)
        for i, line in enumerate(lines):
            self.show(MARGIN_X + icon + gap + name_w, top + 11.5 + i * 10.5 * 1.6, line)
        self.y += height

    def note(self, text):
        self.font(10)
        lines = self.wrap(text, TEXT_W - 28)
        height = len(lines) * 10 * 1.7 + 16
        self.room(height + 8)
        self.y += 4
        cr = self.cr
        cr.set_source_rgb(1.0, 0.97, 0.88)
        cr.rectangle(MARGIN_X, self.y, TEXT_W, height)
        cr.fill()
        cr.set_source_rgb(0.93, 0.66, 0.20)
        cr.rectangle(MARGIN_X, self.y, 3.5, height)
        cr.fill()
        for i, line in enumerate(lines):
            self.show(MARGIN_X + 16, self.y + 8 + 10 + i * 10 * 1.7, line)
        self.y += height + 10

    def screenshot(self, name, caption):
        """A screenshot at its size on the screen it was taken on (the DPI its file
        records, 96 when none), narrowed to the text width, with its caption below."""
        path = os.path.join(SCREENSHOTS, name + ".png")
        shot = cairo.ImageSurface.create_from_png(path)
        scale = min(72 / png_dpi(path), TEXT_W / shot.get_width(),
                    (PAGE_H - MARGIN_TOP - MARGIN_BOTTOM - 40) / shot.get_height())
        w, h = shot.get_width() * scale, shot.get_height() * scale
        self.room(h + 34)
        x = (PAGE_W - w) / 2
        cr = self.cr
        cr.save()
        cr.set_source_rgba(0, 0, 0, 0.12)
        cr.rectangle(x + 3, self.y + 6, w, h)
        cr.fill()
        cr.translate(x, self.y + 3)
        cr.scale(scale, scale)
        cr.set_source_surface(shot, 0, 0)
        cr.get_source().set_filter(cairo.FILTER_GOOD)
        cr.paint()
        cr.restore()
        self.y += h + 8
        self.font(9)
        self.show((PAGE_W - self.width(caption)) / 2, self.y + 10, caption, GREY)
        self.y += 24

    def finish(self):
        self.surface.finish()


def build(source, target):
    ts = Typesetter(target)
    with open(source, encoding="utf-8") as f:
        lines = [line.rstrip("\n") for line in f]
    for line in lines:
        if not line.strip():
            ts.y += 4
        elif line.startswith("@title "):
            ts.title(line[7:])
        elif line.startswith("@subtitle "):
            ts.subtitle(line[10:])
        elif line.startswith("@center "):
            ts.centre(line[8:])
        elif line == "@picture about":
            ts.picture()
        elif line == "@page":
            ts.new_page()
        elif line.startswith("@toolbar "):
            index, rest = line[9:].split(" ", 1)
            name, text = rest.split("|", 1)
            ts.toolbar_row(int(index), name, text)
        elif line.startswith("@screenshot "):
            name, caption = line[12:].split("|", 1)
            ts.screenshot(name, caption)
        elif line.startswith("@note "):
            ts.note(line[6:])
        elif line.startswith("## "):
            ts.subheading(line[3:])
        elif line.startswith("# "):
            ts.heading(line[2:])
        elif line.startswith("- "):
            ts.bullet(line[2:])
        elif re.match(r"\d+\. ", line):
            number, text = line.split(". ", 1)
            ts.step(number, text)
        else:
            ts.paragraph(line, MARGIN_X, TEXT_W)
    ts.finish()


if __name__ == "__main__":
    build(os.path.join(HERE, "manual_ja.txt"), sys.argv[1])
