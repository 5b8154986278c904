#include "render/print_data.h"

#include <algorithm>
#include <cmath>

#include "design/fixed_text.h"

namespace {

int Pixels(double tenths, int dpi) { return static_cast<int>(std::lround(tenths * dpi / 254.0)); }

}  // namespace

bool MakePrintDataLayout(const CardDesign& d, const PrintDataOptions& options, PrintDataLayout& layout) {
    layout = {};
    if (d.base_pw <= 0 || d.base_ph <= 0 || d.base_w <= 0 || d.base_h <= 0 || options.dpi < 1) return false;
    // Sizes in doubles first: a hand-edited card could overflow int pixels.
    const double bleed = std::max(0, options.bleed_tenths);
    const double widest = (static_cast<double>(d.base_pw) + 2 * bleed) * options.dpi / 254.0;
    const double tallest = (static_cast<double>(d.base_ph) + 2 * bleed) * options.dpi / 254.0;
    if (widest > kLargestPrintDataSide + 1 || tallest > kLargestPrintDataSide + 1) return false;
    layout.dpi = options.dpi;
    layout.card_w = std::max(1, Pixels(d.base_pw, options.dpi));
    layout.card_h = std::max(1, Pixels(d.base_ph, options.dpi));
    layout.bleed = Pixels(bleed, options.dpi);
    layout.image_w = layout.card_w + 2 * layout.bleed;
    layout.image_h = layout.card_h + 2 * layout.bleed;
    if (layout.image_w > kLargestPrintDataSide || layout.image_h > kLargestPrintDataSide) {
        layout = {};
        return false;
    }
    const bool marks = options.format == PrintDataFormat::kPdf && options.trim_marks;
    layout.margin = marks ? std::max(layout.bleed, Pixels(kMarkMarginTenths, options.dpi)) : layout.bleed;
    layout.page_w = layout.card_w + 2 * layout.margin;
    layout.page_h = layout.card_h + 2 * layout.margin;
    return true;
}

CardMapping PrintDataMapping(const CardDesign& d, const PrintDataLayout& layout) {
    CardMapping m;
    m.origin_x = m.origin_y = layout.bleed;
    m.card_w = layout.card_w;
    m.card_h = layout.card_h;
    m.scale_x = d.base_w > 0 ? static_cast<double>(layout.card_w) / d.base_w : 0;
    m.scale_y = d.base_h > 0 ? static_cast<double>(layout.card_h) / d.base_h : 0;
    return m;
}

SourceRect BleedCrop(int picture_w, int picture_h, double card_w, double card_h, double bleed_x, double bleed_y,
                     int mode) {
    if (card_w <= 0 || card_h <= 0) return BaseCrop(picture_w, picture_h, card_w, card_h, mode);
    return BaseCrop(picture_w, picture_h, card_w + 2 * std::max(0.0, bleed_x), card_h + 2 * std::max(0.0, bleed_y),
                    mode);
}

std::vector<MarkSegment> TrimMarks(const PrintDataLayout& l) {
    const double gap = Pixels(kSafetyTenths, l.dpi), length = Pixels(kMarkLengthTenths, l.dpi);
    const double left = l.margin, top = l.margin, right = l.margin + l.card_w, bottom = l.margin + l.card_h;
    std::vector<MarkSegment> marks;
    // One corner: sx, sy are -1 or 1, the way outward from the card on each axis.
    auto corner = [&](double x, double y, double sx, double sy) {
        for (double along : {0.0, gap}) {
            // Horizontal lines at the trim and 3 mm out, running outward beyond the bleed.
            marks.push_back({x + sx * gap, y + sy * along, x + sx * (gap + length), y + sy * along});
            marks.push_back({x + sx * along, y + sy * gap, x + sx * along, y + sy * (gap + length)});
        }
    };
    corner(left, top, -1, -1);
    corner(right, top, 1, -1);
    corner(left, bottom, -1, 1);
    corner(right, bottom, 1, 1);
    const double cx = (left + right) / 2, cy = (top + bottom) / 2, bar = length / 2;
    // The centre marks: an axis line outward and a cross bar halfway along it.
    marks.push_back({cx, top - gap, cx, top - gap - length});
    marks.push_back({cx - bar, top - gap - bar, cx + bar, top - gap - bar});
    marks.push_back({cx, bottom + gap, cx, bottom + gap + length});
    marks.push_back({cx - bar, bottom + gap + bar, cx + bar, bottom + gap + bar});
    marks.push_back({left - gap, cy, left - gap - length, cy});
    marks.push_back({left - gap - bar, cy - bar, left - gap - bar, cy + bar});
    marks.push_back({right + gap, cy, right + gap + length, cy});
    marks.push_back({right + gap + bar, cy - bar, right + gap + bar, cy + bar});
    return marks;
}

PdfPage PrintDataPage(const PrintDataLayout& l, bool trim_marks) {
    const double k = l.dpi > 0 ? 72.0 / l.dpi : 0;
    const double page_h = l.page_h;
    // Page pixels (top-down) to points (bottom-up).
    auto rect = [&](double left, double top, double w, double h) {
        return PdfRect{left * k, (page_h - top - h) * k, (left + w) * k, (page_h - top) * k};
    };
    PdfPage page;
    page.width = l.page_w * k;
    page.height = l.page_h * k;
    page.trim = rect(l.margin, l.margin, l.card_w, l.card_h);
    page.bleed = rect(l.margin - l.bleed, l.margin - l.bleed, l.image_w, l.image_h);
    page.image_at = page.bleed;
    if (trim_marks && l.margin > l.bleed)
        for (const MarkSegment& s : TrimMarks(l))
            page.lines.push_back({s.x0 * k, (page_h - s.y0) * k, s.x1 * k, (page_h - s.y1) * k});
    return page;
}

bool ItemsNearTrim(const CardDesign& d, const TextSizes& sizes) {
    if (d.base_pw <= 0 || d.base_ph <= 0) return false;
    const double margin_x = static_cast<double>(kSafetyTenths) * d.base_w / d.base_pw;
    const double margin_y = static_cast<double>(kSafetyTenths) * d.base_h / d.base_ph;
    auto too_close = [&](const ClientRect& r) {
        const double left = r.left - kCardLeft, top = r.top - kCardTop;
        const double right = r.right - kCardLeft, bottom = r.bottom - kCardTop;
        return left < margin_x || top < margin_y || right > d.base_w - margin_x || bottom > d.base_h - margin_y;
    };
    for (int j = 0; j < kTextCount; ++j) {
        const StrData& item = d.str_data[j];
        if (item.on && TextLength(item.s64) > 0 && too_close(TextRect(item, d.lf[j], sizes[j]))) return true;
    }
    for (const QrcodeData& qr : d.qrcode_data)
        if (qr.on && too_close(BoxRect(qr.x, qr.y, qr.w, qr.h))) return true;
    return false;
}

std::u16string BackPictureFileName(std::u16string_view front) {
    const std::size_t name = front.find_last_of(u"\\/:");
    const std::size_t dot = front.rfind(u'.');
    const bool has_extension = dot != std::u16string_view::npos && dot > 0 &&
                               (name == std::u16string_view::npos || dot > name + 1);
    const std::size_t at = has_extension ? dot : front.size();
    std::u16string back(front.substr(0, at));
    back += u"_裏";
    back += front.substr(at);
    return back;
}
