#include "win/picture_stretch.h"

#include "win/guards.h"

bool ReadPixelPicture(HBITMAP bitmap, PixelPicture& picture) {
    picture = PixelPicture{};
    if (!bitmap) return true;
    MemoryDc memory(nullptr);
    if (!memory) return false;
    BITMAP size{};
    GetObjectW(bitmap, sizeof(size), &size);
    if (size.bmWidth <= 0 || size.bmHeight <= 0) return true;
    picture.width = size.bmWidth;
    picture.height = size.bmHeight;
    BITMAPINFOHEADER& header = picture.info.bmiHeader;
    header.biSize = sizeof(header);
    header.biWidth = picture.width;
    header.biHeight = picture.height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height, 0);
    if (!GetDIBits(memory.Get(), bitmap, 0, picture.height, picture.pixels.data(), &picture.info,
                   DIB_RGB_COLORS))
        picture.pixels.clear();
    return true;
}

SIZE PictureSize(const PaintPicture& picture) {
    if (picture.pixels) return {picture.pixels->width, picture.pixels->height};
    BITMAP info{};
    if (!picture.bitmap || !GetObjectW(picture.bitmap, sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

SourceRect WholePicture(const PaintPicture& picture) {
    const SIZE size = PictureSize(picture);
    return {0, 0, size.cx, size.cy};
}

bool StretchPicture(HDC dc, const PaintPicture& picture, const DeviceRect& to, const SourceRect& from,
                    bool white_transparent) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE needs the brush origin reset
    if (picture.pixels) {
        const PixelPicture& p = *picture.pixels;
        if (!p.Ready()) return true;
        StretchDIBits(dc, to.x, to.y, to.w, to.h, from.x, BottomUpSourceY(p.height, from), from.w, from.h,
                      p.pixels.data(), &p.info, DIB_RGB_COLORS, SRCCOPY);
        return true;
    }
    if (!picture.bitmap) return true;
    MemoryDc memory(dc);
    if (!memory) return false;
    SelectGuard select(memory.Get(), picture.bitmap);
    if (white_transparent) {
        TransparentBlt(dc, to.x, to.y, to.w, to.h, memory.Get(), from.x, from.y, from.w, from.h,
                       RGB(255, 255, 255));
    } else {
        StretchBlt(dc, to.x, to.y, to.w, to.h, memory.Get(), from.x, from.y, from.w, from.h, SRCCOPY);
    }
    return true;
}
