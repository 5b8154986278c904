#include "print/printer.h"

#include <winspool.h>

#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

#include "design/fixed_text.h"
#include "print/printer_memory.h"
#include "win/file_replace.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

wchar_t g_printer_name[256];
PrinterMetrics g_metrics;
PrinterTable g_printers;
PRINTDLGW g_print_dialog = [] {
    PRINTDLGW record{};
    record.lStructSize = sizeof(record);
    return record;
}();

constexpr wchar_t kPrinterFile[] = L"Vivivuz.prt";

// The first eight bytes of the printer file: a device-mode handle value of some earlier
// run. It names nothing in this one, so it is only carried from the read to the write.
unsigned char g_stored_handle_value[8];

void SetPrinterName(const wchar_t* name) {
    // Names come from DEVMODE's 32-unit field, which need not be terminated.
    SetText(g_printer_name, name ? std::wstring_view(name, wcsnlen(name, CCHDEVICENAME)) : L"");
}

// Copies a printer name into a 128-unit table field, cut to 127 units; empty sources
// leave the field as it was.
void CopyTableName(wchar_t (&field)[128], const wchar_t* source) {
    if (!source || !source[0]) return;
    SetText(field, source);
}

// Opens the printer file in the start folder without sharing; an invalid handle (reported)
// when it cannot be opened.
KernelHandle OpenPrinterFile(DWORD access, DWORD disposition) {
    EnterStartFolder();
    KernelHandle file(
        CreateFileW(kPrinterFile, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) ShowMessage(nullptr, L"ﾌｧｲﾙが開けません", L"CreateFile", MB_OK | MB_ICONWARNING);
    return file;
}

}  // namespace

wchar_t* CurrentPrinterName() { return g_printer_name; }
void SetCurrentPrinterName(const wchar_t* name) { SetPrinterName(name); }
PrinterMetrics& Metrics() { return g_metrics; }
PrinterTable& Printers() { return g_printers; }
PRINTDLGW& PrintDialogRecord() { return g_print_dialog; }

void FetchDefaultPrinter(HWND main_window) {
    PRINTDLGW request{};
    request.lStructSize = sizeof(request);
    request.Flags = PD_RETURNDEFAULT | PD_RETURNIC;
    if (Ui().PrintDialog(&request) != TRUE) {
        ShowMessage(main_window, L"デフォルトのプリンタ名の取得に失敗しました", L"Error");
        return;
    }
    if (request.hDC) DeleteDC(request.hDC);
    GlobalMemory dialog_names(request.hDevNames);
    GlobalMemory dialog_mode(request.hDevMode);
    wchar_t name[CCHDEVICENAME + 1] = {};
    {
        GlobalLockGuard lock(dialog_mode.Get());
        if (!lock.Get()) {
            ShowMessage(main_window, L"メモリブロックをロックできません", L"GlobalLock");
            return;
        }
        SetText(name, TextOf(lock.As<DEVMODEW>()->dmDeviceName));
    }
    PrinterHandle printer(name);
    if (!printer.Get()) {
        ShowMessage(main_window, L"プリンタをオープンできません", L"OpenPrinter");
        return;
    }
    const LONG size = DocumentPropertiesW(main_window, printer.Get(), name, nullptr, nullptr, 0);
    GlobalMemory buffer(size > 0 ? GlobalAlloc(GHND, size) : nullptr);
    if (!buffer.Get()) {
        ShowMessage(main_window, L"バッファのためのメモリを確保できません", L"GlobalAlloc");
        return;
    }
    GlobalLockGuard lock(buffer.Get());
    if (!lock.Get()) {
        ShowMessage(main_window, L"GlobalLockに失敗しました", L"GlobalLock");
        return;
    }
    if (DocumentPropertiesW(main_window, printer.Get(), name, lock.As<DEVMODEW>(), nullptr,
                            DM_OUT_BUFFER) < 0) {
        ShowMessage(main_window, L"失敗しました", L"DocumentProperties");
        return;
    }
    SetPrinterName(lock.As<DEVMODEW>()->dmDeviceName);
}

int EnumPrinterTable(HWND owner) {
    DWORD needed = 0, returned = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!EnumPrintersW(flags, nullptr, 2, buffer.data(), needed, &needed, &returned)) {
        ShowMessage(owner, L"プリンタが見つかりません", L"プリンタ検索中", MB_OK | MB_ICONWARNING);
        return -1;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    g_printers.count = returned < kPrinterTableSize ? static_cast<int>(returned) : kPrinterTableSize;
    int match = -1;
    for (int i = 0; i < g_printers.count; ++i) {
        PrinterEntry& entry = g_printers.entries[i];
        CopyTableName(entry.name, info[i].pPrinterName);
        CopyTableName(entry.port, info[i].pPortName);
        CopyTableName(entry.driver, info[i].pDriverName);
        if (std::memcmp(entry.name, g_printer_name, 64 * sizeof(wchar_t)) == 0) match = i;
    }
    return match;
}

