#include "list/list_file.h"

#include <algorithm>
#include <string>

#include "design/fixed_text.h"
#include "design/numbers.h"

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

std::u16string_view CutField(std::u16string_view field, std::size_t units = kListFieldUnits) {
    if (field.size() <= units) return field;
    std::size_t n = units;
    if (IsHighSurrogate(field[n - 1])) --n;
    return field.substr(0, n);
}

// A field starting with U+FEFF is quoted too: first in the file, its bytes FF FE would be
// read back as a byte-order mark (found by fuzzing).
bool NeedsQuotes(std::u16string_view field) {
    return field.find_first_of(u",\"\r\n") != std::u16string_view::npos || field.starts_with(u'\uFEFF');
}

void AppendField(std::u16string& out, std::u16string_view field) {
    if (!NeedsQuotes(field)) {
        out += field;
        return;
    }
    out += u'"';
    for (char16_t c : field) {
        if (c == u'"') out += u'"';
        out += c;
    }
    out += u'"';
}

// Decodes one UTF-8 sequence at bytes[i]; returns the code point (U+FFFD for invalid
// input) and advances i.
char32_t NextUtf8(std::span<const std::uint8_t> bytes, std::size_t& i) {
    const std::uint8_t lead = bytes[i++];
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= bytes.size() || (bytes[i] & 0xC0) != 0x80) return 0xFFFD;
        value = (value << 6) | (bytes[i++] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFD;
    return value;
}

bool IsValidUtf8(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        if (NextUtf8(bytes, i) == 0xFFFD) return false;
    }
    return true;
}

void AppendCodePoint(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

std::u16string Utf16Units(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
    if (bytes.size() < mark.size()) return false;
    std::size_t i = 0;
    for (std::uint8_t b : mark)
        if (bytes[i++] != b) return false;
    return true;
}

// Whether a closing quote may stand right before `rest`: a comma, a line end (LF or
// CR LF) or the end of the text follows it.
bool EndsAField(std::u16string_view rest) {
    return rest.empty() || rest.front() == u',' || rest.front() == u'\n' || rest.starts_with(u"\r\n");
}

// The closing quote of a field whose opening quote is text[open]: the next quote that is
// not one of a doubled pair, when it lies before bound and ends a field; npos otherwise,
// and the field is then no quoted one.
std::size_t ClosingQuote(std::u16string_view text, std::size_t open, std::size_t bound) {
    for (std::size_t i = open + 1; i < bound; ++i) {
        if (text[i] != u'"') continue;
        if (i + 1 < text.size() && text[i + 1] == u'"') {
            ++i;
            continue;
        }
        return EndsAField(text.substr(i + 1)) ? i : std::u16string_view::npos;
    }
    return std::u16string_view::npos;
}

std::u16string Unquoted(std::u16string_view inside) {
    std::u16string value;
    for (std::size_t i = 0; i < inside.size(); ++i) {
        value += inside[i];
        if (inside[i] == u'"') ++i;  // the second quote of a pair
    }
    return value;
}

// Reads the record that starts at text[start] and returns where the next one starts.
// Units from start + kListRecordUnits on are not kept, and no quoted field reaches them.
std::size_t ReadRecord(std::u16string_view text, std::size_t start, ListRow& row) {
    const std::size_t bound = std::min(text.size(), start + kListRecordUnits);
    std::size_t i = start;
    for (int field = 0;; ++field) {
        std::u16string value;
        const std::size_t close =
            i < bound && text[i] == u'"' ? ClosingQuote(text, i, bound) : std::u16string_view::npos;
        if (close != std::u16string_view::npos) {
            value = Unquoted(text.substr(i + 1, close - i - 1));
            i = close + 1;
            if (text.substr(i).starts_with(u"\r\n")) ++i;
        } else {
            const std::size_t from = i;
            while (i < text.size() && text[i] != u',' && text[i] != u'\n') ++i;
            std::size_t to = std::min(i, bound);
            if (to > from && i < text.size() && text[i] == u'\n' && to == i && text[to - 1] == u'\r') --to;
            if (to > from) value.assign(text.substr(from, to - from));
        }
        if (field < kListFields) row[field] = std::move(value);
        if (i >= text.size()) return i;
        if (text[i++] == u'\n') return i;
    }
}

bool IsBlank(const ListRow& row) {
    for (const auto& field : row)
        if (!field.empty()) return false;
    return true;
}

}  // namespace

std::u16string FormatListRecord(const ListRow& row) {
    std::u16string line;
    for (int j = 0; j < kListFields; ++j) {
        if (j > 0) line += u',';
        AppendField(line, CutField(row[j], j == 0 ? kListNameUnits : kListFieldUnits));
    }
    line += u"\r\n";
    return line;
}

