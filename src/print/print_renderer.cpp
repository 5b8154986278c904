#include "print/print_renderer.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "design/design_ranges.h"
#include "design/fixed_text.h"
#include "print/mark_capture.h"
#include "print/print_stop.h"
#include "print/printer.h"
#include "print/printer_memory.h"
#include "render/bitmap_export.h"
#include "render/card_mapping.h"
#include "render/card_painter.h"
#include "render/picture_loading.h"
#include "win/file_replace.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kLoadCaption[] = L"PaintBMP Load";

// The pictures of a page, read once and sent to every card from the same buffers.
struct PagePictures {
    PixelPicture base;
    PixelPicture mark[kMarkCount];
    PixelPicture face;
};

std::wstring CaptureFile(int mark) {
    const std::u16string name = MarkCaptureName(U16(StartFolderOrCurrent().c_str()), mark);
    return W(name.c_str());
}

void ReadPixels(HBITMAP bitmap, PixelPicture& picture, PaintReport& report) {
    if (!ReadPixelPicture(bitmap, picture)) report.Add(kMemoryDcFailed, kMemoryDcCaption);
}

// Loads a picture file of the design and reads its pixels; a file that cannot be loaded
// is noted with text.
void LoadPagePicture(const char16_t* path, int load_mode, const wchar_t* text, PixelPicture& picture,
                     PaintReport& report) {
    BitmapHandle bitmap(LoadDialogPicture(W(path), load_mode));
    if (!bitmap) {
        report.Add(text, kLoadCaption);
        return;
    }
    ReadPixels(bitmap.Get(), picture, report);
}

// A capture that cannot be loaded leaves its mark out without a word.
void LoadCapture(int mark, PixelPicture& picture, PaintReport& report) {
    BitmapHandle bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, CaptureFile(mark).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    ReadPixels(bitmap.Get(), picture, report);
}

void LoadPage(const CardDesign& d, PagePictures& page, PaintReport& report) {
    LoadPagePicture(d.base_filepass, d.base_load_mode, L"ベース画像が読み込み出来ません。", page.base, report);
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& mark = d.mark_data[i];
        if (!mark.on) continue;
        if (mark.m) {
            LoadCapture(i, page.mark[i], report);
        } else {
            LoadPagePicture(mark.fm, d.mark_load_mode, L"マーク画像が読み込み出来ません。", page.mark[i], report);
        }
    }
    if (d.phot_data.on)
        LoadPagePicture(d.phot_data.fm, d.phot_load_mode, L"顔の画像が読み込み出来ません。", page.face, report);
}

CardPictures PrinterPictures(const PagePictures& page) {
    CardPictures out;
    out.base.pixels = &page.base;
    for (int i = 0; i < kMarkCount; ++i) out.mark[i].pixels = &page.mark[i];
    out.face.pixels = &page.face;
    return out;
}

// Corner marks with the context's current pen.
void DrawCutMarks(HDC dc, const PrintScale& s, CardOrigin origin, const CardDesign& d) {
    for (const CutMark& mark : CutMarks(s, origin, d.p_outline_len, d.p_outline_size)) {
        MoveToEx(dc, mark[0].x, mark[0].y, nullptr);
        LineTo(dc, mark[1].x, mark[1].y);
        LineTo(dc, mark[2].x, mark[2].y);
    }
}

}  // namespace

PrintPage CurrentPrintPage() {
    const PrinterMetrics& m = Metrics();
    return {m.dpi_x, m.dpi_y, m.offset_x, m.offset_y, FrontCorrection()};
}

void RenderDesignSheet(HDC dc, const CardDesign& d, const PrintPage& page, PaintReport& report,
                       const std::function<bool()>& next_card) {
    EnterStartFolder();
    const PrintScale scale = ComputePrintScale(d, page);
    PagePictures loaded;
    LoadPage(d, loaded, report);
    const CardPictures pictures = PrinterPictures(loaded);
    CardPaint paint;
    paint.transparent_marks = false;  // their captures carry the transparency
    // Never more cards than the layout dialog allows, whatever the design holds.
    for (int row = 0; row < LimitSheetCount(d.base_cnty); ++row) {
        for (int column = 0; column < LimitSheetCount(d.base_cntx); ++column) {
            if (next_card && !next_card()) return;
            const CardOrigin origin = CardOriginAt(scale, column, row);
            paint.mapping = PrintMapping(scale, origin);
            if (PaintCardBase(dc, d, paint, pictures, report) && d.p_outline) DrawCutMarks(dc, scale, origin, d);
            PaintCardItems(dc, d, paint, pictures, report);
        }
    }
}

void RenderSheet(HDC printer_dc, PaintReport& report) {
    // A page of many cards takes a while: the program keeps answering between cards, and
    // a stop request ends the page there.
    RenderDesignSheet(printer_dc, Design(), CurrentPrintPage(), report,
                      [printer_dc] { return PrintAbortProc(printer_dc, 0) != FALSE; });
}

void WriteMarkCapture(HWND main_window, int mark) {
    if (mark < 0 || mark >= kMarkCount) return;
    const std::optional<CaptureArea> area = MarkCaptureArea(Design().mark_data[mark]);
    if (!area) return;
    const std::wstring file = CaptureFile(mark);
    UpdateWindow(main_window);
    std::vector<std::uint8_t> bytes;
    if (CaptureWindowBitmap(main_window, area->x, area->y, area->w, area->h, bytes) !=
        WindowCapture::kCaptured) {
        ShowMessage(main_window, kMemoryDcFailed, kMemoryDcCaption);
        // An older capture would print a stale picture; without one the mark is left out.
        DeleteFileW(file.c_str());
        return;
    }
    if (!ReplaceFileContent(file.c_str(), bytes))
        ShowMessage(main_window, L"ﾌｧｲﾙが開けません", L"CreateFile", MB_OK | MB_ICONWARNING);
}

void RemoveMarkCaptures() {
    for (int mark = 0; mark < kMarkCount; ++mark) DeleteFileW(CaptureFile(mark).c_str());
}
