#include "print/sheet_layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "dialog_driver.h"
#include "design/fixed_text.h"
#include "print/printer.h"
#include "print/printer_memory.h"
#include "print/sheet_math.h"
#include "print/sheet_presets.h"
#include "recording_seam.h"
#include "res/sheet_layout_ids.h"
#include "res/sheet_register_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr COLORREF kPaperColour = RGB(250, 250, 240);
constexpr COLORREF kCardColour = RGB(0, 0, 200);
constexpr COLORREF kFrameColour = RGB(0x80, 0x80, 0x80);

// A4 at 300 dpi with 5 mm margins: 200 x 287 mm printable on 210 x 297 mm of paper.
PrinterMetrics A4Portrait() {
    PrinterMetrics m{};
    m.dpi_x = m.dpi_y = 300;
    m.physical_width = 2480;
    m.physical_height = 3508;
    m.printable_width = 2000;
    m.printable_height = 2870;
    m.printable_width_px = 2362;
    m.printable_height_px = 3390;
    m.offset_x = m.offset_y = 59;
    m.paper_width = 2100;
    m.paper_height = 2970;
    return m;
}

PrinterMetrics A4Landscape() {
    PrinterMetrics m = A4Portrait();
    std::swap(m.printable_width, m.printable_height);
    std::swap(m.printable_width_px, m.printable_height_px);
    std::swap(m.paper_width, m.paper_height);
    return m;
}

struct Layout {
    int pw, ph, cntx, cnty, px, py, spx, spy;
    friend bool operator==(const Layout&, const Layout&) = default;
};

Layout LayoutOf(const CardDesign& d) {
    return {d.base_pw, d.base_ph, d.base_cntx, d.base_cnty, d.base_px, d.base_py, d.base_spx, d.base_spy};
}

class SheetLayout : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchFolder folder;
    PaintReport failures;  // of sheet pictures drawn outside the dialog
    wchar_t previous_directory[MAX_PATH] = {};

    void SetUp() override {
        GetCurrentDirectoryW(MAX_PATH, previous_directory);
        ResetDesign(Design(), SettingsScope::Full);  // 2 x 3 cards of 91 x 55 mm from (0.8, 1.0) mm
        RememberedPrinters().clear();
        Process().start_folder = folder.Path().c_str();
        lstrcpynW(CurrentPrinterName(), L"テスト プリンタ", 256);
        Metrics() = A4Portrait();
        WritePicture(L"pp.gdt", 21, 30, kPaperColour);
        WritePicture(L"ms.gdt", 18, 11, kCardColour);
    }
    void TearDown() override {
        RememberedPrinters().clear();
        Process().start_folder.clear();
        CurrentPrinterName()[0] = 0;
        Metrics() = PrinterMetrics{};
        SetCurrentDirectoryW(previous_directory);  // the scratch folder can go
    }
    void WritePicture(const std::wstring& name, int w, int h, COLORREF colour) {
        const auto bytes = MakeBmp(w, h, [colour](int, int) { return colour; });
        ASSERT_TRUE(WriteBytes(folder.File(name), bytes.data(), bytes.size()));
    }
    void RemovePicture(const std::wstring& name) { DeleteFileW(folder.File(name).c_str()); }
    // Opens the dialog and runs script in it; fails the test if the dialog stays open.
    // Returns how the dialog was left.
    LayoutChoice Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        LayoutChoice choice{true, -1};
        DriveModal([&] { choice = ShowLayoutDialog(nullptr); return INT_PTR{0}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
        return choice;
    }
};

// Chooses entry of the "用紙" combo as a user does.
void ChooseEntry(HWND dialog, int entry) {
    HWND combo = GetDlgItem(dialog, IDC_LAYOUT_PRESET);
    SendMessageW(combo, CB_SETCURSEL, entry, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_LAYOUT_PRESET, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ShownEntry(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_LAYOUT_PRESET, CB_GETCURSEL, 0, 0));
}

