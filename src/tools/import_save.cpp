#include "tools/import_save.h"

#include "render/bitmap_export.h"
#include "res/import_save_ids.h"
#include "win/documents.h"
#include "win/modal_dialog.h"
#include "win/paint_report.h"
#include "win/picture_stretch.h"
#include "win/process.h"

namespace {

constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 25;
constexpr int kNarrowestWindow = 230;

struct ImportSave {
    HWND anchor;
    int kind;
    PaintReport shown;
};

struct CreatedButton {
    int id;
    const wchar_t* caption;
    int x;
};
constexpr CreatedButton kButtons[] = {
    {IDC_IMPORT_SAVE, L"保存", 10},
    {IDC_IMPORT_CANCEL, L"ｷｬﾝｾﾙ", 80},
    {IDC_IMPORT_HELP, L"ヘルプ", 150},
};

void OnInit(HWND dialog, const ImportSave& state) {
    const CutOut& cut = TheCutOut();
    RECT anchor{};
    GetWindowRect(state.anchor, &anchor);
    const int width = cut.width < kNarrowestWindow + 1 ? kNarrowestWindow : cut.width + 10;
    SetWindowPos(dialog, HWND_TOPMOST, anchor.left, anchor.top, width, cut.height + 70, SWP_NOACTIVATE);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (const CreatedButton& button : kButtons) {
        HWND control = CreateWindowExW(0, L"BUTTON", button.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                       button.x, cut.height + 10, kButtonWidth, kButtonHeight, dialog,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
                                       Process().instance, nullptr);
        if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

void OnPaint(HWND dialog, ImportSave& state) {
    PaintReport failures;
    {
        PaintGuard paint(dialog);
        const CutOut& cut = TheCutOut();
        MemoryDc memory(paint.Get());
        SelectGuard select(memory.Get(), cut.bitmap.Get());
        if (!memory || !select)
            failures.Add(kMemoryDcFailed, kMemoryDcCaption);
        else
            BitBlt(paint.Get(), 0, 0, cut.width, cut.height, memory.Get(), 0, 0, SRCCOPY);
    }
    ShowNewFailures(dialog, failures, state.shown);
}

void Save(HWND dialog, const ImportSave& state) {
    const CutOut& cut = TheCutOut();
    ExportPicture(dialog, cut.bitmap.Get(), cut.width, cut.height, state.kind);
    EndDialog(dialog, 1);
}

BOOL OnCommand(HWND dialog, int id, ImportSave& state) {
    switch (id) {
        case IDC_IMPORT_SAVE: Save(dialog, state); return TRUE;
        case IDC_IMPORT_CANCEL: EndDialog(dialog, 1); return TRUE;
        case IDC_IMPORT_HELP: OpenManual(dialog); return TRUE;
        case IDCANCEL: EndDialog(dialog, 1); return TRUE;  // Escape: as ｷｬﾝｾﾙ
        default: return FALSE;
    }
}

INT_PTR ImportSaveProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, ImportSave& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_PAINT: OnPaint(dialog, state); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), state);
        // The cut-out stays with its owner, which replaces it on the next capture.
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

CutOut& TheCutOut() {
    static CutOut cut;
    return cut;
}

void RunImportSave(HWND anchor, int kind) {
    if (!TheCutOut().Ready()) return;
    ImportSave state{anchor, kind, {}};
    RunModalDialog<ImportSave, ImportSaveProc>(anchor, IDD_IMPORT_SAVE, state);
}
