// Draws a printed page: the whole grid of cards of the sheet layout, each card composed
// from the design in the layers of the screen preview, scaled to the printer's pixels.
#pragma once
#include <windows.h>

#include <functional>

#include "design/card_design.h"
#include "print/print_math.h"
#include "render/card_painter.h"
#include "win/paint_report.h"

// The page of the current printer, from Metrics(), with the printer's front correction.
PrintPage CurrentPrintPage();

// The same page with the printer's back correction, for the back of the sheet.
PrintPage CurrentBackPrintPage();

// One page of fronts of the stored design (StoredDesign(), whichever side is shown) on
// the current printer, between StartPage and EndPage, with the design's loaded pictures
// (loaded from the front's paths while the back is shown). A picture that is not loaded ("PaintBMP Load") is
// left out of every card. The pictures of a card (base, face, marks with their
// transparency) are composed in memory at the printed resolution and sent as one opaque
// picture, the same for every card of the page; texts, QR codes and cut marks are drawn
// over it by the printer itself. Nothing is written to any file and nothing is shown:
// every failure is noted in report, loading failures first, for the print job to show.
// Before each card the messages waiting are dispatched (PrintAbortProc), so the program
// answers while a page of many cards is drawn; a stop request ends the page there.
void RenderSheet(HDC printer_dc, PaintReport& report);

// The same for any design and page, its pictures loaded from the design's paths for the
// page (start folder current). next_card, when given, is asked before each card; false
// ends the page.
void RenderDesignSheet(HDC dc, const CardDesign& design, const PrintPage& page, PaintReport& report,
                       const std::function<bool()>& next_card = {});

// The same with pictures already loaded (slots that should hold a picture and do not are
// reported as not loaded).
void RenderDesignSheetWith(HDC dc, const CardDesign& design, const PrintPage& page, const CardPictures& pictures,
                           PaintReport& report, const std::function<bool()>& next_card = {});

// The back page of the stored design on the current printer (its back correction): the
// back of every card of the grid in the cell PlaceBackCard gives, so that it lies behind
// its front once the sheet is turned over, painted from SideView(design, true) with the
// back's pictures. A back upright in its cell is drawn as a front is (texts and QR codes
// by the printer); a turned one is drawn whole in memory at the printed resolution and
// sent turned. No cut marks. Failures and the stop request as RenderSheet.
void RenderBackSheet(HDC printer_dc, PaintReport& report);

// The back page of `stored` (the front as its card, the back in .back) on page
// (page.correction the back's), the back's pictures loaded from its paths (start folder
// current).
void RenderDesignBackSheet(HDC dc, const CardDesign& stored, const PrintPage& page, PaintReport& report,
                           const std::function<bool()>& next_card = {});

// The same with the back's pictures already loaded.
void RenderDesignBackSheetWith(HDC dc, const CardDesign& stored, const PrintPage& page,
                               const CardPictures& back_pictures, PaintReport& report,
                               const std::function<bool()>& next_card = {});
