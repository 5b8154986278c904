// A PDF file in memory of one or more pages, each with one opaque picture over part of the
// page, thin vector lines in registration colour over it, and its trim and bleed boxes.
// Enough for a print shop's file of a card and its back; no Windows header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A rectangle of the page in points (1/72 inch) from the page's bottom-left corner.
struct PdfRect {
    double left, bottom, right, top;
};

// A straight line of the page, points from its bottom-left corner.
struct PdfLine {
    double x0, y0, x1, y1;
};

// Pixels 0x..RRGGBB (the top byte is not read), the top row first, each row row_pixels
// apart (at least width).
struct PdfImage {
    int width = 0, height = 0;
    const std::uint32_t* pixels = nullptr;
    std::size_t row_pixels = 0;
};

struct PdfPage {
    double width = 0, height = 0;  // points: the MediaBox from (0, 0)
    PdfRect trim{}, bleed{};
    PdfRect image_at{};            // where the picture is stretched to
    std::vector<PdfLine> lines;    // registration colour, line_width points wide
    double line_width = 0.25;
};

// One page of the file and the picture drawn on it.
struct PdfPictureSheet {
    PdfPage page;
    PdfImage image;
};

// The largest side of a picture the writer takes, pixels.
inline constexpr int kLargestPdfImageSide = 20000;

// The whole PDF 1.4 file of the sheets' pages in their order: catalogue, page tree, each
// page with its MediaBox, TrimBox and BleedBox, its picture as an uncompressed 8-bit RGB
// image (lossless and with no cost to encode) and a content stream that draws it and then
// the lines in the /All separation, which every printing plate takes. True with the bytes
// in file. False, with file empty, for no sheet, or when any sheet has a picture side below
// 1 or above kLargestPdfImageSide, no pixels, a row_pixels below the width, a page side of
// 0 points or less, or when memory for the file runs out.
bool WritePdf(std::span<const PdfPictureSheet> sheets, std::vector<std::uint8_t>& file);
