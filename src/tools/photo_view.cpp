#include "tools/photo_view.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

// trunc(size x scale / 100) without overflow for any int size.
int Scaled(int size, int scale) {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{size} * scale / 100, INT32_MAX));
}

// trunc(size / (scale / 100)): how many photo pixels size screen pixels show.
int Unscaled(int size, int scale) { return static_cast<int>(std::int64_t{size} * 100 / scale); }

}  // namespace

ViewLayout LayoutView(int photo_width, int photo_height, int scale, int offset_x, int offset_y) {
    ViewLayout layout;
    if (photo_width <= 0 || photo_height <= 0) return layout;
    scale = Clamp(scale, kMinScale, kMaxScale);
    const int dw = std::min(Scaled(photo_width, scale), kViewWidth);
    const int dh = std::min(Scaled(photo_height, scale), kViewHeight);
    const int sw = std::min(photo_width, Unscaled(dw, scale));
    const int sh = std::min(photo_height, Unscaled(dh, scale));
    int sx = std::max(offset_x, 0);
    int sy = std::max(offset_y, 0);
    if (sx > photo_width - sw) sx = photo_width - sw;
    if (sy > photo_height - sh) sy = photo_height - sh;
    layout.source = {sx, sy, sw, sh};
    layout.destination = {0, 0, dw, dh};
    return layout;
}

int FitScale(int photo_width, int photo_height) {
    if (photo_width <= 0 || photo_height <= 0) return kStartScale;
    const std::int64_t across = std::int64_t{kViewWidth} * 100 / photo_width;
    const std::int64_t down = std::int64_t{kViewHeight} * 100 / photo_height;
    return static_cast<int>(std::clamp<std::int64_t>(std::min(across, down), kMinScale, kMaxScale));
}

int PannedOffset(int offset_at_press, int drag, int photo_size, int view_size, int scale) {
    const int shown = Unscaled(view_size, Clamp(scale, kMinScale, kMaxScale));
    if (photo_size < shown) return 0;
    const std::int64_t moved = std::int64_t{offset_at_press} - drag;
    return static_cast<int>(std::clamp<std::int64_t>(moved, 0, photo_size - shown));
}

int ZoomedScale(int scale_at_press, int dx, int dy) {
    const int d = std::abs(std::int64_t{dx}) > std::abs(std::int64_t{dy}) ? dx : dy;
    if (d == 0) return scale_at_press;
    return Clamp(scale_at_press + d / 10 * kScaleStep, kMinScale, kMaxScale);
}

void ClampToView(int& x, int& y) {
    x = Clamp(x, 0, kViewWidth);
    y = Clamp(y, 0, kViewHeight);
}

ViewCut FixedCut(int x, int y, int width, int height) {
    if (width < 1 || height < 1) return {};
    if (width > kViewWidth || height > kViewHeight) return {CutStatus::LargerThanView, {}};
    ClampToView(x, y);
    return {CutStatus::Ok, {std::min(x, kViewWidth - width), std::min(y, kViewHeight - height), width, height}};
}

ViewCut DraggedCut(int press_x, int press_y, int x, int y) {
    ClampToView(press_x, press_y);
    ClampToView(x, y);
    const PixelRect cut{std::min(press_x, x), std::min(press_y, y), press_x > x ? press_x - x : x - press_x,
                        press_y > y ? press_y - y : y - press_y};
    if (cut.Empty()) return {};
    return {CutStatus::Ok, cut};
}
