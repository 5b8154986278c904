#include "qr/qr_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "res/address_dialog_ids.h"
#include "res/qr_dialog_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

// The dialog's client area as it shows now, from the preview corner on.
void CapturePreview(HWND dialog, TestBitmap& into) { into.CopyFromWindow(dialog, kQrPreviewLeft, kQrPreviewTop); }

// Pixels of the captured preview that are neither the dialog's face nor white.
int DarkPixels(HWND dialog) {
    TestBitmap preview(200, 200);
    CapturePreview(dialog, preview);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    return preview.CountOther(0, 0, 200, 200, face) -
           preview.CountColour(0, 0, 200, 200, RGB(255, 255, 255));
}

class QrDialogTest : public ::testing::Test {
protected:
    RecordingSeam seam;

    void SetUp() override { ResetDesign(Design(), SettingsScope::Full); }

    void Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([] { ShowQrDialog(nullptr); return INT_PTR{1}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
    }
    static QrcodeData& Entry(int i) { return Design().qrcode_data[i]; }
};

TEST_F(QrDialogTest, SwitchingEntriesStoresTheOneLeftAndTheCloseBoxDropsTyping) {
    SetText(Entry(1).s, u"second");
    Entry(1).on = 1;
    Entry(1).x = 7;
    Entry(1).y = -2;
    Entry(1).Lv = 2;
    Entry(1).Sell = 5;
    Open([](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_QR_ENTRY1));
        EXPECT_FALSE(IsChecked(dialog, IDC_QR_USE));
        EXPECT_EQ(ControlText(dialog, IDC_QR_LEVEL), L"0:7%");
        EXPECT_EQ(ControlText(dialog, IDC_QR_CELL), L"04×04");
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_QR_CELL, CB_GETCOUNT, 0, 0), 9);
        SetChecked(dialog, IDC_QR_USE, true);
        SetControlText(dialog, IDC_QR_TEXT, L"first\r\nline two");
        SetControlText(dialog, IDC_QR_X, L"12");
        SetControlText(dialog, IDC_QR_Y, L"-3");
        SetControlText(dialog, IDC_QR_LEVEL, L"3:30%");
        SetControlText(dialog, IDC_QR_CELL, L"12");  // typed, not from the list
        ClickButton(dialog, IDC_QR_ENTRY2);
        EXPECT_TRUE(IsChecked(dialog, IDC_QR_ENTRY2));
        EXPECT_FALSE(IsChecked(dialog, IDC_QR_ENTRY1));
        EXPECT_TRUE(IsChecked(dialog, IDC_QR_USE));
        EXPECT_EQ(ControlText(dialog, IDC_QR_TEXT), L"second");
        EXPECT_EQ(ControlText(dialog, IDC_QR_X), L"7");
        EXPECT_EQ(ControlText(dialog, IDC_QR_Y), L"-2");
        EXPECT_EQ(ControlText(dialog, IDC_QR_LEVEL), L"2:25%");
        EXPECT_EQ(ControlText(dialog, IDC_QR_CELL), L"05×05");
        SetControlText(dialog, IDC_QR_TEXT, L"never stored");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Entry(0).on, 1);
    EXPECT_EQ(TextOf(Entry(0).s), u"first\r\nline two");
    EXPECT_EQ(Entry(0).x, 12);
    EXPECT_EQ(Entry(0).y, -3);
    EXPECT_EQ(Entry(0).Lv, 3);
    EXPECT_EQ(Entry(0).Sell, 12);
    EXPECT_EQ(TextOf(Entry(1).s), u"second");
    // The next opening starts on the first code again.
    Open([](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_QR_ENTRY1));
        EXPECT_FALSE(IsChecked(dialog, IDC_QR_ENTRY2));
        EXPECT_EQ(ControlText(dialog, IDC_QR_CELL), L"12×12");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(QrDialogTest, OutOfRangeLevelShowsAsLAndZeroCellAsThree) {
    Entry(0).Lv = 5;
    Entry(0).Sell = 0;
    Open([](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_QR_LEVEL), L"0:7%");
        EXPECT_EQ(ControlText(dialog, IDC_QR_CELL), L"03×03");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Entry(0).Lv, 5);  // the close box stores nothing
}

