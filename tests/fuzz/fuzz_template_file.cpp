// The template reader over any bytes: the template applied to a design, written as a
// design file, read back as a template and applied again writes the same bytes.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "design/settings_file.h"
#include "design/template_design.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto templ = std::make_unique<TemplateDesign>();
    ResetTemplate(*templ);
    ReadTemplateBytes(*templ, std::span<const std::uint8_t>(data, size));
    for (const StrData& t : templ->str_data) Check(t.s64[63] == 0);
    for (const QrcodeData& q : templ->qrcode_data) Check(q.s[287] == 0);

    auto design = std::make_unique<CardDesign>();
    ResetDesign(*design, SettingsScope::Full);
    ApplyTemplate(*design, *templ);
    const std::vector<std::uint8_t> first = SettingsFileBytes(*design, SettingsScope::Design);

    auto again = std::make_unique<TemplateDesign>(*templ);
    Check(ReadTemplateBytes(*again, first) == SettingsReadStatus::Read);
    auto applied = std::make_unique<CardDesign>(*design);
    ApplyTemplate(*applied, *again);
    Check(SettingsFileBytes(*applied, SettingsScope::Design) == first);
    return 0;
}
