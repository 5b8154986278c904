// Numbers typed by the user or stored in files, read the way the C runtime's _wtoi reads
// them. Every place that turns text into a number goes through here.
#pragma once
#include <cstddef>
#include <string_view>

// The leading number of a text: white space (space, tab, CR, LF, VT, FF and the
// ideographic space U+3000) is skipped, an optional sign is taken, then decimal digits
// (ASCII only). Reading stops at the first other character.
struct LeadingNumber {
    bool negative = false;
    bool has_digits = false;
    long long magnitude = 0;  // saturates at 2^31, just past the int range
    std::size_t end = 0;      // index of the first unit after the digits
};
LeadingNumber ScanLeadingNumber(std::u16string_view text);

// The leading number as an int: "  -45abc" -> -45, "abc" -> 0, "" -> 0, "- 5" -> 0.
// Values beyond the int range saturate to INT_MIN / INT_MAX. Callers that read only a
// part of a field (the first 31 units of an edit box) pass that part.
int ParseWholeNumber(std::u16string_view text);
