#include "render/card_preview.h"

#include <cstring>
#include <memory>
#include <type_traits>

#include "design/saturating.h"
#include "render/canvas_math.h"
#include "render/card_painter.h"
#include "win/guards.h"
#include "win/process.h"

namespace {

SIZE g_text_extent[kTextCount] = {};
int g_pick_code = 0;
int g_selected = 0;
CardView g_view;

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
void DrawCardOutline(HDC dc, const CardMapping& m) {
    const DeviceRect card = MapCard(m);
    MoveToEx(dc, card.x - 1, card.y - 1, nullptr);
    LineTo(dc, card.x + card.w, card.y - 1);
    LineTo(dc, card.x + card.w, card.y + card.h);
    LineTo(dc, card.x - 1, card.y + card.h);
    LineTo(dc, card.x - 1, card.y - 1);
}

// The extents in card pixels of the texts a paint at another scale drew.
void MeasureDrawnTexts(HDC dc, const CardDesign& d, int pick) {
    for (int j = 0; j < kTextCount; ++j)
        if (d.str_data[j].on && pick != kPickText + j) g_text_extent[j] = MeasureTextItem(dc, d.str_data[j], d.lf[j]);
}

// A dotted frame two pixels outside the selected item, on the screen only.
void DrawSelectionFrame(HDC dc, const CardDesign& d, const CardMapping& m) {
    if (g_selected == kPickNone || g_pick_code != kPickNone || !PickIsOn(d, g_selected)) return;
    TextSizes sizes;
    for (int j = 0; j < kTextCount; ++j) sizes[j] = {static_cast<int>(g_text_extent[j].cx), static_cast<int>(g_text_extent[j].cy)};
    const RECT frame = ScreenRectOf(m, PickRect(d, sizes, g_selected), 2);
    PenHandle pen(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    SelectGuard select_pen(dc, pen.Get());
    SelectGuard select_brush(dc, GetStockObject(NULL_BRUSH));
    const int mode = SetBkMode(dc, OPAQUE);
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    SetBkColor(dc, back);
    SetBkMode(dc, mode);
}

// Byte comparison is exact only for a record without padding.
static_assert(std::has_unique_object_representations_v<CardDesign>);

bool SameDesign(const CardDesign& a, const CardDesign& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

}  // namespace

int PickCode() { return g_pick_code; }
void SetPickCode(int code) { g_pick_code = code; }

int SelectedItem() { return g_selected; }
void SetSelectedItem(int pick) { g_selected = MovePickOf(pick); }

const CardView& ScreenCardView() { return g_view; }
void SetScreenCardView(const CardView& view) { g_view = view; }
CardMapping ScreenMapping() { return ZoomedPreviewMapping(Design(), g_view); }

RECT ScreenRectOf(const CardMapping& m, const ClientRect& r, int margin) {
    const DevicePoint top_left = MapPoint(m, r.left - kCardLeft, r.top - kCardTop);
    const DevicePoint bottom_right = MapPoint(m, r.right - kCardLeft, r.bottom - kCardTop);
    return {top_left.x - margin, top_left.y - margin, bottom_right.x + margin, bottom_right.y + margin};
}

POINT CardClientPoint(const CardMapping& m, POINT screen) {
    const DevicePoint card = CardPointAt(m, screen.x, screen.y);
    return {SaturatingIntAdd(card.x, kCardLeft), SaturatingIntAdd(card.y, kCardTop)};
}

SIZE TextExtent(int item) {
    if (item < 0 || item >= kTextCount) return {0, 0};
    return g_text_extent[item];
}

void PaintCardLayers(HDC dc, const CardDesign& d, DesignPictures& pictures, int pick,
                     PaintReport& report) {
    CardPaint paint;
    paint.mapping = ZoomedPreviewMapping(d, g_view);
    paint.hidden_pick = pick;
    const bool one_to_one = g_view.scale == 1;
    if (one_to_one) paint.text_extents = g_text_extent;
    const CardPictures screen = ScreenPictures(pictures);
    if (PaintCardPictures(dc, d, paint, screen, report) && d.b_outline) DrawCardOutline(dc, paint.mapping);
    PaintCardItems(dc, d, paint, report);
    if (d.trim_lines) DrawTrimLines(dc, d, paint.mapping);
    if (!one_to_one) MeasureDrawnTexts(dc, d, pick);
}

PaintReport PaintCard(HDC dc) {
    PaintReport report;
    // The side shown with its own printed size, which the trim lines measure by.
    const auto shown = std::make_unique<CardDesign>(SideView(StoredDesign(), BackShown()));
    PaintCardLayers(dc, *shown, Pictures(), g_pick_code, report);
    DrawSelectionFrame(dc, Design(), ZoomedPreviewMapping(Design(), g_view));
    return report;
}

void PaintCardAtOneToOne(HDC dc, const CardDesign& d, DesignPictures& pictures, PaintReport& report) {
    CardPaint paint;
    paint.mapping = ZoomedPreviewMapping(d, {0, 0, 1});
    const CardPictures screen = ScreenPictures(pictures);
    PaintCardPictures(dc, d, paint, screen, report);
    PaintCardItems(dc, d, paint, report);
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
