#include "render/card_painter.h"

#include <algorithm>

#include "design/fixed_text.h"
#include "qr/draw_qr.h"
#include "render/print_data.h"
#include "win/colour.h"
#include "win/design_text.h"
#include "win/guards.h"
#include "win/wide.h"

namespace {

bool IsHidden(const CardPaint& paint, int pick_a, int pick_b) {
    return paint.hidden_pick != 0 && (paint.hidden_pick == pick_a || paint.hidden_pick == pick_b);
}

// The outline of a QR code's stored size, with the context's current pen.
void DrawQrOutline(HDC dc, const QrcodeData& qr, const CardMapping& mapping) {
    const DeviceRect r = MapRect(mapping, qr.x, qr.y, qr.w, qr.h);
    const POINT outline[] = {{r.x, r.y}, {r.x + r.w, r.y}, {r.x + r.w, r.y + r.h}, {r.x, r.y + r.h}, {r.x, r.y}};
    Polyline(dc, outline, 5);
}

// One picture resampled to `to` (device pixels) and laid over the card picture, whose
// top-left corner is at `card` on the device.
void LayPicture(PixelImage& composed, const DeviceRect& card, const PaintPicture& picture, const DeviceRect& to,
                const SourceRect& from, bool white_transparent) {
    // Only the part on the card is resampled when a picture reaches past it.
    const long long left = std::max<long long>(to.x, card.x), top = std::max<long long>(to.y, card.y);
    const long long right = std::min<long long>(static_cast<long long>(to.x) + to.w, static_cast<long long>(card.x) + card.w);
    const long long bottom = std::min<long long>(static_cast<long long>(to.y) + to.h, static_cast<long long>(card.y) + card.h);
    if (to.w <= 0 || to.h <= 0 || right <= left || bottom <= top) return;
    const SourceRect part{static_cast<int>(left - to.x), static_cast<int>(top - to.y), static_cast<int>(right - left),
                          static_cast<int>(bottom - top)};
    PixelImage scratch;
    const bool keyed = white_transparent && picture.image->opaque;
    const PixelImage& scaled = ScaledPixels(picture, from, to.w, to.h, keyed, part, scratch);
    DrawOver(composed, scaled, static_cast<int>(left - card.x), static_cast<int>(top - card.y));
}

// The card on the target with the paint's bleed around it.
DeviceRect ComposedArea(const CardPaint& paint) {
    const DeviceRect card = MapCard(paint.mapping);
    return {card.x - paint.bleed_x, card.y - paint.bleed_y, card.w + 2 * paint.bleed_x, card.h + 2 * paint.bleed_y};
}

}  // namespace

SIZE DrawTextItem(HDC dc, const StrData& item, const LogFont& font, DevicePoint at,
                  const CardMapping& mapping) {
    LogFont mapped = font;
    mapped.lfHeight = MapFontHeight(mapping, font.lfHeight);
    mapped.lfWidth = MapFontWidth(mapping, font.lfWidth);
    FontHandle handle(CreateDesignFont(mapped));
    SelectGuard select(dc, handle.Get());
    SetBkMode(dc, item.bk ? OPAQUE : TRANSPARENT);
    SetTextColor(dc, DesignColour(item.r, item.g, item.b));
    SetBkColor(dc, DesignColour(item.br, item.bg, item.bb));
    const int length = static_cast<int>(TextLength(item.s64));
    SIZE extent{};
    GetTextExtentPoint32W(dc, W(item.s64), length, &extent);
    TextOutW(dc, at.x, at.y, W(item.s64), length);
    return extent;
}

