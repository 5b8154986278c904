// The card's size as typed into the base dialog, with no Windows header. Everything that
// draws or prints the card divides by its width and height, so a typed size never goes
// below one pixel, and it stays small enough to draw.
#pragma once
#include <string_view>

#include "design/design_ranges.h"

inline constexpr int kMaxCardPixels = kLargestCardSide;
// The units of a size box that are read, as the other number boxes of the program.
inline constexpr int kCardSizeUnits = 31;

// The width or height typed (its first 31 units, read like _wtoi): a value below 1, or
// text that is not a number, keeps previous; a value above kMaxCardPixels is that bound.
int ReadCardSide(std::u16string_view typed, int previous);
