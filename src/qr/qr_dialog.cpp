#include "qr/qr_dialog.h"

#include <cstdlib>
#include <cwchar>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/no_throw.h"
#include "app/wide.h"
#include "app/win_guards.h"
#include "design/fixed_text.h"
#include "editors/pick_colour.h"
#include "qr/address_dialog.h"
#include "qr/draw_qr.h"
#include "render/win_text.h"
#include "res/qr_dialog_ids.h"

namespace {

struct QrDialog {
    int entry = 0;  // the code being edited, 0..3
};

constexpr const wchar_t* kLevelItems[] = {L"0:7%", L"1:15%", L"2:25%", L"3:30%"};

QrDialog* State(HWND dialog) {
    return reinterpret_cast<QrDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

QrcodeData& Entry(const QrDialog* state) { return Design().qrcode_data[state->entry]; }

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
    if (count < 31) text[count] = L'\0';
    return _wtoi(text);
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

// Draws the entry's symbol at the preview corner and keeps its drawn size in w and h; an
// entry without text is switched off and nothing is drawn.
void PaintQrPreview(HWND dialog, HDC dc, QrcodeData& entry) {
    if (entry.s[0] == u'\0') {
        entry.on = 0;
        return;
    }
    char bytes[288] = {};
    const int length = QrTextToAnsi(entry.s, bytes, sizeof(bytes));
    DrawQr(dialog, dc, entry.Lv, entry.Sell, kQrPreviewLeft, kQrPreviewTop,
           reinterpret_cast<const unsigned char*>(bytes), length, entry.r, entry.g, entry.b,
           entry.br, entry.bg, entry.bb);
    const SIZE drawn = LastQrDrawnSize();
    entry.w = drawn.cx;
    entry.h = drawn.cy;
}

void Repaint(HWND dialog) {
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
}

void OnInit(HWND dialog, QrDialog* state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    SendDlgItemMessageW(dialog, IDC_QR_TEXT, EM_LIMITTEXT, 287, 0);
    SendDlgItemMessageW(dialog, IDC_QR_X, EM_LIMITTEXT, 31, 0);
    SendDlgItemMessageW(dialog, IDC_QR_Y, EM_LIMITTEXT, 31, 0);
    CheckRadioButton(dialog, IDC_QR_ENTRY1, IDC_QR_ENTRY4, IDC_QR_ENTRY1);
    state->entry = 0;
    FillQrForm(dialog, Entry(state));
}

void OnPaint(HWND dialog, QrDialog* state) {
    PaintGuard paint(dialog);
    PaintQrPreview(dialog, paint.Get(), Entry(state));
}

void OnChooseEntry(HWND dialog, QrDialog* state, int entry) {
    ReadQrForm(dialog, Entry(state));
    state->entry = entry;
    FillQrForm(dialog, Entry(state));
    Repaint(dialog);
}

void OnEncode(HWND dialog, QrDialog* state) {
    QrcodeData& entry = Entry(state);
    ReadQrForm(dialog, entry);
    entry.on = entry.s[0] != u'\0' ? 1 : 0;
    CheckDlgButton(dialog, IDC_QR_USE, entry.on ? BST_CHECKED : BST_UNCHECKED);
    Repaint(dialog);
}

void OnAddress(HWND dialog, QrDialog* state) {
    ShowAddressDialog(dialog, Entry(state));
    FillQrForm(dialog, Entry(state));
}

void OnOk(HWND dialog, QrDialog* state) {
    ReadQrForm(dialog, Entry(state));
    {
        // Once more, so that w and h follow the stored text and module size.
        WindowDc dc(dialog);
        PaintQrPreview(dialog, dc.Get(), Entry(state));
    }
    EndDialog(dialog, 1);
}

void OnCommand(HWND dialog, QrDialog* state, int id, int code) {
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
            Repaint(dialog);
            break;
        case IDC_QR_BACK_COLOUR:
            PickColour(dialog, entry.br, entry.bg, entry.bb);
            Repaint(dialog);
            break;
        case IDC_QR_ADDRESS: OnAddress(dialog, state); break;
        case IDC_QR_OK: OnOk(dialog, state); break;
        case IDC_QR_HELP: OpenManual(dialog); break;
        case IDCANCEL: EndDialog(dialog, 1); break;  // Esc, as the close box
        default: break;
    }
}

INT_PTR CALLBACK QrProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWithoutThrowing(TRUE, [&]() -> INT_PTR {
        switch (message) {
            case WM_INITDIALOG: OnInit(dialog, reinterpret_cast<QrDialog*>(lparam)); return TRUE;
            case WM_PAINT: OnPaint(dialog, State(dialog)); return TRUE;
            case WM_COMMAND: OnCommand(dialog, State(dialog), LOWORD(wparam), HIWORD(wparam)); return TRUE;
            case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
            default: return FALSE;
        }
    });
}

}  // namespace

void ShowQrDialog(HWND owner) {
    QrDialog state;
    DialogBoxParamW(App().instance, MAKEINTRESOURCEW(IDD_QR), owner, QrProc,
                    reinterpret_cast<LPARAM>(&state));
}
