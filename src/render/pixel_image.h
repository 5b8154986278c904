// Pictures as pixels in memory, and the little arithmetic every target needs on them:
// resampling to the size a target shows them at, laying one over another with its
// transparency, and turning them the way the camera held them. No Windows header: the
// screen, the printed page and the exported file all compose through these same rules.
#pragma once
#include <cstdint>
#include <vector>

#include "design/card_design.h"

// A picture of width × height pixels, rows top-down, each pixel 0xAARRGGBB with its colour
// premultiplied by its alpha (the layout of a 32-bit Windows DIB). opaque is true when
// every alpha byte is 255; then the colour bytes are the plain colour.
struct PixelImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    bool opaque = true;
    // The resolution the file records, pixels per metre; 0 when it records none.
    double per_metre_x = 0, per_metre_y = 0;

    bool Empty() const { return width <= 0 || height <= 0 || pixels.empty(); }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// The largest picture the program takes: 100 million pixels (a 24-megapixel photo needs a
// quarter of it). Larger ones are refused before their pixels are allocated.
inline constexpr std::uint64_t kMaxPicturePixels = 100'000'000;

// A blank picture of w × h pixels (0 or negative sizes give an empty one), every pixel
// `fill`; opaque follows the fill's alpha.
PixelImage MakePixelImage(int w, int h, std::uint32_t fill);

// Sets opaque from the pixels.
void UpdateOpacity(PixelImage& image);

// The part `from` of source (clipped to the picture) resampled to w × h pixels by area
// averaging: each result pixel is the mean of the source area it covers, weighted by how
// much of each source pixel falls inside it, in premultiplied colour so that transparent
// pixels lend no colour to their neighbours. A from of the picture's own size at w × h of
// the same size copies it exactly. With white_transparent, pure opaque white source pixels
// count as fully transparent (the 透過 flag of pictures without alpha). When part is given,
// only that rectangle of the w × h result is made (clipped to it), so a picture stretched
// far past what a target shows costs only what it shows. An empty source, an empty from,
// w or h below 1, or an empty part give an empty picture.
PixelImage ScaleImage(const PixelImage& source, const SourceRect& from, int w, int h,
                      bool white_transparent = false, const SourceRect* part = nullptr);

// Lays layer over target with its top-left corner at (x, y) of target: source-over in
// premultiplied colour, clipped to target. target keeps its own opacity flag updated.
void DrawOver(PixelImage& target, const PixelImage& layer, int x, int y);

// Composes every pixel over an opaque colour (0x00RRGGBB); the picture becomes opaque.
void FlattenOver(PixelImage& image, std::uint32_t rgb);

// The picture turned by an orientation tag (1 as stored, 2 mirrored, 3 half turn, 4 flipped,
// 5 transposed, 6 quarter turn clockwise, 7 transversed, 8 quarter turn anticlockwise), so
// that it shows the way the camera held it. Any other value leaves it as stored.
PixelImage OrientImage(const PixelImage& image, int orientation);

// True when the orientation swaps the picture's width and height (5 to 8).
inline bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

// Pixels of a 32-bit bitmap file whose fourth byte may be alpha or padding: all fourth
// bytes 0 means padding (the picture is opaque), anything else is straight alpha, which is
// premultiplied here.
void AdoptBitmapAlpha(PixelImage& image);

// The size in card pixels at which a picture of w × h pixels is placed when a dialog takes
// its natural size. A picture that records a resolution of at least twice the card's
// (10000 pixels per metre; the card has 5000) is sized by it, so a print-resolution
// picture lands at the size it was made for; any other keeps its pixel size, as pictures
// always have. A result is at least 1 pixel on each side.
struct NaturalSize {
    int w, h;
};
NaturalSize NaturalCardSize(int w, int h, double pixels_per_metre_x, double pixels_per_metre_y);
