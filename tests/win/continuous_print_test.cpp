#include "list/continuous_print.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "design/settings_file.h"
#include "list/list_editor.h"
#include "print/print_stop.h"
#include "print/printer.h"
#include "recording_seam.h"
#include "res/sheet_layout_ids.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

// Presses 印刷 in every layout dialog that opens and notes the card size it was shown for.
struct LayoutAnswers {
    std::vector<std::pair<int, int>> printed_sizes;  // base_pw, base_ph
    std::set<HWND> seen;
    bool stop_after_second = false;
};

LayoutAnswers* g_answers = nullptr;

BOOL CALLBACK PressPrint(HWND window, LPARAM) {
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    if (!IsWindowVisible(window) || std::wstring(title) != L"印刷の位置設定" || g_answers->seen.count(window)) return TRUE;
    g_answers->seen.insert(window);
    g_answers->printed_sizes.emplace_back(Design().base_pw, Design().base_ph);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_LAYOUT_PRINT, BN_CLICKED), 0);
    // Stop while the record after this dialog is shown.
    if (g_answers->stop_after_second && g_answers->printed_sizes.size() == 2 && StopDialog())
        PostMessageW(StopDialog(), WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK WatchLayouts(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), PressPrint, 0);
}

// What the print dialog gives back for the named printer: its device context and a
// device mode naming it.
BOOL ChoosePrinter(PRINTDLGW* request, const wchar_t* printer) {
    request->hDC = CreateDCW(L"WINSPOOL", printer, nullptr, nullptr);
    request->hDevMode = GlobalAlloc(GHND, sizeof(DEVMODEW));
    auto* mode = static_cast<DEVMODEW*>(GlobalLock(request->hDevMode));
    lstrcpynW(mode->dmDeviceName, printer, CCHDEVICENAME);
    GlobalUnlock(request->hDevMode);
    return request->hDC ? TRUE : FALSE;
}

// The cards of these tests have only a base picture, which is there, so every message is
// the batch's own.
void WithoutPictures(CardDesign& design) {
    SetText(design.base_filepass, u"base.bmp");
    for (MarkData& mark : design.mark_data) mark.on = 0;
    design.phot_data.on = 0;
}

class ContinuousPrinting : public ::testing::Test {
protected:
    ScratchStartFolder folder;
    HWND main_window = nullptr;
    std::unique_ptr<PrintQueue> queue = std::make_unique<PrintQueue>();
    std::u16string users_name = u"利用者の名前";
    std::wstring previous_printer;
    PrinterMetrics previous_metrics{};
    wchar_t default_printer[256] = {};

    void SetUp() override {
        previous_printer = CurrentPrinterName();
        previous_metrics = Metrics();
        for (const wchar_t* name : {L"pp.gdt", L"ms.gdt", L"base.bmp"}) {
            const auto bytes = MakeBmp(20, 20, [](int, int) { return RGB(200, 200, 200); });
            WriteBytes(folder.File(name), bytes.data(), bytes.size());
        }
        CreateDirectoryW(folder.File(L"temp").c_str(), nullptr);
        WriteTemplate(L"横.tep", 455, 275);
        WriteTemplate(L"縦.tep", 275, 455);
        ResetDesign(Design(), SettingsScope::Full);
        SetText(Design().str_data[2].s64, users_name);
        WithoutPictures(Design());
        Design().pm_size_x = 910;
        Design().pm_size_y = 550;
        Design().base_pw = 123;
        main_window = CreateWindowW(L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400, nullptr, nullptr,
                                    nullptr, nullptr);
        Process().main_window = main_window;
        BatchPreviewWaitMs() = 50;
        queue->count = 0;
    }
    void TearDown() override {
        Process().main_window = nullptr;
        DestroyWindow(main_window);
        ResetDesign(Design(), SettingsScope::Full);
        BatchPreviewWaitMs() = 2000;
        lstrcpynW(CurrentPrinterName(), previous_printer.c_str(), 256);
        Metrics() = previous_metrics;
    }

