#include "tools/photo_editor.h"

#include <algorithm>
#include <climits>

#include "design/fixed_text.h"
#include "design/numbers.h"
#include "render/bitmap_export.h"
#include "render/picture_loading.h"
#include "res/photo_editor_ids.h"
#include "tools/import_save.h"
#include "tools/photo_view.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/paint_report.h"
#include "win/picture_stretch.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kBrowseTitle[] = L"画像ファイルの在処を指定";
constexpr wchar_t kBrowseFilter[] =
    L"JPGFile(*.jpg)\0*.jpg\0BMPFile(*.bmp)\0*.bmp\0"
    L"画像ファイル(*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff)\0*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff\0ALLFile(*.*)\0*.*\0";
constexpr wchar_t kNotLoaded[] = L"画像が読み込み出来ません。";
constexpr wchar_t kNotLoadedCaption[] = L"ImageLoad";
constexpr int kCutSizeUnits = 15;  // characters read from each cut size box
constexpr int kControlGap = 6;     // pixels between the view and the controls below it

enum MouseMode { kMoveMode = 0, kZoomMode = 1, kFixedCutMode = 2, kDraggedCutMode = 3 };

// Everything the editor keeps for the run of the program; the photo itself only while
// the dialog is open.
struct PhotoEditor {
    int kind = kFaceBitmap;
    wchar_t path[kFileNameUnits] = {};
    BitmapHandle photo;
    int photo_width = 0, photo_height = 0;
    int scale = kStartScale;  // hundredths
    int offset_x = 0, offset_y = 0;
    int cut_width = 80, cut_height = 120;
    int mode = kMoveMode;
    // The drag: from a press inside the view to its release, with the mouse captured.
    bool dragging = false;
    POINT press{};
    int scale_at_press = kStartScale, offset_x_at_press = 0, offset_y_at_press = 0;
    RECT band{};  // the outline drawn last (empty when none), erased before the next
    PaintReport shown;
};

PhotoEditor& Editor() {
    static PhotoEditor editor;
    return editor;
}

bool InView(int x, int y) { return x >= 0 && y >= 0 && x < kViewWidth && y < kViewHeight; }

