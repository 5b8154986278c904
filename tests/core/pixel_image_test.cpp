#include "render/pixel_image.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// A picture whose pixel (x, y) is opaque with red x, green y, blue x + y.
PixelImage Ramp(int w, int h) {
    PixelImage p = MakePixelImage(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.pixels[static_cast<std::size_t>(y) * w + x] = Argb(255, x, y, x + y);
    p.opaque = true;
    return p;
}

int Channel(std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

TEST(ScaleImage, SameSizeCopiesExactlyAndPartsComeFromTheirPlace) {
    const PixelImage ramp = Ramp(40, 30);
    EXPECT_EQ(ScaleImage(ramp, {0, 0, 40, 30}, 40, 30).pixels, ramp.pixels);
    // A crop at the same size is the crop itself; a part of a result is that part of it.
    const PixelImage crop = ScaleImage(ramp, {5, 7, 10, 4}, 10, 4);
    EXPECT_EQ(crop.At(0, 0), ramp.At(5, 7));
    EXPECT_EQ(crop.At(9, 3), ramp.At(14, 10));
    const SourceRect part{3, 2, 4, 2};
    const PixelImage piece = ScaleImage(ramp, {0, 0, 40, 30}, 40, 30, false, &part);
    ASSERT_EQ(piece.width, 4);
    ASSERT_EQ(piece.height, 2);
    EXPECT_EQ(piece.At(0, 0), ramp.At(3, 2));
    EXPECT_EQ(piece.At(3, 1), ramp.At(6, 3));
    // A part far outside is empty; one reaching past the result is clipped.
    const SourceRect past{38, 28, 100, 100};
    EXPECT_EQ(ScaleImage(ramp, {0, 0, 40, 30}, 40, 30, false, &past).width, 2);
    const SourceRect outside{100, 0, 5, 5};
    EXPECT_TRUE(ScaleImage(ramp, {0, 0, 40, 30}, 40, 30, false, &outside).Empty());
}

TEST(ScaleImage, HalvingAveragesAndDoublingRepeats) {
    const PixelImage ramp = Ramp(4, 2);
    const PixelImage half = ScaleImage(ramp, {0, 0, 4, 2}, 2, 1);
    // (0,0) (1,0) (0,1) (1,1): red 0.5, green 0.5, blue 1 rounded.
    EXPECT_EQ(half.At(0, 0), Argb(255, 1, 1, 1));
    EXPECT_EQ(half.At(1, 0), Argb(255, 3, 1, 3));
    const PixelImage twice = ScaleImage(ramp, {0, 0, 4, 2}, 8, 4);
    EXPECT_EQ(twice.At(0, 0), ramp.At(0, 0));
    EXPECT_EQ(twice.At(1, 1), ramp.At(0, 0));
    EXPECT_EQ(twice.At(7, 3), ramp.At(3, 1));
    // A third: a result pixel over a third of three source pixels mixes them.
    const PixelImage thirds = ScaleImage(Ramp(3, 1), {0, 0, 3, 1}, 2, 1);
    EXPECT_EQ(Channel(thirds.At(0, 0), 16), 0);  // (0 × 1 + 1 × 0.5) / 1.5 = 0.33
    EXPECT_EQ(Channel(thirds.At(1, 0), 16), 2);  // (1 × 0.5 + 2 × 1) / 1.5 = 1.67
}

TEST(ScaleImage, TransparentPixelsLendNoColourAndWhiteCanBeKeyedOut) {
    PixelImage p = MakePixelImage(2, 1, 0);
    p.pixels = {Argb(255, 200, 0, 0), 0};  // red beside fully transparent
    p.opaque = false;
    const PixelImage one = ScaleImage(p, {0, 0, 2, 1}, 1, 1);
    EXPECT_EQ(one.At(0, 0), Argb(128, 100, 0, 0));  // half red, premultiplied: still pure red
    EXPECT_FALSE(one.opaque);

    PixelImage keyed = MakePixelImage(2, 1, kOpaqueWhite);
    keyed.pixels[1] = Argb(255, 0, 0, 90);
    const PixelImage kept = ScaleImage(keyed, {0, 0, 2, 1}, 2, 1);
    EXPECT_TRUE(kept.opaque);
    const PixelImage gone = ScaleImage(keyed, {0, 0, 2, 1}, 2, 1, true);
    EXPECT_EQ(gone.At(0, 0), 0u);
    EXPECT_EQ(gone.At(1, 0), Argb(255, 0, 0, 90));
    EXPECT_FALSE(gone.opaque);
}

TEST(ScaleImage, NothingToScaleGivesNothing) {
    const PixelImage ramp = Ramp(4, 4);
    EXPECT_TRUE(ScaleImage(PixelImage{}, {0, 0, 4, 4}, 2, 2).Empty());
    EXPECT_TRUE(ScaleImage(ramp, {0, 0, 4, 4}, 0, 2).Empty());
    EXPECT_TRUE(ScaleImage(ramp, {4, 0, 4, 4}, 2, 2).Empty());
    EXPECT_TRUE(ScaleImage(ramp, {0, 0, -1, 4}, 2, 2).Empty());
    // A from reaching past the picture is clipped to it; extreme values do not overflow.
    EXPECT_EQ(ScaleImage(ramp, {2, 2, 100, 100}, 2, 2).At(1, 1), ramp.At(3, 3));
    EXPECT_TRUE(ScaleImage(ramp, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 1, 1).Empty());  // ends at -1
    EXPECT_EQ(ScaleImage(ramp, {-10, -10, INT32_MAX, INT32_MAX}, 4, 4).pixels, ramp.pixels);
    // A huge result costs only the part asked for.
    const SourceRect corner{0, 0, 3, 3};
    EXPECT_EQ(ScaleImage(ramp, {0, 0, 4, 4}, 1000000, 1000000, false, &corner).pixels.size(), 9u);
}

TEST(DrawOver, BlendsInPremultipliedColourAndClips) {
    PixelImage target = MakePixelImage(3, 2, Argb(255, 200, 100, 0));
    PixelImage layer = MakePixelImage(2, 2, Argb(128, 0, 0, 128));  // blue at half alpha
    layer.pixels[1] = 0;                                            // and a clear pixel
    DrawOver(target, layer, 2, 0);                                  // only its left column lands
    EXPECT_EQ(target.At(0, 0), Argb(255, 200, 100, 0));
    EXPECT_EQ(target.At(2, 0), Argb(255, 100, 50, 128));  // 200 × 127 / 255 rounded
    EXPECT_TRUE(target.opaque);
    DrawOver(target, layer, -1, -1);  // only its bottom-right pixel lands at (0, 0)
    EXPECT_EQ(target.At(0, 0), Argb(255, 100, 50, 128));
    EXPECT_EQ(target.At(1, 0), Argb(255, 200, 100, 0));

    PixelImage clear = MakePixelImage(1, 1, 0);
    DrawOver(clear, MakePixelImage(1, 1, Argb(128, 0, 0, 128)), 0, 0);
    EXPECT_FALSE(clear.opaque);
    DrawOver(clear, MakePixelImage(1, 1, Argb(255, 1, 2, 3)), 0, 0);
    EXPECT_TRUE(clear.opaque);
    FlattenOver(target, 0);
    PixelImage half = MakePixelImage(1, 1, Argb(128, 64, 0, 0));
    FlattenOver(half, 0xFFFFFF);
    EXPECT_EQ(half.At(0, 0), Argb(255, 191, 127, 127));
    EXPECT_TRUE(half.opaque);
}

TEST(OrientImage, EachTagTurnsTheCornersWhereTheCameraHadThem) {
    // The stored corners: a top-left, b top-right, c bottom-left, d bottom-right.
    PixelImage p = MakePixelImage(3, 2, 0);
    const std::uint32_t a = 1, b = 2, c = 3, d = 4;
    p.pixels = {a, 9, b, c, 9, d};
    p.per_metre_x = 100, p.per_metre_y = 200;
    struct Shown {
        int tag, w, h;
        std::uint32_t top_left, top_right, bottom_left, bottom_right;
    };
    for (const Shown s : {Shown{1, 3, 2, a, b, c, d}, Shown{2, 3, 2, b, a, d, c}, Shown{3, 3, 2, d, c, b, a},
                          Shown{4, 3, 2, c, d, a, b}, Shown{5, 2, 3, a, c, b, d}, Shown{6, 2, 3, c, a, d, b},
                          Shown{7, 2, 3, d, b, c, a}, Shown{8, 2, 3, b, d, a, c}}) {
        const PixelImage o = OrientImage(p, s.tag);
        ASSERT_EQ(o.width, s.w) << s.tag;
        ASSERT_EQ(o.height, s.h) << s.tag;
        EXPECT_EQ(o.At(0, 0), s.top_left) << s.tag;
        EXPECT_EQ(o.At(s.w - 1, 0), s.top_right) << s.tag;
        EXPECT_EQ(o.At(0, s.h - 1), s.bottom_left) << s.tag;
        EXPECT_EQ(o.At(s.w - 1, s.h - 1), s.bottom_right) << s.tag;
        EXPECT_EQ(o.per_metre_x, s.tag >= 5 ? 200 : 100) << s.tag;
    }
    EXPECT_EQ(OrientImage(p, 0).pixels, p.pixels);
    EXPECT_EQ(OrientImage(p, 9).pixels, p.pixels);
}

TEST(AdoptBitmapAlpha, ZeroFourthBytesArePaddingOthersAreAlpha) {
    PixelImage padded = MakePixelImage(2, 1, 0);
    padded.pixels = {Argb(0, 10, 20, 30), Argb(0, 255, 255, 255)};
    AdoptBitmapAlpha(padded);
    EXPECT_TRUE(padded.opaque);
    EXPECT_EQ(padded.At(0, 0), Argb(255, 10, 20, 30));
    PixelImage alpha = MakePixelImage(2, 1, 0);
    alpha.pixels = {Argb(51, 200, 100, 50), Argb(0, 255, 255, 255)};
    AdoptBitmapAlpha(alpha);
    EXPECT_FALSE(alpha.opaque);
    EXPECT_EQ(alpha.At(0, 0), Argb(51, 40, 20, 10));
    EXPECT_EQ(alpha.At(1, 0), 0u);
}

TEST(NaturalCardSize, FinePicturesTakeTheSizeTheyWereMadeFor) {
    EXPECT_EQ(NaturalCardSize(240, 300, 15000, 15000).w, 80);   // 381 dpi
    EXPECT_EQ(NaturalCardSize(240, 300, 15000, 15000).h, 100);
    EXPECT_EQ(NaturalCardSize(80, 100, 3780, 3780).w, 80);      // 96 dpi: pixels, as always
    EXPECT_EQ(NaturalCardSize(80, 100, 0, 0).h, 100);
    EXPECT_EQ(NaturalCardSize(6000, 4000, 2834.6, 2834.6).w, 6000);  // a 72 dpi phone photo
    EXPECT_EQ(NaturalCardSize(1, 1, 1e9, 1e9).w, 1);
    EXPECT_EQ(NaturalCardSize(100, 100, 1.0 / 0.0, 10000).w, 100);
    EXPECT_EQ(NaturalCardSize(100, 100, 10000, 10000).h, 50);
}

}  // namespace
