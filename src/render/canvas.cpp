#include "render/canvas.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "design/fixed_text.h"
#include "editors/picture_files.h"
#include "editors/text_page.h"
#include "render/canvas_math.h"
#include "render/card_mapping.h"
#include "render/card_painter.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "render/pictures.h"
#include "win/design_text.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

struct Canvas {
    POINT press{};
    RECT item{};  // what the next drag step repaints
    // The in-place edit box over text item edit_item (-1: none), with its font and size.
    int edit_item = -1;
    HWND edit = nullptr;
    FontHandle edit_font;
};

Canvas g_canvas;

int Clamped(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

POINT PointOf(LPARAM packed) { return {GET_X_LPARAM(packed), GET_Y_LPARAM(packed)}; }

// The card arithmetic's point (card pixel + (10, 50)) under a packed screen point.
POINT CardPointOf(LPARAM packed) { return CardClientPoint(ScreenMapping(), PointOf(packed)); }

// A point of the card arithmetic on the screen.
POINT OnScreen(const CardMapping& m, long long x, long long y) {
    const DevicePoint at = MapPoint(m, Clamped(x - kCardLeft), Clamped(y - kCardTop));
    return {at.x, at.y};
}

RECT ScreenBox(const CardMapping& m, int left, int top, int width, int height, int margin) {
    return ScreenRectOf(m, {left, top, Clamped(static_cast<long long>(left) + width), Clamped(static_cast<long long>(top) + height)},
                        margin);
}

void TextSizesNow(TextSizes& sizes) {
    for (int j = 0; j < kTextCount; ++j) {
        const SIZE s = TextExtent(j);
        sizes[j] = {static_cast<int>(s.cx), static_cast<int>(s.cy)};
    }
}

RECT ScreenPickRect(int pick, const TextSizes& sizes) {
    return ScreenRectOf(ScreenMapping(), PickRect(Design(), sizes, pick), 3);
}

void Repaint(HWND window, const RECT& area, bool erase) {
    InvalidateRect(window, &area, erase ? TRUE : FALSE);
    UpdateWindow(window);
}

void Frame(HDC dc, const RECT& r) {
    const POINT corners[] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
    Polyline(dc, corners, 5);
}

// A mark or the face under the pointer: its picture and, when asked, its outline with the
// corner of the resize zone.
void DragPicture(HWND window, HDC dc, int pick, int dx, int dy) {
    const CardDesign& d = Design();
    const bool face = pick == kPickFace || pick == kPickFaceResize;
    const bool resize = pick == kPickFaceResize || (pick >= kPickMarkResize && pick < kPickMarkResize + kMarkCount);
    const int mark = face ? -1 : (resize ? pick - kPickMarkResize : pick - kPickMark);
    const int x = face ? d.phot_data.x : d.mark_data[mark].x, y = face ? d.phot_data.y : d.mark_data[mark].y;
    const int w = face ? d.phot_data.w : d.mark_data[mark].w, h = face ? d.phot_data.h : d.mark_data[mark].h;
    Repaint(window, g_canvas.item, true);
    const Overlay o = PictureOverlay(x, y, w, h, resize, dx, dy, d.base_w, d.base_h);
    const CardMapping m = ScreenMapping();
    const RECT box = ScreenBox(m, o.left, o.top, o.width, o.height, 0);
    const PaintPicture picture = face ? Pictures().face.Paint() : Pictures().mark[mark].Paint();
    if (picture.Loaded())
        StretchPicture(dc, picture, {box.left, box.top, box.right - box.left, box.bottom - box.top},
                       WholePicture(picture), !face && d.mark_data[mark].m != 0);
    if (d.m_outline) {
        Frame(dc, box);
        const long long nw = resize ? static_cast<long long>(w) + dx : w;
        const long long nh = resize ? static_cast<long long>(h) + dy : h;
        const long long a = std::clamp<long long>(nw - nw / 3, -100000, 100000);
        const long long b = std::clamp<long long>(nh - nh / 3, -100000, 100000);
        const POINT corner[] = {OnScreen(m, o.left + a, static_cast<long long>(o.top) + o.height),
                                OnScreen(m, o.left + a, o.top + b),
                                OnScreen(m, static_cast<long long>(o.left) + o.width, o.top + b)};
        Polyline(dc, corner, 3);
    }
    g_canvas.item = ScreenBox(m, o.left, o.top, o.width, o.height, 2);
}

void DragText(HWND window, HDC dc, int j, int dx, int dy) {
    const CardDesign& d = Design();
    Repaint(window, g_canvas.item, false);
    const StrData& item = d.str_data[j];
    if (!item.on) return;
    TextSizes sizes;
    TextSizesNow(sizes);
    const TextOverlay o = TextDragOverlay(item, d.lf[j], sizes[j], dx, dy, d.base_w, d.base_h);
    const CardMapping m = ScreenMapping();
    const POINT at = OnScreen(m, o.draw_x, o.draw_y);
    DrawTextItem(dc, item, d.lf[j], {at.x, at.y}, m);
    if (d.c_outline) Frame(dc, ScreenRectOf(m, o.box, 0));
    g_canvas.item = ScreenRectOf(m, o.box, 3);
}

// Only a frame moves; the symbol jumps to its new place on release.
void DragQr(HWND window, HDC dc, int k, int dx, int dy) {
    const CardDesign& d = Design();
    Repaint(window, g_canvas.item, true);
    const Overlay o = QrOverlay(d.qrcode_data[k], dx, dy, d.base_w, d.base_h);
    const CardMapping m = ScreenMapping();
    Frame(dc, ScreenBox(m, o.left, o.top, o.width, o.height, 0));
    g_canvas.item = ScreenBox(m, o.left, o.top, o.width, o.height, 2);
}

// The picture dialog of a mark or the face; true when the user chose a file.
bool ChoosePicture(HWND window, char16_t (&path)[256], int load_mode, const wchar_t* title) {
    constexpr wchar_t kJpegFilter[] = L"JPGFile(*.jpg)\0*.jpg\0ALLFile(*.*)\0*.*\0";
    constexpr wchar_t kBitmapFilter[] = L"BMPFile(*.bmp)\0*.bmp\0ALLFile(*.*)\0*.*\0";
    wchar_t name[kFileNameUnits];
    SetText(name, W(TextOf(path)));
    OPENFILENAMEW request =
        FileDialogRequest(window, name, title,
                          load_mode == 2                  ? kJpegFilter
                          : load_mode == kLoadAllPictures ? PictureFilter(load_mode)
                                                          : kBitmapFilter,
                          OFN_HIDEREADONLY);
    if (!Ui().OpenFileDialog(&request)) return false;
    SetText(path, U16(name));
    return true;
}

// A chosen picture gives the item its natural size.
void TakeNaturalSize(const char16_t* path, int load_mode, int& w, int& h) {
    const PicturePtr picture = LoadDialogPicture(W(path), load_mode);
    if (!picture) return;
    const SIZE size = NaturalPictureSize(*picture);
    w = size.cx;
    h = size.cy;
}

void OpenEditBox(HWND window, int j) {
    const CardDesign& d = Design();
    const StrData& item = d.str_data[j];
    // The box and its font at the screen's zoom, over the item's corner.
    const CardMapping m = ScreenMapping();
    LogFont font = d.lf[j];
    font.lfHeight = MapFontHeight(m, font.lfHeight);
    font.lfWidth = MapFontWidth(m, font.lfWidth);
    font.lfEscapement = font.lfOrientation = 0;  // the box always shows the text across
    const long long height = std::min<long long>(std::llabs(static_cast<long long>(font.lfHeight)), 4096);
    const long long width = std::min<long long>(height * static_cast<long long>(TextLength(item.s64)) * 2, 16384);
    const DevicePoint at = MapPoint(m, item.x, item.y);
    g_canvas.edit = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, at.x, at.y,
                                    static_cast<int>(width), static_cast<int>(height), window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextEditId)),
                                    Process().instance, nullptr);
    if (!g_canvas.edit) return;
    g_canvas.edit_font.Reset(CreateDesignFont(font));
    SendMessageW(g_canvas.edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_canvas.edit_font.Get()), FALSE);
    SendMessageW(g_canvas.edit, EM_LIMITTEXT, 63, 0);
    SetWindowTextW(g_canvas.edit, W(item.s64));
    SetFocus(g_canvas.edit);
    g_canvas.edit_item = j;
}

}  // namespace

