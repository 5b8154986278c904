#include "editors/text_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "print/printer.h"
#include "recording_seam.h"
#include "res/text_dialog_ids.h"
#include "test_bitmap.h"
#include "win/colour.h"
#include "win/design_text.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

// The unrotated extent of text in the font as stored, on the screen.
SIZE Measure(const LogFont& stored, const std::wstring& text) {
    LogFont font = stored;
    font.lfEscapement = font.lfOrientation = 0;
    HDC dc = GetDC(nullptr);
    HFONT handle = CreateDesignFont(font);
    HGDIOBJ old = SelectObject(dc, handle);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    DeleteObject(handle);
    ReleaseDC(nullptr, dc);
    return extent;
}

std::wstring Text(const StrData& item) { return std::wstring(W(item.s64)); }

class TextDialog : public ::testing::Test {
protected:
    RecordingSeam seam;
    std::unique_ptr<CardDesign> saved = std::make_unique<CardDesign>(Design());

    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        Design().font_plprn = 0;
    }
    void TearDown() override { Design() = *saved; }

    // Opens the dialog on page 1 and runs the script, which must end it.
    void Run(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([] { ShowTextDialog(nullptr); return INT_PTR{1}; },
                   [&](HWND dialog) {
                       ClickButton(dialog, IDC_TEXT_PAGE1);
                       script(dialog);
                   },
                   &timed_out);
        EXPECT_FALSE(timed_out);
    }
    // Lets the string timer of the opening fill run, so later edits stay pending.
    static void Settle() { PumpFor(450); }
};

TEST_F(TextDialog, TypingSwitchesAnItemOnAndEmptyingSwitchesItOff) {
    StrData& name = Design().str_data[2];
    SetText(name.s64, u"");
    name.on = 0;
    Design().str_data[3].on = 1;
    Run([&](HWND dialog) {
        Settle();
        SetControlText(dialog, IDC_TEXT_STRING + 2, L"山田　花子");
        SetControlText(dialog, IDC_TEXT_STRING + 3, L"");
        EXPECT_EQ(name.on, 0);  // read only once the typing pauses
        PumpFor(450);
        EXPECT_EQ(name.on, 1);
        EXPECT_EQ(Text(name), L"山田　花子");
        EXPECT_EQ(Design().str_data[3].on, 0);
        // The boxes follow, so later read-backs keep the flags.
        EXPECT_TRUE(IsChecked(dialog, IDC_TEXT_USE + 2));
        EXPECT_FALSE(IsChecked(dialog, IDC_TEXT_USE + 3));
        ClickButton(dialog, IDC_TEXT_REDRAW);
        EXPECT_EQ(name.on, 1);
        EXPECT_TRUE(IsChecked(dialog, IDC_TEXT_USE + 2));
        // A typed string is taken at OK even before the typing timer runs.
        SetControlText(dialog, IDC_TEXT_STRING + 3, L"東京都");
        ClickButton(dialog, IDC_TEXT_OK);
    });
    EXPECT_EQ(Text(Design().str_data[3]), L"東京都");
    EXPECT_EQ(Design().str_data[3].on, 1);
    EXPECT_EQ(name.on, 1);
}

TEST_F(TextDialog, TextWiderThanTheCardEndsLeftOfIt) {
    const std::wstring wide(40, L'Ｗ');
    Run([&](HWND dialog) {
        SetControlText(dialog, IDC_TEXT_STRING + 2, wide);  // item 2: -32 pixel bold
        SetControlText(dialog, IDC_TEXT_X + 2, L"50");
        SetControlText(dialog, IDC_TEXT_Y + 2, L"abc");
        ClickButton(dialog, IDC_TEXT_OK);
    });
    const SIZE extent = Measure(Design().lf[2], wide);
    ASSERT_GT(extent.cx, 455);
    const StrData& item = Design().str_data[2];
    EXPECT_EQ(item.x, 455 - extent.cx);
    EXPECT_LT(item.x, 0);
    EXPECT_EQ(item.y, 0);  // not a number: 0
}

