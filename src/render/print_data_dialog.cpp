#include "render/print_data_dialog.h"

#include <iterator>

#include "res/print_data_dialog_ids.h"
#include "win/documents.h"
#include "win/modal_dialog.h"

namespace {

constexpr const wchar_t* kResolutionNames[] = {L"350 dpi", L"600 dpi", L"1200 dpi"};
constexpr const wchar_t* kBleedNames[] = {L"0 mm", L"3 mm"};
static_assert(std::size(kResolutionNames) == std::size(kPrintDataResolutions));
static_assert(std::size(kBleedNames) == std::size(kPrintDataBleeds));

struct PrintDataDialog {
    PrintDataOptions chosen;
};

template <std::size_t N>
void FillList(HWND dialog, int id, const wchar_t* const (&items)[N]) {
    for (const wchar_t* item : items) SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

template <std::size_t N>
void SelectValue(HWND dialog, int id, const int (&values)[N], int value) {
    for (std::size_t i = 0; i < N; ++i)
        if (values[i] == value) SendDlgItemMessageW(dialog, id, CB_SETCURSEL, i, 0);
}

template <std::size_t N>
int SelectedValue(HWND dialog, int id, const int (&values)[N], int fallback) {
    const LRESULT i = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return i >= 0 && static_cast<std::size_t>(i) < N ? values[i] : fallback;
}

bool PdfChosen(HWND dialog) { return IsDlgButtonChecked(dialog, IDC_PRINT_DATA_PNG) != BST_CHECKED; }

// Trim marks belong to the PDF page; a PNG is the picture alone.
void FollowFormat(HWND dialog) { EnableWindow(GetDlgItem(dialog, IDC_PRINT_DATA_TRIM_MARKS), PdfChosen(dialog)); }

void OnInit(HWND dialog, const PrintDataDialog& state) {
    const PrintDataOptions& o = state.chosen;
    const bool pdf = o.format == PrintDataFormat::kPdf;
    CheckRadioButton(dialog, IDC_PRINT_DATA_PDF, IDC_PRINT_DATA_PNG, pdf ? IDC_PRINT_DATA_PDF : IDC_PRINT_DATA_PNG);
    FillList(dialog, IDC_PRINT_DATA_DPI, kResolutionNames);
    SelectValue(dialog, IDC_PRINT_DATA_DPI, kPrintDataResolutions, o.dpi);
    FillList(dialog, IDC_PRINT_DATA_BLEED, kBleedNames);
    SelectValue(dialog, IDC_PRINT_DATA_BLEED, kPrintDataBleeds, o.bleed_tenths);
    CheckDlgButton(dialog, IDC_PRINT_DATA_TRIM_MARKS, o.trim_marks ? BST_CHECKED : BST_UNCHECKED);
    FollowFormat(dialog);
}

void Accept(HWND dialog, PrintDataDialog& state) {
    PrintDataOptions& o = state.chosen;
    o.format = PdfChosen(dialog) ? PrintDataFormat::kPdf : PrintDataFormat::kPng;
    o.dpi = SelectedValue(dialog, IDC_PRINT_DATA_DPI, kPrintDataResolutions, o.dpi);
    o.bleed_tenths = SelectedValue(dialog, IDC_PRINT_DATA_BLEED, kPrintDataBleeds, o.bleed_tenths);
    o.trim_marks = IsDlgButtonChecked(dialog, IDC_PRINT_DATA_TRIM_MARKS) == BST_CHECKED;
    EndDialog(dialog, IDOK);
}

BOOL OnCommand(HWND dialog, int id, PrintDataDialog& state) {
    switch (id) {
        case IDOK: Accept(dialog, state); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case IDC_PRINT_DATA_HELP: OpenManual(dialog); return TRUE;
        case IDC_PRINT_DATA_PDF:
        case IDC_PRINT_DATA_PNG: FollowFormat(dialog); return TRUE;
        default: return FALSE;
    }
}

INT_PTR PrintDataProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, PrintDataDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), state);
        case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

bool ShowPrintDataDialog(HWND owner, PrintDataOptions& options) {
    PrintDataDialog state;
    if (RunModalDialog<PrintDataDialog, PrintDataProc>(owner, IDD_PRINT_DATA, state) != IDOK) return false;
    options = state.chosen;
    return true;
}
