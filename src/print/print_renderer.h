// Draws a printed page: the whole grid of cards of the sheet layout, each card composed
// from the design in the layers of the screen preview, scaled to the printer's pixels.
#pragma once
#include <windows.h>

#include <functional>

#include "design/card_design.h"
#include "print/print_math.h"
#include "win/paint_report.h"

// The page of the current printer, from Metrics(), with the printer's front correction.
PrintPage CurrentPrintPage();

// One page of the current design on the current printer, between StartPage and EndPage.
// The start folder becomes the current directory; pictures are loaded once for the page.
// A picture that cannot be loaded ("PaintBMP Load") is left out of every card; marks with
// white transparency are printed from their capture files (WriteMarkCapture), and a
// missing capture leaves the mark out silently. Nothing is shown: every failure is noted
// in report, loading failures first, for the print job to show. Before each card the
// messages waiting are dispatched (PrintAbortProc), so the program answers while a page of
// many cards is drawn; a stop request ends the page there.
void RenderSheet(HDC printer_dc, PaintReport& report);

// The same for any design and page (RenderSheet passes Design() and CurrentPrintPage()).
// next_card, when given, is asked before each card; false ends the page.
void RenderDesignSheet(HDC dc, const CardDesign& design, const PrintPage& page, PaintReport& report,
                       const std::function<bool()>& next_card = {});

// Writes "<start folder>\mask<mark>.tmp": the main window's pixels at the mark's place in
// the card preview, as a 24-bit bitmap file. The window is brought up to date first so
// that the capture shows the card, not a dialog that has just closed over it. A mark of
// no area writes nothing.
void WriteMarkCapture(HWND main_window, int mark);

// Removes every capture file WriteMarkCapture may have written, once the job that printed
// from them is over.
void RemoveMarkCaptures();
