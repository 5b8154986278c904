// A one-page PDF file in memory: one opaque picture over part of the page, thin vector
// lines in registration colour over it, and the page's trim and bleed boxes. Enough for
// a print shop's file of a card; no Windows header.
#pragma once
#include <cstddef>
#include <cstdint>
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

// The largest side of a picture the writer takes, pixels.
inline constexpr int kLargestPdfImageSide = 20000;

// The whole PDF 1.4 file of one page: catalogue, page tree, page with MediaBox, TrimBox and
// BleedBox, the picture as an uncompressed 8-bit RGB image (lossless and with no cost to
// encode) and a content stream that draws it and then the lines in the /All separation,
// which every printing plate takes. True with the bytes in file. False, with file empty,
// for a picture side below 1 or above kLargestPdfImageSide, no pixels, a row_pixels below
// the width, a page side of 0 points or less, or no memory for the file.
bool WritePdf(const PdfPage& page, const PdfImage& image, std::vector<std::uint8_t>& file);
