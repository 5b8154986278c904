#include "editors/picture_browse.h"

#include <algorithm>

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EndsWithIgnoringCase(std::u16string_view name, std::u16string_view ending) {
    if (name.size() < ending.size()) return false;
    const std::u16string_view tail = name.substr(name.size() - ending.size());
    return std::equal(tail.begin(), tail.end(), ending.begin(), [](char16_t a, char16_t b) { return Lower(a) == Lower(b); });
}

}  // namespace

int NextPictureIndex(int index, int count) {
    if (count <= 0) return index;
    if (index < 0 || index >= count - 1) return 0;
    return index + 1;
}

int PreviousPictureIndex(int index, int count) {
    if (count <= 0) return index;
    if (index <= 0 || index >= count) return count - 1;
    return index - 1;
}

bool IsBitmapName(std::u16string_view name) { return EndsWithIgnoringCase(name, u".bmp"); }

bool IsJpegName(std::u16string_view name) {
    return EndsWithIgnoringCase(name, u".jpg") || EndsWithIgnoringCase(name, u".jpeg");
}

bool IsAnyPictureName(std::u16string_view name) {
    return IsBitmapName(name) || IsJpegName(name) || EndsWithIgnoringCase(name, u".png") ||
           EndsWithIgnoringCase(name, u".gif") || EndsWithIgnoringCase(name, u".tif") ||
           EndsWithIgnoringCase(name, u".tiff");
}

bool ScanTakesName(std::u16string_view name, int load_mode) {
    switch (load_mode) {
        case 2: return IsJpegName(name);
        case 3: return IsBitmapName(name) || IsJpegName(name);
        case 4: return IsAnyPictureName(name);
        default: return IsBitmapName(name);
    }
}

bool PictureNameBefore(std::u16string_view a, std::u16string_view b) {
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
    if (mismatch.first != a.end() && mismatch.second != b.end()) return Lower(*mismatch.first) < Lower(*mismatch.second);
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::u16string PaintCommandLine(std::u16string_view program, std::u16string_view path) {
    std::u16string line(program);
    if (path.empty()) return line;
    line += u" \"";
    line += path;
    line += u'"';
    return line;
}
