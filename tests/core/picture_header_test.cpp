#include "render/picture_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "render/pixel_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& to, std::initializer_list<int> bytes) {
    for (int b : bytes) to.push_back(static_cast<std::uint8_t>(b));
}
void Be16(Bytes& to, unsigned v) { Append(to, {int(v >> 8), int(v & 0xFF)}); }
void Be32(Bytes& to, std::uint32_t v) { Append(to, {int(v >> 24), int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)}); }

PictureHeader Read(const Bytes& b) { return ReadPictureHeader(b.data(), b.size()); }

// A TIFF structure, big- or little-endian, whose first directory holds the given SHORT tags.
Bytes Tiff(bool little, std::initializer_list<std::pair<unsigned, unsigned>> tags) {
    Bytes b;
    auto u16 = [&](unsigned v) { little ? Append(b, {int(v & 0xFF), int(v >> 8)}) : Be16(b, v); };
    auto u32 = [&](std::uint32_t v) {
        if (little) Append(b, {int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)});
        else Be32(b, v);
    };
    Append(b, little ? std::initializer_list<int>{'I', 'I', 42, 0} : std::initializer_list<int>{'M', 'M', 0, 42});
    u32(8);
    u16(static_cast<unsigned>(tags.size()));
    for (const auto& [tag, value] : tags) {
        u16(tag), u16(3), u32(1), u16(value), u16(0);
    }
    u32(0);
    return b;
}

// A JPEG start: SOI, an APP1 Exif block around tiff, a frame header of w x h.
Bytes Jpeg(const Bytes& tiff, unsigned w, unsigned h) {
    Bytes b;
    Append(b, {0xFF, 0xD8, 0xFF, 0xE0});
    Be16(b, 16);
    for (int i = 0; i < 14; ++i) b.push_back(0);
    if (!tiff.empty()) {
        Append(b, {0xFF, 0xE1});
        Be16(b, static_cast<unsigned>(tiff.size() + 8));
        Append(b, {'E', 'x', 'i', 'f', 0, 0});
        b.insert(b.end(), tiff.begin(), tiff.end());
    }
    Append(b, {0xFF, 0xC2});  // progressive frame
    Be16(b, 11);
    Append(b, {8});
    Be16(b, h);
    Be16(b, w);
    Append(b, {1, 1, 0x11, 0});
    Append(b, {0xFF, 0xDA, 0, 2});
    return b;
}

Bytes Png(std::uint32_t w, std::uint32_t h) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    Be32(b, w);
    Be32(b, h);
    Append(b, {8, 6, 0, 0, 0});
    return b;
}

Bytes Bitmap(std::int32_t w, std::int32_t h, int bits, std::uint32_t compression) {
    Bytes b(54, 0);
    b[0] = 'B', b[1] = 'M', b[10] = 54, b[14] = 40;
    auto le32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    le32(18, static_cast<std::uint32_t>(w));
    le32(22, static_cast<std::uint32_t>(h));
    b[26] = 1, b[28] = static_cast<std::uint8_t>(bits);
    le32(30, compression);
    return b;
}

TEST(PictureHeader, FormatsAreToldByTheirContentWithTheirSize) {
    const PictureHeader png = Read(Png(640, 480));
    EXPECT_EQ(png.format, PictureFormat::kPng);
    EXPECT_EQ(png.width, 640u);
    EXPECT_EQ(png.height, 480u);
    const PictureHeader jpeg = Read(Jpeg({}, 6000, 4000));
    EXPECT_EQ(jpeg.format, PictureFormat::kJpeg);
    EXPECT_EQ(jpeg.width, 6000u);
    EXPECT_EQ(jpeg.height, 4000u);
    EXPECT_EQ(jpeg.orientation, 1);
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 0x20, 0x03, 0x58, 0x02};
    EXPECT_EQ(Read(gif).format, PictureFormat::kGif);
    EXPECT_EQ(Read(gif).width, 800u);
    EXPECT_EQ(Read(gif).height, 600u);
    const PictureHeader top_down = Read(Bitmap(20, -10, 24, 0));
    EXPECT_EQ(top_down.format, PictureFormat::kBmp);
    EXPECT_EQ(top_down.height, 10u);
    EXPECT_TRUE(top_down.uncompressed_bitmap);
    EXPECT_EQ(top_down.bitmap_bytes, 54u + 60 * 10);  // rows of 60 bytes
    EXPECT_FALSE(Read(Bitmap(20, 10, 8, 1)).uncompressed_bitmap);  // run-length coded
    const PictureHeader tiff = Read(Tiff(true, {{256, 3}, {257, 2}, {274, 6}}));
    EXPECT_EQ(tiff.format, PictureFormat::kTiff);
    EXPECT_EQ(tiff.width, 3u);
    EXPECT_EQ(tiff.height, 2u);
    EXPECT_EQ(tiff.orientation, 6);
    EXPECT_EQ(Read({'R', 'I', 'F', 'F'}).format, PictureFormat::kUnknown);
    EXPECT_EQ(ReadPictureHeader(nullptr, 10).format, PictureFormat::kUnknown);
}

