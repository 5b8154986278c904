#include "print/sheet_presets.h"

#include <algorithm>
#include <cmath>

#include "design/card_design.h"
#include "design/design_ranges.h"
#include "design/numbers.h"

namespace {

constexpr char16_t kSheetPrefix[] = u"sheet";
constexpr char16_t kNameMember[] = u"name";

// The grid's members as the file names them.
struct GridMember {
    const char16_t* name;
    int SheetGrid::*field;
};
constexpr GridMember kGridMembers[] = {
    {u"base_pw", &SheetGrid::pw},   {u"base_ph", &SheetGrid::ph},   {u"base_cntx", &SheetGrid::cntx},
    {u"base_cnty", &SheetGrid::cnty}, {u"base_px", &SheetGrid::px},   {u"base_py", &SheetGrid::py},
    {u"base_spx", &SheetGrid::spx}, {u"base_spy", &SheetGrid::spy},
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

bool HoldsControl(std::u16string_view name) {
    return std::any_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
}

bool IsOwnName(std::u16string_view name) {
    return name == kFreeLayoutName || name == kA4TenName || name == kA4TenCentredName;
}

const SheetPreset* FindPreset(const std::vector<SheetPreset>& saved, std::u16string_view name) {
    for (const SheetPreset& preset : saved)
        if (preset.name == name) return &preset;
    return nullptr;
}

// A name as a file entry may carry it: the checks of a typed name but the count.
bool AcceptableName(std::u16string_view name) {
    return !name.empty() && name.size() <= kPresetNameUnits && !std::all_of(name.begin(), name.end(), IsBlank) &&
           !HoldsControl(name) && !IsOwnName(name);
}

}  // namespace

SheetGrid GridOf(const CardDesign& d) {
    return {d.base_pw, d.base_ph, d.base_cntx, d.base_cnty, d.base_px, d.base_py, d.base_spx, d.base_spy};
}

void PutGrid(CardDesign& d, const SheetGrid& g) {
    d.base_pw = g.pw;
    d.base_ph = g.ph;
    d.base_cntx = g.cntx;
    d.base_cnty = g.cnty;
    d.base_px = g.px;
    d.base_py = g.py;
    d.base_spx = g.spx;
    d.base_spy = g.spy;
}

SheetGrid LimitGrid(const SheetGrid& g) {
    return {LimitSheetSize(g.pw),     LimitSheetSize(g.ph),     LimitSheetCount(g.cntx), LimitSheetCount(g.cnty),
            LimitSheetOffset(g.px),   LimitSheetOffset(g.py),   LimitSheetOffset(g.spx), LimitSheetOffset(g.spy)};
}

int PaperTenths(int physical_px, int dpi) {
    if (physical_px <= 0 || dpi <= 0) return 0;
    return static_cast<int>(std::lround(physical_px * 254.0 / dpi));
}

SheetGrid CentredA4Ten(int paper_w, int paper_h) {
    if (paper_w <= 0 || paper_h <= 0) paper_w = kA4Width, paper_h = kA4Height;
    SheetGrid g = kA4TenGrid;
    const long long used_w = static_cast<long long>(g.cntx) * g.pw;
    const long long used_h = static_cast<long long>(g.cnty) * g.ph;
    // Floor division, so that paper narrower than the grid gives the same rounding.
    auto half = [](long long spare) { return static_cast<int>(spare >= 0 ? spare / 2 : (spare - 1) / 2); };
    g.px = LimitSheetOffset(half(paper_w - used_w));
    g.py = LimitSheetOffset(half(paper_h - used_h));
    return g;
}

PresetName CheckPresetName(std::u16string_view name, const std::vector<SheetPreset>& saved) {
    if (std::all_of(name.begin(), name.end(), IsBlank)) return PresetName::Empty;
    if (name.size() > kPresetNameUnits) return PresetName::TooLong;
    if (!AcceptableName(name)) return PresetName::NotAllowed;
    if (FindPreset(saved, name)) return PresetName::Existing;
    return saved.size() >= kMostSavedPresets ? PresetName::Full : PresetName::New;
}

void SavePreset(std::vector<SheetPreset>& saved, const SheetPreset& preset) {
    for (SheetPreset& existing : saved) {
        if (existing.name == preset.name) {
            existing = preset;
            return;
        }
    }
    saved.push_back(preset);
}

std::vector<std::uint8_t> SheetsFileBytes(const std::vector<SheetPreset>& saved) {
    std::vector<KeyValue> lines;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        const int index = static_cast<int>(i);
        lines.push_back({IndexedKey(kSheetPrefix, index, kNameMember), saved[i].name});
        for (const GridMember& member : kGridMembers)
            lines.push_back({IndexedKey(kSheetPrefix, index, member.name), DecimalText(saved[i].grid.*member.field)});
    }
    return KeyValueBytes(lines);
}

KeyValueRead ReadSheetsFile(std::span<const std::uint8_t> bytes, std::vector<SheetPreset>& saved) {
    saved.clear();
    std::vector<KeyValue> lines;
    const KeyValueRead read = ReadKeyValueText(bytes, lines);
    if (read != KeyValueRead::Read) return read;
    // Entries by index; a name or value that occurs again replaces the earlier one.
    std::vector<SheetPreset> entries(kMostSavedPresets);
    std::vector<bool> named(kMostSavedPresets, false);
    bool any_key = false;
    for (const KeyValue& line : lines) {
        int index = 0;
        std::u16string_view member;
        if (!SplitIndexedKey(line.key, kSheetPrefix, static_cast<int>(kMostSavedPresets), index, member)) continue;
        SheetPreset& entry = entries[static_cast<std::size_t>(index)];
        if (member == kNameMember) {
            entry.name = line.value;
            named[static_cast<std::size_t>(index)] = true;
            any_key = true;
            continue;
        }
        for (const GridMember& grid_member : kGridMembers) {
            if (member != grid_member.name) continue;
            entry.grid.*grid_member.field = ParseWholeNumber(line.value);
            any_key = true;
        }
    }
    if (!any_key) return KeyValueRead::Unreadable;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SheetPreset& entry = entries[i];
        if (!named[i] || !AcceptableName(entry.name) || FindPreset(saved, entry.name)) continue;
        entry.grid = LimitGrid(entry.grid);
        saved.push_back(entry);
    }
    return KeyValueRead::Read;
}
