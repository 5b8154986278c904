// The print command: choose a printer and paper, lay out the sheet, and print the sheet
// once per copy as one document.
#pragma once
#include <windows.h>

// The document name the spooler shows.
inline constexpr wchar_t kPrintDocumentName[] = L"Vivivuz";

// The print command of the main window: the print-setup dialog (through the seam),
// MeasurePrinter, kStatusChangedMessage to main_window, the layout dialog, the capture
// files of transparent marks, then RunPrintJob with the copies chosen; the capture files
// are removed when the job ends. Returns 0 when the print dialog was cancelled,
// 1 when the layout dialog was cancelled (nothing printed, no capture written), 0 after
// printing. The caller refreshes the status line afterwards.
int PrintCommand(HWND main_window);

// Prints `copies` pages of the current sheet into the print dialog record's device
// context, one page per copy in one document, with the main window disabled and the stop
// dialog shown until the first page is done. A stop request aborts the document. What a
// page could not print is shown after that page, each failure once per job. A document
// that cannot be started is reported ("StartDoc"). Always ends with the main
// window enabled and focused and the device context deleted.
void RunPrintJob(HWND main_window, int copies);
