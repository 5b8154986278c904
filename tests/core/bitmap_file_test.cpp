#include "render/bitmap_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

std::uint32_t Read32(const BitmapHeader& h, int at) {
    return h[at] | h[at + 1] << 8 | h[at + 2] << 16 | static_cast<std::uint32_t>(h[at + 3]) << 24;
}

TEST(BitmapFile, RowsArePaddedToFourBytes) {
    const int widths[][2] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {455, 1368}};
    for (const auto& [width, row] : widths) {
        EXPECT_EQ(BitmapRowSize(width), row) << width;
        EXPECT_EQ(BitmapFileSize(width, 2), 54 + 2 * row) << width;
    }
    EXPECT_EQ(BitmapFileSize(455, 275), 376254);
    EXPECT_EQ(BitmapRowSize(INT_MAX), 6442450944);  // no 32-bit overflow on the way
}

TEST(BitmapFile, HeaderOfTheDefaultCard) {
    const auto h = MakeBitmapHeader(455, 275);
    ASSERT_TRUE(h);
    const BitmapHeader expected = {
        'B', 'M', 0xBE, 0xBD, 0x05, 0,  // 376254
        0, 0, 0, 0, 54, 0, 0, 0,
        40, 0, 0, 0, 0xC7, 0x01, 0, 0, 0x13, 0x01, 0, 0,  // 455 x 275
        1, 0, 24, 0};  // the rest zero
    EXPECT_EQ(*h, expected);
}

TEST(BitmapFile, SizeFieldsFollowTheRowPadding) {
    for (int width = 1; width <= 4; ++width) {
        const auto h = MakeBitmapHeader(width, 3);
        ASSERT_TRUE(h) << width;
        EXPECT_EQ(Read32(*h, 2), 54 + 3 * BitmapRowSize(width)) << width;
        EXPECT_EQ(Read32(*h, 18), static_cast<std::uint32_t>(width));
        EXPECT_EQ(Read32(*h, 22), 3u);
    }
}

TEST(BitmapFile, RefusesEmptyAndNegativeSizesAndFilesOver2GB) {
    EXPECT_FALSE(MakeBitmapHeader(0, 1));
    EXPECT_FALSE(MakeBitmapHeader(1, 0));
    EXPECT_FALSE(MakeBitmapHeader(-4, 10));
    EXPECT_FALSE(MakeBitmapHeader(10, INT_MIN));
    // Rows of 12 bytes: 178956966 of them make 2147483646 bytes, one more is over 2 GB.
    const auto largest = MakeBitmapHeader(4, 178956966);
    ASSERT_TRUE(largest);
    EXPECT_EQ(Read32(*largest, 2), 2147483646u);
    EXPECT_FALSE(MakeBitmapHeader(4, 178956967));
    // Sizes whose products overflow 32 bits are refused, not wrapped into small files.
    EXPECT_FALSE(MakeBitmapHeader(INT_MAX, 1));
    EXPECT_FALSE(MakeBitmapHeader(65536, 65536));
    // Near the int limit the 64-bit product itself would overflow: refused, and the file
    // size saturates instead of wrapping.
    EXPECT_FALSE(MakeBitmapHeader(2147483640, 2147483647));
    EXPECT_FALSE(MakeBitmapHeader(INT_MAX, INT_MAX));
    EXPECT_EQ(BitmapFileSize(2147483640, 2147483647), INT64_MAX);
    EXPECT_EQ(BitmapFileSize(INT_MAX, 1), 54 + 6442450944);
}

TEST(BitmapFile, PathUnderTheFolderBecomesRelative) {
    const std::u16string_view folder = u"C:\\Vivivuz";
    EXPECT_EQ(PathUnderFolder(u"C:\\Vivivuz\\phot\\phot-01.bmp", folder), u"phot\\phot-01.bmp");
    EXPECT_EQ(PathUnderFolder(u"c:\\VIVIVUZ\\a.bmp", folder), u"a.bmp");
    EXPECT_EQ(PathUnderFolder(u"C:\\Vivivuz\\a.bmp", u"c:\\vivivuz"), u"a.bmp");
    EXPECT_EQ(PathUnderFolder(u"C:\\a.bmp", u"C:\\"), u"a.bmp");
    EXPECT_EQ(PathUnderFolder(u"D:\\名刺\\写真\\顔.bmp", u"D:\\名刺"), u"写真\\顔.bmp");
}

TEST(BitmapFile, PathElsewhereStaysWhole) {
    const std::u16string_view folder = u"C:\\Vivi";
    for (std::u16string_view path :
         {u"C:\\Vivivuz\\x.bmp", u"C:\\Vivi.bmp", u"C:\\Vivi", u"C:\\Vivi\\", u"D:\\Vivi\\x.bmp",
          u"C:\\other\\Vivi\\x.bmp", u"x.bmp", u""})
        EXPECT_EQ(PathUnderFolder(path, folder), path);
    EXPECT_EQ(PathUnderFolder(u"C:\\Vivi\\x.bmp", u""), u"C:\\Vivi\\x.bmp");
}

TEST(BitmapFile, BmpExtensionIsAddedUnlessPresentInAnyCase) {
    EXPECT_EQ(WithBitmapExtension(u"C:\\x\\card.BMP"), u"C:\\x\\card.BMP");
    EXPECT_EQ(WithBitmapExtension(u"card.bmp"), u"card.bmp");
    EXPECT_EQ(WithBitmapExtension(u"card.bMp"), u"card.bMp");
    EXPECT_EQ(WithBitmapExtension(u"card.png"), u"card.png.bmp");
    EXPECT_EQ(WithBitmapExtension(u"card"), u"card.bmp");
    EXPECT_EQ(WithBitmapExtension(u"cardbmp"), u"cardbmp.bmp");
    EXPECT_EQ(WithBitmapExtension(u"bmp"), u"bmp.bmp");
}

}  // namespace
