#include "render/pdf_file.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <span>
#include <string>

namespace {

// A number as PDF writes it: at most four decimals, no exponent, no trailing zeros.
std::string Number(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.4f", std::abs(value) < 0.00005 ? 0.0 : value);
    std::string s(text);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

std::string Box(const PdfRect& r) {
    return "[" + Number(r.left) + " " + Number(r.bottom) + " " + Number(r.right) + " " + Number(r.top) + "]";
}

class PdfBuilder {
public:
    explicit PdfBuilder(std::vector<std::uint8_t>& out) : out_(out) {}

    void Append(const std::string& text) { out_.insert(out_.end(), text.begin(), text.end()); }

    // Starts object number offsets_.size() + 1, remembering where it begins.
    void BeginObject() {
        offsets_.push_back(out_.size());
        Append(std::to_string(offsets_.size()) + " 0 obj\n");
    }

    void Stream(const std::string& dictionary, const std::string& content) {
        BeginObject();
        Append("<< " + dictionary + " /Length " + std::to_string(content.size()) + " >>\nstream\n");
        Append(content);
        Append("\nendstream\nendobj\n");
    }

    // The cross-reference table and trailer; the catalogue is object 1.
    void Finish() {
        const std::size_t xref = out_.size();
        Append("xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f\r\n");
        for (std::size_t offset : offsets_) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offset);
            Append(entry);
        }
        Append("trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
               std::to_string(xref) + "\n%%EOF\n");
    }

    std::vector<std::uint8_t>& Bytes() { return out_; }

private:
    std::vector<std::uint8_t>& out_;
    std::vector<std::size_t> offsets_;
};

std::string PageContent(const PdfPage& page) {
    const PdfRect& r = page.image_at;
    std::string s = "q\n" + Number(r.right - r.left) + " 0 0 " + Number(r.top - r.bottom) + " " + Number(r.left) +
                    " " + Number(r.bottom) + " cm\n/Card Do\nQ\n";
    if (page.lines.empty()) return s;
    s += "q\n/Registration CS 1 SCN\n" + Number(page.line_width) + " w 0 J\n";
    for (const PdfLine& line : page.lines)
        s += Number(line.x0) + " " + Number(line.y0) + " m " + Number(line.x1) + " " + Number(line.y1) + " l S\n";
    s += "Q\n";
    return s;
}

void AppendImage(PdfBuilder& pdf, const PdfImage& image) {
    const std::size_t size = static_cast<std::size_t>(image.width) * image.height * 3;
    pdf.BeginObject();
    pdf.Append("<< /Type /XObject /Subtype /Image /Width " + std::to_string(image.width) + " /Height " +
               std::to_string(image.height) +
               " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate false /Length " + std::to_string(size) +
               " >>\nstream\n");
    std::vector<std::uint8_t>& out = pdf.Bytes();
    std::size_t at = out.size();
    out.resize(at + size);
    for (int y = 0; y < image.height; ++y) {
        const std::uint32_t* row = image.pixels + static_cast<std::size_t>(y) * image.row_pixels;
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = row[x];
            out[at++] = static_cast<std::uint8_t>(p >> 16);
            out[at++] = static_cast<std::uint8_t>(p >> 8);
            out[at++] = static_cast<std::uint8_t>(p);
        }
    }
    pdf.Append("\nendstream\nendobj\n");
}

// Objects: 1 catalogue, 2 page tree, 3 the separation every page's lines use, then page,
// picture and content stream of each sheet in turn.
constexpr int kFirstSheetObject = 4;
constexpr int kObjectsPerSheet = 3;

std::string Reference(int object) { return std::to_string(object) + " 0 R"; }

void Build(std::span<const PdfPictureSheet> sheets, PdfBuilder& pdf) {
    pdf.Append("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    pdf.BeginObject();
    pdf.Append("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
    std::string kids;
    for (std::size_t i = 0; i < sheets.size(); ++i)
        kids += (i ? " " : "") + Reference(kFirstSheetObject + kObjectsPerSheet * static_cast<int>(i));
    pdf.BeginObject();
    pdf.Append("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(sheets.size()) + " >>\nendobj\n");
    // Full tint on every plate: cyan, magenta, yellow and black all at 1.
    pdf.BeginObject();
    pdf.Append(
        "[/Separation /All /DeviceCMYK << /FunctionType 2 /Domain [0 1] /C0 [0 0 0 0] /C1 [1 1 1 1] /N 1 >>]\n"
        "endobj\n");
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const PdfPage& page = sheets[i].page;
        const int object = kFirstSheetObject + kObjectsPerSheet * static_cast<int>(i);
        pdf.BeginObject();
        pdf.Append("<< /Type /Page /Parent 2 0 R /MediaBox " + Box({0, 0, page.width, page.height}) +
                   " /TrimBox " + Box(page.trim) + " /BleedBox " + Box(page.bleed) +
                   " /Resources << /XObject << /Card " + Reference(object + 1) +
                   " >> /ColorSpace << /Registration 3 0 R >> >> /Contents " + Reference(object + 2) +
                   " >>\nendobj\n");
        AppendImage(pdf, sheets[i].image);
        pdf.Stream("", PageContent(page));
    }
    pdf.Finish();
}

bool Writable(const PdfPictureSheet& sheet) {
    const PdfImage& image = sheet.image;
    return image.width >= 1 && image.height >= 1 && image.width <= kLargestPdfImageSide &&
           image.height <= kLargestPdfImageSide && image.pixels &&
           image.row_pixels >= static_cast<std::size_t>(image.width) && sheet.page.width > 0 && sheet.page.height > 0;
}

}  // namespace

bool WritePdf(std::span<const PdfPictureSheet> sheets, std::vector<std::uint8_t>& file) {
    file.clear();
    if (sheets.empty()) return false;
    std::size_t pixels = 0;
    for (const PdfPictureSheet& sheet : sheets) {
        if (!Writable(sheet)) return false;
        pixels += static_cast<std::size_t>(sheet.image.width) * sheet.image.height;
    }
    try {
        file.reserve(pixels * 3 + 4096 * sheets.size());
        PdfBuilder pdf(file);
        Build(sheets, pdf);
        return true;
    } catch (const std::bad_alloc&) {
        file.clear();
        file.shrink_to_fit();
        return false;
    }
}
