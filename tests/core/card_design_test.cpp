#include "design/card_design.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "design/fixed_text.h"
#include "design/tenths.h"

namespace {

std::u16string Str(std::u16string_view v) { return std::u16string(v); }

std::unique_ptr<CardDesign> FilledDesign() {
    auto d = std::make_unique<CardDesign>();
    // Every byte set to something no default produces.
    std::memset(d.get(), 0x5A, sizeof(CardDesign));
    return d;
}

void ExpectEnvironmentUntouched(const CardDesign& d) {
    EXPECT_EQ(d.base_cntx, 0x5A5A5A5A);
    EXPECT_EQ(d.base_spy, 0x5A5A5A5A);
    EXPECT_EQ(d.b_outline, 0x5A5A5A5A);
    EXPECT_EQ(d.p_outline_len, 0x5A5A5A5A);
    EXPECT_EQ(d.phot_load_mode, 0x5A5A5A5A);
    EXPECT_EQ(d.pm_size_y, 0x5A5A5A5A);
    EXPECT_EQ(d.main_filename[0], 0x5A5A);
    EXPECT_EQ(d.oekaki_filename[255], 0x5A5A);
}

TEST(ResetDesign, CardDefaultsInBothScopes) {
    for (auto scope : {SettingsScope::Full, SettingsScope::Design}) {
        auto d = FilledDesign();
        ResetDesign(*d, scope);
        EXPECT_EQ(d->base_w, 455);
        EXPECT_EQ(d->base_h, 275);
        EXPECT_EQ(TextLength(d->base_filepass), 0u);
        EXPECT_EQ(d->base_filepass[255], 0);  // cleared over the whole capacity
        EXPECT_EQ(d->base_pl_mode, 0);
        for (const auto& m : d->mark_data) {
            EXPECT_EQ(m.on | m.x | m.y | m.w | m.h | m.m, 0);
            EXPECT_EQ(m.fm[200], 0);
        }
        for (int j = 0; j < kTextCount; ++j) {
            const auto& t = d->str_data[j];
            EXPECT_EQ(t.on | t.x | t.y | t.bk | t.r | t.g | t.b, 0) << j;
            EXPECT_EQ(t.br, 255);
            EXPECT_EQ(t.bg, 255);
            EXPECT_EQ(t.bb, 255);
            EXPECT_EQ(Str(TextOf(t.s64)), SampleText(j));
            EXPECT_EQ(t.s64[63], 0);
            const auto& f = d->lf[j];
            const bool big = j == 0 || j == 2;
            EXPECT_EQ(f.lfHeight, j == 0 ? -16 : j == 2 ? -32 : -13) << j;
            EXPECT_EQ(f.lfWeight, big ? 800 : 400) << j;
            EXPECT_EQ(f.lfWidth | f.lfEscapement | f.lfOrientation, 0);
            EXPECT_EQ(f.lfItalic | f.lfUnderline | f.lfStrikeOut, 0);
            EXPECT_EQ(f.lfCharSet, 128);
            EXPECT_EQ(f.lfOutPrecision, 3);
            EXPECT_EQ(f.lfClipPrecision, 2);
            EXPECT_EQ(f.lfQuality, 1);
            EXPECT_EQ(f.lfPitchAndFamily, 17);
            EXPECT_EQ(Str(TextOf(f.lfFaceName)), u"ＭＳ 明朝");
            EXPECT_EQ(f.lfFaceName[31], 0);
        }
        for (const auto& q : d->qrcode_data) {
            EXPECT_EQ(q.on | q.x | q.y | q.w | q.h | q.r | q.g | q.b | q.Lv, 0);
            EXPECT_EQ(q.Sell, 4);
            EXPECT_EQ(q.br & q.bg & q.bb, 255);
            EXPECT_EQ(TextLength(q.s) + TextLength(q.sn) + TextLength(q.sy) + TextLength(q.st3) +
                          TextLength(q.sm2) + TextLength(q.sa),
                      0u);
        }
        EXPECT_EQ(d->phot_data.on, 0);
        EXPECT_EQ(d->phot_data.x, 100);
        EXPECT_EQ(d->phot_data.y, 120);
        EXPECT_EQ(d->phot_data.w, 80);
        EXPECT_EQ(d->phot_data.h, 100);
        EXPECT_EQ(TextLength(d->phot_data.fm), 0u);
        EXPECT_EQ(d->base_pw, 910);
        EXPECT_EQ(d->base_ph, 550);
        if (scope == SettingsScope::Design) ExpectEnvironmentUntouched(*d);
    }
}

TEST(ResetDesign, FullAlsoResetsGridAndEnvironment) {
    auto d = FilledDesign();
    ResetDesign(*d, SettingsScope::Full);
    EXPECT_EQ(d->base_cntx, 2);
    EXPECT_EQ(d->base_cnty, 3);
    EXPECT_EQ(d->base_px, 8);
    EXPECT_EQ(d->base_py, 10);
    EXPECT_EQ(d->base_spx, 6);
    EXPECT_EQ(d->base_spy, 12);
    EXPECT_EQ(Str(TextOf(d->main_filename)), u"無題.ini");
    EXPECT_EQ(d->main_filename[255], 0);
    EXPECT_EQ(Str(TextOf(d->oekaki_filename)), u"mspaint.exe");
    EXPECT_EQ(d->b_outline & d->m_outline & d->c_outline & d->p_outline & d->font_plprn, 1);
    EXPECT_EQ(d->p_outline_size, 1);
    EXPECT_EQ(d->p_outline_len, 50);
    // New designs offer every picture kind.
    EXPECT_EQ(d->base_load_mode, kLoadAllPictures);
    EXPECT_EQ(d->mark_load_mode, kLoadAllPictures);
    EXPECT_EQ(d->phot_load_mode, kLoadAllPictures);
    EXPECT_EQ(d->pm_size_x, 910);
    EXPECT_EQ(d->pm_size_y, 550);
}

TEST(SampleText, FixedTextsAndPlaceholders) {
    EXPECT_EQ(Str(SampleText(0)), u"会社名○×△□株式会社");
    EXPECT_EQ(Str(SampleText(2)), u"氏名○○\u3000太郎");
    EXPECT_EQ(Str(SampleText(4)), u"TEL：(000)000-0000  FAX：(000)000-0000");
    EXPECT_EQ(Str(SampleText(14)), u"その他５□□○○△△××");
    EXPECT_EQ(Str(SampleText(6)).rfind(u"e-Mail：", 0), 0u);
    EXPECT_NE(Str(SampleText(6)).find(u'*'), std::u16string::npos);
    EXPECT_NE(Str(SampleText(9)).find(u'*'), std::u16string::npos);
    for (int j = 0; j < kTextCount; ++j) EXPECT_LT(Str(SampleText(j)).size(), 64u) << j;
    EXPECT_EQ(Str(SampleText(15)), u"");
    EXPECT_EQ(Str(SampleText(-1)), u"");
}

TEST(SetSampleText, OneItemTouchesOnlyItsTextAndForItems0And2ItsSize) {
    auto d = FilledDesign();
    const CardDesign before = *d;
    SetSampleText(*d, 5);
    EXPECT_EQ(Str(TextOf(d->str_data[5].s64)), u"○○ハンドル名");
    EXPECT_EQ(d->str_data[5].s64[63], 0);
    d->str_data[5] = before.str_data[5];
    EXPECT_EQ(std::memcmp(d.get(), &before, sizeof(CardDesign)), 0);

    SetSampleText(*d, 0);
    EXPECT_EQ(d->lf[0].lfHeight, -16);
    EXPECT_EQ(d->lf[0].lfWeight, 800);
    EXPECT_EQ(d->lf[0].lfWidth, before.lf[0].lfWidth);
    EXPECT_EQ(d->lf[0].lfItalic, before.lf[0].lfItalic);
    EXPECT_EQ(d->lf[0].lfFaceName[0], before.lf[0].lfFaceName[0]);
    EXPECT_EQ(d->str_data[0].on, before.str_data[0].on);

    SetSampleText(*d, 2);
    EXPECT_EQ(d->lf[2].lfHeight, -32);
    EXPECT_EQ(d->lf[2].lfWeight, 800);
}

TEST(SetSampleText, AllAndOutOfRange) {
    auto d = FilledDesign();
    SetSampleText(*d, -1);
    for (int j = 0; j < kTextCount; ++j) EXPECT_EQ(Str(TextOf(d->str_data[j].s64)), SampleText(j));
    EXPECT_EQ(d->lf[7].lfHeight, 0x5A5A5A5A);  // only items 0 and 2 get a size

    auto e = FilledDesign();
    const CardDesign before = *e;
    SetSampleText(*e, 15);
    SetSampleText(*e, -2);
    EXPECT_EQ(std::memcmp(e.get(), &before, sizeof(CardDesign)), 0);
}

TEST(NewDesignDefaults, EmptyItemsAndStartFolderBase) {
    auto d = FilledDesign();
    NewDesignDefaults(*d, u"C:\\cards");
    EXPECT_EQ(Str(TextOf(d->base_filepass)), u"C:\\cards\\base\\base-01.bmp");
    EXPECT_EQ(d->base_pl_mode, 0x5A5A5A5A);  // kept
    for (int j = 0; j < kTextCount; ++j) {
        EXPECT_EQ(TextLength(d->str_data[j].s64), 0u);
        EXPECT_EQ(d->str_data[j].on, 0);
        EXPECT_EQ(d->lf[j].lfHeight, -16);
        EXPECT_EQ(d->lf[j].lfWeight, 400);
    }
    for (const auto& q : d->qrcode_data) {
        EXPECT_EQ(q.Sell, 3);
        EXPECT_EQ(q.Lv, 0);
        EXPECT_EQ(q.sn[0], 0x5A5A);  // address-book strings kept
        EXPECT_EQ(TextLength(q.s), 0u);
    }
    EXPECT_EQ(d->base_cntx, 2);
    EXPECT_EQ(d->base_spy, 12);
    EXPECT_EQ(Str(TextOf(d->main_filename)), u"無題.ini");
    EXPECT_EQ(d->oekaki_filename[0], 0x5A5A);
    EXPECT_EQ(d->pm_size_x, 0x5A5A5A5A);
}

TEST(NewDesignDefaults, AStartFolderTooDeepGivesTheRelativeBaseNotACutOne) {
    auto d = FilledDesign();
    const std::u16string deep = u"C:\\" + std::u16string(240, u'd');  // 260 units with the name
    NewDesignDefaults(*d, deep.c_str());
    EXPECT_EQ(Str(TextOf(d->base_filepass)), u"base\\base-01.bmp");
    const std::u16string fits = u"C:\\" + std::u16string(235, u'd');  // 255 units with the name: the most that fits
    NewDesignDefaults(*d, fits.c_str());
    EXPECT_EQ(Str(TextOf(d->base_filepass)), fits + u"\\base\\base-01.bmp");
}

TEST(BaseCrop, ModesCutTheCardsProportionsOnScreenAndOnPaper) {
    struct Case {
        int picture_w, picture_h;
        double card_w, card_h;
        int mode;
        SourceRect crop;
    };
    const Case cases[] = {
        // Same size as the card: s = 1, the whole picture; twice the card: no crop.
        {455, 275, 455, 275, 1, {0, 0, 455, 275}},
        {910, 550, 455, 275, 1, {0, 0, 910, 550}},
        // Wider picture: s = 2, cut from the centre, the top left or the bottom right.
        {1000, 550, 455, 275, 1, {45, 0, 910, 550}},
        {1000, 550, 455, 275, 2, {0, 0, 910, 550}},
        {1000, 550, 455, 275, 3, {90, 0, 910, 550}},
        // Taller picture on a portrait card.
        {300, 1000, 275, 455, 1, {0, 252, 300, 496}},
        {300, 1000, 275, 455, 3, {0, 504, 300, 496}},
        // On paper: the same picture on a card printed at 1820 x 1100 device pixels.
        {1000, 550, 1820, 1100, 1, {45, 0, 910, 550}},
        {1000, 550, 1820, 1100, 3, {90, 0, 910, 550}},
        {1820, 1100, 1820, 1100, 1, {0, 0, 1820, 1100}},
        // Fit and unknown modes take the whole picture.
        {1000, 550, 455, 275, 0, {0, 0, 1000, 550}},
        {1000, 550, 455, 275, 4, {0, 0, 1000, 550}},
        {1000, 550, 455, 275, -1, {0, 0, 1000, 550}},
        {1000, 550, 1820, 1100, 9, {0, 0, 1000, 550}},
        // A degenerate card must not divide by zero.
        {100, 50, 0, 275, 1, {0, 0, 100, 50}},
        {1000, 550, 0, 1100, 1, {0, 0, 1000, 550}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BaseCrop(c.picture_w, c.picture_h, c.card_w, c.card_h, c.mode), c.crop)
            << c.picture_w << "x" << c.picture_h << " on " << c.card_w << "x" << c.card_h << " mode " << c.mode;
    }
    EXPECT_EQ(PlacementSourceRect(455, 275, 1000, 550, 1), (SourceRect{45, 0, 910, 550}));
}

TEST(PrintedCardSize, FollowsOrientation) {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    d->pm_size_x = 910;
    d->pm_size_y = 550;
    d->base_w = 455, d->base_h = 275;
    PrintedCardSize(*d);
    EXPECT_EQ(d->base_pw, 910);
    EXPECT_EQ(d->base_ph, 550);
    d->base_w = 275, d->base_h = 455;
    PrintedCardSize(*d);
    EXPECT_EQ(d->base_pw, 550);
    EXPECT_EQ(d->base_ph, 910);
    d->base_w = 300, d->base_h = 300;
    PrintedCardSize(*d);
    EXPECT_EQ(d->base_pw, 550);
    EXPECT_EQ(d->base_ph, 910);
}

TEST(FixedText, SetTextIsBoundedAndClearsWholeField) {
    char16_t field[8];
    for (auto& c : field) c = u'x';
    SetText(field, u"ab");
    EXPECT_EQ(Str(TextOf(field)), u"ab");
    for (int i = 2; i < 8; ++i) EXPECT_EQ(field[i], 0);
    SetText(field, u"0123456789");
    EXPECT_EQ(Str(TextOf(field)), u"0123456");
    EXPECT_EQ(field[7], 0);
    char16_t unterminated[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(TextLength(unterminated), 3u);
}

TEST(Tenths, FormatAndParse) {
    EXPECT_EQ(FormatTenths(910), u"91.0");
    EXPECT_EQ(FormatTenths(5), u"0.5");
    EXPECT_EQ(FormatTenths(0), u"0.0");
    EXPECT_EQ(FormatTenths(-15), u"-1.5");
    EXPECT_EQ(FormatTenths(INT_MIN), u"-214748364.8");
    EXPECT_EQ(ParseTenths(u"91.0"), 910);
    EXPECT_EQ(ParseTenths(u"91.09"), 910);
    EXPECT_EQ(ParseTenths(u"91.1"), 911);  // exact, not 910.999... truncated
    EXPECT_EQ(ParseTenths(u"12"), 120);
    EXPECT_EQ(ParseTenths(u" -1.5"), -15);
    EXPECT_EQ(ParseTenths(u".5"), 5);
    EXPECT_EQ(ParseTenths(u"7."), 70);
    EXPECT_EQ(ParseTenths(u"abc"), 0);
    EXPECT_EQ(ParseTenths(u""), 0);
    EXPECT_EQ(ParseTenths(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseTenths(u"-99999999999999999999"), INT_MIN);
    for (int v : {0, 1, 9, 10, 550, 910, 2100, -7})
        EXPECT_EQ(ParseTenths(FormatTenths(v)), v);
}

}  // namespace
