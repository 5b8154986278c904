// The ranges the program's own dialogs keep a design in, and the rule that brings a
// design read from a file into them. A file may hold any int in any field (hand-edited,
// damaged, written by another program); what the dialogs could never have produced is
// brought into range before the design is laid out, painted or printed. The file itself
// is left as it is until the user saves.
#pragma once
#include "design/card_design.h"

// The card's side in card pixels (the base dialog's range).
inline constexpr int kSmallestCardSide = 1;
inline constexpr int kLargestCardSide = 10000;

// Cards across and down the sheet (the layout dialog offers 1 to 10; 0 prints none).
inline constexpr int kLargestSheetCount = 10;

// Lengths on paper in 0.1 mm, as the layout dialog shows them ("999.9" at most): card
// sizes from 0, positions and gaps also down to the negative bound.
inline constexpr int kLargestSheetLength = 9999;

// QR module size in card pixels: the QR dialog reads two digits.
inline constexpr int kLargestModuleSize = 99;

// The count kept within 0..kLargestSheetCount.
int LimitSheetCount(int count);
// A card size or cut-mark length kept within 0..kLargestSheetLength.
int LimitSheetSize(int tenths);
// A position or gap kept within -kLargestSheetLength..kLargestSheetLength.
int LimitSheetOffset(int tenths);

// Puts a rectangle wholly on a card of card_w x card_h pixels (both >= 0), as the mark
// dialog and the mouse keep marks: its width into 0..card_w and its height into
// 0..card_h (a mark never placed keeps its size 0), then x into 0..card_w - w and y into
// 0..card_h - h.
void KeepRectOnCard(int& x, int& y, int& w, int& h, int card_w, int card_h);

// Brings every count, size and position of one side into the ranges above: the card
// size; marks and the face wholly on the card; text and QR positions on the card; font
// heights and widths, QR sizes within the card's largest side; QR module sizes within
// 0..kLargestModuleSize. Values already in range are left exactly as they are.
void KeepSideInRange(CardSide& side);

// Brings the whole design into the ranges above: front and back (KeepSideInRange); the
// sheet grid, the printed card size and the cut marks within the layout dialog's ranges;
// the back's use flag to 0 or 1, the duplex choice to one of its three. Values already in
// range are left exactly as they are, so a design the program wrote reads back unchanged.
void KeepDesignInRange(CardDesign& design);
