// The text dialog's rules that need no window: which item a row shows, its caption, how
// a row's controls are read back into the item, the clamping of a measured text into the
// card, and where the dialog paints an item's sample.
#pragma once
#include <string_view>

#include "design/card_design.h"

constexpr int kTextRows = 5;   // rows per page
constexpr int kTextPages = 3;  // kTextRows * kTextPages == kTextCount

// The item shown in row 0..4 of page 0..2.
constexpr int ItemOfRow(int page, int row) { return page * kTextRows + row; }

// The caption of item 0..14 in the dialog ("会社名" ... "その他５"); empty for others.
const char16_t* TextItemCaption(int item);

// An item counts as vertical when its escapement or its orientation is -900.
bool IsVertical(const LogFont& font);
// Vertical writing: escapement and orientation both -900; horizontal: both 0.
void SetVertical(LogFont& font, bool vertical);

// What one row of the dialog holds, as the user left it.
struct TextRowInput {
    bool on;                  // use check box
    std::u16string_view x;    // X edit
    std::u16string_view y;    // Y edit
    bool bk;                  // background box check box
    std::u16string_view text; // string edit; more than 63 units are cut
    bool vertical;            // 縦 check box
};

// Reads a row back into its item and font: the flags, the position, the string and the
// vertical flag. The use flag then follows the string: typing into an empty item
// switches it on, emptying an item switches it off, whatever the check box said.
// The position is not clamped here (see ClampIntoCard, after measuring).
void StoreTextRow(StrData& item, LogFont& font, const TextRowInput& row);

// Moves the item's position into a card of card_w x card_h pixels, given the unrotated
// extent of its text (cx wide, cy high, pixels). A vertical item runs downward, so cy
// bounds x and cx bounds y. The lower bound (0) is applied before the upper one, so a
// text larger than the card ends at a negative coordinate.
void ClampIntoCard(StrData& item, bool vertical, int cx, int cy, int card_w, int card_h);

struct SamplePoint {
    int x, y;
};

// Where the dialog paints the sample of row 0..4, in client pixels: x 260 for a
// horizontal item, 284 + 28 * row for a vertical one; y 6 + 72 * row.
SamplePoint SampleOrigin(int row, bool vertical);
