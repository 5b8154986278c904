// The mark dialog's rules that need no window: how a row's controls are read back into
// its mark, the clamping of a mark onto the card, and where a mark's preview is painted.
#pragma once
#include <string_view>

#include "design/card_design.h"
#include "render/card_mapping.h"

// What one row of the dialog holds, as the user left it.
struct MarkRowInput {
    bool on;                     // use check box
    std::u16string_view x, y;    // position edits
    std::u16string_view w, h;    // size edits
    bool m;                      // 透過 check box
    std::u16string_view path;    // picture path edit
};

// Reads a row back into its mark: the flags, the position and size (each the leading
// number of the first 31 units of its edit, 0 when there is none) and the picture path.
// A path too long for the field is refused and the mark keeps its path. The mark is then
// clamped onto a card of card_w x card_h pixels (ClampMarkOntoCard).
void StoreMarkRow(MarkData& mark, const MarkRowInput& row, int card_w, int card_h);

// Puts the mark wholly on the card: its width into 1..card_w and its height into
// 1..card_h (a size is never below 1, even on a card of no size), then x into
// 0..card_w - w and y into 0..card_h - h.
void ClampMarkOntoCard(MarkData& mark, int card_w, int card_h);

// Where the dialog paints the preview of mark 0..4, in client pixels: from (390, 5 + 55 *
// mark), the picture squeezed into at most 80 x 50 pixels.
inline constexpr int kMarkPreviewLeft = 390;
inline constexpr int kMarkPreviewTop = 5;
inline constexpr int kMarkPreviewPitch = 55;
inline constexpr int kMarkPreviewWidth = 80;
inline constexpr int kMarkPreviewHeight = 50;
DeviceRect MarkPreviewRect(int mark, int picture_w, int picture_h);
