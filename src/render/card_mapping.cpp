#include "render/card_mapping.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <iterator>

#include "design/saturating.h"

namespace {

int Trunc(double value) { return TruncateToInt(value); }

int Scaled(int length, int dpi) { return static_cast<int>(static_cast<long long>(length) * dpi / 96); }

bool IsStep(int zoom) { return std::find(std::begin(kZoomSteps), std::end(kZoomSteps), zoom) != std::end(kZoomSteps); }

// The card coordinate on one axis whose span [map(c), map(c + 1)) holds device point p.
int CardCoordinate(int offset, double origin, double scale, int p) {
    const auto map = [&](long long c) { return SaturatingIntAdd(offset, Trunc(origin + c * scale)); };
    long long c = static_cast<long long>(std::floor((p - offset - origin) / scale));
    // The estimate is off by a pixel at most where truncation rounds toward zero.
    while (c > INT_MIN && map(c) > p) --c;
    while (c < INT_MAX && map(c + 1) <= p) ++c;
    return static_cast<int>(c);
}

}  // namespace

CardMapping PreviewMapping(const CardDesign& d) {
    CardMapping m;
    m.offset_x = kCardLeft;
    m.offset_y = kCardTop;
    m.card_w = d.base_w;
    m.card_h = d.base_h;
    m.module_cap = kScreenModuleCap;
    return m;
}

CardMapping ZoomedPreviewMapping(const CardDesign& d, const CardView& view) {
    CardMapping m = PreviewMapping(d);
    m.offset_x = view.left;
    m.offset_y = view.top;
    m.scale_x = m.scale_y = view.scale;
    m.card_w = d.base_w * view.scale;
    m.card_h = d.base_h * view.scale;
    m.scale_font_width = true;
    m.module_cap = std::max(1, Trunc(kScreenModuleCap * view.scale));
    return m;
}

int DefaultZoom(int dpi) {
    int best = kZoomSteps[0];
    for (int step : kZoomSteps)
        if (std::abs(step * 96 - dpi * 100) <= std::abs(best * 96 - dpi * 100)) best = step;
    return best;
}

int KnownZoom(int zoom, int dpi) { return zoom == kZoomFit || IsStep(zoom) ? zoom : DefaultZoom(dpi); }

int NextZoom(double scale, int direction) {
    const int percent = static_cast<int>(std::lround(scale * 100));
    if (direction > 0) {
        for (int step : kZoomSteps)
            if (step > percent) return step;
        return std::end(kZoomSteps)[-1];
    }
    for (auto step = std::rbegin(kZoomSteps); step != std::rend(kZoomSteps); ++step)
        if (*step < percent) return *step;
    return kZoomSteps[0];
}

CardView MainCardView(int card_w, int card_h, int zoom, int dpi, int client_w, int toolbar_bottom,
                      int status_top) {
    if (dpi <= 0) dpi = 96;
    CardView view;
    view.left = Scaled(kCardLeft, dpi);
    view.top = std::max(Scaled(kCardTop, dpi), toolbar_bottom + Scaled(4, dpi));
    zoom = KnownZoom(zoom, dpi);
    if (zoom != kZoomFit) {
        view.scale = zoom / 100.0;
        return view;
    }
    if (card_w <= 0 || card_h <= 0) return view;
    const int margin = Scaled(10, dpi);
    const double room_w = static_cast<double>(client_w) - view.left - margin;
    const double room_h = static_cast<double>(status_top) - view.top - margin;
    view.scale = std::max(kSmallestZoomScale, std::min(room_w / card_w, room_h / card_h));
    return view;
}

DevicePoint CardPointAt(const CardMapping& m, int x, int y) {
    return {CardCoordinate(m.offset_x, m.origin_x, m.scale_x, x), CardCoordinate(m.offset_y, m.origin_y, m.scale_y, y)};
}

CardMapping HalfScaleMapping(const CardDesign& d) {
    CardMapping m;
    m.offset_x = m.offset_y = 5;
    m.scale_x = m.scale_y = 0.5;
    // Not halved to whole pixels: the base picture's crop keeps the card's own proportions.
    m.card_w = d.base_w * 0.5;
    m.card_h = d.base_h * 0.5;
    m.scale_font_width = true;
    m.module_cap = kScreenModuleCap;
    return m;
}

DevicePoint MapPoint(const CardMapping& m, int x, int y) {
    return {SaturatingIntAdd(m.offset_x, Trunc(m.origin_x + x * m.scale_x)),
            SaturatingIntAdd(m.offset_y, Trunc(m.origin_y + y * m.scale_y))};
}

DeviceRect MapRect(const CardMapping& m, int x, int y, int w, int h) {
    const DevicePoint at = MapPoint(m, x, y);
    return {at.x, at.y, Trunc(w * m.scale_x), Trunc(h * m.scale_y)};
}

DeviceRect MapCard(const CardMapping& m) {
    const DevicePoint at = MapPoint(m, 0, 0);
    return {at.x, at.y, Trunc(m.card_w), Trunc(m.card_h)};
}

int MapFontHeight(const CardMapping& m, int height) { return Trunc(height * m.scale_y); }

int MapFontWidth(const CardMapping& m, int width) {
    return m.scale_font_width ? Trunc(width * m.scale_x) : width;
}

int MapModuleSize(const CardMapping& m, int sell) {
    const int size = Trunc(sell * m.scale_x);
    if (size < 1) return 1;
    return m.module_cap > 0 && size > m.module_cap ? m.module_cap : size;
}