PixelImage ComposeCardPictures(const CardDesign& d, const CardPaint& paint, const CardPictures& pictures,
                               bool& base_drawn) {
    const CardMapping& m = paint.mapping;
    const PhotData& face = d.phot_data;
    const bool show_face = face.on && pictures.face.Loaded() && !IsHidden(paint, 21, 31);
    bool show_mark[kMarkCount] = {};
    bool any = pictures.base.Loaded() || show_face;
    for (int i = 0; i < kMarkCount; ++i) {
        show_mark[i] = d.mark_data[i].on && pictures.mark[i].Loaded() && !IsHidden(paint, i + 1, i + 11);
        any = any || show_mark[i];
    }
    base_drawn = pictures.base.Loaded();
    const DeviceRect card = ComposedArea(paint);
    if (!any || card.w <= 0 || card.h <= 0 ||
        static_cast<std::uint64_t>(card.w) * static_cast<std::uint64_t>(card.h) > kMaxPicturePixels)
        return {};
    PixelImage composed = MakePixelImage(card.w, card.h, paint.opaque_pictures ? kOpaqueWhite : 0);
    if (base_drawn) {
        const SIZE size = PictureSize(pictures.base);
        LayPicture(composed, card, pictures.base, card,
                   BleedCrop(size.cx, size.cy, m.card_w, m.card_h, paint.bleed_x, paint.bleed_y, d.base_pl_mode), false);
    }
    if (show_face)
        LayPicture(composed, card, pictures.face, MapRect(m, face.x, face.y, face.w, face.h),
                   WholePicture(pictures.face), false);
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& mark = d.mark_data[i];
        if (show_mark[i])
            LayPicture(composed, card, pictures.mark[i], MapRect(m, mark.x, mark.y, mark.w, mark.h),
                       WholePicture(pictures.mark[i]), mark.m != 0);
    }
    return composed;
}

bool PaintCardPictures(HDC dc, const CardDesign& d, const CardPaint& paint, const CardPictures& pictures,
                       PaintReport& report) {
    bool base_drawn = false;
    const PixelImage composed = ComposeCardPictures(d, paint, pictures, base_drawn);
    const DeviceRect card = ComposedArea(paint);
    if (!composed.Empty() && !SendPixels(dc, composed, card.x, card.y)) report.Add(kMemoryDcFailed, kMemoryDcCaption);
    return base_drawn;
}

void PaintCardItems(HDC dc, const CardDesign& d, const CardPaint& paint, PaintReport& report) {
    const CardMapping& m = paint.mapping;
    for (int j = 0; j < kTextCount; ++j) {
        const StrData& item = d.str_data[j];
        if (!item.on || IsHidden(paint, 100 + j, 100 + j)) continue;
        const SIZE extent = DrawTextItem(dc, item, d.lf[j], MapPoint(m, item.x, item.y), m);
        if (paint.text_extents) paint.text_extents[j] = extent;
    }
    for (const QrcodeData& qr : d.qrcode_data) {
        if (!qr.on) continue;
        if (paint.qr_outlines) {
            DrawQrOutline(dc, qr, m);
        } else {
            DrawQrItem(dc, qr, MapPoint(m, qr.x, qr.y), MapModuleSize(m, qr.Sell), report);
        }
    }
}

void DrawTrimLines(HDC dc, const CardDesign& d, const CardMapping& m) {
    const DeviceRect card = MapCard(m);
    const int inset_x = d.base_pw > 0 ? MapRect(m, 0, 0, kSafetyTenths * d.base_w / d.base_pw, 0).w : 0;
    const int inset_y = d.base_ph > 0 ? MapRect(m, 0, 0, 0, kSafetyTenths * d.base_h / d.base_ph).h : 0;
    auto frame = [dc](int left, int top, int right, int bottom) {
        const POINT corners[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
        Polyline(dc, corners, 5);
    };
    const int saved = SaveDC(dc);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    PenHandle solid(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    SelectObject(dc, solid.Get());
    frame(card.x, card.y, card.x + card.w - 1, card.y + card.h - 1);
    PenHandle dashed(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    SelectObject(dc, dashed.Get());
    frame(card.x + inset_x, card.y + inset_y, card.x + card.w - 1 - inset_x, card.y + card.h - 1 - inset_y);
    RestoreDC(dc, saved);
}

SIZE MeasureTextItem(HDC dc, const StrData& item, const LogFont& font) {
    FontHandle handle(CreateDesignFont(font));
    SelectGuard select(dc, handle.Get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, W(item.s64), static_cast<int>(TextLength(item.s64)), &extent);
    return extent;
}
