// Encoded symbols kept between paints: a card is repainted on every drag step, and its QR
// codes are encoded again only when their text or level changed.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct QrSymbol {
    int size = 0;                    // modules per side; 0 when the text cannot be encoded
    std::vector<std::uint8_t> dark;  // size × size cells, [x × size + y], 1 for dark
    bool Dark(int x, int y) const { return dark[static_cast<std::size_t>(x) * size + y] != 0; }
};

class QrSymbolCache {
public:
    explicit QrSymbolCache(int capacity = 16) : capacity_(capacity < 1 ? 1 : capacity) {}

    // The symbol of text at level 0..3 (any other level is L), encoded with the program's
    // encoder record only when no held symbol has the same text and level; the least
    // recently used one then makes room. The reference stays valid until the next Get.
    // The text is taken as it is (callers limit it to 255 bytes); an empty text, or more
    // than version 40 holds, gives a symbol of size 0.
    const QrSymbol& Get(int level, std::string_view text);

    // How many encodes Get has run, for checking that repaints do not encode.
    int EncodeCount() const { return encodes_; }
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        int level;
        std::string text;
        QrSymbol symbol;
        unsigned long long last_use;
    };
    int capacity_;
    std::vector<Entry> entries_;
    unsigned long long clock_ = 0;
    int encodes_ = 0;
};

// The cache every painter of the program shares.
QrSymbolCache& TheQrSymbolCache();