std::vector<std::wstring> Entries(HWND dialog) {
    std::vector<std::wstring> entries;
    HWND combo = GetDlgItem(dialog, IDC_LAYOUT_PRESET);
    for (int i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

// The eight layout fields as the form shows them.
std::vector<std::wstring> FormGrid(HWND dialog) {
    std::vector<std::wstring> texts;
    for (int id : {IDC_LAYOUT_CARD_WIDTH, IDC_LAYOUT_CARD_HEIGHT, IDC_LAYOUT_COUNT_X, IDC_LAYOUT_COUNT_Y,
                   IDC_LAYOUT_ORIGIN_X, IDC_LAYOUT_ORIGIN_Y, IDC_LAYOUT_GAP_X, IDC_LAYOUT_GAP_Y})
        texts.push_back(ControlText(dialog, id));
    return texts;
}

// Presses "登録..." and answers the dialog it opens with script.
void Register(HWND layout, const std::function<void(HWND)>& script) {
    bool timed_out = false;
    DriveModal([&] { ClickButton(layout, IDC_LAYOUT_REGISTER); return INT_PTR{0}; }, script, &timed_out);
    EXPECT_FALSE(timed_out);
}

void TypeName(HWND dialog, const std::wstring& name) {
    SetControlText(dialog, IDC_REGISTER_NAME, name);
    ClickButton(dialog, IDOK);
}

TEST_F(SheetLayout, FormShowsPrinterPaperAndDesignAndOneCopy) {
    Open([](HWND dialog) {  // an earlier print of 3 copies
        SetControlText(dialog, IDC_LAYOUT_COPIES, L"3");
        ClickButton(dialog, IDC_LAYOUT_PRINT);
    });
    Design().base_px = -15;
    const LayoutChoice choice = Open([](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_PRINTER), L"プリンタ名：テスト プリンタ");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_PAPER), L"用紙サイズ　210mm×297mm (200mm×287mm)");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COPIES), L"1");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_CARD_WIDTH), L"91.0");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_CARD_HEIGHT), L"55.0");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_ORIGIN_X), L"-1.5");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_ORIGIN_Y), L"1.0");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_GAP_X), L"0.6");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_GAP_Y), L"1.2");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COUNT_X), L"2");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COUNT_Y), L"3");
        for (int id : {IDC_LAYOUT_COUNT_X, IDC_LAYOUT_COUNT_Y}) {
            HWND combo = GetDlgItem(dialog, id);
            ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 10);
            wchar_t last[8] = {};
            SendMessageW(combo, CB_GETLBTEXT, 9, reinterpret_cast<LPARAM>(last));
            EXPECT_STREQ(last, L"10");
        }
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
    EXPECT_EQ(choice.copies, 1);
    EXPECT_FALSE(choice.print);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(SheetLayout, CopiesStepWithinOneTo99AndPrintReadsTheForm) {
    const LayoutChoice choice = Open([](HWND dialog) {
        SetControlText(dialog, IDC_LAYOUT_COPIES, L"98");
        ClickButton(dialog, IDC_LAYOUT_PLUS);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COPIES), L"99");
        ClickButton(dialog, IDC_LAYOUT_PLUS);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COPIES), L"99");
        SetControlText(dialog, IDC_LAYOUT_COPIES, L"2");
        ClickButton(dialog, IDC_LAYOUT_MINUS);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COPIES), L"1");
        ClickButton(dialog, IDC_LAYOUT_MINUS);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COPIES), L"1");
        SetControlText(dialog, IDC_LAYOUT_COPIES, L"250");
        SetControlText(dialog, IDC_LAYOUT_CARD_WIDTH, L"91.09");
        ClickButton(dialog, IDC_LAYOUT_PRINT);  // reads at once, no timer needed
    });
    EXPECT_EQ(choice.copies, 99);
    EXPECT_TRUE(choice.print);
    EXPECT_EQ(Design().base_pw, 910);
}

