#include "editors/base_size.h"

#include "design/numbers.h"

int ReadCardSide(std::u16string_view typed, int previous) {
    const int value = ParseWholeNumber(typed.substr(0, kCardSizeUnits));
    if (value < 1) return previous;
    return value > kMaxCardPixels ? kMaxCardPixels : value;
}
