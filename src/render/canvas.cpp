#include "render/canvas.h"

#include <windowsx.h>

#include <algorithm>
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
    int edit_w = 0, edit_h = 0;
};

Canvas g_canvas;

POINT PointOf(LPARAM packed) { return {GET_X_LPARAM(packed), GET_Y_LPARAM(packed)}; }

RECT ToRect(const ClientRect& r) { return {r.left, r.top, r.right, r.bottom}; }

void TextSizesNow(TextSizes& sizes) {
    for (int j = 0; j < kTextCount; ++j) {
        const SIZE s = TextExtent(j);
        sizes[j] = {static_cast<int>(s.cx), static_cast<int>(s.cy)};
    }
}

RECT HitRectOf(int pick, const CardDesign& d, const TextSizes& sizes) {
    if (pick >= kPickText && pick < kPickText + kTextCount) {
        const int j = pick - kPickText;
        return ToRect(TextRect(d.str_data[j], d.lf[j], sizes[j]));
    }
    if (pick >= kPickQr && pick < kPickQr + kQrCount) {
        const QrcodeData& q = d.qrcode_data[pick - kPickQr];
        return ToRect(BoxRect(q.x, q.y, q.w, q.h));
    }
    if (pick == kPickFace || pick == kPickFaceResize) {
        const PhotData& f = d.phot_data;
        return ToRect(BoxRect(f.x, f.y, f.w, f.h));
    }
    const MarkData& m = d.mark_data[(pick >= kPickMarkResize ? pick - kPickMarkResize : pick - kPickMark)];
    return ToRect(BoxRect(m.x, m.y, m.w, m.h));
}

void Repaint(HWND window, const RECT& area, bool erase) {
    InvalidateRect(window, &area, erase ? TRUE : FALSE);
    UpdateWindow(window);
}

void Frame(HDC dc, int left, int top, int right, int bottom) {
    const POINT corners[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
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
    const PaintPicture picture = face ? Pictures().face.Paint() : Pictures().mark[mark].Paint();
    if (picture.Loaded())
        StretchPicture(dc, picture, {o.left, o.top, o.width, o.height}, WholePicture(picture),
                       !face && d.mark_data[mark].m != 0);
    if (d.m_outline) {
        Frame(dc, o.left, o.top, o.left + o.width, o.top + o.height);
        const long long nw = resize ? static_cast<long long>(w) + dx : w;
        const long long nh = resize ? static_cast<long long>(h) + dy : h;
        const int a = static_cast<int>(std::clamp<long long>(nw - nw / 3, -100000, 100000));
        const int b = static_cast<int>(std::clamp<long long>(nh - nh / 3, -100000, 100000));
        const POINT corner[] = {{o.left + a, o.top + o.height}, {o.left + a, o.top + b}, {o.left + o.width, o.top + b}};
        Polyline(dc, corner, 3);
    }
    g_canvas.item = {o.left - 2, o.top - 2, o.left + o.width + 2, o.top + o.height + 2};
}

void DragText(HWND window, HDC dc, int j, int dx, int dy) {
    const CardDesign& d = Design();
    Repaint(window, g_canvas.item, false);
    const StrData& item = d.str_data[j];
    if (!item.on) return;
    TextSizes sizes;
    TextSizesNow(sizes);
    const TextOverlay o = TextDragOverlay(item, d.lf[j], sizes[j], dx, dy, d.base_w, d.base_h);
    DrawTextItem(dc, item, d.lf[j], {o.draw_x, o.draw_y}, PreviewMapping(d));
    if (d.c_outline) Frame(dc, o.box.left, o.box.top, o.box.right, o.box.bottom);
    g_canvas.item = {o.box.left - 3, o.box.top - 3, o.box.right + 3, o.box.bottom + 3};
}

// Only a frame moves; the symbol jumps to its new place on release.
void DragQr(HWND window, HDC dc, int k, int dx, int dy) {
    const CardDesign& d = Design();
    Repaint(window, g_canvas.item, true);
    const Overlay o = QrOverlay(d.qrcode_data[k], dx, dy, d.base_w, d.base_h);
    Frame(dc, o.left, o.top, o.left + o.width, o.top + o.height);
    g_canvas.item = {o.left - 2, o.top - 2, o.left + o.width + 2, o.top + o.height + 2};
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
    const long long height = std::min<long long>(std::llabs(static_cast<long long>(d.lf[j].lfHeight)), 4096);
    const long long width = std::min<long long>(height * static_cast<long long>(TextLength(item.s64)) * 2, 16384);
    g_canvas.edit_w = static_cast<int>(width);
    g_canvas.edit_h = static_cast<int>(height);
    g_canvas.edit = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                    item.x + kCardLeft, item.y + kCardTop, g_canvas.edit_w, g_canvas.edit_h,
                                    window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextEditId)),
                                    Process().instance, nullptr);
    if (!g_canvas.edit) return;
    LogFont font = d.lf[j];
    font.lfEscapement = font.lfOrientation = 0;  // the box always shows the text across
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
    const int j = g_canvas.edit_item;
    CardDesign& d = Design();
    StrData& item = d.str_data[j];
    wchar_t text[64] = {};
    if (g_canvas.edit) GetWindowTextW(g_canvas.edit, text, 64);
    SetText(item.s64, U16(text));
    HWND edit = std::exchange(g_canvas.edit, nullptr);
    g_canvas.edit_item = -1;
    if (edit) DestroyWindow(edit);
    const int x = item.x, y = item.y, w = g_canvas.edit_w, h = g_canvas.edit_h;
    const RECT area = IsVertical(d.lf[j]) ? RECT{x - h + 5, y + 45, x + 15, y + w + 55}
                                          : RECT{x + 5, y + 45, x + w + 15, y + h + 55};
    InvalidateRect(window, &area, FALSE);
    g_canvas.edit_font.Reset();
    return true;
}

bool CanvasPick(HWND window, LPARAM packed) {
    if (CanvasCommitEdit(window)) return true;
    if (PickCode() != kPickNone) return false;  // a release was missed: the old pick stays
    const POINT at = PointOf(packed);
    TextSizes sizes;
    TextSizesNow(sizes);
    const int pick = HitTest(Design(), sizes, at.x, at.y);
    if (pick == kPickNone) return false;
    g_canvas.press = at;
    g_canvas.item = HitRectOf(pick, Design(), sizes);
    SetPickCode(pick);
    SetCapture(window);
    return true;
}

void CanvasDrag(HWND window, LPARAM packed) {
    const int pick = PickCode();
    if (pick == kPickNone) return;
    const POINT at = PointOf(packed);
    const int dx = at.x - g_canvas.press.x, dy = at.y - g_canvas.press.y;
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
    const POINT at = PointOf(packed);
    TextSizes sizes;
    TextSizesNow(sizes);
    DropPick(Design(), sizes, pick, at.x - g_canvas.press.x, at.y - g_canvas.press.y);
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

RightAction CanvasRightButton(HWND window, LPARAM packed) {
    const POINT at = PointOf(packed);
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
