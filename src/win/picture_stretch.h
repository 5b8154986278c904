// Pictures stretched onto a device context: the one way every window, dialog and printed
// page copies a picture. Pictures are decoded pixels (render/pixel_image.h), resampled by
// the program itself and sent to the device as they are when opaque, or blended with
// their alpha where the device lies under them.
#pragma once
#include <windows.h>

#include <memory>

#include "design/card_design.h"
#include "render/card_mapping.h"
#include "render/pixel_image.h"

// A decoded picture, shared by whoever shows it and never changed once loaded.
using PicturePtr = std::shared_ptr<const PixelImage>;

// A resampled working copy of a picture for one target, made again only when the part,
// the size or the keying asked for changes.
struct ScaledCopy {
    const PixelImage* source = nullptr;
    SourceRect from{};
    int w = 0, h = 0;
    bool keyed = false;
    SourceRect part{};
    PixelImage pixels;
};

// One picture to paint and, when the target keeps one, its working copy. No image: no
// picture.
struct PaintPicture {
    const PixelImage* image = nullptr;
    ScaledCopy* cache = nullptr;
    bool Loaded() const { return image && !image->Empty(); }
};

// A picture held by a window or a dialog, with the working copy of the one place it shows.
class Picture {
public:
    Picture() = default;
    explicit Picture(PicturePtr image) : image_(std::move(image)) {}
    const PixelImage* Get() const { return image_.get(); }
    const PicturePtr& Shared() const { return image_; }
    explicit operator bool() const { return image_ && !image_->Empty(); }
    void Reset(PicturePtr image = {}) {
        image_ = std::move(image);
        copy_ = ScaledCopy{};
    }
    PaintPicture Paint() { return {image_.get(), &copy_}; }

private:
    PicturePtr image_;
    ScaledCopy copy_;
};

// The format of w x h pixels of 32 bits held top-down, rows packed, as PixelImage holds
// them: for DIB sections and for sending such pixels to a device.
BITMAPINFO TopDownInfo(int w, int h);

SIZE PictureSize(const PaintPicture& picture);

// The size in card pixels a picture is placed at when a dialog takes its natural size
// (NaturalCardSize).
SIZE NaturalPictureSize(const PixelImage& picture);

// The whole picture as a source rectangle.
SourceRect WholePicture(const PaintPicture& picture);

// The rectangle `part` of `from` of the picture resampled to w × h (ScaleImage), from the
// picture's working copy when it has one that fits, else made into scratch.
const PixelImage& ScaledPixels(const PaintPicture& picture, const SourceRect& from, int w, int h, bool keyed,
                               const SourceRect& part, PixelImage& scratch);

// Sends pixels to dc with their top-left corner at (x, y), one device pixel each: opaque
// ones as they are, others blended with what the device shows there (AlphaBlend). False
// only when the device refused them.
bool SendPixels(HDC dc, const PixelImage& pixels, int x, int y);

// Sends opaque pixels stretched over `to` (a printer scales them itself).
bool SendPixelsStretched(HDC dc, const PixelImage& pixels, const DeviceRect& to);

// Stretches `from` of the picture over `to`: resampled to to's size, then sent. With
// white_transparent, pure white pixels of a picture without alpha are left out. Returns
// false only when the device refused the pixels; the caller reports that
// ("失敗しました。" / "CreateCompatibleDC").
bool StretchPicture(HDC dc, const PaintPicture& picture, const DeviceRect& to, const SourceRect& from,
                    bool white_transparent = false);

// A bitmap of the program's resources (the About picture) stretched over `to` in
// half-tone mode. False when no memory device context can be made.
bool StretchBitmap(HDC dc, HBITMAP bitmap, const DeviceRect& to, const SourceRect& from);

// A device-independent bitmap holding the picture composed over white, for windows that
// keep a bitmap (the photo editor, the sheet pictures). nullptr when none can be made.
HBITMAP MakePictureBitmap(const PixelImage& picture);

inline constexpr wchar_t kMemoryDcFailed[] = L"失敗しました。";
inline constexpr wchar_t kMemoryDcCaption[] = L"CreateCompatibleDC";
