#include "print/print_renderer.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#include "design/design_ranges.h"
#include "design/saturating.h"
#include "print/print_stop.h"
#include "print/printer.h"
#include "print/printer_memory.h"
#include "render/card_mapping.h"
#include "render/picture_loading.h"
#include "render/pictures.h"
#include "render/pixel_image.h"
#include "win/guards.h"
#include "win/picture_stretch.h"
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

// The pictures of every card of the page, composed once at the printed resolution.
PixelImage ComposePagePictures(const CardDesign& d, const PrintPage& page, const PrintScale& scale,
                               const CardPictures& pictures, bool& base_drawn) {
    const Detail detail = FinestDetail(d, pictures);
    const int step = std::min(CompositionStep(page.dpi_x, scale.fx * scale.sx, detail.x),
                              CompositionStep(page.dpi_y, scale.fy * scale.sy, detail.y));
    CardPaint compose;
    compose.mapping = CompositionMapping(scale, step);
    compose.opaque_pictures = true;
    return ComposeCardPictures(d, compose, pictures, base_drawn);
}

void RenderCards(HDC dc, const CardDesign& d, const PrintPage& page, const CardPictures& pictures,
                 PaintReport& report, const std::function<bool()>& next_card) {
    const PrintScale scale = ComputePrintScale(d, page);
    bool base_drawn = false;
    const PixelImage composed = ComposePagePictures(d, page, scale, pictures, base_drawn);
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

// The whole card, pictures and items, drawn in memory over white at its printed size and
// turned clockwise by quarter_turns: a printer is never asked to draw turned text. Empty
// (noted in report) when the memory picture cannot be made.
PixelImage TurnedCard(const CardDesign& side, const PrintScale& scale, const CardPictures& pictures,
                      int quarter_turns, PaintReport& report) {
    const int w = TruncateToInt(scale.cw), h = TruncateToInt(scale.ch);
    if (w <= 0 || h <= 0) return {};
    if (static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) > kMaxPicturePixels) {
        report.Add(kMemoryDcFailed, kMemoryDcCaption);
        return {};
    }
    const BITMAPINFO format = TopDownInfo(w, h);
    void* bits = nullptr;
    BitmapHandle section(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(nullptr);
    if (!section || !bits || !memory) {
        report.Add(kMemoryDcFailed, kMemoryDcCaption);
        return {};
    }
    PixelImage card;
    {
        SelectGuard select(memory.Get(), section.Get());
        PatBlt(memory.Get(), 0, 0, w, h, WHITENESS);
        CardPaint paint;
        paint.mapping = CompositionMapping(scale, 1);
        paint.opaque_pictures = true;
        PaintCardPictures(memory.Get(), side, paint, pictures, report);
        PaintCardItems(memory.Get(), side, paint, report);
        GdiFlush();
        card.width = w;
        card.height = h;
        const auto* first = static_cast<const std::uint32_t*>(bits);
        card.pixels.assign(first, first + static_cast<std::size_t>(w) * h);
    }
    for (std::uint32_t& pixel : card.pixels) pixel |= 0xFF000000u;  // GDI leaves the alpha byte 0
    constexpr int kOrientationOfTurns[] = {1, 6, 3, 8};
    return OrientImage(card, kOrientationOfTurns[quarter_turns & 3]);
}

// The back page: each card's back in the cell PlaceBackCard gives, upright backs drawn as
// the fronts are (texts by the printer), turned ones as one turned picture; no cut marks.
void RenderBackCards(HDC dc, const CardDesign& stored, const PrintPage& page, const CardPictures& pictures,
                     PaintReport& report, const std::function<bool()>& next_card) {
    const auto side = std::make_unique<CardDesign>(SideView(stored, true));
    const PrintScale front_scale = ComputePrintScale(stored, page);
    const PrintScale scale = ComputePrintScale(*side, page);
    // Every cell of a page turns its card the same way.
    const int turns = PlaceBackCard(stored, page, 0, 0).quarter_turns;
    bool base_drawn = false;
    const PixelImage composed = turns == 0 ? ComposePagePictures(*side, page, scale, pictures, base_drawn)
                                           : TurnedCard(*side, scale, pictures, turns, report);
    CardPaint paint;
    for (int row = 0; row < LimitSheetCount(stored.base_cnty); ++row) {
        for (int column = 0; column < LimitSheetCount(stored.base_cntx); ++column) {
            if (next_card && !next_card()) return;
            const CardOrigin origin = PlaceBackCard(stored, page, column, row).origin;
            if (!composed.Empty() && !SendPixelsStretched(dc, composed, PrintedCardRect(front_scale, origin)))
                report.Add(kMemoryDcFailed, kMemoryDcCaption);
            if (turns != 0) continue;
            paint.mapping = PrintMapping(scale, origin);
            PaintCardItems(dc, *side, paint, report);
        }
    }
}

void TakePictures(const PagePictures& loaded, CardPictures& pictures) {
    pictures.base.image = loaded.base.get();
    for (int i = 0; i < kMarkCount; ++i) pictures.mark[i].image = loaded.mark[i].get();
    pictures.face.image = loaded.face.get();
}

// One side of the stored design on the current printer: the pictures held for the side
// shown, loaded from the files for the other side.
void RenderStoredSide(HDC printer_dc, bool back, PaintReport& report) {
    const auto stored = std::make_unique<CardDesign>(StoredDesign());
    // A page of many cards takes a while: the program keeps answering between cards, and
    // a stop request ends the page there.
    const std::function<bool()> next_card = [printer_dc] { return PrintAbortProc(printer_dc, 0) != FALSE; };
    const PrintPage page = back ? CurrentBackPrintPage() : CurrentPrintPage();
    if (back != BackShown()) {
        if (back)
            RenderDesignBackSheet(printer_dc, *stored, page, report, next_card);
        else
            RenderDesignSheet(printer_dc, *stored, page, report, next_card);
        return;
    }
    const CardPictures pictures = HeldPictures();
    if (back)
        RenderDesignBackSheetWith(printer_dc, *stored, page, pictures, report, next_card);
    else
        RenderDesignSheetWith(printer_dc, *stored, page, pictures, report, next_card);
}

}  // namespace

