#include "tools/portrait_rules.h"

#include <algorithm>
#include <cmath>

#include "design/fixed_text.h"

namespace {

constexpr std::u16string_view kOtherPrefix = u"kao-2-";
constexpr std::u16string_view kHairPrefix = u"kao-b-";
constexpr std::u16string_view kBackHairPrefix = u"kao-0-";

// The part of a path after its last folder separator.
std::u16string_view FileName(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

bool IsWhite(const std::uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }
bool IsBlack(const std::uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }

}  // namespace

char16_t CategoryDigit(int category) {
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    return category >= 0 && category < 16 ? kDigits[category] : u'?';
}

PartPlacement PlaceChosenPart(int category, int w, int h) {
    switch (category) {
        case kEyes: return {(40 - w) / 2 + 8, (100 - h) / 2 - 5, kPartPair};
        case kEyebrows: return {(40 - w) / 2 + 8, (100 - h) / 2 - 15, kPartPair};
        case kNose: return {(80 - w) / 2, (100 - h) / 2 + 8, kPartSingle};
        case kMouth: return {(80 - w) / 2, (100 - h) / 2 + 22, kPartSingle};
        case kEars: return {5, 40, kPartPair};
        case kMoustache: return {(80 - w) / 2, (100 - h) / 2 + 15, kPartSingle};
        case kBeard: return {(80 - w) / 2, (100 - h) / 2 + 30, kPartSingle};
        case kGlasses: return {(80 - w) / 2, (100 - h) / 2 - 5, kPartSingle};
        case kUnusedCategory: return {(80 - w) / 2, (100 - h) / 2, kPartSingle};
        default: return {0, 0, kPartSingle};  // face and hair fill the background
    }
}

OtherShape OtherShapeOf(std::u16string_view file) {
    const std::u16string_view name = FileName(file);
    const std::size_t at = name.find(kOtherPrefix);
    if (at == std::u16string_view::npos) return OtherShape::kSingle;
    const std::u16string_view rest = name.substr(at + kOtherPrefix.size());
    if (rest.empty() || rest[0] != u'0') return OtherShape::kSingle;
    return rest.size() > 1 && rest[1] == u'0' ? OtherShape::kEyePair : OtherShape::kLowPair;
}

PartPlacement PlaceOtherPart(OtherShape shape, int w, int h) {
    switch (shape) {
        case OtherShape::kEyePair: return {(40 - w) / 2 + 8, (100 - h) / 2 - 5, kPartPair};
        case OtherShape::kLowPair: return {(40 - w) / 2 + 8, (100 - h) / 2 + 10, kPartPair};
        case OtherShape::kSingle: break;
    }
    return {(80 - w) / 2, (100 - h) / 2 + 15, kPartSingle};
}

std::u16string BackHairName(std::u16string_view hair_file) {
    const std::size_t at = hair_file.find(kHairPrefix);
    if (at == std::u16string_view::npos) return {};
    std::u16string back(hair_file);
    back.replace(at, kHairPrefix.size(), kBackHairPrefix);
    return back;
}

int FreeOtherSlot(const PortraitPart (&others)[kOtherSlots], std::u16string_view file) {
    int free_slot = -1;
    for (int i = 0; i < kOtherSlots; ++i) {
        if (others[i].used == kPartUnused) {
            if (free_slot < 0) free_slot = i;
        } else if (TextOf(others[i].file) == file) {
            return -1;
        }
    }
    return free_slot;
}

int NextOtherSlot(int current, const PortraitPart (&others)[kOtherSlots]) {
    const int next = current + 1 >= kOtherSlots || current < 0 ? 0 : current + 1;
    return others[next].used != kPartUnused ? next : 0;
}

int PreviousOtherSlot(int current, const PortraitPart (&others)[kOtherSlots]) {
    if (current > 0 && current < kOtherSlots) return current - 1;
    for (int i = kOtherSlots - 1; i > 0; --i)
        if (others[i].used != kPartUnused) return i;
    return 0;
}

int PreviousPage(int first_shown, int count) {
    const int previous = first_shown - kThumbnailsPerPage;
    if (previous >= 0) return previous;
    return count > 0 ? (count - 1) / kThumbnailsPerPage * kThumbnailsPerPage : 0;
}

int NextPage(int first_shown, int count) {
    const int next = first_shown + kThumbnailsPerPage;
    return next < count ? next : 0;
}

int ThumbnailAt(int x, int y, int first_shown, int count) {
    if (y < kThumbnailTop + 1 || y > kThumbnailTop + kThumbnailHeight - 1) return -1;
    for (int k = 0; k < kThumbnailsPerPage; ++k) {
        const int left = ThumbnailLeft(k);
        if (x > left && x < left + kThumbnailWidth) {
            const int index = first_shown + k;
            return index < count ? index : -1;
        }
    }
    return -1;
}

ThumbnailPlacement PlaceThumbnail(int category, std::u16string_view file, int w, int h, int box_left) {
    const OtherShape shape = category == kOtherParts ? OtherShapeOf(file) : OtherShape::kSingle;
    if (category == kEyes || category == kEyebrows || shape != OtherShape::kSingle) {
        const int f = (40 - w) / 2;
        int below = 50;
        if (category == kEyebrows) below = 35;
        if (shape == OtherShape::kLowPair) below = 65;
        return {box_left + f, (100 - h) / 2 + below, true, box_left - f + 80, true};
    }
    if (category == kEars) return {box_left + 5, (80 - h) / 2 + 55, true, box_left + 74, false};
    if (category == kFrontHair) return {box_left, kThumbnailTop, false, 0, false};
    int e = 55;
    switch (category) {
        case kMouth: e = 75; break;
        case kMoustache: e = 65; break;
        case kBeard: e = 85; break;
        case kGlasses: e = 45; break;
        case kOtherParts: e = 70; break;
        default: break;
    }
    return {box_left + (80 - w) / 2, (100 - h) / 2 + e, false, 0, false};
}

void ApplyPartEdit(PortraitPart& part, PartEdit edit, const PortraitBackground& background) {
    switch (edit) {
        case PartEdit::kWider:
            if (part.w <= 120 - 2) part.w += 2;
            if (part.x > -background.left) part.x -= 1;
            break;
        case PartEdit::kNarrower:
            if (part.w >= 2) part.w -= 2;
            if (part.x < 80) part.x += 1;
            break;
        case PartEdit::kTaller:
            if (part.h <= 150 - 2) part.h += 2;
            if (part.y > -background.top) part.y -= 1;
            break;
        case PartEdit::kShorter:
            if (part.h >= 2) part.h -= 2;
            if (part.y < 100) part.y += 1;
            break;
        case PartEdit::kLarger:
            ApplyPartEdit(part, PartEdit::kWider, background);
            ApplyPartEdit(part, PartEdit::kTaller, background);
            break;
        case PartEdit::kSmaller:
            ApplyPartEdit(part, PartEdit::kNarrower, background);
            ApplyPartEdit(part, PartEdit::kShorter, background);
            break;
        case PartEdit::kUp:
            if (part.y > -background.top) part.y -= 1;
            break;
        case PartEdit::kDown:
            if (part.y < 100) part.y += 1;
            break;
        case PartEdit::kLeft:
            if (part.x > -background.left) part.x -= 1;
            break;
        case PartEdit::kRight:
            if (part.x < 80) part.x += 1;
            break;
        case PartEdit::kTurnRight:
            if (part.angle < 50) part.angle += 5;
            break;
        case PartEdit::kTurnLeft:
            if (part.angle > -50) part.angle -= 5;
            break;
        case PartEdit::kNoTurn: part.angle = 0; break;
    }
}

void ApplyBackgroundEdit(PortraitBackground& background, BackgroundEdit edit) {
    switch (edit) {
        case BackgroundEdit::kWider:
            if (background.left >= 1) {
                background.width += 2;
                background.left -= 1;
            }
            break;
        case BackgroundEdit::kTaller:
            if (background.top >= 1) {
                background.height += 2;
                background.top -= 1;
            }
            break;
        case BackgroundEdit::kNarrower:
            if (background.width >= 4) {
                background.left += 1;
                background.width -= 2;
            }
            break;
        case BackgroundEdit::kShorter:
            if (background.height >= 4) {
                background.top += 1;
                background.height -= 2;
            }
            break;
    }
}

std::array<CornerPoint, 3> ParallelogramCorners(int x, int y, int w, int h, double radians, bool mirrored) {
    const double cx = x + w / 2.0;
    const double cy = y + h / 2.0;
    const double hw = w / 2.0;
    const double hh = h / 2.0;
    const double base = std::atan2(hh, hw);
    const double r = std::hypot(hw, hh);
    const double turn = mirrored ? -radians : radians;
    const double a1 = base + turn;
    const double a2 = base - turn;
    auto at = [](double value) { return static_cast<int>(std::lround(value)); };
    return {{{at(cx - std::cos(a1) * r), at(cy - std::sin(a1) * r)},
             {at(cx + std::cos(a2) * r), at(cy - std::sin(a2) * r)},
             {at(cx - std::cos(a2) * r), at(cy + std::sin(a2) * r)}}};
}

void WhiteMask(const PixelRows& picture, const PixelRows& mask) {
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = picture.bytes + static_cast<std::ptrdiff_t>(y) * picture.stride;
        std::uint8_t* marks = mask.bytes + static_cast<std::ptrdiff_t>(y) * mask.stride;
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t value = IsWhite(row + 3 * x) ? 0 : 255;
            marks[3 * x] = marks[3 * x + 1] = marks[3 * x + 2] = value;
        }
    }
}

