// The designs the start folder ships with: every side they use draws from pictures that
// ship too, and every text lies on its card.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "design/settings_file.h"
#include "design/template_design.h"
#include "design/template_files_win.h"
#include "recording_seam.h"
#include "test_files.h"
#include "render/card_painter.h"
#include "render/picture_loading.h"
#include "render/print_data_export.h"
#include "win/guards.h"
#include "win/picture_list.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

// The shipped start folder as the current directory and start folder, read only.
class ShippedFolder {
public:
    ShippedFolder() {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        previous_start_ = Process().start_folder;
        Process().start_folder = VIVI_SHIPPED_FOLDER_W;
        EnterStartFolder();
    }
    ShippedFolder(const ShippedFolder&) = delete;
    ShippedFolder& operator=(const ShippedFolder&) = delete;
    ~ShippedFolder() {
        SetCurrentDirectoryW(previous_);
        Process().start_folder = previous_start_;
    }

private:
    wchar_t previous_[MAX_PATH] = {};
    std::wstring previous_start_;
};

// The paths of the pictures the side uses and could not load.
std::wstring MissingPictures(const CardDesign& d, const SidePictures& pictures) {
    std::wstring missing;
    if (!pictures.base) missing += std::wstring(W(d.base_filepass)) + L" ";
    for (int i = 0; i < kMarkCount; ++i)
        if (d.mark_data[i].on && !pictures.mark[i]) missing += std::wstring(W(d.mark_data[i].fm)) + L" ";
    if (d.phot_data.on && !pictures.face) missing += std::wstring(W(d.phot_data.fm)) + L" ";
    return missing;
}

// The texts that reach past the card's edge, at one device pixel per card pixel:
// horizontal text right and down from its point, vertical text left and down.
std::wstring TextsOffTheCard(const CardDesign& d) {
    MemoryDc memory(nullptr);
    std::wstring off;
    for (int j = 0; j < kTextCount; ++j) {
        const StrData& item = d.str_data[j];
        if (!item.on) continue;
        const SIZE extent = MeasureTextItem(memory.Get(), item, d.lf[j]);
        const bool vertical = d.lf[j].lfEscapement == -900;
        const long left = vertical ? item.x - extent.cy : item.x;
        const long right = vertical ? item.x : item.x + extent.cx;
        const long bottom = item.y + (vertical ? extent.cx : extent.cy);
        if (left < 0 || item.y < 0 || right > d.base_w || bottom > d.base_h)
            off += std::wstring(W(item.s64)) + L" ";
    }
    return off;
}

// Every side a shipped design uses, checked; drawn as PNG files of print data into
// VIVI_SHIPPED_PICTURES_DIR when it is set, for a look at them.
void CheckSides(const CardDesign& stored, const std::wstring& name, int& backs, int& turned_backs) {
    std::vector<CardDesign> views{stored};
    if (stored.back_on) views.push_back(SideView(stored, true));
    std::vector<SidePictures> pictures(views.size());
    std::vector<PrintDataSide> sides;
    for (std::size_t i = 0; i < views.size(); ++i) {
        pictures[i].Load(views[i]);
        EXPECT_EQ(MissingPictures(views[i], pictures[i]), L"") << name;
        EXPECT_EQ(TextsOffTheCard(views[i]), L"") << name;
        sides.push_back({&views[i], pictures[i].Paint()});
    }
    if (stored.back_on) {
        ++backs;
        turned_backs += IsLandscape(stored) != IsLandscape(stored.back);
    }
    if (const wchar_t* out = _wgetenv(L"VIVI_SHIPPED_PICTURES_DIR")) {
        RecordingSeam seam;
        EXPECT_TRUE(WritePrintData(nullptr, sides, {PrintDataFormat::kPng, 200, 0, false},
                                   (std::wstring(out) + L"\\" + name + L".png").c_str()))
            << seam.MessageTexts();
    }
}

TEST(ShippedDesigns, EverySideDrawsFromShippedPicturesWithItsTextsOnTheCard) {
    RecordingSeam seam;
    const ShippedFolder folder;
    int backs = 0, turned_backs = 0;
    const int count = ScanTemplates();
    ASSERT_GE(count, 8);
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(ReadTemplateFile(nullptr, i)) << i;
        auto design = std::make_unique<CardDesign>();
        ResetDesign(*design, SettingsScope::Full);
        ApplyTemplate(*design, TheTemplate());
        std::wstring name = ThePictureList().entries[i];
        CheckSides(*design, name.substr(name.find(L'\\') + 1), backs, turned_backs);
    }
    // An English back, a map and hours, and a standing front with a lying back at least.
    EXPECT_GE(backs, 3);
    EXPECT_GE(turned_backs, 1);

    // The design the program opens with shows that a card may have two sides.
    auto sample = std::make_unique<CardDesign>();
    ResetDesign(*sample, SettingsScope::Full);
    ASSERT_EQ(ReadSettingsBytes(*sample, SettingsScope::Full, ReadBytes(L"Vivivuz.dat")), SettingsReadStatus::Read);
    EXPECT_EQ(sample->back_on, 1);
    CheckSides(*sample, L"Vivivuz.dat", backs, turned_backs);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

}  // namespace