HWND CanvasEditBox() { return g_canvas.edit; }

bool CanvasCommitEdit(HWND window) {
    if (g_canvas.edit_item < 0) return false;
    StrData& item = Design().str_data[g_canvas.edit_item];
    wchar_t text[64] = {};
    if (g_canvas.edit) GetWindowTextW(g_canvas.edit, text, 64);
    SetText(item.s64, U16(text));
    HWND edit = std::exchange(g_canvas.edit, nullptr);
    g_canvas.edit_item = -1;
    if (edit) DestroyWindow(edit);
    InvalidateRect(window, nullptr, FALSE);
    g_canvas.edit_font.Reset();
    return true;
}

bool CanvasPick(HWND window, LPARAM packed) {
    if (CanvasCommitEdit(window)) return true;
    if (PickCode() != kPickNone) return false;  // a release was missed: the old pick stays
    const POINT at = CardPointOf(packed);
    TextSizes sizes;
    TextSizesNow(sizes);
    const int pick = HitTest(Design(), sizes, at.x, at.y);
    if (SelectedItem() != MovePickOf(pick)) InvalidateRect(window, nullptr, FALSE);
    SetSelectedItem(pick);
    if (pick == kPickNone) return false;
    g_canvas.press = at;
    g_canvas.item = ScreenPickRect(pick, sizes);
    SetPickCode(pick);
    SetCapture(window);
    return true;
}

