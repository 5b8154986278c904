#include "render/card_painter.h"

#include "design/fixed_text.h"
#include "qr/draw_qr.h"
#include "win/colour.h"
#include "win/design_text.h"
#include "win/guards.h"
#include "win/wide.h"

namespace {

// A picture stretched to `to`; a memory context that cannot be made is noted.
void Stretch(HDC dc, const PaintPicture& picture, const DeviceRect& to, const SourceRect& from,
             bool white_transparent, PaintReport& report) {
    if (!StretchPicture(dc, picture, to, from, white_transparent))
        report.Add(kMemoryDcFailed, kMemoryDcCaption);
}

bool IsHidden(const CardPaint& paint, int pick_a, int pick_b) {
    return paint.hidden_pick != 0 && (paint.hidden_pick == pick_a || paint.hidden_pick == pick_b);
}

// The outline of a QR code's stored size, with the context's current pen.
void DrawQrOutline(HDC dc, const QrcodeData& qr, const CardMapping& mapping) {
    const DeviceRect r = MapRect(mapping, qr.x, qr.y, qr.w, qr.h);
    const POINT outline[] = {{r.x, r.y}, {r.x + r.w, r.y}, {r.x + r.w, r.y + r.h}, {r.x, r.y + r.h}, {r.x, r.y}};
    Polyline(dc, outline, 5);
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

bool PaintCardBase(HDC dc, const CardDesign& d, const CardPaint& paint, const CardPictures& pictures,
                   PaintReport& report) {
    if (!pictures.base.Loaded()) return false;
    const SIZE size = PictureSize(pictures.base);
    const CardMapping& m = paint.mapping;
    Stretch(dc, pictures.base, MapCard(m), BaseCrop(size.cx, size.cy, m.card_w, m.card_h, d.base_pl_mode),
            false, report);
    return true;
}

void PaintCardItems(HDC dc, const CardDesign& d, const CardPaint& paint, const CardPictures& pictures,
                    PaintReport& report) {
    const CardMapping& m = paint.mapping;
    const PhotData& face = d.phot_data;
    if (face.on && pictures.face.Loaded() && !IsHidden(paint, 21, 31))
        Stretch(dc, pictures.face, MapRect(m, face.x, face.y, face.w, face.h), WholePicture(pictures.face),
                false, report);
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& mark = d.mark_data[i];
        if (!mark.on || !pictures.mark[i].Loaded() || IsHidden(paint, i + 1, i + 11)) continue;
        Stretch(dc, pictures.mark[i], MapRect(m, mark.x, mark.y, mark.w, mark.h), WholePicture(pictures.mark[i]),
                paint.transparent_marks && mark.m != 0, report);
    }
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