TEST_F(TextDialog, VerticalTextIsBoundedByItsHeightAcrossAndItsWidthDown) {
    const std::wstring text(12, L'縦');
    Run([&](HWND dialog) {
        SetControlText(dialog, IDC_TEXT_STRING + 2, text);
        ClickButton(dialog, IDC_TEXT_VERTICAL + 2);
        EXPECT_EQ(Design().lf[2].lfEscapement, -900);  // at once, before any read-back
        SetControlText(dialog, IDC_TEXT_X + 2, L"1000");
        SetControlText(dialog, IDC_TEXT_Y + 2, L"1000");
        ClickButton(dialog, IDC_TEXT_OK);
    });
    const LogFont& font = Design().lf[2];
    EXPECT_EQ(font.lfEscapement, -900);
    EXPECT_EQ(font.lfOrientation, -900);
    const SIZE extent = Measure(font, text);
    ASSERT_GT(extent.cx, 275);
    EXPECT_EQ(Design().str_data[2].x, 455 - extent.cy);
    EXPECT_EQ(Design().str_data[2].y, 275 - extent.cx);
}

TEST_F(TextDialog, ReopensOnThePageShownLast) {
    Run([](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_TEXT_USE + 4), L"電話番号");
        ClickButton(dialog, IDC_TEXT_PAGE2);
        EXPECT_EQ(ControlText(dialog, IDC_TEXT_USE + 0), L"ハンドル名");
        EXPECT_EQ(ControlText(dialog, IDC_TEXT_USE + 4), L"ホームページ");
        ClickButton(dialog, IDC_TEXT_PAGE3);
        ClickButton(dialog, IDC_TEXT_OK);
    });
    bool timed_out = false;
    DriveModal([] { ShowTextDialog(nullptr); return INT_PTR{1}; },
               [](HWND dialog) {
                   EXPECT_EQ(ControlText(dialog, IDC_TEXT_USE + 0), L"その他１");
                   EXPECT_EQ(ControlText(dialog, IDC_TEXT_STRING + 4),
                             std::wstring(W(Design().str_data[14].s64)));
                   ClickButton(dialog, IDC_TEXT_PAGE1);
                   ClickButton(dialog, IDC_TEXT_OK);
               },
               &timed_out);
    EXPECT_FALSE(timed_out);
}

TEST_F(TextDialog, AllColoursReachEveryPage) {
    std::vector<COLORREF> initial;
    std::vector<HWND> owners;
    COLORREF answer = RGB(10, 20, 30);
    bool confirm = true;
    seam.color_answer = [&](CHOOSECOLORW* request) {
        initial.push_back(request->rgbResult);
        owners.push_back(request->hwndOwner);
        EXPECT_TRUE(request->Flags & CC_RGBINIT);
        EXPECT_NE(request->lpCustColors, nullptr);
        request->rgbResult = answer;
        return confirm ? TRUE : FALSE;
    };
    HWND shown = nullptr;
    Run([&](HWND dialog) {
        shown = dialog;
        ClickButton(dialog, IDC_TEXT_ALL_COLOUR);
        answer = RGB(1, 2, 3);
        ClickButton(dialog, IDC_TEXT_ALL_BOX_COLOUR);
        confirm = false;  // cancelled: nothing changes
        ClickButton(dialog, IDC_TEXT_ALL_COLOUR);
        ClickButton(dialog, IDC_TEXT_ALL_BOX_COLOUR);
        ClickButton(dialog, IDC_TEXT_OK);
    });
    ASSERT_EQ(initial.size(), 4u);
    EXPECT_EQ(initial[0], RGB(0, 0, 0));
    EXPECT_EQ(initial[1], RGB(255, 255, 255));
    EXPECT_EQ(owners[0], shown);
    for (const StrData& item : Design().str_data) {
        EXPECT_EQ(item.r, 10);
        EXPECT_EQ(item.g, 20);
        EXPECT_EQ(item.b, 30);
        EXPECT_EQ(item.br, 1);
        EXPECT_EQ(item.bg, 2);
        EXPECT_EQ(item.bb, 3);
    }
}

