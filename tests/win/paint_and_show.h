// Painting as the program's windows do it: paint, then show what failed through the seam.
#pragma once
#include <windows.h>

#include "print/print_renderer.h"
#include "render/card_preview.h"
#include "win/paint_report.h"

inline void PaintCardAndShow(HDC dc, const CardDesign& design, DesignPictures& pictures, int pick) {
    PaintReport report, shown;
    PaintCardLayers(dc, design, pictures, pick, report);
    ShowNewFailures(nullptr, report, shown);
}

inline void RenderSheetAndShow(HDC dc, const CardDesign& design, const PrintPage& page) {
    PaintReport report, shown;
    RenderDesignSheet(dc, design, page, report);
    ShowNewFailures(nullptr, report, shown);
}
