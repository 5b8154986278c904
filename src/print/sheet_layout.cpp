#include "print/sheet_layout.h"

#include <string>
#include <utility>

#include "design/design_ranges.h"
#include "design/tenths.h"
#include "print/printer.h"
#include "print/sheet_math.h"
#include "render/picture_loading.h"
#include "res/sheet_layout_ids.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/picture_stretch.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kPaperPicture[] = L"pp.gdt";
constexpr wchar_t kCardPicture[] = L"ms.gdt";
constexpr wchar_t kPictureMissing[] = L"画像が読み込み出来ません。";

// The form is read again this long after the last change to a layout control, so the
// picture follows the typing without redrawing on every key.
constexpr UINT_PTR kReadTimer = 1;
constexpr UINT kReadDelayMs = 300;

// The six length edits, the design fields they show, in 0.1 mm, and their ranges.
struct LengthControl {
    int id;
    int CardDesign::*field;
    int (*limit)(int tenths);
};
constexpr LengthControl kLengthControls[] = {
    {IDC_LAYOUT_CARD_WIDTH, &CardDesign::base_pw, LimitSheetSize},
    {IDC_LAYOUT_CARD_HEIGHT, &CardDesign::base_ph, LimitSheetSize},
    {IDC_LAYOUT_ORIGIN_X, &CardDesign::base_px, LimitSheetOffset},
    {IDC_LAYOUT_ORIGIN_Y, &CardDesign::base_py, LimitSheetOffset},
    {IDC_LAYOUT_GAP_X, &CardDesign::base_spx, LimitSheetOffset},
    {IDC_LAYOUT_GAP_Y, &CardDesign::base_spy, LimitSheetOffset},
};

// The eight layout fields as the dialog found them, put back by cancel.
struct LayoutFields {
    int pw, ph, cntx, cnty, px, py, spx, spy;
};

LayoutFields TakeLayout(const CardDesign& d) {
    return {d.base_pw, d.base_ph, d.base_cntx, d.base_cnty, d.base_px, d.base_py, d.base_spx, d.base_spy};
}

void PutLayout(CardDesign& d, const LayoutFields& f) {
    d.base_pw = f.pw;
    d.base_ph = f.ph;
    d.base_cntx = f.cntx;
    d.base_cnty = f.cnty;
    d.base_px = f.px;
    d.base_py = f.py;
    d.base_spx = f.spx;
    d.base_spy = f.spy;
}

struct LayoutDialog {
    LayoutFields on_open{};
    LayoutChoice choice;
    PaintReport shown;  // failures of the sheet picture already shown
};

std::u16string FormText(HWND dialog, int id) {
    wchar_t text[kFormTextLength + 1] = {};
    GetDlgItemTextW(dialog, id, text, kFormTextLength + 1);
    return std::u16string(U16(text));
}

void ShowText(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }

void FillCountCombo(HWND dialog, int id, int count) {
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (int i = 1; i <= 10; ++i) {
        const std::wstring item = std::to_wstring(i);
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    ShowText(dialog, id, std::to_wstring(count));
}

SheetPaper PaperOf(const PrinterMetrics& m) {
    return {m.paper_width, m.paper_height, m.printable_width, m.printable_height,
            m.printable_width_px, m.printable_height_px};
}

// A length in 0.1 mm as whole millimetres, as the paper line shows it.
std::wstring Millimetres(int tenths) { return std::to_wstring(tenths / 10) + L"mm"; }

Picture LoadSheetPicture(const wchar_t* name) { return Picture(LoadPicture(name));
}

DeviceRect ToDevice(const PreviewRect& r) { return {r.left, r.top, r.width, r.height}; }

// Stretches the whole picture over the rectangle; false (noted) when no memory device
// context can be made.
bool StretchSheetPicture(HDC dc, Picture& picture, const PreviewRect& r, PaintReport& report) {
    const PaintPicture paint = picture.Paint();
    if (StretchPicture(dc, paint, ToDevice(r), WholePicture(paint))) return true;
    report.Add(kMemoryDcFailed, kMemoryDcCaption);
    return false;
}

void FramePrintableArea(HDC dc, const PreviewRect& r) {
    PenHandle pen(CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80)));
    SelectGuard select(dc, pen.Get());
    const POINT outline[] = {{r.left, r.top},
                             {r.left + r.width, r.top},
                             {r.left + r.width, r.top + r.height},
                             {r.left, r.top + r.height},
                             {r.left, r.top}};
    Polyline(dc, outline, 5);
}

// Every card of the grid, row by row, never more than the dialog's counts allow. The card
// picture is read at the first card, so an empty grid needs none.
bool DrawCards(HDC dc, int c, PaintReport& report) {
    const CardDesign& d = Design();
    Picture card;
    for (int r = 0; r < LimitSheetCount(d.base_cnty); ++r) {
        for (int k = 0; k < LimitSheetCount(d.base_cntx); ++k) {
            if (!card) card = LoadSheetPicture(kCardPicture);
            if (!card) {
                report.Add(kPictureMissing, L"ImageLoad");
                return false;
            }
            if (!StretchSheetPicture(dc, card, CardPicture(d, k, r, c), report)) return false;
        }
    }
    return true;
}