TEST_F(TextDialog, ColourButtonsRefillThePageWithoutReadingIt) {
    seam.color_answer = [](CHOOSECOLORW* request) {
        request->rgbResult = RGB(200, 100, 50);
        return TRUE;
    };
    Design().str_data[6].x = 17;
    Run([](HWND dialog) {
        ClickButton(dialog, IDC_TEXT_PAGE2);  // item 6 is row 1 of page 2
        Settle();
        SetControlText(dialog, IDC_TEXT_X + 1, L"99");
        ClickButton(dialog, IDC_TEXT_COLOUR + 1);
        EXPECT_EQ(ControlText(dialog, IDC_TEXT_X + 1), L"17");
        ClickButton(dialog, IDC_TEXT_BOX_COLOUR + 1);
        ClickButton(dialog, IDC_TEXT_PAGE1);
        ClickButton(dialog, IDC_TEXT_OK);
    });
    const StrData& item = Design().str_data[6];
    EXPECT_EQ(item.x, 17);
    EXPECT_EQ(item.r, 200);
    EXPECT_EQ(item.b, 50);
    EXPECT_EQ(item.br, 200);
    EXPECT_EQ(item.bb, 50);
    EXPECT_EQ(Design().str_data[5].r, 0);  // only that item
}

TEST_F(TextDialog, CancelRestoresTheItemsButKeepsFontsAndVerticalFlags) {
    const auto before = std::make_unique<CardDesign>(Design());
    CHOOSEFONTW seen{};
    LogFont offered{};
    seam.font_answer = [&](CHOOSEFONTW* request) {
        seen = *request;
        offered = FromLogFontW(*request->lpLogFont);
        lstrcpynW(request->lpLogFont->lfFaceName, L"IPAGothic", LF_FACESIZE);
        request->lpLogFont->lfHeight = -20;
        return TRUE;
    };
    HWND shown = nullptr;
    Run([&](HWND dialog) {
        shown = dialog;
        SetControlText(dialog, IDC_TEXT_STRING + 0, L"別の会社");
        SetControlText(dialog, IDC_TEXT_X + 0, L"40");
        SetChecked(dialog, IDC_TEXT_BOX + 0, true);
        ClickButton(dialog, IDC_TEXT_REDRAW);
        ASSERT_EQ(Text(Design().str_data[0]), L"別の会社");
        ClickButton(dialog, IDC_TEXT_FONT + 0);
        ClickButton(dialog, IDC_TEXT_VERTICAL + 1);
        ClickButton(dialog, IDC_TEXT_CANCEL);
    });
    EXPECT_EQ(std::memcmp(Design().str_data, before->str_data, sizeof(before->str_data)), 0);
    EXPECT_EQ(std::wstring(W(Design().lf[0].lfFaceName)), L"IPAGothic");
    EXPECT_EQ(Design().lf[0].lfHeight, -20);
    EXPECT_EQ(Design().lf[1].lfEscapement, -900);
    // The font dialog started from the item's font, for the screen only.
    EXPECT_EQ(seen.hwndOwner, shown);
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT |
                                             CF_EFFECTS | CF_SCALABLEONLY));
    EXPECT_EQ(seen.hDC, nullptr);
    EXPECT_EQ(offered.lfHeight, -16);
    EXPECT_EQ(offered.lfWeight, 800);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(TextDialog, PrinterFontsFallBackToTheFirstPrinterAndVerticalSurvivesTheFontDialog) {
    Design().font_plprn = 1;
    wchar_t* printer = CurrentPrinterName();
    wchar_t kept[256];
    std::memcpy(kept, printer, sizeof(kept));
    std::memset(printer, 0, 256 * sizeof(wchar_t));  // no current printer known
    CHOOSEFONTW seen{};
    seam.font_answer = [&](CHOOSEFONTW* request) {
        seen = *request;
        request->lpLogFont->lfEscapement = request->lpLogFont->lfOrientation = 0;
        return TRUE;
    };
    Run([](HWND dialog) {
        ClickButton(dialog, IDC_TEXT_VERTICAL + 3);
        ClickButton(dialog, IDC_TEXT_FONT + 3);
        ClickButton(dialog, IDC_TEXT_OK);
    });
    std::memcpy(printer, kept, sizeof(kept));
    ASSERT_FALSE(seam.messages.empty());
    const ShownMessage& last = seam.messages.back();
    EXPECT_EQ(last.text, L"プリンタが選定が不明ですので先頭プリンタにします");
    EXPECT_EQ(last.caption, L"enumprinter_pro");
    EXPECT_EQ(last.type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(CF_BOTH | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS |
                                             CF_WYSIWYG | CF_SCALABLEONLY));
    if (Printers().count > 0) EXPECT_NE(seen.hDC, nullptr);
    EXPECT_EQ(Design().lf[3].lfEscapement, -900);
    EXPECT_EQ(Design().lf[3].lfOrientation, -900);
}

