#include "render/picture_loading.h"

#include <gtest/gtest.h>

#include "design/fixed_text.h"
#include "paint_and_show.h"
#include "recording_seam.h"
#include "render/card_preview.h"
#include "render/pictures.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "two_halves_jpeg.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

SIZE SizeOf(const PicturePtr& picture) { return picture ? SIZE{picture->width, picture->height} : SIZE{0, 0}; }

// Near a colour, allowing for JPEG and halftone rounding.
bool Near(COLORREF a, COLORREF b, int tolerance = 24) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// A pixel of a decoded picture: its premultiplied colour and its alpha.
COLORREF ColourAt(const PixelImage& p, int x, int y) {
    const std::uint32_t v = p.At(x, y);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}
int AlphaAt(const PixelImage& p, int x, int y) { return static_cast<int>(p.At(x, y) >> 24); }

// The test pictures of tests/win/pictures (made by its make_pictures.sh).
std::wstring TestPicture(const char* name) {
    std::wstring path;
    for (const char* c = VIVI_TEST_PICTURES; *c; ++c) path.push_back(static_cast<wchar_t>(*c));
    path += L"/";
    for (const char* c = name; *c; ++c) path.push_back(static_cast<wchar_t>(*c));
    return path;
}

// The stored 3 x 2 picture of the test pictures, row by row.
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0), kMagenta = RGB(255, 0, 255), kCyan = RGB(0, 255, 255);
constexpr COLORREF kStored[2][3] = {{kRed, kGreen, kBlue}, {kYellow, kMagenta, kCyan}};

