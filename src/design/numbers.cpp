#include "design/numbers.h"

#include <climits>

namespace {

bool IsWhiteSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000'; }

constexpr long long kSaturation = static_cast<long long>(INT_MAX) + 1;

}  // namespace

LeadingNumber ScanLeadingNumber(std::u16string_view text) {
    LeadingNumber n;
    std::size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) n.negative = text[i++] == u'-';
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        n.has_digits = true;
        if (n.magnitude < kSaturation) n.magnitude = n.magnitude * 10 + (text[i] - u'0');
        if (n.magnitude > kSaturation) n.magnitude = kSaturation;
    }
    n.end = i;
    return n;
}

int ParseWholeNumber(std::u16string_view text) {
    const LeadingNumber n = ScanLeadingNumber(text);
    if (n.negative) return static_cast<int>(-n.magnitude);
    return static_cast<int>(n.magnitude < kSaturation ? n.magnitude : INT_MAX);
}
