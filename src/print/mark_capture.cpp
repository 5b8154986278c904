#include "print/mark_capture.h"

#include <climits>

#include "design/design_ranges.h"
#include "render/card_mapping.h"

std::u16string MarkCaptureName(std::u16string_view folder, int index) {
    std::u16string name(folder);
    name += u"\\mask";
    for (char c : std::to_string(index)) name += static_cast<char16_t>(c);
    name += u".tmp";
    return name;
}

std::optional<CaptureArea> MarkCaptureArea(const MarkData& m) {
    if (m.w <= 0 || m.h <= 0 || m.w > kLargestCardSide || m.h > kLargestCardSide) return std::nullopt;
    const long long x = static_cast<long long>(m.x) + kCardLeft;
    const long long y = static_cast<long long>(m.y) + kCardTop;
    if (x < INT_MIN || y < INT_MIN || x + m.w > INT_MAX || y + m.h > INT_MAX) return std::nullopt;
    return CaptureArea{static_cast<int>(x), static_cast<int>(y), m.w, m.h};
}
