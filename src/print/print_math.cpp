#include "print/print_math.h"

namespace {

// a / b, or 0 for an empty card.
double Ratio(double a, double b) { return b == 0 ? 0.0 : a / b; }

int Trunc(double value) { return static_cast<int>(value); }

}  // namespace

PrintScale ComputePrintScale(const CardDesign& d, const PrintPage& page) {
    PrintScale s{};
    s.sx = page.dpi_x / 254.0;
    s.sy = page.dpi_y / 254.0;
    s.ox = d.base_px * s.sx - page.offset_x;
    s.oy = d.base_py * s.sy - page.offset_y;
    s.cw = d.base_pw * s.sx;
    s.ch = d.base_ph * s.sy;
    s.px = d.base_spx * s.sx + s.cw;
    s.py = d.base_spy * s.sy + s.ch;
    s.fx = Ratio(d.base_pw, d.base_w);
    s.fy = Ratio(d.base_ph, d.base_h);
    return s;
}

CardOrigin CardOriginAt(const PrintScale& s, int column, int row) {
    return {column * s.px + s.ox, row * s.py + s.oy};
}

DevicePoint MapCardPoint(const PrintScale& s, CardOrigin o, int x, int y) {
    return {Trunc(o.x + x * s.fx * s.sx), Trunc(o.y + y * s.fy * s.sy)};
}

DeviceRect MapCardRect(const PrintScale& s, CardOrigin o, int x, int y, int w, int h) {
    const DevicePoint at = MapCardPoint(s, o, x, y);
    return {at.x, at.y, Trunc(w * s.fx * s.sx), Trunc(h * s.fy * s.sy)};
}

DeviceRect PrintedCardRect(const PrintScale& s, CardOrigin o) {
    return {Trunc(o.x), Trunc(o.y), Trunc(s.cw), Trunc(s.ch)};
}

int PrintedFontHeight(int lf_height, const PrintScale& s) { return Trunc(lf_height * s.fy * s.sy); }

int PrintedModuleSize(int sell, const PrintScale& s) { return Trunc(sell * s.fx * s.sx); }

std::array<CutMark, 4> CutMarks(const PrintScale& s, CardOrigin o, int length, int gap) {
    const int lx = Trunc(length * s.sx), ly = Trunc(length * s.sy);
    const int gx = Trunc(gap * s.sx), gy = Trunc(gap * s.sy);
    const double left = o.x - gx, right = o.x + s.cw + gx;
    const double top = o.y - gy, bottom = o.y + s.ch + gy;
    auto at = [](double x, double y) { return DevicePoint{Trunc(x), Trunc(y)}; };
    return {{
        {at(left, o.y + ly), at(left, top), at(o.x + lx, top)},
        {at(o.x + s.cw - lx, top), at(right, top), at(right, o.y + ly)},
        {at(left, o.y + s.ch - ly), at(left, bottom), at(o.x + lx, bottom)},
        {at(right, o.y + s.ch - ly), at(right, bottom), at(o.x + s.cw - lx, bottom)},
    }};
}

SourceRect PrintedBaseCrop(int picture_w, int picture_h, double card_w, double card_h, int mode) {
    const SourceRect whole{0, 0, picture_w, picture_h};
    if (mode < 1 || mode > 3 || card_w <= 0 || card_h <= 0) return whole;
    const double qx = picture_w / card_w;
    const double qy = picture_h / card_h;
    const double q = qx < qy ? qx : qy;
    const int w = Trunc(card_w * q);
    const int h = Trunc(card_h * q);
    switch (mode) {
        case 1: return {(picture_w - w) / 2, (picture_h - h) / 2, w, h};
        case 2: return {0, 0, w, h};
        default: return {picture_w - w, picture_h - h, w, h};
    }
}
