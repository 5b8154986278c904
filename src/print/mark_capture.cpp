#include "print/mark_capture.h"

namespace {

void Put16(std::uint8_t* at, int value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, int value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::u16string MarkCaptureName(std::u16string_view folder, int index) {
    std::u16string name(folder);
    name += u"\\mask";
    for (char c : std::to_string(index)) name += static_cast<char16_t>(c);
    name += u".tmp";
    return name;
}

int CaptureRowSize(int width) { return (3 * width + 3) / 4 * 4; }

int CaptureFileSize(int width, int height) { return 54 + height * CaptureRowSize(width); }

std::array<std::uint8_t, 54> CaptureHeader(int width, int height) {
    std::array<std::uint8_t, 54> h{};
    h[0] = 'B';
    h[1] = 'M';
    Put32(&h[2], CaptureFileSize(width, height));
    Put32(&h[10], 54);
    Put32(&h[14], 40);
    Put32(&h[18], width);
    Put32(&h[22], height);
    Put16(&h[26], 1);
    Put16(&h[28], 24);
    return h;
}
