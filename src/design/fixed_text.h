// Bounded access to fixed-capacity text fields: the UTF-16 (char16_t) fields of the design
// and its records, and the wchar_t buffers the Windows side keeps. Every field is a
// zero-terminated array; capacity counts the terminator.
#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>

// Length of the text in a field, never reading past its capacity.
template <class Char, std::size_t N>
std::size_t TextLength(const Char (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != Char()) ++n;
    return n;
}

// The field's text as a view; a field without terminator yields its whole capacity.
template <class Char, std::size_t N>
std::basic_string_view<Char> TextOf(const Char (&field)[N]) {
    return std::basic_string_view<Char>(field, TextLength(field));
}

// The one way a field is written: cleared over its whole capacity, then at most N - 1
// units of value copied in, so the field always stays terminated.
template <class Char, std::size_t N>
void SetText(Char (&field)[N], std::type_identity_t<std::basic_string_view<Char>> value) {
    static_assert(std::is_trivially_copyable_v<Char>, "a unit is cleared and copied as bytes");
    std::memset(field, 0, sizeof field);  // Char() is all zero bits
    const std::size_t n = value.size() < N - 1 ? value.size() : N - 1;
    if (n > 0) std::memcpy(field, value.data(), n * sizeof(Char));
}

template <class Char, std::size_t N>
void ClearText(Char (&field)[N]) {
    SetText(field, {});
}

// For names, which must never be cut into another name: writes value only when it fits
// whole with its terminator. Otherwise the field is cleared and false is returned.
template <class Char, std::size_t N>
bool SetWholeText(Char (&field)[N], std::type_identity_t<std::basic_string_view<Char>> value) {
    if (value.size() >= N) {
        ClearText(field);
        return false;
    }
    SetText(field, value);
    return true;
}
