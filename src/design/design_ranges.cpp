#include "design/design_ranges.h"

#include <algorithm>

namespace {

int Within(int value, int low, int high) { return std::clamp(value, low, high); }

// A point on a card side of `card` pixels.
int OnCard(int value, int card) { return Within(value, 0, card); }

// A length that may be signed (font heights), within the largest card side either way.
int SignedLength(int value) { return Within(value, -kLargestCardSide, kLargestCardSide); }

}  // namespace

int LimitSheetCount(int count) { return Within(count, 0, kLargestSheetCount); }

int LimitSheetSize(int tenths) { return Within(tenths, 0, kLargestSheetLength); }

int LimitSheetOffset(int tenths) { return Within(tenths, -kLargestSheetLength, kLargestSheetLength); }

void KeepRectOnCard(int& x, int& y, int& w, int& h, int card_w, int card_h) {
    w = Within(w, 0, std::max(card_w, 0));
    h = Within(h, 0, std::max(card_h, 0));
    x = Within(x, 0, std::max(card_w, 0) - w);
    y = Within(y, 0, std::max(card_h, 0) - h);
}

void KeepSideInRange(CardSide& d) {
    d.base_w = Within(d.base_w, kSmallestCardSide, kLargestCardSide);
    d.base_h = Within(d.base_h, kSmallestCardSide, kLargestCardSide);
    for (MarkData& m : d.mark_data) KeepRectOnCard(m.x, m.y, m.w, m.h, d.base_w, d.base_h);
    PhotData& p = d.phot_data;
    KeepRectOnCard(p.x, p.y, p.w, p.h, d.base_w, d.base_h);
    for (int j = 0; j < kTextCount; ++j) {
        d.str_data[j].x = OnCard(d.str_data[j].x, d.base_w);
        d.str_data[j].y = OnCard(d.str_data[j].y, d.base_h);
        d.lf[j].lfHeight = SignedLength(d.lf[j].lfHeight);
        d.lf[j].lfWidth = SignedLength(d.lf[j].lfWidth);
    }
    for (QrcodeData& q : d.qrcode_data) {
        q.x = OnCard(q.x, d.base_w);
        q.y = OnCard(q.y, d.base_h);
        q.w = Within(q.w, 0, kLargestCardSide);
        q.h = Within(q.h, 0, kLargestCardSide);
        q.Sell = Within(q.Sell, 0, kLargestModuleSize);
    }
}

void KeepDesignInRange(CardDesign& d) {
    KeepSideInRange(d);
    KeepSideInRange(d.back);
    d.back_on = Within(d.back_on, 0, 1);
    d.duplex = Within(d.duplex, kDuplexNone, kDuplexShortEdge);
    d.duplex_device = Within(d.duplex_device, 0, 1);
    d.base_pw = LimitSheetSize(d.base_pw);
    d.base_ph = LimitSheetSize(d.base_ph);
    d.base_cntx = LimitSheetCount(d.base_cntx);
    d.base_cnty = LimitSheetCount(d.base_cnty);
    d.base_px = LimitSheetOffset(d.base_px);
    d.base_py = LimitSheetOffset(d.base_py);
    d.base_spx = LimitSheetOffset(d.base_spx);
    d.base_spy = LimitSheetOffset(d.base_spy);
    d.p_outline_size = LimitSheetSize(d.p_outline_size);
    d.p_outline_len = LimitSheetSize(d.p_outline_len);
    d.pm_size_x = LimitSheetSize(d.pm_size_x);
    d.pm_size_y = LimitSheetSize(d.pm_size_y);
}