// Moves every control down so that none lies over the view, and makes the client area
// hold the view and the controls whatever the dialog font's size.
void MakeRoomForView(HWND dialog) {
    int top = INT_MAX, bottom = 0, right = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        top = std::min<int>(top, r.top);
        bottom = std::max<int>(bottom, r.bottom);
        right = std::max<int>(right, r.right);
    }
    const int shift = top == INT_MAX ? 0 : std::max(0, kViewHeight + kControlGap - top);
    for (HWND child = GetWindow(dialog, GW_CHILD); child && shift > 0; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left, r.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client{};
    GetClientRect(dialog, &client);
    const int need_width = std::max<int>({client.right, kViewWidth, right + kControlGap});
    const int need_height = std::max<int>(client.bottom, bottom + shift + kControlGap);
    if (need_width == client.right && need_height == client.bottom) return;
    RECT window{};
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + need_width - client.right,
                 window.bottom - window.top + need_height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ProposeCutSize(PhotoEditor& editor) {
    switch (editor.kind) {
        case kBaseBitmap:
            editor.cut_width = Design().base_w;
            editor.cut_height = Design().base_h;
            break;
        case kMarkBitmap:
            editor.cut_width = 120;
            editor.cut_height = 50;
            break;
        default:
            editor.cut_width = 80;
            editor.cut_height = 120;
            break;
    }
}

void OnInit(HWND dialog, PhotoEditor& editor) {
    MakeRoomForView(dialog);
    ProposeCutSize(editor);
    editor.mode = kMoveMode;
    editor.dragging = false;
    editor.band = {};
    editor.shown.Clear();
    CheckRadioButton(dialog, IDC_PHOTO_MOVE, IDC_PHOTO_DRAGGED_CUT, IDC_PHOTO_MOVE);
    SendDlgItemMessageW(dialog, IDC_PHOTO_CUT_WIDTH, EM_LIMITTEXT, kCutSizeUnits, 0);
    SendDlgItemMessageW(dialog, IDC_PHOTO_CUT_HEIGHT, EM_LIMITTEXT, kCutSizeUnits, 0);
    SetDlgItemInt(dialog, IDC_PHOTO_CUT_WIDTH, static_cast<UINT>(editor.cut_width), TRUE);
    SetDlgItemInt(dialog, IDC_PHOTO_CUT_HEIGHT, static_cast<UINT>(editor.cut_height), TRUE);
    SetDlgItemTextW(dialog, IDC_PHOTO_PATH, editor.path);
}

HBITMAP RenderView(HDC reference, const PhotoEditor& editor) {
    return RenderPhotoView(
        reference, editor.photo.Get(),
        LayoutView(editor.photo_width, editor.photo_height, editor.scale, editor.offset_x, editor.offset_y));
}

void OnPaint(HWND dialog, PhotoEditor& editor) {
    PaintReport failures;
    {
        PaintGuard paint(dialog);
        BitmapHandle view(RenderView(paint.Get(), editor));
        MemoryDc memory(paint.Get());
        SelectGuard select(memory.Get(), view.Get());
        if (!view || !memory || !select)
            failures.Add(kMemoryDcFailed, kMemoryDcCaption);
        else
            BitBlt(paint.Get(), 0, 0, kViewWidth, kViewHeight, memory.Get(), 0, 0, SRCCOPY);
    }
    ShowNewFailures(dialog, failures, editor.shown);
}

// 参照: a chosen photo replaces the one shown; one that does not load leaves no photo.
void Browse(HWND dialog, PhotoEditor& editor) {
    EnterStartFolder();
    wchar_t name[kFileNameUnits];
    SetText(name, L"*.jpg");
    OPENFILENAMEW request = FileDialogRequest(dialog, name, kBrowseTitle, kBrowseFilter, OFN_HIDEREADONLY);
    if (Ui().OpenFileDialog(&request)) {
        SetText(editor.path, TextOf(name));
        editor.photo.Reset();
        editor.photo_width = editor.photo_height = 0;
        EnterStartFolder();
        const PicturePtr photo = LoadDialogPicture(name, kLoadBitmapApi);
        if (photo) editor.photo.Reset(MakePictureBitmap(*photo));
        if (editor.photo) {
            editor.photo_width = photo->width;
            editor.photo_height = photo->height;
        } else {
            editor.photo.Reset();
            ShowMessage(dialog, kNotLoaded, kNotLoadedCaption);
        }
        SetDlgItemTextW(dialog, IDC_PHOTO_PATH, editor.path);
    }
    editor.scale = kStartScale;
    RepaintDialog(dialog);
}

void Fit(HWND dialog, PhotoEditor& editor) {
    if (!editor.photo) return;
    editor.scale = FitScale(editor.photo_width, editor.photo_height);
    RepaintDialog(dialog);
}

int ReadCutSide(HWND dialog, int id) {
    wchar_t text[kCutSizeUnits + 1] = {};
    GetDlgItemTextW(dialog, id, text, kCutSizeUnits + 1);
    return ParseWholeNumber(U16(text));
}

int CheckedMode(HWND dialog) {
    if (IsDlgButtonChecked(dialog, IDC_PHOTO_ZOOM) == BST_CHECKED) return kZoomMode;
    if (IsDlgButtonChecked(dialog, IDC_PHOTO_FIXED_CUT) == BST_CHECKED) return kFixedCutMode;
    if (IsDlgButtonChecked(dialog, IDC_PHOTO_DRAGGED_CUT) == BST_CHECKED) return kDraggedCutMode;
    return kMoveMode;
}

void ShowModeCursor(int mode) {
    if (mode == kMoveMode) SetCursor(LoadCursorW(Process().instance, MAKEINTRESOURCEW(IDCUR_PHOTO_MOVE)));
    if (mode == kZoomMode) SetCursor(LoadCursorW(Process().instance, MAKEINTRESOURCEW(IDCUR_PHOTO_ZOOM)));
}

void OnButtonDown(HWND dialog, int x, int y, PhotoEditor& editor) {
    if (!InView(x, y)) return;
    editor.dragging = true;
    editor.press = {x, y};
    editor.band = {};
    editor.scale_at_press = editor.scale;
    editor.offset_x_at_press = editor.offset_x;
    editor.offset_y_at_press = editor.offset_y;
    editor.mode = CheckedMode(dialog);
    editor.cut_width = ReadCutSide(dialog, IDC_PHOTO_CUT_WIDTH);
    editor.cut_height = ReadCutSide(dialog, IDC_PHOTO_CUT_HEIGHT);
    ShowModeCursor(editor.mode);
    SetCapture(dialog);
}

void EraseBand(HWND dialog, PhotoEditor& editor) {
    if (IsRectEmpty(&editor.band)) return;
    InvalidateRect(dialog, &editor.band, TRUE);
    editor.band = {};
    UpdateWindow(dialog);
}

constexpr wchar_t kCutCaption[] = L"切取";

void ShowLargerThanView(HWND dialog) {
    wchar_t text[80];
    wsprintfW(text, L"切り取りサイズが表示範囲(%d×%d)より大きいです。", kViewWidth, kViewHeight);
    ShowMessage(dialog, text, kCutCaption);
}

// The outline of a cut, drawn straight onto the screen with the context's own pen.
void DrawBand(HWND dialog, const PixelRect& cut, PhotoEditor& editor) {
    if (cut.Empty()) return;
    WindowDc screen(dialog);
    SelectGuard hollow(screen.Get(), GetStockObject(NULL_BRUSH));
    Rectangle(screen.Get(), cut.x, cut.y, cut.x + cut.width, cut.y + cut.height);
    editor.band = {cut.x, cut.y, cut.x + cut.width + 2, cut.y + cut.height + 2};
}

ViewCut CurrentCut(const PhotoEditor& editor, int x, int y) {
    return editor.mode == kFixedCutMode ? FixedCut(x, y, editor.cut_width, editor.cut_height)
                                        : DraggedCut(editor.press.x, editor.press.y, x, y);
}

// The cut rectangle of the view, from the same rendering the screen shows, becomes the
// cut-out. False (and the cut-out is left as it was) when a drawing step fails.
bool CaptureCut(HWND dialog, const PixelRect& cut, const PhotoEditor& editor) {
    WindowDc screen(dialog);
    if (!screen.Get()) return false;
    BitmapHandle view(RenderView(screen.Get(), editor));
    MemoryDc from(screen.Get());
    MemoryDc to(screen.Get());
    BitmapHandle picture(CreateCompatibleBitmap(screen.Get(), cut.width, cut.height));
    if (!view || !from || !to || !picture) return false;
    {
        SelectGuard source(from.Get(), view.Get());
        SelectGuard target(to.Get(), picture.Get());
        if (!source || !target ||
            !BitBlt(to.Get(), 0, 0, cut.width, cut.height, from.Get(), cut.x, cut.y, SRCCOPY))
            return false;
    }
    TheCutOut().Replace(picture.Release(), cut.width, cut.height);
    return true;
}

void MovePhoto(HWND dialog, int dx, int dy, PhotoEditor& editor) {
    editor.offset_x = PannedOffset(editor.offset_x_at_press, dx, editor.photo_width, kViewWidth, editor.scale);
    editor.offset_y = PannedOffset(editor.offset_y_at_press, dy, editor.photo_height, kViewHeight, editor.scale);
    InvalidateRect(dialog, nullptr, FALSE);
    UpdateWindow(dialog);
}

void ZoomPhoto(HWND dialog, int dx, int dy, bool released, PhotoEditor& editor) {
    if (dx == 0 && dy == 0) return;
    editor.scale = ZoomedScale(editor.scale_at_press, dx, dy);
    InvalidateRect(dialog, nullptr, released ? TRUE : FALSE);
    UpdateWindow(dialog);
}

// A move while the button is held, or its release.
void OnDrag(HWND dialog, int x, int y, bool released, PhotoEditor& editor) {
    const int dx = x - editor.press.x;
    const int dy = y - editor.press.y;
    switch (editor.mode) {
        case kMoveMode:
            if (!released) ShowModeCursor(kMoveMode);
            MovePhoto(dialog, dx, dy, editor);
            return;
        case kZoomMode:
            if (!released) ShowModeCursor(kZoomMode);
            ZoomPhoto(dialog, dx, dy, released, editor);
            return;
        default: break;
    }
    EraseBand(dialog, editor);
    const ViewCut cut = CurrentCut(editor, x, y);
    if (!released) {
        DrawBand(dialog, cut.rect, editor);
        return;
    }
    // An empty cut would save a picture that can never be loaded again.
    switch (cut.status) {
        case CutStatus::Empty: ShowMessage(dialog, L"切り取る範囲がありません。", kCutCaption); return;
        case CutStatus::LargerThanView: ShowLargerThanView(dialog); return;
        case CutStatus::Ok: break;
    }
    if (!CaptureCut(dialog, cut.rect, editor)) {
        ShowMessage(dialog, kMemoryDcFailed, kMemoryDcCaption);
        return;
    }
    RunImportSave(dialog, editor.kind);
}

void OnButtonUp(HWND dialog, int x, int y, PhotoEditor& editor) {
    if (!editor.dragging) return;
    editor.dragging = false;
    if (GetCapture() == dialog) ReleaseCapture();
    OnDrag(dialog, x, y, true, editor);
}

// A move while dragging. One without the left button means the button went up where the
// editor did not see it (the capture was taken away): the drag ends without a cut.
void OnMouseMove(HWND dialog, int x, int y, WPARAM keys, PhotoEditor& editor) {
    if (!editor.dragging) return;
    if (keys & MK_LBUTTON) {
        OnDrag(dialog, x, y, false, editor);
        return;
    }
    editor.dragging = false;
    if (GetCapture() == dialog) ReleaseCapture();
    EraseBand(dialog, editor);
}

BOOL OnCommand(HWND dialog, int id, PhotoEditor& editor) {
    switch (id) {
        case IDC_PHOTO_BROWSE: Browse(dialog, editor); return TRUE;
        case IDC_PHOTO_FIT: Fit(dialog, editor); return TRUE;
        case IDC_PHOTO_CLOSE: EndDialog(dialog, 1); return TRUE;
        case IDC_PHOTO_HELP: OpenManual(dialog); return TRUE;
        default: return FALSE;
    }
}

int PointX(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }
int PointY(LPARAM lparam) { return static_cast<short>(HIWORD(lparam)); }

INT_PTR PhotoEditorProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam, PhotoEditor& editor) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, editor); return TRUE;
        case WM_PAINT: OnPaint(dialog, editor); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), editor);
        case WM_LBUTTONDOWN: OnButtonDown(dialog, PointX(lparam), PointY(lparam), editor); return TRUE;
        case WM_MOUSEMOVE: OnMouseMove(dialog, PointX(lparam), PointY(lparam), wparam, editor); return TRUE;
        case WM_LBUTTONUP: OnButtonUp(dialog, PointX(lparam), PointY(lparam), editor); return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        case WM_DESTROY:
            editor.dragging = false;
            editor.photo.Reset();
            editor.photo_width = editor.photo_height = 0;
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

