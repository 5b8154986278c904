#include "list/continuous_print.h"

#include <memory>
#include <string>
#include <utility>

#include "design/fixed_text.h"
#include "design/settings_file_win.h"
#include "design/template_design.h"
#include "design/template_files_win.h"
#include "print/print_job.h"
#include "print/print_renderer.h"
#include "print/print_stop.h"
#include "print/printer.h"
#include "print/printer_memory.h"
#include "print/sheet_layout.h"
#include "render/picture_loading.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kBatchSaveFile[] = L"Vivivuz.dat";

void RepaintNow(HWND window) {
    if (!window) return;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

// Keeps every window answering (the stop dialog too) for ms, or until a stop request.
void WaitWithMessages(HDC dc, int ms) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms > 0 ? ms : 0);
    while (!StopFlag()) {
        PrintAbortProc(dc, 0);
        const ULONGLONG now = GetTickCount64();
        if (now >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

// Reads the record's template ("temp\" + name, never created) into the design: the card
// from the template, the sheet grid and options kept, the printed card size from the
// card's orientation. False (and said) when the name leaves the template folder or the
// file cannot be read; the design is then untouched.
bool ApplyRecordTemplate(HWND main_window, const ListRecord& record) {
    const std::u16string_view path = TextOf(record.path);
    const std::u16string_view prefix(kTemplatePrefix);
    if (path.substr(0, prefix.size()) != prefix ||
        CheckTemplateName(path.substr(prefix.size())) != TemplateNameCheck::Ok) {
        ShowMessage(main_window, L"テンプレートのファイル名が正しくありません。", L"templet_file",
                    MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!ReadTemplatePath(main_window, W(std::u16string(path).c_str()))) return false;
    ApplyTemplate(Design(), TheTemplate());
    return true;
}

void MergeStrings(const ListRecord& record) {
    for (int k = 0; k < kTextCount; ++k) SetText(Design().str_data[k].s64, TextOf(record.strings[k]));
}

// The print dialog of the batch; on OK the printer is measured and the status line told.
bool ChooseBatchPrinter(HWND main_window) {
    PRINTDLGW& dialog = PrintDialogRecord();
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = main_window;
    OfferRememberedPrinter(dialog);
    dialog.hDC = nullptr;
    dialog.Flags = PD_RETURNDC | PD_RETURNIC | PD_COLLATE | PD_NOSELECTION | PD_PAGENUMS | PD_SELECTION;
    dialog.nFromPage = dialog.nToPage = dialog.nMinPage = dialog.nMaxPage = 1;
    dialog.nCopies = 1;
    if (Ui().PrintDialog(&dialog) != TRUE) {
        ForgetOfferedPrinter(dialog);
        return false;
    }
    GlobalMemory names(std::exchange(dialog.hDevNames, nullptr));
    MeasurePrinter(dialog.hDC, dialog.hDevMode);
    if (main_window) SendMessageW(main_window, kStatusChangedMessage, 0, 0);
    return true;
}

struct BatchResult {
    int skipped = 0;  // records whose template could not be read
    bool backs_declined = false;  // キャンセル when asked to turn the paper: the batch ends there
};

// The back page of a one-sided record while the printer turns every sheet: left blank, so
// that the next record starts on a sheet of its own.
void BlankPage(HDC, PaintReport&) {}

// Sets the printer's duplex unit for the whole batch when the design asks for it and the
// printer has one (the records' templates decide which of them have a back).
bool PrinterTurnsSheets(HDC printer_dc) {
    const CardDesign& d = Design();
    const bool asked = (d.duplex == kDuplexLongEdge || d.duplex == kDuplexShortEdge) && d.duplex_device;
    return asked && CurrentPrinterDuplexes() && SetPrinterDuplex(printer_dc, d.duplex);
}

// The record's copies: fronts with their backs interleaved when the printer turns the
// sheets; by hand, every front, the question, then every back. False when the batch ends.
bool PrintRecordSides(HWND main_window, PrintDocument& document, int copies, bool device, BatchResult& result) {
    const bool two_sided = ChooseDuplexRun(Design(), device) != DuplexRun::kOneSided;
    document.interleave_backs = device;
    document.render_back = two_sided ? RenderBackSheet : BlankPage;
    if (!PrintPages(main_window, document, copies)) return false;
    if (!two_sided || device || copies <= 0) return true;
    if (!TurnPaperOver(main_window, document)) {
        result.backs_declined = !document.aborted;
        return false;
    }
    // The backs come out before the next record's fronts, which go on fresh paper.
    return PrintBackPages(main_window, document, copies) && EndDocumentSoFar(document);
}

// Prints the records into the started document; stops at a stop request.
void PrintRecords(HWND main_window, const PrintQueue& queue, PrintDocument& document, bool device,
                  BatchResult& result) {
    int previous_w = 0, previous_h = 0;
    bool print = false;  // as left by the most recent layout dialog
    for (int i = 0; i < queue.count && i < kPrintQueueCapacity; ++i) {
        const ListRecord& record = queue.records[i];
        if (StopFlag()) break;
        if (!ApplyRecordTemplate(main_window, record)) {
            ++result.skipped;
            continue;
        }
        LoadDesignPictures(main_window, true);
        const CardDesign& design = Design();
        if (design.base_w != previous_w || design.base_h != previous_h) {
            print = ShowLayoutDialog(main_window).print;
            // The modal dialog gave the main window back its input; the document is still open.
            EnableWindow(main_window, FALSE);
        }
        if (!print) continue;
        previous_w = design.base_w;
        previous_h = design.base_h;
        MergeStrings(record);
        RepaintNow(main_window);
        WaitWithMessages(document.dc, BatchPreviewWaitMs());
        if (StopFlag()) break;
        if (!PrintRecordSides(main_window, document, record.copies, device, result)) break;
    }
    if (StopFlag() && document.started && !document.aborted && !document.paused) {
        AbortDoc(document.dc);
        document.aborted = true;
    }
}

void ShowCompletion(HWND main_window, int skipped) {
    if (skipped == 0) {
        ShowMessage(main_window, L"連続印刷完了しました。", L"連続印刷");
        return;
    }
    wchar_t text[128];
    wsprintfW(text, L"連続印刷完了しました。\nテンプレートが読めなかった%d件は印刷していません。", skipped);
    ShowMessage(main_window, text, L"連続印刷");
}

}  // namespace

int& BatchPreviewWaitMs() {
    static int ms = 2000;
    return ms;
}

void ContinuousPrint(HWND main_window, const PrintQueue& queue) {
    if (queue.count <= 0) return;
    // The design comes back from this copy, not from the file: a failed save or a file
    // changed meanwhile must not bring back another design.
    const bool back_shown = BackShown();
    const auto saved = std::make_unique<CardDesign>(StoredDesign());
    // The records are made and printed in the stored form, their fronts shown.
    ShowSide(false);
    WriteSettingsFile(nullptr, SettingsScope::Full, kBatchSaveFile);

    if (ChooseBatchPrinter(main_window)) {
        const bool device = PrinterTurnsSheets(PrintDialogRecord().hDC);
        PrintDocument document;
        document.keep_stop_dialog = true;
        BatchResult result;
        if (StartPrintDocument(main_window, document)) PrintRecords(main_window, queue, document, device, result);
        const bool complete =
            document.started && !document.aborted && document.pages > 0 && !result.backs_declined;
        EndPrintDocument(main_window, document);
        if (complete) ShowCompletion(main_window, result.skipped);
    }

    SetStoredDesign(*saved);
    ShowSide(back_shown);
    EnterStartFolder();
    LoadDesignPictures(main_window, true);
    RepaintNow(main_window);
}
