#include "render/pixel_image.h"

#include <algorithm>
#include <cmath>

namespace {

struct Channels {
    float b = 0, g = 0, r = 0, a = 0;
};

inline Channels Unpack(std::uint32_t p) {
    return {static_cast<float>(p & 0xFF), static_cast<float>((p >> 8) & 0xFF),
            static_cast<float>((p >> 16) & 0xFF), static_cast<float>(p >> 24)};
}

inline std::uint32_t Byte(float v) {
    const float rounded = std::floor(v + 0.5f);
    return rounded <= 0 ? 0u : rounded >= 255 ? 255u : static_cast<std::uint32_t>(rounded);
}

// Premultiplied colour never exceeds its alpha, whatever the rounding did.
inline std::uint32_t Pack(const Channels& c) {
    const std::uint32_t a = Byte(c.a);
    return (a << 24) | (std::min(Byte(c.r), a) << 16) | (std::min(Byte(c.g), a) << 8) | std::min(Byte(c.b), a);
}

// The source pixels one result pixel covers along an axis, with the share of each.
struct Span {
    int first = 0;                 // first source index
    std::vector<float> weights;    // one per source index from first on, summing to 1
};

// Result pixel i of count covers [start + i·step, start + (i + 1)·step) of the source axis;
// the spans of pixels first .. first + n - 1.
std::vector<Span> Spans(int start, int length, int count, int first, int n) {
    std::vector<Span> spans(static_cast<std::size_t>(n));
    const double step = static_cast<double>(length) / count;
    for (int k = 0; k < n; ++k) {
        const int i = first + k;
        const double a = start + i * step, b = start + (i + 1.0) * step;
        Span& span = spans[static_cast<std::size_t>(k)];
        span.first = static_cast<int>(std::floor(a));
        const int last = std::max(span.first, static_cast<int>(std::ceil(b)) - 1);
        for (int j = span.first; j <= last; ++j) {
            const double overlap = std::min<double>(b, j + 1) - std::max<double>(a, j);
            span.weights.push_back(static_cast<float>(std::max(0.0, overlap) / step));
        }
    }
    return spans;
}

inline std::uint32_t Keyed(std::uint32_t p, bool white_transparent) {
    return white_transparent && p == kOpaqueWhite ? 0u : p;
}

}  // namespace

PixelImage MakePixelImage(int w, int h, std::uint32_t fill) {
    PixelImage image;
    if (w <= 0 || h <= 0) return image;
    image.width = w;
    image.height = h;
    image.pixels.assign(static_cast<std::size_t>(w) * h, fill);
    image.opaque = (fill >> 24) == 0xFF;
    return image;
}

void UpdateOpacity(PixelImage& image) {
    image.opaque = std::all_of(image.pixels.begin(), image.pixels.end(),
                               [](std::uint32_t p) { return (p >> 24) == 0xFF; });
}

PixelImage ScaleImage(const PixelImage& source, const SourceRect& from, int full_w, int full_h,
                      bool white_transparent, const SourceRect* part) {
    PixelImage out;
    if (source.Empty() || full_w < 1 || full_h < 1) return out;
    const long long fx = from.x, fy = from.y;
    const int x0 = static_cast<int>(std::clamp<long long>(fx, 0, source.width));
    const int y0 = static_cast<int>(std::clamp<long long>(fy, 0, source.height));
    const int x1 = static_cast<int>(std::clamp<long long>(fx + std::max(0, from.w), x0, source.width));
    const int y1 = static_cast<int>(std::clamp<long long>(fy + std::max(0, from.h), y0, source.height));
    if (x1 <= x0 || y1 <= y0) return out;
    const SourceRect whole{0, 0, full_w, full_h};
    const SourceRect wanted = part ? *part : whole;
    const int left = std::clamp(wanted.x, 0, full_w), top = std::clamp(wanted.y, 0, full_h);
    const int w = static_cast<int>(std::clamp<long long>(static_cast<long long>(wanted.x) + wanted.w, left, full_w)) - left;
    const int h = static_cast<int>(std::clamp<long long>(static_cast<long long>(wanted.y) + wanted.h, top, full_h)) - top;
    if (w < 1 || h < 1) return out;
    const std::vector<Span> columns = Spans(x0, x1 - x0, full_w, left, w);
    const std::vector<Span> rows = Spans(y0, y1 - y0, full_h, top, h);

    // Across first, into float rows of the result's width, one per source row the result
    // covers.
    const int row_first = rows.front().first;
    const int row_last = std::min(y1 - 1, rows.back().first + static_cast<int>(rows.back().weights.size()) - 1);
    std::vector<Channels> across(static_cast<std::size_t>(w) * (row_last - row_first + 1));
    for (int y = row_first; y <= row_last; ++y) {
        const std::uint32_t* row = source.pixels.data() + static_cast<std::size_t>(y) * source.width;
        Channels* target = across.data() + static_cast<std::size_t>(y - row_first) * w;
        for (int i = 0; i < w; ++i) {
            const Span& span = columns[static_cast<std::size_t>(i)];
            Channels sum;
            for (std::size_t k = 0; k < span.weights.size(); ++k) {
                const int x = std::min(span.first + static_cast<int>(k), x1 - 1);
                const Channels c = Unpack(Keyed(row[x], white_transparent));
                const float weight = span.weights[k];
                sum.b += c.b * weight, sum.g += c.g * weight, sum.r += c.r * weight, sum.a += c.a * weight;
            }
            target[i] = sum;
        }
    }
    out.width = w;
    out.height = h;
    out.pixels.resize(static_cast<std::size_t>(w) * h);
    std::vector<Channels> sums(static_cast<std::size_t>(w));
    for (int j = 0; j < h; ++j) {
        const Span& span = rows[static_cast<std::size_t>(j)];
        std::fill(sums.begin(), sums.end(), Channels{});
        for (std::size_t k = 0; k < span.weights.size(); ++k) {
            const int y = std::min(span.first + static_cast<int>(k), row_last);
            const Channels* row = across.data() + static_cast<std::size_t>(y - row_first) * w;
            const float weight = span.weights[k];
            for (int i = 0; i < w; ++i) {
                sums[i].b += row[i].b * weight, sums[i].g += row[i].g * weight;
                sums[i].r += row[i].r * weight, sums[i].a += row[i].a * weight;
            }
        }
        std::uint32_t* target = out.pixels.data() + static_cast<std::size_t>(j) * w;
        for (int i = 0; i < w; ++i) target[i] = Pack(sums[i]);
    }
    UpdateOpacity(out);
    return out;
}