TEST_F(SheetLayout, TypedLengthsAreStoredInTenthsAndShownAgain) {
    const LayoutChoice choice = Open([](HWND dialog) {
        // "+" refills from the design: a value typed just before is replaced.
        SetControlText(dialog, IDC_LAYOUT_ORIGIN_X, L"50");
        ClickButton(dialog, IDC_LAYOUT_PLUS);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_ORIGIN_X), L"0.8");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COPIES), L"2");
        EXPECT_EQ(Design().base_px, 8);

        SetControlText(dialog, IDC_LAYOUT_CARD_WIDTH, L"91.09");
        SetControlText(dialog, IDC_LAYOUT_CARD_HEIGHT, L"abc");
        SetControlText(dialog, IDC_LAYOUT_COUNT_X, L"4");
        SetControlText(dialog, IDC_LAYOUT_COUNT_Y, L"0");
        ClickButton(dialog, IDC_LAYOUT_PREVIEW);
        EXPECT_EQ(Design().base_pw, 910);
        EXPECT_EQ(Design().base_ph, 0);  // not a number
        EXPECT_EQ(Design().base_cntx, 4);
        EXPECT_EQ(Design().base_cnty, 0);
        ClickButton(dialog, IDC_LAYOUT_MINUS);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_CARD_WIDTH), L"91.0");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COUNT_X), L"4");

        // Counts and lengths beyond the dialog's ranges are kept within them, and a count
        // shows what will be printed.
        SetControlText(dialog, IDC_LAYOUT_COUNT_X, L"1000");
        SetControlText(dialog, IDC_LAYOUT_COUNT_Y, L"2147483647");
        SetControlText(dialog, IDC_LAYOUT_ORIGIN_Y, L"-99999999");
        ClickButton(dialog, IDC_LAYOUT_PREVIEW);
        EXPECT_EQ(Design().base_cntx, 10);
        EXPECT_EQ(Design().base_cnty, 10);
        EXPECT_EQ(Design().base_py, -9999);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COUNT_X), L"10");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_COUNT_Y), L"10");

        // Typing alone is read once the 300 ms timer has run.
        SetControlText(dialog, IDC_LAYOUT_GAP_X, L"2.55");
        EXPECT_EQ(Design().base_spx, 6);
        PumpFor(600);
        EXPECT_EQ(Design().base_spx, 25);
        ClickButton(dialog, IDC_LAYOUT_PRINT);
    });
    EXPECT_EQ(choice.copies, 1);
    EXPECT_EQ(Design().base_spx, 25);
}

