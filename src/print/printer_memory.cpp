#include "print/printer_memory.h"

#include <winspool.h>

#include <cstring>
#include <span>
#include <string>
#include <utility>

#include "design/fixed_text.h"
#include "print/printer.h"
#include "win/file_replace.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/whole_file.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kPrintersFile[] = L"printers.ini";

// Every kept printer with a full device mode in hexadecimal, and then some.
constexpr std::size_t kLargestPrintersFile = std::size_t{16} << 20;

std::vector<PrinterSettings> g_printers;

bool WritePrintersFile(HWND owner) { return WriteOwnFile(owner, kPrintersFile, PrintersFileBytes(g_printers)); }

// The name the program knows a printer by comes from a device mode, whose 32 units may cut
// a longer name: such a name stands for the installed printer whose name begins with it.
bool SamePrinter(std::u16string_view installed, std::u16string_view known) {
    if (known.size() >= CCHDEVICENAME - 1) return installed.substr(0, known.size()) == known;
    return installed == known;
}

struct InstalledPrinter {
    std::wstring name, driver, port;
};

// The installed printer known by that name (level 2), or false.
bool FindInstalledPrinter(const std::u16string& known, InstalledPrinter& found) {
    DWORD needed = 0, returned = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &returned);
    if (needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(flags, nullptr, 2, buffer.data(), needed, &needed, &returned)) return false;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
        if (!info[i].pPrinterName || !SamePrinter(U16(info[i].pPrinterName), known)) continue;
        found.name = info[i].pPrinterName;
        found.driver = info[i].pDriverName ? info[i].pDriverName : L"";
        found.port = info[i].pPortName ? info[i].pPortName : L"";
        return true;
    }
    return false;
}

// The header of the device mode the printer's driver makes now.
bool DriverDeviceMode(std::wstring printer_name, DeviceModeHeader& header) {
    PrinterHandle printer(printer_name.data());
    if (!printer.Get()) return false;
    const LONG size = DocumentPropertiesW(nullptr, printer.Get(), printer_name.data(), nullptr, nullptr, 0);
    if (size <= 0) return false;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size));
    if (DocumentPropertiesW(nullptr, printer.Get(), printer_name.data(), reinterpret_cast<DEVMODEW*>(buffer.data()),
                            nullptr, DM_OUT_BUFFER) < 0)
        return false;
    return ReadDeviceModeHeader(buffer, header);
}

bool FitsItsDriver(const PrinterSettings& printer, const InstalledPrinter& installed) {
    DeviceModeHeader header;
    return DriverDeviceMode(installed.name, header) && DeviceModeFits(printer.device_mode, header);
}

HGLOBAL CopyToBlock(const void* bytes, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GHND, size);
    GlobalLockGuard lock(block);
    if (!lock.Get()) {
        if (block) GlobalFree(block);
        return nullptr;
    }
    std::memcpy(lock.Get(), bytes, size);
    return block;
}

// DEVNAMES followed by the driver, device and port names.
HGLOBAL DeviceNamesBlock(const std::wstring& driver, const std::wstring& device, const std::wstring& port) {
    const std::size_t header_units = sizeof(DEVNAMES) / sizeof(wchar_t);
    std::vector<wchar_t> units(header_units);
    auto add = [&units](const std::wstring& text) {
        const auto at = static_cast<WORD>(units.size());
        units.insert(units.end(), text.begin(), text.end());
        units.push_back(L'\0');
        return at;
    };
    DEVNAMES names{};
    names.wDriverOffset = add(driver);
    names.wDeviceOffset = add(device);
    names.wOutputOffset = add(port);
    std::memcpy(units.data(), &names, sizeof(names));
    return CopyToBlock(units.data(), units.size() * sizeof(wchar_t));
}

SheetCorrection CorrectionOf(SheetCorrection PrinterSettings::*side) {
    const PrinterSettings* printer = FindPrinter(g_printers, U16(CurrentPrinterName()));
    return printer ? printer->*side : SheetCorrection{};
}

}  // namespace

std::vector<PrinterSettings>& RememberedPrinters() { return g_printers; }

void ReadRememberedPrinters(HWND owner) {
    g_printers.clear();
    std::vector<std::uint8_t> bytes;
    if (!ReadOwnFile(owner, kPrintersFile, kLargestPrintersFile, bytes)) return;
    if (ReadPrintersFile(bytes, g_printers) == KeyValueRead::Unreadable) {
        KeepUnreadableFile(owner, kPrintersFile);
        return;
    }
    if (g_printers.empty()) return;
    PrinterSettings& last = g_printers.front();
    InstalledPrinter installed;
    if (!FindInstalledPrinter(last.name, installed)) return;
    SetCurrentPrinterName(W(last.name.c_str()));
    if (last.device_mode.empty() || FitsItsDriver(last, installed)) return;
    last.device_mode.clear();
    const std::wstring text = L"プリンタ「" + std::wstring(W(last.name.c_str())) +
                              L"」の保存されていた設定は、このプリンタのドライバーのものではないため使いません。"
                              L"プリンタの既定の設定で始めます。";
    ShowMessage(owner, text.c_str(), L"printers.ini", MB_OK | MB_ICONINFORMATION);
}

void OfferRememberedPrinter(PRINTDLGW& record) {
    record.hDevMode = nullptr;
    record.hDevNames = nullptr;
    const PrinterSettings* printer = FindPrinter(g_printers, U16(CurrentPrinterName()));
    InstalledPrinter installed;
    if (!printer || printer->device_mode.empty() || !FindInstalledPrinter(printer->name, installed) ||
        !FitsItsDriver(*printer, installed))
        return;
    record.hDevMode = CopyToBlock(printer->device_mode.data(), printer->device_mode.size());
    record.hDevNames = DeviceNamesBlock(installed.driver, installed.name, installed.port);
    if (record.hDevMode && record.hDevNames) return;
    ForgetOfferedPrinter(record);
}

void ForgetOfferedPrinter(PRINTDLGW& record) {
    GlobalMemory mode(std::exchange(record.hDevMode, nullptr));
    GlobalMemory names(std::exchange(record.hDevNames, nullptr));
}

std::vector<std::uint8_t> DeviceModeBytes(HGLOBAL device_mode) {
    GlobalLockGuard lock(device_mode);
    const std::size_t block = lock.Get() ? GlobalSize(device_mode) : 0;
    const auto* bytes = static_cast<const std::uint8_t*>(lock.Get());
    DeviceModeHeader header;
    if (!ReadDeviceModeHeader(std::span(bytes, block), header)) return {};
    const std::size_t size = std::size_t{header.size} + header.driver_extra;
    if (size > block) return {};
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

void RememberChosenPrinter(const wchar_t* name, HGLOBAL device_mode) {
    RememberPrinter(g_printers, U16(name), DeviceModeBytes(device_mode));
    WritePrintersFile(Process().main_window);
}

SheetCorrection FrontCorrection() { return CorrectionOf(&PrinterSettings::front); }
SheetCorrection BackCorrection() { return CorrectionOf(&PrinterSettings::back); }

bool StoreCorrections(HWND owner, SheetCorrection front, SheetCorrection back) {
    PrinterSettings& printer = SettingsOf(g_printers, U16(CurrentPrinterName()));
    printer.front = {LimitCorrection(front.x), LimitCorrection(front.y)};
    printer.back = {LimitCorrection(back.x), LimitCorrection(back.y)};
    return WritePrintersFile(owner);
}
