#include "design/template_design.h"

#include <gtest/gtest.h>

#include "wide_file.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "design/design_ranges.h"
#include "design/fixed_text.h"
#include "design/settings_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::u16string Number(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// A file with every key of the program, each with a value of its own: integers from the
// key's ordinal, font bytes its low byte, texts "値" and the ordinal; QR texts with a
// line break.
std::u16string EveryKeyDistinct() {
    std::u16string body;
    const auto& keys = SettingsKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        body += keys[i].name + u"=";
        switch (keys[i].kind) {
            case SettingsValueKind::Integer: body += Number(static_cast<int>(1000 + i)); break;
            case SettingsValueKind::FontByte: body += Number(static_cast<int>(i % 256)); break;
            case SettingsValueKind::Text: body += u"値" + Number(static_cast<int>(i)); break;
            case SettingsValueKind::QrText: body += u"行1\u0002\u0003行2:" + Number(static_cast<int>(i)); break;
        }
        body += u"\r\n";
    }
    return body;
}

std::unique_ptr<CardDesign> RunningDesign() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    d->base_cntx = 4, d->base_cnty = 5, d->base_px = 1, d->base_py = 2, d->base_spx = 3, d->base_spy = 4;
    SetText(d->main_filename, u"C:\\cards\\mine.ini");
    SetText(d->oekaki_filename, u"paint.exe");
    d->b_outline = 0, d->p_outline_len = 25, d->mark_load_mode = 2;
    d->pm_size_x = 900, d->pm_size_y = 540;
    return d;
}

// The line of each key as the design would be written in full scope.
std::vector<std::u16string> FullLines(const CardDesign& d) {
    std::vector<std::u16string> lines;
    const std::u16string text = FormatSettingsFile(d, SettingsScope::Full);
    std::size_t start = 1;
    for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::unique_ptr<TemplateDesign> Template(std::u16string_view body) {
    auto t = std::make_unique<TemplateDesign>();
    EXPECT_EQ(ReadTemplateBytes(*t, WideFile(body)), SettingsReadStatus::Read);
    return t;
}

}  // namespace

// Applied to a running design, a template read from a file with every key gives the card
// of the file; the printed card size follows the environment's card size, and the sheet
// grid and every environment option stay as they were.
TEST(TemplateFile, ReadsCardKeysOnlyAndApplyingKeepsSheetAndEnvironment) {
    const std::u16string file = EveryKeyDistinct();
    auto full = std::make_unique<CardDesign>();
    ASSERT_EQ(ReadSettingsBytes(*full, SettingsScope::Full, WideFile(file)), SettingsReadStatus::Read);
    KeepDesignInRange(*full);  // as a template applied is: items come onto its card
    const auto templ = Template(file);

    auto design = RunningDesign();
    const std::vector<std::u16string> before = FullLines(*design);
    ApplyTemplate(*design, *templ);
    const std::vector<std::u16string> after = FullLines(*design);
    const std::vector<std::u16string> from_file = FullLines(*full);
    const auto& keys = SettingsKeys();
    // The template's back comes with it, so the design now writes its two-sided keys; the
    // duplex choice, which no template holds, stays the design's.
    ASSERT_EQ(after.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::u16string& name = keys[i].name;
        if (name == u"base_pw" || name == u"base_ph") continue;
        const bool card = keys[i].group == SettingsGroup::Card ||
                          (keys[i].group == SettingsGroup::TwoSided && name != u"duplex" && name != u"duplex_device");
        const std::u16string kept = i < before.size() ? before[i] : name + u"=0";
        EXPECT_EQ(after[i], card ? from_file[i] : kept) << std::string(name.begin(), name.end());
    }
    // The file's card is 1000 x 1001: portrait, so the environment's card size turns.
    EXPECT_EQ(design->base_w, 1000);
    EXPECT_EQ(design->base_h, 1001);
    EXPECT_EQ(design->base_pw, 540);
    EXPECT_EQ(design->base_ph, 900);
    EXPECT_EQ(std::u16string(TextOf(design->qrcode_data[2].s)).substr(0, 6), u"行1\r\n行2");
}