void DrawParallelogram(const PixelRows& target, const PixelRows& picture, const PixelRows& mask,
                       const std::array<CornerPoint, 3>& corners) {
    if (picture.width < 1 || picture.height < 1) return;
    const CornerPoint& origin = corners[0];
    // One picture pixel to the right is (ax, ay) on the target, one down is (bx, by).
    const double ax = static_cast<double>(corners[1].x - origin.x) / picture.width;
    const double ay = static_cast<double>(corners[1].y - origin.y) / picture.width;
    const double bx = static_cast<double>(corners[2].x - origin.x) / picture.height;
    const double by = static_cast<double>(corners[2].y - origin.y) / picture.height;
    const double det = ax * by - ay * bx;
    if (det == 0) return;
    const int far_x = corners[1].x + corners[2].x - origin.x;
    const int far_y = corners[1].y + corners[2].y - origin.y;
    const int left = std::max(0, std::min({origin.x, corners[1].x, corners[2].x, far_x}));
    const int right = std::min(target.width, std::max({origin.x, corners[1].x, corners[2].x, far_x}));
    const int top = std::max(0, std::min({origin.y, corners[1].y, corners[2].y, far_y}));
    const int bottom = std::min(target.height, std::max({origin.y, corners[1].y, corners[2].y, far_y}));
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* to = target.bytes + static_cast<std::ptrdiff_t>(y) * target.stride;
        const double dy = y + 0.5 - origin.y;
        for (int x = left; x < right; ++x) {
            const double dx = x + 0.5 - origin.x;
            const double u = (dx * by - dy * bx) / det;
            const double v = (ax * dy - ay * dx) / det;
            if (u < 0 || v < 0 || u >= picture.width || v >= picture.height) continue;
            const int column = static_cast<int>(u);
            const int row = static_cast<int>(v);
            const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(3) * column;
            if (mask.bytes[static_cast<std::ptrdiff_t>(row) * mask.stride + at] < 128) continue;
            const std::uint8_t* from = picture.bytes + static_cast<std::ptrdiff_t>(row) * picture.stride + at;
            std::copy(from, from + 3, to + 3 * x);
        }
    }
}

void RecolourPart(const PixelRows& picture, bool face_outline, std::uint8_t red, std::uint8_t green,
                  std::uint8_t blue) {
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = picture.bytes + static_cast<std::ptrdiff_t>(y) * picture.stride;
        for (int x = 0; x < picture.width; ++x) {
            std::uint8_t* p = row + 3 * x;
            const bool takes = face_outline ? !IsBlack(p) && !IsWhite(p) : IsBlack(p);
            if (!takes) continue;
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

void MirrorRows(const PixelRows& picture) {
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = picture.bytes + static_cast<std::ptrdiff_t>(y) * picture.stride;
        for (int left = 0, right = picture.width - 1; left < right; ++left, --right)
            std::swap_ranges(row + 3 * left, row + 3 * left + 3, row + 3 * right);
    }
}

bool FirstColouredPixel(const PixelRows& picture, int& red, int& green, int& blue) {
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = picture.bytes + static_cast<std::ptrdiff_t>(y) * picture.stride;
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = row + 3 * x;
            if (IsBlack(p) || IsWhite(p)) continue;
            blue = p[0];
            green = p[1];
            red = p[2];
            return true;
        }
    }
    return false;
}
