#include "print/printer_memory.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "print/print_job.h"
#include "print/printer.h"
#include "recording_seam.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

class PrinterMemory : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;
    std::wstring previous_printer;

    void SetUp() override {
        previous_printer = CurrentPrinterName();
        RememberedPrinters().clear();
    }
    void TearDown() override {
        RememberedPrinters().clear();
        lstrcpynW(CurrentPrinterName(), previous_printer.c_str(), 256);
    }
    void WritePrinters(const std::vector<PrinterSettings>& printers) {
        const auto bytes = PrintersFileBytes(printers);
        ASSERT_TRUE(WriteBytes(folder.File(L"printers.ini"), bytes.data(), bytes.size()));
    }
    // The start-up of the program: the default printer's name, then the printer files.
    void StartUp(const wchar_t* default_printer) {
        lstrcpynW(CurrentPrinterName(), default_printer, 256);
        ReadPrinterFile();
    }
    // The print command up to its print dialog, which is cancelled; what the dialog was
    // offered.
    struct Offer {
        std::vector<uint8_t> device_mode;
        std::wstring device;
    };
    Offer OfferedToThePrintDialog() {
        Offer offer;
        seam.print_answer = [&offer](PRINTDLGW* request) {
            offer.device_mode = DeviceModeBytes(request->hDevMode);
            if (request->hDevNames) {
                const auto* names = static_cast<const DEVNAMES*>(GlobalLock(request->hDevNames));
                offer.device = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
                GlobalUnlock(request->hDevNames);
            }
            return FALSE;
        };
        EXPECT_EQ(PrintCommand(nullptr), 0);
        EXPECT_EQ(PrintDialogRecord().hDevMode, nullptr);  // freed after the cancel
        EXPECT_EQ(PrintDialogRecord().hDevNames, nullptr);
        return offer;
    }
};

// The device mode the printer's driver makes, with landscape paper.
std::vector<uint8_t> LandscapeDeviceMode(std::wstring printer_name) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(printer_name.data(), &printer, nullptr)) return {};
    const LONG size = DocumentPropertiesW(nullptr, printer, printer_name.data(), nullptr, nullptr, 0);
    std::vector<uint8_t> bytes(size > 0 ? size : 0);
    if (size <= 0 || DocumentPropertiesW(nullptr, printer, printer_name.data(), reinterpret_cast<DEVMODEW*>(bytes.data()),
                                         nullptr, DM_OUT_BUFFER) < 0)
        bytes.clear();
    ClosePrinter(printer);
    if (bytes.empty()) return bytes;
    auto* mode = reinterpret_cast<DEVMODEW*>(bytes.data());
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    mode->dmFields |= DM_ORIENTATION;
    return bytes;
}

std::wstring InstalledPrinter() {
    wchar_t name[256] = {};
    DWORD size = 256;
    return GetDefaultPrinterW(name, &size) ? name : L"";
}

TEST_F(PrinterMemory, ThePrinterChosenLastIsUsedAtTheNextStartWithItsSettings) {
    const std::wstring printer = InstalledPrinter();
    if (printer.empty()) GTEST_SKIP() << "no printer installed";
    const std::vector<uint8_t> landscape = LandscapeDeviceMode(printer);
    ASSERT_FALSE(landscape.empty());
    // The print dialog of an earlier run chose the printer with landscape paper.
    HGLOBAL block = GlobalAlloc(GHND, landscape.size());
    std::memcpy(GlobalLock(block), landscape.data(), landscape.size());
    GlobalUnlock(block);
    RememberChosenPrinter(printer.c_str(), block);
    GlobalFree(block);
    RememberedPrinters().clear();

    StartUp(L"");
    EXPECT_EQ(std::wstring(CurrentPrinterName()), printer.substr(0, CCHDEVICENAME - 1));
    const Offer offer = OfferedToThePrintDialog();
    EXPECT_EQ(offer.device, printer);
    ASSERT_EQ(offer.device_mode, landscape);
    EXPECT_EQ(reinterpret_cast<const DEVMODEW*>(offer.device_mode.data())->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(PrinterMemory, APrinterThatVanishedFallsBackToTheDefaultSilently) {
    WritePrinters({{u"外された古いプリンタ", {15, -8}, {}, std::vector<uint8_t>(220, 0)}});
    StartUp(L"既定のプリンタ");
    EXPECT_STREQ(CurrentPrinterName(), L"既定のプリンタ");
    EXPECT_EQ(OfferedToThePrintDialog().device_mode.size(), 0u);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
    // Its correction is kept for the day it comes back.
    lstrcpynW(CurrentPrinterName(), L"外された古いプリンタ", 256);
    EXPECT_EQ(FrontCorrection(), (SheetCorrection{15, -8}));
}

// A device mode of another size or another driver never reaches the print dialog.
TEST_F(PrinterMemory, AStoredDeviceModeTheDriverDidNotMakeIsRefused) {
    const std::wstring printer = InstalledPrinter();
    if (printer.empty()) GTEST_SKIP() << "no printer installed";
    const std::vector<uint8_t> good = LandscapeDeviceMode(printer);
    ASSERT_FALSE(good.empty());
    std::vector<uint8_t> longer = good, other_driver = good;
    longer.resize(good.size() + 16);
    reinterpret_cast<DEVMODEW*>(other_driver.data())->dmDriverVersion ^= 0x5A5A;
    for (const auto* stored : {&longer, &other_driver}) {
        seam.messages.clear();
        RememberedPrinters().clear();
        WritePrinters({{std::u16string(U16(printer.c_str())), {}, {}, *stored}});
        StartUp(L"");
        EXPECT_EQ(std::wstring(CurrentPrinterName()), printer.substr(0, CCHDEVICENAME - 1));
        ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
        EXPECT_EQ(seam.messages[0].caption, L"printers.ini");
        EXPECT_NE(seam.messages[0].text.find(printer), std::wstring::npos);
        EXPECT_TRUE(OfferedToThePrintDialog().device_mode.empty());
    }
}

// printers.ini damaged, empty or huge: no crash, nothing lost, the start goes on.
TEST_F(PrinterMemory, APrintersFileThatCannotBeReadIsKeptAside) {
    const std::vector<uint8_t> damaged = {'P', 'K', 3, 4, 0, 0, 0xFF, 0xFE, 0x00};
    ASSERT_TRUE(WriteBytes(folder.File(L"printers.ini"), damaged.data(), damaged.size()));
    StartUp(L"既定のプリンタ");
    ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
    EXPECT_NE(seam.messages[0].text.find(L"printers.ini.unreadable-1"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(folder.File(L"printers.ini.unreadable-1")), damaged);
    EXPECT_STREQ(CurrentPrinterName(), L"既定のプリンタ");

    // Larger than any the program writes: kept aside unread.
    seam.messages.clear();
    {
        HANDLE file = CreateFileW(folder.File(L"printers.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size{};
        size.QuadPart = 17LL << 20;
        SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
    }
    StartUp(L"既定のプリンタ");
    ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
    EXPECT_NE(GetFileAttributesW(folder.File(L"printers.ini.unreadable-2").c_str()), INVALID_FILE_ATTRIBUTES);

    seam.messages.clear();
    ASSERT_TRUE(WriteBytes(folder.File(L"printers.ini"), "", 0));
    StartUp(L"既定のプリンタ");
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
    EXPECT_TRUE(StoreCorrections(nullptr, {5, 0}, {}));  // written over the empty file
    EXPECT_GT(ReadBytes(folder.File(L"printers.ini")).size(), 2u);
}

}  // namespace
