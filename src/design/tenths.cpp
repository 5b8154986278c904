#include "design/tenths.h"

#include <climits>

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
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\r' ||
                               text[i] == u'\n' || text[i] == u'\u3000'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    auto digit = [&](std::size_t k) { return k < text.size() && text[k] >= u'0' && text[k] <= u'9'; };
    for (; digit(i); ++i) {
        if (value < limit) value = value * 10 + (text[i] - u'0');
    }
    value *= 10;
    if (i < text.size() && text[i] == u'.' && digit(i + 1)) value += text[i + 1] - u'0';
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
