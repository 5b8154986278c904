#include "editors/text_dialog.h"

#include <cstring>

#include "design/fixed_text.h"
#include "editors/text_page.h"
#include "print/printer.h"
#include "render/card_painter.h"
#include "res/text_dialog_ids.h"
#include "win/colour.h"
#include "win/design_text.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr UINT_PTR kStringTimer = 1;
constexpr UINT kStringDelayMs = 300;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The page shown last; the dialog reopens on it for the whole run of the program.
int g_page = 0;
// The font dialog's record lives as long as the program, so what the font dialog keeps
// in it (its effects colour, the point size) carries over to the next call.
CHOOSEFONTW g_font_request;

struct TextDialog {
    StrData backup[kTextCount];  // the items as they were at opening, for キャンセル
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// The unrotated extent of the whole text in the item's font as stored, on the dialog's
// screen context.
SIZE MeasureText(HWND dialog, const LogFont& font, std::u16string_view text) {
    WindowDc dc(dialog);
    FontHandle handle(CreateDesignFont(font));
    SelectGuard select(dc.Get(), handle.Get());
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), W(text.data()), static_cast<int>(text.size()), &extent);
    return extent;
}

void FillTextPage(HWND dialog) {
    const CardDesign& design = Design();
    for (int row = 0; row < kTextRows; ++row)
        SetDlgItemTextW(dialog, IDC_TEXT_USE + row, W(TextItemCaption(ItemOfRow(g_page, row))));
    for (int row = 0; row < kTextRows; ++row) {
        const int i = ItemOfRow(g_page, row);
        const StrData& item = design.str_data[i];
        Check(dialog, IDC_TEXT_USE + row, item.on != 0);
        SetDlgItemInt(dialog, IDC_TEXT_X + row, static_cast<UINT>(item.x), TRUE);
        SetDlgItemInt(dialog, IDC_TEXT_Y + row, static_cast<UINT>(item.y), TRUE);
        Check(dialog, IDC_TEXT_BOX + row, item.bk != 0);
        wchar_t text[64];
        SetText(text, W(TextOf(item.s64)));
        SetDlgItemTextW(dialog, IDC_TEXT_STRING + row, text);
        Check(dialog, IDC_TEXT_VERTICAL + row, IsVertical(design.lf[i]));
    }
}

void ReadTextPage(HWND dialog) {
    CardDesign& design = Design();
    for (int row = 0; row < kTextRows; ++row) {
        const int i = ItemOfRow(g_page, row);
        wchar_t x[32] = {}, y[32] = {}, text[64] = {};
        GetDlgItemTextW(dialog, IDC_TEXT_X + row, x, 32);
        GetDlgItemTextW(dialog, IDC_TEXT_Y + row, y, 32);
        GetDlgItemTextW(dialog, IDC_TEXT_STRING + row, text, 64);
        StrData& item = design.str_data[i];
        StoreTextRow(item, design.lf[i],
                     {Checked(dialog, IDC_TEXT_USE + row), U16(x), U16(y),
                      Checked(dialog, IDC_TEXT_BOX + row), U16(text),
                      Checked(dialog, IDC_TEXT_VERTICAL + row)});
        // The string decides the use flag when it was typed into an empty item or
        // emptied; the box follows at once, so that a later read-back (OK after the
        // typing timer) does not undo it.
        Check(dialog, IDC_TEXT_USE + row, item.on != 0);
        const SIZE extent = MeasureText(dialog, design.lf[i], TextOf(item.s64));
        ClampIntoCard(item, IsVertical(design.lf[i]), extent.cx, extent.cy, design.base_w,
                      design.base_h);
    }
}

// The page's items as the card draws them, each at its sample point, fonts as stored.
void DrawTextSamples(HDC dc) {
    const CardDesign& design = Design();
    const CardMapping as_stored;
    for (int row = 0; row < kTextRows; ++row) {
        const int i = ItemOfRow(g_page, row);
        const SamplePoint at = SampleOrigin(row, IsVertical(design.lf[i]));
        DrawTextItem(dc, design.str_data[i], design.lf[i], {at.x, at.y}, as_stored);
    }
}

void ShowPage(HWND dialog, int page) {
    ReadTextPage(dialog);
    g_page = page;
    FillTextPage(dialog);
}

void SetAllTextColours(HWND dialog) {
    COLORREF colour = kBlack;
    if (!ChooseColour(dialog, kBlack, colour)) return;
    for (StrData& item : Design().str_data) {
        item.r = GetRValue(colour);
        item.g = GetGValue(colour);
        item.b = GetBValue(colour);
    }
}

void SetAllBoxColours(HWND dialog) {
    COLORREF colour = kWhite;
    if (!ChooseColour(dialog, kWhite, colour)) return;
    for (StrData& item : Design().str_data) {
        item.br = GetRValue(colour);
        item.bg = GetGValue(colour);
        item.bb = GetBValue(colour);
    }
}

