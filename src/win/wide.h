// The core keeps UTF-16 text as char16_t; on Windows wchar_t is the same 16-bit unit.
// These views let design fields meet the Win32 API without copies.
#pragma once
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

inline const wchar_t* W(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* W(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
inline std::wstring_view W(std::u16string_view text) {
    return std::wstring_view(W(text.data()), text.size());
}
inline std::u16string_view U16(const wchar_t* text) {
    return text ? std::u16string_view(reinterpret_cast<const char16_t*>(text))
                : std::u16string_view();
}
inline std::u16string_view U16(std::wstring_view text) {
    return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}
