#include "win/picture_stretch.h"

#include <cstring>

#include "win/guards.h"

BITMAPINFO TopDownInfo(int w, int h) {
    BITMAPINFO info{};
    BITMAPINFOHEADER& header = info.bmiHeader;
    header.biSize = sizeof(header);
    header.biWidth = w;
    header.biHeight = -h;  // top-down, as the pixels are held
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return info;
}

SIZE PictureSize(const PaintPicture& picture) {
    if (!picture.Loaded()) return {0, 0};
    return {picture.image->width, picture.image->height};
}

SIZE NaturalPictureSize(const PixelImage& picture) {
    const NaturalSize size = NaturalCardSize(picture.width, picture.height, picture.per_metre_x, picture.per_metre_y);
    return {size.w, size.h};
}

SourceRect WholePicture(const PaintPicture& picture) {
    const SIZE size = PictureSize(picture);
    return {0, 0, size.cx, size.cy};
}

const PixelImage& ScaledPixels(const PaintPicture& picture, const SourceRect& from, int w, int h, bool keyed,
                               const SourceRect& part, PixelImage& scratch) {
    ScaledCopy* copy = picture.cache;
    if (copy && copy->source == picture.image && copy->from == from && copy->w == w && copy->h == h &&
        copy->keyed == keyed && copy->part == part)
        return copy->pixels;
    PixelImage scaled = ScaleImage(*picture.image, from, w, h, keyed, &part);
    if (!copy) {
        scratch = std::move(scaled);
        return scratch;
    }
    *copy = ScaledCopy{picture.image, from, w, h, keyed, part, std::move(scaled)};
    return copy->pixels;
}

bool SendPixels(HDC dc, const PixelImage& pixels, int x, int y) {
    if (pixels.Empty()) return true;
    const BITMAPINFO info = TopDownInfo(pixels.width, pixels.height);
    if (pixels.opaque)
        return SetDIBitsToDevice(dc, x, y, pixels.width, pixels.height, 0, 0, 0, pixels.height,
                                 pixels.pixels.data(), &info, DIB_RGB_COLORS) != 0;
    void* bits = nullptr;
    BitmapHandle section(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(dc);
    if (!section || !bits || !memory) return false;
    std::memcpy(bits, pixels.pixels.data(), pixels.pixels.size() * sizeof(std::uint32_t));
    SelectGuard select(memory.Get(), section.Get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(dc, x, y, pixels.width, pixels.height, memory.Get(), 0, 0, pixels.width, pixels.height,
                      blend) != FALSE;
}

bool SendPixelsStretched(HDC dc, const PixelImage& pixels, const DeviceRect& to) {
    if (pixels.Empty() || to.w <= 0 || to.h <= 0) return true;
    const BITMAPINFO info = TopDownInfo(pixels.width, pixels.height);
    SetStretchBltMode(dc, COLORONCOLOR);
    return StretchDIBits(dc, to.x, to.y, to.w, to.h, 0, 0, pixels.width, pixels.height, pixels.pixels.data(),
                         &info, DIB_RGB_COLORS, SRCCOPY) != 0;
}

bool StretchPicture(HDC dc, const PaintPicture& picture, const DeviceRect& to, const SourceRect& from,
                    bool white_transparent) {
    if (!picture.Loaded() || to.w <= 0 || to.h <= 0) return true;
    PixelImage scratch;
    const bool keyed = white_transparent && picture.image->opaque;
    return SendPixels(dc, ScaledPixels(picture, from, to.w, to.h, keyed, {0, 0, to.w, to.h}, scratch), to.x, to.y);
}

bool StretchBitmap(HDC dc, HBITMAP bitmap, const DeviceRect& to, const SourceRect& from) {
    if (!bitmap) return true;
    MemoryDc memory(dc);
    if (!memory) return false;
    SelectGuard select(memory.Get(), bitmap);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE needs the brush origin reset
    StretchBlt(dc, to.x, to.y, to.w, to.h, memory.Get(), from.x, from.y, from.w, from.h, SRCCOPY);
    return true;
}

HBITMAP MakePictureBitmap(const PixelImage& picture) {
    if (picture.Empty()) return nullptr;
    PixelImage flat = picture;
    if (!flat.opaque) FlattenOver(flat, 0xFFFFFF);
    const BITMAPINFO info = TopDownInfo(flat.width, flat.height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(bits, flat.pixels.data(), flat.pixels.size() * sizeof(std::uint32_t));
    return bitmap;
}