// The font dialog on the item's font, limited to fonts the current printer can also
// use when the environment asks for it. The dialog edits the font only when confirmed;
// a ticked 縦 box makes it vertical again either way.
void ChooseItemFont(HWND dialog, int row) {
    CardDesign& design = Design();
    const int i = ItemOfRow(g_page, row);
    LOGFONTW font = ToLogFontW(design.lf[i]);
    CHOOSEFONTW& request = g_font_request;
    request.lStructSize = sizeof(request);
    request.hwndOwner = dialog;
    request.lpLogFont = &font;
    request.hDC = nullptr;
    if (design.font_plprn != 0) {
        int index = EnumPrinterTable(dialog);
        if (index == -1) {
            ShowMessage(dialog, L"プリンタが選定が不明ですので先頭プリンタにします",
                        L"enumprinter_pro", MB_OK);
            index = 0;
        }
        CreatedDc printer(CreateDCW(Printers().entries[index].driver, Printers().entries[index].name, nullptr, nullptr));
        request.hDC = printer.Get();
        request.Flags =
            CF_BOTH | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_WYSIWYG | CF_SCALABLEONLY;
        Ui().FontDialog(&request);
    } else {
        request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCALABLEONLY;
        Ui().FontDialog(&request);
    }
    request.hDC = nullptr;
    request.lpLogFont = nullptr;
    design.lf[i] = FromLogFontW(font);
    if (Checked(dialog, IDC_TEXT_VERTICAL + row)) SetVertical(design.lf[i], true);
}

// The row of a control whose id is base + row, or -1.
int RowOf(int id, int base) { return id >= base && id < base + kTextRows ? id - base : -1; }

void OnInit(HWND dialog, TextDialog& state) {
    FillTextPage(dialog);
    std::memcpy(state.backup, Design().str_data, sizeof(state.backup));
}

// Row buttons and check boxes; false when id is none of them.
bool OnRowCommand(HWND dialog, int id) {
    CardDesign& design = Design();
    if (const int row = RowOf(id, IDC_TEXT_FONT); row >= 0) {
        ChooseItemFont(dialog, row);
    } else if (RowOf(id, IDC_TEXT_BOX) >= 0) {
        ReadTextPage(dialog);
    } else if (const int row = RowOf(id, IDC_TEXT_COLOUR); row >= 0) {
        StrData& item = design.str_data[ItemOfRow(g_page, row)];
        PickColour(dialog, item.r, item.g, item.b);
        FillTextPage(dialog);
    } else if (const int row = RowOf(id, IDC_TEXT_BOX_COLOUR); row >= 0) {
        StrData& item = design.str_data[ItemOfRow(g_page, row)];
        PickColour(dialog, item.br, item.bg, item.bb);
        FillTextPage(dialog);
    } else if (const int row = RowOf(id, IDC_TEXT_VERTICAL); row >= 0) {
        SetVertical(design.lf[ItemOfRow(g_page, row)], Checked(dialog, id));
    } else {
        return false;
    }
    return true;
}

void OnCommand(HWND dialog, int id, int code, const TextDialog& state) {
    // Typing is read back once the user pauses: every notification of a string edit
    // restarts the timer.
    if (RowOf(id, IDC_TEXT_STRING) >= 0) {
        SetTimer(dialog, kStringTimer, kStringDelayMs, nullptr);
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_TEXT_PAGE1: ShowPage(dialog, 0); break;
        case IDC_TEXT_PAGE2: ShowPage(dialog, 1); break;
        case IDC_TEXT_PAGE3: ShowPage(dialog, 2); break;
        case IDC_TEXT_REDRAW: ShowPage(dialog, g_page); break;
        case IDC_TEXT_ALL_COLOUR: SetAllTextColours(dialog); break;
        case IDC_TEXT_ALL_BOX_COLOUR: SetAllBoxColours(dialog); break;
        case IDC_TEXT_OK:
            ReadTextPage(dialog);
            EndDialog(dialog, 1);
            return;
        case IDC_TEXT_CANCEL:
            // Fonts and vertical flags live in the font records and are not undone.
            std::memcpy(Design().str_data, state.backup, sizeof(Design().str_data));
            EndDialog(dialog, 1);
            return;
        case IDC_TEXT_HELP: OpenManual(dialog); return;
        default:
            if (!OnRowCommand(dialog, id)) return;
    }
    RepaintDialog(dialog);
}

void OnTimer(HWND dialog, UINT_PTR timer) {
    if (timer != kStringTimer) return;
    ReadTextPage(dialog);
    RepaintDialog(dialog);
    KillTimer(dialog, kStringTimer);
}

void OnPaint(HWND dialog) {
    PaintGuard paint(dialog);
    DrawTextSamples(paint.Get());
}

INT_PTR TextDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, TextDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_COMMAND: OnCommand(dialog, LOWORD(wparam), HIWORD(wparam), state); return TRUE;
        case WM_TIMER: OnTimer(dialog, wparam); return TRUE;
        case WM_PAINT: OnPaint(dialog); return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        case WM_DESTROY: KillTimer(dialog, kStringTimer); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void ShowTextDialog(HWND owner) {
    TextDialog state{};
    RunModalDialog<TextDialog, TextDialogProc>(owner, IDD_TEXT, state);
}
