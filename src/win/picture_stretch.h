// Pictures stretched onto a device context: the one way every window, dialog and printed
// page copies a picture.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "design/card_design.h"
#include "render/card_mapping.h"

// A bitmap's pixels read once as a bottom-up 32-bit DIB, to be sent to a printer many
// times from the same buffer.
struct PixelPicture {
    int width = 0, height = 0;
    BITMAPINFO info{};
    std::vector<std::uint32_t> pixels;
    bool Ready() const { return !pixels.empty(); }
};

// Reads the pixels of bitmap (which the caller keeps). False when no memory device context
// can be made; a bitmap that is absent or cannot be read leaves the picture not ready.
bool ReadPixelPicture(HBITMAP bitmap, PixelPicture& picture);

// One picture to paint, whichever form it has: a bitmap handle (screen and dialogs) or
// pixels read once (printer pages). Neither: no picture.
struct PaintPicture {
    HBITMAP bitmap = nullptr;
    const PixelPicture* pixels = nullptr;
    bool Loaded() const { return bitmap || (pixels && pixels->Ready()); }
};

SIZE PictureSize(const PaintPicture& picture);

// The whole picture as a source rectangle.
SourceRect WholePicture(const PaintPicture& picture);

// Stretches `from` of the picture over `to` in half-tone mode (the context keeps that
// mode). With white_transparent, pure white pixels of a bitmap are left out. Returns
// false only when no memory device context can be made for a bitmap; the caller reports
// that ("失敗しました。" / "CreateCompatibleDC").
bool StretchPicture(HDC dc, const PaintPicture& picture, const DeviceRect& to, const SourceRect& from,
                    bool white_transparent = false);

inline constexpr wchar_t kMemoryDcFailed[] = L"失敗しました。";
inline constexpr wchar_t kMemoryDcCaption[] = L"CreateCompatibleDC";
