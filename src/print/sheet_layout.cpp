#include "print/sheet_layout.h"

#include <string>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/no_throw.h"
#include "app/ui_seam.h"
#include "app/wide.h"
#include "app/win_guards.h"
#include "design/tenths.h"
#include "print/printer.h"
#include "print/sheet_math.h"
#include "res/sheet_layout_ids.h"

namespace {

int g_copy_count = 1;
int g_print_flag = 0;

constexpr wchar_t kPaperPicture[] = L"pp.gdt";
constexpr wchar_t kCardPicture[] = L"ms.gdt";
constexpr wchar_t kPictureMissing[] = L"画像が読み込み出来ません。";

// The form is read again this long after the last change to a layout control, so the
// picture follows the typing without redrawing on every key.
constexpr UINT_PTR kReadTimer = 1;
constexpr UINT kReadDelayMs = 300;

// The six length edits and the design fields they show, in 0.1 mm.
struct LengthControl {
    int id;
    int CardDesign::*field;
};
constexpr LengthControl kLengthControls[] = {
    {IDC_LAYOUT_CARD_WIDTH, &CardDesign::base_pw}, {IDC_LAYOUT_CARD_HEIGHT, &CardDesign::base_ph},
    {IDC_LAYOUT_ORIGIN_X, &CardDesign::base_px},   {IDC_LAYOUT_ORIGIN_Y, &CardDesign::base_py},
    {IDC_LAYOUT_GAP_X, &CardDesign::base_spx},     {IDC_LAYOUT_GAP_Y, &CardDesign::base_spy},
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
};

LayoutDialog* State(HWND dialog) {
    return reinterpret_cast<LayoutDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

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

HBITMAP LoadSheetPicture(const wchar_t* name) {
    return static_cast<HBITMAP>(LoadImageW(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// Stretches the whole picture over the rectangle; false (reported) when no memory device
// context can be made.
bool StretchPicture(HWND dialog, HDC dc, HBITMAP picture, const PreviewRect& r) {
    MemoryDc memory(dc);
    if (!memory) {
        ShowMessage(dialog, L"失敗しました。", L"CreateCompatibleDC");
        return false;
    }
    BITMAP size{};
    GetObjectW(picture, sizeof(size), &size);
    SelectGuard select(memory.Get(), picture);
    StretchBlt(dc, r.left, r.top, r.width, r.height, memory.Get(), 0, 0, size.bmWidth, size.bmHeight,
               SRCCOPY);
    return true;
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

// Every card of the grid, row by row. The card picture is read at the first card, so an
// empty grid needs none.
bool DrawCards(HWND dialog, HDC dc, int c) {
    const CardDesign& d = Design();
    BitmapHandle card;
    for (int r = 0; r < d.base_cnty; ++r) {
        for (int k = 0; k < d.base_cntx; ++k) {
            if (!card) card.Reset(LoadSheetPicture(kCardPicture));
            if (!card) {
                ShowMessage(dialog, kPictureMissing, L"ImageLoad");
                return false;
            }
            if (!StretchPicture(dialog, dc, card.Get(), CardPicture(d, k, r, c))) return false;
        }
    }
    return true;
}

// Keeps a device context's stretch mode for the length of a drawing.
class HalftoneGuard {
public:
    explicit HalftoneGuard(HDC dc) : dc_(dc), previous_(SetStretchBltMode(dc, HALFTONE)) {
        SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE needs the brush origin reset
    }
    VIVI_NO_COPY(HalftoneGuard);
    ~HalftoneGuard() {
        if (previous_) SetStretchBltMode(dc_, previous_);
    }

private:
    HDC dc_;
    int previous_;
};

void ReadAndRedraw(HWND dialog) {
    ReadLayoutForm(dialog);
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
}

void OnInit(HWND dialog, LayoutDialog* state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    g_copy_count = 1;
    g_print_flag = 0;
    FillLayoutForm(dialog);
    state->on_open = TakeLayout(Design());
}

void OnPaint(HWND dialog) {
    bool drawn;
    {
        PaintGuard paint(dialog);
        drawn = DrawSheetPreview(dialog, paint.Get());
    }
    if (!drawn) EndDialog(dialog, 1);  // nothing to show: the dialog ends without printing
}

void OnTimer(HWND dialog, UINT_PTR timer) {
    if (timer != kReadTimer) return;
    KillTimer(dialog, kReadTimer);
    ReadAndRedraw(dialog);
}

void StepCopyCount(HWND dialog, int step) {
    g_copy_count = StepCopies(FormText(dialog, IDC_LAYOUT_COPIES), step);
    FillLayoutForm(dialog);
}

void Print(HWND dialog) {
    KillTimer(dialog, kReadTimer);
    ReadLayoutForm(dialog);
    g_print_flag = 1;
    EndDialog(dialog, 1);
}

void Cancel(HWND dialog, const LayoutDialog* state) {
    KillTimer(dialog, kReadTimer);  // no late read over the restored fields
    if (state) PutLayout(Design(), state->on_open);
    g_print_flag = 0;
    EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
        case IDC_LAYOUT_COUNT_X:
        case IDC_LAYOUT_COUNT_Y:
        case IDC_LAYOUT_ORIGIN_X:
        case IDC_LAYOUT_ORIGIN_Y:
        case IDC_LAYOUT_GAP_X:
        case IDC_LAYOUT_GAP_Y:
        case IDC_LAYOUT_CARD_WIDTH:
        case IDC_LAYOUT_CARD_HEIGHT: SetTimer(dialog, kReadTimer, kReadDelayMs, nullptr); return TRUE;
        case IDC_LAYOUT_PLUS: StepCopyCount(dialog, +1); return TRUE;
        case IDC_LAYOUT_MINUS: StepCopyCount(dialog, -1); return TRUE;
        case IDC_LAYOUT_PREVIEW: ReadAndRedraw(dialog); return TRUE;
        case IDC_LAYOUT_PRINT: Print(dialog); return TRUE;
        case IDC_LAYOUT_CANCEL:
        case IDCANCEL: Cancel(dialog, State(dialog)); return TRUE;
        case IDC_LAYOUT_HELP: OpenManual(dialog); return TRUE;
        default: return FALSE;
    }
}

INT_PTR CALLBACK LayoutProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWithoutThrowing(TRUE, [&]() -> INT_PTR {
        switch (message) {
            case WM_INITDIALOG: OnInit(dialog, reinterpret_cast<LayoutDialog*>(lparam)); return TRUE;
            case WM_PAINT: OnPaint(dialog); return TRUE;
            case WM_TIMER: OnTimer(dialog, wparam); return TRUE;
            case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam));
            case WM_CLOSE: Cancel(dialog, State(dialog)); return TRUE;
            default: return FALSE;
        }
    });
}

}  // namespace

int& CopyCount() { return g_copy_count; }
int& PrintFlag() { return g_print_flag; }

void FillLayoutForm(HWND dialog) {
    const PrinterMetrics& m = Metrics();
    ShowText(dialog, IDC_LAYOUT_PRINTER, std::wstring(L"プリンタ名：") + CurrentPrinterName());
    ShowText(dialog, IDC_LAYOUT_PAPER,
            L"用紙サイズ　" + Millimetres(m.paper_width) + L"×" + Millimetres(m.paper_height) + L" (" +
                Millimetres(m.printable_width) + L"×" + Millimetres(m.printable_height) + L")");
    ShowText(dialog, IDC_LAYOUT_COPIES, std::to_wstring(g_copy_count));
    const CardDesign& d = Design();
    for (const LengthControl& length : kLengthControls)
        SetDlgItemTextW(dialog, length.id, W(FormatTenths(d.*length.field).c_str()));
    FillCountCombo(dialog, IDC_LAYOUT_COUNT_X, d.base_cntx);
    FillCountCombo(dialog, IDC_LAYOUT_COUNT_Y, d.base_cnty);
}

void ReadLayoutForm(HWND dialog) {
    g_copy_count = LimitCopies(ReadWholeNumber(FormText(dialog, IDC_LAYOUT_COPIES)));
    CardDesign& d = Design();
    for (const LengthControl& length : kLengthControls)
        d.*length.field = ReadTenths(FormText(dialog, length.id));
    d.base_cntx = ReadWholeNumber(FormText(dialog, IDC_LAYOUT_COUNT_X));
    d.base_cnty = ReadWholeNumber(FormText(dialog, IDC_LAYOUT_COUNT_Y));
}

bool DrawSheetPreview(HWND dialog, HDC dc) {
    EnterStartFolder();
    BitmapHandle paper(LoadSheetPicture(kPaperPicture));
    if (!paper) {
        ShowMessage(dialog, kPictureMissing, L"ImageLoadTEXT(");
        return false;
    }
    const SheetPaper sheet = PaperOf(Metrics());
    const int c = PreviewScale(sheet);
    HalftoneGuard halftone(dc);
    const bool drawn = StretchPicture(dialog, dc, paper.Get(), PaperPicture(sheet, c));
    FramePrintableArea(dc, PrintableFrame(sheet, c));
    return drawn && DrawCards(dialog, dc, c);
}

void ShowLayoutDialog(HWND owner) {
    LayoutDialog state;
    DialogBoxParamW(App().instance, MAKEINTRESOURCEW(IDD_SHEET_LAYOUT), owner, LayoutProc,
                    reinterpret_cast<LPARAM>(&state));
}
