#include "editors/environment_dialog.h"

#include <iterator>
#include <string>
#include <string_view>

#include "design/fixed_text.h"
#include "design/tenths.h"
#include "res/environment_dialog_ids.h"
#include "win/documents.h"
#include "win/modal_dialog.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr const wchar_t* kCutSizes[] = {L"0.1", L"0.2", L"0.3", L"0.5", L"0.7", L"1.0"};
constexpr const wchar_t* kCutLengths[] = {L"1.0", L"2.0", L"3.0", L"5.0", L"10.0"};
// The load modes by value 0..4.
constexpr const wchar_t* kLoadModes[] = {L"BMP(API)", L"BMP(OLE)", L"JPG(OLE)", L"B&J(OLE)", L"全画像"};

struct EnvironmentDialog {};

struct Flag {
    int id;
    int CardDesign::*field;
};
constexpr Flag kFlags[] = {
    {IDC_ENV_CARD_OUTLINE, &CardDesign::b_outline},  {IDC_ENV_MARK_OUTLINE, &CardDesign::m_outline},
    {IDC_ENV_TEXT_OUTLINE, &CardDesign::c_outline},  {IDC_ENV_CUT_MARKS, &CardDesign::p_outline},
    {IDC_ENV_PRINTER_FONTS, &CardDesign::font_plprn},
    {IDC_ENV_TRIM_LINES, &CardDesign::trim_lines},
    {IDC_ENV_BACK_ON, &CardDesign::back_on},
};

struct LoadMode {
    int id;
    int CardDesign::*field;
};
constexpr LoadMode kLoadModeBoxes[] = {
    {IDC_ENV_BASE_LOAD, &CardDesign::base_load_mode},
    {IDC_ENV_MARK_LOAD, &CardDesign::mark_load_mode},
    {IDC_ENV_FACE_LOAD, &CardDesign::phot_load_mode},
};

std::wstring WholeControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetTenths(HWND dialog, int id, int tenths) {
    SetDlgItemTextW(dialog, id, W(FormatTenths(tenths).c_str()));
}

int ReadTenths(HWND dialog, int id) { return ParseTenths(U16(WholeControlText(dialog, id))); }

template <std::size_t N>
void FillCombo(HWND dialog, int id, const wchar_t* const (&items)[N]) {
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* item : items) SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

const wchar_t* LoadModeName(int mode) {
    return mode >= 1 && mode < static_cast<int>(std::size(kLoadModes)) ? kLoadModes[mode] : kLoadModes[0];
}

// The load mode whose name the text is, whole; any other text is mode 0.
int LoadModeOf(std::wstring_view text) {
    for (int mode = 0; mode < static_cast<int>(std::size(kLoadModes)); ++mode)
        if (text == kLoadModes[mode]) return mode;
    return 0;
}

void OnInit(HWND dialog) {
    const CardDesign& d = Design();
    for (const Flag& flag : kFlags) CheckDlgButton(dialog, flag.id, d.*flag.field ? BST_CHECKED : BST_UNCHECKED);
    FillCombo(dialog, IDC_ENV_CUT_SIZE, kCutSizes);
    SetTenths(dialog, IDC_ENV_CUT_SIZE, d.p_outline_size);
    FillCombo(dialog, IDC_ENV_CUT_LENGTH, kCutLengths);
    SetTenths(dialog, IDC_ENV_CUT_LENGTH, d.p_outline_len);
    for (const LoadMode& box : kLoadModeBoxes) {
        FillCombo(dialog, box.id, kLoadModes);
        SetDlgItemTextW(dialog, box.id, LoadModeName(d.*box.field));
    }
    SetTenths(dialog, IDC_ENV_CARD_WIDTH, d.pm_size_x);
    SetTenths(dialog, IDC_ENV_CARD_HEIGHT, d.pm_size_y);
    SendDlgItemMessageW(dialog, IDC_ENV_PAINT_PROGRAM, EM_LIMITTEXT, std::size(d.oekaki_filename) - 1, 0);
    SetDlgItemTextW(dialog, IDC_ENV_PAINT_PROGRAM, W(d.oekaki_filename));
}

void ReadForm(HWND dialog) {
    CardDesign& d = Design();
    const bool had_back = d.back_on != 0;
    for (const Flag& flag : kFlags) d.*flag.field = IsDlgButtonChecked(dialog, flag.id) != BST_UNCHECKED ? 1 : 0;
    // A back switched on for the first time starts as the front's paper, and is printed
    // behind the fronts unless the layout says otherwise. (The back is never shown while
    // it is off, so the front is the record's own card here.)
    if (d.back_on && !had_back) {
        StartBack(d);
        if (d.duplex == kDuplexNone) d.duplex = kDuplexLongEdge;
    }
    d.p_outline_size = ReadTenths(dialog, IDC_ENV_CUT_SIZE);
    d.p_outline_len = ReadTenths(dialog, IDC_ENV_CUT_LENGTH);
    for (const LoadMode& box : kLoadModeBoxes) d.*box.field = LoadModeOf(WholeControlText(dialog, box.id));
    d.pm_size_x = ReadTenths(dialog, IDC_ENV_CARD_WIDTH);
    d.pm_size_y = ReadTenths(dialog, IDC_ENV_CARD_HEIGHT);
    // A program's name is never cut into another name: one that does not fit is refused.
    const std::wstring program = WholeControlText(dialog, IDC_ENV_PAINT_PROGRAM);
    if (program.size() < std::size(d.oekaki_filename)) SetText(d.oekaki_filename, U16(program));
}

void Accept(HWND dialog) {
    if (ShowMessage(dialog, L"これに変更して良いですか？", L"環境設定画面！", MB_YESNO) != IDYES) return;
    ReadForm(dialog);
    EndDialog(dialog, 1);
}

// Escape (the standard cancel id) leaves as キャンセル does.
BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
        case IDC_ENV_OK: Accept(dialog); return TRUE;
        case IDC_ENV_CANCEL:
        case IDCANCEL: EndDialog(dialog, 1); return TRUE;
        case IDC_ENV_HELP: OpenManual(dialog); return TRUE;
        default: return FALSE;
    }
}

INT_PTR EnvironmentProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, EnvironmentDialog&) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam));
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void ShowEnvironmentDialog(HWND owner) {
    EnvironmentDialog state;
    RunModalDialog<EnvironmentDialog, EnvironmentProc>(owner, IDD_ENVIRONMENT, state);
}
