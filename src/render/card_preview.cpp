#include "render/card_preview.h"

#include "app/app_state.h"
#include "app/status_line.h"
#include "app/ui_seam.h"
#include "app/wide.h"
#include "app/win_guards.h"
#include "design/fixed_text.h"
#include "render/win_text.h"
#include "qr/draw_qr.h"

namespace {

SIZE g_text_extent[kTextCount] = {};
int g_pick_code = 0;

// Stretches the crop of bitmap (the whole bitmap when crop is null) onto the destination,
// white pixels left out when asked. Reports a failing
// memory context and goes on.
void DrawPicture(HWND window, HDC dc, HBITMAP bitmap, int x, int y, int w, int h,
                 bool whiteTransparent, const SourceRect* crop) {
    MemoryDc memory(dc);
    if (!memory) {
        ShowMessage(window, L"失敗しました。", L"CreateCompatibleDC");
        return;
    }
    SelectGuard select(memory.Get(), bitmap);
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    const SourceRect src = crop ? *crop : SourceRect{0, 0, info.bmWidth, info.bmHeight};
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    if (whiteTransparent) {
        TransparentBlt(dc, x, y, w, h, memory.Get(), src.x, src.y, src.w, src.h, RGB(255, 255, 255));
    } else {
        StretchBlt(dc, x, y, w, h, memory.Get(), src.x, src.y, src.w, src.h, SRCCOPY);
    }
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

void DrawBase(HWND window, HDC dc, const CardDesign& d, HBITMAP base) {
    const SIZE size = BitmapSize(base);
    const SourceRect crop = PlacementSourceRect(d.base_w, d.base_h, size.cx, size.cy, d.base_pl_mode);
    DrawPicture(window, dc, base, kCardLeft, kCardTop, d.base_w, d.base_h, false, &crop);
}

// A frame one pixel outside the card, with the context's current pen.
void DrawCardOutline(HDC dc, const CardDesign& d) {
    MoveToEx(dc, kCardLeft - 1, kCardTop - 1, nullptr);
    LineTo(dc, d.base_w + kCardLeft, kCardTop - 1);
    LineTo(dc, d.base_w + kCardLeft, d.base_h + kCardTop);
    LineTo(dc, kCardLeft - 1, d.base_h + kCardTop);
    LineTo(dc, kCardLeft - 1, kCardTop - 1);
}

void DrawTextItem(HDC dc, const CardDesign& d, int j) {
    const StrData& item = d.str_data[j];
    FontHandle font(CreateDesignFont(d.lf[j]));
    SelectGuard select(dc, font.Get());
    SetBkMode(dc, item.bk ? OPAQUE : TRANSPARENT);
    SetTextColor(dc, DesignColour(item.r, item.g, item.b));
    SetBkColor(dc, DesignColour(item.br, item.bg, item.bb));
    const int length = static_cast<int>(TextLength(item.s64));
    SIZE extent{};
    GetTextExtentPoint32W(dc, W(item.s64), length, &extent);
    g_text_extent[j] = extent;
    TextOutW(dc, item.x + kCardLeft, item.y + kCardTop, W(item.s64), length);
}

void DrawQrItem(HWND window, HDC dc, const QrcodeData& qr) {
    char bytes[288] = {};
    const int length = QrTextToAnsi(qr.s, bytes, sizeof(bytes));
    DrawQr(window, dc, qr.Lv, qr.Sell, qr.x + kCardLeft, qr.y + kCardTop,
           reinterpret_cast<const unsigned char*>(bytes), length, qr.r, qr.g, qr.b, qr.br,
           qr.bg, qr.bb);
}

}  // namespace

int PickCode() { return g_pick_code; }
void SetPickCode(int code) { g_pick_code = code; }

SIZE TextExtent(int item) {
    if (item < 0 || item >= kTextCount) return {0, 0};
    return g_text_extent[item];
}

void PaintCardLayers(HWND window, HDC dc, const CardDesign& d, const DesignPictures& pictures,
                     int pick) {
    if (pictures.base) {
        DrawBase(window, dc, d, pictures.base);
        if (d.b_outline) DrawCardOutline(dc, d);
    }
    const PhotData& face = d.phot_data;
    if (pictures.face && face.on && pick != 21 && pick != 31)
        DrawPicture(window, dc, pictures.face, face.x + kCardLeft, face.y + kCardTop, face.w,
                    face.h, false, nullptr);
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& mark = d.mark_data[i];
        if (!mark.on || pick == i + 1 || pick == i + 11 || !pictures.mark[i]) continue;
        DrawPicture(window, dc, pictures.mark[i], mark.x + kCardLeft, mark.y + kCardTop, mark.w,
                    mark.h, mark.m != 0, nullptr);
    }
    for (int j = 0; j < kTextCount; ++j) {
        if (d.str_data[j].on && pick != 100 + j) DrawTextItem(dc, d, j);
    }
    for (const QrcodeData& qr : d.qrcode_data) {
        if (qr.on) DrawQrItem(window, dc, qr);
    }
}

void PaintCard(HWND window, HDC dc) {
    PaintCardLayers(window, dc, Design(), Pictures(), g_pick_code);
    RefreshStatusLine();
}
