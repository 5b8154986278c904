#include "print/key_value_text.h"

#include <algorithm>
#include <string>

#include "design/text_decoding.h"

namespace {

void SplitLine(std::u16string_view line, std::vector<KeyValue>& lines) {
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return;
    lines.push_back({std::u16string(line.substr(0, equals)), std::u16string(line.substr(equals + 1))});
}

void AppendUnit(std::vector<std::uint8_t>& out, char16_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
}

void AppendUnits(std::vector<std::uint8_t>& out, std::u16string_view units) {
    for (char16_t unit : units) AppendUnit(out, unit);
}

}  // namespace

KeyValueRead ReadKeyValueText(std::span<const std::uint8_t> bytes, std::vector<KeyValue>& lines) {
    TextDecoder decoder;
    std::u16string text;
    decoder.Feed(bytes, text);
    switch (decoder.Finish(text)) {
        case DecodedText::Empty: return KeyValueRead::Empty;
        case DecodedText::NotText: return KeyValueRead::Unreadable;
        case DecodedText::Text: break;
    }
    const auto blank = [](char16_t c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000' || c == u'\uFEFF';
    };
    if (std::all_of(text.begin(), text.end(), blank)) return KeyValueRead::Empty;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n') continue;
        SplitLine(std::u16string_view(text).substr(start, i - start), lines);
        if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    return KeyValueRead::Read;
}

std::vector<std::uint8_t> KeyValueBytes(const std::vector<KeyValue>& lines) {
    std::vector<std::uint8_t> out;
    AppendUnit(out, u'\uFEFF');
    for (const KeyValue& line : lines) {
        AppendUnits(out, line.key);
        AppendUnit(out, u'=');
        AppendUnits(out, line.value);
        AppendUnits(out, u"\r\n");
    }
    return out;
}

bool SplitIndexedKey(std::u16string_view key, std::u16string_view prefix, int count, int& index,
                     std::u16string_view& member) {
    if (key.substr(0, prefix.size()) != prefix) return false;
    key.remove_prefix(prefix.size());
    if (key.empty() || key[0] != u'[') return false;
    long long n = 0;
    std::size_t i = 1;
    for (; i < key.size() && key[i] >= u'0' && key[i] <= u'9'; ++i) {
        n = n * 10 + (key[i] - u'0');
        if (n >= count) return false;
    }
    if (i == 1 || key.substr(i, 2) != u"].") return false;
    index = static_cast<int>(n);
    member = key.substr(i + 2);
    return true;
}

std::u16string IndexedKey(std::u16string_view prefix, int index, std::u16string_view member) {
    std::u16string key(prefix);
    key += u'[';
    key += DecimalText(index);
    key += u"].";
    key += member;
    return key;
}

std::u16string DecimalText(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}
