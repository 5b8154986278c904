// The calibration page "位置合わせ印刷": the sheet's card outlines and the two crosses with
// their millimetre scales (CalibrationMarks), printed with the printer's correction, so
// that the user can read how far the printer's print lies from the stock's real edges.
#pragma once
#include <windows.h>

#include "design/card_design.h"
#include "print/print_math.h"

// The document name the spooler shows for the page.
inline constexpr wchar_t kCalibrationDocumentName[] = L"Vivivuz 位置合わせ";

// Draws the page for the design's grid on a page of that resolution and correction into
// dc, which may be any device context (a printer's, or a bitmap in the tests), with an
// explanation naming printer_name and the correction.
void RenderCalibrationPage(HDC dc, const CardDesign& design, const PrintPage& page, const wchar_t* printer_name);

// Prints one calibration page of the current design on the current printer, as its own
// document, into the print dialog record's device context, which stays open for the
// print that may follow. owner (the layout dialog) is disabled meanwhile and owns the
// stop dialog and any message; a document that cannot be started is reported.
void PrintCalibrationPage(HWND owner);
