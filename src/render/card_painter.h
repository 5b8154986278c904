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
    // Printed pages: the pictures are composed over white paper and sent as one opaque
    // picture, so that no printer driver is asked to blend. Other targets blend what is
    // not opaque with what they show under the card.
    bool opaque_pictures = false;
    // QR codes as the outline of their stored size instead of the symbol (small previews).
    bool qr_outlines = false;
    // Pick code of the item being dragged, which is left out (0: none; QR codes never).
    int hidden_pick = 0;
    // Print data: device pixels of background beyond each edge of the card. The composed
    // picture then covers card and bleed, the base picture cut by BleedCrop.
    int bleed_x = 0, bleed_y = 0;
    // When given, entry j receives the extent of text item j each time it is drawn.
    SIZE* text_extents = nullptr;
};

// The card's pictures composed into one picture the size of the card on the target
// (MapCard of the mapping, grown by the paint's bleed on every side), bottom to top: the base picture cut by BaseCrop to the card's
// proportions and stretched over the whole card, the face, marks 0..4, each when its use
// flag is set and its picture loaded. Marks whose m flag is set leave out the pure white
// of a picture without alpha; pictures with alpha are laid on with it. base_drawn tells
// whether the base was there (the outline and cut marks follow it). Empty when no picture
// is shown.
PixelImage ComposeCardPictures(const CardDesign& design, const CardPaint& paint, const CardPictures& pictures,
                               bool& base_drawn);

// ComposeCardPictures sent to the target at the card's place (less the bleed). True when the base was
// drawn. A device that refuses the pixels is noted in report.
bool PaintCardPictures(HDC dc, const CardDesign& design, const CardPaint& paint, const CardPictures& pictures,
                       PaintReport& report);

// The items above the pictures, bottom to top: texts 0..14 and QR codes 0..3, each when
// its use flag is set.
void PaintCardItems(HDC dc, const CardDesign& design, const CardPaint& paint, PaintReport& report);

// The trim line (the card's edge) and, dashed, the safety line 3 mm inside it on paper,
// through the mapping, in black over what is drawn.
void DrawTrimLines(HDC dc, const CardDesign& design, const CardMapping& mapping);

// One text item with its top-left corner at `at`: a font from `font` sized by mapping,
// opaque background box when bk is set, the item's colours, the whole string. Returns the
// unrotated extent of the string in that font.
SIZE DrawTextItem(HDC dc, const StrData& item, const LogFont& font, DevicePoint at,
                  const CardMapping& mapping);

// The unrotated extent of an item's string in its font at one device pixel per card pixel.
SIZE MeasureTextItem(HDC dc, const StrData& item, const LogFont& font);
