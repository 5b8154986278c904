#include "qr/qr_symbol_cache.h"

#include "qr/qr_encoder.h"

const QrSymbol& QrSymbolCache::Get(int level, std::string_view text) {
    if (level < 0 || level > 3) level = 0;
    ++clock_;
    for (Entry& entry : entries_) {
        if (entry.level == level && entry.text == text) {
            entry.last_use = clock_;
            return entry.symbol;
        }
    }
    Entry* slot = nullptr;
    if (static_cast<int>(entries_.size()) < capacity_) {
        slot = &entries_.emplace_back();
    } else {
        slot = &entries_.front();
        for (Entry& entry : entries_)
            if (entry.last_use < slot->last_use) slot = &entry;
    }
    slot->level = level;
    slot->text.assign(text);
    slot->last_use = clock_;
    slot->symbol = QrSymbol{};
    ++encodes_;
    QrEncoder& qr = TheQrEncoder();
    if (EncodeQr(qr, level, slot->text.data(), static_cast<int>(slot->text.size()))) {
        QrSymbol& symbol = slot->symbol;
        symbol.size = qr.size;
        symbol.dark.resize(static_cast<std::size_t>(qr.size) * qr.size);
        for (int x = 0; x < qr.size; ++x)
            for (int y = 0; y < qr.size; ++y) symbol.dark[static_cast<std::size_t>(x) * qr.size + y] = qr.matrix[x][y] ? 1 : 0;
    }
    return slot->symbol;
}

QrSymbolCache& TheQrSymbolCache() {
    static QrSymbolCache cache;
    return cache;
}
