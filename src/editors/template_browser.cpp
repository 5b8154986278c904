#include "editors/template_browser.h"

#include <memory>

#include "design/fixed_text.h"
#include "design/template_files_win.h"
#include "editors/picture_browse.h"
#include "editors/picture_files.h"
#include "render/card_mapping.h"
#include "render/card_painter.h"
#include "res/template_browser_ids.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/paint_report.h"
#include "win/picture_list.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

// The pictures of the template shown, loaded from its own paths, apart from the design's.
struct TemplatePictures {
    Picture base;
    Picture mark[kMarkCount];
    Picture face;

    void Release() {
        base.Reset();
        for (Picture& picture : mark) picture.Reset();
        face.Reset();
    }
};

struct TemplateBrowser {
    int count = 0;
    bool readable = false;              // the template shown was read from its file
    std::unique_ptr<CardDesign> shown;  // the design as it would be with the template applied
    TemplatePictures pictures;
    PaintReport shown_failures;  // paint failures already shown
};

// Each picture that does not load says so once ("画像が読み込み出来ません。") and leaves its
// slot empty; the base is loaded even without a path.
void LoadTemplatePictures(HWND dialog, TemplateBrowser& state) {
    state.pictures.Release();
    const TemplateDesign& t = TheTemplate();
    const CardDesign& d = Design();
    state.pictures.base.Reset(LoadShownPicture(dialog, W(t.base_filepass), d.base_load_mode));
    for (int i = 0; i < kMarkCount; ++i) {
        if (t.mark_data[i].on)
            state.pictures.mark[i].Reset(LoadShownPicture(dialog, W(t.mark_data[i].fm), d.mark_load_mode));
    }
    if (t.phot_data.on) state.pictures.face.Reset(LoadShownPicture(dialog, W(t.phot_data.fm), d.phot_load_mode));
}

// Reads entry `index` of the template list and its pictures.
void ShowEntry(HWND dialog, TemplateBrowser& state, int index) {
    ThePictureList().index = index;
    state.readable = ReadTemplateFile(dialog, index);
    *state.shown = Design();
    ApplyTemplate(*state.shown, TheTemplate());
    state.shown_failures.Clear();
    LoadTemplatePictures(dialog, state);
}

void OnInit(HWND dialog, TemplateBrowser& state) {
    state.count = ScanTemplates();
    if (state.count == 0) {
        ShowMessage(dialog, L"テンプレートが見つかりませんでした。", L"templet_file");
        EndDialog(dialog, 1);
        return;
    }
    state.shown = std::make_unique<CardDesign>();
    ShowEntry(dialog, state, 0);
}

// The card at half size from (5, 5) with QR codes as outlines, then the entry's name in
// black on white at (0, 240), in the background mode the last text item left.
void DrawTemplatePreview(HDC dc, TemplateBrowser& state, PaintReport& report) {
    if (!state.shown) return;
    CardPaint paint;
    paint.mapping = HalfScaleMapping(*state.shown);
    paint.qr_outlines = true;
    CardPictures pictures;
    pictures.base = state.pictures.base.Paint();
    for (int i = 0; i < kMarkCount; ++i) pictures.mark[i] = state.pictures.mark[i].Paint();
    pictures.face = state.pictures.face.Paint();
    PaintCardPictures(dc, *state.shown, paint, pictures, report);
    PaintCardItems(dc, *state.shown, paint, report);
    const PictureList& list = ThePictureList();
    if (list.index < 0 || list.index >= list.count) return;
    const wchar_t* name = list.entries[list.index];
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    TextOutW(dc, kTemplateNameLeft, kTemplateNameTop, name, static_cast<int>(TextLength(list.entries[list.index])));
}

void OnPaint(HWND dialog, TemplateBrowser& state) {
    PaintReport failures;
    {
        PaintGuard paint(dialog);
        DrawTemplatePreview(paint.Get(), state, failures);
    }
    ShowNewFailures(dialog, failures, state.shown_failures);
}

void Step(HWND dialog, TemplateBrowser& state, bool forward) {
    const int index = ThePictureList().index;
    ShowEntry(dialog, state, forward ? NextPictureIndex(index, state.count) : PreviousPictureIndex(index, state.count));
    RepaintDialog(dialog);
}

void Accept(HWND dialog, const TemplateBrowser& state) {
    // Applying a template that was not read would clear every item of the design.
    if (!state.readable) {
        ShowMessage(dialog, L"このテンプレートは読み込めないので変更できません。", L"テンプレート！",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (ShowMessage(dialog, L"これに変更して良いですか？", L"テンプレート！", MB_YESNO) == IDNO) return;
    ApplyTemplate(Design(), TheTemplate());
    EndDialog(dialog, 1);
}

// The standard cancel id (the Escape key) has no handler: only キャンセル and the close box
// leave without applying.
BOOL OnCommand(HWND dialog, int id, TemplateBrowser& state) {
    switch (id) {
        case IDC_TEMPLATE_NEXT: Step(dialog, state, true); return TRUE;
        case IDC_TEMPLATE_PREVIOUS: Step(dialog, state, false); return TRUE;
        case IDC_TEMPLATE_OK: Accept(dialog, state); return TRUE;
        case IDC_TEMPLATE_CANCEL: EndDialog(dialog, 1); return TRUE;
        case IDC_TEMPLATE_HELP: OpenManual(dialog); return TRUE;
        default: return FALSE;
    }
}

INT_PTR TemplateProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, TemplateBrowser& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_PAINT: OnPaint(dialog, state); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), state);
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        case WM_DESTROY: state.pictures.Release(); return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void ShowTemplateBrowser(HWND owner) {
    TemplateBrowser state;
    RunModalDialog<TemplateBrowser, TemplateProc>(owner, IDD_TEMPLATE, state);
}