class PictureFiles : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::wstring Bmp(const std::wstring& name, int w = 20, int h = 10) {
        const auto bytes = MakeBmp(w, h, [](int x, int) { return x < 10 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
        WriteBytes(folder.File(name), bytes.data(), bytes.size());
        return folder.File(name);
    }
    std::wstring Jpeg(const std::wstring& name) {
        WriteBytes(folder.File(name), kTwoHalvesJpeg, kTwoHalvesJpegSize);
        return folder.File(name);
    }
    std::wstring Copy(const char* picture, const std::wstring& name, std::size_t keep = SIZE_MAX) {
        std::vector<uint8_t> bytes = ReadBytes(TestPicture(picture));
        if (keep < bytes.size()) bytes.resize(keep);
        WriteBytes(folder.File(name), bytes.data(), bytes.size());
        return folder.File(name);
    }
};

TEST_F(PictureFiles, BitmapAndJpegLoadAtTheirNaturalSizeInEveryMode) {
    for (int mode = 0; mode <= kLoadAllPictures; ++mode) {
        const PicturePtr bmp = LoadDialogPicture(Bmp(L"a.bmp").c_str(), mode);
        ASSERT_TRUE(bmp) << mode;
        EXPECT_EQ(SizeOf(bmp).cx, 20);
        EXPECT_EQ(SizeOf(bmp).cy, 10);
        EXPECT_TRUE(bmp->opaque);
        const PicturePtr jpg = LoadDialogPicture(Jpeg(L"a.jpg").c_str(), mode);
        ASSERT_TRUE(jpg) << mode;
        EXPECT_EQ(SizeOf(jpg).cx, 64);
        EXPECT_EQ(SizeOf(jpg).cy, 48);
        EXPECT_TRUE(Near(ColourAt(*jpg, 10, 10), RGB(200, 40, 40), 6));
    }
}

// Designs of today draw as they did: the bitmap loader of mode 0 and the imaging component
// give the same pixels for the same bitmap file.
TEST_F(PictureFiles, BothRoadsGiveABitmapTheSamePixels) {
    const auto bytes = MakeBmp(37, 23, [](int x, int y) { return RGB(x * 7, y * 11, (x * y) % 256); });
    WriteBytes(folder.File(L"g.bmp"), bytes.data(), bytes.size());
    const PicturePtr api = LoadDialogPicture(folder.File(L"g.bmp").c_str(), kLoadBitmapApi);
    const PicturePtr decoded = LoadDialogPicture(folder.File(L"g.bmp").c_str(), kLoadAllPictures);
    ASSERT_TRUE(api && decoded);
    EXPECT_EQ(api->pixels, decoded->pixels);
    EXPECT_EQ(ColourAt(*decoded, 5, 3), RGB(35, 33, 15));
}

TEST_F(PictureFiles, ContentNotNameChoosesTheDecoder) {
    EXPECT_TRUE(HasBitmapExtension(L"x.BMP"));
    EXPECT_TRUE(HasBitmapExtension(L"x.bMp"));
    EXPECT_FALSE(HasBitmapExtension(L"bmp"));
    EXPECT_FALSE(HasBitmapExtension(L"x.jpg"));
    EXPECT_FALSE(HasBitmapExtension(nullptr));
    // A JPEG and a PNG named .BMP load in every mode; mode 0's bitmap loader refuses them and
    // the imaging component reads them.
    const std::wstring disguised = Jpeg(L"photo.BMP");
    const std::wstring png = Copy("palette.png", L"logo.bmp");
    for (int mode = 0; mode <= kLoadAllPictures; ++mode) {
        EXPECT_EQ(SizeOf(LoadDialogPicture(disguised.c_str(), mode)).cx, 64) << mode;
        EXPECT_EQ(SizeOf(LoadDialogPicture(png.c_str(), mode)).cx, 24) << mode;
    }
    EXPECT_TRUE(LoadDialogPicture(Bmp(L"CAPS.BMP").c_str(), 0));
}

// Each format and its harder variants: the blocks of the 3 x 2 picture where they belong.
TEST_F(PictureFiles, EveryFormatDecodes) {
    struct Case {
        const char* name;
        int tolerance;
        bool half_alpha_corner, clear_corner;
    };
    for (const Case c : {Case{"interlaced.png", 0, true, false}, Case{"palette.png", 0, false, true},
                         Case{"deep.png", 1, false, false}, Case{"progressive.jpg", 8, false, false},
                         Case{"cmyk.jpg", 12, false, false}, Case{"animated.gif", 0, false, false},
                         Case{"pages.tif", 0, false, false}}) {
        const PicturePtr p = LoadPicture(TestPicture(c.name).c_str());
        ASSERT_TRUE(p) << c.name;
        EXPECT_EQ(SizeOf(p).cx, 24) << c.name;
        EXPECT_EQ(SizeOf(p).cy, 16) << c.name;
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column) {
                if (row == 0 && column == 0 && (c.half_alpha_corner || c.clear_corner)) continue;
                EXPECT_TRUE(Near(ColourAt(*p, column * 8 + 4, row * 8 + 4), kStored[row][column], c.tolerance))
                    << c.name << " " << column << "," << row;
                EXPECT_EQ(AlphaAt(*p, column * 8 + 4, row * 8 + 4), 255) << c.name;
            }
        if (c.half_alpha_corner) {
            EXPECT_NEAR(AlphaAt(*p, 3, 3), 128, 1);
            EXPECT_EQ(ColourAt(*p, 3, 3), RGB(AlphaAt(*p, 3, 3), 0, 0));  // premultiplied
        }
        if (c.clear_corner) EXPECT_EQ(p->At(3, 3), 0u);
        EXPECT_EQ(p->opaque, !c.half_alpha_corner && !c.clear_corner) << c.name;
    }
}

// Each orientation tag turns the picture the way the camera held it: exactly for TIFF, in
// 16-pixel blocks for JPEG.
TEST_F(PictureFiles, OrientationTagsTurnThePicture) {
    // What each tag shows, row by row; 5 to 8 are 2 wide and 3 high.
    const std::vector<std::vector<COLORREF>> shown[9] = {
        {},
        {{kRed, kGreen, kBlue}, {kYellow, kMagenta, kCyan}},
        {{kBlue, kGreen, kRed}, {kCyan, kMagenta, kYellow}},
        {{kCyan, kMagenta, kYellow}, {kBlue, kGreen, kRed}},
        {{kYellow, kMagenta, kCyan}, {kRed, kGreen, kBlue}},
        {{kRed, kYellow}, {kGreen, kMagenta}, {kBlue, kCyan}},
        {{kYellow, kRed}, {kMagenta, kGreen}, {kCyan, kBlue}},
        {{kCyan, kBlue}, {kMagenta, kGreen}, {kYellow, kRed}},
        {{kBlue, kCyan}, {kGreen, kMagenta}, {kRed, kYellow}},
    };
    for (int tag = 1; tag <= 8; ++tag) {
        const auto& expected = shown[tag];
        const int rows = static_cast<int>(expected.size()), columns = static_cast<int>(expected[0].size());
        const std::string number = std::to_string(tag);
        const PicturePtr tiff = LoadPicture(TestPicture(("orient-" + number + ".tif").c_str()).c_str());
        const PicturePtr jpeg = LoadPicture(TestPicture(("orient-" + number + ".jpg").c_str()).c_str());
        ASSERT_TRUE(tiff && jpeg) << tag;
        EXPECT_EQ(SizeOf(tiff).cx, columns) << tag;
        EXPECT_EQ(SizeOf(tiff).cy, rows) << tag;
        EXPECT_EQ(SizeOf(jpeg).cx, columns * 16) << tag;
        EXPECT_EQ(SizeOf(jpeg).cy, rows * 16) << tag;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x) {
                EXPECT_EQ(ColourAt(*tiff, x, y), expected[y][x]) << tag << ": " << x << "," << y;
                EXPECT_TRUE(Near(ColourAt(*jpeg, x * 16 + 8, y * 16 + 8), expected[y][x], 10))
                    << tag << ": " << x << "," << y;
            }
    }
}

