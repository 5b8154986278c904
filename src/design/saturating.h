// Arithmetic on values that may come from a file or a printer and so be anywhere in the
// int range: results beyond the int range stop at its ends instead of wrapping, which
// would be undefined behaviour and in practice a garbage position or an undersized buffer.
#pragma once
#include <climits>
#include <cmath>

// value clamped into the int range.
constexpr int SaturateToInt(long long value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// value truncated toward zero, clamped into the int range; NaN gives 0.
inline int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT_MAX;
    if (value <= -2147483648.0) return INT_MIN;
    return static_cast<int>(value);
}

// a + b and a x b in 64 bits, stopping at the ends of the long long range.
constexpr long long SaturatingAdd(long long a, long long b) {
    long long sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return a < 0 ? LLONG_MIN : LLONG_MAX;
    return sum;
}
constexpr long long SaturatingMultiply(long long a, long long b) {
    long long product = 0;
    if (__builtin_mul_overflow(a, b, &product)) return (a < 0) != (b < 0) ? LLONG_MIN : LLONG_MAX;
    return product;
}

// a + b for ints, clamped into the int range.
constexpr int SaturatingIntAdd(int a, int b) { return SaturateToInt(static_cast<long long>(a) + b); }