TEST(TemplateFile, QrLineBreaksComeBackAsCrLf) {
    const auto t = Template(
        u"qrcode_data[0].s=A\u0002\u0003B\u0002\u0003C\r\n"
        u"qrcode_data[3].s=X\u0003Y\r\n"
        u"qrcode_data[3].on=1\r\n");
    EXPECT_EQ(std::u16string(TextOf(t->qrcode_data[0].s)), u"A\r\nB\r\nC");
    EXPECT_EQ(std::u16string(TextOf(t->qrcode_data[3].s)), u"X\nY");
    EXPECT_EQ(t->qrcode_data[3].on, 1);
}

// Every read starts from the empty template, except Lv and Sell, which a file without
// them takes from the template read before (0 for the very first).
TEST(TemplateFile, EmptyTemplateDefaultsKeepLvAndSell) {
    auto t = std::make_unique<TemplateDesign>();
    ASSERT_EQ(ReadTemplateBytes(*t, WideFile(u"base_w=300\r\n")), SettingsReadStatus::Read);
    EXPECT_EQ(t->qrcode_data[0].Lv, 0);
    EXPECT_EQ(t->qrcode_data[0].Sell, 0);

    ASSERT_EQ(ReadTemplateBytes(*t, WideFile(
                                        u"qrcode_data[1].Lv=3\r\nqrcode_data[1].Sell=6\r\n"
                                        u"qrcode_data[1].sn=山田\r\nmark_data[2].on=1\r\n"
                                        u"mark_data[2].fm=mark\\mark-01.bmp\r\nstr_data[4].s64=電話\r\n"
                                        u"lf[4].lfHeight=-20\r\nbase_filepass=base\\base-02.bmp\r\n"
                                        u"phot_data.x=7\r\nbase_h=500\r\n")),
              SettingsReadStatus::Read);
    EXPECT_EQ(t->base_h, 500);

    ASSERT_EQ(ReadTemplateBytes(*t, WideFile(u"str_data[0].on=1\r\n")), SettingsReadStatus::Read);
    EXPECT_EQ(t->qrcode_data[1].Lv, 3);
    EXPECT_EQ(t->qrcode_data[1].Sell, 6);
    EXPECT_TRUE(TextOf(t->qrcode_data[1].sn).empty());
    EXPECT_EQ(t->base_w, 455);
    EXPECT_EQ(t->base_h, 275);
    EXPECT_TRUE(TextOf(t->base_filepass).empty());
    EXPECT_EQ(t->mark_data[2].on, 0);
    EXPECT_TRUE(TextOf(t->mark_data[2].fm).empty());
    EXPECT_TRUE(TextOf(t->str_data[4].s64).empty());  // no sample texts in a template
    EXPECT_EQ(t->str_data[0].on, 1);
    EXPECT_EQ(t->str_data[4].br, 255);
    const LogFont font = DefaultFont();
    EXPECT_EQ(t->lf[4].lfHeight, -13);
    EXPECT_EQ(t->lf[0].lfWeight, 400);
    EXPECT_EQ(std::u16string(TextOf(t->lf[4].lfFaceName)), std::u16string(TextOf(font.lfFaceName)));
    EXPECT_EQ(t->phot_data.x, 100);
    EXPECT_EQ(t->phot_data.w, 80);
}

TEST(TemplateFile, EmptyAndBinaryFilesAreRefusedAndLeaveTheEmptyTemplate) {
    auto t = Template(u"base_w=300\r\nstr_data[0].on=1\r\n");
    const Bytes empty;
    EXPECT_EQ(ReadTemplateBytes(*t, empty), SettingsReadStatus::Empty);
    EXPECT_EQ(t->base_w, 455);
    EXPECT_EQ(t->str_data[0].on, 0);

    t = Template(u"str_data[0].on=1\r\n");
    Bytes binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<std::uint8_t>((i * 7919) >> 3));
    EXPECT_EQ(ReadTemplateBytes(*t, binary), SettingsReadStatus::Unreadable);
    EXPECT_EQ(t->str_data[0].on, 0);

    // No byte-order mark: read as UTF-8 text, as a design file is.
    const std::string plain = "base_w=300\r\n";
    EXPECT_EQ(ReadTemplateBytes(*t, Bytes(plain.begin(), plain.end())), SettingsReadStatus::Read);
    EXPECT_EQ(t->base_w, 300);
}

