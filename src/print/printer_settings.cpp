#include "print/printer_settings.h"

#include <algorithm>

#include "design/numbers.h"

namespace {

constexpr char16_t kPrinterPrefix[] = u"printer";
constexpr char16_t kNameMember[] = u"name";
constexpr char16_t kDeviceModeMember[] = u"device_mode";

struct CorrectionMember {
    const char16_t* name;
    SheetCorrection PrinterSettings::*side;
    int SheetCorrection::*axis;
};
constexpr CorrectionMember kCorrectionMembers[] = {
    {u"correction_x", &PrinterSettings::front, &SheetCorrection::x},
    {u"correction_y", &PrinterSettings::front, &SheetCorrection::y},
    {u"back_correction_x", &PrinterSettings::back, &SheetCorrection::x},
    {u"back_correction_y", &PrinterSettings::back, &SheetCorrection::y},
};

// DEVMODEW: dmDeviceName (32 UTF-16 units) at 0, then dmSpecVersion, dmDriverVersion,
// dmSize and dmDriverExtra, each 16 bits little-endian.
constexpr std::size_t kDeviceNameUnits = 32;
constexpr std::size_t kSpecVersionAt = 64;
constexpr std::size_t kHeaderBytes = 72;  // up to dmFields, which every device mode has

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

std::u16string HexText(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text += kHexDigits[b >> 4];
        text += kHexDigits[b & 0xF];
    }
    return text;
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// Bytes from hexadecimal text; false (bytes empty) when the text is not whole bytes of
// hexadecimal digits or holds more than kLargestDeviceMode of them.
bool HexBytes(std::u16string_view text, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (text.size() % 2 != 0 || text.size() / 2 > kLargestDeviceMode) return false;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexValue(text[i]), low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) {
            bytes.clear();
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return true;
}

bool IsBlankName(std::u16string_view name) {
    return std::all_of(name.begin(), name.end(), [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; });
}

}  // namespace

const PrinterSettings* FindPrinter(const std::vector<PrinterSettings>& printers, std::u16string_view name) {
    for (const PrinterSettings& printer : printers)
        if (printer.name == name) return &printer;
    return nullptr;
}

PrinterSettings& SettingsOf(std::vector<PrinterSettings>& printers, std::u16string_view name) {
    for (PrinterSettings& printer : printers)
        if (printer.name == name) return printer;
    if (printers.size() >= kMostKeptPrinters) printers.resize(kMostKeptPrinters - 1);
    printers.push_back(PrinterSettings{std::u16string(name), {}, {}, {}});
    return printers.back();
}

void RememberPrinter(std::vector<PrinterSettings>& printers, std::u16string_view name,
                     std::span<const std::uint8_t> device_mode) {
    PrinterSettings entry = SettingsOf(printers, name);
    if (!device_mode.empty()) entry.device_mode.assign(device_mode.begin(), device_mode.end());
    printers.erase(std::find_if(printers.begin(), printers.end(),
                                [&](const PrinterSettings& p) { return p.name == name; }));
    printers.insert(printers.begin(), std::move(entry));
}

std::vector<std::uint8_t> PrintersFileBytes(const std::vector<PrinterSettings>& printers) {
    std::vector<KeyValue> lines;
    for (std::size_t i = 0; i < printers.size(); ++i) {
        const PrinterSettings& printer = printers[i];
        const int index = static_cast<int>(i);
        lines.push_back({IndexedKey(kPrinterPrefix, index, kNameMember), printer.name});
        for (const CorrectionMember& member : kCorrectionMembers)
            lines.push_back({IndexedKey(kPrinterPrefix, index, member.name),
                             DecimalText(printer.*member.side.*member.axis)});
        if (!printer.device_mode.empty())
            lines.push_back({IndexedKey(kPrinterPrefix, index, kDeviceModeMember), HexText(printer.device_mode)});
    }
    return KeyValueBytes(lines);
}

KeyValueRead ReadPrintersFile(std::span<const std::uint8_t> bytes, std::vector<PrinterSettings>& printers) {
    printers.clear();
    std::vector<KeyValue> lines;
    const KeyValueRead read = ReadKeyValueText(bytes, lines);
    if (read != KeyValueRead::Read) return read;
    std::vector<PrinterSettings> entries(kMostKeptPrinters);
    std::vector<bool> named(kMostKeptPrinters, false);
    bool any_key = false;
    for (const KeyValue& line : lines) {
        int index = 0;
        std::u16string_view member;
        if (!SplitIndexedKey(line.key, kPrinterPrefix, static_cast<int>(kMostKeptPrinters), index, member)) continue;
        PrinterSettings& entry = entries[static_cast<std::size_t>(index)];
        if (member == kNameMember) {
            entry.name = line.value;
            named[static_cast<std::size_t>(index)] = true;
            any_key = true;
        } else if (member == kDeviceModeMember) {
            HexBytes(line.value, entry.device_mode);
            any_key = true;
        }
        for (const CorrectionMember& correction : kCorrectionMembers) {
            if (member != correction.name) continue;
            entry.*correction.side.*correction.axis = LimitCorrection(ParseWholeNumber(line.value));
            any_key = true;
        }
    }
    if (!any_key) return KeyValueRead::Unreadable;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!named[i] || entries[i].name.empty() || IsBlankName(entries[i].name) ||
            FindPrinter(printers, entries[i].name))
            continue;
        printers.push_back(std::move(entries[i]));
    }
    return KeyValueRead::Read;
}

bool ReadDeviceModeHeader(std::span<const std::uint8_t> bytes, DeviceModeHeader& header) {
    if (bytes.size() < kHeaderBytes) return false;
    header.device_name.clear();
    for (std::size_t i = 0; i < kDeviceNameUnits; ++i) {
        const std::uint16_t unit = Word(bytes, 2 * i);
        if (unit == 0) break;
        header.device_name += static_cast<char16_t>(unit);
    }
    header.spec_version = Word(bytes, kSpecVersionAt);
    header.driver_version = Word(bytes, kSpecVersionAt + 2);
    header.size = Word(bytes, kSpecVersionAt + 4);
    header.driver_extra = Word(bytes, kSpecVersionAt + 6);
    return true;
}

bool DeviceModeFits(std::span<const std::uint8_t> stored, const DeviceModeHeader& current) {
    DeviceModeHeader header;
    if (!ReadDeviceModeHeader(stored, header)) return false;
    return header.size >= kHeaderBytes && stored.size() == std::size_t{header.size} + header.driver_extra &&
           header.device_name == current.device_name && header.spec_version == current.spec_version &&
           header.driver_version == current.driver_version && header.size == current.size &&
           header.driver_extra == current.driver_extra;
}
