#include "print/print_job.h"

#include <utility>

#include "app/app_state.h"
#include "app/status_line.h"
#include "app/ui_seam.h"
#include "app/win_guards.h"
#include "print/print_renderer.h"
#include "print/print_stop.h"
#include "print/printer.h"
#include "print/sheet_layout.h"

namespace {

// Spools the copies; false when the user stopped the job (the document is then aborted).
bool SpoolCopies(HWND main_window, HDC dc) {
    for (int copy = 1; copy <= CopyCount(); ++copy) {
        StartPage(dc);
        RenderSheet(main_window, dc);
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
    // Only the device mode is kept (its handle value goes to the printer settings file).
    GlobalMemory names(std::exchange(record.hDevNames, nullptr));
    MeasurePrinter(record.hDC, record.hDevMode);
    RefreshStatusLine();

    ShowLayoutDialog(main_window);
    if (PrintFlag() != 1) {
        if (record.hDC) DeleteDC(std::exchange(record.hDC, nullptr));
        return 1;
    }
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& mark = Design().mark_data[i];
        if (mark.on && mark.m) WriteMarkCapture(main_window, i);
    }
    RunPrintJob(main_window);
    return 0;
}

void RunPrintJob(HWND main_window) {
    PRINTDLGW& record = PrintDialogRecord();
    HDC dc = record.hDC;
    OpenStopDialog(main_window);
    EnableWindow(main_window, FALSE);

    SetAbortProc(dc, PrintAbortProc);
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = kPrintDocumentName;
    const bool started = StartDocW(dc, &document) > 0;
    if (started && SpoolCopies(main_window, dc)) EndDoc(dc);

    CloseStopDialog();
    EnableWindow(main_window, TRUE);
    if (!started) ShowMessage(main_window, L"印刷を開始できませんでした。", L"StartDoc");
    SetFocus(main_window);
    if (dc) DeleteDC(dc);
    record.hDC = nullptr;
}
