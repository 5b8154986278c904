#include "editors/base_dialog.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <type_traits>

#include "design/fixed_text.h"
#include "design/numbers.h"
#include "editors/base_size.h"
#include "editors/picture_browse.h"
#include "editors/picture_files.h"
#include "render/bitmap_export.h"
#include "res/base_dialog_ids.h"
#include "tools/picture_tools.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/paint_report.h"
#include "win/picture_list.h"
#include "win/picture_stretch.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

// The placement box is read this long after its last change, so typing and scrolling
// through the list redraw the preview once.
constexpr UINT_PTR kPlacementTimer = 1;
constexpr UINT kPlacementDelayMs = 1000;

constexpr const wchar_t* kPlacements[] = {L"0:ﾌｨｯﾄ", L"1:中央", L"2:左上", L"3:右下"};

constexpr int kPathUnits = static_cast<int>(std::extent_v<decltype(CardDesign::base_filepass)>);
// A chosen file and a list entry always fit the design's path whole.
static_assert(kPathUnits == kFileNameUnits && kPathUnits == kPictureNameCapacity);

constexpr DeviceRect kPreview{kBasePreviewLeft, kBasePreviewTop, kBasePreviewWidth, kBasePreviewHeight};

struct BaseDialog {
    char16_t path_on_open[kPathUnits];  // base_filepass as it was, every unit, for キャンセル
    int placement_on_open;
    int placement_applied;  // the placement the preview was last redrawn for by the timer
    Picture preview;        // the picture shown, or none
    PaintReport shown;      // paint failures already shown
};

std::wstring DesignPath() { return std::wstring(W(TextOf(Design().base_filepass))); }

std::wstring WholeControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Takes the path box into the design. A path too long for the design is refused whole
// (false) and the design keeps its own.
bool TakeTypedPath(HWND dialog) {
    const std::wstring text = WholeControlText(dialog, IDC_BASE_PATH);
    if (text.size() >= static_cast<size_t>(kPathUnits)) return false;
    SetText(Design().base_filepass, U16(std::wstring_view(text)));
    return true;
}

int ReadSide(HWND dialog, int id, int previous) {
    wchar_t text[kCardSizeUnits + 1] = {};
    GetDlgItemTextW(dialog, id, text, kCardSizeUnits + 1);
    return ReadCardSide(U16(text), previous);
}

// The number the placement box's text starts with: its first character only.
int TypedPlacement(HWND dialog) {
    wchar_t first[2] = {};
    GetDlgItemTextW(dialog, IDC_BASE_PLACEMENT, first, 2);
    return ParseWholeNumber(U16(first));
}

// Shows path in the preview in place of the picture there. A picture that does not
// load leaves the preview empty and says so; false then.
bool LoadPreview(HWND dialog, BaseDialog& state, const wchar_t* path) {
    state.preview.Reset();
    state.preview.Reset(LoadShownPicture(dialog, path, Design().base_load_mode));
    return static_cast<bool>(state.preview);
}

void RescanFolder() { ScanPictureFolder(PictureFolder::kBase, Design().base_load_mode); }

void FillForm(HWND dialog) {
    const CardDesign& d = Design();
    SetDlgItemInt(dialog, IDC_BASE_WIDTH, static_cast<UINT>(d.base_w), TRUE);
    SetDlgItemInt(dialog, IDC_BASE_HEIGHT, static_cast<UINT>(d.base_h), TRUE);
    SendDlgItemMessageW(dialog, IDC_BASE_WIDTH, EM_LIMITTEXT, kCardSizeUnits, 0);
    SendDlgItemMessageW(dialog, IDC_BASE_HEIGHT, EM_LIMITTEXT, kCardSizeUnits, 0);
    SendDlgItemMessageW(dialog, IDC_BASE_PATH, EM_LIMITTEXT, kPathUnits - 1, 0);
    SetDlgItemTextW(dialog, IDC_BASE_PATH, DesignPath().c_str());
    SendDlgItemMessageW(dialog, IDC_BASE_PLACEMENT, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* placement : kPlacements)
        SendDlgItemMessageW(dialog, IDC_BASE_PLACEMENT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(placement));
    const int shown = d.base_pl_mode >= 1 && d.base_pl_mode <= 3 ? d.base_pl_mode : 0;
    SendDlgItemMessageW(dialog, IDC_BASE_PLACEMENT, CB_SETCURSEL, shown, 0);
}

void OnInit(HWND dialog, BaseDialog& state) {
    const CardDesign& d = Design();
    std::copy(std::begin(d.base_filepass), std::end(d.base_filepass), state.path_on_open);
    state.placement_on_open = d.base_pl_mode;
    state.placement_applied = d.base_pl_mode;
    OpenPictureFolder(dialog, PictureFolder::kBase, d.base_load_mode);
    LoadPreview(dialog, state, DesignPath().c_str());
    FillForm(dialog);
}

// The crop of the picture that covers the card, stretched over the preview rectangle.
void PaintPreview(HDC dc, Picture& preview, PaintReport& report) {
    if (!preview) return;
    const CardDesign& d = Design();
    const PaintPicture picture = preview.Paint();
    const SIZE size = PictureSize(picture);
    const SourceRect from = PlacementSourceRect(d.base_w, d.base_h, size.cx, size.cy, d.base_pl_mode);
    if (!StretchPicture(dc, picture, kPreview, from)) report.Add(kMemoryDcFailed, kMemoryDcCaption);
}

