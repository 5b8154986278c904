#include "editors/template_browser.h"

#include <memory>

#include "design/fixed_text.h"
#include "design/template_files_win.h"
#include "editors/picture_browse.h"
#include "editors/picture_files.h"
#include "editors/template_preview.h"
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

// The preview's distance from the client area's edges, and between the two sides.
constexpr int kPreviewMargin = 5;

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
    bool readable = false;  // the template shown was read from its file
    // The stored design as it would be with the template applied: the front as its card.
    std::unique_ptr<CardDesign> shown;
    TemplatePictures pictures;
    TemplatePictures back_pictures;  // loaded only for a template whose back is in use
    PaintReport shown_failures;      // paint failures already shown
};

// Each picture of the side that does not load says so once ("画像が読み込み出来ません。")
// and leaves its slot empty; the base is loaded even without a path.
void LoadSidePictures(HWND dialog, const CardSide& side, TemplatePictures& pictures) {
    pictures.Release();
    const CardDesign& d = Design();
    pictures.base.Reset(LoadShownPicture(dialog, W(side.base_filepass), d.base_load_mode));
    for (int i = 0; i < kMarkCount; ++i) {
        if (side.mark_data[i].on)
            pictures.mark[i].Reset(LoadShownPicture(dialog, W(side.mark_data[i].fm), d.mark_load_mode));
    }
    if (side.phot_data.on) pictures.face.Reset(LoadShownPicture(dialog, W(side.phot_data.fm), d.phot_load_mode));
}

// Reads entry `index` of the template list and the pictures of its sides in use.
void ShowEntry(HWND dialog, TemplateBrowser& state, int index) {
    ThePictureList().index = index;
    state.readable = ReadTemplateFile(dialog, index);
    *state.shown = StoredDesign();
    ApplyTemplate(*state.shown, TheTemplate());
    state.shown_failures.Clear();
    LoadSidePictures(dialog, TheTemplate(), state.pictures);
    state.back_pictures.Release();
    if (state.shown->back_on) LoadSidePictures(dialog, TheTemplate().back, state.back_pictures);
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

// One side through the mapping, QR codes as outlines.
void DrawSide(HDC dc, const CardDesign& side, const CardMapping& mapping, TemplatePictures& held,
              PaintReport& report) {
    CardPaint paint;
    paint.mapping = mapping;
    paint.qr_outlines = true;
    CardPictures pictures;
    pictures.base = held.base.Paint();
    for (int i = 0; i < kMarkCount; ++i) pictures.mark[i] = held.mark[i].Paint();
    pictures.face = held.face.Paint();
    PaintCardPictures(dc, side, paint, pictures, report);
    PaintCardItems(dc, side, paint, report);
}

void DrawLabel(HDC dc, DevicePoint at, const wchar_t* label) {
    TextOutW(dc, at.x, at.y, label, lstrlenW(label));
}

// The front and the back at one scale above the name, each under its label 表 / 裏.
void DrawBothSides(HDC dc, const RECT& client, TemplateBrowser& state, PaintReport& report) {
    const CardDesign& front = *state.shown;
    const auto back = std::make_unique<CardDesign>(SideView(front, true));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const DeviceRect area{kPreviewMargin, kPreviewMargin, client.right - 2 * kPreviewMargin,
                          kTemplateNameTop - 2 * kPreviewMargin};
    const TwoSidePreview places = PlaceTwoSides(front.base_w, front.base_h, back->base_w, back->base_h, area,
                                                metrics.tmHeight, kPreviewMargin);
    DrawSide(dc, front, ZoomedPreviewMapping(front, {places.front.card.x, places.front.card.y, places.front.scale}),
             state.pictures, report);
    DrawSide(dc, *back, ZoomedPreviewMapping(*back, {places.back.card.x, places.back.card.y, places.back.scale}),
             state.back_pictures, report);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawLabel(dc, places.front.label, L"表");
    DrawLabel(dc, places.back.label, L"裏");
}

// The card at half size from (5, 5), or both sides of a two-sided template, with QR codes
// as outlines, then the entry's name in black on white at (0, 240), in the background
// mode the last text item left.
void DrawTemplatePreview(HDC dc, const RECT& client, TemplateBrowser& state, PaintReport& report) {
    if (!state.shown) return;
    if (state.shown->back_on)
        DrawBothSides(dc, client, state, report);
    else
        DrawSide(dc, *state.shown, HalfScaleMapping(*state.shown), state.pictures, report);
    const PictureList& list = ThePictureList();
    if (list.index < 0 || list.index >= list.count) return;
    const wchar_t* name = list.entries[list.index];
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    TextOutW(dc, kTemplateNameLeft, kTemplateNameTop, name, static_cast<int>(TextLength(list.entries[list.index])));
}

void OnPaint(HWND dialog, TemplateBrowser& state) {
    PaintReport failures;
    RECT client{};
    GetClientRect(dialog, &client);
    {
        PaintGuard paint(dialog);
        DrawTemplatePreview(paint.Get(), client, state, failures);
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
    // Applied to the design as stored, so the template's front becomes the front; the
    // back stays shown when the template brings one in use.
    const bool back_shown = BackShown();
    ShowSide(false);
    ApplyTemplate(Design(), TheTemplate());
    ShowSide(back_shown && Design().back_on);
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

void ReleasePictures(TemplateBrowser& state) {
    state.pictures.Release();
    state.back_pictures.Release();
}

INT_PTR TemplateProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, TemplateBrowser& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_PAINT: OnPaint(dialog, state); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), state);
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        case WM_DESTROY: ReleasePictures(state); return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void ShowTemplateBrowser(HWND owner) {
    TemplateBrowser state;
    RunModalDialog<TemplateBrowser, TemplateProc>(owner, IDD_TEMPLATE, state);
}
