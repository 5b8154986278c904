// Paper measures are integers in tenths of a millimetre, shown as "%d.%d" in dialogs
// and read back as the typed decimal times ten, truncated.
#pragma once
#include <string>
#include <string_view>

// 910 -> "91.0", 5 -> "0.5", -15 -> "-1.5".
std::u16string FormatTenths(int tenths);

// "91.0" -> 910, "91.09" -> 910 (further digits are cut, never rounded), "12" -> 120,
// " -1.5" -> -15, ".5" -> 5. Leading white space and a sign are accepted; reading stops at
// the first character that does not fit; no digits give 0. Values beyond the int range
// saturate.
int ParseTenths(std::u16string_view text);
