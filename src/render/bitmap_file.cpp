#include "render/bitmap_file.h"

#include <cstdint>

namespace {

void Put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

}  // namespace

std::int64_t BitmapRowSize(int width) { return (std::int64_t{width} * 3 + 3) / 4 * 4; }

std::int64_t BitmapFileSize(int width, int height) {
    // A row takes up to 2^33 bytes, so near the int limit the product passes 2^63.
    const std::int64_t row = BitmapRowSize(width);
    if (row > 0 && height > (INT64_MAX - kBitmapHeaderSize) / row) return INT64_MAX;
    return kBitmapHeaderSize + std::int64_t{height} * row;
}

std::optional<BitmapHeader> MakeBitmapHeader(int width, int height) {
    if (width < 1 || height < 1) return std::nullopt;
    if (height > (kLargestBitmapFile - kBitmapHeaderSize) / BitmapRowSize(width)) return std::nullopt;
    const std::int64_t file_size = BitmapFileSize(width, height);
    BitmapHeader h{};
    h[0] = 'B';
    h[1] = 'M';
    Put32(&h[2], static_cast<std::uint32_t>(file_size));
    Put32(&h[10], kBitmapHeaderSize);
    Put32(&h[14], kBitmapInfoHeaderSize);
    Put32(&h[18], static_cast<std::uint32_t>(width));
    Put32(&h[22], static_cast<std::uint32_t>(height));
    Put16(&h[26], 1);
    Put16(&h[28], 24);
    return h;
}

std::u16string PathUnderFolder(std::u16string_view path, std::u16string_view folder) {
    if (folder.empty()) return std::u16string(path);
    // A root such as "C:\" already ends in its separator.
    const std::size_t prefix = folder.back() == u'\\' ? folder.size() : folder.size() + 1;
    const bool under = path.size() > prefix &&
                       SameIgnoringAsciiCase(path.substr(0, folder.size()), folder) &&
                       path[prefix - 1] == u'\\';
    return std::u16string(under ? path.substr(prefix) : path);
}

std::u16string WithBitmapExtension(std::u16string_view path) {
    constexpr std::u16string_view kExtension = u".bmp";
    std::u16string out(path);
    if (path.size() < kExtension.size() ||
        !SameIgnoringAsciiCase(path.substr(path.size() - kExtension.size()), kExtension))
        out += kExtension;
    return out;
}
