#include "print/print_job.h"

#include <memory>
#include <utility>

#include "print/print_renderer.h"
#include "print/print_stop.h"
#include "print/printer_memory.h"
#include "print/printer.h"
#include "print/sheet_layout.h"
#include "win/guards.h"
#include "win/paint_report.h"
#include "win/process.h"
#include "win/ui_seam.h"


int PrintCommand(HWND main_window) {
    PRINTDLGW& record = PrintDialogRecord();
    record.lStructSize = sizeof(record);
    record.hwndOwner = main_window;
    OfferRememberedPrinter(record);
    record.hDC = nullptr;
    record.Flags = PD_PRINTSETUP | PD_RETURNDC;
    if (Ui().PrintDialog(&record) != TRUE) {
        ForgetOfferedPrinter(record);
        return 0;
    }
    // The printer's name is taken from the device mode, which is then freed.
    GlobalMemory names(std::exchange(record.hDevNames, nullptr));
    MeasurePrinter(record.hDC, record.hDevMode);
    if (main_window) SendMessageW(main_window, kStatusChangedMessage, 0, 0);

    const LayoutChoice layout = ShowLayoutDialog(main_window);
    if (!layout.print) {
        if (record.hDC) DeleteDC(std::exchange(record.hDC, nullptr));
        return 1;
    }
    RunPrintJob(main_window, layout.copies);
    return 0;
}

bool StartPrintDocument(HWND main_window, PrintDocument& document) {
    document.dc = PrintDialogRecord().hDC;
    OpenStopDialog(main_window);
    EnableWindow(main_window, FALSE);
    SetAbortProc(document.dc, PrintAbortProc);
    DOCINFOW info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = document.name;
    document.started = document.dc && StartDocW(document.dc, &info) > 0;
    return document.started;
}

namespace {

// Starts a paused document again, with the stop dialog; false (no longer started) when
// the spooler refuses it.
bool ResumeDocument(HWND main_window, PrintDocument& document) {
    if (!document.paused) return true;
    document.paused = false;
    if (!StopDialog()) OpenStopDialog(main_window);
    DOCINFOW info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = document.name;
    document.started = StartDocW(document.dc, &info) > 0;
    return document.started;
}

// One page drawn by render; false once the document is aborted.
bool PrintOnePage(HWND main_window, PrintDocument& document, void (*render)(HDC, PaintReport&)) {
    if (!StopFlag()) {
        StartPage(document.dc);
        PaintReport page;
        render(document.dc, page);
        ShowNewFailures(main_window, page, document.shown);
    }
    if (StopFlag()) {
        AbortDoc(document.dc);
        document.aborted = true;
        return false;
    }
    if (!document.keep_stop_dialog) CloseStopDialog();
    EndPage(document.dc);
    ++document.pages;
    return true;
}

bool Printable(HWND main_window, PrintDocument& document) {
    return document.started && !document.aborted && ResumeDocument(main_window, document);
}

}  // namespace

bool PrintPages(HWND main_window, PrintDocument& document, int copies) {
    if (!Printable(main_window, document)) return false;
    for (int copy = 1; copy <= copies; ++copy) {
        if (!PrintOnePage(main_window, document, document.render)) return false;
        if (document.interleave_backs && !PrintOnePage(main_window, document, document.render_back)) return false;
    }
    return true;
}

bool PrintBackPages(HWND main_window, PrintDocument& document, int copies) {
    if (!Printable(main_window, document)) return false;
    for (int copy = 1; copy <= copies; ++copy)
        if (!PrintOnePage(main_window, document, document.render_back)) return false;
    return true;
}

bool EndDocumentSoFar(PrintDocument& document) {
    if (!document.started || document.aborted) return false;
    if (!document.paused) EndDoc(document.dc);
    document.paused = true;
    return true;
}

bool TurnPaperOver(HWND main_window, PrintDocument& document) {
    return EndDocumentSoFar(document) &&
           ShowMessage(main_window, kTurnPaperText, kTurnPaperCaption, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

DuplexRun PrepareDuplex(const CardDesign& stored, HDC printer_dc) {
    const DuplexRun run = ChooseDuplexRun(stored, CurrentPrinterDuplexes());
    if (run != DuplexRun::kDevice) return run;
    return SetPrinterDuplex(printer_dc, stored.duplex) ? DuplexRun::kDevice : DuplexRun::kManual;
}

void EndPrintDocument(HWND main_window, PrintDocument& document) {
    if (document.started && !document.aborted && !document.paused) EndDoc(document.dc);
    CloseStopDialog();
    EnableWindow(main_window, TRUE);
    if (!document.started) ShowMessage(main_window, L"印刷を開始できませんでした。", L"StartDoc");
    SetFocus(main_window);
    if (document.keep_dc) return;
    if (document.dc) DeleteDC(document.dc);
    document.dc = nullptr;
    PrintDialogRecord().hDC = nullptr;
}

void RunPrintJob(HWND main_window, int copies) {
    const auto stored = std::make_unique<CardDesign>(StoredDesign());
    const DuplexRun run = PrepareDuplex(*stored, PrintDialogRecord().hDC);
    PrintDocument document;
    document.interleave_backs = run == DuplexRun::kDevice;
    if (StartPrintDocument(main_window, document) && PrintPages(main_window, document, copies) &&
        run == DuplexRun::kManual && TurnPaperOver(main_window, document))
        PrintBackPages(main_window, document, copies);
    EndPrintDocument(main_window, document);
}
