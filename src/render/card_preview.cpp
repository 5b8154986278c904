#include "render/card_preview.h"

#include <cstring>
#include <memory>
#include <type_traits>

#include "render/card_painter.h"
#include "win/process.h"

namespace {

SIZE g_text_extent[kTextCount] = {};
int g_pick_code = 0;

// What the last shown failures were shown for.
struct ShownFailures {
    PaintReport failures;
    std::unique_ptr<CardDesign> design;  // the design they were shown for
};
ShownFailures g_shown;

CardPictures ScreenPictures(DesignPictures& pictures) {
    CardPictures out;
    out.base = pictures.base.Paint();
    for (int i = 0; i < kMarkCount; ++i) out.mark[i] = pictures.mark[i].Paint();
    out.face = pictures.face.Paint();
    return out;
}

// A frame one pixel outside the card, with the context's current pen.
void DrawCardOutline(HDC dc, const CardDesign& d) {
    MoveToEx(dc, kCardLeft - 1, kCardTop - 1, nullptr);
    LineTo(dc, d.base_w + kCardLeft, kCardTop - 1);
    LineTo(dc, d.base_w + kCardLeft, d.base_h + kCardTop);
    LineTo(dc, kCardLeft - 1, d.base_h + kCardTop);
    LineTo(dc, kCardLeft - 1, kCardTop - 1);
}

// Byte comparison is exact only for a record without padding.
static_assert(std::has_unique_object_representations_v<CardDesign>);

bool SameDesign(const CardDesign& a, const CardDesign& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

}  // namespace

int PickCode() { return g_pick_code; }
void SetPickCode(int code) { g_pick_code = code; }

SIZE TextExtent(int item) {
    if (item < 0 || item >= kTextCount) return {0, 0};
    return g_text_extent[item];
}

void PaintCardLayers(HDC dc, const CardDesign& d, DesignPictures& pictures, int pick,
                     PaintReport& report) {
    CardPaint paint;
    paint.mapping = PreviewMapping(d);
    paint.hidden_pick = pick;
    paint.text_extents = g_text_extent;
    const CardPictures screen = ScreenPictures(pictures);
    if (PaintCardPictures(dc, d, paint, screen, report) && d.b_outline) DrawCardOutline(dc, d);
    PaintCardItems(dc, d, paint, report);
    if (d.trim_lines) DrawTrimLines(dc, d, paint.mapping);
}

PaintReport PaintCard(HDC dc) {
    PaintReport report;
    PaintCardLayers(dc, Design(), Pictures(), g_pick_code, report);
    return report;
}

void ShowCardPaintFailures(HWND window, const PaintReport& report) {
    if (report.Empty()) return;
    const CardDesign& design = Design();
    if (!g_shown.design || !SameDesign(*g_shown.design, design)) {
        g_shown.failures.Clear();
        if (!g_shown.design) g_shown.design = std::make_unique<CardDesign>();
        *g_shown.design = design;
    }
    ShowNewFailures(window, report, g_shown.failures);
}
