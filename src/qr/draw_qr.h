// Paints a QR symbol into any device context: the screen preview, the QR dialog or a
// printer page.
#pragma once
#include <windows.h>

// Encodes up to 255 of the count bytes (ANSI code page text) at level 0..3 (any other
// value draws at L) and paints the symbol with its two-module light margin at (x, y),
// module_size pixels per module (clamped to 1..20), module colour (r, g, b) on background
// (br, bg, bb); only the low byte of each component counts. Failures are reported to owner
// ("二次元コード表示不可！" / "設定ミス" when the text cannot be encoded, "メモリオーバーで
// 画像が読み込ません。" / "表示出来ません！" when graphics memory runs out) and nothing is drawn.
void DrawQr(HWND owner, HDC dc, int level, int module_size, int x, int y, const unsigned char* bytes,
            int count, int r, int g, int b, int br, int bg, int bb);

// The same without the 20-pixel cap on the module size (printer pages); module_size
// below 1 draws at 1.
void DrawQrUnclamped(HWND owner, HDC dc, int level, int module_size, int x, int y,
                     const unsigned char* bytes, int count, int r, int g, int b, int br, int bg,
                     int bb);

// Side of the last drawn symbol in the target's pixels, quiet margin included:
// (modules + 4) x module size. Kept for the QR dialog; unchanged by failed draws.
SIZE LastQrDrawnSize();
