// The number and tenths readers over any text: each agrees with a plain reference
// reading done in 128 bits, and every int survives a trip through FormatTenths.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "design/numbers.h"
#include "design/tenths.h"
#include "editors/base_size.h"
#include "print/sheet_math.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Space(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000'; }
bool Digit(char16_t c) { return c >= u'0' && c <= u'9'; }

int Saturate(__int128 v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }

// The leading number, and with tenths the one digit after a full stop, held exactly
// until it passes any int (further digits cannot bring it back).
int Reference(std::u16string_view text, bool tenths) {
    std::size_t i = 0;
    while (i < text.size() && Space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    __int128 value = 0;
    for (; i < text.size() && Digit(text[i]); ++i)
        if (value < (__int128{1} << 80)) value = value * 10 + (text[i] - u'0');
    if (tenths) {
        value *= 10;
        if (i + 1 < text.size() && text[i] == u'.' && Digit(text[i + 1])) value += text[i + 1] - u'0';
    }
    return Saturate(negative ? -value : value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int whole = input.ConsumeIntegral<int>();
    Check(ParseTenths(FormatTenths(whole)) == whole);
    const int previous = input.ConsumeIntegralInRange<int>(1, kMaxCardPixels);

    std::u16string text;
    static constexpr char16_t kUnits[] = u"0123456789 \t\r\n+-.\u3000a\uFF10";
    while (input.remaining_bytes() > 0) {
        const std::uint8_t pick = input.ConsumeIntegral<std::uint8_t>();
        text += pick < 200 ? kUnits[pick % (std::size(kUnits) - 1)] : static_cast<char16_t>(pick << 8 | pick);
    }
    Check(ParseWholeNumber(text) == Reference(text, false));
    Check(ParseTenths(text) == Reference(text, true));
    const std::u16string_view form = std::u16string_view(text).substr(0, kFormTextLength);
    Check(ReadWholeNumber(text) == Reference(form, false));
    Check(ReadTenths(text) == Reference(form, true));
    const int side = ReadCardSide(text, previous);
    Check(side >= 1 && side <= kMaxCardPixels);
    const int copies = StepCopies(text, input.ConsumeBool() ? 1 : -1);
    Check(copies >= kMinCopies && copies <= kMaxCopies);
    return 0;
}
