// Two-sided cards: the back in the design record and its files, the side views, and
// where each back is printed so that it lies behind its own front.
#include <gtest/gtest.h>

#include "wide_file.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "design/design_ranges.h"
#include "design/fixed_text.h"
#include "design/settings_file.h"
#include "design/template_design.h"
#include "print/print_math.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<CardDesign> OneSided() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    return d;
}

// A back unlike the front in every part: upright, its own picture, a text with its font,
// a QR code whose text has line breaks, a mark and the face.
void FillBack(CardSide& b) {
    b.base_w = 275;
    b.base_h = 455;
    SetText(b.base_filepass, u"base\\裏.png");
    b.base_pl_mode = 2;
    b.mark_data[1] = {1, 10, 20, 30, 40, 1, {}};
    SetText(b.mark_data[1].fm, u"mark\\map.png");
    b.str_data[4] = {1, 12, 34, {}, 1, 10, 20, 30, 200, 210, 220};
    SetText(b.str_data[4].s64, u"Opening hours 10:00–19:00");
    b.lf[4].lfHeight = -21;
    b.lf[4].lfWeight = 700;
    b.lf[4].lfCharSet = 128;
    SetText(b.lf[4].lfFaceName, u"Arial");
    QrcodeData& q = b.qrcode_data[3];
    q.on = 1, q.Lv = 2, q.Sell = 3, q.x = 5, q.y = 6, q.w = 70, q.h = 70;
    SetText(q.s, u"MECARD:N:Taro;\r\nTEL:000;;");
    SetText(q.sn, u"Taro");
    b.phot_data = {1, 3, 4, 50, 60, {}};
    SetText(b.phot_data.fm, u"face\\me.jpg");
}

std::unique_ptr<CardDesign> TwoSided() {
    auto d = OneSided();
    d->back_on = 1;
    d->duplex = kDuplexShortEdge;
    d->duplex_device = 1;
    FillBack(d->back);
    return d;
}

std::unique_ptr<CardDesign> Read(const Bytes& file, SettingsScope scope) {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    EXPECT_EQ(ReadSettingsBytes(*d, scope, file), SettingsReadStatus::Read);
    return d;
}

