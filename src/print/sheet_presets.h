// Card-stock presets of the layout dialog: the stocks the program knows, the ones the user
// saved (sheets.ini in the start folder), and the grid centred on the printer's paper.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "print/key_value_text.h"

struct CardDesign;

// The eight layout fields of the design, lengths in 0.1 mm.
struct SheetGrid {
    int pw, ph;      // card width and height
    int cntx, cnty;  // cards across and down
    int px, py;      // top-left card from the paper's left and top edges
    int spx, spy;    // gaps between neighbouring cards
    friend bool operator==(const SheetGrid&, const SheetGrid&) = default;
};

SheetGrid GridOf(const CardDesign& design);
void PutGrid(CardDesign& design, const SheetGrid& grid);

// Each value brought into the layout dialog's ranges (LimitSheetSize, LimitSheetCount,
// LimitSheetOffset), as a grid read from a file must be before it is used.
SheetGrid LimitGrid(const SheetGrid& grid);

struct SheetPreset {
    std::u16string name;
    SheetGrid grid;
};

// The combo's first entries: the fields as they are, then the two built-in stocks.
inline constexpr char16_t kFreeLayoutName[] = u"自由設定";
inline constexpr char16_t kA4TenName[] = u"A4 10面 名刺 91×55 (左14 上11)";
inline constexpr char16_t kA4TenCentredName[] = u"A4 10面 名刺 91×55 (中央)";

// A4 business-card stock: 10 cards of 91 x 55 mm, 2 across and 5 down, from 14 mm at the
// left and 11 mm at the top, no gaps.
inline constexpr SheetGrid kA4TenGrid{910, 550, 2, 5, 140, 110, 0, 0};

// A4 in 0.1 mm, the paper assumed while the printer's is not known.
inline constexpr int kA4Width = 2100;
inline constexpr int kA4Height = 2970;

// A paper length in 0.1 mm from the printer's physical size in device pixels and its
// resolution, rounded to the nearest 0.1 mm; 0 when either is not positive.
int PaperTenths(int physical_px, int dpi);

// The A4 ten-card grid centred on paper of paper_w x paper_h (0.1 mm, measured from the
// paper's edges, whatever the printable area's margins are); A4 when a size is not
// positive. Odd remainders round down: (2099 - 1820) / 2 gives 139.
SheetGrid CentredA4Ten(int paper_w, int paper_h);

// Longest preset name in UTF-16 units; a longer one is refused, never cut.
inline constexpr std::size_t kPresetNameUnits = 63;
// Most presets the user can save.
inline constexpr std::size_t kMostSavedPresets = 100;

// What a name typed for a new preset is.
enum class PresetName {
    New,         // a name not yet used: saved as a new preset
    Existing,    // the name of a saved preset: to be replaced after asking
    Empty,       // nothing but blanks
    TooLong,     // more than kPresetNameUnits units
    NotAllowed,  // a control character, or the name of an entry the program provides
    Full,        // new, but kMostSavedPresets are saved already
};
PresetName CheckPresetName(std::u16string_view name, const std::vector<SheetPreset>& saved);

// Adds preset, or replaces the saved one of the same name in its place.
void SavePreset(std::vector<SheetPreset>& saved, const SheetPreset& preset);

// sheets.ini: "sheet[i].name", then "sheet[i].base_pw" ... "sheet[i].base_spy" for each
// saved preset i, in the order given.
std::vector<std::uint8_t> SheetsFileBytes(const std::vector<SheetPreset>& saved);

// Reads sheets.ini into saved (which is cleared). An entry is taken when it has a name
// that fits, is not blank, holds no control character, is none of the program's own and
// not an earlier entry's; its missing values are 0 and all are brought into range
// (LimitGrid). At most kMostSavedPresets entries, in index order. Unreadable also for
// text in which no line names a sheet key, which is then not this file at all.
KeyValueRead ReadSheetsFile(std::span<const std::uint8_t> bytes, std::vector<SheetPreset>& saved);
