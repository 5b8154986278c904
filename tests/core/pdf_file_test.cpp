#include "render/pdf_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>
#include <utility>
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

bool WriteOne(const PdfPage& page, const PdfImage& image, std::vector<std::uint8_t>& file) {
    const PdfPictureSheet sheet{page, image};
    return WritePdf({&sheet, 1}, file);
}

std::string Write(const PdfPage& page, int w, int h, const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint8_t> file;
    EXPECT_TRUE(WriteOne(page, {w, h, pixels.data(), static_cast<std::size_t>(w)}, file));
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
    ASSERT_TRUE(WriteOne(CardPage(), {2, 2, pixels.data(), 3}, file));
    EXPECT_NE(Text(file).find(std::string("stream\n\1\1\1\2\2\2\3\3\3\4\4\4\n")), std::string::npos);

    EXPECT_FALSE(WriteOne(CardPage(), {0, 1, pixels.data(), 1}, file));
    EXPECT_TRUE(file.empty());
    EXPECT_FALSE(WriteOne(CardPage(), {20001, 1, pixels.data(), 20001}, file));
    EXPECT_FALSE(WriteOne(CardPage(), {2, 1, pixels.data(), 1}, file));
    EXPECT_FALSE(WriteOne(CardPage(), {1, 1, nullptr, 1}, file));
    PdfPage flat = CardPage();
    flat.height = 0;
    EXPECT_FALSE(WriteOne(flat, {1, 1, pixels.data(), 1}, file));
}

namespace {

#ifndef _WIN32
// The standard output of a command, or nullopt when it did not end with status 0.
std::optional<std::string> RunTool(const std::string& command) {
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char buffer[512];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    if (pclose(pipe) != 0) return std::nullopt;
    return out;
}
#endif

}  // namespace

// A card and its back of the other orientation: two pages, each with its own boxes and
// picture, and one separation for the lines of both.
TEST(PdfFile, TwoPagesKeepTheirOwnBoxesAndPictures) {
    const std::vector<std::uint32_t> front = {0x112233u, 0x445566u};
    const std::vector<std::uint32_t> back = {0xA1A2A3u, 0xB1B2B3u, 0xC1C2C3u};
    // The card page turned a quarter: a standing card of the same size.
    const auto turned = [](const PdfRect& r) { return PdfRect{r.bottom, r.left, r.top, r.right}; };
    PdfPage standing = CardPage();
    std::swap(standing.width, standing.height);
    standing.trim = turned(standing.trim);
    standing.bleed = standing.image_at = turned(standing.bleed);
    const PdfPictureSheet sheets[] = {{CardPage(), {2, 1, front.data(), 2}}, {standing, {1, 3, back.data(), 1}}};
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(WritePdf(sheets, file));
    const std::string pdf = Text(file);
    EXPECT_NE(pdf.find("/Kids [4 0 R 7 0 R] /Count 2"), std::string::npos);
    const std::size_t second = pdf.find("7 0 obj\n");
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(pdf.find("/MediaBox [0 0 300 200]"), second);
    EXPECT_GT(pdf.find("/MediaBox [0 0 200 300] /TrimBox [30 20 170 280] /BleedBox [21.5 11.5 178.5 288.5]"), second);
    EXPECT_NE(pdf.find("/Length 6 >>\nstream\n\x11\x22\x33\x44\x55\x66\nendstream"), std::string::npos);
    EXPECT_GT(pdf.find("/Length 9 >>\nstream\n\xA1\xA2\xA3\xB1\xB2\xB3\xC1\xC2\xC3\nendstream"), second);
    EXPECT_NE(pdf.find("/Card 8 0 R >> /ColorSpace << /Registration 3 0 R >> >> /Contents 9 0 R"), std::string::npos);
    EXPECT_EQ(pdf.find("/Separation /All"), pdf.rfind("/Separation /All"));
    ExpectConsistentOffsets(pdf);

    // One sheet that cannot be written refuses the whole file.
    PdfPictureSheet broken[] = {sheets[0], sheets[1]};
    broken[1].image.pixels = nullptr;
    EXPECT_FALSE(WritePdf(broken, file));
    EXPECT_TRUE(file.empty());
    EXPECT_FALSE(WritePdf({}, file));

#ifndef _WIN32
    // What the tools of a print shop make of it.
    if (!RunTool("command -v qpdf") || !RunTool("command -v pdfinfo")) GTEST_SKIP() << "qpdf or pdfinfo is not installed";
    ASSERT_TRUE(WritePdf(sheets, file));
    const std::string path = ::testing::TempDir() + "two_pages.pdf";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(out);
    ASSERT_EQ(std::fwrite(file.data(), 1, file.size(), out), file.size());
    ASSERT_EQ(std::fclose(out), 0);
    const auto check = RunTool("qpdf --check '" + path + "'");
    ASSERT_TRUE(check) << "qpdf --check failed";
    EXPECT_NE(check->find("No syntax or stream encoding errors"), std::string::npos) << *check;
    const auto info = RunTool("LANG=C pdfinfo -box -f 1 -l 2 '" + path + "'");
    ASSERT_TRUE(info);
    EXPECT_TRUE(std::regex_search(*info, std::regex("Pages: +2\n"))) << *info;
    EXPECT_TRUE(std::regex_search(*info, std::regex("Page +1 size: +300 x 200 pts"))) << *info;
    EXPECT_TRUE(std::regex_search(*info, std::regex("Page +2 size: +200 x 300 pts"))) << *info;
    EXPECT_TRUE(std::regex_search(*info, std::regex("Page +1 TrimBox: +20\\.00 +30\\.00 +280\\.00 +170\\.00"))) << *info;
    EXPECT_TRUE(std::regex_search(*info, std::regex("Page +2 BleedBox: +21\\.50 +11\\.50 +178\\.50 +288\\.50")))
        << *info;
    std::remove(path.c_str());
#endif
}