TEST_F(QrDialogTest, EncodeTicksUseForATextAndUnticksItWhenTheTextIsCleared) {
    Open([](HWND dialog) {
        EXPECT_EQ(DarkPixels(dialog), 0);
        SetControlText(dialog, IDC_QR_TEXT, L"HELLO");
        ClickButton(dialog, IDC_QR_ENCODE);
        EXPECT_TRUE(IsChecked(dialog, IDC_QR_USE));
        EXPECT_EQ(Entry(0).on, 1);
        EXPECT_GT(DarkPixels(dialog), 1000);
        SetControlText(dialog, IDC_QR_TEXT, L"");
        ClickButton(dialog, IDC_QR_ENCODE);
        EXPECT_FALSE(IsChecked(dialog, IDC_QR_USE));
        EXPECT_EQ(Entry(0).on, 0);
        EXPECT_EQ(DarkPixels(dialog), 0);
        ClickButton(dialog, IDC_QR_OK);
    });
    EXPECT_EQ(Entry(0).on, 0);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(QrDialogTest, OkStoresTheDrawnSideOfTheStoredTextAndCellSize) {
    // 60 bytes in byte mode need version 4 at level M (62 bytes): 33 modules.
    SetText(Entry(0).s, std::u16string(60, u'a'));
    Entry(0).on = 1;
    Entry(0).Lv = 1;
    Open([](HWND dialog) {
        SetControlText(dialog, IDC_QR_CELL, L"06×06");
        ClickButton(dialog, IDC_QR_ENCODE);
        TestBitmap preview(240, 240);
        CapturePreview(dialog, preview);
        // Two light modules of margin, then the finder's dark corner.
        EXPECT_EQ(preview.Pixel(11, 11), RGB(255, 255, 255));
        EXPECT_EQ(preview.Pixel(12, 12), kBlack);
        EXPECT_EQ(preview.Pixel(221, 221), RGB(255, 255, 255));  // inside the margin
        EXPECT_NE(preview.Pixel(222, 222), RGB(255, 255, 255));  // past the symbol
        ClickButton(dialog, IDC_QR_OK);
    });
    EXPECT_EQ(Entry(0).Sell, 6);
    EXPECT_EQ(Entry(0).w, (33 + 4) * 6);
    EXPECT_EQ(Entry(0).h, (33 + 4) * 6);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(QrDialogTest, ColourButtonsChangeTheEntryWithoutReadingTheForm) {
    SetText(Entry(0).s, u"HELLO");
    Entry(0).on = 1;
    Entry(0).Sell = 3;
    seam.color_answer = [](CHOOSECOLORW* request) {
        request->rgbResult = RGB(200, 10, 20);
        return TRUE;
    };
    Open([](HWND dialog) {
        SetControlText(dialog, IDC_QR_X, L"99");
        ClickButton(dialog, IDC_QR_CODE_COLOUR);
        EXPECT_EQ(ControlText(dialog, IDC_QR_X), L"99");
        TestBitmap preview(80, 80);
        CapturePreview(dialog, preview);
        EXPECT_EQ(preview.Pixel(6, 6), RGB(200, 10, 20));
        EXPECT_EQ(preview.Pixel(0, 0), RGB(255, 255, 255));
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Entry(0).r, 200);
    EXPECT_EQ(Entry(0).g, 10);
    EXPECT_EQ(Entry(0).b, 20);
    EXPECT_EQ(Entry(0).x, 0);
    EXPECT_EQ(Entry(0).br, 255);
}

TEST_F(QrDialogTest, AddressSetRefillsTheFormWithThePayload) {
    Entry(2).x = 40;
    Open([](HWND dialog) {
        ClickButton(dialog, IDC_QR_ENTRY3);
        SetControlText(dialog, IDC_QR_X, L"55");  // typed, then replaced by the stored 40
        bool timed_out = false;
        DriveModal([dialog] { ClickButton(dialog, IDC_QR_ADDRESS); return INT_PTR{1}; },
                   [dialog](HWND address) {
                       EXPECT_EQ(GetParent(address), dialog);
                       SetControlText(address, IDC_ADDRESS_NAME, L"山田");
                       ClickButton(address, IDC_ADDRESS_OK);
                   },
                   &timed_out);
        EXPECT_FALSE(timed_out);
        EXPECT_EQ(ControlText(dialog, IDC_QR_X), L"40");
        EXPECT_EQ(ControlText(dialog, IDC_QR_TEXT).substr(0, 20), L"MEMORY:\r\nNAME1:山田\r\nN");
        ClickButton(dialog, IDC_QR_ENCODE);
        ClickButton(dialog, IDC_QR_OK);
    });
    EXPECT_EQ(TextOf(Entry(2).sn), u"山田");
    EXPECT_EQ(Entry(2).on, 1);
    EXPECT_EQ(Entry(2).x, 40);
    EXPECT_GT(Entry(2).w, 0);
    EXPECT_EQ(TextLength(Entry(0).s), 0u);
}

TEST_F(QrDialogTest, HelpOpensTheManualOfTheStartFolderThroughTheSeam) {
    ScratchFolder folder;
    wchar_t previous_directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous_directory);
    Process().start_folder = folder.Path();
    wchar_t current[MAX_PATH] = {};
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_QR_HELP);
        GetCurrentDirectoryW(MAX_PATH, current);
        EXPECT_TRUE(IsWindow(dialog));  // the dialog stays
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(seam.opened_documents, std::vector<std::wstring>{L"Vivivuz_manual.pdf"});
    EXPECT_EQ(std::wstring(current), folder.Path());
    Process().start_folder.clear();
    SetCurrentDirectoryW(previous_directory);
}

}  // namespace