// Writes the printer name, the paper size, the copy count and the eight layout fields of
// the design into the dialog's controls (lengths as "%d.%d" millimetres).
void FillLayoutForm(HWND dialog, int copies) {
    const PrinterMetrics& m = Metrics();
    ShowText(dialog, IDC_LAYOUT_PRINTER, std::wstring(L"プリンタ名：") + CurrentPrinterName());
    ShowText(dialog, IDC_LAYOUT_PAPER,
             L"用紙サイズ　" + Millimetres(m.paper_width) + L"×" + Millimetres(m.paper_height) + L" (" +
                 Millimetres(m.printable_width) + L"×" + Millimetres(m.printable_height) + L")");
    ShowText(dialog, IDC_LAYOUT_COPIES, std::to_wstring(copies));
    const CardDesign& d = Design();
    for (const LengthControl& length : kLengthControls)
        SetDlgItemTextW(dialog, length.id, W(FormatTenths(d.*length.field).c_str()));
    FillCountCombo(dialog, IDC_LAYOUT_COUNT_X, d.base_cntx);
    FillCountCombo(dialog, IDC_LAYOUT_COUNT_Y, d.base_cnty);
}

// Reads the controls back into the layout fields of the design (lengths truncated to
// 0.1 mm), each kept within its range, and returns the copy count, kept within 1..99.
// A count typed beyond its range is shown as the count that will be printed.
int ReadLayoutForm(HWND dialog) {
    CardDesign& d = Design();
    for (const LengthControl& length : kLengthControls)
        d.*length.field = length.limit(ReadTenths(FormText(dialog, length.id)));
    for (const auto& [id, field] : {std::pair{IDC_LAYOUT_COUNT_X, &CardDesign::base_cntx},
                                    std::pair{IDC_LAYOUT_COUNT_Y, &CardDesign::base_cnty}}) {
        const int typed = ReadWholeNumber(FormText(dialog, id));
        d.*field = LimitSheetCount(typed);
        if (d.*field != typed) ShowText(dialog, id, std::to_wstring(d.*field));
    }
    return LimitCopies(ReadWholeNumber(FormText(dialog, IDC_LAYOUT_COPIES)));
}

void ReadAndRedraw(HWND dialog, LayoutDialog& state) {
    state.choice.copies = ReadLayoutForm(dialog);
    RepaintDialog(dialog);
}

void OnInit(HWND dialog, LayoutDialog& state) {
    state.choice = LayoutChoice{};
    FillLayoutForm(dialog, state.choice.copies);
    state.on_open = TakeLayout(Design());
}

// A sheet that cannot be drawn ends the dialog without printing, once its paint is over.
void OnPaint(HWND dialog, LayoutDialog& state) {
    PaintReport failures;
    bool drawn;
    {
        PaintGuard paint(dialog);
        drawn = DrawSheetPreview(paint.Get(), failures);
    }
    ShowNewFailures(dialog, failures, state.shown);
    if (!drawn) EndDialog(dialog, 1);
}

void OnTimer(HWND dialog, UINT_PTR timer, LayoutDialog& state) {
    if (timer != kReadTimer) return;
    KillTimer(dialog, kReadTimer);
    ReadAndRedraw(dialog, state);
}

void StepCopyCount(HWND dialog, int step, LayoutDialog& state) {
    state.choice.copies = StepCopies(FormText(dialog, IDC_LAYOUT_COPIES), step);
    FillLayoutForm(dialog, state.choice.copies);
}

void Print(HWND dialog, LayoutDialog& state) {
    KillTimer(dialog, kReadTimer);
    state.choice.copies = ReadLayoutForm(dialog);
    state.choice.print = true;
    EndDialog(dialog, 1);
}

void Cancel(HWND dialog, LayoutDialog& state) {
    KillTimer(dialog, kReadTimer);  // no late read over the restored fields
    PutLayout(Design(), state.on_open);
    state.choice.print = false;
    EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, int id, LayoutDialog& state) {
    switch (id) {
        case IDC_LAYOUT_COUNT_X:
        case IDC_LAYOUT_COUNT_Y:
        case IDC_LAYOUT_ORIGIN_X:
        case IDC_LAYOUT_ORIGIN_Y:
        case IDC_LAYOUT_GAP_X:
        case IDC_LAYOUT_GAP_Y:
        case IDC_LAYOUT_CARD_WIDTH:
        case IDC_LAYOUT_CARD_HEIGHT: SetTimer(dialog, kReadTimer, kReadDelayMs, nullptr); return TRUE;
        case IDC_LAYOUT_PLUS: StepCopyCount(dialog, +1, state); return TRUE;
        case IDC_LAYOUT_MINUS: StepCopyCount(dialog, -1, state); return TRUE;
        case IDC_LAYOUT_PREVIEW: ReadAndRedraw(dialog, state); return TRUE;
        case IDC_LAYOUT_PRINT: Print(dialog, state); return TRUE;
        case IDC_LAYOUT_CANCEL:
        case IDCANCEL: Cancel(dialog, state); return TRUE;
        case IDC_LAYOUT_HELP: OpenManual(dialog); return TRUE;
        default: return FALSE;
    }
}

INT_PTR LayoutProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, LayoutDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_PAINT: OnPaint(dialog, state); return TRUE;
        case WM_TIMER: OnTimer(dialog, wparam, state); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), state);
        case WM_CLOSE: Cancel(dialog, state); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

bool DrawSheetPreview(HDC dc, PaintReport& report) {
    EnterStartFolder();
    Picture paper = LoadSheetPicture(kPaperPicture);
    if (!paper) {
        report.Add(kPictureMissing, L"ImageLoadTEXT(");
        return false;
    }
    const SheetPaper sheet = PaperOf(Metrics());
    const int c = PreviewScale(sheet);
    StretchModeGuard halftone(dc, HALFTONE);
    const bool drawn = StretchSheetPicture(dc, paper, PaperPicture(sheet, c), report);
    FramePrintableArea(dc, PrintableFrame(sheet, c));
    return drawn && DrawCards(dc, c, report);
}

LayoutChoice ShowLayoutDialog(HWND owner) {
    LayoutDialog state;
    RunModalDialog<LayoutDialog, LayoutProc>(owner, IDD_SHEET_LAYOUT, state);
    return state.choice;
}
