#include "qr/qr_symbol_cache.h"

#include <gtest/gtest.h>

#include <string>

#include "qr/qr_encoder.h"

TEST(QrSymbolCache, EncodesOnlyWhenTextOrLevelChanges) {
    QrSymbolCache cache(4);
    const QrSymbol& first = cache.Get(1, "HELLO");
    ASSERT_EQ(first.size, 21);
    const std::vector<std::uint8_t> cells = first.dark;
    EXPECT_EQ(cache.Get(1, "HELLO").dark, cells);
    EXPECT_EQ(cache.EncodeCount(), 1);
    // The cells are those of the encoder.
    QrEncoder& qr = TheQrEncoder();
    ASSERT_TRUE(EncodeQr(qr, 1, "HELLO", 5));
    for (int x = 0; x < 21; ++x)
        for (int y = 0; y < 21; ++y) ASSERT_EQ(cache.Get(1, "HELLO").Dark(x, y), qr.matrix[x][y] != 0);
    cache.Get(2, "HELLO");
    cache.Get(1, "HELLO!");
    EXPECT_EQ(cache.EncodeCount(), 3);
    // Out-of-range levels are L, and share its symbol.
    cache.Get(0, "HELLO");
    cache.Get(9, "HELLO");
    EXPECT_EQ(cache.EncodeCount(), 4);
}

TEST(QrSymbolCache, TextsThatCannotBeEncodedAreKeptToo) {
    QrSymbolCache cache(4);
    EXPECT_EQ(cache.Get(0, "").size, 0);
    EXPECT_EQ(cache.Get(0, std::string(3000, 'a')).size, 0);  // more than version 40 holds
    EXPECT_EQ(cache.Get(0, "").size, 0);
    EXPECT_EQ(cache.EncodeCount(), 2);
}

TEST(QrSymbolCache, TheLeastRecentlyUsedSymbolMakesRoom) {
    QrSymbolCache cache(2);
    cache.Get(0, "A");
    cache.Get(0, "B");
    cache.Get(0, "A");  // B is now the oldest
    cache.Get(0, "C");
    EXPECT_EQ(cache.EncodeCount(), 3);
    cache.Get(0, "A");
    EXPECT_EQ(cache.EncodeCount(), 3);
    cache.Get(0, "B");
    EXPECT_EQ(cache.EncodeCount(), 4);
}
