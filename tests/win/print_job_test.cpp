#include "print/print_job.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "print/print_stop.h"
#include "print/printer.h"
#include "print/sheet_layout.h"
#include "recording_seam.h"
#include "render/picture_loading.h"
#include "res/sheet_layout_ids.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kTestPrinter[] = L"テスト用プリンタ";

// What the print dialog gives back: a device context (a memory one unless a test passes
// another) and a device mode naming the printer.
BOOL ChoosePrinter(PRINTDLGW* request, HDC dc = nullptr) {
    request->hDC = dc ? dc : CreateCompatibleDC(nullptr);
    request->hDevMode = GlobalAlloc(GHND, sizeof(DEVMODEW));
    auto* mode = static_cast<DEVMODEW*>(GlobalLock(request->hDevMode));
    lstrcpynW(mode->dmDeviceName, kTestPrinter, CCHDEVICENAME);
    GlobalUnlock(request->hDevMode);
    request->hDevNames = GlobalAlloc(GHND, 64);
    return TRUE;
}

class PrintJob : public ::testing::Test {
protected:
    ScratchFolder folder;
    HWND main_window = nullptr;
    wchar_t previous_directory[MAX_PATH] = {};
    std::wstring previous_printer;
    PrinterMetrics previous_metrics{};

    void SetUp() override {
        GetCurrentDirectoryW(MAX_PATH, previous_directory);
        previous_printer = CurrentPrinterName();
        previous_metrics = Metrics();
        Process().start_folder = folder.Path().c_str();
        for (const wchar_t* name : {L"pp.gdt", L"ms.gdt"}) {
            const auto bytes = MakeBmp(20, 20, [](int, int) { return RGB(200, 200, 200); });
            WriteBytes(folder.File(name), bytes.data(), bytes.size());
        }
        ResetDesign(Design(), SettingsScope::Full);
        Design().mark_data[0] = {1, 0, 0, 20, 10, 1, {}};  // white-transparent: captured
        main_window = CreateWindowW(L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 500,
                                    400, nullptr, nullptr, nullptr, nullptr);
        Process().main_window = main_window;
    }
    void TearDown() override {
        Process().main_window = nullptr;
        DestroyWindow(main_window);
        ResetDesign(Design(), SettingsScope::Full);
        Process().start_folder.clear();
        lstrcpynW(CurrentPrinterName(), previous_printer.c_str(), 256);
        Metrics() = previous_metrics;
        SetCurrentDirectoryW(previous_directory);
    }
    // A device context of the default printer, measured; null when there is no printer.
    static HDC DefaultPrinterDc() {
        wchar_t printer[256] = {};
        DWORD size = 256;
        if (!GetDefaultPrinterW(printer, &size)) return nullptr;
        HDC dc = CreateDCW(L"WINSPOOL", printer, nullptr, nullptr);
        if (dc) Metrics().dpi_x = Metrics().dpi_y = GetDeviceCaps(dc, LOGPIXELSX);
        return dc;
    }
    // Printing writes nothing into the start folder: transparent marks are composed in memory.
    bool CaptureWritten() const {
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(folder.File(L"*.tmp").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return true;
    }
    INT_PTR PrintThroughLayout(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        const INT_PTR result = DriveModal([&] { return static_cast<INT_PTR>(PrintCommand(main_window)); },
                                          script, &timed_out);
        EXPECT_FALSE(timed_out);
        return result;
    }
};

TEST_F(PrintJob, CancelledPrintDialogOpensNothingElse) {
    RecordingSeam seam;
    lstrcpynW(CurrentPrinterName(), L"before", 256);
    EXPECT_EQ(PrintCommand(main_window), 0);
    EXPECT_EQ(seam.print_dialogs, 1);
    const PRINTDLGW& record = PrintDialogRecord();
    EXPECT_EQ(record.Flags, static_cast<DWORD>(PD_PRINTSETUP | PD_RETURNDC));
    EXPECT_EQ(record.hwndOwner, main_window);
    EXPECT_EQ(record.lStructSize, 120u);
    EXPECT_STREQ(CurrentPrinterName(), L"before");
    EXPECT_FALSE(CaptureWritten());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(PrintJob, CancelledLayoutKeepsTheChosenPrinterAndPrintsNothing) {
    RecordingSeam seam;
    seam.print_answer = [](PRINTDLGW* request) {
        EXPECT_EQ(request->hDevMode, nullptr);  // no device mode is offered
        return ChoosePrinter(request);
    };
    EXPECT_EQ(PrintThroughLayout([](HWND layout) { ClickButton(layout, IDC_LAYOUT_CANCEL); }), 1);
    EXPECT_STREQ(CurrentPrinterName(), kTestPrinter);
    EXPECT_GT(Metrics().dpi_x, 0);
    EXPECT_FALSE(CaptureWritten());
    EXPECT_EQ(PrintDialogRecord().hDC, nullptr);  // deleted
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(PrintJob, ADocumentThatCannotStartIsReportedAndTheWindowComesBack) {
    RecordingSeam seam;
    seam.print_answer = [](PRINTDLGW* request) { return ChoosePrinter(request); };  // memory DC
    bool captured_for_the_job = true;
    seam.on_message = [&](const ShownMessage&) { captured_for_the_job = CaptureWritten(); };
    const INT_PTR result = PrintThroughLayout([](HWND layout) {
        SetControlText(layout, IDC_LAYOUT_COPIES, L"3");
        ClickButton(layout, IDC_LAYOUT_PRINT);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(captured_for_the_job);
    EXPECT_FALSE(CaptureWritten());
    ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].caption, L"StartDoc");
    EXPECT_EQ(seam.messages[0].owner, main_window);
    EXPECT_TRUE(IsWindowEnabled(main_window));
    EXPECT_EQ(StopDialog(), nullptr);
    EXPECT_EQ(PrintDialogRecord().hDC, nullptr);
}

// What the job looks like when its first message comes; the stop dialog's Cancel is then
// pressed.
struct JobAtFirstMessage {
    bool main_enabled_while_printing = true;
    std::wstring stop_caption, stop_button;
    HWND stop_owner = nullptr;
};

void PressStopOnMessage(RecordingSeam& seam, JobAtFirstMessage& job) {
    seam.on_message = [&job](const ShownMessage& message) {
        HWND stop = StopDialog();
        if (!stop) return;
        job.main_enabled_while_printing = IsWindowEnabled(message.owner) != FALSE;
        wchar_t text[64] = {};
        GetWindowTextW(stop, text, 64);
        job.stop_caption = text;
        GetDlgItemTextW(stop, IDCANCEL, text, 64);
        job.stop_button = text;
        job.stop_owner = GetWindow(stop, GW_OWNER);
        SendMessageW(stop, WM_COMMAND, IDCANCEL, 0);
    };
}

TEST_F(PrintJob, CancelDuringTheFirstPageAbortsTheDocumentAndTheNextJobStartsClean) {
    HDC printer_dc = DefaultPrinterDc();
    if (!printer_dc) GTEST_SKIP() << "no printer installed";
    Design().str_data[2].on = 1;
    {
        RecordingSeam seam;
        JobAtFirstMessage job;
        PressStopOnMessage(seam, job);
        PrintDialogRecord().hDC = printer_dc;
        RunPrintJob(main_window, 3);  // no base picture and no logo: the first page says so
        // Pages 2 and 3 were never rendered.
        ASSERT_EQ(seam.messages.size(), 2u) << seam.MessageTexts();
        EXPECT_EQ(seam.messages[0].text, L"ベース画像が読み込み出来ません。");
        EXPECT_EQ(seam.messages[1].text, L"マーク画像が読み込み出来ません。");
        EXPECT_EQ(seam.messages[0].caption, L"PaintBMP Load");
        EXPECT_FALSE(job.main_enabled_while_printing);
        EXPECT_EQ(job.stop_caption, L"印刷中");
        EXPECT_EQ(job.stop_button, L"キャンセル");
        EXPECT_EQ(job.stop_owner, main_window);
    }
    EXPECT_EQ(StopFlag(), 1);
    EXPECT_EQ(StopDialog(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main_window));
    EXPECT_EQ(PrintDialogRecord().hDC, nullptr);

    RecordingSeam seam;
    PrintDialogRecord().hDC = CreateCompatibleDC(nullptr);
    RunPrintJob(main_window, 3);
    EXPECT_EQ(StopFlag(), 0);
    EXPECT_EQ(seam.MessageTexts(), L"印刷を開始できませんでした。");
}

// Two cards a page, two pages, the same QR code that cannot be drawn on each card: the
// job says so once.
TEST_F(PrintJob, AQrCodeThatCannotBeDrawnIsShownOncePerJob) {
    HDC printer_dc = DefaultPrinterDc();
    if (!printer_dc) GTEST_SKIP() << "no printer installed";
    Design().base_cntx = 2, Design().base_cnty = 1;
    Design().qrcode_data[0].on = 1;  // and no text
    RecordingSeam seam;
    PrintDialogRecord().hDC = printer_dc;
    RunPrintJob(main_window, 2);
    int qr_messages = 0;
    for (const ShownMessage& m : seam.messages) qr_messages += m.text == L"二次元コード表示不可！";
    EXPECT_EQ(qr_messages, 1) << seam.MessageTexts();
    EXPECT_EQ(seam.messages.size(), 3u) << seam.MessageTexts();  // and the missing base and logo, once
    EXPECT_EQ(PrintDialogRecord().hDC, nullptr);
}

}  // namespace

namespace {

// A two-sided design turned by hand: the fronts have their picture, the back has none, so
// a back page that is drawn says so.
void TwoSidedByHand(const ScratchFolder& folder) {
    CardDesign& d = Design();
    d.mark_data[0].on = 0;
    d.base_cntx = d.base_cnty = 1;
    const auto bytes = MakeBmp(10, 6, [](int, int) { return RGB(0, 0, 200); });
    WriteBytes(folder.File(L"front.bmp"), bytes.data(), bytes.size());
    SetText(d.base_filepass, U16(folder.File(L"front.bmp").c_str()));
    d.back_on = 1;
    d.duplex = kDuplexLongEdge;
    ResetBack(d.back);
    SetText(d.back.base_filepass, u"missing.bmp");
}

TEST_F(PrintJob, ByHandTheFrontsAreFollowedByTheQuestionAndCancelEndsTheJobQuietly) {
    HDC printer_dc = DefaultPrinterDc();
    if (!printer_dc) GTEST_SKIP() << "no printer installed";
    TwoSidedByHand(folder);
    RecordingSeam seam;
    LoadDesignPictures(nullptr, true);  // the front's, shown
    seam.message_answers = {IDCANCEL};
    bool fronts_ended = false;
    seam.on_message = [&](const ShownMessage&) { fronts_ended = StopDialog() == nullptr; };
    PrintDialogRecord().hDC = printer_dc;
    RunPrintJob(main_window, 2);
    ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].text, L"表面の印刷が終わりました。用紙を裏返してセットし、OKを押してください。");
    EXPECT_EQ(seam.messages[0].caption, L"両面印刷！");
    EXPECT_EQ(seam.messages[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(seam.messages[0].owner, main_window);
    EXPECT_TRUE(fronts_ended);
    EXPECT_TRUE(IsWindowEnabled(main_window));
    EXPECT_EQ(StopDialog(), nullptr);
    EXPECT_EQ(PrintDialogRecord().hDC, nullptr);
    ReleaseDesignPictures();
}

TEST_F(PrintJob, ByHandOkPrintsTheBacksAfterTheQuestionFromTheStoredDesign) {
    HDC printer_dc = DefaultPrinterDc();
    if (!printer_dc) GTEST_SKIP() << "no printer installed";
    TwoSidedByHand(folder);
    ShowSide(true);  // the window shows the back, whose picture is missing: the job still prints fronts first
    RecordingSeam seam;
    seam.message_answers = {IDOK};
    PrintDialogRecord().hDC = printer_dc;
    RunPrintJob(main_window, 1);
    ShowSide(false);
    EXPECT_EQ(seam.MessageTexts(),
              L"表面の印刷が終わりました。用紙を裏返してセットし、OKを押してください。\n"
              L"ベース画像が読み込み出来ません。");
    EXPECT_EQ(PrintDialogRecord().hDC, nullptr);

    // A one-sided choice prints the fronts only and asks nothing.
    Design().duplex = kDuplexNone;
    RecordingSeam one_sided;
    LoadDesignPictures(nullptr, true);
    PrintDialogRecord().hDC = DefaultPrinterDc();
    RunPrintJob(main_window, 1);
    EXPECT_TRUE(one_sided.messages.empty()) << one_sided.MessageTexts();
    ReleaseDesignPictures();
}

}  // namespace
