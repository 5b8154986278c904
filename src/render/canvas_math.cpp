#include "render/canvas_math.h"

#include <algorithm>
#include <climits>

#include "editors/text_page.h"
#include "render/card_mapping.h"

namespace {

// A sum of card values kept within the int range.
int Sum(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// value at least low, then at most high (the order matters when low > high).
int AtLeastThenAtMost(long long value, long long low, long long high) {
    if (value < low) value = low;
    if (value > high) value = high;
    return Sum(value);
}

// A size: within the room left on the card (card - position, the design's range rule),
// then at least 1, so that an item never ends without area (and can always be hit again).
int NewSize(long long size, long long position, long long card) {
    return Sum(std::max(1LL, std::min(size, card - position)));
}

// A place of a box of `size` on a card of `card` pixels: within 0..card - size, the
// design's range rule; 0 for a box larger than the card.
int NewPlace(long long place, long long size, long long card) {
    return Sum(std::max(0LL, std::min(place, card - size)));
}

bool IsPick(int pick) {
    const auto among = [pick](int first, int count) { return pick >= first && pick < first + count; };
    return among(kPickMark, kMarkCount) || among(kPickMarkResize, kMarkCount) || pick == kPickFace ||
           pick == kPickFaceResize || among(kPickText, kTextCount) || among(kPickQr, kQrCount);
}

}  // namespace

bool StrictlyInside(const ClientRect& r, int x, int y) {
    return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

ClientRect BoxRect(int x, int y, int w, int h) {
    const long long left = static_cast<long long>(x) + kCardLeft, top = static_cast<long long>(y) + kCardTop;
    return {Sum(left), Sum(top), Sum(left + w), Sum(top + h)};
}

ClientRect TextRect(const StrData& item, const LogFont& font, TextSize size) {
    const long long x = static_cast<long long>(item.x) + kCardLeft, y = static_cast<long long>(item.y) + kCardTop;
    if (IsVertical(font)) return {Sum(x - size.cy), Sum(y), Sum(x), Sum(y + size.cx)};
    return {Sum(x), Sum(y), Sum(x + size.cx), Sum(y + size.cy)};
}

bool InResizeZone(int x, int y, int w, int h, int mx, int my) {
    const long long left = static_cast<long long>(x) + w - w / 3 + kCardLeft;
    const long long top = static_cast<long long>(y) + h - h / 3 + kCardTop;
    return mx > left && my > top;
}

int HitTest(const CardDesign& d, const TextSizes& sizes, int mx, int my) {
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& m = d.mark_data[i];
        if (!m.on || !StrictlyInside(BoxRect(m.x, m.y, m.w, m.h), mx, my)) continue;
        return (InResizeZone(m.x, m.y, m.w, m.h, mx, my) ? kPickMarkResize : kPickMark) + i;
    }
    for (int j = 0; j < kTextCount; ++j) {
        if (d.str_data[j].on && StrictlyInside(TextRect(d.str_data[j], d.lf[j], sizes[j]), mx, my))
            return kPickText + j;
    }
    for (int k = 0; k < kQrCount; ++k) {
        const QrcodeData& q = d.qrcode_data[k];
        if (q.on && StrictlyInside(BoxRect(q.x, q.y, q.w, q.h), mx, my)) return kPickQr + k;
    }
    const PhotData& f = d.phot_data;
    if (f.on && StrictlyInside(BoxRect(f.x, f.y, f.w, f.h), mx, my))
        return InResizeZone(f.x, f.y, f.w, f.h, mx, my) ? kPickFaceResize : kPickFace;
    return kPickNone;
}

Overlay PictureOverlay(int x, int y, int w, int h, bool resize, int dx, int dy, int card_w, int card_h) {
    long long left, top, width, height;
    if (resize) {
        left = static_cast<long long>(x) + kCardLeft;
        top = static_cast<long long>(y) + kCardTop;
        width = std::min<long long>(static_cast<long long>(w) + dx, static_cast<long long>(card_w) - x);
        height = std::min<long long>(static_cast<long long>(h) + dy, static_cast<long long>(card_h) - y);
    } else {
        left = static_cast<long long>(x) + dx + kCardLeft;
        top = static_cast<long long>(y) + dy + kCardTop;
        width = w;
        height = h;
    }
    Overlay o;
    o.left = AtLeastThenAtMost(left, kCardLeft, static_cast<long long>(card_w) - width + kCardLeft);
    o.top = AtLeastThenAtMost(top, kCardTop, static_cast<long long>(card_h) - height + kCardTop);
    o.width = std::max(1, AtLeastThenAtMost(width, 1, static_cast<long long>(card_w) - o.left + kCardLeft));
    o.height = std::max(1, AtLeastThenAtMost(height, 1, static_cast<long long>(card_h) - o.top + kCardTop));
    return o;
}

TextOverlay TextDragOverlay(const StrData& item, const LogFont& font, TextSize size, int dx, int dy,
                            int card_w, int card_h) {
    const long long x = static_cast<long long>(item.x) + dx + kCardLeft;
    const long long y = static_cast<long long>(item.y) + dy + kCardTop;
    TextOverlay o;
    if (IsVertical(font)) {
        const int ax = AtLeastThenAtMost(x, static_cast<long long>(size.cy) + kCardLeft,
                                         static_cast<long long>(card_w) + kCardLeft);
        const int top = AtLeastThenAtMost(y, kCardTop, static_cast<long long>(card_h) - size.cx + kCardTop);
        o.draw_x = ax;
        o.draw_y = top;
        o.box = {Sum(static_cast<long long>(ax) - size.cy), top, ax - 1, Sum(static_cast<long long>(top) + size.cx - 1)};
    } else {
        const int left = AtLeastThenAtMost(x, kCardLeft, static_cast<long long>(card_w) - size.cx + kCardLeft);
        const int top = AtLeastThenAtMost(y, kCardTop, static_cast<long long>(card_h) - size.cy + kCardTop);
        o.draw_x = left;
        o.draw_y = top;
        o.box = {left, top, Sum(static_cast<long long>(left) + size.cx - 1), Sum(static_cast<long long>(top) + size.cy - 1)};
    }
    return o;
}

Overlay QrOverlay(const QrcodeData& qr, int dx, int dy, int card_w, int card_h) {
    Overlay o;
    o.left = AtLeastThenAtMost(static_cast<long long>(qr.x) + dx + kCardLeft, kCardLeft,
                               static_cast<long long>(card_w) - qr.w + kCardLeft);
    o.top = AtLeastThenAtMost(static_cast<long long>(qr.y) + dy + kCardTop, kCardTop,
                              static_cast<long long>(card_h) - qr.h + kCardTop);
    o.width = qr.w;
    o.height = qr.h;
    return o;
}

bool DropPick(CardDesign& d, const TextSizes& sizes, int pick, int ddx, int ddy) {
    if (!IsPick(pick)) return false;
    // A release where the press was is no move, also for an item the range rule would
    // move (a text or QR code that reaches past the card's edge).
    if (ddx == 0 && ddy == 0) return true;
    const long long W = d.base_w, H = d.base_h;
    auto move = [&](int& x, int& y, int w, int h) {
        x = NewPlace(static_cast<long long>(x) + ddx, w, W);
        y = NewPlace(static_cast<long long>(y) + ddy, h, H);
    };
    auto resize = [&](int x, int y, int& w, int& h) {
        w = NewSize(static_cast<long long>(w) + ddx, x, W);
        h = NewSize(static_cast<long long>(h) + ddy, y, H);
    };
    if (pick >= kPickMark && pick < kPickMark + kMarkCount) {
        MarkData& m = d.mark_data[pick - kPickMark];
        move(m.x, m.y, m.w, m.h);
    } else if (pick >= kPickMarkResize && pick < kPickMarkResize + kMarkCount) {
        MarkData& m = d.mark_data[pick - kPickMarkResize];
        resize(m.x, m.y, m.w, m.h);
    } else if (pick == kPickFace) {
        move(d.phot_data.x, d.phot_data.y, d.phot_data.w, d.phot_data.h);
    } else if (pick == kPickFaceResize) {
        resize(d.phot_data.x, d.phot_data.y, d.phot_data.w, d.phot_data.h);
    } else if (pick >= kPickText && pick < kPickText + kTextCount) {
        const int j = pick - kPickText;
        StrData& t = d.str_data[j];
        const TextSize size = sizes[j];
        if (IsVertical(d.lf[j])) {
            t.x = AtLeastThenAtMost(static_cast<long long>(t.x) + ddx, size.cy, W);
            t.y = NewPlace(static_cast<long long>(t.y) + ddy, size.cx, H);
        } else {
            move(t.x, t.y, size.cx, size.cy);
        }
    } else {
        QrcodeData& q = d.qrcode_data[pick - kPickQr];
        move(q.x, q.y, q.w, q.h);
    }
    return true;
}

int MovePickOf(int pick) {
    if (!IsPick(pick)) return kPickNone;
    if (pick >= kPickMarkResize && pick < kPickMarkResize + kMarkCount) return pick - kPickMarkResize + kPickMark;
    return pick == kPickFaceResize ? kPickFace : pick;
}

bool PickIsOn(const CardDesign& d, int pick) {
    if (pick >= kPickMark && pick < kPickMark + kMarkCount) return d.mark_data[pick - kPickMark].on != 0;
    if (pick >= kPickText && pick < kPickText + kTextCount) return d.str_data[pick - kPickText].on != 0;
    if (pick >= kPickQr && pick < kPickQr + kQrCount) return d.qrcode_data[pick - kPickQr].on != 0;
    return pick == kPickFace && d.phot_data.on != 0;
}

int NextSelection(const CardDesign& d, int current, int direction) {
    int order[kMarkCount + kTextCount + kQrCount + 1];
    int n = 0;
    for (int i = 0; i < kMarkCount; ++i) order[n++] = kPickMark + i;
    for (int j = 0; j < kTextCount; ++j) order[n++] = kPickText + j;
    for (int k = 0; k < kQrCount; ++k) order[n++] = kPickQr + k;
    order[n++] = kPickFace;
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (order[i] == current) at = i;
    const int step = direction < 0 ? n - 1 : 1;
    if (at < 0) at = direction < 0 ? 0 : n - 1;
    for (int tried = 0; tried < n; ++tried) {
        at = (at + step) % n;
        if (PickIsOn(d, order[at])) return order[at];
    }
    return kPickNone;
}

bool CentrePick(CardDesign& d, const TextSizes& sizes, int pick, bool across) {
    const long long card = across ? d.base_w : d.base_h;
    const auto centre = [&](int& place, long long extent) { place = NewPlace((card - extent) / 2, extent, card); };
    if (pick >= kPickText && pick < kPickText + kTextCount) {
        const int j = pick - kPickText;
        StrData& t = d.str_data[j];
        const TextSize size = sizes[j];
        if (!IsVertical(d.lf[j])) {
            centre(across ? t.x : t.y, across ? size.cx : size.cy);
        } else if (across) {
            t.x = AtLeastThenAtMost((card - size.cy) / 2 + size.cy, size.cy, card);
        } else {
            centre(t.y, size.cx);
        }
        return true;
    }
    int *x = nullptr, *y = nullptr, w = 0, h = 0;
    if (pick >= kPickMark && pick < kPickMark + kMarkCount) {
        MarkData& m = d.mark_data[pick - kPickMark];
        x = &m.x, y = &m.y, w = m.w, h = m.h;
    } else if (pick >= kPickQr && pick < kPickQr + kQrCount) {
        QrcodeData& q = d.qrcode_data[pick - kPickQr];
        x = &q.x, y = &q.y, w = q.w, h = q.h;
    } else if (pick == kPickFace) {
        PhotData& f = d.phot_data;
        x = &f.x, y = &f.y, w = f.w, h = f.h;
    } else {
        return false;
    }
    centre(across ? *x : *y, across ? w : h);
    return true;
}

ClientRect PickRect(const CardDesign& d, const TextSizes& sizes, int pick) {
    pick = MovePickOf(pick);
    if (pick >= kPickText && pick < kPickText + kTextCount) {
        const int j = pick - kPickText;
        return TextRect(d.str_data[j], d.lf[j], sizes[j]);
    }
    if (pick >= kPickQr && pick < kPickQr + kQrCount) {
        const QrcodeData& q = d.qrcode_data[pick - kPickQr];
        return BoxRect(q.x, q.y, q.w, q.h);
    }
    if (pick == kPickFace) return BoxRect(d.phot_data.x, d.phot_data.y, d.phot_data.w, d.phot_data.h);
    if (pick >= kPickMark && pick < kPickMark + kMarkCount) {
        const MarkData& m = d.mark_data[pick - kPickMark];
        return BoxRect(m.x, m.y, m.w, m.h);
    }
    return {0, 0, 0, 0};
}
