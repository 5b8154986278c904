#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "print/printer.h"
#include "recording_seam.h"
#include "test_files.h"
#include "win/design_text.h"
#include "win/file_replace.h"
#include "win/process.h"

namespace {

class PrinterFile : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;
};

// The stored value is a handle of an earlier run: it is carried back to the file but never
// put where the print commands would take it for a device mode.
TEST_F(PrinterFile, AStoredHandleValueIsCarriedButNeverUsed) {
    std::vector<uint8_t> stored(16, 0);
    for (int i = 0; i < 8; ++i) stored[i] = static_cast<uint8_t>(0x11 * (i + 1));
    ASSERT_TRUE(WriteBytes(folder.File(L"Vivivuz.prt"), stored.data(), stored.size()));
    PrintDialogRecord().hDevMode = nullptr;
    ReadPrinterFile();
    EXPECT_EQ(PrintDialogRecord().hDevMode, nullptr);
    ASSERT_TRUE(DeleteFileW(folder.File(L"Vivivuz.prt").c_str()));
    WritePrinterFile();
    EXPECT_EQ(ReadBytes(folder.File(L"Vivivuz.prt")), stored);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

// Reading never creates the file: a missing one reads as empty, silently.
TEST_F(PrinterFile, AMissingFileReadsAsEmptyAndIsNotCreated) {
    const std::vector<uint8_t> stored(16, 0x5A);
    ASSERT_TRUE(WriteBytes(folder.File(L"Vivivuz.prt"), stored.data(), stored.size()));
    ReadPrinterFile();
    ASSERT_TRUE(DeleteFileW(folder.File(L"Vivivuz.prt").c_str()));
    ReadPrinterFile();
    EXPECT_EQ(GetFileAttributesW(folder.File(L"Vivivuz.prt").c_str()), INVALID_FILE_ATTRIBUTES);
    WritePrinterFile();
    EXPECT_EQ(ReadBytes(folder.File(L"Vivivuz.prt")), std::vector<uint8_t>(16, 0));
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

BOOL WriteHalfThenFail(HANDLE file, const void* bytes, DWORD size, DWORD* written) {
    WriteFile(file, bytes, size / 2, written, nullptr);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

// A write that fails part way, as on a full disk, leaves the previous file whole.
TEST_F(PrinterFile, AFailedWriteKeepsThePreviousFileAndIsReported) {
    std::vector<uint8_t> previous(16, 0);
    previous[0] = 0x42;
    ASSERT_TRUE(WriteBytes(folder.File(L"Vivivuz.prt"), previous.data(), previous.size()));
    ReadPrinterFile();
    const FileWriter system = InstallFileWriter(WriteHalfThenFail);
    WritePrinterFile();
    InstallFileWriter(system);
    EXPECT_EQ(seam.MessageTexts(), L"ﾌｧｲﾙが開けません");
    EXPECT_EQ(ReadBytes(folder.File(L"Vivivuz.prt")), previous);
}

TEST_F(PrinterFile, MeasuringFreesTheDeviceModeAndForgetsItsHandle) {
    HGLOBAL mode = GlobalAlloc(GHND, sizeof(DEVMODEW));
    ASSERT_TRUE(mode);
    auto* devmode = static_cast<DEVMODEW*>(GlobalLock(mode));
    lstrcpynW(devmode->dmDeviceName, L"測定プリンタ", CCHDEVICENAME);
    GlobalUnlock(mode);
    HDC dc = CreateCompatibleDC(nullptr);
    HGLOBAL& record_mode = PrintDialogRecord().hDevMode;
    record_mode = mode;
    MeasurePrinter(dc, record_mode);
    DeleteDC(dc);
    EXPECT_EQ(record_mode, nullptr);
    EXPECT_STREQ(CurrentPrinterName(), L"測定プリンタ");
    CurrentPrinterName()[0] = 0;
}

// QR texts become Shift_JIS whatever code page the thread's locale has.
TEST(QrText, IsShiftJisUnderAnyThreadLocale) {
    const LCID previous = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    char16_t text[288] = u"漢字ABC";
    char out[288];
    const int length = QrTextToShiftJis(text, out, sizeof(out));
    SetThreadLocale(previous);
    ASSERT_EQ(length, 7);
    EXPECT_EQ(std::memcmp(out, "\x8A\xBF\x8E\x9A" "ABC", 7), 0);
}

}  // namespace
