// The face dialog's rules that need no window: how its form is read back into the face
// picture of the design, and the clamping that keeps the face wholly on the card.
#pragma once
#include <string_view>

#include "design/card_design.h"

// What the form holds, as the user left it.
struct FaceFormInput {
    bool on;                   // use check box
    std::u16string_view x, y;  // position edits
    std::u16string_view w, h;  // size edits
    std::u16string_view path;  // picture path edit
};

// Reads the form back into the face: the use flag, the position and size (each the
// leading number of the first 31 units of its edit, 0 when there is none) and the path.
// A path too long for the field is refused and the face keeps its own. The face is then
// clamped onto a card of card_w x card_h pixels (ClampFaceOntoCard).
void StoreFaceForm(PhotData& face, const FaceFormInput& form, int card_w, int card_h);

// Puts the face wholly on the card, each bound applied lower first: its width into
// 0..card_w and its height into 0..card_h (a face may have no size, unlike a mark), then
// x into 0..card_w - w and y into 0..card_h - h. Computed in 64 bits, so any int is safe.
void ClampFaceOntoCard(PhotData& face, int card_w, int card_h);