// A 32-bit bitmap: alpha when its fourth bytes say so, padding when they are all zero.
TEST_F(PictureFiles, ThirtyTwoBitBitmapsKeepTheirAlpha) {
    auto bitmap = [&](const std::wstring& name, std::uint8_t alpha) {
        std::vector<uint8_t> file(54 + 2 * 2 * 4, 0);
        file[0] = 'B', file[1] = 'M';
        file[2] = static_cast<uint8_t>(file.size());
        file[10] = 54, file[14] = 40, file[18] = 2, file[22] = 2, file[26] = 1, file[28] = 32;
        for (int i = 0; i < 4; ++i) {
            uint8_t* p = &file[54 + i * 4];
            p[0] = 200, p[1] = 100, p[2] = 50, p[3] = i == 0 ? alpha : (alpha ? 255 : 0);
        }
        WriteBytes(folder.File(name), file.data(), file.size());
        return LoadDialogPicture(folder.File(name).c_str(), kLoadAllPictures);
    };
    const PicturePtr with_alpha = bitmap(L"a32.bmp", 51);
    ASSERT_TRUE(with_alpha);
    EXPECT_FALSE(with_alpha->opaque);
    EXPECT_EQ(AlphaAt(*with_alpha, 0, 1), 51);  // bottom-up: the first stored pixel is the last row
    EXPECT_EQ(ColourAt(*with_alpha, 0, 1), RGB(10, 20, 40));
    const PicturePtr padded = bitmap(L"p32.bmp", 0);
    ASSERT_TRUE(padded);
    EXPECT_TRUE(padded->opaque);
    EXPECT_EQ(ColourAt(*padded, 0, 1), RGB(50, 100, 200));
}

