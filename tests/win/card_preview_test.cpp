#include "render/card_preview.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/status_line.h"
#include "design/card_design.h"
#include "paint_and_show.h"
#include "recording_seam.h"
#include "test_bitmap.h"
#include "win/design_text.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

std::unique_ptr<CardDesign> AllOff() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    return d;
}

class CardPreview : public ::testing::Test {
protected:
    RecordingSeam seam;
    std::unique_ptr<CardDesign> design = AllOff();
    DesignPictures none;
    TestBitmap canvas{600, 600};

    void Paint(int pick = 0) { PaintCardAndShow(canvas.Dc(), *design, none, pick); }
    void BoxedItem(int j, int x, int y, int bk) {
        StrData& t = design->str_data[j];
        t.on = 1;
        t.x = x;
        t.y = y;
        t.bk = bk;
        t.br = 10, t.bg = 200, t.bb = 30;
    }
};

TEST_F(CardPreview, NothingIsDrawnWhenEveryItemIsOff) {
    Paint();
    EXPECT_EQ(canvas.CountOther(0, 0, 600, 600, kWhite), 0);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(CardPreview, BackgroundBoxFillsTheTextCellAtTheCardOffset) {
    BoxedItem(3, 20, 30, 1);
    Paint();
    const SIZE extent = TextExtent(3);
    ASSERT_GT(extent.cx, 50);
    ASSERT_GT(extent.cy, 5);
    EXPECT_EQ(canvas.Pixel(20 + 10, 30 + 50), RGB(10, 200, 30));
    // The cell is filled with the box colour except where glyphs are.
    const int cell = extent.cx * extent.cy;
    EXPECT_GT(canvas.CountColour(30, 80, 30 + extent.cx, 80 + extent.cy, RGB(10, 200, 30)), cell / 3);
    // Nothing outside the cell.
    EXPECT_EQ(canvas.CountOther(0, 0, 600, 79, kWhite), 0);
    EXPECT_EQ(canvas.CountOther(0, 0, 29, 600, kWhite), 0);
    EXPECT_EQ(canvas.CountOther(0, 80 + extent.cy + 1, 600, 600, kWhite), 0);
}

TEST_F(CardPreview, WithoutBoxOnlyGlyphsAreDrawn) {
    BoxedItem(3, 20, 30, 0);
    Paint();
    EXPECT_EQ(canvas.Pixel(30, 80), kWhite);
    EXPECT_EQ(canvas.CountColour(0, 0, 600, 600, RGB(10, 200, 30)), 0);
    EXPECT_GT(canvas.CountOther(0, 0, 600, 600, kWhite), 20);  // the glyphs, in black
}

TEST_F(CardPreview, ExtentTableHoldsTheMeasuredSizeOfTheItemFont) {
    BoxedItem(2, 0, 0, 0);  // the large bold name
    Paint();
    HFONT font = CreateDesignFont(design->lf[2]);
    TestBitmap other(10, 10);
    HGDIOBJ old = SelectObject(other.Dc(), font);
    SIZE expected{};
    GetTextExtentPoint32W(other.Dc(), reinterpret_cast<const wchar_t*>(design->str_data[2].s64),
                          lstrlenW(reinterpret_cast<const wchar_t*>(design->str_data[2].s64)), &expected);
    SelectObject(other.Dc(), old);
    DeleteObject(font);
    EXPECT_EQ(TextExtent(2).cx, expected.cx);
    EXPECT_EQ(TextExtent(2).cy, expected.cy);
    EXPECT_GE(expected.cy, 30);  // -32 pixel characters
}

TEST_F(CardPreview, EmptyTextStoresZeroWidth) {
    BoxedItem(7, 5, 5, 1);
    design->str_data[7].s64[0] = 0;
    Paint();
    EXPECT_EQ(TextExtent(7).cx, 0);
    EXPECT_EQ(canvas.CountOther(0, 0, 600, 600, kWhite), 0);
}

TEST_F(CardPreview, PickedTextIsLeftOutAndKeepsItsOldExtent) {
    BoxedItem(4, 0, 0, 1);
    BoxedItem(5, 0, 100, 1);
    Paint();
    const SIZE before = TextExtent(4);
    design->str_data[4].s64[0] = u'X';
    canvas.Fill(kWhite);
    Paint(104);
    EXPECT_EQ(canvas.Pixel(10, 50), kWhite);           // item 4 missing
    EXPECT_EQ(canvas.Pixel(10, 150), RGB(10, 200, 30));  // item 5 drawn
    EXPECT_EQ(TextExtent(4).cx, before.cx);
}

TEST_F(CardPreview, ColoursUseOnlyTheLowByte) {
    BoxedItem(0, 0, 0, 1);
    design->str_data[0].br = 256 + 1;
    design->str_data[0].bg = 512 + 2;
    design->str_data[0].bb = -256 + 3;
    Paint();
    EXPECT_EQ(canvas.Pixel(10, 50), RGB(1, 2, 3));
}

TEST(StatusLine, Texts) {
    EXPECT_EQ(StatusPrinterText(L"CardPDF"), L"ﾌﾟﾘﾝﾀ：CardPDF");
    EXPECT_EQ(StatusPrinterText(L""), L"ﾌﾟﾘﾝﾀ：");
    EXPECT_EQ(StatusPaperText(0, 0), L"用紙：0.0×0.0");
    EXPECT_EQ(StatusPaperText(2100, 2970), L"用紙：210.0×297.0");
    auto d = AllOff();
    EXPECT_EQ(StatusStyleText(*d), L"ｽﾀｲﾙ：横91.0×2,縦55.0×3");
    d->base_pw = 555;
    d->base_cntx = 10;
    EXPECT_EQ(StatusStyleText(*d), L"ｽﾀｲﾙ：横55.5×10,縦55.0×3");
}

}  // namespace
