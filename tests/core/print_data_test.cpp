#include "render/print_data.h"

#include <gtest/gtest.h>

#include <memory>

#include "design/fixed_text.h"

namespace {

std::unique_ptr<CardDesign> Card() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    for (auto& text : d->str_data) text.on = 0;
    for (auto& qr : d->qrcode_data) qr.on = 0;
    d->base_w = 455;
    d->base_h = 275;
    d->base_pw = 910;
    d->base_ph = 550;
    return d;
}

PrintDataLayout Layout(const CardDesign& d, PrintDataOptions options) {
    PrintDataLayout layout;
    EXPECT_TRUE(MakePrintDataLayout(d, options, layout));
    return layout;
}

}  // namespace

TEST(PrintData, LayoutInPixelsOfTheResolution) {
    const auto d = Card();
    // 91 × 55 mm at 350 dpi with 3 mm bleed: 1254 × 758 and 41 pixels beyond each edge.
    PrintDataLayout l = Layout(*d, {PrintDataFormat::kPng, 350, 30, true});
    EXPECT_EQ(l.card_w, 1254);
    EXPECT_EQ(l.card_h, 758);
    EXPECT_EQ(l.bleed, 41);
    EXPECT_EQ(l.image_w, 1336);
    EXPECT_EQ(l.image_h, 840);
    EXPECT_EQ(l.margin, 41);  // a PNG has no marks
    EXPECT_EQ(l.page_w, 1336);

    l = Layout(*d, {PrintDataFormat::kPdf, 600, 30, true});
    EXPECT_EQ(l.image_w, 2150 + 2 * 71);
    EXPECT_EQ(l.margin, 331);  // 14 mm
    l = Layout(*d, {PrintDataFormat::kPdf, 600, 0, false});
    EXPECT_EQ(l.bleed, 0);
    EXPECT_EQ(l.page_w, 2150);

    const CardMapping m = PrintDataMapping(*d, Layout(*d, {PrintDataFormat::kPdf, 600, 30, true}));
    EXPECT_EQ(MapCard(m), (DeviceRect{71, 71, 2150, 1299}));
    EXPECT_EQ(MapPoint(m, 455, 275), (DevicePoint{71 + 2150, 71 + 1299}));
}

TEST(PrintData, SidesBeyondTheLargestAreRefused) {
    auto d = Card();
    PrintDataLayout l;
    // 42 cm at 1200 dpi is 19843 pixels, with bleed 20126.
    d->base_pw = 4200;
    EXPECT_TRUE(MakePrintDataLayout(*d, {PrintDataFormat::kPng, 1200, 0, false}, l));
    EXPECT_FALSE(MakePrintDataLayout(*d, {PrintDataFormat::kPng, 1200, 30, false}, l));
    EXPECT_EQ(l.image_w, 0);
    d->base_pw = 2'000'000'000;  // hand-edited: no int overflow on the way
    EXPECT_FALSE(MakePrintDataLayout(*d, {PrintDataFormat::kPdf, 1200, 30, true}, l));
    d->base_pw = 0;
    EXPECT_FALSE(MakePrintDataLayout(*d, {PrintDataFormat::kPdf, 600, 30, true}, l));
}

TEST(PrintData, BleedCoversCardAndBleedInEveryPlacement) {
    // A 2000 × 1000 picture over a card of 1000 × 600 device pixels and 50 of bleed
    // (1100 × 700 in all). Centre: the card shows (167, 0, 1666, 1000); with bleed the crop
    // reaches outward into the pixels left and right, keeping the whole height.
    EXPECT_EQ(BaseCrop(2000, 1000, 1000, 600, 1), (SourceRect{167, 0, 1666, 1000}));
    EXPECT_EQ(BleedCrop(2000, 1000, 1000, 600, 50, 50, 1), (SourceRect{214, 0, 1571, 1000}));
    // Top-left and bottom-right keep their corner.
    EXPECT_EQ(BleedCrop(2000, 1000, 1000, 600, 50, 50, 2), (SourceRect{0, 0, 1571, 1000}));
    EXPECT_EQ(BleedCrop(2000, 1000, 1000, 600, 50, 50, 3), (SourceRect{429, 0, 1571, 1000}));
    // A tall picture: the whole width, cut top and bottom.
    EXPECT_EQ(BleedCrop(1000, 2000, 1000, 600, 50, 50, 1), (SourceRect{0, 682, 1000, 636}));
    // Fit: the whole picture over card and bleed.
    EXPECT_EQ(BleedCrop(2000, 1000, 1000, 600, 50, 50, 0), (SourceRect{0, 0, 2000, 1000}));
    // No bleed: the card's own crop.
    EXPECT_EQ(BleedCrop(2000, 1000, 1000, 600, 0, 0, 2), BaseCrop(2000, 1000, 1000, 600, 2));
}