TEST_F(PictureFiles, BrokenAndAbsurdFilesGiveNoPicture) {
    EXPECT_EQ(LoadPicture(nullptr), nullptr);
    EXPECT_EQ(LoadPicture(L""), nullptr);
    EXPECT_EQ(LoadPicture(folder.File(L"missing.jpg").c_str()), nullptr);
    WriteBytes(folder.File(L"empty.jpg"), "", 0);
    EXPECT_EQ(LoadPicture(folder.File(L"empty.jpg").c_str()), nullptr);
    WriteBytes(folder.File(L"empty.bmp"), "", 0);
    EXPECT_EQ(LoadDialogPicture(folder.File(L"empty.bmp").c_str(), 0), nullptr);

    const auto bmp = MakeBmp(40, 40, [](int, int) { return RGB(1, 2, 3); });
    for (size_t cut : {size_t{2}, size_t{20}, size_t{60}, bmp.size() / 2}) {
        WriteBytes(folder.File(L"cut.bmp"), bmp.data(), cut);
        for (int mode : {0, 1, kLoadAllPictures})
            LoadDialogPicture(folder.File(L"cut.bmp").c_str(), mode);  // no crash is the point
    }
    for (size_t cut : {size_t{4}, size_t{100}, size_t{kTwoHalvesJpegSize / 2}}) {
        WriteBytes(folder.File(L"cut.jpg"), kTwoHalvesJpeg, cut);
        LoadPicture(folder.File(L"cut.jpg").c_str());
    }
    for (size_t cut : {size_t{8}, size_t{33}, size_t{120}, size_t{200}})
        EXPECT_EQ(LoadPicture(Copy("interlaced.png", L"cut.png", cut).c_str()), nullptr) << cut;
    std::vector<uint8_t> noise(5000);
    uint32_t state = 12345;
    for (auto& b : noise) b = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 16);
    WriteBytes(folder.File(L"noise.jpg"), noise.data(), noise.size());
    EXPECT_EQ(LoadPicture(folder.File(L"noise.jpg").c_str()), nullptr);

    // Headers that claim 100000 x 100000 pixels, or more than their file holds, are refused
    // before any decoding.
    std::vector<uint8_t> huge = ReadBytes(TestPicture("palette.png"));
    huge[16] = 0, huge[17] = 1, huge[18] = 0x86, huge[19] = 0xA0;  // width 100000
    huge[20] = 0, huge[21] = 1, huge[22] = 0x86, huge[23] = 0xA0;  // height 100000
    WriteBytes(folder.File(L"huge.png"), huge.data(), huge.size());
    EXPECT_EQ(LoadPicture(folder.File(L"huge.png").c_str()), nullptr);
    std::vector<uint8_t> claims = bmp;
    claims[18] = 0x30, claims[19] = 0x75;  // 30000 wide in a file of 40 x 40
    WriteBytes(folder.File(L"claims.bmp"), claims.data(), claims.size());
    for (int mode : {0, kLoadAllPictures}) EXPECT_EQ(LoadDialogPicture(folder.File(L"claims.bmp").c_str(), mode), nullptr);
}

class DesignPictureLoading : public PictureFiles {
protected:
    RecordingSeam seam;
    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        ReleaseDesignPictures();
    }
    void TearDown() override { ReleaseDesignPictures(); }
};

TEST_F(DesignPictureLoading, EachMissingPictureIsReportedAndSkipped) {
    CardDesign& d = Design();
    d.mark_data[1].on = 1;                       // on with no file
    d.mark_data[2].on = 1;
    SetText(d.mark_data[2].fm, U16(Bmp(L"m.bmp").c_str()));
    SetText(d.mark_data[3].fm, U16(Bmp(L"off.bmp").c_str()));  // off: not loaded
    SetText(d.phot_data.fm, U16(Jpeg(L"face.jpg").c_str()));    // face off: not loaded
    LoadDesignPictures(nullptr, false);
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[0].text, L"ベース画像が読み込み出来ません。");
    EXPECT_EQ(seam.messages[0].caption, L"Image_Load");
    EXPECT_EQ(seam.messages[1].text, L"マーク画像が読み込み出来ません。");
    EXPECT_FALSE(Pictures().base);
    EXPECT_FALSE(Pictures().mark[1]);
    EXPECT_TRUE(Pictures().mark[2]);
    EXPECT_FALSE(Pictures().mark[3]);
    EXPECT_FALSE(Pictures().face);

    d.phot_data.on = 1;
    d.mark_data[2].on = 0;
    SetText(d.base_filepass, U16(Jpeg(L"base.jpg").c_str()));
    seam.messages.clear();
    LoadDesignPictures(nullptr, true);
    EXPECT_EQ(seam.MessageTexts(), L"マーク画像が読み込み出来ません。");
    EXPECT_TRUE(Pictures().base);
    EXPECT_FALSE(Pictures().mark[2]);  // switched off: released, not reloaded
    EXPECT_TRUE(Pictures().face);
}

