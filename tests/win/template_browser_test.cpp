#include "editors/template_browser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "design/settings_file.h"
#include "design/template_files_win.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "render/picture_loading.h"
#include "render/print_data_export.h"
#include "res/template_browser_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/picture_list.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

constexpr wchar_t kNotLoaded[] = L"画像が読み込み出来ません。";
constexpr wchar_t kNotWideText[] = L"文字列をワイド文字ではありません";

// Which pure colour a pixel of the dialog shows: 'R', 'G', 'B', or '?' for anything else.
char ColourAt(HWND dialog, int x, int y) {
    TestBitmap pixel(1, 1);
    pixel.CopyFromWindow(dialog, x, y);
    const COLORREF c = pixel.Pixel(0, 0);
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (r > 200 && g < 60 && b < 60) return 'R';
    if (g > 200 && r < 60 && b < 60) return 'G';
    if (b > 200 && r < 60 && g < 60) return 'B';
    return '?';
}

// Dark pixels where the template's name is written under the preview.
int NamePixels(HWND dialog) {
    TestBitmap band(120, 14);
    band.CopyFromWindow(dialog, kTemplateNameLeft, kTemplateNameTop);
    return band.Count({0, 0, 120, 14}, RGB(0, 0, 0));
}

bool StillOpen(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

std::wstring CurrentEntry() {
    const PictureList& list = ThePictureList();
    return list.index >= 0 && list.index < list.count ? list.entries[list.index] : L"";
}

class TemplateBrowserTest : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        ShowSide(false);
        ResetDesign(Design(), SettingsScope::Full);
        for (const wchar_t* sub : {L"temp", L"base", L"mark"})
            ASSERT_TRUE(CreateDirectoryW(folder.File(sub).c_str(), nullptr));
        WriteSolid(L"base\\red.bmp", kRed);
        WriteSolid(L"base\\green.bmp", kGreen);
        WriteSolid(L"base\\blue.bmp", kBlue);
    }
    void TearDown() override { ShowSide(false); }
    void WriteSolid(const std::wstring& name, COLORREF colour) {
        const auto bytes = MakeBmp(16, 16, [colour](int, int) { return colour; });
        ASSERT_TRUE(WriteBytes(folder.File(name), bytes.data(), bytes.size()));
    }
    // A template of a w x h card on a base picture, as the template-save command writes it.
    void WriteTemplate(const std::wstring& name, const char16_t* base, int w = 455, int h = 275,
                       const std::function<void(CardDesign&)>& more = {}) {
        auto d = std::make_unique<CardDesign>();
        ResetDesign(*d, SettingsScope::Full);
        d->base_w = w;
        d->base_h = h;
        SetText(d->base_filepass, base);
        if (more) more(*d);
        const auto bytes = SettingsFileBytes(*d, SettingsScope::Design);
        ASSERT_TRUE(WriteBytes(folder.File(L"temp\\" + name), bytes.data(), bytes.size()));
    }
    void Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([] { ShowTemplateBrowser(nullptr); return INT_PTR{1}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
    }
    std::wstring Shown() const {
        std::wstring all;
        for (const auto& m : seam.messages) all += m.caption + L": " + m.text + L"\n";
        return all;
    }
};

