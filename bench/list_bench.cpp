// Two figures of the list of people. A Windows program; run it under Wine:
//
//     wine build/<win>/bench/list_bench.exe [ROUNDS]
//
// 1. Writing and reading a full list file of 99 rows (every field at its longest) through
//    the list editor's own functions and list view: median of ROUNDS (default 20).
// 2. A batch of 20 one-copy records on one template printed on the default printer,
//    against the floor of 20 x 2000 ms that each record's preview wait sets, as a ratio.
//    Skipped when no printer is installed. The 20 pages do reach the printer.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "design/fixed_text.h"
#include "design/settings_file.h"
#include "list/continuous_print.h"
#include "list/list_view.h"
#include "print/print_stop.h"
#include "recording_seam.h"
#include "res/sheet_layout_ids.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

HWND MakeListView(HWND parent) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND view = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 600, 400, parent, nullptr,
                                nullptr, nullptr);
    for (int j = 0; j < kListFields; ++j) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = 80;
        column.iSubItem = j;
        SendMessageW(view, LVM_INSERTCOLUMNW, static_cast<WPARAM>(j), reinterpret_cast<LPARAM>(&column));
    }
    return view;
}

void BenchListFile(HWND window, int rounds) {
    HWND view = MakeListView(window);
    std::vector<ListRow> rows(99);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i][0] = u"01-ビジネス.tep";
        rows[i][1] = u"1";
        for (int k = kListStringBase; k < kListFields; ++k) rows[i][k] = std::u16string(kListFieldUnits, u'名');
    }
    FillRows(view, rows);
    std::vector<double> writes, reads;
    for (int i = 0; i < rounds; ++i) {
        auto start = Clock::now();
        WriteListFile(window, view, L"bench.csv");
        writes.push_back(MsSince(start));
        start = Clock::now();
        ReadListFile(window, view, L"bench.csv");
        reads.push_back(MsSince(start));
    }
    DeleteFileW(L"bench.csv");
    std::sort(writes.begin(), writes.end());
    std::sort(reads.begin(), reads.end());
    std::printf("list file of 99 rows (median of %d): write %.2f ms, read %.2f ms\n", rounds,
                writes[writes.size() / 2], reads[reads.size() / 2]);
}

int g_layouts = 0;

// Presses 印刷 in the layout dialog of the batch.
BOOL CALLBACK PressPrint(HWND window, LPARAM) {
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    if (IsWindowVisible(window) && std::wstring(title) == L"印刷の位置設定" && ++g_layouts)
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_LAYOUT_PRINT, BN_CLICKED), 0);
    return TRUE;
}

void CALLBACK WatchLayout(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), PressPrint, 0); }

void BenchBatch(HWND window, const BenchFolder& folder, RecordingSeam& seam) {
    wchar_t printer[256] = {};
    DWORD size = 256;
    if (!GetDefaultPrinterW(printer, &size)) {
        std::printf("batch: no printer installed, skipped\n");
        return;
    }
    auto templ = std::make_unique<CardDesign>();
    ResetDesign(*templ, SettingsScope::Design);
    SetText(templ->base_filepass, u"base.bmp");
    for (MarkData& mark : templ->mark_data) mark.on = 0;
    templ->phot_data.on = 0;
    for (int k = 0; k < 7; ++k) templ->str_data[k].on = 1;
    CreateDirectoryW(folder.File(L"temp").c_str(), nullptr);
    const auto bytes = SettingsFileBytes(*templ, SettingsScope::Design);
    HANDLE out = CreateFileW(folder.File(L"temp\\bench.tep").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);

    Design() = *templ;
    auto queue = std::make_unique<PrintQueue>();
    constexpr int kRecords = 20;
    for (int i = 0; i < kRecords; ++i) {
        ListRecord& record = queue->records[i];
        record = {};
        SetText(record.path, u"temp\\bench.tep");
        record.copies = 1;
        SetText(record.strings[2], u"社員" + std::u16string(U16(std::to_wstring(i + 1))));
    }
    queue->count = kRecords;
    seam.print_answer = [&printer](PRINTDLGW* request) {
        request->hDC = CreateDCW(L"WINSPOOL", printer, nullptr, nullptr);
        request->hDevMode = GlobalAlloc(GHND, sizeof(DEVMODEW));
        auto* mode = static_cast<DEVMODEW*>(GlobalLock(request->hDevMode));
        lstrcpynW(mode->dmDeviceName, printer, CCHDEVICENAME);
        GlobalUnlock(request->hDevMode);
        return request->hDC ? TRUE : FALSE;
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchLayout);
    const auto start = Clock::now();
    ContinuousPrint(window, *queue);
    const double took = MsSince(start);
    KillTimer(nullptr, timer);
    const double floor = kRecords * static_cast<double>(BatchPreviewWaitMs());
    if (g_layouts != 1 || StopFlag()) std::printf("batch: the layout dialog did not let it print\n");
    std::printf("batch of %d one-copy records on %ls: %.0f ms, floor %.0f ms, ratio %.3f\n", kRecords, printer,
                took, floor, took / floor);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    RecordingSeam seam;  // a benchmark must not stop for a box
    BenchFolder folder(L"vivi-list-bench");
    if (!folder.WritePicture(L"base.bmp", 910, 550, 0) || !folder.WritePicture(L"pp.gdt", 210, 297, 1) ||
        !folder.WritePicture(L"ms.gdt", 91, 55, 2)) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 2;
    }
    Process().instance = GetModuleHandleW(nullptr);  // the dialog templates are linked in
    Process().start_folder = folder.Path();
    HWND window = CreateWindowW(L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 600, nullptr,
                                nullptr, nullptr, nullptr);
    Process().main_window = window;
    BenchListFile(window, rounds);
    BenchBatch(window, folder, seam);
    DestroyWindow(window);
    for (const wchar_t* name : {L"temp\\bench.tep", L"Vivivuz.dat", L"mask0.tmp"}) DeleteFileW(folder.File(name).c_str());
    RemoveDirectoryW(folder.File(L"temp").c_str());
    Process().start_folder.clear();
    SetCurrentDirectoryW(L"C:\\");
    for (const ShownMessage& message : seam.messages) {
        if (message.caption == L"連続印刷") continue;  // the completion message
        std::fwprintf(stderr, L"messages were reported:\n%ls\n", seam.MessageTexts().c_str());
        return 1;
    }
    return 0;
}
