// What the program keeps per printer in printers.ini (start folder): the correction of
// the printed positions, front and back of the sheet, and the printer's settings as the
// last print dialog left them (the device-mode bytes, stored as hexadecimal text).
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "print/key_value_text.h"
#include "print/print_math.h"

struct PrinterSettings {
    std::u16string name;           // the printer's name, as the print dialog gives it
    SheetCorrection front{};       // moves every position printed on the front
    SheetCorrection back{};        // the same for the back of the sheet
    std::vector<std::uint8_t> device_mode;  // empty when none was kept
};

// Most printers kept; the one used longest ago goes first when another is added.
inline constexpr std::size_t kMostKeptPrinters = 32;

// A device mode is a fixed header of at most 65535 bytes and driver data of at most
// 65535 more.
inline constexpr std::size_t kLargestDeviceMode = 2 * 65535;

// The entry of the printer named name, or null.
const PrinterSettings* FindPrinter(const std::vector<PrinterSettings>& printers, std::u16string_view name);

// The entry of name, made (without a device mode, no correction) when there is none.
// New entries go last; when kMostKeptPrinters are kept, the last of them gives way.
PrinterSettings& SettingsOf(std::vector<PrinterSettings>& printers, std::u16string_view name);

// After a print dialog: name becomes the first entry (the printer used last), keeping its
// corrections, with device_mode as its settings (an empty one keeps the earlier bytes).
void RememberPrinter(std::vector<PrinterSettings>& printers, std::u16string_view name,
                     std::span<const std::uint8_t> device_mode);

// printers.ini: for each entry i in order "printer[i].name", ".correction_x",
// ".correction_y", ".back_correction_x", ".back_correction_y" (0.1 mm) and, when kept,
// ".device_mode" (two hexadecimal digits per byte).
std::vector<std::uint8_t> PrintersFileBytes(const std::vector<PrinterSettings>& printers);

// Reads printers.ini into printers (cleared first), in index order. An entry needs a
// name, not blank and not an earlier entry's; corrections are brought into
// -kLargestCorrection..kLargestCorrection; a device mode that is not an even number of
// hexadecimal digits, or longer than kLargestDeviceMode bytes, is dropped (the rest of
// the entry stays). Unreadable also for text in which no line names a printer key.
KeyValueRead ReadPrintersFile(std::span<const std::uint8_t> bytes, std::vector<PrinterSettings>& printers);

// The fields of a device mode's fixed header (DEVMODEW) the program checks.
struct DeviceModeHeader {
    std::u16string device_name;  // dmDeviceName, up to its terminator (32 units at most)
    std::uint16_t spec_version = 0;
    std::uint16_t driver_version = 0;
    std::uint16_t size = 0;          // dmSize: the fixed part
    std::uint16_t driver_extra = 0;  // dmDriverExtra: the driver's own bytes after it
};

// The header of device-mode bytes; false when there are too few bytes to hold one.
bool ReadDeviceModeHeader(std::span<const std::uint8_t> bytes, DeviceModeHeader& header);

// Whether stored device-mode bytes can be handed to the printer whose driver makes
// device modes like `current` (its own, as DocumentProperties gives it): the bytes are
// exactly dmSize + dmDriverExtra long, and dmDeviceName, dmSpecVersion, dmDriverVersion,
// dmSize and dmDriverExtra all equal the driver's. Anything else (another driver or version,
// a cut or padded block) is refused.
bool DeviceModeFits(std::span<const std::uint8_t> stored, const DeviceModeHeader& current);
