#include "editors/face_dialog.h"

#include <iterator>
#include <string>
#include <type_traits>

#include "design/fixed_text.h"
#include "editors/face_form.h"
#include "editors/picture_browse.h"
#include "editors/picture_files.h"
#include "render/bitmap_export.h"
#include "res/face_dialog_ids.h"
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

constexpr int kNumberChars = 31;
constexpr int kPathUnits = static_cast<int>(std::extent_v<decltype(PhotData::fm)>);
// A chosen file and a list entry always fit the design's path whole.
static_assert(kPathUnits == kFileNameUnits && kPathUnits == kPictureNameCapacity);

struct FaceDialog {
    wchar_t shown_path[kPathUnits] = {};  // what 次, 戻 and the picture tools last showed
    Picture preview;                      // the picture shown, or none
    PaintReport shown;                    // paint failures already shown
};

int FaceLoadMode() { return Design().phot_load_mode; }

int ScanFaceFolder() { return ScanPictureFolder(PictureFolder::kFace, FaceLoadMode()); }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

std::wstring ControlText(HWND dialog, int id, int units) {
    std::wstring text(static_cast<size_t>(units) + 1, L'\0');
    text.resize(static_cast<size_t>(GetDlgItemTextW(dialog, id, text.data(), units + 1)));
    return text;
}

// The path box, one unit longer than a path may be so that a longer one is seen.
std::wstring TypedPath(HWND dialog) { return ControlText(dialog, IDC_FACE_PATH, kPathUnits); }

// Loads path into the preview in place of the picture there; false (and said) when none
// results, and the preview stays empty.
bool LoadPreview(HWND dialog, FaceDialog& state, const wchar_t* path, const wchar_t* caption = L"ImageLoad") {
    state.preview.Reset();
    state.preview.Reset(LoadShownPicture(dialog, path, FaceLoadMode(), caption));
    return static_cast<bool>(state.preview);
}

void ShowPictureSize(HWND dialog, const PixelImage& picture) {
    const SIZE size = NaturalPictureSize(picture);
    SetDlgItemInt(dialog, IDC_FACE_WIDTH, static_cast<UINT>(size.cx), TRUE);
    SetDlgItemInt(dialog, IDC_FACE_HEIGHT, static_cast<UINT>(size.cy), TRUE);
}

// The shown path goes into the preview and the path box; a picture that loads gives its
// size, and switches the face on when the folder has pictures.
void ShowPicture(HWND dialog, FaceDialog& state) {
    if (LoadPreview(dialog, state, state.shown_path)) {
        ShowPictureSize(dialog, *state.preview.Get());
        if (ThePictureList().count > 0) Check(dialog, IDC_FACE_USE, true);
    }
    SetDlgItemTextW(dialog, IDC_FACE_PATH, state.shown_path);
    RepaintDialog(dialog);
}

void FillForm(HWND dialog) {
    const PhotData& face = Design().phot_data;
    Check(dialog, IDC_FACE_USE, face.on != 0);
    for (int id : {IDC_FACE_X, IDC_FACE_Y, IDC_FACE_WIDTH, IDC_FACE_HEIGHT})
        SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, kNumberChars, 0);
    SetDlgItemInt(dialog, IDC_FACE_X, static_cast<UINT>(face.x), TRUE);
    SetDlgItemInt(dialog, IDC_FACE_Y, static_cast<UINT>(face.y), TRUE);
    SetDlgItemInt(dialog, IDC_FACE_WIDTH, static_cast<UINT>(face.w), TRUE);
    SetDlgItemInt(dialog, IDC_FACE_HEIGHT, static_cast<UINT>(face.h), TRUE);
    SendDlgItemMessageW(dialog, IDC_FACE_PATH, EM_LIMITTEXT, kPathUnits - 1, 0);
    SetDlgItemTextW(dialog, IDC_FACE_PATH, W(face.fm));
}

// The shown path starts as the design's own at every opening, so that a picture tool
// closed without saving shows the face again rather than an empty path that OK would store.
void OnInit(HWND dialog, FaceDialog& state) {
    const PhotData& face = Design().phot_data;
    OpenPictureFolder(dialog, PictureFolder::kFace, FaceLoadMode());
    SetText(state.shown_path, W(TextOf(face.fm)));
    if (face.on != 0) LoadPreview(dialog, state, W(face.fm));
    FillForm(dialog);
}

// The picture at the size it takes on the card, in the top-left corner, cut off where the
// controls begin.
void PaintPreview(HWND dialog, HDC dc, Picture& preview, PaintReport& report) {
    if (!preview) return;
    RECT area{0, 0, FACE_PREVIEW_RIGHT, FACE_PREVIEW_BOTTOM};
    MapDialogRect(dialog, &area);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    const PaintPicture picture = preview.Paint();
    const SIZE size = NaturalPictureSize(*preview.Get());
    if (!StretchPicture(dc, picture, DeviceRect{0, 0, size.cx, size.cy}, WholePicture(picture)))
        report.Add(kMemoryDcFailed, kMemoryDcCaption);
}