void DrawOver(PixelImage& target, const PixelImage& layer, int x, int y) {
    if (target.Empty() || layer.Empty()) return;
    const int left = std::max(0, x), top = std::max(0, y);
    const long long right = std::min<long long>(target.width, static_cast<long long>(x) + layer.width);
    const long long bottom = std::min<long long>(target.height, static_cast<long long>(y) + layer.height);
    bool opaque = target.opaque;
    for (int ty = top; ty < bottom; ++ty) {
        std::uint32_t* to = target.pixels.data() + static_cast<std::size_t>(ty) * target.width;
        const std::uint32_t* from = layer.pixels.data() + static_cast<std::size_t>(ty - y) * layer.width;
        for (int tx = left; tx < right; ++tx) {
            const std::uint32_t s = from[tx - x];
            const std::uint32_t keep = 255 - (s >> 24);
            if (keep == 0) {
                to[tx] = s;
                continue;
            }
            if (keep == 255 && s == 0) continue;
            const std::uint32_t d = to[tx];
            std::uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const std::uint32_t blended = ((s >> shift) & 0xFF) + (((d >> shift) & 0xFF) * keep + 127) / 255;
                result |= std::min<std::uint32_t>(blended, 255) << shift;
            }
            to[tx] = result;
            if ((result >> 24) != 0xFF) opaque = false;
        }
    }
    // A target that was not opaque may have become so.
    if (!opaque) UpdateOpacity(target);
}

void FlattenOver(PixelImage& image, std::uint32_t rgb) {
    const PixelImage backdrop = MakePixelImage(image.width, image.height, 0xFF000000u | (rgb & 0xFFFFFFu));
    if (backdrop.Empty()) return;
    PixelImage flat = backdrop;
    DrawOver(flat, image, 0, 0);
    image = std::move(flat);
}

PixelImage OrientImage(const PixelImage& image, int orientation) {
    if (orientation < 2 || orientation > 8 || image.Empty()) return image;
    const int w = image.width, h = image.height;
    PixelImage out;
    out.opaque = image.opaque;
    const bool swap = OrientationSwapsSides(orientation);
    out.per_metre_x = swap ? image.per_metre_y : image.per_metre_x;
    out.per_metre_y = swap ? image.per_metre_x : image.per_metre_y;
    out.width = OrientationSwapsSides(orientation) ? h : w;
    out.height = OrientationSwapsSides(orientation) ? w : h;
    out.pixels.resize(image.pixels.size());
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;
                case 3: sx = w - 1 - x, sy = h - 1 - y; break;
                case 4: sy = h - 1 - y; break;
                case 5: sx = y, sy = x; break;
                case 6: sx = y, sy = h - 1 - x; break;
                case 7: sx = w - 1 - y, sy = h - 1 - x; break;
                case 8: sx = w - 1 - y, sy = x; break;
            }
            out.pixels[static_cast<std::size_t>(y) * out.width + x] = image.At(sx, sy);
        }
    }
    return out;
}

void AdoptBitmapAlpha(PixelImage& image) {
    const bool padding = std::all_of(image.pixels.begin(), image.pixels.end(),
                                     [](std::uint32_t p) { return (p >> 24) == 0; });
    for (std::uint32_t& p : image.pixels) {
        if (padding) {
            p |= 0xFF000000u;
            continue;
        }
        const std::uint32_t a = p >> 24;
        std::uint32_t result = a << 24;
        for (int shift = 0; shift < 24; shift += 8)
            result |= ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
        p = result;
    }
    UpdateOpacity(image);
}

NaturalSize NaturalCardSize(int w, int h, double per_metre_x, double per_metre_y) {
    constexpr double kCardPerMetre = 5000, kFineFrom = 10000;
    auto side = [](int pixels, double per_metre) {
        if (!(per_metre >= kFineFrom) || !std::isfinite(per_metre)) return std::max(1, pixels);
        return std::max(1, static_cast<int>(std::lround(pixels * kCardPerMetre / per_metre)));
    };
    return {side(w, per_metre_x), side(h, per_metre_y)};
}