TEST_F(SheetLayout, CancelAndCloseBoxRestoreTheEightFields) {
    const Layout before = LayoutOf(Design());
    auto change_everything = [](HWND dialog) {
        for (int id : {IDC_LAYOUT_CARD_WIDTH, IDC_LAYOUT_CARD_HEIGHT, IDC_LAYOUT_ORIGIN_X,
                       IDC_LAYOUT_ORIGIN_Y, IDC_LAYOUT_GAP_X, IDC_LAYOUT_GAP_Y, IDC_LAYOUT_COUNT_X,
                       IDC_LAYOUT_COUNT_Y})
            SetControlText(dialog, id, L"7");
        ClickButton(dialog, IDC_LAYOUT_PREVIEW);
        EXPECT_EQ(LayoutOf(Design()), (Layout{70, 70, 7, 7, 70, 70, 70, 70}));
    };
    LayoutChoice choice = Open([&](HWND dialog) {
        change_everything(dialog);
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
    EXPECT_EQ(LayoutOf(Design()), before);
    EXPECT_FALSE(choice.print);

    choice = Open([&](HWND dialog) {
        change_everything(dialog);
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(LayoutOf(Design()), before);
    EXPECT_FALSE(choice.print);
}

TEST_F(SheetLayout, MissingSheetPictureEndsTheDialogWithoutPrinting) {
    RemovePicture(L"pp.gdt");
    const LayoutChoice choice = Open([](HWND) {});  // the dialog closes itself as it paints
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"画像が読み込み出来ません。");
    EXPECT_EQ(seam.messages[0].caption, L"ImageLoadTEXT(");
    EXPECT_NE(seam.messages[0].owner, nullptr);  // owned by the dialog
    EXPECT_FALSE(choice.print);
}

TEST_F(SheetLayout, DamagedCardPictureIsReportedOnceAndEndsTheDialogOnlyWhenACardIsDrawn) {
    const std::vector<uint8_t> damaged = {'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_TRUE(WriteBytes(folder.File(L"ms.gdt"), damaged.data(), damaged.size()));
    Design().base_cntx = Design().base_cnty = 1000;
    const LayoutChoice choice = Open([](HWND) {});
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].caption, L"ImageLoad");
    EXPECT_FALSE(choice.print);

    Design().base_cntx = 0;
    TestBitmap sheet(320, 470);
    EXPECT_TRUE(DrawSheetPreview(sheet.Dc(), failures));
    EXPECT_EQ(seam.messages.size(), 1u);
}

TEST_F(SheetLayout, PictureDrawsPaperFrameAndEveryCardInPlace) {
    Design().base_px = 80;
    Design().base_py = 100;
    Design().base_spx = 60;
    Design().base_spy = 120;
    TestBitmap sheet(320, 470);
    ASSERT_TRUE(DrawSheetPreview(sheet.Dc(), failures));
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
    // Paper 210 x 297 from (5, 160), nothing outside it but cards.
    EXPECT_EQ(sheet.Pixel(6, 161), kPaperColour);
    EXPECT_EQ(sheet.Pixel(214, 456), kPaperColour);
    EXPECT_EQ(sheet.Pixel(215, 330), RGB(255, 255, 255));
    EXPECT_EQ(sheet.Pixel(100, 457), RGB(255, 255, 255));
    // The printable frame: 200 x 287 from (10, 165).
    EXPECT_EQ(sheet.Pixel(10, 430), kFrameColour);
    EXPECT_EQ(sheet.Pixel(210, 430), kFrameColour);
    EXPECT_EQ(sheet.Pixel(150, 165), kFrameColour);
    EXPECT_EQ(sheet.Pixel(150, 452), kFrameColour);
    // Six cards of 91 x 55 pixels, the first at (13, 170), the next across at (110, 170).
    const PreviewRect first = CardPicture(Design(), 0, 0, 1000);
    EXPECT_EQ(first, (PreviewRect{13, 170, 91, 55}));
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 2; ++k) {
            const PreviewRect c = CardPicture(Design(), k, r, 1000);
            EXPECT_EQ(sheet.CountColour(c.left, c.top, c.left + c.width, c.top + c.height, kCardColour),
                      c.width * c.height)
                << k << "," << r;
        }
    }
    EXPECT_EQ(sheet.CountColour(0, 0, sheet.Width(), sheet.Height(), kCardColour), 6 * 91 * 55);
}

TEST_F(SheetLayout, EmptyGridDrawsNoCards) {
    for (auto [across, down] : {std::pair{0, 3}, std::pair{2, 0}, std::pair{-1, 3}}) {
        Design().base_cntx = across;
        Design().base_cnty = down;
        TestBitmap sheet(320, 470);
        EXPECT_TRUE(DrawSheetPreview(sheet.Dc(), failures));
        EXPECT_EQ(sheet.CountColour(0, 0, 320, 470, kCardColour), 0);
        EXPECT_EQ(sheet.Pixel(100, 330), kPaperColour);
    }
}

TEST_F(SheetLayout, LandscapePaperIsDrawnAcross) {
    Metrics() = A4Landscape();
    Design().base_cntx = 0;
    TestBitmap sheet(320, 470);
    ASSERT_TRUE(DrawSheetPreview(sheet.Dc(), failures));
    EXPECT_EQ(sheet.Pixel(300, 230), kPaperColour);  // 297 wide
    EXPECT_EQ(sheet.Pixel(100, 375), RGB(255, 255, 255));  // 210 high
    EXPECT_EQ(sheet.Pixel(297, 230), kFrameColour);
}

