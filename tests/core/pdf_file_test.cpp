#include "render/pdf_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

std::string Text(const std::vector<std::uint8_t>& file) { return std::string(file.begin(), file.end()); }

PdfPage CardPage() {
    PdfPage page;
    page.width = 300;
    page.height = 200;
    page.trim = {20, 30, 280, 170};
    page.bleed = {11.5, 21.5, 288.5, 178.5};
    page.image_at = page.bleed;
    page.lines = {{0, 30, 10, 30}, {20, 0, 20, 10.25}};
    return page;
}

std::string Write(const PdfPage& page, int w, int h, const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint8_t> file;
    EXPECT_TRUE(WritePdf(page, {w, h, pixels.data(), static_cast<std::size_t>(w)}, file));
    return Text(file);
}

// Every object the cross-reference table lists starts exactly at its offset, the
// table itself where startxref says, and the trailer counts them all.
void ExpectConsistentOffsets(const std::string& pdf) {
    const std::size_t start = pdf.rfind("startxref\n");
    ASSERT_NE(start, std::string::npos);
    const std::size_t xref = std::strtoull(pdf.c_str() + start + 10, nullptr, 10);
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    std::smatch header;
    const std::string table = pdf.substr(xref);
    ASSERT_TRUE(std::regex_search(table, header, std::regex("^xref\n0 (\\d+)\n")));
    const int count = std::stoi(header[1]);
    EXPECT_NE(pdf.find("/Size " + std::to_string(count) + " "), std::string::npos);
    std::size_t entry = xref + header.length(0);
    EXPECT_EQ(pdf.substr(entry, 20), "0000000000 65535 f\r\n");
    for (int object = 1; object < count; ++object) {
        entry += 20;
        const std::string row = pdf.substr(entry, 20);
        ASSERT_EQ(row.substr(10), " 00000 n\r\n") << row;
        const std::size_t offset = std::stoull(row.substr(0, 10));
        const std::string opening = std::to_string(object) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(offset, opening.size(), opening), 0) << "object " << object;
    }
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
}

}  // namespace

TEST(PdfFile, OnePixelPageHasItsBoxesInPointsAndConsistentOffsets) {
    const std::string pdf = Write(CardPage(), 1, 1, {0xFF123456u});
    EXPECT_EQ(pdf.substr(0, 9), "%PDF-1.4\n");
    EXPECT_NE(pdf.find("/MediaBox [0 0 300 200]"), std::string::npos);
    EXPECT_NE(pdf.find("/TrimBox [20 30 280 170]"), std::string::npos);
    EXPECT_NE(pdf.find("/BleedBox [11.5 21.5 288.5 178.5]"), std::string::npos);
    // The picture is stretched over the bleed box, its one pixel as R, G, B.
    EXPECT_NE(pdf.find("277 0 0 157 11.5 21.5 cm\n/Card Do"), std::string::npos);
    EXPECT_NE(pdf.find("/Width 1 /Height 1 /ColorSpace /DeviceRGB /BitsPerComponent 8"), std::string::npos);
    EXPECT_NE(pdf.find("/Length 3 >>\nstream\n\x12\x34\x56\nendstream"), std::string::npos);
    // Lines in the separation every plate prints.
    EXPECT_NE(pdf.find("/Registration CS 1 SCN"), std::string::npos);
    EXPECT_NE(pdf.find("20 0 m 20 10.25 l S"), std::string::npos);
    EXPECT_NE(pdf.find("[/Separation /All /DeviceCMYK"), std::string::npos);
    ExpectConsistentOffsets(pdf);
}

TEST(PdfFile, WidestPictureKeepsEveryPixelInRowOrder) {
    std::vector<std::uint32_t> pixels(20000);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * 0x010203u);
    PdfPage page = CardPage();
    page.lines.clear();
    const std::string pdf = Write(page, 20000, 1, pixels);
    const std::string opening = "/Length 60000 >>\nstream\n";
    const std::size_t data = pdf.find(opening);
    ASSERT_NE(data, std::string::npos);
    const std::size_t at = data + opening.size();
    for (std::size_t i : {std::size_t{0}, std::size_t{1}, std::size_t{12345}, std::size_t{19999}}) {
        EXPECT_EQ(static_cast<std::uint8_t>(pdf[at + 3 * i]), static_cast<std::uint8_t>(pixels[i] >> 16));
        EXPECT_EQ(static_cast<std::uint8_t>(pdf[at + 3 * i + 2]), static_cast<std::uint8_t>(pixels[i]));
    }
    EXPECT_EQ(pdf.compare(at + 60000, 10, "\nendstream"), 0);
    EXPECT_EQ(pdf.find("/Registration CS", at + 60000), std::string::npos);  // no lines, no line drawing
    ExpectConsistentOffsets(pdf);
}

TEST(PdfFile, RowsFollowTheirStrideAndBadInputIsRefused) {
    // Two rows of two pixels held in rows of three: the third of each row is not written.
    const std::vector<std::uint32_t> pixels = {0x010101, 0x020202, 0xEEEEEE, 0x030303, 0x040404, 0xEEEEEE};
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(WritePdf(CardPage(), {2, 2, pixels.data(), 3}, file));
    EXPECT_NE(Text(file).find(std::string("stream\n\1\1\1\2\2\2\3\3\3\4\4\4\n")), std::string::npos);

    EXPECT_FALSE(WritePdf(CardPage(), {0, 1, pixels.data(), 1}, file));
    EXPECT_TRUE(file.empty());
    EXPECT_FALSE(WritePdf(CardPage(), {20001, 1, pixels.data(), 20001}, file));
    EXPECT_FALSE(WritePdf(CardPage(), {2, 1, pixels.data(), 1}, file));
    EXPECT_FALSE(WritePdf(CardPage(), {1, 1, nullptr, 1}, file));
    PdfPage flat = CardPage();
    flat.height = 0;
    EXPECT_FALSE(WritePdf(flat, {1, 1, pixels.data(), 1}, file));
}
