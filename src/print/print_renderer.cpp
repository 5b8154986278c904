#include "print/print_renderer.h"

#include <algorithm>
#include <functional>

#include "design/design_ranges.h"
#include "print/print_stop.h"
#include "print/printer.h"
#include "print/printer_memory.h"
#include "render/card_mapping.h"
#include "render/picture_loading.h"
#include "render/pictures.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kLoadCaption[] = L"PaintBMP Load";
constexpr wchar_t kBaseNotLoaded[] = L"ベース画像が読み込み出来ません。";
constexpr wchar_t kMarkNotLoaded[] = L"マーク画像が読み込み出来ません。";
constexpr wchar_t kFaceNotLoaded[] = L"顔の画像が読み込み出来ません。";

// The pictures of a page, loaded once and composed once for every card.
struct PagePictures {
    PicturePtr base;
    PicturePtr mark[kMarkCount];
    PicturePtr face;
};

void LoadPage(const CardDesign& d, PagePictures& page) {
    page.base = LoadDialogPicture(W(d.base_filepass), d.base_load_mode);
    for (int i = 0; i < kMarkCount; ++i)
        if (d.mark_data[i].on) page.mark[i] = LoadDialogPicture(W(d.mark_data[i].fm), d.mark_load_mode);
    if (d.phot_data.on) page.face = LoadDialogPicture(W(d.phot_data.fm), d.phot_load_mode);
}

// Pictures the design asks for and does not have, in the order they are loaded.
void ReportMissing(const CardDesign& d, const CardPictures& pictures, PaintReport& report) {
    if (!pictures.base.Loaded()) report.Add(kBaseNotLoaded, kLoadCaption);
    for (int i = 0; i < kMarkCount; ++i)
        if (d.mark_data[i].on && !pictures.mark[i].Loaded()) report.Add(kMarkNotLoaded, kLoadCaption);
    if (d.phot_data.on && !pictures.face.Loaded()) report.Add(kFaceNotLoaded, kLoadCaption);
}

// Picture pixels per card pixel of the finest picture shown, on each axis.
struct Detail {
    double x = 0, y = 0;
    void Take(double picture_w, double picture_h, double card_w, double card_h) {
        if (card_w > 0) x = std::max(x, picture_w / card_w);
        if (card_h > 0) y = std::max(y, picture_h / card_h);
    }
};

Detail FinestDetail(const CardDesign& d, const CardPictures& pictures) {
    Detail detail;
    if (pictures.base.Loaded()) {
        const SIZE size = PictureSize(pictures.base);
        const SourceRect crop = BaseCrop(size.cx, size.cy, d.base_w, d.base_h, d.base_pl_mode);
        detail.Take(crop.w, crop.h, d.base_w, d.base_h);
    }
    if (d.phot_data.on && pictures.face.Loaded()) {
        const SIZE size = PictureSize(pictures.face);
        detail.Take(size.cx, size.cy, d.phot_data.w, d.phot_data.h);
    }
    for (int i = 0; i < kMarkCount; ++i) {
        if (!d.mark_data[i].on || !pictures.mark[i].Loaded()) continue;
        const SIZE size = PictureSize(pictures.mark[i]);
        detail.Take(size.cx, size.cy, d.mark_data[i].w, d.mark_data[i].h);
    }
    return detail;
}

// Corner marks with the context's current pen.
void DrawCutMarks(HDC dc, const PrintScale& s, CardOrigin origin, const CardDesign& d) {
    for (const CutMark& mark : CutMarks(s, origin, d.p_outline_len, d.p_outline_size)) {
        MoveToEx(dc, mark[0].x, mark[0].y, nullptr);
        LineTo(dc, mark[1].x, mark[1].y);
        LineTo(dc, mark[2].x, mark[2].y);
    }
}

void RenderCards(HDC dc, const CardDesign& d, const PrintPage& page, const CardPictures& pictures,
                 PaintReport& report, const std::function<bool()>& next_card) {
    const PrintScale scale = ComputePrintScale(d, page);
    const Detail detail = FinestDetail(d, pictures);
    const int step = std::min(CompositionStep(page.dpi_x, scale.fx * scale.sx, detail.x),
                              CompositionStep(page.dpi_y, scale.fy * scale.sy, detail.y));
    CardPaint compose;
    compose.mapping = CompositionMapping(scale, step);
    compose.opaque_pictures = true;
    bool base_drawn = false;
    const PixelImage composed = ComposeCardPictures(d, compose, pictures, base_drawn);
    CardPaint paint;
    // Never more cards than the layout dialog allows, whatever the design holds.
    for (int row = 0; row < LimitSheetCount(d.base_cnty); ++row) {
        for (int column = 0; column < LimitSheetCount(d.base_cntx); ++column) {
            if (next_card && !next_card()) return;
            const CardOrigin origin = CardOriginAt(scale, column, row);
            paint.mapping = PrintMapping(scale, origin);
            if (!composed.Empty() && !SendPixelsStretched(dc, composed, PrintedCardRect(scale, origin)))
                report.Add(kMemoryDcFailed, kMemoryDcCaption);
            if (base_drawn && d.p_outline) DrawCutMarks(dc, scale, origin, d);
            PaintCardItems(dc, d, paint, report);
        }
    }
}

}  // namespace

PrintPage CurrentPrintPage() {
    const PrinterMetrics& m = Metrics();
    return {m.dpi_x, m.dpi_y, m.offset_x, m.offset_y, FrontCorrection(), m.physical_width, m.physical_height};
}

void RenderDesignSheetWith(HDC dc, const CardDesign& d, const PrintPage& page, const CardPictures& pictures,
                           PaintReport& report, const std::function<bool()>& next_card) {
    ReportMissing(d, pictures, report);
    RenderCards(dc, d, page, pictures, report, next_card);
}

void RenderDesignSheet(HDC dc, const CardDesign& d, const PrintPage& page, PaintReport& report,
                       const std::function<bool()>& next_card) {
    EnterStartFolder();
    PagePictures loaded;
    LoadPage(d, loaded);
    CardPictures pictures;
    pictures.base.image = loaded.base.get();
    for (int i = 0; i < kMarkCount; ++i) pictures.mark[i].image = loaded.mark[i].get();
    pictures.face.image = loaded.face.get();
    RenderDesignSheetWith(dc, d, page, pictures, report, next_card);
}

void RenderSheet(HDC printer_dc, PaintReport& report) {
    // The design's own pictures, without the screen's working copies.
    const DesignPictures& held = Pictures();
    CardPictures pictures;
    pictures.base.image = held.base.Get();
    for (int i = 0; i < kMarkCount; ++i) pictures.mark[i].image = held.mark[i].Get();
    pictures.face.image = held.face.Get();
    // A page of many cards takes a while: the program keeps answering between cards, and
    // a stop request ends the page there.
    RenderDesignSheetWith(printer_dc, Design(), CurrentPrintPage(), pictures, report,
                          [printer_dc] { return PrintAbortProc(printer_dc, 0) != FALSE; });
}