void OnPaint(HWND dialog, FaceDialog& state) {
    PaintReport failures;
    {
        PaintGuard paint(dialog);
        PaintPreview(dialog, paint.Get(), state.preview, failures);
    }
    ShowNewFailures(dialog, failures, state.shown);
}

// 次 (+1) and 戻 (-1); nothing while the folder has no pictures. The design changes only on OK.
void Step(HWND dialog, FaceDialog& state, int step) {
    PictureList& list = ThePictureList();
    if (list.count <= 0) return;
    list.index = step > 0 ? NextPictureIndex(list.index, list.count) : PreviousPictureIndex(list.index, list.count);
    SetText(state.shown_path, TextOf(list.entries[list.index]));
    ShowPicture(dialog, state);
}

// 参照: a chosen picture that loads becomes the design's face at once and switches it on;
// one that does not load is only shown in the path box. The folder is read again either way.
void Browse(HWND dialog, FaceDialog& state) {
    PhotData& face = Design().phot_data;
    wchar_t path[kFileNameUnits];
    SetText(path, W(TextOf(face.fm)));
    if (BrowsePictureFile(dialog, PictureFolder::kFace, FaceLoadMode(), path)) {
        if (LoadPreview(dialog, state, path, L"LoadImage")) {
            SetText(face.fm, U16(path));
            ShowPictureSize(dialog, *state.preview.Get());
            Check(dialog, IDC_FACE_USE, true);
        }
        SetDlgItemTextW(dialog, IDC_FACE_PATH, path);
    }
    ScanFaceFolder();
    RepaintDialog(dialog);
}

// 写真加工 and 似顔絵作成, once the tool has run: a picture it saved in this run is shown,
// otherwise the picture shown before; the design changes only on OK.
void AfterPictureTool(HWND dialog, FaceDialog& state, const std::wstring& saved) {
    ScanFaceFolder();
    if (!saved.empty()) SetText(state.shown_path, saved);
    ShowPicture(dialog, state);
}

// お絵描きソフト: the path box becomes the design's face and the paint program edits that
// file; what it saved is shown when it ends. A path too long for the design is refused.
void PaintProgram(HWND dialog, FaceDialog& state) {
    PhotData& face = Design().phot_data;
    const std::wstring typed = TypedPath(dialog);
    if (typed.size() < static_cast<size_t>(kPathUnits)) SetText(face.fm, U16(std::wstring_view(typed)));
    const std::wstring path(W(TextOf(face.fm)));
    RunPaintProgram(dialog, path.c_str());
    ScanFaceFolder();
    LoadPreview(dialog, state, path.c_str());
    RepaintDialog(dialog);
}

void ReadForm(HWND dialog) {
    CardDesign& d = Design();
    const std::wstring x = ControlText(dialog, IDC_FACE_X, kNumberChars);
    const std::wstring y = ControlText(dialog, IDC_FACE_Y, kNumberChars);
    const std::wstring w = ControlText(dialog, IDC_FACE_WIDTH, kNumberChars);
    const std::wstring h = ControlText(dialog, IDC_FACE_HEIGHT, kNumberChars);
    const std::wstring path = TypedPath(dialog);
    StoreFaceForm(d.phot_data,
                  {Checked(dialog, IDC_FACE_USE), U16(std::wstring_view(x)), U16(std::wstring_view(y)),
                   U16(std::wstring_view(w)), U16(std::wstring_view(h)), U16(std::wstring_view(path))},
                  d.base_w, d.base_h);
}

void Accept(HWND dialog) {
    if (ShowMessage(dialog, L"これに変更して良いですか？", L"ベース画面！", MB_YESNO) != IDYES) return;
    ReadForm(dialog);
    EndDialog(dialog, 1);
}

// The standard cancel id (the Escape key) is left alone: only ｷｬﾝｾﾙ closes without OK.
BOOL OnCommand(HWND dialog, int id, FaceDialog& state) {
    switch (id) {
        case IDC_FACE_NEXT: Step(dialog, state, +1); return TRUE;
        case IDC_FACE_PREVIOUS: Step(dialog, state, -1); return TRUE;
        case IDC_FACE_BROWSE: Browse(dialog, state); return TRUE;
        case IDC_FACE_PHOTO: AfterPictureTool(dialog, state, RunPhotoEditorForPicture(dialog, kFaceBitmap)); return TRUE;
        case IDC_FACE_PORTRAIT: AfterPictureTool(dialog, state, RunPortraitComposerForPicture(dialog)); return TRUE;
        case IDC_FACE_PAINT: PaintProgram(dialog, state); return TRUE;
        case IDC_FACE_OK: Accept(dialog); return TRUE;
        case IDC_FACE_CANCEL: EndDialog(dialog, 1); return TRUE;
        case IDC_FACE_HELP: OpenManual(dialog); return TRUE;
        default: return FALSE;
    }
}

INT_PTR FaceProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, FaceDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_PAINT: OnPaint(dialog, state); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), state);
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        case WM_DESTROY: state.preview.Reset(); return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void ShowFaceDialog(HWND owner) {
    FaceDialog state;
    RunModalDialog<FaceDialog, FaceProc>(owner, IDD_FACE, state);
}