TEST(TemplateFile, ApplyingReplacesTheWholePathAndTurnsThePrintedCard) {
    auto design = RunningDesign();
    design->pm_size_x = 910, design->pm_size_y = 550;
    std::fill(std::begin(design->base_filepass), std::end(design->base_filepass), u'z');
    auto t = Template(u"base_w=275\r\nbase_h=455\r\nbase_filepass=b.bmp\r\n");
    ApplyTemplate(*design, *t);
    EXPECT_EQ(design->base_pw, 550);
    EXPECT_EQ(design->base_ph, 910);
    EXPECT_EQ(std::u16string(TextOf(design->base_filepass)), u"b.bmp");
    EXPECT_TRUE(std::all_of(design->base_filepass + 5, std::end(design->base_filepass),
                            [](char16_t c) { return c == 0; }));

    t = Template(u"base_w=455\r\nbase_h=275\r\n");
    ApplyTemplate(*design, *t);
    EXPECT_EQ(design->base_pw, 910);
    EXPECT_EQ(design->base_ph, 550);
    EXPECT_EQ(std::u16string(TextOf(design->main_filename)), u"C:\\cards\\mine.ini");

    // Found by fuzzing: a card past the largest side turns the printed card by the size
    // it is used at, 10000 x 10000 (upright), not by the size the file gave, so the
    // design written and read back as a template turns it the same way.
    t = Template(u"base_w=20000\r\nbase_h=15000\r\n");
    ApplyTemplate(*design, *t);
    EXPECT_EQ(design->base_w, 10000);
    EXPECT_EQ(design->base_pw, 550);
    EXPECT_EQ(design->base_ph, 910);
    auto again = std::make_unique<TemplateDesign>();
    ASSERT_EQ(ReadTemplateBytes(*again, SettingsFileBytes(*design, SettingsScope::Design)), SettingsReadStatus::Read);
    ApplyTemplate(*design, *again);
    EXPECT_EQ(design->base_pw, 550);
    EXPECT_EQ(design->base_ph, 910);
}

// The template list: only ".tep" names, in the file system's order whatever order the
// listing gave, never a cut name, at most 299 entries.
TEST(TemplateScan, FiltersSortsAndLimitsTheNames) {
    const std::u16string longest(250, u'n');  // "temp\" + 250 units + terminator = 256
    const std::vector<std::u16string> listed = {
        u"b.tep",       u"_x.tep",       u"A.TEP",        u"a.tepx",   u"c.tep.bak",   u"名刺.tep",
        u"Ｚ.tep",      u"ｚ.tep",       u"a.tep",        u"tep",      u"B2.tep",      u".tep",
        longest.substr(0, 246) + u".tep", longest.substr(0, 247) + u".tep",
    };
    const std::vector<std::u16string> entries = TemplateEntries(listed);
    const std::vector<std::u16string> expected = {
        u"temp\\.tep",  u"temp\\A.TEP",  u"temp\\a.tep", u"temp\\b.tep",  u"temp\\B2.tep",
        u"temp\\" + longest.substr(0, 246) + u".tep",
        u"temp\\_x.tep", u"temp\\名刺.tep", u"temp\\Ｚ.tep", u"temp\\ｚ.tep",
    };
    EXPECT_EQ(entries, expected);

    std::vector<std::u16string> many;
    for (int i = 349; i >= 0; --i) many.push_back(u"t" + std::u16string(3 - Number(i).size(), u'0') + Number(i) + u".tep");
    const std::vector<std::u16string> kept = TemplateEntries(many);
    ASSERT_EQ(kept.size(), 299u);
    EXPECT_EQ(kept.front(), u"temp\\t000.tep");
    EXPECT_EQ(kept.back(), u"temp\\t298.tep");
}
