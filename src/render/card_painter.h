// The one painter of a card, whatever the target: the main window's preview, a printed
// page, a dialog's preview. A target differs only in its mapping from card pixels to
// device pixels and in the pictures it hands over. Painting shows no message box: every
// failure is noted in a PaintReport for the caller to show when the paint is over.
#pragma once
#include <windows.h>

#include "design/card_design.h"
#include "render/card_mapping.h"
#include "win/paint_report.h"
#include "win/picture_stretch.h"

// The pictures a target paints with; any of them may be absent.
struct CardPictures {
    PaintPicture base;
    PaintPicture mark[kMarkCount];
    PaintPicture face;
};

// What a target asks of the painter besides its mapping.
struct CardPaint {
    CardMapping mapping;
    // Pure white pixels of marks whose m flag is set are left out (the screen). Printed
    // pages pass false: they print a capture of the screen for such marks instead.
    bool transparent_marks = true;
    // QR codes as the outline of their stored size instead of the symbol (small previews).
    bool qr_outlines = false;
    // Pick code of the item being dragged, which is left out (0: none; QR codes never).
    int hidden_pick = 0;
    // When given, entry j receives the extent of text item j each time it is drawn.
    SIZE* text_extents = nullptr;
};

// The base picture when it is loaded, cut by BaseCrop to the card's proportions and
// stretched over the whole card. True when it was drawn (outline and cut marks follow it).
bool PaintCardBase(HDC dc, const CardDesign& design, const CardPaint& paint,
                   const CardPictures& pictures, PaintReport& report);

// The items above the base, bottom to top: the face, marks 0..4, texts 0..14 and QR codes
// 0..3, each when its use flag is set (and its picture loaded).
void PaintCardItems(HDC dc, const CardDesign& design, const CardPaint& paint,
                    const CardPictures& pictures, PaintReport& report);

// One text item with its top-left corner at `at`: a font from `font` sized by mapping,
// opaque background box when bk is set, the item's colours, the whole string. Returns the
// unrotated extent of the string in that font.
SIZE DrawTextItem(HDC dc, const StrData& item, const LogFont& font, DevicePoint at,
                  const CardMapping& mapping);
