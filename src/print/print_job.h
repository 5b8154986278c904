// The print command: choose a printer and paper, lay out the sheet, and print the sheet
// once per copy as one document.
#pragma once
#include <windows.h>

#include "print/print_renderer.h"
#include "win/paint_report.h"

// The document name the spooler shows.
inline constexpr wchar_t kPrintDocumentName[] = L"Vivivuz";

// The print command of the main window: the print-setup dialog (through the seam),
// MeasurePrinter, kStatusChangedMessage to main_window, the layout dialog, the capture
// files of transparent marks, then RunPrintJob with the copies chosen; the capture files
// are removed when the job ends. Returns 0 when the print dialog was cancelled,
// 1 when the layout dialog was cancelled (nothing printed, no capture written), 0 after
// printing. The caller refreshes the status line afterwards.
int PrintCommand(HWND main_window);

// A document being spooled into the print dialog record's device context, shared by the
// print command and the batch: StartPrintDocument, any number of PrintPages, then
// EndPrintDocument, which must always follow.
struct PrintDocument {
    const wchar_t* name = kPrintDocumentName;  // as the spooler shows it
    void (*render)(HDC dc, PaintReport& report) = RenderSheet;  // draws each page
    bool keep_dc = false;        // the device context stays the print dialog record's
    HDC dc = nullptr;
    bool started = false;        // StartDocW succeeded
    bool aborted = false;        // a stop request aborted it: no further page or document call
    bool keep_stop_dialog = false;  // the batch keeps it open for its whole length
    int pages = 0;               // pages ended so far
    PaintReport shown;           // failures shown once for the whole document
};

// Shows the stop dialog (clearing the stop flag), disables the main window, sets the
// abort procedure and starts the document (by default "Vivivuz"). False when StartDocW fails; the
// caller then goes straight to EndPrintDocument, which reports it ("StartDoc").
bool StartPrintDocument(HWND main_window, PrintDocument& document);

// Spools `copies` pages of the current sheet (none for copies of 0 or less). Each page:
// StartPage, the document's render (RenderSheet), then AbortDoc when the stop flag is set, else EndPage (a stop
// already requested aborts before the page starts); unless
// keep_stop_dialog, the stop dialog goes once a page is done. False once the document is
// aborted (also when it was before the call). Each failure is shown once per document,
// after the page that met it.
bool PrintPages(HWND main_window, PrintDocument& document, int copies);

// EndDoc unless the document was aborted or never started; closes the stop dialog,
// enables and focuses the main window, reports a document that could not be started,
// and, unless keep_dc, deletes the device context (the record's too).
void EndPrintDocument(HWND main_window, PrintDocument& document);

// Prints `copies` pages of the current sheet as one document: the three pieces above.
void RunPrintJob(HWND main_window, int copies);