TEST_F(SheetLayout, EachPresetFillsTheFieldsAndEditingOneSwitchesToTheFreeLayout) {
    // Letter paper: 215.9 x 279.4 mm.
    Metrics().physical_width = 2550;
    Metrics().physical_height = 3300;
    const LayoutChoice choice = Open([](HWND dialog) {
        EXPECT_EQ(Entries(dialog), (std::vector<std::wstring>{L"自由設定", L"A4 10面 名刺 91×55 (左14 上11)",
                                                              L"A4 10面 名刺 91×55 (中央)"}));
        EXPECT_EQ(ShownEntry(dialog), 0);
        ChooseEntry(dialog, 1);
        EXPECT_EQ(FormGrid(dialog),
                  (std::vector<std::wstring>{L"91.0", L"55.0", L"2", L"5", L"14.0", L"11.0", L"0.0", L"0.0"}));
        EXPECT_EQ(GridOf(Design()), kA4TenGrid);
        ChooseEntry(dialog, 2);  // centred on the letter sheet
        EXPECT_EQ(FormGrid(dialog),
                  (std::vector<std::wstring>{L"91.0", L"55.0", L"2", L"5", L"16.9", L"2.2", L"0.0", L"0.0"}));
        PumpFor(600);  // the form read back by the timer is still the preset's
        EXPECT_EQ(ShownEntry(dialog), 2);
        ChooseEntry(dialog, 0);  // the free layout keeps the fields
        EXPECT_EQ(Design().base_px, 169);

        ChooseEntry(dialog, 1);
        SetControlText(dialog, IDC_LAYOUT_CORRECTION_X, L"1.5");  // not a layout field
        PumpFor(600);
        EXPECT_EQ(ShownEntry(dialog), 1);
        SetControlText(dialog, IDC_LAYOUT_GAP_Y, L"0.5");
        PumpFor(600);
        EXPECT_EQ(ShownEntry(dialog), 0);
        EXPECT_EQ(Design().base_spy, 5);
        EXPECT_EQ(TextOf(Design().sheet_preset), u"");

        ChooseEntry(dialog, 1);
        SetControlText(dialog, IDC_LAYOUT_COUNT_X, L"3");
        ClickButton(dialog, IDC_LAYOUT_PREVIEW);  // read at once
        EXPECT_EQ(ShownEntry(dialog), 0);
        ChooseEntry(dialog, 1);
        ClickButton(dialog, IDC_LAYOUT_PRINT);
    });
    EXPECT_TRUE(choice.print);
    EXPECT_EQ(GridOf(Design()), kA4TenGrid);
    EXPECT_EQ(TextOf(Design().sheet_preset), u"A4 10面 名刺 91×55 (左14 上11)");
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(SheetLayout, TheStoredPresetIsShownAgainAndCancelPutsItBack) {
    SetText(Design().sheet_preset, kA4TenCentredName);
    PutGrid(Design(), kA4TenGrid);
    Metrics().physical_width = 2550;  // since then the printer took letter paper
    Metrics().physical_height = 3300;
    Metrics().dpi_x = Metrics().dpi_y = 300;
    Open([](HWND dialog) {
        EXPECT_EQ(ShownEntry(dialog), 2);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_ORIGIN_X), L"16.9");  // centred again
        ChooseEntry(dialog, 0);
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
    EXPECT_EQ(GridOf(Design()), kA4TenGrid);
    EXPECT_EQ(TextOf(Design().sheet_preset), kA4TenCentredName);

    // A grid changed since (by hand in the file) no longer shows the preset.
    SetText(Design().sheet_preset, kA4TenName);
    Design().base_py = 120;
    Open([](HWND dialog) {
        EXPECT_EQ(ShownEntry(dialog), 0);
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
}

TEST_F(SheetLayout, ARegisteredPresetIsListedWhenTheDialogOpensAgain) {
    const std::wstring name = L"いつもの = [厚紙]";
    Open([&](HWND dialog) {
        SetControlText(dialog, IDC_LAYOUT_CARD_WIDTH, L"86.0");
        SetControlText(dialog, IDC_LAYOUT_ORIGIN_Y, L"12.5");
        Register(dialog, [&](HWND asked) {
            // Names that cannot be used are refused, and the dialog stays for another.
            TypeName(asked, L"A4 10面 名刺 91×55 (中央)");
            TypeName(asked, std::wstring(64, L'長'));
            TypeName(asked, L"　");
            TypeName(asked, name);
        });
        EXPECT_EQ(Entries(dialog).size(), 4u);
        EXPECT_EQ(ShownEntry(dialog), 3);
        ClickButton(dialog, IDC_LAYOUT_PRINT);
    });
    ASSERT_EQ(seam.messages.size(), 3u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].caption, L"用紙の登録");
    EXPECT_EQ(seam.messages[1].text, L"名前が長すぎます。63文字までにしてください。");
    EXPECT_EQ(seam.messages[2].text, L"名前を入力してください。");
    EXPECT_NE(GetFileAttributesW(folder.File(L"sheets.ini").c_str()), INVALID_FILE_ATTRIBUTES);

    seam.messages.clear();
    ResetDesign(Design(), SettingsScope::Full);
    SetText(Design().sheet_preset, U16(name.c_str()));  // as the auto-save file keeps it
    Design().base_pw = 860;
    Design().base_py = 125;
    Open([&](HWND dialog) {
        const auto entries = Entries(dialog);
        ASSERT_EQ(entries.size(), 4u);
        EXPECT_EQ(entries[3], name);
        EXPECT_EQ(ShownEntry(dialog), 3);
        ChooseEntry(dialog, 1);
        ChooseEntry(dialog, 3);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_CARD_WIDTH), L"86.0");
        // The same name again: asked about, and No keeps the earlier one.
        SetControlText(dialog, IDC_LAYOUT_CARD_WIDTH, L"80.0");
        seam.message_answers = {IDNO, IDYES};
        Register(dialog, [&](HWND asked) {
            TypeName(asked, name);
            EXPECT_TRUE(IsWindow(asked));
            TypeName(asked, name);
        });
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
    ASSERT_EQ(seam.messages.size(), 2u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].text, L"同じ名前の用紙があります。置き換えますか？");
    EXPECT_EQ(seam.messages[0].caption, L"用紙の登録！");
    EXPECT_EQ(seam.messages[0].type & MB_YESNO, static_cast<UINT>(MB_YESNO));
    Open([&](HWND dialog) {
        EXPECT_EQ(Entries(dialog).size(), 4u);
        ChooseEntry(dialog, 3);
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_CARD_WIDTH), L"80.0");  // replaced
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
}

// sheets.ini damaged, foreign, empty or huge: the dialog opens with the program's own
// stocks, a file it cannot read is kept aside whole (and said so), never written over.
TEST_F(SheetLayout, ASheetsFileThatCannotBeReadIsKeptAside) {
    const std::vector<uint8_t> damaged = {0x00, 0x13, 0xFF, 0xD8, 0x00, 0x00, 0x7F};
    const std::vector<uint8_t> huge(2u << 20, 'a');
    for (const auto* content : {&damaged, &huge}) {
        seam.messages.clear();
        ASSERT_TRUE(WriteBytes(folder.File(L"sheets.ini"), content->data(), content->size()));
        Open([](HWND dialog) {
            EXPECT_EQ(Entries(dialog).size(), 3u);
            Register(dialog, [](HWND asked) { TypeName(asked, L"新しい用紙"); });
            EXPECT_EQ(Entries(dialog).size(), 4u);
            ClickButton(dialog, IDC_LAYOUT_CANCEL);
        });
        ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
        EXPECT_NE(seam.messages[0].text.find(L"sheets.ini.unreadable-"), std::wstring::npos) << seam.messages[0].text;
        DeleteFileW(folder.File(L"sheets.ini").c_str());
    }
    EXPECT_EQ(ReadBytes(folder.File(L"sheets.ini.unreadable-1")), damaged);
    EXPECT_EQ(ReadBytes(folder.File(L"sheets.ini.unreadable-2")).size(), huge.size());

    seam.messages.clear();
    ASSERT_TRUE(WriteBytes(folder.File(L"sheets.ini"), "", 0));
    Open([](HWND dialog) {
        EXPECT_EQ(Entries(dialog).size(), 3u);
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(SheetLayout, CorrectionsAreThePrintersOwnAndKeptWithinRange) {
    Open([](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_CORRECTION_X), L"0.0");
        SetControlText(dialog, IDC_LAYOUT_CORRECTION_X, L"1.5");
        SetControlText(dialog, IDC_LAYOUT_CORRECTION_Y, L"-0.8");
        SetControlText(dialog, IDC_LAYOUT_BACK_X, L"0.35");
        SetControlText(dialog, IDC_LAYOUT_BACK_Y, L"-150");
        ClickButton(dialog, IDC_LAYOUT_PRINT);
    });
    EXPECT_EQ(FrontCorrection(), (SheetCorrection{15, -8}));
    EXPECT_EQ(BackCorrection(), (SheetCorrection{3, -999}));
    const auto stored = ReadBytes(folder.File(L"printers.ini"));
    std::vector<PrinterSettings> read;
    ASSERT_EQ(ReadPrintersFile(stored, read), KeyValueRead::Read);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].name, u"テスト プリンタ");
    EXPECT_EQ(read[0].back, (SheetCorrection{3, -999}));

    lstrcpynW(CurrentPrinterName(), L"別のプリンタ", 256);
    Open([](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_CORRECTION_Y), L"0.0");
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
    lstrcpynW(CurrentPrinterName(), L"テスト プリンタ", 256);
    Open([](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_CORRECTION_Y), L"-0.8");
        EXPECT_EQ(ControlText(dialog, IDC_LAYOUT_BACK_Y), L"-99.9");
        SetControlText(dialog, IDC_LAYOUT_CORRECTION_X, L"2.0");
        ClickButton(dialog, IDC_LAYOUT_CANCEL);  // not kept
    });
    EXPECT_EQ(FrontCorrection(), (SheetCorrection{15, -8}));
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

}  // namespace

