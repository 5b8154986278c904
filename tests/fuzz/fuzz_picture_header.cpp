// The picture header reader over any bytes: it never reads past them, and what it accepts
// stays within the sizes the program allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/picture_header.h"
#include "render/pixel_image.h"

namespace {
void Check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PictureHeader header = ReadPictureHeader(data, size);
    Check(header.orientation >= 1 && header.orientation <= 8);
    if (PlausiblePicture(header, size) && header.format != PictureFormat::kUnknown)
        Check(std::uint64_t{header.width} * header.height <= kMaxPicturePixels && header.width > 0);
    Check(ReadTiffOrientation(data, size) >= 1);
    // The pixel rules over a small picture made from the same bytes.
    if (size >= 4) {
        const int w = 1 + data[0] % 7, h = 1 + data[1] % 5;
        PixelImage p = MakePixelImage(w, h, 0);
        for (std::size_t i = 0; i < p.pixels.size(); ++i)
            p.pixels[i] = (std::uint32_t{data[(i * 4) % size]} << 24) | (data[(i * 4 + 1) % size] << 16) |
                          (data[(i * 4 + 2) % size] << 8) | data[(i * 4 + 3) % size];
        AdoptBitmapAlpha(p);
        const int tag = data[2] % 10;
        const PixelImage turned = OrientImage(p, tag);
        Check(turned.pixels.size() == p.pixels.size());
        const SourceRect from{data[3] % 9 - 2, data[2] % 7 - 2, data[1] % 11, data[0] % 9};
        const PixelImage scaled = ScaleImage(turned, from, 1 + data[3] % 13, 1 + data[0] % 11, data[1] & 1);
        for (std::uint32_t px : scaled.pixels)
            for (int shift = 0; shift < 24; shift += 8) Check(((px >> shift) & 0xFF) <= (px >> 24));
        PixelImage target = MakePixelImage(5, 4, kOpaqueWhite);
        DrawOver(target, scaled, data[2] % 7 - 3, data[3] % 7 - 3);
        Check(target.opaque);
    }
    return 0;
}
