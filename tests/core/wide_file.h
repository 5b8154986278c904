// A settings or template file as Windows editors save it: UTF-16 little-endian after its
// byte-order mark.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

inline std::vector<std::uint8_t> WideFile(std::u16string_view body) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    for (char16_t unit : body) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}
