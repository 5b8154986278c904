// The text files the program reads back (design files, the auto-save file, the list
// file) as UTF-16 units, whatever the editor that last saved them did to them: UTF-16
// little-endian with its byte-order mark, as the program writes them, or UTF-8 with or
// without a byte-order mark, as other editors save them. Anything else is not text this
// program can read; such a file is to be kept aside rather than written over.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

enum class TextEncoding {
    Undecided,  // fewer bytes than a byte-order mark, or UTF-8 still being collected
    Utf16Le,    // FF FE first
    Utf8,       // EF BB BF first, or no mark and nothing but well-formed UTF-8
    Unknown,    // neither: another encoding, or binary
};

enum class DecodedText {
    Text,     // decoded; every unit was handed out (none for a byte-order mark alone)
    Empty,    // no bytes at all
    NotText,  // no encoding this program reads
};

// UTF-8 files are collected and decoded whole, so that a file found malformed on its last
// byte hands out nothing; beyond this size a UTF-8 candidate is not text.
inline constexpr std::size_t kLargestUtf8Text = 8u << 20;

// Decodes a file given in pieces, in the order of the file. UTF-16 units are handed out
// as soon as they are complete (a trailing odd byte is ignored); UTF-8 units only at
// Finish, once the whole file is known to be well-formed: no overlong forms, no encoded
// surrogates, nothing above U+10FFFF; characters beyond U+FFFF become surrogate pairs.
// Without a byte-order mark the file must also hold no control characters but tab, LF,
// VT, FF, CR, U+0002 and U+0003 (the program's own stand-ins for line breaks inside a
// value), so that binary data made of ASCII bytes is not taken for text.
class TextDecoder {
public:
    // Appends the units decoded so far to out. Returns false once the file is known not
    // to be text (further bytes are then ignored).
    bool Feed(std::span<const std::uint8_t> bytes, std::u16string& out);

    // After the last piece: appends what is left to out and tells what the file was.
    DecodedText Finish(std::u16string& out);

    TextEncoding Encoding() const { return encoding_; }

private:
    void Decide();
    void TakeUtf16(std::span<const std::uint8_t> bytes, std::u16string& out);
    bool CollectUtf8(std::span<const std::uint8_t> bytes);

    TextEncoding encoding_ = TextEncoding::Undecided;
    bool utf8_marked_ = false;
    std::uint8_t head_[3] = {};  // the first bytes, until the encoding is known
    std::size_t head_bytes_ = 0;  // then 0
    int odd_byte_ = -1;            // UTF-16: the low byte of a unit split between pieces
    std::string utf8_;             // UTF-8: the whole file after its mark
};

// Decodes UTF-8 bytes into out; false, with out unchanged, when they are not well-formed
// or (unless marked) hold a control character other than those listed for TextDecoder.
bool DecodeUtf8Text(std::string_view bytes, bool marked, std::u16string& out);