std::vector<std::uint8_t> ListFileBytes(std::span<const ListRow> rows) {
    std::vector<std::uint8_t> bytes;
    for (const ListRow& row : rows) {
        for (char16_t unit : FormatListRecord(row)) {
            bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
    }
    return bytes;
}

ListEncoding DetectListEncoding(std::span<const std::uint8_t> bytes) {
    if (StartsWith(bytes, {0xFF, 0xFE})) return ListEncoding::Utf16;
    // Zero bytes before the UTF-8 mark: the program's own list, which has no mark, may
    // begin with the bytes EF BB BF (a first name starting with U+BBEF, found by fuzzing),
    // while a UTF-8 text never holds a zero byte.
    for (std::uint8_t b : bytes)
        if (b == 0) return ListEncoding::Utf16;
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) return ListEncoding::Utf8;
    return IsValidUtf8(bytes) ? ListEncoding::Utf8 : ListEncoding::ShiftJis;
}

namespace {

std::u16string DecodeListBytes(std::span<const std::uint8_t> bytes, ShiftJisDecoder shift_jis) {
    switch (DetectListEncoding(bytes)) {
        case ListEncoding::Utf16:
            return Utf16Units(StartsWith(bytes, {0xFF, 0xFE}) ? bytes.subspan(2) : bytes);
        case ListEncoding::Utf8: {
            if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) bytes = bytes.subspan(3);
            std::u16string text;
            text.reserve(bytes.size());
            for (std::size_t i = 0; i < bytes.size();) AppendCodePoint(text, NextUtf8(bytes, i));
            return text;
        }
        case ListEncoding::ShiftJis: break;
    }
    return shift_jis ? shift_jis(bytes) : std::u16string();
}

}  // namespace

std::u16string DecodeListText(std::span<const std::uint8_t> bytes, ShiftJisDecoder shift_jis) {
    std::u16string text = DecodeListBytes(bytes, shift_jis);
    // A mark a careless tool wrote twice is no content: left in, the first template name
    // would start with it, and the list written back would begin with FF FE and lose it
    // on the next read.
    const std::size_t marks = text.find_first_not_of(u'\uFEFF');
    text.erase(0, marks == std::u16string::npos ? text.size() : marks);
    return text;
}

std::vector<ListRow> ParseListText(std::u16string_view text) {
    std::vector<ListRow> rows;
    for (std::size_t start = 0; start < text.size();) {
        ListRow row;
        start = ReadRecord(text, start, row);
        if (!IsBlank(row)) rows.push_back(std::move(row));
    }
    return rows;
}

std::u16string ForceCsvExtension(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    const std::size_t name_start = slash == std::u16string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of(u'.');
    std::u16string result(path);
    if (dot != std::u16string_view::npos && dot >= name_start) result.resize(dot);
    result += u".csv";
    return result;
}

TemplateNameCheck CheckTemplateName(std::u16string_view name) {
    if (name.empty()) return TemplateNameCheck::Empty;
    if (name.find_first_of(u"\\/:") != std::u16string_view::npos ||
        name.find(u"..") != std::u16string_view::npos)
        return TemplateNameCheck::LeavesFolder;
    if (std::u16string_view(kTemplatePrefix).size() + name.size() >= kTemplatePathUnits)
        return TemplateNameCheck::TooLong;
    return TemplateNameCheck::Ok;
}

QueueFill FillPrintQueue(std::span<const ListRow> selected, int list_rows, PrintQueue& queue) {
    queue.count = 0;
    if (selected.empty()) return {QueueFillStatus::NothingSelected};
    if (list_rows > kPrintQueueCapacity) return {QueueFillStatus::TooManyRows};
    for (std::size_t k = 0; k < selected.size(); ++k) {
        const TemplateNameCheck check = CheckTemplateName(selected[k][0]);
        if (check != TemplateNameCheck::Ok)
            return {QueueFillStatus::BadName, static_cast<int>(k), check};
    }
    // list_rows bounds the selection, so it fits the queue.
    for (const ListRow& row : selected) {
        ListRecord& record = queue.records[queue.count++];
        SetText(record.path, std::u16string(kTemplatePrefix) + row[0]);
        record.copies = ParseWholeNumber(std::u16string_view(row[1]).substr(0, 30));
        for (int k = 0; k < kTextCount; ++k)
            SetText(record.strings[k], CutField(row[kListStringBase + k]));
    }
    return {QueueFillStatus::Filled};
}

bool IsListText(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') return false;
        if (c == 0xFFFE || c == 0xFFFF) return false;
        if (c >= 0xDC00 && c <= 0xDFFF) return false;  // a low half without its high half
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}