void OnPaint(HWND dialog, BaseDialog& state) {
    PaintReport failures;
    {
        PaintGuard paint(dialog);
        PaintPreview(paint.Get(), state.preview, failures);
    }
    ShowNewFailures(dialog, failures, state.shown);
}

// 次 and 戻: the list entry after or before the one shown goes into the path box and
// the preview; the design's path changes only with OK.
void Step(HWND dialog, BaseDialog& state, bool forward) {
    PictureList& list = ThePictureList();
    if (list.count <= 0) return;
    list.index = forward ? NextPictureIndex(list.index, list.count) : PreviousPictureIndex(list.index, list.count);
    const std::wstring entry(TextOf(list.entries[list.index]));
    SetDlgItemTextW(dialog, IDC_BASE_PATH, entry.c_str());
    LoadPreview(dialog, state, entry.c_str());
    RepaintDialog(dialog);
}

// 参照: a chosen picture that loads becomes the design's path at once; one that does not
// load is only shown in the path box. The folder is read again either way.
void Browse(HWND dialog, BaseDialog& state) {
    wchar_t path[kFileNameUnits];
    SetText(path, DesignPath());
    if (BrowsePictureFile(dialog, PictureFolder::kBase, Design().base_load_mode, path)) {
        SetDlgItemTextW(dialog, IDC_BASE_PATH, path);
        if (LoadPreview(dialog, state, path)) SetText(Design().base_filepass, U16(path));
        RepaintDialog(dialog);
    }
    RescanFolder();
}

// 写真加工: the path box becomes the design's path; a picture the editor saved in this
// run takes its place.
void PhotoEditor(HWND dialog, BaseDialog& state) {
    TakeTypedPath(dialog);
    const std::wstring saved = RunPhotoEditorForPicture(dialog, kBaseBitmap);
    RescanFolder();
    if (!saved.empty()) SetText(Design().base_filepass, U16(std::wstring_view(saved)));
    const std::wstring path = DesignPath();
    LoadPreview(dialog, state, path.c_str());
    SetDlgItemTextW(dialog, IDC_BASE_PATH, path.c_str());
    RepaintDialog(dialog);
}

// お絵描きソフト: the path box becomes the design's path and the paint program edits that
// file; what it saved is shown when it ends.
void PaintProgram(HWND dialog, BaseDialog& state) {
    TakeTypedPath(dialog);
    const std::wstring path = DesignPath();
    RunPaintProgram(dialog, path.c_str());
    RescanFolder();
    LoadPreview(dialog, state, path.c_str());
    RepaintDialog(dialog);
}

void OnTimer(HWND dialog, UINT_PTR timer, BaseDialog& state) {
    if (timer != kPlacementTimer) return;
    KillTimer(dialog, kPlacementTimer);
    const int placement = TypedPlacement(dialog);
    Design().base_pl_mode = placement;
    if (placement == state.placement_applied) return;
    state.placement_applied = placement;
    RepaintDialog(dialog);
}

void ReadForm(HWND dialog) {
    CardDesign& d = Design();
    d.base_w = ReadSide(dialog, IDC_BASE_WIDTH, d.base_w);
    d.base_h = ReadSide(dialog, IDC_BASE_HEIGHT, d.base_h);
    TakeTypedPath(dialog);
    d.base_pl_mode = TypedPlacement(dialog);
}

void Accept(HWND dialog) {
    if (ShowMessage(dialog, L"これに変更して良いですか？", L"ベース画面！", MB_YESNO) != IDYES) return;
    KillTimer(dialog, kPlacementTimer);
    ReadForm(dialog);
    EndDialog(dialog, 1);
}

void Cancel(HWND dialog, const BaseDialog& state) {
    KillTimer(dialog, kPlacementTimer);  // no late read over the restored placement
    CardDesign& d = Design();
    std::copy(std::begin(state.path_on_open), std::end(state.path_on_open), d.base_filepass);
    d.base_pl_mode = state.placement_on_open;
    EndDialog(dialog, 1);
}

// The standard cancel id (the Escape key) is left alone: only キャンセル goes back.
BOOL OnCommand(HWND dialog, int id, BaseDialog& state) {
    switch (id) {
        case IDC_BASE_PLACEMENT: SetTimer(dialog, kPlacementTimer, kPlacementDelayMs, nullptr); return TRUE;
        case IDC_BASE_NEXT: Step(dialog, state, true); return TRUE;
        case IDC_BASE_PREVIOUS: Step(dialog, state, false); return TRUE;
        case IDC_BASE_BROWSE: Browse(dialog, state); return TRUE;
        case IDC_BASE_PHOTO: PhotoEditor(dialog, state); return TRUE;
        case IDC_BASE_PAINT: PaintProgram(dialog, state); return TRUE;
        case IDC_BASE_OK: Accept(dialog); return TRUE;
        case IDC_BASE_CANCEL: Cancel(dialog, state); return TRUE;
        case IDC_BASE_HELP: OpenManual(dialog); return TRUE;
        default: return FALSE;
    }
}

INT_PTR BaseProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, BaseDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_PAINT: OnPaint(dialog, state); return TRUE;
        case WM_TIMER: OnTimer(dialog, wparam, state); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), state);
        case WM_CLOSE:  // ends as it stands: neither read nor restored
            KillTimer(dialog, kPlacementTimer);
            EndDialog(dialog, 1);
            return TRUE;
        case WM_DESTROY: state.preview.Reset(); return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void ShowBaseDialog(HWND owner) {
    BaseDialog state{};
    RunModalDialog<BaseDialog, BaseProc>(owner, IDD_BASE, state);
}