void CanvasDrag(HWND window, LPARAM packed) {
    const int pick = PickCode();
    if (pick == kPickNone) return;
    const POINT at = CardPointOf(packed);
    const int dx = Clamped(static_cast<long long>(at.x) - g_canvas.press.x);
    const int dy = Clamped(static_cast<long long>(at.y) - g_canvas.press.y);
    WindowDc dc(window);
    if (pick >= kPickText && pick < kPickText + kTextCount) {
        DragText(window, dc.Get(), pick - kPickText, dx, dy);
    } else if (pick >= kPickQr && pick < kPickQr + kQrCount) {
        DragQr(window, dc.Get(), pick - kPickQr, dx, dy);
    } else {
        DragPicture(window, dc.Get(), pick, dx, dy);
    }
}

bool CanvasDrop(HWND window, LPARAM packed) {
    const int pick = PickCode();
    if (pick == kPickNone) return false;
    const POINT at = CardPointOf(packed);
    TextSizes sizes;
    TextSizesNow(sizes);
    DropPick(Design(), sizes, pick, Clamped(static_cast<long long>(at.x) - g_canvas.press.x),
             Clamped(static_cast<long long>(at.y) - g_canvas.press.y));
    // The pick is cleared first: releasing the capture reports its loss.
    SetPickCode(kPickNone);
    if (GetCapture() == window) ReleaseCapture();
    InvalidateRect(window, nullptr, TRUE);
    return true;
}

void CanvasCaptureLost(HWND window) {
    if (PickCode() == kPickNone) return;
    SetPickCode(kPickNone);
    InvalidateRect(window, nullptr, TRUE);
}

LPARAM CanvasCardPoint(LPARAM packed) {
    const POINT at = CardPointOf(packed);
    return MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
}

RightAction CanvasRightButton(HWND window, LPARAM packed) {
    const POINT at = CardPointOf(packed);
    CardDesign& d = Design();
    TextSizes sizes;
    TextSizesNow(sizes);
    bool handled = false;
    if (g_canvas.edit_item < 0) {
        for (int i = 0; i < kMarkCount; ++i) {
            MarkData& m = d.mark_data[i];
            if (!m.on || !StrictlyInside(BoxRect(m.x, m.y, m.w, m.h), at.x, at.y)) continue;
            handled = true;
            if (ChoosePicture(window, m.fm, d.mark_load_mode, L"マーク画像の在処を指定")) {
                TakeNaturalSize(m.fm, d.mark_load_mode, m.w, m.h);
                ReloadPictures();
            }
        }
        for (int j = 0; j < kTextCount; ++j) {
            if (!d.str_data[j].on || !StrictlyInside(TextRect(d.str_data[j], d.lf[j], sizes[j]), at.x, at.y))
                continue;
            OpenEditBox(window, j);
            handled = true;
            break;
        }
        PhotData& f = d.phot_data;
        if (g_canvas.edit_item < 0 && f.on && StrictlyInside(BoxRect(f.x, f.y, f.w, f.h), at.x, at.y)) {
            if (ChoosePicture(window, f.fm, d.phot_load_mode, L"似顔絵の在処を指定")) {
                TakeNaturalSize(f.fm, d.phot_load_mode, f.w, f.h);
                ReloadPictures();
            }
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
            return RightAction::kChanged;
        }
    }
    if (!handled) return RightAction::kOpenNewItem;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    return RightAction::kChanged;
}

void CanvasSelect(HWND window, int pick) {
    if (SelectedItem() == MovePickOf(pick)) return;
    SetSelectedItem(pick);
    InvalidateRect(window, nullptr, FALSE);
}

void CanvasSelectNext(HWND window, int direction) {
    CanvasSelect(window, NextSelection(Design(), SelectedItem(), direction));
}

bool CanvasHasSelection() { return SelectedItem() != kPickNone && PickIsOn(Design(), SelectedItem()); }

bool CanvasMoveSelection(HWND window, int dx, int dy) {
    if (!CanvasHasSelection() || PickCode() != kPickNone) return false;
    TextSizes sizes;
    TextSizesNow(sizes);
    DropPick(Design(), sizes, SelectedItem(), dx, dy);
    InvalidateRect(window, nullptr, TRUE);
    return true;
}

bool CanvasCentreSelection(HWND window, bool across) {
    if (!CanvasHasSelection() || PickCode() != kPickNone) return false;
    TextSizes sizes;
    TextSizesNow(sizes);
    CentrePick(Design(), sizes, SelectedItem(), across);
    InvalidateRect(window, nullptr, TRUE);
    return true;
}

bool CanvasSwitchOffSelection(HWND window) {
    if (!CanvasHasSelection() || PickCode() != kPickNone) return false;
    CardDesign& d = Design();
    const int pick = SelectedItem();
    if (pick >= kPickMark && pick < kPickMark + kMarkCount) d.mark_data[pick - kPickMark].on = 0;
    else if (pick >= kPickText && pick < kPickText + kTextCount) d.str_data[pick - kPickText].on = 0;
    else if (pick >= kPickQr && pick < kPickQr + kQrCount) d.qrcode_data[pick - kPickQr].on = 0;
    else d.phot_data.on = 0;
    SetSelectedItem(kPickNone);
    InvalidateRect(window, nullptr, TRUE);
    return true;
}
