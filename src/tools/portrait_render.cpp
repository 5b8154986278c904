#include "tools/portrait_render.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "design/fixed_text.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

// Draws image through its mask onto canvas, turned into the parallelogram for the
// top-left corner (x, y).
void DrawTurned(const PixelBitmap& canvas, const PixelBitmap& image, const PixelBitmap& mask, int x, int y, int angle,
                bool mirrored) {
    DrawParallelogram(canvas.Rows(), image.Rows(), mask.Rows(),
                      ParallelogramCorners(x, y, image.width, image.height, angle / 180.0, mirrored));
}

// One record of the composition on the background's own bitmap (its top-left corner at
// the background's). A part whose file does not load, or sized below 1, is left out.
bool DrawRecord(const PixelBitmap& canvas, const PortraitPart& part, bool face_outline) {
    if (part.used == kPartUnused || part.w < 1 || part.h < 1) return true;
    const BitmapHandle picture = LoadPart(W(TextOf(part.file)));
    if (!picture) return true;
    PixelBitmap normal, mirror, normal_mask, mirror_mask;
    if (!RenderPart(picture.Get(), part.w, part.h, normal) || !normal_mask.Create(part.w, part.h)) return false;
    const bool pair = part.used == kPartPair;
    if (pair) {
        if (!mirror.Create(part.w, part.h) || !mirror_mask.Create(part.w, part.h)) return false;
        std::memcpy(mirror.bits, normal.bits, static_cast<size_t>(normal.stride) * normal.height);
        MirrorRows(mirror.Rows());
        WhiteMask(mirror.Rows(), mirror_mask.Rows());
    }
    WhiteMask(normal.Rows(), normal_mask.Rows());
    const auto red = static_cast<std::uint8_t>(part.red), green = static_cast<std::uint8_t>(part.green),
               blue = static_cast<std::uint8_t>(part.blue);
    RecolourPart(normal.Rows(), face_outline, red, green, blue);
    if (pair) RecolourPart(mirror.Rows(), face_outline, red, green, blue);
    DrawTurned(canvas, normal, normal_mask, part.x, part.y, part.angle, false);
    if (pair) DrawTurned(canvas, mirror, mirror_mask, canvas.width - part.w - part.x, part.y, part.angle, true);
    return true;
}

}  // namespace

bool PixelBitmap::Create(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || !pixels) return false;
    bits = static_cast<std::uint8_t*>(pixels);
    width = w;
    height = h;
    stride = (w * 3 + 3) / 4 * 4;
    return true;
}

// A part picture of the start folder (entry "kao\..."), whatever the current directory.
BitmapHandle LoadPart(std::wstring_view entry) {
    if (entry.empty()) return BitmapHandle();
    const std::wstring path = StartFolderOrCurrent() + L"\\" + std::wstring(entry);
    return BitmapHandle(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

// The part picture scaled to w x h (whole pixels, no blending, so pure white and black
// stay pure). False when a drawing step fails.
bool RenderPart(HBITMAP picture, int w, int h, PixelBitmap& out) {
    const SIZE size = BitmapSize(picture);
    if (w < 1 || h < 1 || size.cx < 1 || size.cy < 1 || !out.Create(w, h)) return false;
    MemoryDc from(nullptr);
    MemoryDc to(nullptr);
    if (!from || !to) return false;
    SelectGuard source(from.Get(), picture);
    SelectGuard target(to.Get(), out.bitmap.Get());
    if (!source || !target) return false;
    StretchModeGuard mode(to.Get(), COLORONCOLOR);
    const bool drawn = StretchBlt(to.Get(), 0, 0, w, h, from.Get(), 0, 0, size.cx, size.cy, SRCCOPY) != FALSE;
    GdiFlush();
    return drawn;
}

// The portrait as it stands, the background's size: white, then the parts bottom to top
// (back hair, face, the other slots, then eyes to glasses). Null when drawing fails.
HBITMAP RenderPortrait(const PortraitComposition& composition) {
    const PortraitBackground& background = composition.background;
    PixelBitmap portrait;
    if (!portrait.Create(background.width, background.height)) return nullptr;
    std::memset(portrait.bits, 0xFF, static_cast<size_t>(portrait.stride) * portrait.height);
    std::vector<const PortraitPart*> order{&composition.records[kBackHair], &composition.records[kFaceOutline]};
    for (const PortraitPart& other : composition.others) order.push_back(&other);
    for (int c = kEyes; c < kPortraitRecords; ++c) order.push_back(&composition.records[c]);
    for (const PortraitPart* part : order)
        if (!DrawRecord(portrait, *part, part == &composition.records[kFaceOutline]))
            return nullptr;
    GdiFlush();
    return portrait.bitmap.Release();
}