TEST(PrintData, PdfPageBoxesInPointsAndMarksOutsideTheBleed) {
    const auto d = Card();
    const PrintDataLayout l = Layout(*d, {PrintDataFormat::kPdf, 600, 30, true});
    const PdfPage page = PrintDataPage(l, true);
    const double k = 72.0 / 600;
    EXPECT_DOUBLE_EQ(page.width, (2150 + 2 * 331) * k);
    EXPECT_DOUBLE_EQ(page.trim.left, 331 * k);
    EXPECT_DOUBLE_EQ(page.trim.right - page.trim.left, 2150 * k);  // 91.02 mm
    EXPECT_NEAR((page.trim.top - page.trim.bottom) / 72 * 25.4, 55, 0.05);
    EXPECT_NEAR((page.bleed.right - page.bleed.left) / 72 * 25.4, 97, 0.05);
    EXPECT_DOUBLE_EQ(page.bleed.bottom, (331 - 71) * k);
    EXPECT_DOUBLE_EQ(page.image_at.left, page.bleed.left);
    // 8 double-line corner arms and 4 centre marks of two lines each.
    ASSERT_EQ(page.lines.size(), 24u);
    for (const PdfLine& line : page.lines) {
        const bool beside = std::max(line.x0, line.x1) <= page.bleed.left || std::min(line.x0, line.x1) >= page.bleed.right;
        const bool above = std::max(line.y0, line.y1) <= page.bleed.bottom || std::min(line.y0, line.y1) >= page.bleed.top;
        EXPECT_TRUE(beside || above) << line.x0 << "," << line.y0 << " " << line.x1 << "," << line.y1;
        EXPECT_GE(std::min(line.x0, line.x1), 0);
        EXPECT_LE(std::max(line.y0, line.y1), page.height);
    }
    // The top-left corner's inner arm lies on the trim line.
    EXPECT_DOUBLE_EQ(page.lines[0].y0, page.trim.top);
    EXPECT_TRUE(PrintDataPage(Layout(*d, {PrintDataFormat::kPdf, 600, 30, false}), true).lines.empty());
}

TEST(PrintData, SafetyLineCatchesHorizontalAndVerticalTextAndQrCodes) {
    auto d = Card();
    TextSizes sizes{};
    // 3 mm is 15 card pixels on a 455-pixel card of 91 mm.
    StrData& text = d->str_data[0];
    text.on = 1;
    SetText(text.s64, u"株式会社");
    text.x = 15;
    text.y = 15;
    sizes[0] = {200, 20};
    EXPECT_FALSE(ItemsNearTrim(*d, sizes));
    sizes[0] = {426, 20};  // reaches 441 of 455: 14 pixels short of the trim
    EXPECT_TRUE(ItemsNearTrim(*d, sizes));
    sizes[0] = {200, 20};
    text.y = 14;
    EXPECT_TRUE(ItemsNearTrim(*d, sizes));
    // Vertical: the extent runs left of x and down, cy wide and cx tall.
    SetText(d->lf[0].lfFaceName, u"@ＭＳ 明朝");
    d->lf[0].lfEscapement = d->lf[0].lfOrientation = -900;
    text.x = 40;
    text.y = 15;
    sizes[0] = {245, 20};  // x 20..40, y 15..260 (260 = 275 - 15)
    EXPECT_FALSE(ItemsNearTrim(*d, sizes));
    sizes[0] = {246, 20};
    EXPECT_TRUE(ItemsNearTrim(*d, sizes));
    sizes[0] = {100, 26};  // left edge at 14
    EXPECT_TRUE(ItemsNearTrim(*d, sizes));
    // Empty or unused text does not count.
    ClearText(text.s64);
    EXPECT_FALSE(ItemsNearTrim(*d, sizes));

    QrcodeData& qr = d->qrcode_data[1];
    qr.on = 1;
    qr.x = 300;
    qr.y = 100;
    qr.w = qr.h = 140;  // right edge 440 = 455 - 15
    EXPECT_FALSE(ItemsNearTrim(*d, sizes));
    qr.x = 301;
    EXPECT_TRUE(ItemsNearTrim(*d, sizes));
}

TEST(PrintData, BackPictureIsNamedAfterTheFront) {
    EXPECT_EQ(BackPictureFileName(u"C:\\cards\\山田.png"), u"C:\\cards\\山田_裏.png");
    EXPECT_EQ(BackPictureFileName(u"Z:/tmp/card.v2.PNG"), u"Z:/tmp/card.v2_裏.PNG");
    // A dot in a folder's name, or one that starts the file's name, is no extension.
    EXPECT_EQ(BackPictureFileName(u"C:\\my.cards\\山田"), u"C:\\my.cards\\山田_裏");
    EXPECT_EQ(BackPictureFileName(u"C:\\cards\\.png"), u"C:\\cards\\.png_裏");
    EXPECT_EQ(BackPictureFileName(u"card.png"), u"card_裏.png");
}
