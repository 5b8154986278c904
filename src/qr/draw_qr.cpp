#include "qr/draw_qr.h"

#include <cstring>
#include <string_view>

#include "qr/qr_symbol_cache.h"
#include "win/colour.h"
#include "win/design_text.h"
#include "win/guards.h"

namespace {

SIZE g_drawn_size = {0, 0};

// Dark modules, one FillRect per vertical run of a column.
void PaintModules(HDC dc, const QrSymbol& symbol, int m, int x, int y, HBRUSH brush) {
    for (int i = 0; i < symbol.size; ++i) {
        for (int j = 0; j < symbol.size;) {
            if (!symbol.Dark(i, j)) {
                ++j;
                continue;
            }
            const int first = j;
            while (j < symbol.size && symbol.Dark(i, j)) ++j;
            const RECT run{x + (i + 2) * m, y + (first + 2) * m, x + (i + 3) * m, y + (j + 2) * m};
            FillRect(dc, &run, brush);
        }
    }
}

}  // namespace

QrPaint PaintQrSymbol(HDC dc, int level, int module_size, int x, int y, const unsigned char* bytes,
                      int count, COLORREF dark, COLORREF light, int* side) {
    // At most 255 bytes take part, up to the first zero byte.
    char text[256] = {};
    if (bytes && count > 0) std::memcpy(text, bytes, count < 255 ? count : 255);
    const QrSymbol& symbol = TheQrSymbolCache().Get(level, std::string_view(text));
    if (symbol.size == 0) return QrPaint::kCannotEncode;
    // Confirms that graphics memory is available before anything is painted.
    BitmapHandle check(CreateBitmap(symbol.size, symbol.size, 1, 1, nullptr));
    MemoryDc memory(dc);
    if (!check) return QrPaint::kNoMemory;
    SelectGuard select_check(memory.Get(), check.Get());

    const int m = module_size < 1 ? 1 : module_size;
    const int total = (symbol.size + 4) * m;
    if (side) *side = total;
    g_drawn_size = {total, total};
    {
        PenHandle pen(CreatePen(PS_SOLID, 1, light));
        BrushHandle brush(CreateSolidBrush(light));
        SelectGuard select_pen(dc, pen.Get());
        SelectGuard select_brush(dc, brush.Get());
        Rectangle(dc, x, y, x + total, y + total);
    }
    BrushHandle brush(CreateSolidBrush(dark));
    PaintModules(dc, symbol, m, x, y, brush.Get());
    return QrPaint::kDrawn;
}

void ReportQrPaint(QrPaint result, PaintReport& report) {
    switch (result) {
        case QrPaint::kCannotEncode: report.Add(L"二次元コード表示不可！", L"設定ミス"); break;
        case QrPaint::kNoMemory: report.Add(L"メモリオーバーで画像が読み込ません。", L"表示出来ません！"); break;
        case QrPaint::kDrawn: break;
    }
}

int DrawQrItem(HDC dc, const QrcodeData& qr, DevicePoint at, int module_size, PaintReport& report) {
    char bytes[288] = {};
    const int length = QrTextToShiftJis(qr.s, bytes, sizeof(bytes));
    int side = 0;
    const QrPaint result = PaintQrSymbol(dc, qr.Lv, module_size, at.x, at.y,
                                         reinterpret_cast<const unsigned char*>(bytes), length,
                                         DesignColour(qr.r, qr.g, qr.b), DesignColour(qr.br, qr.bg, qr.bb), &side);
    ReportQrPaint(result, report);
    return result == QrPaint::kDrawn ? side : 0;
}

SIZE LastQrDrawnSize() { return g_drawn_size; }