bool Same(const CardDesign& a, const CardDesign& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool Same(const CardSide& a, const CardSide& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::u16string Text(const Bytes& file) {
    std::u16string text;
    for (std::size_t i = 2; i + 1 < file.size(); i += 2)
        text += static_cast<char16_t>(file[i] | file[i + 1] << 8);
    return text;
}

}  // namespace

TEST(TwoSidedFile, BackRoundTripsInBothScopes) {
    const auto written = TwoSided();
    for (SettingsScope scope : {SettingsScope::Full, SettingsScope::Design}) {
        const Bytes file = SettingsFileBytes(*written, scope);
        EXPECT_EQ(Text(file).find(u"back.qrcode_data[3].s=MECARD:N:Taro;\u0002\u0003TEL:000;;\r\n"),
                  Text(file).find(u"back.qrcode_data[3].s="));
        const auto read = Read(file, scope);
        EXPECT_TRUE(Same(read->back, written->back));
        EXPECT_EQ(read->back_on, 1);
        EXPECT_EQ(read->duplex, kDuplexShortEdge);
        EXPECT_EQ(read->duplex_device, 1);
        EXPECT_EQ(SettingsFileBytes(*read, scope), file);
    }
    // The front's lines come first, exactly as a one-sided design writes them.
    auto front_only = std::make_unique<CardDesign>(*written);
    front_only->back_on = front_only->duplex = front_only->duplex_device = 0;
    ResetBack(front_only->back);
    const std::u16string one = FormatSettingsFile(*front_only, SettingsScope::Full);
    const std::u16string two = FormatSettingsFile(*written, SettingsScope::Full);
    EXPECT_EQ(two.substr(0, one.size()), one);
    EXPECT_EQ(two.substr(one.size(), 20), u"back_on=1\r\nduplex=2\r");
}

// A design without a back, as every file before two-sided cards, reads and writes the same
// bytes; a back that is off but not empty is kept and written with its flag.
TEST(TwoSidedFile, OneSidedFilesStayAsTheyWereAndAnUnusedBackIsKept) {
    const auto d = OneSided();
    SetText(d->str_data[2].s64, u"山田　太郎");
    for (SettingsScope scope : {SettingsScope::Full, SettingsScope::Design}) {
        const Bytes file = SettingsFileBytes(*d, scope);
        EXPECT_EQ(Text(file).find(u"back"), std::u16string::npos);
        EXPECT_EQ(SettingsFileBytes(*Read(file, scope), scope), file);
    }

    auto off = TwoSided();
    off->back_on = 0;
    off->duplex = off->duplex_device = 0;
    const auto read = Read(SettingsFileBytes(*off, SettingsScope::Design), SettingsScope::Design);
    EXPECT_EQ(read->back_on, 0);
    EXPECT_TRUE(Same(read->back, off->back));
    EXPECT_NE(Text(SettingsFileBytes(*read, SettingsScope::Design)).find(u"\r\nback_on=0\r\n"), std::u16string::npos);

    // Reading a one-sided file over a two-sided design leaves no back behind.
    auto over = TwoSided();
    ASSERT_EQ(ReadSettingsBytes(*over, SettingsScope::Design, SettingsFileBytes(*d, SettingsScope::Design)),
              SettingsReadStatus::Read);
    EXPECT_FALSE(HasTwoSidedContent(*over));
}

TEST(TwoSidedFile, AbsurdBackValuesComeIntoRangeLikeTheFront) {
    const auto d = Read(WideFile(u"back_on=7\r\nduplex=-3\r\nduplex_device=99\r\nback.base_w=-5\r\n"
                                 u"back.base_h=999999\r\nback.mark_data[0].x=40000\r\nback.mark_data[0].w=20000\r\n"
                                 u"back.str_data[1].y=-100\r\nback.qrcode_data[0].Sell=1000\r\n"
                                 u"back.lf[2].lfHeight=-2147483648\r\nback.phot_data.x=-1\r\n"),
                        SettingsScope::Design);
    KeepDesignInRange(*d);
    EXPECT_EQ(d->back_on, 1);
    EXPECT_EQ(d->duplex, kDuplexNone);
    EXPECT_EQ(d->duplex_device, 1);
    EXPECT_EQ(d->back.base_w, kSmallestCardSide);
    EXPECT_EQ(d->back.base_h, kLargestCardSide);
    EXPECT_EQ(d->back.mark_data[0].w, 1);
    EXPECT_EQ(d->back.mark_data[0].x, 0);
    EXPECT_EQ(d->back.str_data[1].y, 0);
    EXPECT_EQ(d->back.qrcode_data[0].Sell, kLargestModuleSize);
    EXPECT_EQ(d->back.lf[2].lfHeight, -kLargestCardSide);
    EXPECT_EQ(d->back.phot_data.x, 0);
    // The front is untouched by the back's values.
    EXPECT_EQ(d->base_w, 455);
    EXPECT_EQ(d->str_data[1].y, 0);
}

TEST(TwoSidedTemplate, CarriesItsBackIntoTheDesign) {
    auto source = TwoSided();
    const Bytes file = SettingsFileBytes(*source, SettingsScope::Design);
    auto templ = std::make_unique<TemplateDesign>();
    ASSERT_EQ(ReadTemplateBytes(*templ, file), SettingsReadStatus::Read);
    EXPECT_EQ(templ->back_on, 1);
    EXPECT_TRUE(Same(templ->back, source->back));

    auto design = OneSided();
    ApplyTemplate(*design, *templ);
    EXPECT_EQ(design->back_on, 1);
    EXPECT_TRUE(Same(design->back, source->back));
    EXPECT_EQ(design->duplex, kDuplexNone) << "the duplex choice belongs to the sheet, not the template";

    // A one-sided template makes the design one-sided again.
    auto plain = std::make_unique<TemplateDesign>();
    ASSERT_EQ(ReadTemplateBytes(*plain, SettingsFileBytes(*OneSided(), SettingsScope::Design)), SettingsReadStatus::Read);
    ApplyTemplate(*design, *plain);
    EXPECT_EQ(design->back_on, 0);
    EXPECT_TRUE(IsEmptyBack(design->back));
}

TEST(TwoSidedDesign, SidesSwapAndViewTurnsThePrintedSize) {
    const auto d = TwoSided();
    d->base_pw = 910, d->base_ph = 550;
    auto swapped = std::make_unique<CardDesign>(*d);
    SwapSides(*swapped);
    EXPECT_EQ(swapped->base_w, 275);
    EXPECT_EQ(swapped->back.base_w, 455);
    EXPECT_EQ(swapped->base_pw, 910) << "the printed size belongs to the design";
    SwapSides(*swapped);
    EXPECT_TRUE(Same(*swapped, *d));

    const CardDesign front = SideView(*d, false);
    EXPECT_TRUE(Same(front, *d));
    const CardDesign back = SideView(*d, true);
    EXPECT_TRUE(Same(static_cast<const CardSide&>(back), d->back));
    EXPECT_EQ(back.base_pw, 550);  // the upright back fills the landscape front's cell
    EXPECT_EQ(back.base_ph, 910);
    d->back.base_w = 600, d->back.base_h = 300;
    EXPECT_EQ(SideView(*d, true).base_pw, 910);

    // A back is first started from the front's size and picture; one already made stays.
    auto fresh = OneSided();
    SetText(fresh->base_filepass, u"base\\paper.png");
    StartBack(*fresh);
    EXPECT_EQ(fresh->back.base_w, fresh->base_w);
    EXPECT_EQ(std::u16string(TextOf(fresh->back.base_filepass)), u"base\\paper.png");
    EXPECT_EQ(fresh->back.str_data[0].on, 0);
    StartBack(*d);
    EXPECT_EQ(d->back.base_w, 600);
}

namespace {

// A4 at 508 dpi: 2 device pixels per 0.1 mm, 4200 x 5940 pixels; the printable area 50
// and 60 pixels in. Two columns of 91 x 55 mm cards 10 mm from the left edge, so the
// right margin (18 mm) differs from the left one; rows from 15 mm down.
constexpr PrintPage kA4{508, 508, 50, 60, {}, 4200, 5940};

std::unique_ptr<CardDesign> A4Sheet(int duplex) {
    auto d = TwoSided();
    d->back.base_w = 455, d->back.base_h = 275;  // landscape like the front
    d->base_pw = 910, d->base_ph = 550;
    d->base_cntx = 2, d->base_cnty = 5;
    d->base_px = 100, d->base_py = 150;
    d->base_spx = 0, d->base_spy = 0;
    d->duplex = duplex;
    return d;
}

}  // namespace

TEST(BackPlacement, LongEdgeMirrorsTheColumnsOnThePaperWidth) {
    const auto d = A4Sheet(kDuplexLongEdge);
    const PrintScale front = ComputePrintScale(*d, kA4);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 2; ++column) {
            const BackPlacement back = PlaceBackCard(*d, kA4, column, row);
            const CardOrigin f = CardOriginAt(front, column, row);
            // Turned over the upright edge: the back's right edge is where the front's left one is.
            EXPECT_DOUBLE_EQ(kA4.paper_w - (back.origin.x + kA4.offset_x + back.w), f.x + kA4.offset_x);
            EXPECT_DOUBLE_EQ(back.origin.y, f.y);
            EXPECT_EQ(back.quarter_turns, 0);
        }
    }
    // Column 0 (20 mm .. 111 mm on the front) is at 4200 - 200 - 1820 on the back, column 1 at 360.
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, kA4, 0, 0).origin.x, 2180.0 - 50);
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, kA4, 1, 0).origin.x, 360.0 - 50);
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, kA4, 1, 2).origin.y, 300.0 + 2 * 1100 - 60);
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, kA4, 0, 0).w, 1820.0);

    // The back's correction moves the mirrored cell, the way the printer is off on that side.
    PrintPage corrected = kA4;
    corrected.correction = {10, -5};
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, corrected, 0, 0).origin.x, 2180.0 - 50 + 20);
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, corrected, 0, 0).origin.y, 300.0 - 60 - 10);
}

