#include "design/text_decoding.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

namespace {

// Bytes that never occur in UTF-8: a file holding one is not UTF-8, known at once.
bool NeverUtf8(std::uint8_t b) { return b == 0xC0 || b == 0xC1 || b >= 0xF5; }

bool AllowedControl(char32_t c) {
    return c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == 0x02 ||
           c == 0x03;
}

void AppendCodePoint(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
        return;
    }
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

}  // namespace

bool DecodeUtf8Text(std::string_view bytes, bool marked, std::u16string& out) {
    std::u16string decoded;
    decoded.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        char32_t c;
        std::size_t length;
        char32_t smallest;  // below this the form is overlong
        if (lead < 0x80) {
            c = lead, length = 1, smallest = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            c = lead & 0x1F, length = 2, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            c = lead & 0x0F, length = 3, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            c = lead & 0x07, length = 4, smallest = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = c << 6 | (next & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        if (!marked && c < 0x20 && !AllowedControl(c)) return false;
        AppendCodePoint(decoded, c);
        i += length;
    }
    out += decoded;
    return true;
}

void TextDecoder::Decide() {
    if (head_bytes_ >= 2 && head_[0] == 0xFF && head_[1] == 0xFE) {
        encoding_ = TextEncoding::Utf16Le;
    } else if (head_bytes_ >= 1 && head_[0] == 0xEF && head_bytes_ < 3) {
        return;  // perhaps the UTF-8 mark: wait for its third byte
    } else if (head_bytes_ == 3 && head_[0] == 0xEF && head_[1] == 0xBB && head_[2] == 0xBF) {
        encoding_ = TextEncoding::Utf8;
        utf8_marked_ = true;
    } else if (head_bytes_ >= 2 || (head_bytes_ == 1 && head_[0] != 0xFF)) {
        encoding_ = TextEncoding::Utf8;
    }
}

void TextDecoder::TakeUtf16(std::span<const std::uint8_t> bytes, std::u16string& out) {
    if (bytes.empty()) return;
    if (odd_byte_ >= 0) {
        out += static_cast<char16_t>(odd_byte_ | bytes[0] << 8);
        odd_byte_ = -1;
        bytes = bytes.subspan(1);
    }
    // Through a buffer on the stack, appended whole: a unit at a time costs much more when
    // fuzzing, and a resize would clear what is written over at once.
    char16_t chunk[2048];
    const std::uint8_t* from = bytes.data();
    for (std::size_t units = bytes.size() / 2; units > 0;) {
        const std::size_t n = std::min(units, std::size(chunk));
        if constexpr (std::endian::native == std::endian::little)
            std::memcpy(chunk, from, n * 2);
        else
            for (std::size_t k = 0; k < n; ++k) chunk[k] = static_cast<char16_t>(from[2 * k] | from[2 * k + 1] << 8);
        out.append(chunk, n);
        from += 2 * n;
        units -= n;
    }
    if (bytes.size() % 2 != 0) odd_byte_ = bytes.back();
}

bool TextDecoder::CollectUtf8(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) {
        if (NeverUtf8(b) || (b == 0 && !utf8_marked_)) {
            encoding_ = TextEncoding::Unknown;
            utf8_.clear();
            return false;
        }
    }
    if (utf8_.size() + bytes.size() > kLargestUtf8Text) {
        encoding_ = TextEncoding::Unknown;
        utf8_.clear();
        return false;
    }
    utf8_.append(bytes.begin(), bytes.end());
    return true;
}

bool TextDecoder::Feed(std::span<const std::uint8_t> bytes, std::u16string& out) {
    if (encoding_ == TextEncoding::Unknown) return false;
    std::size_t i = 0;
    while (encoding_ == TextEncoding::Undecided && i < bytes.size() && head_bytes_ < 3) {
        head_[head_bytes_++] = bytes[i++];
        Decide();
    }
    if (encoding_ == TextEncoding::Undecided) return true;
    bytes = bytes.subspan(i);
    // The head bytes after the mark belong to the text.
    const std::size_t mark = encoding_ == TextEncoding::Utf16Le ? 2 : utf8_marked_ ? 3 : 0;
    const std::span<const std::uint8_t> rest(head_ + mark, head_bytes_ > mark ? head_bytes_ - mark : 0);
    head_bytes_ = 0;
    if (encoding_ == TextEncoding::Utf16Le) {
        TakeUtf16(rest, out);
        TakeUtf16(bytes, out);
        return true;
    }
    return CollectUtf8(rest) && CollectUtf8(bytes);
}

DecodedText TextDecoder::Finish(std::u16string& out) {
    if (encoding_ == TextEncoding::Undecided) {
        if (head_bytes_ == 0) return DecodedText::Empty;
        // One or two bytes that were waiting for a mark: text only as unmarked UTF-8.
        encoding_ = TextEncoding::Utf8;
        utf8_.assign(head_, head_ + head_bytes_);
        head_bytes_ = 0;
    }
    if (encoding_ == TextEncoding::Utf16Le) return DecodedText::Text;
    if (encoding_ == TextEncoding::Utf8 && DecodeUtf8Text(utf8_, utf8_marked_, out)) {
        utf8_.clear();
        return DecodedText::Text;
    }
    encoding_ = TextEncoding::Unknown;
    utf8_.clear();
    return DecodedText::NotText;
}
