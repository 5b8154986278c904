// Bounded access to the fixed-capacity UTF-16 fields of the design and its records.
// Every field is a zero-terminated char16_t array; capacity counts the terminator.
#pragma once
#include <cstddef>
#include <string_view>

// Length of the text in a field, never reading past its capacity.
template <std::size_t N>
std::size_t TextLength(const char16_t (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != u'\0') ++n;
    return n;
}

// The field's text as a view; a field without terminator yields its whole capacity.
template <std::size_t N>
std::u16string_view TextOf(const char16_t (&field)[N]) {
    return std::u16string_view(field, TextLength(field));
}

// The one way a field is written: cleared over its whole capacity, then at most N - 1
// units of value copied in, so the field always stays terminated.
template <std::size_t N>
void SetText(char16_t (&field)[N], std::u16string_view value) {
    for (auto& c : field) c = u'\0';
    const std::size_t n = value.size() < N - 1 ? value.size() : N - 1;
    for (std::size_t i = 0; i < n; ++i) field[i] = value[i];
}

template <std::size_t N>
void ClearText(char16_t (&field)[N]) {
    SetText(field, std::u16string_view());
}