namespace {

struct DuplexControls {
    std::wstring entries;  // the list, joined by '|'
    int shown = -1;
    bool list_enabled = false, device_enabled = false, device_checked = false;
};

DuplexControls ReadDuplexControls(HWND dialog) {
    DuplexControls seen;
    HWND list = GetDlgItem(dialog, IDC_LAYOUT_DUPLEX);
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t entry[32] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        seen.entries += (i ? L"|" : L"") + std::wstring(entry);
    }
    seen.shown = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    seen.list_enabled = IsWindowEnabled(list) != FALSE;
    seen.device_enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_LAYOUT_DUPLEX_DEVICE)) != FALSE;
    seen.device_checked = IsChecked(dialog, IDC_LAYOUT_DUPLEX_DEVICE);
    return seen;
}

// The test printer has no duplex unit (it does not exist at all): the device choice stays
// grey and keeps what the design holds; the binding edge is the user's while the back is
// in use, and grey, untouched, while it is not.
TEST_F(SheetLayout, TwoSidedChoicesFollowTheBackAndThePrinter) {
    Design().back_on = 1;
    Design().duplex = kDuplexLongEdge;
    Design().duplex_device = 1;
    DuplexControls seen;
    LayoutChoice choice = Open([&](HWND dialog) {
        seen = ReadDuplexControls(dialog);
        SendDlgItemMessageW(dialog, IDC_LAYOUT_DUPLEX, CB_SETCURSEL, kDuplexShortEdge, 0);
        ClickButton(dialog, IDC_LAYOUT_PRINT);
    });
    EXPECT_EQ(seen.entries, L"しない|長辺とじ|短辺とじ");
    EXPECT_EQ(seen.shown, kDuplexLongEdge);
    EXPECT_TRUE(seen.list_enabled);
    EXPECT_FALSE(seen.device_enabled);
    EXPECT_TRUE(seen.device_checked);
    EXPECT_TRUE(choice.print);
    EXPECT_EQ(Design().duplex, kDuplexShortEdge);
    EXPECT_EQ(Design().duplex_device, 1);

    // Cancel takes nothing.
    Open([](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_LAYOUT_DUPLEX, CB_SETCURSEL, kDuplexNone, 0);
        ClickButton(dialog, IDC_LAYOUT_CANCEL);
    });
    EXPECT_EQ(Design().duplex, kDuplexShortEdge);

    Design().back_on = 0;
    Design().duplex = 7;  // out of range: shown as しない, kept while grey
    choice = Open([&](HWND dialog) {
        seen = ReadDuplexControls(dialog);
        ClickButton(dialog, IDC_LAYOUT_PRINT);
    });
    EXPECT_EQ(seen.shown, kDuplexNone);
    EXPECT_FALSE(seen.list_enabled);
    EXPECT_FALSE(seen.device_enabled);
    EXPECT_EQ(Design().duplex, 7);
    EXPECT_TRUE(choice.print);
}

}  // namespace
