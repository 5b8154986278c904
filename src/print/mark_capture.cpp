#include "print/mark_capture.h"


std::u16string MarkCaptureName(std::u16string_view folder, int index) {
    std::u16string name(folder);
    name += u"\\mask";
    for (char c : std::to_string(index)) name += static_cast<char16_t>(c);
    name += u".tmp";
    return name;
}
