#include "print/printer_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16File(std::u16string_view text) {
    Bytes bytes{0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

void PutWord(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// A device mode as a driver makes it: the 220-byte header and `extra` bytes of its own.
Bytes DeviceMode(std::u16string_view name, std::uint16_t extra, std::uint16_t driver_version = 0x0100) {
    Bytes bytes(220 + extra, 0);
    for (std::size_t i = 0; i < name.size() && i < 32; ++i) PutWord(bytes, 2 * i, name[i]);
    PutWord(bytes, 64, 0x0401);
    PutWord(bytes, 66, driver_version);
    PutWord(bytes, 68, 220);
    PutWord(bytes, 70, extra);
    for (std::size_t i = 220; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    return bytes;
}

DeviceModeHeader HeaderOf(const Bytes& bytes) {
    DeviceModeHeader header;
    EXPECT_TRUE(ReadDeviceModeHeader(bytes, header));
    return header;
}

TEST(PrinterSettings, PrintersReadBackAsWritten) {
    std::vector<PrinterSettings> printers = {
        {u"CardPDF", {15, -8}, {-999, 999}, DeviceMode(u"CardPDF", 17)},
        {u"事務所 = 2F [カラー]", {}, {3, 0}, {}},
    };
    const Bytes file = PrintersFileBytes(printers);
    std::vector<PrinterSettings> read;
    ASSERT_EQ(ReadPrintersFile(file, read), KeyValueRead::Read);
    ASSERT_EQ(read.size(), 2u);
    for (std::size_t i = 0; i < printers.size(); ++i) {
        EXPECT_EQ(read[i].name, printers[i].name);
        EXPECT_EQ(read[i].front, printers[i].front);
        EXPECT_EQ(read[i].back, printers[i].back);
        EXPECT_EQ(read[i].device_mode, printers[i].device_mode);
    }
}

TEST(PrinterSettings, TheLastChosenPrinterComesFirstAndKeepsItsCorrection) {
    std::vector<PrinterSettings> printers;
    SettingsOf(printers, u"A").front = {5, 5};
    RememberPrinter(printers, u"B", DeviceMode(u"B", 0));
    RememberPrinter(printers, u"A", DeviceMode(u"A", 4));
    ASSERT_EQ(printers.size(), 2u);
    EXPECT_EQ(printers[0].name, u"A");
    EXPECT_EQ(printers[0].front, (SheetCorrection{5, 5}));
    EXPECT_EQ(printers[0].device_mode.size(), 224u);
    RememberPrinter(printers, u"A", {});  // no device mode this time: the earlier one stays
    EXPECT_EQ(printers[0].device_mode.size(), 224u);
    for (int i = 0; i < 40; ++i) RememberPrinter(printers, u"P" + DecimalText(i), {});
    EXPECT_EQ(printers.size(), kMostKeptPrinters);
    EXPECT_EQ(printers[0].name, u"P39");
    EXPECT_EQ(FindPrinter(printers, u"A"), nullptr);  // used longest ago, gone first
}

TEST(PrinterSettings, DamagedEntriesAndValuesAreDroppedNotGuessed) {
    const std::u16string text =
        u"printer[0].name=良い\r\n"
        u"printer[0].correction_x=1500\r\n"        // beyond 99.9 mm
        u"printer[0].correction_y=-8\r\n"
        u"printer[0].device_mode=0A1\r\n"           // odd number of digits
        u"printer[1].name=\r\n"                     // no name
        u"printer[1].correction_x=5\r\n"
        u"printer[2].name=良い\r\n"                  // again
        u"printer[3].name=文字\r\n"
        u"printer[3].device_mode=0G\r\n"            // not hexadecimal
        u"printer[3].back_correction_y=7\r\n"
        u"printer[4].name=" + std::u16string(1, u'x') + u"\r\n"
        u"printer[4].device_mode=" + std::u16string(2 * (kLargestDeviceMode + 1), u'0') + u"\r\n";
    std::vector<PrinterSettings> read;
    ASSERT_EQ(ReadPrintersFile(Utf16File(text), read), KeyValueRead::Read);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].front, (SheetCorrection{999, -8}));
    EXPECT_TRUE(read[0].device_mode.empty());
    EXPECT_EQ(read[1].name, u"文字");
    EXPECT_TRUE(read[1].device_mode.empty());
    EXPECT_EQ(read[1].back, (SheetCorrection{0, 7}));
    EXPECT_TRUE(read[2].device_mode.empty());  // too large for a device mode

    EXPECT_EQ(ReadPrintersFile({}, read), KeyValueRead::Empty);
    EXPECT_EQ(ReadPrintersFile(Bytes{0x89, 'P', 'N', 'G', 0, 0, 0, 13}, read), KeyValueRead::Unreadable);
    EXPECT_EQ(ReadPrintersFile(Utf16File(u"sheet[0].name=A4\r\n"), read), KeyValueRead::Unreadable);
    EXPECT_TRUE(read.empty());
}

TEST(PrinterSettings, AStoredDeviceModeIsUsedOnlyWithTheDriverThatMadeIt) {
    const Bytes current = DeviceMode(u"CardPDF", 40);
    const DeviceModeHeader driver = HeaderOf(current);
    EXPECT_EQ(driver.device_name, u"CardPDF");
    EXPECT_TRUE(DeviceModeFits(current, driver));

    Bytes cut = current;
    cut.pop_back();
    EXPECT_FALSE(DeviceModeFits(cut, driver));
    Bytes padded = current;
    padded.push_back(0);
    EXPECT_FALSE(DeviceModeFits(padded, driver));
    EXPECT_FALSE(DeviceModeFits(DeviceMode(u"CardPDF", 8), driver));                 // other driver data
    EXPECT_FALSE(DeviceModeFits(DeviceMode(u"CardPDF", 40, 0x0200), driver));        // other version
    EXPECT_FALSE(DeviceModeFits(DeviceMode(u"Other", 40), driver));                   // other printer
    EXPECT_FALSE(DeviceModeFits(Bytes(71, 0), driver));
    EXPECT_FALSE(DeviceModeFits({}, driver));
    Bytes small_header = current;
    PutWord(small_header, 68, 10);  // dmSize below the header the program reads
    PutWord(small_header, 70, static_cast<std::uint16_t>(current.size() - 10));
    EXPECT_FALSE(DeviceModeFits(small_header, HeaderOf(small_header)));

    // A name of 32 units fills dmDeviceName without a terminator.
    const std::u16string long_name(40, u'名');
    const Bytes full = DeviceMode(long_name, 0);
    EXPECT_EQ(HeaderOf(full).device_name, long_name.substr(0, 32));
}

}  // namespace