TEST_F(TemplateBrowserTest, ThreeTemplatesWrapAroundAndYesAppliesTheShownOne) {
    WriteTemplate(L"a.tep", u"base\\red.bmp");
    WriteTemplate(L"B.tep", u"base\\green.bmp", 275, 455, [](CardDesign& d) {
        d.str_data[0].on = 1;
        SetText(d.str_data[0].s64, u"縦の名刺");
        d.lf[0].lfEscapement = d.lf[0].lfOrientation = -900;
        d.qrcode_data[1].on = 1;
        SetText(d.qrcode_data[1].s, u"行1\r\n行2");
    });
    WriteTemplate(L"c.tep", u"base\\blue.bmp");
    CardDesign& d = Design();
    SetText(d.main_filename, u"C:\\cards\\mine.ini");
    d.base_cntx = 4;
    d.str_data[5].on = 1;
    SetText(d.base_filepass, u"base\\a-much-longer-path-than-the-template-has.bmp");
    seam.message_answers = {IDNO};
    bool stayed = false;
    std::string colours;
    std::wstring entries;
    int name_pixels = 0;
    Open([&](HWND dialog) {
        auto note = [&] {
            colours += ColourAt(dialog, 60, 60);
            entries += CurrentEntry() + L" ";
        };
        note();
        name_pixels = NamePixels(dialog);
        ClickButton(dialog, IDC_TEMPLATE_PREVIOUS);
        note();
        ClickButton(dialog, IDC_TEMPLATE_NEXT);
        note();
        ClickButton(dialog, IDC_TEMPLATE_NEXT);
        note();
        ClickButton(dialog, IDC_TEMPLATE_OK);             // No
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // the Escape key does nothing
        stayed = StillOpen(dialog);
        EXPECT_EQ(d.base_w, 455);
        ClickButton(dialog, IDC_TEMPLATE_OK);  // Yes
    });
    EXPECT_EQ(colours, "RBRG");
    EXPECT_EQ(entries, L"temp\\a.tep temp\\c.tep temp\\a.tep temp\\B.tep ");
    EXPECT_GT(name_pixels, 10);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(seam.messages.size(), 2u) << Shown();
    for (const auto& m : seam.messages) {
        EXPECT_EQ(m.text, L"これに変更して良いですか？");
        EXPECT_EQ(m.caption, L"テンプレート！");
        EXPECT_EQ(m.type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    }
    EXPECT_EQ(d.base_w, 275);
    EXPECT_EQ(d.base_h, 455);
    EXPECT_EQ(d.base_pw, 550);  // portrait: the environment's 91.0 x 55.0 turned
    EXPECT_EQ(d.base_ph, 910);
    EXPECT_EQ(std::wstring(W(d.base_filepass)), L"base\\green.bmp");
    EXPECT_EQ(std::u16string(TextOf(d.str_data[0].s64)), u"縦の名刺");
    EXPECT_EQ(d.lf[0].lfEscapement, -900);
    EXPECT_EQ(std::u16string(TextOf(d.qrcode_data[1].s)), u"行1\r\n行2");
    EXPECT_EQ(d.str_data[5].on, 0);
    EXPECT_EQ(std::wstring(W(d.main_filename)), L"C:\\cards\\mine.ini");
    EXPECT_EQ(d.base_cntx, 4);
}

TEST_F(TemplateBrowserTest, AMissingPictureIsReportedEachTimeAndTheRestIsDrawn) {
    WriteTemplate(L"only.tep", u"base\\red.bmp", 455, 275, [](CardDesign& d) {
        d.mark_data[0] = {1, 0, 0, 100, 100, 0, {}};
        SetText(d.mark_data[0].fm, u"mark\\gone.bmp");
    });
    auto before = std::make_unique<CardDesign>(Design());
    std::string colours;
    std::vector<size_t> counts;
    Open([&](HWND dialog) {
        colours += ColourAt(dialog, 150, 100);
        counts.push_back(seam.messages.size());
        ClickButton(dialog, IDC_TEMPLATE_NEXT);  // the one template again
        counts.push_back(seam.messages.size());
        ClickButton(dialog, IDC_TEMPLATE_PREVIOUS);
        counts.push_back(seam.messages.size());
        colours += ColourAt(dialog, 150, 100);
        EXPECT_EQ(CurrentEntry(), L"temp\\only.tep");
        ClickButton(dialog, IDC_TEMPLATE_CANCEL);
    });
    EXPECT_EQ(colours, "RR");
    EXPECT_EQ(counts, (std::vector<size_t>{1, 2, 3}));
    for (const auto& m : seam.messages) {
        EXPECT_EQ(m.text, kNotLoaded);
        EXPECT_EQ(m.caption, L"ImageLoad");
        EXPECT_EQ(m.type, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(std::memcmp(before.get(), &Design(), sizeof(CardDesign)), 0) << "キャンセル changed the design";
}

TEST_F(TemplateBrowserTest, AnUnreadableTemplateIsReportedAndNeverApplied) {
    // Neither UTF-16 with its byte-order mark nor UTF-8: the start of a JPEG file.
    const char plain[] = "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x80\x81" "base_w=300\r\n";
    ASSERT_TRUE(WriteBytes(folder.File(L"temp\\a-plain.tep"), plain, sizeof plain - 1));
    WriteTemplate(L"b-good.tep", u"base\\blue.bmp");
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"temp\\c-folder.tep").c_str(), nullptr));
    Design().str_data[3].on = 1;
    std::wstring entries;
    bool refused_stays = false;
    size_t after_open = 0;
    Open([&](HWND dialog) {
        after_open = seam.messages.size();
        entries += CurrentEntry() + L" ";
        ClickButton(dialog, IDC_TEMPLATE_OK);
        refused_stays = StillOpen(dialog);
        ClickButton(dialog, IDC_TEMPLATE_NEXT);
        entries += CurrentEntry() + L" ";
        ClickButton(dialog, IDC_TEMPLATE_NEXT);  // two entries: the folder is not listed
        entries += CurrentEntry() + L" ";
        ClickButton(dialog, IDC_TEMPLATE_PREVIOUS);
        ClickButton(dialog, IDC_TEMPLATE_OK);  // Yes
    });
    EXPECT_EQ(entries, L"temp\\a-plain.tep temp\\b-good.tep temp\\a-plain.tep ");
    EXPECT_TRUE(refused_stays);
    ASSERT_EQ(after_open, 2u) << Shown();
    ASSERT_GE(seam.messages.size(), 3u) << Shown();
    EXPECT_EQ(seam.messages[0].text, kNotWideText);
    EXPECT_EQ(seam.messages[0].caption, L"CreateFile");
    EXPECT_EQ(seam.messages[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(seam.messages[1].text, kNotLoaded);  // the empty template's empty base path
    EXPECT_EQ(seam.messages[2].caption, L"テンプレート！");
    EXPECT_EQ(seam.messages[2].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_EQ(seam.messages.back().text, L"これに変更して良いですか？");
    EXPECT_EQ(std::wstring(W(Design().base_filepass)), L"base\\blue.bmp");
    EXPECT_EQ(Design().str_data[3].on, 0);
    const auto still = ReadBytes(folder.File(L"temp\\a-plain.tep"));
    EXPECT_EQ(std::string(still.begin(), still.end()), std::string(plain, sizeof plain - 1));
}

TEST_F(TemplateBrowserTest, NoTemplateSaysSoAndShowsNoDialog) {
    auto before = std::make_unique<CardDesign>(Design());
    ASSERT_TRUE(WriteBytes(folder.File(L"temp\\readme.txt"), "x", 1));
    bool shown = false;
    DriveModal([] { ShowTemplateBrowser(nullptr); return INT_PTR{1}; }, [&](HWND dialog) {
        shown = true;
        EndDialog(dialog, 1);
    }, nullptr, 500);
    EXPECT_FALSE(shown);
    ASSERT_EQ(seam.messages.size(), 1u) << Shown();
    EXPECT_EQ(seam.messages[0].text, L"テンプレートが見つかりませんでした。");
    EXPECT_EQ(seam.messages[0].caption, L"templet_file");
    EXPECT_EQ(seam.messages[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(std::memcmp(before.get(), &Design(), sizeof(CardDesign)), 0);
}

// The scan takes regular ".tep" files in name order, at most 299; reading a listed file
// that has gone since reports it without creating it.
TEST_F(TemplateBrowserTest, ScanKeeps299TemplatesInNameOrderAndReadingCreatesNothing) {
    for (int i = 349; i >= 0; --i) {
        wchar_t name[32];
        wsprintfW(name, L"temp\\t%03d.tep", i);
        ASSERT_TRUE(WriteBytes(folder.File(name), "", 0));
    }
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"temp\\a.tep").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder.File(L"temp\\a.tepx"), "", 0));
    ASSERT_EQ(ScanTemplates(), 299);
    const PictureList& list = ThePictureList();
    EXPECT_EQ(std::wstring(list.entries[0]), L"temp\\t000.tep");
    EXPECT_EQ(std::wstring(list.entries[298]), L"temp\\t298.tep");
    EXPECT_EQ(list.entries[299][0], L'\0');

    ASSERT_TRUE(DeleteFileW(folder.File(L"temp\\t005.tep").c_str()));
    EXPECT_FALSE(ReadTemplateFile(nullptr, 5));
    EXPECT_EQ(GetFileAttributesW(folder.File(L"temp\\t005.tep").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(seam.MessageTexts(), kNotWideText);
}

// Two sides: a lying red front and a standing blue back, side by side at one scale under
// their labels; applied while the back is shown, the template's front becomes the front.
TEST_F(TemplateBrowserTest, TwoSidedTemplateShowsBothSidesAndAppliesToTheStoredDesign) {
    WriteTemplate(L"both.tep", u"base\\red.bmp", 455, 275, [](CardDesign& d) {
        d.back_on = 1;
        d.back.base_w = 275;
        d.back.base_h = 455;
        SetText(d.back.base_filepass, u"base\\blue.bmp");
        d.back.str_data[kTextName].on = 1;
        SetText(d.back.str_data[kTextName].s64, u"Taro Yamada");
    });
    CardDesign& d = Design();
    d.back_on = 1;
    SetText(d.back.base_filepass, u"base\\green.bmp");
    ShowSide(true);
    std::string colours;
    int label_pixels = 0;
    Open([&](HWND dialog) {
        RECT client{};
        GetClientRect(dialog, &client);
        // The front from the left edge, the back in the right half.
        colours += ColourAt(dialog, 30, 60);
        colours += ColourAt(dialog, client.right - 40, 60);
        colours += ColourAt(dialog, client.right - 40, 180);
        // Nothing past the standing back's height.
        colours += ColourAt(dialog, client.right - 40, 232);
        TestBitmap labels(client.right, 12);
        labels.CopyFromWindow(dialog, 0, 5);
        label_pixels = labels.Count({0, 0, static_cast<int>(client.right), 12}, RGB(0, 0, 0));
        ClickButton(dialog, IDC_TEMPLATE_OK);  // Yes
    });
    EXPECT_EQ(colours, "RBB?");
    EXPECT_GT(label_pixels, 20);  // 表 and 裏
    EXPECT_TRUE(seam.messages.size() == 1u) << Shown();
    ASSERT_TRUE(BackShown());
    EXPECT_EQ(std::wstring(W(d.base_filepass)), L"base\\blue.bmp");
    EXPECT_EQ(std::u16string(TextOf(d.str_data[kTextName].s64)), u"Taro Yamada");
    const auto stored = std::make_unique<CardDesign>(StoredDesign());
    EXPECT_EQ(std::wstring(W(stored->base_filepass)), L"base\\red.bmp");
    EXPECT_EQ(stored->base_w, 455);
    EXPECT_EQ(stored->back.base_w, 275);
    EXPECT_GT(stored->base_pw, stored->base_ph);  // the printed size follows the lying front
    ShowSide(false);

    // A one-sided template while the back is shown: the front comes up, the back off.
    WriteTemplate(L"one.tep", u"base\\green.bmp");
    ShowSide(true);
    seam.messages.clear();
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_TEMPLATE_NEXT);
        EXPECT_EQ(CurrentEntry(), L"temp\\one.tep");
        colours = ColourAt(dialog, 60, 60);
        ClickButton(dialog, IDC_TEMPLATE_OK);
    });
    EXPECT_EQ(colours, "G");
    EXPECT_FALSE(BackShown());
    EXPECT_EQ(d.back_on, 0);
    EXPECT_EQ(std::wstring(W(d.base_filepass)), L"base\\green.bmp");
}

// A back that names pictures which are not there: no crash anywhere, and each place says
// so as it does for the front: the browser as it loads, the window as it shows the back,
// the print data as it draws it.
TEST_F(TemplateBrowserTest, BackWithMissingPicturesIsReportedAsTheFrontIs) {
    WriteTemplate(L"gone.tep", u"base\\red.bmp", 455, 275, [](CardDesign& d) {
        d.back_on = 1;
        SetText(d.back.base_filepass, u"base\\gone.bmp");
        d.back.mark_data[0] = {1, 10, 10, 60, 60, 0, {}};
        SetText(d.back.mark_data[0].fm, u"mark\\gone.png");
        d.back.str_data[kTextName] = {1, 100, 100, {}, 0, 0, 0, 0, 255, 255, 255};
        SetText(d.back.str_data[kTextName].s64, u"Taro Yamada");
    });
    std::string colours;
    Open([&](HWND dialog) {
        colours += ColourAt(dialog, 30, 60);
        ClickButton(dialog, IDC_TEMPLATE_OK);  // Yes
    });
    EXPECT_EQ(colours, "R");
    ASSERT_EQ(seam.messages.size(), 3u) << Shown();
    for (int i : {0, 1}) {
        EXPECT_EQ(seam.messages[i].text, kNotLoaded);
        EXPECT_EQ(seam.messages[i].caption, L"ImageLoad");
    }
    ASSERT_EQ(Design().back_on, 1);

    seam.messages.clear();
    ShowSide(true);
    ReloadPictures();
    EXPECT_EQ(Shown(), L"Image_Load: ベース画像が読み込み出来ません。\nImage_Load: マーク画像が読み込み出来ません。\n");

    seam.messages.clear();
    seam.file_answers.push_back({true, folder.File(L"card.png"), 1});
    SavePrintDataWith(nullptr, {PrintDataFormat::kPng, 200, 0, false});
    EXPECT_EQ(Shown(), L"PaintBMP Load: ベース画像が読み込み出来ません。\nPaintBMP Load: マーク画像が読み込み出来ません。\n");
    EXPECT_GT(ReadBytes(folder.File(L"card.png")).size(), 0u);
    EXPECT_GT(ReadBytes(folder.File(L"card_裏.png")).size(), 0u);
    ReleaseDesignPictures();
}

}  // namespace