TEST(BackPlacement, ShortEdgeMirrorsTheRowsAndTurnsTheCard) {
    const auto d = A4Sheet(kDuplexShortEdge);
    const PrintScale front = ComputePrintScale(*d, kA4);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 2; ++column) {
            const BackPlacement back = PlaceBackCard(*d, kA4, column, row);
            const CardOrigin f = CardOriginAt(front, column, row);
            EXPECT_DOUBLE_EQ(kA4.paper_h - (back.origin.y + kA4.offset_y + back.h), f.y + kA4.offset_y);
            EXPECT_DOUBLE_EQ(back.origin.x, f.x);
            EXPECT_EQ(back.quarter_turns, 2);
        }
    }
    // Row 0 (15 mm .. 70 mm down the front) is 5940 - 300 - 1100 down the back.
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, kA4, 0, 0).origin.y, 4540.0 - 60);
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, kA4, 0, 4).origin.y, 4540.0 - 4 * 1100 - 60);

    // On paper wider than tall the long edge lies across the page: the rows turn over.
    PrintPage landscape = kA4;
    landscape.paper_w = 5940, landscape.paper_h = 4200;
    d->duplex = kDuplexLongEdge;
    EXPECT_EQ(PlaceBackCard(*d, landscape, 0, 0).quarter_turns, 2);
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, landscape, 0, 0).origin.y, 4200.0 - 300 - 1100 - 60);
    d->duplex = kDuplexShortEdge;
    EXPECT_EQ(PlaceBackCard(*d, landscape, 0, 0).quarter_turns, 0);
    EXPECT_DOUBLE_EQ(PlaceBackCard(*d, landscape, 0, 0).origin.x, 5940.0 - 200 - 1820 - 50);
}

