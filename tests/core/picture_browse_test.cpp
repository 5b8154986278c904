#include "editors/picture_browse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(PictureBrowse, NextAndPreviousWrapAndNeverLeaveTheList) {
    EXPECT_EQ(NextPictureIndex(0, 3), 1);
    EXPECT_EQ(NextPictureIndex(2, 3), 0);
    EXPECT_EQ(PreviousPictureIndex(0, 3), 2);
    EXPECT_EQ(PreviousPictureIndex(2, 3), 1);
    // An index left over from a longer list.
    EXPECT_EQ(NextPictureIndex(7, 3), 0);
    EXPECT_EQ(PreviousPictureIndex(7, 3), 2);
    EXPECT_EQ(NextPictureIndex(-4, 3), 0);
    EXPECT_EQ(PreviousPictureIndex(-4, 3), 2);
    // One entry, and none: nothing to step to, no division by zero.
    EXPECT_EQ(NextPictureIndex(0, 1), 0);
    EXPECT_EQ(PreviousPictureIndex(0, 1), 0);
    EXPECT_EQ(NextPictureIndex(0, 0), 0);
    EXPECT_EQ(PreviousPictureIndex(5, 0), 5);
}

TEST(PictureBrowse, PictureNamesByExtensionInAnyCase) {
    EXPECT_TRUE(IsBitmapName(u"base-01.bmp"));
    EXPECT_TRUE(IsBitmapName(u"BASE.BMP"));
    EXPECT_FALSE(IsBitmapName(u"base.bmp.txt"));
    EXPECT_FALSE(IsBitmapName(u"bmp"));
    EXPECT_TRUE(IsJpegName(u"photo.JPG"));
    EXPECT_TRUE(IsJpegName(u"photo.jpeg"));
    EXPECT_FALSE(IsJpegName(u"photo.jpg.bmp"));
}

TEST(PictureBrowse, NamesSortWithoutRegardToCase) {
    std::vector<std::u16string> names = {u"mark-10.bmp", u"Mark-02.bmp", u"mark-01.bmp", u"MARK-02.bmp", u"a.bmp"};
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return PictureNameBefore(a, b); });
    EXPECT_EQ(names, (std::vector<std::u16string>{u"a.bmp", u"mark-01.bmp", u"MARK-02.bmp", u"Mark-02.bmp",
                                                  u"mark-10.bmp"}));
    EXPECT_TRUE(PictureNameBefore(u"ab", u"ABC"));
    EXPECT_FALSE(PictureNameBefore(u"abc", u"abc"));
}

TEST(PictureBrowse, PaintCommandLineQuotesAnyPath) {
    EXPECT_EQ(PaintCommandLine(u"mspaint.exe", u"base\\base-01.bmp"), u"mspaint.exe \"base\\base-01.bmp\"");
    const std::u16string long_path = u"C:\\" + std::u16string(600, u'x') + u"\\a b.bmp";
    EXPECT_EQ(PaintCommandLine(u"C:\\Program Files\\paint.exe", long_path),
              u"C:\\Program Files\\paint.exe \"" + long_path + u"\"");
    EXPECT_EQ(PaintCommandLine(u"mspaint.exe", u""), u"mspaint.exe");
}
