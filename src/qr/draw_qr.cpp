#include "qr/draw_qr.h"

#include <cstring>

#include "app/ui_seam.h"
#include "app/win_guards.h"
#include "qr/qr_encoder.h"

namespace {

SIZE g_drawn_size = {0, 0};

COLORREF Colour(int r, int g, int b) { return RGB(r & 0xFF, g & 0xFF, b & 0xFF); }

void Draw(HWND owner, HDC dc, int level, int m, int x, int y, const unsigned char* bytes, int count,
          COLORREF dark, COLORREF light) {
    // At most 255 bytes take part, up to the first zero byte.
    char text[256] = {};
    if (bytes && count > 0) std::memcpy(text, bytes, count < 255 ? count : 255);
    if (level < 0 || level > 3) level = 0;
    QrEncoder& qr = TheQrEncoder();
    if (!EncodeQr(qr, level, text, static_cast<int>(std::strlen(text)))) {
        ShowMessage(owner, L"二次元コード表示不可！", L"設定ミス");
        return;
    }
    // Confirms that graphics memory is available before anything is painted.
    BitmapHandle check(CreateBitmap(qr.size, qr.size, 1, 1, nullptr));
    MemoryDc memory(dc);
    if (!check) {
        ShowMessage(owner, L"メモリオーバーで画像が読み込ません。", L"表示出来ません！");
        return;
    }
    SelectGuard select_check(memory.Get(), check.Get());

    const int side = (qr.size + 4) * m;
    g_drawn_size = {side, side};
    {
        PenHandle pen(CreatePen(PS_SOLID, 1, light));
        BrushHandle brush(CreateSolidBrush(light));
        SelectGuard select_pen(dc, pen.Get());
        SelectGuard select_brush(dc, brush.Get());
        Rectangle(dc, x, y, x + side, y + side);
    }
    BrushHandle brush(CreateSolidBrush(dark));
    for (int i = 0; i < qr.size; ++i) {
        for (int j = 0; j < qr.size; ++j) {
            if (!qr.matrix[i][j]) continue;
            const RECT cell{x + (i + 2) * m, y + (j + 2) * m, x + (i + 3) * m, y + (j + 3) * m};
            FillRect(dc, &cell, brush.Get());
        }
    }
}

}  // namespace

void DrawQr(HWND owner, HDC dc, int level, int module_size, int x, int y, const unsigned char* bytes,
            int count, int r, int g, int b, int br, int bg, int bb) {
    const int m = module_size < 1 ? 1 : module_size > 20 ? 20 : module_size;
    Draw(owner, dc, level, m, x, y, bytes, count, Colour(r, g, b), Colour(br, bg, bb));
}

void DrawQrUnclamped(HWND owner, HDC dc, int level, int module_size, int x, int y,
                     const unsigned char* bytes, int count, int r, int g, int b, int br, int bg,
                     int bb) {
    Draw(owner, dc, level, module_size < 1 ? 1 : module_size, x, y, bytes, count, Colour(r, g, b),
         Colour(br, bg, bb));
}

SIZE LastQrDrawnSize() { return g_drawn_size; }