PrintPage CurrentPrintPage() {
    const PrinterMetrics& m = Metrics();
    return {m.dpi_x, m.dpi_y, m.offset_x, m.offset_y, FrontCorrection(), m.physical_width, m.physical_height};
}

PrintPage CurrentBackPrintPage() {
    PrintPage page = CurrentPrintPage();
    page.correction = BackCorrection();
    return page;
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
    TakePictures(loaded, pictures);
    RenderDesignSheetWith(dc, d, page, pictures, report, next_card);
}

void RenderDesignBackSheetWith(HDC dc, const CardDesign& stored, const PrintPage& page,
                               const CardPictures& back_pictures, PaintReport& report,
                               const std::function<bool()>& next_card) {
    ReportMissing(SideView(stored, true), back_pictures, report);
    RenderBackCards(dc, stored, page, back_pictures, report, next_card);
}

void RenderDesignBackSheet(HDC dc, const CardDesign& stored, const PrintPage& page, PaintReport& report,
                           const std::function<bool()>& next_card) {
    EnterStartFolder();
    PagePictures loaded;
    LoadPage(SideView(stored, true), loaded);
    CardPictures pictures;
    TakePictures(loaded, pictures);
    RenderDesignBackSheetWith(dc, stored, page, pictures, report, next_card);
}

void RenderSheet(HDC printer_dc, PaintReport& report) { RenderStoredSide(printer_dc, false, report); }

void RenderBackSheet(HDC printer_dc, PaintReport& report) { RenderStoredSide(printer_dc, true, report); }
