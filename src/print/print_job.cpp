#include "print/print_job.h"

#include <utility>

#include "print/print_renderer.h"
#include "print/print_stop.h"
#include "print/printer.h"
#include "print/sheet_layout.h"
#include "win/guards.h"
#include "win/paint_report.h"
#include "win/process.h"
#include "win/ui_seam.h"

namespace {

// Spools the copies; false when the user stopped the job (the document is then aborted).
// Each failure is shown once for the whole job, after the page that met it.
bool SpoolCopies(HWND main_window, HDC dc, int copies) {
    PaintReport shown;
    for (int copy = 1; copy <= copies; ++copy) {
        StartPage(dc);
        PaintReport page;
        RenderSheet(dc, page);
        ShowNewFailures(main_window, page, shown);
        if (StopFlag()) {
            AbortDoc(dc);
            return false;
        }
        CloseStopDialog();
        EndPage(dc);
    }
    return true;
}

}  // namespace

int PrintCommand(HWND main_window) {
    PRINTDLGW& record = PrintDialogRecord();
    record.lStructSize = sizeof(record);
    record.hwndOwner = main_window;
    record.hDevMode = nullptr;
    record.hDevNames = nullptr;
    record.hDC = nullptr;
    record.Flags = PD_PRINTSETUP | PD_RETURNDC;
    if (Ui().PrintDialog(&record) != TRUE) return 0;
    // The printer's name is taken from the device mode, which is then freed.
    GlobalMemory names(std::exchange(record.hDevNames, nullptr));
    MeasurePrinter(record.hDC, record.hDevMode);
    if (main_window) SendMessageW(main_window, kStatusChangedMessage, 0, 0);

    const LayoutChoice layout = ShowLayoutDialog(main_window);
    if (!layout.print) {
        if (record.hDC) DeleteDC(std::exchange(record.hDC, nullptr));
        return 1;
    }
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& mark = Design().mark_data[i];
        if (mark.on && mark.m) WriteMarkCapture(main_window, i);
    }
    RunPrintJob(main_window, layout.copies);
    RemoveMarkCaptures();
    return 0;
}

void RunPrintJob(HWND main_window, int copies) {
    PRINTDLGW& record = PrintDialogRecord();
    HDC dc = record.hDC;
    OpenStopDialog(main_window);
    EnableWindow(main_window, FALSE);

    SetAbortProc(dc, PrintAbortProc);
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = kPrintDocumentName;
    const bool started = StartDocW(dc, &document) > 0;
    if (started && SpoolCopies(main_window, dc, copies)) EndDoc(dc);

    CloseStopDialog();
    EnableWindow(main_window, TRUE);
    if (!started) ShowMessage(main_window, L"印刷を開始できませんでした。", L"StartDoc");
    SetFocus(main_window);
    if (dc) DeleteDC(dc);
    record.hDC = nullptr;
}