TEST(BackPlacement, BackOfTheOtherOrientationTurnsIntoTheSameCell) {
    auto d = A4Sheet(kDuplexLongEdge);
    d->back.base_w = 275, d->back.base_h = 455;  // an upright back behind a landscape front
    const BackPlacement back = PlaceBackCard(*d, kA4, 1, 1);
    EXPECT_EQ(back.quarter_turns, 1);
    EXPECT_DOUBLE_EQ(back.w, 1820.0);
    EXPECT_DOUBLE_EQ(back.h, 1100.0);
    EXPECT_DOUBLE_EQ(back.origin.x, 360.0 - 50);
    // The back printed in its own orientation is the cell turned: 55 x 91 mm.
    const PrintScale own = ComputePrintScale(SideView(*d, true), kA4);
    EXPECT_DOUBLE_EQ(own.cw, back.h);
    EXPECT_DOUBLE_EQ(own.ch, back.w);
    d->duplex = kDuplexShortEdge;
    EXPECT_EQ(PlaceBackCard(*d, kA4, 1, 1).quarter_turns, 3);
}

TEST(TwoSidedPrint, TheRunNeedsABackInUseABindingEdgeAndForTheDeviceAPrinterWithDuplex) {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    d->duplex = kDuplexLongEdge;
    EXPECT_EQ(ChooseDuplexRun(*d, true), DuplexRun::kOneSided) << "the back is off";
    d->back_on = 1;
    EXPECT_EQ(ChooseDuplexRun(*d, true), DuplexRun::kManual) << "the user turns the paper";
    d->duplex_device = 1;
    EXPECT_EQ(ChooseDuplexRun(*d, true), DuplexRun::kDevice);
    EXPECT_EQ(ChooseDuplexRun(*d, false), DuplexRun::kManual) << "a printer without a duplex unit";
    d->duplex = kDuplexShortEdge;
    EXPECT_EQ(ChooseDuplexRun(*d, true), DuplexRun::kDevice);
    for (int none : {kDuplexNone, 3, -1}) {
        d->duplex = none;
        EXPECT_EQ(ChooseDuplexRun(*d, true), DuplexRun::kOneSided) << none;
    }
}
