#include "print/sheet_layout.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "design/design_ranges.h"
#include "design/fixed_text.h"
#include "design/tenths.h"
#include "print/calibration_page.h"
#include "print/printer.h"
#include "print/printer_memory.h"
#include "print/sheet_math.h"
#include "print/sheet_presets.h"
#include "print/sheet_presets_file.h"
#include "print/sheet_register.h"
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

// The correction edits: front, then back, each across and down.
struct CorrectionControl {
    int id;
    SheetCorrection* side;
    int SheetCorrection::*axis;
};

// The combo's entries: kFreeLayoutName, the two A4 stocks, then the saved presets.
constexpr int kFreeLayout = 0;
constexpr int kA4Ten = 1;
constexpr int kA4TenCentred = 2;
constexpr int kFirstSaved = 3;

// The entries of the 両面 list, in the order of the duplex values.
constexpr const wchar_t* kDuplexNames[] = {L"しない", L"長辺とじ", L"短辺とじ"};

struct LayoutDialog {
    SheetGrid on_open{};  // the eight layout fields as the dialog found them, put back by cancel
    std::u16string preset_on_open;
    LayoutChoice choice;
    PaintReport shown;  // failures of the sheet picture already shown
    std::vector<SheetPreset> saved;
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

// The grid of preset entry `entry` (kA4Ten ... saved presets); the centred stock on the
// current printer's paper.
SheetGrid PresetGrid(int entry, const LayoutDialog& state) {
    if (entry == kA4Ten) return kA4TenGrid;
    if (entry == kA4TenCentred) {
        const PrinterMetrics& m = Metrics();
        return CentredA4Ten(PaperTenths(m.physical_width, m.dpi_x), PaperTenths(m.physical_height, m.dpi_y));
    }
    return state.saved[static_cast<std::size_t>(entry - kFirstSaved)].grid;
}

std::u16string PresetEntryName(int entry, const LayoutDialog& state) {
    switch (entry) {
        case kFreeLayout: return kFreeLayoutName;
        case kA4Ten: return kA4TenName;
        case kA4TenCentred: return kA4TenCentredName;
        default: return state.saved[static_cast<std::size_t>(entry - kFirstSaved)].name;
    }
}

int PresetEntryCount(const LayoutDialog& state) { return kFirstSaved + static_cast<int>(state.saved.size()); }

int ShownPreset(HWND dialog) {
    const LRESULT entry = SendDlgItemMessageW(dialog, IDC_LAYOUT_PRESET, CB_GETCURSEL, 0, 0);
    return entry == CB_ERR ? kFreeLayout : static_cast<int>(entry);
}

// Shows entry in the combo and keeps its name in the design (empty for the free layout).
void ShowPreset(HWND dialog, int entry, const LayoutDialog& state) {
    SendDlgItemMessageW(dialog, IDC_LAYOUT_PRESET, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    SetText(Design().sheet_preset, entry == kFreeLayout ? std::u16string() : PresetEntryName(entry, state));
}

void FillPresetCombo(HWND dialog, const LayoutDialog& state) {
    SendDlgItemMessageW(dialog, IDC_LAYOUT_PRESET, CB_RESETCONTENT, 0, 0);
    for (int entry = 0; entry < PresetEntryCount(state); ++entry)
        SendDlgItemMessageW(dialog, IDC_LAYOUT_PRESET, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(W(PresetEntryName(entry, state).c_str())));
}

// The entry the design's stored preset name stands for, when the design's grid is still
// that preset's; the centred stock is centred again on the paper of this printer.
int StoredPreset(const LayoutDialog& state) {
    const std::u16string_view stored = TextOf(Design().sheet_preset);
    for (int entry = kA4Ten; entry < PresetEntryCount(state); ++entry) {
        if (PresetEntryName(entry, state) != stored) continue;
        if (entry == kA4TenCentred) PutGrid(Design(), PresetGrid(entry, state));
        return GridOf(Design()) == PresetGrid(entry, state) ? entry : kFreeLayout;
    }
    return kFreeLayout;
}

// Once the form was read: a grid that is no longer the preset's shows the free layout.
void FollowPreset(HWND dialog, const LayoutDialog& state) {
    const int entry = ShownPreset(dialog);
    if (entry != kFreeLayout && GridOf(Design()) != PresetGrid(entry, state)) ShowPreset(dialog, kFreeLayout, state);
}

void FillCorrections(HWND dialog, SheetCorrection front, SheetCorrection back) {
    for (const auto& [id, tenths] : {std::pair{IDC_LAYOUT_CORRECTION_X, front.x}, std::pair{IDC_LAYOUT_CORRECTION_Y, front.y},
                                     std::pair{IDC_LAYOUT_BACK_X, back.x}, std::pair{IDC_LAYOUT_BACK_Y, back.y}})
        SetDlgItemTextW(dialog, id, W(FormatTenths(tenths).c_str()));
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

// Reads the form into the design, as ReadLayoutForm, and shows the free layout when the
// grid is no longer the preset's.
void TakeForm(HWND dialog, LayoutDialog& state) {
    state.choice.copies = ReadLayoutForm(dialog);
    FollowPreset(dialog, state);
}

void ReadAndRedraw(HWND dialog, LayoutDialog& state) {
    TakeForm(dialog, state);
    RepaintDialog(dialog);
}

// The four corrections as typed, each kept within its range; a value typed beyond it is
// shown as the one that will be used.
void ReadCorrections(HWND dialog, SheetCorrection& front, SheetCorrection& back) {
    const CorrectionControl controls[] = {{IDC_LAYOUT_CORRECTION_X, &front, &SheetCorrection::x},
                                          {IDC_LAYOUT_CORRECTION_Y, &front, &SheetCorrection::y},
                                          {IDC_LAYOUT_BACK_X, &back, &SheetCorrection::x},
                                          {IDC_LAYOUT_BACK_Y, &back, &SheetCorrection::y}};
    for (const CorrectionControl& control : controls) {
        const int typed = ReadTenths(FormText(dialog, control.id));
        control.side->*control.axis = LimitCorrection(typed);
        if (control.side->*control.axis != typed)
            SetDlgItemTextW(dialog, control.id, W(FormatTenths(control.side->*control.axis).c_str()));
    }
}

// The typed corrections become the current printer's, kept in printers.ini; when the
// file cannot be written (reported) they still hold for this run.
void TakeCorrections(HWND dialog) {
    SheetCorrection front, back;
    ReadCorrections(dialog, front, back);
    StoreCorrections(dialog, front, back);
}

// The 両面 list and the printer's duplex unit, both grey while the back is not in use;
// the unit also when the printer has none.
void FillDuplex(HWND dialog) {
    const CardDesign& d = Design();
    for (const wchar_t* name : kDuplexNames)
        SendDlgItemMessageW(dialog, IDC_LAYOUT_DUPLEX, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    const int shown = d.duplex == kDuplexLongEdge || d.duplex == kDuplexShortEdge ? d.duplex : kDuplexNone;
    SendDlgItemMessageW(dialog, IDC_LAYOUT_DUPLEX, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
    CheckDlgButton(dialog, IDC_LAYOUT_DUPLEX_DEVICE, d.duplex_device ? BST_CHECKED : BST_UNCHECKED);
    const bool two_sided = d.back_on != 0;
    EnableWindow(GetDlgItem(dialog, IDC_LAYOUT_DUPLEX), two_sided);
    EnableWindow(GetDlgItem(dialog, IDC_LAYOUT_DUPLEX_DEVICE), two_sided && CurrentPrinterDuplexes());
}

// The duplex choices the dialog offers; a grey control leaves its field as it was.
void TakeDuplex(HWND dialog) {
    CardDesign& d = Design();
    if (IsWindowEnabled(GetDlgItem(dialog, IDC_LAYOUT_DUPLEX))) {
        const LRESULT entry = SendDlgItemMessageW(dialog, IDC_LAYOUT_DUPLEX, CB_GETCURSEL, 0, 0);
        d.duplex = entry == CB_ERR ? kDuplexNone : static_cast<int>(entry);
    }
    if (IsWindowEnabled(GetDlgItem(dialog, IDC_LAYOUT_DUPLEX_DEVICE)))
        d.duplex_device = IsDlgButtonChecked(dialog, IDC_LAYOUT_DUPLEX_DEVICE) == BST_CHECKED;
}

void OnInit(HWND dialog, LayoutDialog& state) {
    state.choice = LayoutChoice{};
    state.on_open = GridOf(Design());
    state.preset_on_open = std::u16string(TextOf(Design().sheet_preset));
    state.saved = ReadSheetPresets(dialog);
    FillPresetCombo(dialog, state);
    const int preset = StoredPreset(state);
    FillLayoutForm(dialog, state.choice.copies);
    ShowPreset(dialog, preset, state);
    FillCorrections(dialog, FrontCorrection(), BackCorrection());
    FillDuplex(dialog);
}

// A preset chosen in the combo fills the eight fields; the free layout leaves them.
void ChoosePreset(HWND dialog, LayoutDialog& state) {
    const int entry = ShownPreset(dialog);
    ShowPreset(dialog, entry, state);
    if (entry == kFreeLayout) return;
    KillTimer(dialog, kReadTimer);  // no late read of what the form held before
    PutGrid(Design(), PresetGrid(entry, state));
    state.choice.copies = LimitCopies(ReadWholeNumber(FormText(dialog, IDC_LAYOUT_COPIES)));
    FillLayoutForm(dialog, state.choice.copies);
    RepaintDialog(dialog);
}

// Saves the form's grid as a preset under the name asked for, shown once it is written.
void RegisterPreset(HWND dialog, LayoutDialog& state) {
    TakeForm(dialog, state);
    const std::optional<std::u16string> name = AskPresetName(dialog, state.saved);
    if (!name) return;
    std::vector<SheetPreset> saved = state.saved;
    SavePreset(saved, {*name, GridOf(Design())});
    if (!WriteSheetPresets(dialog, saved)) return;
    state.saved = std::move(saved);
    FillPresetCombo(dialog, state);
    for (int entry = kFirstSaved; entry < PresetEntryCount(state); ++entry)
        if (PresetEntryName(entry, state) == *name) ShowPreset(dialog, entry, state);
}

void PrintCalibration(HWND dialog, LayoutDialog& state) {
    KillTimer(dialog, kReadTimer);
    TakeForm(dialog, state);
    TakeCorrections(dialog);
    PrintCalibrationPage(dialog);
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
    TakeForm(dialog, state);
    TakeCorrections(dialog);
    TakeDuplex(dialog);
    state.choice.print = true;
    EndDialog(dialog, 1);
}

void Cancel(HWND dialog, LayoutDialog& state) {
    KillTimer(dialog, kReadTimer);  // no late read over the restored fields
    PutGrid(Design(), state.on_open);
    SetText(Design().sheet_preset, state.preset_on_open);
    state.choice.print = false;
    EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, int id, int notification, LayoutDialog& state) {
    switch (id) {
        case IDC_LAYOUT_PRESET:
            if (notification == CBN_SELCHANGE) ChoosePreset(dialog, state);
            return TRUE;
        case IDC_LAYOUT_REGISTER: RegisterPreset(dialog, state); return TRUE;
        case IDC_LAYOUT_CALIBRATE: PrintCalibration(dialog, state); return TRUE;
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
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), HIWORD(wparam), state);
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
