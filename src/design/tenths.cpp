#include "design/tenths.h"

#include <climits>

#include "design/numbers.h"

std::u16string FormatTenths(int tenths) {
    // Work in long long so that INT_MIN has a magnitude.
    long long v = tenths;
    std::u16string out;
    if (v < 0) {
        out += u'-';
        v = -v;
    }
    const std::string whole = std::to_string(v / 10);
    for (char c : whole) out += static_cast<char16_t>(c);
    out += u'.';
    out += static_cast<char16_t>(u'0' + v % 10);
    return out;
}

int ParseTenths(std::u16string_view text) {
    const LeadingNumber n = ScanLeadingNumber(text);
    long long value = n.magnitude * 10;
    const std::size_t i = n.end;
    if (i + 1 < text.size() && text[i] == u'.' && text[i + 1] >= u'0' && text[i + 1] <= u'9')
        value += text[i + 1] - u'0';
    if (n.negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
