// The small files of the printing side (sheets.ini, printers.ini): UTF-16 little-endian
// text after its byte-order mark, one key=value pair per CR LF line, as the settings file
// is written; read back also as UTF-8, as an editor may have saved it.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct KeyValue {
    std::u16string key, value;
};

enum class KeyValueRead {
    Read,        // text; its key=value lines are in the result
    Empty,       // no bytes, or nothing but a byte-order mark, white space and line ends
    Unreadable,  // not text this program reads
};

// Splits the file into its lines (CR LF, a lone LF or a lone CR end a line; a last line
// without an end counts too, so that a file an editor saved without one still reads).
// The key is the text before the first "=", the value all that follows it, so values may
// hold "=" and "]"; lines without "=" are left out.
KeyValueRead ReadKeyValueText(std::span<const std::uint8_t> bytes, std::vector<KeyValue>& lines);

// FF FE, then "key=value" CR LF for each pair, every unit little-endian. Keys and values
// must hold no CR or LF (the callers' names are refused when they do).
std::vector<std::uint8_t> KeyValueBytes(const std::vector<KeyValue>& lines);

// "prefix[index].member" keys: true with the index and the member for a key of that form
// with an index of decimal digits below `count`.
bool SplitIndexedKey(std::u16string_view key, std::u16string_view prefix, int count, int& index,
                     std::u16string_view& member);

// "prefix[index].member".
std::u16string IndexedKey(std::u16string_view prefix, int index, std::u16string_view member);

// A decimal int as text: -8 -> "-8".
std::u16string DecimalText(int value);
