#include "design/design_ranges.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "design/settings_file.h"

namespace {

std::unique_ptr<CardDesign> ReadFull(std::u16string_view body) {
    auto d = std::make_unique<CardDesign>();
    std::u16string text = u"\uFEFF";
    text += body;
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : text) bytes.push_back(unit & 0xFF), bytes.push_back(unit >> 8);
    EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, bytes), SettingsReadStatus::Read);
    KeepDesignInRange(*d);
    return d;
}

TEST(DesignRanges, AbsurdSheetGridsFromAFileComeWithinTheLayoutDialogsRanges) {
    // The grid that hung printing, and the value that spun the layout dialog.
    const auto thousand = ReadFull(u"base_cntx=1000\r\nbase_cnty=1000\r\n");
    EXPECT_EQ(thousand->base_cntx, kLargestSheetCount);
    EXPECT_EQ(thousand->base_cnty, kLargestSheetCount);
    const auto most = ReadFull(
        u"base_cntx=2147483647\r\nbase_cnty=-2147483648\r\nbase_pw=2147483647\r\nbase_ph=-5\r\n"
        u"base_px=-2147483648\r\nbase_py=99999\r\nbase_spx=2147483647\r\nbase_spy=-10000\r\n"
        u"p_outline_len=2147483647\r\np_outline_size=-1\r\npm_size_x=100000\r\n");
    EXPECT_EQ(most->base_cntx, 10);
    EXPECT_EQ(most->base_cnty, 0);
    EXPECT_EQ(most->base_pw, 9999);
    EXPECT_EQ(most->base_ph, 0);
    EXPECT_EQ(most->base_px, -9999);
    EXPECT_EQ(most->base_py, 9999);
    EXPECT_EQ(most->base_spx, 9999);
    EXPECT_EQ(most->base_spy, -9999);
    EXPECT_EQ(most->p_outline_len, 9999);
    EXPECT_EQ(most->p_outline_size, 0);
    EXPECT_EQ(most->pm_size_x, 9999);
}

TEST(DesignRanges, ItemsComeOntoTheCard) {
    const auto d = ReadFull(
        u"base_w=2147483647\r\nbase_h=0\r\n"
        u"mark_data[0].x=-5\r\nmark_data[0].y=2147483647\r\nmark_data[0].w=20000\r\nmark_data[0].h=1\r\n"
        u"phot_data.x=9990\r\nphot_data.w=80\r\n"
        u"str_data[3].x=-2147483648\r\nstr_data[3].y=500\r\nlf[3].lfHeight=-2147483648\r\n"
        u"qrcode_data[1].x=20000\r\nqrcode_data[1].Sell=2147483647\r\nqrcode_data[1].w=-3\r\n");
    EXPECT_EQ(d->base_w, kLargestCardSide);
    EXPECT_EQ(d->base_h, kSmallestCardSide);
    const MarkData& m = d->mark_data[0];
    EXPECT_EQ((std::array{m.x, m.y, m.w, m.h}), (std::array{0, 0, kLargestCardSide, 1}));
    EXPECT_EQ(d->phot_data.x, kLargestCardSide - 80);
    EXPECT_EQ(d->phot_data.h, 1);  // 100 by default, on a card 1 pixel high
    EXPECT_EQ(d->str_data[3].x, 0);
    EXPECT_EQ(d->str_data[3].y, 1);
    EXPECT_EQ(d->lf[3].lfHeight, -kLargestCardSide);
    EXPECT_EQ(d->qrcode_data[1].x, kLargestCardSide);
    EXPECT_EQ(d->qrcode_data[1].Sell, kLargestModuleSize);
    EXPECT_EQ(d->qrcode_data[1].w, 0);
}

TEST(DesignRanges, DesignsTheProgramMakesAreLeftExactlyAsTheyAre) {
    for (auto scope : {SettingsScope::Full, SettingsScope::Design}) {
        auto d = std::make_unique<CardDesign>();
        ResetDesign(*d, SettingsScope::Full);
        ResetDesign(*d, scope);
        d->mark_data[1] = MarkData{1, 18, 16, 44, 44, 1, {}};  // a placed mark; the others unplaced (0 x 0)
        d->base_cntx = 0;
        d->base_px = -30;
        const auto before = std::make_unique<CardDesign>(*d);
        KeepDesignInRange(*d);
        EXPECT_EQ(std::memcmp(d.get(), before.get(), sizeof(CardDesign)), 0);
    }
}

}  // namespace
