// Paints a QR symbol into any device context: the screen preview, the QR dialog or a
// printer page.
#pragma once
#include <windows.h>

#include "design/card_design.h"
#include "render/card_mapping.h"
#include "win/paint_report.h"

enum class QrPaint { kDrawn, kCannotEncode, kNoMemory };

// Encodes up to 255 of the count bytes (Shift_JIS text, up to the first zero byte) at
// level 0..3 (any other value draws at L) and paints the symbol with its two-module light
// margin at (x, y), module_size pixels per module (below 1 draws at 1; no upper cap),
// dark modules in `dark` on `light`. Shows nothing: a text that cannot be encoded or
// graphics memory that runs out leaves the target untouched and is returned. When drawn,
// side (and LastQrDrawnSize) receives (modules + 4) × module size. Symbols come from
// TheQrSymbolCache(), so an unchanged text is not encoded again.
QrPaint PaintQrSymbol(HDC dc, int level, int module_size, int x, int y, const unsigned char* bytes,
                      int count, COLORREF dark, COLORREF light, int* side = nullptr);

// Notes a failed paint in report with its message ("二次元コード表示不可！" / "設定ミス" when the
// text cannot be encoded, "メモリオーバーで画像が読み込ません。" / "表示出来ません！" when graphics
// memory runs out); nothing for a drawn symbol.
void ReportQrPaint(QrPaint result, PaintReport& report);

// One QR code of the design with its symbol's corner at `at`, module_size pixels per
// module, its text converted to Shift_JIS. Returns the drawn side in pixels, or 0 when
// nothing was drawn (the failure is noted in report).
int DrawQrItem(HDC dc, const QrcodeData& qr, DevicePoint at, int module_size, PaintReport& report);

// Side of the last drawn symbol in the target's pixels, quiet margin included:
// (modules + 4) x module size. Unchanged by failed draws.
SIZE LastQrDrawnSize();