bool CurrentPrinterDuplexes() {
    return CurrentPrinterName()[0] && DeviceCapabilitiesW(CurrentPrinterName(), nullptr, DC_DUPLEX, nullptr, nullptr) == 1;
}

bool SetPrinterDuplex(HDC printer_dc, int duplex) {
    if (!printer_dc) return false;
    std::vector<std::uint8_t> mode;
    if (const PrinterSettings* kept = FindPrinter(RememberedPrinters(), U16(g_printer_name))) mode = kept->device_mode;
    if (mode.size() < sizeof(DEVMODEW)) {
        PrinterHandle printer(g_printer_name);
        const LONG size =
            printer.Get() ? DocumentPropertiesW(nullptr, printer.Get(), g_printer_name, nullptr, nullptr, 0) : 0;
        if (size < static_cast<LONG>(sizeof(DEVMODEW))) return false;
        mode.assign(static_cast<std::size_t>(size), 0);
        if (DocumentPropertiesW(nullptr, printer.Get(), g_printer_name, reinterpret_cast<DEVMODEW*>(mode.data()),
                                nullptr, DM_OUT_BUFFER) < 0)
            return false;
    }
    auto* settings = reinterpret_cast<DEVMODEW*>(mode.data());
    settings->dmFields |= DM_DUPLEX;
    settings->dmDuplex = duplex == kDuplexShortEdge ? DMDUP_HORIZONTAL : DMDUP_VERTICAL;
    return ResetDCW(printer_dc, settings) != nullptr;
}

int PaperLength(int physical_px, int dpi, int offset_px, int printable_tenths) {
    if (offset_px == 0 || dpi == 0) return printable_tenths;
    return static_cast<int>(static_cast<double>(physical_px) * 10 / (dpi * 10.0) * 254 + 0.5);
}

void MeasurePrinter(HDC printer_dc, HGLOBAL& dev_mode) {
    ClearText(g_printer_name);
    {
        GlobalMemory owned(std::exchange(dev_mode, nullptr));
        GlobalLockGuard lock(owned.Get());
        if (lock.Get()) {
            SetPrinterName(lock.As<DEVMODEW>()->dmDeviceName);
            RememberChosenPrinter(g_printer_name, owned.Get());
        } else {
            ShowMessage(Process().main_window, L"メモリブロックをロックできません", L"Error");
        }
    }
    PrinterMetrics& m = g_metrics;
    m.dpi_x = GetDeviceCaps(printer_dc, LOGPIXELSX);
    m.dpi_y = GetDeviceCaps(printer_dc, LOGPIXELSY);
    m.physical_width = GetDeviceCaps(printer_dc, PHYSICALWIDTH);
    m.physical_height = GetDeviceCaps(printer_dc, PHYSICALHEIGHT);
    m.printable_width = GetDeviceCaps(printer_dc, HORZSIZE) * 10;
    m.printable_height = GetDeviceCaps(printer_dc, VERTSIZE) * 10;
    m.printable_width_px = GetDeviceCaps(printer_dc, HORZRES);
    m.printable_height_px = GetDeviceCaps(printer_dc, VERTRES);
    m.offset_x = GetDeviceCaps(printer_dc, PHYSICALOFFSETX);
    m.offset_y = GetDeviceCaps(printer_dc, PHYSICALOFFSETY);
    m.paper_width = PaperLength(m.physical_width, m.dpi_x, m.offset_x, m.printable_width);
    m.paper_height = PaperLength(m.physical_height, m.dpi_y, m.offset_y, m.printable_height);
}

void ReadPrinterFile() {
    unsigned char bytes[16] = {};
    EnterStartFolder();
    // Reading never creates the file: a missing one reads as empty.
    if (GetFileAttributesW(kPrinterFile) != INVALID_FILE_ATTRIBUTES) {
        KernelHandle file = OpenPrinterFile(GENERIC_READ, OPEN_EXISTING);
        if (!file.Valid()) return;
        DWORD read = 0;
        ReadFile(file.Get(), bytes, sizeof(bytes), &read, nullptr);
    }
    std::memcpy(g_stored_handle_value, bytes, sizeof(g_stored_handle_value));
    ReadRememberedPrinters(nullptr);
}

void WritePrinterFile() {
    std::uint8_t bytes[16] = {};
    std::memcpy(bytes, g_stored_handle_value, sizeof(g_stored_handle_value));
    // Through a temporary file, so that a full disk leaves the previous file whole.
    EnterStartFolder();
    if (!ReplaceFileContent(kPrinterFile, bytes))
        ShowMessage(nullptr, L"ﾌｧｲﾙが開けません", L"CreateFile", MB_OK | MB_ICONWARNING);
}
