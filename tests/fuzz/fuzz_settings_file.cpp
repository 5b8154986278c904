// The settings reader over any bytes, in the scope the first byte picks, whole and in two
// pieces, then the round trip: what was read, written, read again and written again gives
// the same bytes; and the range rule leaves a design it already brought into range as it
// is.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "design/design_ranges.h"
#include "design/settings_file.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Same(const CardDesign& a, const CardDesign& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::unique_ptr<CardDesign> Blank() { return std::make_unique<CardDesign>(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    {
        const auto scope = size > 0 && (data[0] & 1) ? SettingsScope::Design : SettingsScope::Full;
        auto whole = Blank();
        const SettingsReadStatus status = ReadSettingsBytes(*whole, scope, file);

        // Any split into two pieces reads the same.
        auto pieces = Blank();
        SettingsFileReader reader(*pieces, scope);
        const std::size_t split = size == 0 ? 0 : (size > 1 ? data[1] : 0) % (size + 1);
        reader.Feed(file.first(split));
        reader.Feed(file.subspan(split));
        Check(reader.Finish() == status);
        Check(Same(*whole, *pieces));

        // Every text field stays terminated within its capacity.
        for (const StrData& t : whole->str_data) Check(t.s64[63] == 0);
        for (const QrcodeData& q : whole->qrcode_data) Check(q.s[287] == 0);

        const std::vector<std::uint8_t> first = SettingsFileBytes(*whole, scope);
        // Read over a copy, so that what the scope neither reads nor resets is the same.
        auto again = std::make_unique<CardDesign>(*whole);
        Check(ReadSettingsBytes(*again, scope, first) == SettingsReadStatus::Read);
        Check(SettingsFileBytes(*again, scope) == first);

        KeepDesignInRange(*whole);
        auto kept = std::make_unique<CardDesign>(*whole);
        KeepDesignInRange(*kept);
        Check(Same(*whole, *kept));
        Check(whole->base_cntx >= 0 && whole->base_cntx <= kLargestSheetCount);
        Check(whole->base_cnty >= 0 && whole->base_cnty <= kLargestSheetCount);
    }
    return 0;
}
