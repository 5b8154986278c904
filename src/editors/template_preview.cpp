#include "editors/template_preview.h"

#include <algorithm>

namespace {

constexpr double kSmallestPreviewScale = 0.01;

double Fit(double room, double length) { return room / length; }

}  // namespace

TwoSidePreview PlaceTwoSides(int front_w, int front_h, int back_w, int back_h, const DeviceRect& area, int label_h,
                             int gap) {
    const double fw = std::max(front_w, 1), fh = std::max(front_h, 1);
    const double bw = std::max(back_w, 1), bh = std::max(back_h, 1);
    const double stacked = std::min(Fit(area.w, std::max(fw, bw)), Fit(area.h - 2.0 * label_h - gap, fh + bh));
    const double beside = std::min(Fit(area.w - static_cast<double>(gap), fw + bw), Fit(area.h - label_h, std::max(fh, bh)));
    const bool stack = stacked >= beside;
    const double scale = std::clamp(std::max(stacked, beside), kSmallestPreviewScale, kLargestPreviewScale);
    TwoSidePreview places;
    places.front.scale = places.back.scale = scale;
    places.front.label = {area.x, area.y};
    places.back.label = stack ? DevicePoint{area.x, area.y + label_h + static_cast<int>(fh * scale) + gap}
                              : DevicePoint{area.x + static_cast<int>(fw * scale) + gap, area.y};
    places.front.card = {places.front.label.x, places.front.label.y + label_h};
    places.back.card = {places.back.label.x, places.back.label.y + label_h};
    return places;
}
