#include "design/file_names.h"

std::u16string ForceExtension(std::u16string_view path, std::u16string_view extension) {
    const std::size_t slash = path.rfind(u'\\');
    const std::size_t name_start = slash == std::u16string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.find(u'.', name_start);
    std::u16string out(path.substr(0, dot == std::u16string_view::npos ? path.size() : dot));
    out += extension;
    return out;
}

std::u16string UnreadableBackupName(std::u16string_view path, int n) {
    std::u16string out(path);
    out += u".unreadable-";
    for (char c : std::to_string(n)) out += static_cast<char16_t>(c);
    return out;
}
