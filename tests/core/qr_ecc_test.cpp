#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "qr/qr_encoder.h"

namespace {

// GF(256) product by shift and add, independent of the encoder's tables.
uint8_t Multiply(uint8_t a, uint8_t b) {
    unsigned r = 0, x = a;
    for (; b; b >>= 1, x <<= 1) {
        if (x & 0x100) x ^= 0x11D;
        if (b & 1) r ^= x;
    }
    if (r & 0x100) r ^= 0x11D;
    return static_cast<uint8_t>(r);
}

// Value of the codeword polynomial (highest degree first) at alpha^power.
uint8_t Syndrome(const std::vector<uint8_t>& word, int power) {
    uint8_t alpha = 1;
    for (int i = 0; i < power; ++i) alpha = Multiply(alpha, 2);
    uint8_t s = 0;
    for (uint8_t c : word) s = Multiply(s, alpha) ^ c;
    return s;
}

// Symbol area less function patterns, in whole codewords.
int CodewordsOfVersion(int v) {
    const int n = 4 * v + 17;
    int modules = n * n - 3 * 64 - 2 * (n - 16) - 31;  // finders+separators, timing, format
    if (v >= 2) {
        const int a = v / 7 + 2;  // alignment coordinates including 6
        modules -= 25 * (a * a - 3) - 10 * (a - 2);  // less the overlap with timing
    }
    if (v >= 7) modules -= 36;
    return modules / 8;
}

TEST(QrVersionTable, EveryRowAddsUp) {
    for (int v = 1; v <= 40; ++v) {
        const QrVersionRow& row = QrVersionInfo[v];
        ASSERT_EQ(row.version, v);
        EXPECT_EQ(row.total_codewords, CodewordsOfVersion(v)) << v;
        for (int level = 0; level < 4; ++level) {
            const QrBlockGroup& g1 = row.groups[level][0];
            const QrBlockGroup& g2 = row.groups[level][1];
            SCOPED_TRACE(testing::Message() << "version " << v << " level " << level);
            EXPECT_GE(g1.blocks, 1);
            EXPECT_EQ(g1.blocks * g1.codewords + g2.blocks * g2.codewords, row.total_codewords);
            EXPECT_EQ(g1.blocks * g1.data + g2.blocks * g2.data, row.data_codewords[level]);
            EXPECT_LE(g1.codewords, kQrMaxBlockCodewords);
            const int ecc = g1.codewords - g1.data;
            EXPECT_NE(QrGeneratorExponents(ecc), nullptr);
            if (g2.blocks > 0) {
                EXPECT_EQ(g2.codewords, g1.codewords + 1);
                EXPECT_EQ(g2.data, g1.data + 1);
            } else {
                EXPECT_EQ(g2.codewords | g2.data, 0);
            }
            if (level > 0) EXPECT_LT(row.data_codewords[level], row.data_codewords[level - 1]);
        }
        // Alignment coordinates: v / 7 + 1 of them (6 left out), the last at size - 7,
        // then down by an even step that spreads them evenly (26 for version 32).
        const int count = v == 1 ? 0 : v / 7 + 1;
        ASSERT_EQ(row.alignment_count, count) << v;
        if (count == 0) continue;
        EXPECT_EQ(row.alignment[count - 1], 4 * v + 10) << v;
        const int with_six = count + 1;
        const int step = v == 32 ? 26 : (4 * v + 2 * with_six + 1) / (2 * with_six - 2) * 2;
        for (int a = 1; a < count; ++a)
            EXPECT_EQ(row.alignment[a] - row.alignment[a - 1], step) << v;
    }
    EXPECT_EQ(QrVersionInfo[40].data_codewords[kQrLevelL], kQrMaxDataCodewords);
    EXPECT_EQ(QrVersionInfo[40].total_codewords, kQrMaxCodewords);
}

TEST(QrErrorCorrection, GeneratorsAsListedInTheStandard) {
    const std::vector<int> g7 = {87, 229, 146, 149, 238, 102, 21};
    const std::vector<int> g10 = {251, 67, 46, 61, 118, 70, 64, 94, 32, 45};
    EXPECT_EQ(std::vector<int>(QrGeneratorExponents(7), QrGeneratorExponents(7) + 7), g7);
    EXPECT_EQ(std::vector<int>(QrGeneratorExponents(10), QrGeneratorExponents(10) + 10), g10);
    EXPECT_EQ(QrGeneratorExponents(8), nullptr);
    EXPECT_EQ(QrGeneratorExponents(31), nullptr);
    EXPECT_NE(QrGeneratorExponents(68), nullptr);
}

// Every generator size: data plus remainder is a codeword, that is, vanishes at
// alpha^0 .. alpha^(e-1).
TEST(QrErrorCorrection, RemainderMakesACodeword) {
    std::mt19937 random(7);
    uint8_t work[256];
    for (int e = 1; e <= 68; ++e) {
        if (QrGeneratorExponents(e) == nullptr) continue;
        const int d = e <= 30 ? kQrMaxBlockCodewords - e : 60;
        std::vector<uint8_t> word(d + e);
        for (int i = 0; i < d; ++i) word[i] = static_cast<uint8_t>(random());
        std::memset(work, 0, sizeof work);
        std::memcpy(work, word.data(), d);
        ComputeBlockEcc(work, d, e);
        std::memcpy(word.data() + d, work, e);
        for (int p = 0; p < e; ++p) ASSERT_EQ(Syndrome(word, p), 0) << "e " << e << " p " << p;
    }
    std::memset(work, 0, sizeof work);
    ComputeBlockEcc(work, 16, 10);
    for (int j = 0; j < 10; ++j) EXPECT_EQ(work[j], 0);
}

// 01234567 at 1-M: one block, the ten error-correction codewords after the data.
TEST(QrErrorCorrection, Version1M) {
    QrEncoder& qr = TheQrEncoder();
    ASSERT_EQ(EncodeQr(qr, kQrLevelM, "01234567", 8), 1);
    ASSERT_EQ(qr.codeword_count, 26);
    const std::vector<int> expected = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC,
                                       0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xA5, 0x24,
                                       0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55};
    EXPECT_EQ(std::vector<int>(qr.codewords, qr.codewords + 26), expected);
}

// 5-Q: two blocks of 15 data codewords, two of 16, 18 error-correction codewords each.
TEST(QrErrorCorrection, Version5QInterleaving) {
    QrEncoder& qr = TheQrEncoder();
    qr.version = 5;
    qr.level = kQrLevelQ;
    for (int i = 0; i < 62; ++i) qr.data_bits[i] = static_cast<uint8_t>(i + 1);
    InterleaveCodewords(qr);
    ASSERT_EQ(qr.codeword_count, 134);
    const int block_start[4] = {0, 15, 30, 46};
    for (int j = 0; j < 15; ++j)
        for (int b = 0; b < 4; ++b) EXPECT_EQ(qr.codewords[4 * j + b], block_start[b] + j + 1);
    EXPECT_EQ(qr.codewords[60], 46);  // 16th codeword of block 3
    EXPECT_EQ(qr.codewords[61], 62);  // 16th codeword of block 4
    for (int b = 0; b < 4; ++b) {
        const int d = b < 2 ? 15 : 16;
        std::vector<uint8_t> word;
        for (int j = 0; j < d; ++j) word.push_back(static_cast<uint8_t>(block_start[b] + j + 1));
        for (int j = 0; j < 18; ++j) word.push_back(qr.codewords[62 + 4 * j + b]);
        for (int p = 0; p < 18; ++p) EXPECT_EQ(Syndrome(word, p), 0) << "block " << b;
    }
}

}  // namespace
