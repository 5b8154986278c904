#include "print/sheet_presets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16File(std::u16string_view text) {
    Bytes bytes{0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

TEST(SheetPresets, SavedPresetsReadBackAsWrittenWhateverTheirNamesHold) {
    const std::vector<SheetPreset> saved = {
        {u"名刺 = 左右 [広め]", {910, 550, 2, 5, 135, 105, 5, 0}},
        {u"]", {-1, 0, 0, 10, -9999, 9999, -20, 30}},
        {u"x=1", {860, 540, 1, 1, 0, 0, 0, 0}},
    };
    const Bytes file = SheetsFileBytes(saved);
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xFE);
    std::vector<SheetPreset> read = {{u"前の", {}}};
    ASSERT_EQ(ReadSheetsFile(file, read), KeyValueRead::Read);
    ASSERT_EQ(read.size(), 3u);
    for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(read[i].name, saved[i].name);
        EXPECT_EQ(read[i].grid, LimitGrid(saved[i].grid)) << i;
    }
    EXPECT_EQ(read[1].grid.pw, 0);  // a negative card size is kept in range
}

TEST(SheetPresets, EntriesThatCannotBeUsedAreLeftOutAndTheRestRead) {
    const std::u16string text =
        u"sheet[3].name=後\r\n"
        u"sheet[3].base_pw=800\n"
        u"sheet[0].base_pw=910\r"      // no name: left out
        u"sheet[1].name=\r\n"          // blank
        u"sheet[2].name=A4 10面 名刺 91×55 (中央)\r\n"  // the program's own
        u"sheet[4].name=後\r\n"        // again
        u"sheet[5].name=" + std::u16string(kPresetNameUnits + 1, u'長') + u"\r\n"
        u"sheet[100].name=範囲外\r\n"   // beyond the index range
        u"sheet[6.name=壊れ\r\n"
        u"sheet[6].base_cntx=99999\r\n"
        u"sheet[6].name=先\r\n"
        u"sheet[6].base_ph=abc";  // last line without its end
    std::vector<SheetPreset> read;
    ASSERT_EQ(ReadSheetsFile(Utf16File(text), read), KeyValueRead::Read);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, u"後");
    EXPECT_EQ(read[0].grid, (SheetGrid{800, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(read[1].name, u"先");
    EXPECT_EQ(read[1].grid.cntx, 10);
    EXPECT_EQ(read[1].grid.ph, 0);
}

TEST(SheetPresets, DamagedOrForeignFilesAreToldFromEmptyOnes) {
    std::vector<SheetPreset> read;
    EXPECT_EQ(ReadSheetsFile({}, read), KeyValueRead::Empty);
    EXPECT_EQ(ReadSheetsFile(Utf16File(u"\r\n  \r\n"), read), KeyValueRead::Empty);
    EXPECT_EQ(ReadSheetsFile(Bytes{0x00, 0x01, 0x02, 0xFF, 0x80, 0x00}, read), KeyValueRead::Unreadable);
    EXPECT_EQ(ReadSheetsFile(Utf16File(u"[用紙]\r\nname=A4\r\n"), read), KeyValueRead::Unreadable);
    EXPECT_TRUE(read.empty());
    // The same content saved by an editor as UTF-8 reads as written.
    const std::string utf8 = "sheet[0].name=\xE6\x96\xB0\r\nsheet[0].base_pw=900\r\n";
    ASSERT_EQ(ReadSheetsFile(Bytes(utf8.begin(), utf8.end()), read), KeyValueRead::Read);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].name, u"新");
    EXPECT_EQ(read[0].grid.pw, 900);
}

TEST(SheetPresets, AHugeFileGivesAtMostTheKeptNumberOfPresets) {
    std::u16string text;
    for (int i = 0; i < 150; ++i)
        text += u"sheet[" + DecimalText(i) + u"].name=P" + DecimalText(i) + u"\r\n";
    std::vector<SheetPreset> read;
    ASSERT_EQ(ReadSheetsFile(Utf16File(text), read), KeyValueRead::Read);
    ASSERT_EQ(read.size(), kMostSavedPresets);
    EXPECT_EQ(read.back().name, u"P99");
}

TEST(SheetPresets, TypedNamesAreCheckedBeforeSaving) {
    std::vector<SheetPreset> saved = {{u"いつもの", kA4TenGrid}};
    EXPECT_EQ(CheckPresetName(u"新しい", saved), PresetName::New);
    EXPECT_EQ(CheckPresetName(u"いつもの", saved), PresetName::Existing);
    EXPECT_EQ(CheckPresetName(u"", saved), PresetName::Empty);
    EXPECT_EQ(CheckPresetName(u" \u3000 ", saved), PresetName::Empty);
    EXPECT_EQ(CheckPresetName(std::u16string(kPresetNameUnits, u'a'), saved), PresetName::New);
    EXPECT_EQ(CheckPresetName(std::u16string(kPresetNameUnits + 1, u'a'), saved), PresetName::TooLong);
    EXPECT_EQ(CheckPresetName(u"自由設定", saved), PresetName::NotAllowed);
    EXPECT_EQ(CheckPresetName(kA4TenName, saved), PresetName::NotAllowed);
    EXPECT_EQ(CheckPresetName(u"改\n行", saved), PresetName::NotAllowed);

    SavePreset(saved, {u"いつもの", {1, 2, 3, 4, 5, 6, 7, 8}});
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].grid.cnty, 4);
    while (saved.size() < kMostSavedPresets) SavePreset(saved, {u"P" + DecimalText(int(saved.size())), {}});
    EXPECT_EQ(CheckPresetName(u"もう一つ", saved), PresetName::Full);
    EXPECT_EQ(CheckPresetName(u"いつもの", saved), PresetName::Existing);  // replacing still works
}

// The centred stock is centred on the paper, measured from its edges, not on the
// printable area, however unequal the printer's margins are.
TEST(SheetPresets, CentredStockIsCentredOnThePaper) {
    // A4 at 600 dpi: 4961 x 7016 pixels of paper; margins 3 mm left, 5 mm top, whatever
    // they are on the right and bottom.
    const int paper_w = PaperTenths(4961, 600), paper_h = PaperTenths(7016, 600);
    EXPECT_EQ(paper_w, 2100);
    EXPECT_EQ(paper_h, 2970);
    EXPECT_EQ(CentredA4Ten(paper_w, paper_h), kA4TenGrid);
    // 2479 pixels at 300 dpi are 209.9 mm: 0.45 mm of spare width on each side rounds down.
    EXPECT_EQ(CentredA4Ten(PaperTenths(2479, 300), PaperTenths(3508, 300)).px, 139);
    // Letter, 215.9 x 279.4 mm.
    const SheetGrid letter = CentredA4Ten(PaperTenths(2550, 300), PaperTenths(3300, 300));
    EXPECT_EQ(letter.px, 169);
    EXPECT_EQ(letter.py, 22);
    EXPECT_EQ(letter.cntx, 2);
    EXPECT_EQ(letter.cnty, 5);
    // Paper smaller than the grid puts it beyond the edges, evenly; unknown paper is A4.
    EXPECT_EQ(CentredA4Ten(1000, 2000).px, -410);
    EXPECT_EQ(CentredA4Ten(1001, 2000).px, -410);
    EXPECT_EQ(CentredA4Ten(0, 0), kA4TenGrid);
    EXPECT_EQ(PaperTenths(2480, 0), 0);
}

}  // namespace
