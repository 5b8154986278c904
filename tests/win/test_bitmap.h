// A 32-bit top-down DIB section selected into a memory context, for painting tests.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

class TestBitmap {
public:
    TestBitmap(int width, int height, COLORREF fill = RGB(255, 255, 255))
        : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        Fill(fill);
    }
    TestBitmap(const TestBitmap&) = delete;
    TestBitmap& operator=(const TestBitmap&) = delete;
    ~TestBitmap() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(COLORREF colour) {
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i) bits_[i] = ToPixel(colour);
    }
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of the rectangle, clipped to the bitmap, that have (same) or have not the colour.
    int Count(RECT r, COLORREF colour, bool same = true) const {
        GdiFlush();
        const uint32_t want = ToPixel(colour);
        int n = 0;
        for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < height_; ++y)
            for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < width_; ++x)
                n += ((bits_[y * width_ + x] & 0xFFFFFF) == want) == same;
        return n;
    }
    int CountOther(int left, int top, int right, int bottom, COLORREF colour) const {
        return Count({left, top, right, bottom}, colour, false);
    }
    int CountColour(int left, int top, int right, int bottom, COLORREF colour) const {
        return Count({left, top, right, bottom}, colour);
    }
    int CountNotWhite(RECT r) const { return Count(r, RGB(255, 255, 255), false); }
    RECT All() const { return {0, 0, width_, height_}; }

    // What window shows now from client point (x, y), brought up to date first.
    void CopyFromWindow(HWND window, int x, int y) {
        UpdateWindow(window);
        HDC dc = GetDC(window);
        BitBlt(dc_, 0, 0, width_, height_, dc, x, y, SRCCOPY);
        ReleaseDC(window, dc);
    }

private:
    static uint32_t ToPixel(COLORREF c) {
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    uint32_t* bits_ = nullptr;
};

// Width, height and pixel (x, y) of the bytes of a 24-bit bottom-up BMP file.
struct BmpFile {
    std::vector<std::uint8_t> bytes;
    int Read32(int at) const {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
    }
    int Width() const { return Read32(18); }
    int Height() const { return Read32(22); }
    COLORREF Pixel(int x, int y) const {
        const int row = (Width() * 3 + 3) / 4 * 4;
        const std::uint8_t* p = &bytes[54 + (Height() - 1 - y) * row + x * 3];
        return RGB(p[2], p[1], p[0]);
    }
};