TEST(PictureHeader, OrientationFromExifInEitherByteOrder) {
    for (bool little : {true, false}) {
        for (unsigned tag = 1; tag <= 8; ++tag) {
            EXPECT_EQ(Read(Jpeg(Tiff(little, {{0x100, 9}, {274, tag}}), 48, 32)).orientation, static_cast<int>(tag));
        }
        EXPECT_EQ(Read(Jpeg(Tiff(little, {{274, 0}}), 48, 32)).orientation, 1);   // out of range
        EXPECT_EQ(Read(Jpeg(Tiff(little, {{274, 9}}), 48, 32)).orientation, 1);
        EXPECT_EQ(Read(Jpeg(Tiff(little, {{275, 6}}), 48, 32)).orientation, 1);   // another tag
    }
    // A directory that claims more entries than the block holds is read as far as it goes.
    Bytes broken = Tiff(true, {{274, 3}});
    broken[8] = 0xFF, broken[9] = 0xFF;
    EXPECT_EQ(ReadTiffOrientation(broken.data(), broken.size()), 3);
    broken.resize(12);
    EXPECT_EQ(ReadTiffOrientation(broken.data(), broken.size()), 1);
    Bytes far = Tiff(true, {{274, 3}});
    far[4] = 0xF0, far[5] = 0xFF, far[6] = 0xFF, far[7] = 0xFF;  // a directory past the end
    EXPECT_EQ(ReadTiffOrientation(far.data(), far.size()), 1);
    // The frame size is found behind the Exif block whatever its length says.
    const Bytes jpeg = Jpeg(Tiff(false, {{274, 8}}), 4000, 3000);
    const PictureHeader h = Read(jpeg);
    EXPECT_EQ(h.width, 4000u);
    EXPECT_EQ(h.orientation, 8);
    for (std::size_t cut = 0; cut < jpeg.size(); ++cut) ReadPictureHeader(jpeg.data(), cut);  // never past the end
    // An APP1 segment too short for its "Exif" name, with an Exif block right behind it:
    // the block is not the segment's, and nothing past the file is read.
    Bytes short_app1;
    Append(short_app1, {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x02});
    for (char c : {'E', 'x', 'i', 'f', '\0', '\0'}) short_app1.push_back(static_cast<std::uint8_t>(c));
    const Bytes tiff = Tiff(false, {{274, 6}});
    short_app1.insert(short_app1.end(), tiff.begin(), tiff.end());
    EXPECT_EQ(Read(short_app1).orientation, 1);
}

TEST(PlausiblePicture, AbsurdHeadersAreRefusedBeforeDecoding) {
    EXPECT_TRUE(PlausiblePicture(Read(Png(6000, 4000)), 8'000'000));
    EXPECT_FALSE(PlausiblePicture(Read(Png(100000, 100000)), 1'000'000'000));  // 10 gigapixels
    EXPECT_FALSE(PlausiblePicture(Read(Png(10001, 10000)), 1'000'000'000));    // just over 100 MP
    EXPECT_TRUE(PlausiblePicture(Read(Png(10000, 10000)), 1'000'000'000));
    EXPECT_FALSE(PlausiblePicture(Read(Png(8000, 8000)), 2000));               // 64 MP in 2 KB
    EXPECT_FALSE(PlausiblePicture(Read(Png(0, 10)), 100));
    EXPECT_FALSE(PlausiblePicture(Read(Jpeg({}, 0, 0)), 100));                  // no frame size
    const Bytes bitmap = Bitmap(30000, 30000, 24, 0);
    EXPECT_FALSE(PlausiblePicture(Read(bitmap), bitmap.size()));               // 2.7 GB of rows claimed
    EXPECT_TRUE(PlausiblePicture(Read(Bitmap(20, 10, 24, 0)), 54 + 600));
    EXPECT_FALSE(PlausiblePicture(Read(Bitmap(20, 10, 24, 0)), 54 + 599));
    EXPECT_TRUE(PlausiblePicture(Read(Bitmap(20, 10, 8, 1)), 100));           // coded: the decoder judges
    EXPECT_TRUE(PlausiblePicture(Read({'R', 'I', 'F', 'F'}), 4));              // unknown: the decoder judges
    EXPECT_TRUE(AcceptablePictureSize(1, kMaxPicturePixels));
    EXPECT_FALSE(AcceptablePictureSize(2, kMaxPicturePixels));
    EXPECT_FALSE(AcceptablePictureSize(UINT32_MAX, UINT32_MAX));
}

}  // namespace