HBITMAP RenderPhotoView(HDC reference, HBITMAP photo, const ViewLayout& layout) {
    MemoryDc memory(reference);
    BitmapHandle view(CreateCompatibleBitmap(reference, kViewWidth, kViewHeight));
    if (!memory || !view) return nullptr;
    SelectGuard select(memory.Get(), view.Get());
    if (!select) return nullptr;
    const RECT whole{0, 0, kViewWidth, kViewHeight};
    FillRect(memory.Get(), &whole, GetSysColorBrush(COLOR_BTNFACE));
    if (photo && !layout.destination.Empty()) {
        MemoryDc source(reference);
        SelectGuard shown(source.Get(), photo);
        if (!source || !shown) return nullptr;
        StretchModeGuard mode(memory.Get(), HALFTONE);
        const PixelRect& to = layout.destination;
        const PixelRect& from = layout.source;
        if (!StretchBlt(memory.Get(), to.x, to.y, to.width, to.height, source.Get(), from.x, from.y, from.width,
                        from.height, SRCCOPY))
            return nullptr;
    }
    return view.Release();
}

void ShowPhotoEditor(HWND owner, int target_kind) {
    PhotoEditor& editor = Editor();
    editor.kind = target_kind;
    RunModalDialog<PhotoEditor, PhotoEditorProc>(owner, IDD_PHOTO_EDITOR, editor);
}
