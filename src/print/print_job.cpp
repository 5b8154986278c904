#include "print/print_job.h"

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

bool PrintPages(HWND main_window, PrintDocument& document, int copies) {
    if (!document.started || document.aborted) return false;
    for (int copy = 1; copy <= copies; ++copy) {
        if (!StopFlag()) {
            StartPage(document.dc);
            PaintReport page;
            document.render(document.dc, page);
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
    }
    return true;
}

void EndPrintDocument(HWND main_window, PrintDocument& document) {
    if (document.started && !document.aborted) EndDoc(document.dc);
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
    PrintDocument document;
    if (StartPrintDocument(main_window, document)) PrintPages(main_window, document, copies);
    EndPrintDocument(main_window, document);
}