// A 1000 x 550 picture with a red band (x < 45), green middle and blue band (x >= 955),
// on the 455 x 275 card: each placement shows a different part.
TEST_F(DesignPictureLoading, PreviewCropsTheBaseByPlacementMode) {
    const auto bytes = MakeBmp(1000, 550, [](int x, int) {
        return x < 45 ? RGB(255, 0, 0) : x >= 955 ? RGB(0, 0, 255) : RGB(0, 255, 0);
    });
    WriteBytes(folder.File(L"wide.bmp"), bytes.data(), bytes.size());
    CardDesign& d = Design();
    SetText(d.base_filepass, U16(folder.File(L"wide.bmp").c_str()));
    LoadDesignPictures(nullptr, false);
    ASSERT_TRUE(Pictures().base);
    struct Case { int mode; COLORREF left, right; };
    for (Case c : {Case{0, RGB(255, 0, 0), RGB(0, 0, 255)}, Case{1, RGB(0, 255, 0), RGB(0, 255, 0)},
                   Case{2, RGB(255, 0, 0), RGB(0, 255, 0)}, Case{3, RGB(0, 255, 0), RGB(0, 0, 255)}}) {
        d.base_pl_mode = c.mode;
        d.b_outline = 1;
        TestBitmap canvas(600, 600);
        PaintCardAndShow(canvas.Dc(), d, Pictures(), 0);
        EXPECT_TRUE(Near(canvas.Pixel(10 + 3, 50 + 100), c.left)) << c.mode;
        EXPECT_TRUE(Near(canvas.Pixel(10 + 451, 50 + 100), c.right)) << c.mode;
        // The outline one pixel outside the card, in black.
        EXPECT_EQ(canvas.Pixel(9, 49), RGB(0, 0, 0));
        EXPECT_EQ(canvas.Pixel(10 + 455, 50 + 275), RGB(0, 0, 0));
        EXPECT_EQ(canvas.Pixel(8, 48), RGB(255, 255, 255));
    }
}

// Blue at half alpha over a known base colour blends within 2 on the preview, as a drag
// overlay of the same mark does on the window.
TEST_F(DesignPictureLoading, HalfAlphaBlendsOverTheBaseOnThePreview) {
    CardDesign& d = Design();
    const auto base = MakeBmp(455, 275, [](int, int) { return RGB(200, 100, 0); });
    WriteBytes(folder.File(L"base.bmp"), base.data(), base.size());
    SetText(d.base_filepass, U16(folder.File(L"base.bmp").c_str()));
    d.mark_data[0] = {1, 100, 100, 40, 40, 1, {}};  // the white key does not apply to alpha
    SetText(d.mark_data[0].fm, U16(TestPicture("half-blue.png").c_str()));
    LoadDesignPictures(nullptr, false);
    ASSERT_TRUE(Pictures().mark[0]);
    TestBitmap canvas(600, 600);
    PaintCardAndShow(canvas.Dc(), d, Pictures(), 0);
    const COLORREF c = canvas.Pixel(10 + 120, 50 + 120);
    EXPECT_NEAR(GetRValue(c), 100, 2);
    EXPECT_NEAR(GetGValue(c), 50, 2);
    EXPECT_NEAR(GetBValue(c), 128, 2);
    EXPECT_EQ(canvas.Pixel(10 + 99, 50 + 120), RGB(200, 100, 0));
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(DesignPictureLoading, WhiteOfATransparentMarkShowsTheFaceBelow) {
    CardDesign& d = Design();
    const auto face = MakeBmp(40, 40, [](int, int) { return RGB(0, 128, 0); });
    WriteBytes(folder.File(L"face.bmp"), face.data(), face.size());
    const auto mark = MakeBmp(40, 40, [](int x, int) { return x < 20 ? RGB(255, 255, 255) : RGB(200, 0, 0); });
    WriteBytes(folder.File(L"mark.bmp"), mark.data(), mark.size());
    d.phot_data = {1, 0, 0, 40, 40, {}};
    SetText(d.phot_data.fm, U16(folder.File(L"face.bmp").c_str()));
    d.mark_data[0] = {1, 0, 0, 40, 40, 1, {}};
    SetText(d.mark_data[0].fm, U16(folder.File(L"mark.bmp").c_str()));
    LoadDesignPictures(nullptr, false);
    TestBitmap canvas(600, 600);
    PaintCardAndShow(canvas.Dc(), d, Pictures(), 0);
    EXPECT_EQ(canvas.Pixel(10 + 5, 50 + 20), RGB(0, 128, 0));  // white left out
    EXPECT_EQ(canvas.Pixel(10 + 35, 50 + 20), RGB(200, 0, 0));
    d.mark_data[0].m = 0;
    PaintCardAndShow(canvas.Dc(), d, Pictures(), 0);
    EXPECT_EQ(canvas.Pixel(10 + 5, 50 + 20), RGB(255, 255, 255));
    // A picked mark is missing from the paint.
    canvas.Fill(RGB(1, 1, 1));
    PaintCardAndShow(canvas.Dc(), d, Pictures(), 1);
    EXPECT_EQ(canvas.Pixel(10 + 35, 50 + 20), RGB(0, 128, 0));
}

}  // namespace
