// The readers of sheets.ini and printers.ini over any bytes: what they take is within
// the program's bounds, and written as the program writes those files it reads back the
// same. The device-mode check takes any bytes against any header without reading past
// them.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "print/printer_settings.h"
#include "print/sheet_presets.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);

    std::vector<SheetPreset> presets;
    if (ReadSheetsFile(file, presets) == KeyValueRead::Read) {
        Check(presets.size() <= kMostSavedPresets);
        for (const SheetPreset& preset : presets) {
            Check(!preset.name.empty() && preset.name.size() <= kPresetNameUnits);
            Check(preset.grid == LimitGrid(preset.grid));
        }
        std::vector<SheetPreset> again;
        Check(ReadSheetsFile(SheetsFileBytes(presets), again) == (presets.empty() ? KeyValueRead::Empty : KeyValueRead::Read));
        Check(again.size() == presets.size());
        for (std::size_t i = 0; i < again.size(); ++i)
            Check(again[i].name == presets[i].name && again[i].grid == presets[i].grid);
    }

    std::vector<PrinterSettings> printers;
    if (ReadPrintersFile(file, printers) == KeyValueRead::Read) {
        Check(printers.size() <= kMostKeptPrinters);
        std::vector<PrinterSettings> again;
        ReadPrintersFile(PrintersFileBytes(printers), again);
        Check(again.size() == printers.size());
        for (std::size_t i = 0; i < again.size(); ++i) {
            Check(again[i].name == printers[i].name && again[i].front == printers[i].front &&
                  again[i].back == printers[i].back && again[i].device_mode == printers[i].device_mode);
            Check(printers[i].device_mode.size() <= kLargestDeviceMode);
        }
    }

    DeviceModeHeader header;
    if (ReadDeviceModeHeader(file, header)) DeviceModeFits(file, header);
    return 0;
}
