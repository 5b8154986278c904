#include "print/print_math.h"

#include "design/saturating.h"

namespace {

// a / b, or 0 for an empty card.
double Ratio(double a, double b) { return b == 0 ? 0.0 : a / b; }

// Device coordinates beyond the int range cannot be drawn; they stop at its ends.
int Trunc(double value) { return TruncateToInt(value); }

}  // namespace

int LimitCorrection(int tenths) {
    if (tenths > kLargestCorrection) return kLargestCorrection;
    if (tenths < -kLargestCorrection) return -kLargestCorrection;
    return tenths;
}

PrintScale ComputePrintScale(const CardDesign& d, const PrintPage& page) {
    PrintScale s{};
    s.sx = page.dpi_x / 254.0;
    s.sy = page.dpi_y / 254.0;
    s.ox = (static_cast<double>(d.base_px) + LimitCorrection(page.correction.x)) * s.sx - page.offset_x;
    s.oy = (static_cast<double>(d.base_py) + LimitCorrection(page.correction.y)) * s.sy - page.offset_y;
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

CardMapping PrintMapping(const PrintScale& s, CardOrigin o) {
    CardMapping m;
    m.origin_x = o.x;
    m.origin_y = o.y;
    m.scale_x = s.fx * s.sx;
    m.scale_y = s.fy * s.sy;
    m.card_w = s.cw;
    m.card_h = s.ch;
    return m;
}

CardMapping CompositionMapping(const PrintScale& s, int step) {
    const double k = step < 1 ? 1.0 : step;
    CardMapping m;
    m.scale_x = s.fx * s.sx / k;
    m.scale_y = s.fy * s.sy / k;
    m.card_w = s.cw / k;
    m.card_h = s.ch / k;
    return m;
}

int CompositionStep(int printer_dpi, double device_per_card_pixel, double finest_per_card_pixel) {
    constexpr int kFinestGridDpi = 300;
    const int most = printer_dpi / kFinestGridDpi;
    if (most < 2 || !(finest_per_card_pixel > 0) || !(device_per_card_pixel > 0)) return 1;
    const double step = device_per_card_pixel / finest_per_card_pixel;
    return step >= most ? most : step >= 2 ? static_cast<int>(step) : 1;
}

DevicePoint MapCardPoint(const PrintScale& s, CardOrigin o, int x, int y) {
    return MapPoint(PrintMapping(s, o), x, y);
}

DeviceRect MapCardRect(const PrintScale& s, CardOrigin o, int x, int y, int w, int h) {
    return MapRect(PrintMapping(s, o), x, y, w, h);
}

DeviceRect PrintedCardRect(const PrintScale& s, CardOrigin o) { return MapCard(PrintMapping(s, o)); }

int PrintedFontHeight(int lf_height, const PrintScale& s) {
    return MapFontHeight(PrintMapping(s, {0, 0}), lf_height);
}

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

BackPlacement PlaceBackCard(const CardDesign& d, const PrintPage& page, int column, int row) {
    PrintPage intended = page;
    intended.correction = {};
    const PrintScale s = ComputePrintScale(d, intended);
    const CardOrigin front = CardOriginAt(s, column, row);
    // Positions on the paper itself, where the turning over happens.
    const double paper_x = front.x + page.offset_x;
    const double paper_y = front.y + page.offset_y;
    const bool upright_paper = page.paper_h >= page.paper_w;
    const bool long_edge = d.duplex != kDuplexShortEdge;
    const bool binding_upright = long_edge == upright_paper;
    BackPlacement back{};
    back.w = s.cw;
    back.h = s.ch;
    double x = paper_x, y = paper_y;
    if (binding_upright) {
        x = page.paper_w - paper_x - s.cw;
    } else {
        y = page.paper_h - paper_y - s.ch;
        back.quarter_turns = 2;
    }
    if (IsLandscape(d) != IsLandscape(d.back)) back.quarter_turns += 1;
    back.origin.x = x - page.offset_x + LimitCorrection(page.correction.x) * s.sx;
    back.origin.y = y - page.offset_y + LimitCorrection(page.correction.y) * s.sy;
    return back;
}

DuplexRun ChooseDuplexRun(const CardDesign& d, bool printer_duplexes) {
    if (!d.back_on || (d.duplex != kDuplexLongEdge && d.duplex != kDuplexShortEdge)) return DuplexRun::kOneSided;
    return d.duplex_device && printer_duplexes ? DuplexRun::kDevice : DuplexRun::kManual;
}
