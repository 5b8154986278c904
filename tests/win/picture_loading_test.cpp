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

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

// Near a colour, allowing for JPEG and halftone rounding.
bool Near(COLORREF a, COLORREF b, int tolerance = 24) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

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
};

TEST_F(PictureFiles, BitmapAndJpegLoadAtTheirNaturalSize) {
    for (int mode = 0; mode < 4; ++mode) {
        HBITMAP bmp = LoadDialogPicture(Bmp(L"a.bmp").c_str(), mode);
        ASSERT_TRUE(bmp) << mode;
        EXPECT_EQ(SizeOf(bmp).cx, 20);
        EXPECT_EQ(SizeOf(bmp).cy, 10);
        DeleteObject(bmp);
        HBITMAP jpg = LoadDialogPicture(Jpeg(L"a.jpg").c_str(), mode);
        ASSERT_TRUE(jpg) << mode;
        EXPECT_EQ(SizeOf(jpg).cx, 64);
        EXPECT_EQ(SizeOf(jpg).cy, 48);
        DeleteObject(jpg);
    }
}

TEST_F(PictureFiles, ModeZeroSendsBmpNamesOfAnyCaseToTheBitmapLoader) {
    EXPECT_TRUE(HasBitmapExtension(L"x.BMP"));
    EXPECT_TRUE(HasBitmapExtension(L"x.bMp"));
    EXPECT_FALSE(HasBitmapExtension(L"bmp"));
    EXPECT_FALSE(HasBitmapExtension(L"x.jpg"));
    EXPECT_FALSE(HasBitmapExtension(nullptr));
    // A JPEG named .BMP: the bitmap loader refuses it under mode 0, the picture loader
    // reads it under mode 1.
    const std::wstring disguised = Jpeg(L"photo.BMP");
    EXPECT_EQ(LoadDialogPicture(disguised.c_str(), 0), nullptr);
    HBITMAP viaOle = LoadDialogPicture(disguised.c_str(), 1);
    EXPECT_TRUE(viaOle);
    DeleteObject(viaOle);
    HBITMAP capitals = LoadDialogPicture(Bmp(L"CAPS.BMP").c_str(), 0);
    EXPECT_TRUE(capitals);
    DeleteObject(capitals);
}

TEST_F(PictureFiles, BrokenFilesGiveNoPicture) {
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
        for (int mode : {0, 1}) {
            HBITMAP b = LoadDialogPicture(folder.File(L"cut.bmp").c_str(), mode);
            if (b) DeleteObject(b);  // a loader may accept a short pixel array; no crash is the point
        }
    }
    for (size_t cut : {size_t{4}, size_t{100}, size_t{kTwoHalvesJpegSize / 2}}) {
        WriteBytes(folder.File(L"cut.jpg"), kTwoHalvesJpeg, cut);
        HBITMAP b = LoadPicture(folder.File(L"cut.jpg").c_str());
        if (b) DeleteObject(b);
    }
    std::vector<uint8_t> noise(5000);
    uint32_t state = 12345;
    for (auto& b : noise) b = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 16);
    WriteBytes(folder.File(L"noise.jpg"), noise.data(), noise.size());
    EXPECT_EQ(LoadPicture(folder.File(L"noise.jpg").c_str()), nullptr);
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
    EXPECT_EQ(Pictures().base, nullptr);
    EXPECT_EQ(Pictures().mark[1], nullptr);
    EXPECT_NE(Pictures().mark[2], nullptr);
    EXPECT_EQ(Pictures().mark[3], nullptr);
    EXPECT_EQ(Pictures().face, nullptr);

    d.phot_data.on = 1;
    d.mark_data[2].on = 0;
    SetText(d.base_filepass, U16(Jpeg(L"base.jpg").c_str()));
    seam.messages.clear();
    LoadDesignPictures(nullptr, true);
    EXPECT_EQ(seam.MessageTexts(), L"マーク画像が読み込み出来ません。");
    EXPECT_NE(Pictures().base, nullptr);
    EXPECT_EQ(Pictures().mark[2], nullptr);  // switched off: released, not reloaded
    EXPECT_NE(Pictures().face, nullptr);
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