    // Reads the default printer's name into default_printer; false when none is installed.
    bool HaveDefaultPrinter() {
        DWORD size = 256;
        return GetDefaultPrinterW(default_printer, &size) != FALSE;
    }
    // The seam's print dialog chooses the default printer.
    void AnswerWithDefaultPrinter(RecordingSeam& seam) {
        seam.print_answer = [this](PRINTDLGW* request) { return ChoosePrinter(request, default_printer); };
    }
    // The batch with every layout dialog answered 印刷, noted in answers.
    void PrintAnswering(LayoutAnswers& answers) {
        g_answers = &answers;
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, WatchLayouts);
        ContinuousPrint(main_window, *queue);
        KillTimer(nullptr, timer);
        g_answers = nullptr;
    }
    void WriteTemplate(const wchar_t* name, int w, int h) {
        auto design = std::make_unique<CardDesign>();
        ResetDesign(*design, SettingsScope::Design);
        design->base_w = w;
        design->base_h = h;
        design->str_data[2].on = 1;
        WithoutPictures(*design);
        const auto bytes = SettingsFileBytes(*design, SettingsScope::Design);
        ASSERT_TRUE(WriteBytes(folder.File(std::wstring(L"temp\\") + name), bytes.data(), bytes.size()));
    }
    void Add(const std::u16string& path, int copies, const std::u16string& name) {
        ListRecord& record = queue->records[queue->count++];
        record = {};
        SetText(record.path, path);
        record.copies = copies;
        SetText(record.strings[2], name);
    }
    bool Exists(const wchar_t* name) const {
        return GetFileAttributesW(folder.File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    void ExpectUsersDesign() {
        EXPECT_EQ(TextOf(Design().str_data[2].s64), users_name);
        EXPECT_EQ(Design().base_pw, 123);
        EXPECT_EQ(Design().base_w, 455);
        EXPECT_TRUE(IsWindowEnabled(main_window));
        EXPECT_EQ(StopDialog(), nullptr);
        EXPECT_EQ(PrintDialogRecord().hDC, nullptr);
    }
};

TEST_F(ContinuousPrinting, ACancelledPrintDialogBringsTheDesignBack) {
    RecordingSeam seam;
    Add(u"temp\\横.tep", 1, u"青木");
    ContinuousPrint(main_window, *queue);
    EXPECT_EQ(seam.print_dialogs, 1);
    EXPECT_EQ(PrintDialogRecord().Flags,
              static_cast<DWORD>(PD_RETURNDC | PD_RETURNIC | PD_COLLATE | PD_NOSELECTION | PD_PAGENUMS | PD_SELECTION));
    EXPECT_TRUE(Exists(L"Vivivuz.dat"));
    EXPECT_TRUE(seam.messages.empty());
    ExpectUsersDesign();
}

// Three landscape records ask for the layout once, a portrait one again with the card
// size turned; records whose template is missing or leaves the folder are said and
// skipped; a stop while the portrait card is shown aborts everything, and the design
// comes back.
TEST_F(ContinuousPrinting, OneLayoutPerCardSizeAndAStopBringsTheDesignBack) {
    if (!HaveDefaultPrinter()) GTEST_SKIP() << "no printer installed";
    RecordingSeam seam;
    AnswerWithDefaultPrinter(seam);
    Add(u"temp\\横.tep", 1, u"青木");
    Add(u"temp\\無い.tep", 1, u"石井");
    Add(u"temp\\横.tep", 0, u"上田");
    Add(u"temp\\..\\x", 1, u"外");
    Add(u"temp\\横.tep", -3, u"江藤");
    Add(u"temp\\縦.tep", 1, u"太田");
    LayoutAnswers answers;
    answers.stop_after_second = true;
    PrintAnswering(answers);

    ASSERT_EQ(answers.printed_sizes.size(), 2u);
    EXPECT_EQ(answers.printed_sizes[0], std::make_pair(910, 550));
    EXPECT_EQ(answers.printed_sizes[1], std::make_pair(550, 910));
    ASSERT_EQ(seam.messages.size(), 2u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].caption, L"CreateFile");
    EXPECT_EQ(seam.messages[1].caption, L"templet_file");
    EXPECT_FALSE(Exists(L"temp\\無い.tep"));  // reading never creates the file
    EXPECT_EQ(StopFlag(), 1);
    ExpectUsersDesign();
}