TEST_F(TextDialog, EscapeDoesNothingAndClosingDropsPendingEdits) {
    Design().str_data[4].x = 5;
    bool open_after_escape = false;
    Run([&](HWND dialog) {
        Settle();
        SetControlText(dialog, IDC_TEXT_X + 4, L"33");
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        open_after_escape = IsWindowVisible(dialog);
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(open_after_escape);
    EXPECT_EQ(Design().str_data[4].x, 5);
}

TEST_F(TextDialog, SamplesArePaintedAtTheirRowsAndVerticalOnesMoveRight) {
    CardDesign& d = Design();
    const COLORREF green = RGB(10, 200, 30), red = RGB(200, 10, 30);
    d.str_data[0].bk = 1;
    d.str_data[0].br = 10, d.str_data[0].bg = 200, d.str_data[0].bb = 30;
    d.str_data[1].r = 200, d.str_data[1].g = 10, d.str_data[1].b = 30;
    d.lf[1].lfEscapement = d.lf[1].lfOrientation = -900;
    const SIZE first = Measure(d.lf[0], std::wstring(W(d.str_data[0].s64)));
    const SIZE second = Measure(d.lf[1], std::wstring(W(d.str_data[1].s64)));
    TestBitmap copy(480, 480);
    Run([&](HWND dialog) {
        UpdateWindow(dialog);
        HDC dc = GetDC(dialog);
        BitBlt(copy.Dc(), 0, 0, 480, 480, dc, 0, 0, SRCCOPY);
        ReleaseDC(dialog, dc);
        ClickButton(dialog, IDC_TEXT_OK);
    });
    // Row 0, horizontal, with its box: the box starts at (260, 6).
    EXPECT_EQ(copy.Pixel(260, 6), green);
    EXPECT_NE(copy.Pixel(258, 6), green);
    EXPECT_GT(copy.CountColour(260, 6, 260 + first.cx, 6 + first.cy, green),
              first.cx * first.cy / 3);
    // Row 1, vertical, red glyphs: the text runs down from (312, 78) with its cell on
    // the left of that point, and nothing of it is left at x = 260.
    EXPECT_GT(copy.CountColour(312 - second.cy, 78, 312, 78 + second.cx, red), 30);
    EXPECT_EQ(copy.CountColour(312 + 2, 0, 480, 480, red), 0);
    EXPECT_EQ(copy.CountColour(0, 0, 480, 78, red), 0);
}

TEST(PickColour, ConfirmedColourIsStoredAndFocusReturnsToTheOwner) {
    RecordingSeam seam;
    HWND owner = CreateWindowW(L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr,
                               nullptr, nullptr, nullptr);
    HWND other = CreateWindowW(L"EDIT", L"", WS_POPUP | WS_VISIBLE, 60, 0, 50, 20, nullptr,
                               nullptr, nullptr, nullptr);
    CHOOSECOLORW seen{};
    BOOL answer = TRUE;
    seam.color_answer = [&](CHOOSECOLORW* request) {
        seen = *request;
        SetFocus(other);  // as the colour dialog takes the focus
        request->rgbResult = RGB(7, 8, 9);
        return answer;
    };
    int r = 256 + 12, g = 34, b = 56;
    PickColour(owner, r, g, b);
    EXPECT_EQ(seen.hwndOwner, owner);
    EXPECT_EQ(seen.rgbResult, RGB(12, 34, 56));  // low bytes
    EXPECT_TRUE(seen.Flags & CC_RGBINIT);
    EXPECT_NE(seen.lpCustColors, nullptr);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(g, 8);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(GetFocus(), owner);

    answer = FALSE;
    PickColour(owner, r, g, b);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(g, 8);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(GetFocus(), owner);
    DestroyWindow(other);
    DestroyWindow(owner);
}

}  // namespace
