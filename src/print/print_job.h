// The print command: choose a printer and paper, lay out the sheet, and print the sheet
// once per copy as one document; a two-sided design prints its backs too, interleaved by
// the printer's duplex unit or as a second document once the user has turned the paper.
#pragma once
#include <windows.h>

#include "print/print_renderer.h"
#include "win/paint_report.h"

// The document name the spooler shows.
inline constexpr wchar_t kPrintDocumentName[] = L"Vivivuz";

// Asked between the fronts and the backs of a two-sided job turned by hand.
inline constexpr wchar_t kTurnPaperText[] = L"表面の印刷が終わりました。用紙を裏返してセットし、OKを押してください。";
inline constexpr wchar_t kTurnPaperCaption[] = L"両面印刷！";

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
    void (*render)(HDC dc, PaintReport& report) = RenderSheet;  // draws each page (the fronts)
    void (*render_back)(HDC dc, PaintReport& report) = RenderBackSheet;  // draws each back page
    bool interleave_backs = false;  // every page is followed by its back (the printer turns the sheet)
    bool keep_dc = false;        // the device context stays the print dialog record's
    HDC dc = nullptr;
    bool started = false;        // StartDocW succeeded
    bool aborted = false;        // a stop request aborted it: no further page or document call
    bool paused = false;         // ended after the fronts: the next page starts a document again
    bool keep_stop_dialog = false;  // the batch keeps it open for its whole length
    int pages = 0;               // pages ended so far
    PaintReport shown;           // failures shown once for the whole document
};

// Shows the stop dialog (clearing the stop flag), disables the main window, sets the
// abort procedure and starts the document (by default "Vivivuz"). False when StartDocW fails; the
// caller then goes straight to EndPrintDocument, which reports it ("StartDoc").
bool StartPrintDocument(HWND main_window, PrintDocument& document);

// Spools `copies` pages of the current sheet (none for copies of 0 or less), each followed
// by its back page when interleave_backs. Each page: StartPage, the document's render
// (RenderSheet, or render_back), then AbortDoc when the stop flag is set, else EndPage (a stop
// already requested aborts before the page starts); unless
// keep_stop_dialog, the stop dialog goes once a page is done. False once the document is
// aborted (also when it was before the call). Each failure is shown once per document,
// after the page that met it. A paused document is started again first (the stop dialog
// shown again); when it cannot be, false, and EndPrintDocument reports it.
bool PrintPages(HWND main_window, PrintDocument& document, int copies);

// The same with `copies` back pages (render_back) only.
bool PrintBackPages(HWND main_window, PrintDocument& document, int copies);

// Ends the document so far (EndDoc) so that its pages come out of the printer; the next
// page starts it again. False for a document that was aborted or never started.
bool EndDocumentSoFar(PrintDocument& document);

// Two-sided by hand, once the fronts are spooled: the document so far is ended (EndDoc) so
// that its pages come out of the printer, then the seam asks kTurnPaperText (caption
// kTurnPaperCaption, OK/キャンセル, information icon), owned by main_window. True on OK: the
// next page starts the document again. False on キャンセル, which is no failure and
// reports nothing, and for a document that was aborted or never started.
bool TurnPaperOver(HWND main_window, PrintDocument& document);

// Makes the printer turn every sheet by itself (SetPrinterDuplex) when the stored design
// and the printer call for it (ChooseDuplexRun), before the document starts; falls back
// to turning by hand when the printer refuses the setting. Returns the run to print.
DuplexRun PrepareDuplex(const CardDesign& stored, HDC printer_dc);

// EndDoc unless the document was aborted, never started or paused; closes the stop dialog,
// enables and focuses the main window, reports a document that could not be started,
// and, unless keep_dc, deletes the device context (the record's too).
void EndPrintDocument(HWND main_window, PrintDocument& document);

// Prints `copies` pages of the current sheet as one document: the three pieces above. A
// two-sided stored design (ChooseDuplexRun) prints each copy's back after it, by the
// printer's duplex unit in the same document, or by hand: every front, TurnPaperOver, then
// every back.
void RunPrintJob(HWND main_window, int copies);
