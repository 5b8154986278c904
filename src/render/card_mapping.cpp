#include "render/card_mapping.h"

#include "design/saturating.h"

namespace {

int Trunc(double value) { return TruncateToInt(value); }

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
