#include "qr/qr_dialog.h"

#include <cstring>
#include <cwchar>

#include "design/fixed_text.h"
#include "design/numbers.h"
#include "qr/address_dialog.h"
#include "qr/draw_qr.h"
#include "render/card_mapping.h"
#include "res/qr_dialog_ids.h"
#include "win/colour.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/paint_report.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

struct QrDialog {
    int entry = 0;  // the code being edited, 0..3
    // What the preview could not draw, shown once for each state of the entry.
    PaintReport shown;
    QrcodeData shown_for{};
};

constexpr const wchar_t* kLevelItems[] = {L"0:7%", L"1:15%", L"2:25%", L"3:30%"};

QrcodeData& Entry(const QrDialog& state) { return Design().qrcode_data[state.entry]; }

void SetCellText(HWND dialog, int cell) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%02d×%02d", cell, cell);
    SetDlgItemTextW(dialog, IDC_QR_CELL, text);
}

void FillQrForm(HWND dialog, const QrcodeData& entry) {
    CheckDlgButton(dialog, IDC_QR_USE, BST_UNCHECKED);
    if (entry.on) CheckDlgButton(dialog, IDC_QR_USE, BST_CHECKED);
    SetDlgItemTextW(dialog, IDC_QR_TEXT, W(entry.s));
    SetDlgItemInt(dialog, IDC_QR_X, static_cast<UINT>(entry.x), TRUE);
    SetDlgItemInt(dialog, IDC_QR_Y, static_cast<UINT>(entry.y), TRUE);

    SendDlgItemMessageW(dialog, IDC_QR_LEVEL, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* item : kLevelItems)
        SendDlgItemMessageW(dialog, IDC_QR_LEVEL, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    const bool known_level = entry.Lv >= 1 && entry.Lv <= 3;
    SetDlgItemTextW(dialog, IDC_QR_LEVEL, kLevelItems[known_level ? entry.Lv : 0]);

    SendDlgItemMessageW(dialog, IDC_QR_CELL, CB_RESETCONTENT, 0, 0);
    for (int cell = 1; cell <= 9; ++cell) {
        wchar_t item[16];
        std::swprintf(item, 16, L"%02d×%02d", cell, cell);
        SendDlgItemMessageW(dialog, IDC_QR_CELL, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SetCellText(dialog, entry.Sell == 0 ? 3 : entry.Sell);
}

// The leading count characters of a control's text read as a number (0 when none).
int LeadingNumber(HWND dialog, int id, int count) {
    wchar_t text[32] = {};
    GetDlgItemTextW(dialog, id, text, 32);
    return ParseWholeNumber(U16(text).substr(0, count));
}

void ReadQrForm(HWND dialog, QrcodeData& entry) {
    entry.on = IsDlgButtonChecked(dialog, IDC_QR_USE) == BST_CHECKED ? 1 : 0;
    wchar_t text[288] = {};
    GetDlgItemTextW(dialog, IDC_QR_TEXT, text, 288);
    SetText(entry.s, U16(text));
    entry.x = LeadingNumber(dialog, IDC_QR_X, 31);
    entry.y = LeadingNumber(dialog, IDC_QR_Y, 31);
    entry.Lv = LeadingNumber(dialog, IDC_QR_LEVEL, 1);
    entry.Sell = LeadingNumber(dialog, IDC_QR_CELL, 2);
}

// Draws the entry's symbol at the preview corner as the card draws it and keeps its drawn
// size in w and h; an entry without text is switched off and nothing is drawn.
void PaintQrPreview(HDC dc, QrcodeData& entry, PaintReport& report) {
    if (entry.s[0] == u'\0') {
        entry.on = 0;
        return;
    }
    const CardMapping screen = PreviewMapping(Design());
    const int side = DrawQrItem(dc, entry, {kQrPreviewLeft, kQrPreviewTop}, MapModuleSize(screen, entry.Sell), report);
    if (side == 0) return;
    entry.w = side;
    entry.h = side;
}

// Shows what the preview could not draw, once for each state of the entry.
void ShowPreviewFailures(HWND dialog, QrDialog& state, const PaintReport& failures) {
    if (failures.Empty()) return;
    const QrcodeData& entry = Entry(state);
    if (std::memcmp(&entry, &state.shown_for, sizeof(entry)) != 0) {
        state.shown.Clear();
        state.shown_for = entry;
    }
    ShowNewFailures(dialog, failures, state.shown);
}

void OnInit(HWND dialog, QrDialog& state) {
    SendDlgItemMessageW(dialog, IDC_QR_TEXT, EM_LIMITTEXT, 287, 0);
    SendDlgItemMessageW(dialog, IDC_QR_X, EM_LIMITTEXT, 31, 0);
    SendDlgItemMessageW(dialog, IDC_QR_Y, EM_LIMITTEXT, 31, 0);
    CheckRadioButton(dialog, IDC_QR_ENTRY1, IDC_QR_ENTRY4, IDC_QR_ENTRY1);
    state.entry = 0;
    FillQrForm(dialog, Entry(state));
}

void OnPaint(HWND dialog, QrDialog& state) {
    PaintReport failures;
    {
        PaintGuard paint(dialog);
        PaintQrPreview(paint.Get(), Entry(state), failures);
    }
    ShowPreviewFailures(dialog, state, failures);
}

void OnChooseEntry(HWND dialog, QrDialog& state, int entry) {
    ReadQrForm(dialog, Entry(state));
    state.entry = entry;
    FillQrForm(dialog, Entry(state));
    RepaintDialog(dialog);
}

void OnEncode(HWND dialog, QrDialog& state) {
    QrcodeData& entry = Entry(state);
    ReadQrForm(dialog, entry);
    entry.on = entry.s[0] != u'\0' ? 1 : 0;
    CheckDlgButton(dialog, IDC_QR_USE, entry.on ? BST_CHECKED : BST_UNCHECKED);
    RepaintDialog(dialog);
}

void OnAddress(HWND dialog, QrDialog& state) {
    ShowAddressDialog(dialog, Entry(state));
    FillQrForm(dialog, Entry(state));
}

void OnOk(HWND dialog, QrDialog& state) {
    ReadQrForm(dialog, Entry(state));
    PaintReport failures;
    {
        // Once more, so that w and h follow the stored text and module size.
        WindowDc dc(dialog);
        PaintQrPreview(dc.Get(), Entry(state), failures);
    }
    ShowPreviewFailures(dialog, state, failures);
    EndDialog(dialog, 1);
}

void OnCommand(HWND dialog, QrDialog& state, int id, int code) {
    if (code != BN_CLICKED) return;
    QrcodeData& entry = Entry(state);
    switch (id) {
        case IDC_QR_ENTRY1:
        case IDC_QR_ENTRY2:
        case IDC_QR_ENTRY3:
        case IDC_QR_ENTRY4: OnChooseEntry(dialog, state, id - IDC_QR_ENTRY1); break;
        case IDC_QR_ENCODE: OnEncode(dialog, state); break;
        case IDC_QR_CODE_COLOUR:
            PickColour(dialog, entry.r, entry.g, entry.b);
            RepaintDialog(dialog);
            break;
        case IDC_QR_BACK_COLOUR:
            PickColour(dialog, entry.br, entry.bg, entry.bb);
            RepaintDialog(dialog);
            break;
        case IDC_QR_ADDRESS: OnAddress(dialog, state); break;
        case IDC_QR_OK: OnOk(dialog, state); break;
        case IDC_QR_HELP: OpenManual(dialog); break;
        case IDCANCEL: EndDialog(dialog, 1); break;  // Esc, as the close box
        default: break;
    }
}

INT_PTR QrProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, QrDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_PAINT: OnPaint(dialog, state); return TRUE;
        case WM_COMMAND: OnCommand(dialog, state, LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void ShowQrDialog(HWND owner) {
    QrDialog state;
    RunModalDialog<QrDialog, QrProc>(owner, IDD_QR, state);
}