// A finished batch says so, with the records it could not print.
TEST_F(ContinuousPrinting, TheCompletionMessageCountsTheSkippedRecords) {
    if (!HaveDefaultPrinter()) GTEST_SKIP() << "no printer installed";
    RecordingSeam seam;
    AnswerWithDefaultPrinter(seam);
    Design().base_cntx = Design().base_cnty = 1;
    Add(u"temp\\無い.tep", 1, u"石井");
    Add(u"temp\\横.tep", 1, u"青木");
    LayoutAnswers answers;
    PrintAnswering(answers);

    EXPECT_EQ(answers.printed_sizes.size(), 1u);
    ASSERT_EQ(seam.messages.size(), 2u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[1].caption, L"連続印刷");
    EXPECT_EQ(seam.messages[1].text,
              L"連続印刷完了しました。\nテンプレートが読めなかった1件は印刷していません。");
    EXPECT_EQ(seam.messages[1].owner, main_window);
    EXPECT_EQ(StopFlag(), 0);
    EXPECT_EQ(TextOf(Design().str_data[2].s64), users_name);
}

// Two people of a two-sided template, turned by hand: each record's fronts, the question,
// its backs (the template's, whose picture is missing); then the user's design comes back
// with its back shown as before.
TEST_F(ContinuousPrinting, TwoSidedRecordsAskToTurnThePaperBetweenTheirFrontsAndBacks) {
    if (!HaveDefaultPrinter()) GTEST_SKIP() << "no printer installed";
    {
        auto design = std::make_unique<CardDesign>();
        ResetDesign(*design, SettingsScope::Design);
        design->str_data[2].on = 1;
        WithoutPictures(*design);
        design->back_on = 1;
        ResetBack(design->back);
        SetText(design->back.base_filepass, u"無い裏.bmp");
        const auto bytes = SettingsFileBytes(*design, SettingsScope::Design);
        ASSERT_TRUE(WriteBytes(folder.File(L"temp\\両面.tep"), bytes.data(), bytes.size()));
    }
    Design().base_cntx = Design().base_cnty = 1;
    Design().back_on = 1;
    Design().duplex = kDuplexLongEdge;
    SetText(Design().back.str_data[2].s64, u"裏の名前");
    SetText(Design().back.base_filepass, u"base.bmp");
    ShowSide(true);
    RecordingSeam seam;
    AnswerWithDefaultPrinter(seam);
    Add(u"temp\\両面.tep", 1, u"青木");
    Add(u"temp\\両面.tep", 1, u"石井");
    LayoutAnswers answers;
    PrintAnswering(answers);

    EXPECT_EQ(seam.MessageTexts(),
              L"表面の印刷が終わりました。用紙を裏返してセットし、OKを押してください。\n"
              L"ベース画像が読み込み出来ません。\n"
              L"表面の印刷が終わりました。用紙を裏返してセットし、OKを押してください。\n"
              L"連続印刷完了しました。");
    EXPECT_TRUE(BackShown());
    EXPECT_EQ(TextOf(Design().str_data[2].s64), u"裏の名前");
    ShowSide(false);
    ExpectUsersDesign();

    // キャンセル at the first question ends the batch there, without a word.
    RecordingSeam declined;
    AnswerWithDefaultPrinter(declined);
    declined.message_answers = {IDCANCEL};
    LayoutAnswers again;
    PrintAnswering(again);
    EXPECT_EQ(declined.MessageTexts(), L"表面の印刷が終わりました。用紙を裏返してセットし、OKを押してください。");
    ExpectUsersDesign();
}

}  // namespace
