// Drawing the portrait composer's parts: part pictures loaded from the start folder, scaled
// into pixels the program works on directly, and the whole portrait composed from them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "tools/portrait_rules.h"
#include "win/guards.h"

// A 24-bit top-down DIB section whose pixels the program reads and writes directly.
struct PixelBitmap {
    BitmapHandle bitmap;
    std::uint8_t* bits = nullptr;
    int width = 0, height = 0, stride = 0;
    // A new, black picture of w x h; false when the system gives none.
    bool Create(int w, int h);
    PixelRows Rows() const { return {bits, width, height, stride}; }
};

// A part picture of the start folder (entry "kao\..."), whatever the current directory;
// none for an empty entry or a file that does not load.
BitmapHandle LoadPart(std::wstring_view entry);

// Width and height of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// The picture scaled to w x h in whole pixels (no blending, so pure white and black stay
// pure). False for a size below 1 or when a drawing step fails.
bool RenderPart(HBITMAP picture, int w, int h, PixelBitmap& out);

// The portrait as the background shows it, the background's size: white, then the parts
// in use bottom to top (back hair, face, the other slots, then eyes to glasses), each
// scaled, masked where white, recoloured, mirrored for pairs and turned. Every part file
// is loaded again. Null when a drawing step fails; a part that does not load is left out.
HBITMAP RenderPortrait(const PortraitComposition& composition);
