#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "qr/qr_encoder.h"

namespace {

int Encode(int level, const std::string& text) {
    return EncodeQr(TheQrEncoder(), level, text.data(), static_cast<int>(text.size()));
}

// Texts of every kind the encoder splits: digits, capitals, 8-bit bytes, Shift_JIS
// Kanji and half-width katakana, in runs of random lengths; raw mt19937 output only, so
// the texts are the same everywhere.
std::string MixedText(std::mt19937& random, int length) {
    static const char* const kPieces[] = {"0123456789", "ABCXYZ $%*+-./:", "abcxyz@_~!", "\x88\x9F\x93\xFA\x96\x7B\xE0\x40",
                                          "\xB1\xB2\xB3\xDF"};
    std::string text;
    while (static_cast<int>(text.size()) < length) {
        const std::string piece = kPieces[random() % 5];
        const int run = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < run && static_cast<int>(text.size()) < length; ++k) {
            const std::size_t at = random() % piece.size();
            if (piece[0] == '\x88') {
                const std::size_t pair = at & ~std::size_t{1};
                text += piece.substr(pair, 2);
            } else {
                text += piece[at];
            }
        }
    }
    return text;
}

// FNV-1a over what a symbol is: its version, mask and every module.
std::uint64_t Digest(std::uint64_t hash, const QrEncoder& qr) {
    const auto add = [&hash](std::uint8_t byte) { hash = (hash ^ byte) * 1099511628211ull; };
    add(static_cast<std::uint8_t>(qr.version));
    add(static_cast<std::uint8_t>(qr.mask));
    for (int x = 0; x < qr.size; ++x)
        for (int y = 0; y < qr.size; ++y) add(qr.matrix[x][y]);
    return hash;
}

TEST(QrFallback, EveryTextThatFitsTheMergedSegmentsKeepsItsSymbol) {
    std::mt19937 random(2024);
    std::uint64_t hash = 14695981039346656037ull;
    int fitted = 0;
    for (int round = 0; round < 160; ++round) {
        const int length = 1 + static_cast<int>(random() % (round < 140 ? 300 : 2900));
        const std::string text = MixedText(random, length);
        for (int level = kQrLevelL; level <= kQrLevelH; ++level) {
            QrEncoder& qr = TheQrEncoder();
            qr.level = level;
            const bool merged_fit = ChooseVersion(qr, text.data(), static_cast<int>(text.size())) != 0;
            const bool encoded = Encode(level, text) == 1;
            EXPECT_TRUE(encoded || !merged_fit);
            if (!merged_fit) continue;
            ++fitted;
            hash = Digest(hash, qr);
        }
    }
    // What these texts gave before the shortest stream was tried for texts that did not fit.
    EXPECT_EQ(fitted, 621);
    EXPECT_EQ(hash, 14865984764922090008ull);
}

// Digits and Kanji in turn: each short segment pays its own mode and count indicator.
std::string DigitsAndKanji(int length) {
    std::string text;
    while (static_cast<int>(text.size()) < length) text += "1123\x88\x9F";
    text.resize(static_cast<std::size_t>(length));
    return text;
}

TEST(QrFallback, ATextTheMergedSegmentsDoNotFitTakesTheShortestStream) {
    QrEncoder& qr = TheQrEncoder();
    const std::string text = DigitsAndKanji(2677);
    qr.level = kQrLevelL;
    ASSERT_EQ(ChooseVersion(qr, text.data(), 2677), 0);
    // One 8-bit segment, 4 + 16 + 8 x 2677 bits or 2680 codewords, would fit 38-L (2702
    // codewords); the first four digits as a numeric segment save a few bits more.
    ASSERT_EQ(Encode(kQrLevelL, text), 1);
    EXPECT_EQ(qr.version, 38);
    ASSERT_EQ(qr.segment_count, 2);
    EXPECT_EQ(qr.segment_modes[0], kQrNumeric);
    EXPECT_EQ(qr.segment_lengths[0], 4);
    EXPECT_EQ(qr.segment_modes[1], kQrByte);
    EXPECT_EQ(qr.segment_lengths[1], 2673);
    // Past what one 8-bit segment of 40-L holds, the text is still refused.
    EXPECT_EQ(Encode(kQrLevelL, DigitsAndKanji(2954)), 0);
}

TEST(QrFallback, TheShortestStreamIsNeverLongerThanOneEightBitSegment) {
    QrEncoder& qr = TheQrEncoder();
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const std::string text = MixedText(random, 1 + static_cast<int>(random() % 400));
        const int length = static_cast<int>(text.size());
        for (int group = kQrSmall; group <= kQrLarge; ++group) {
            if (!SegmentShortest(qr, text.data(), length, group)) {
                EXPECT_TRUE(group == kQrSmall && length > 255) << length;
                continue;
            }
            EXPECT_LE(qr.data_bit_count, SegmentBitLength(kQrByte, length, group));
            int covered = 0;
            for (int s = 0; s < qr.segment_count; ++s) covered += qr.segment_lengths[s];
            EXPECT_EQ(covered, length);
            // The merged segments are not always shorter: the shortest stream is at
            // most as long as they are, give or take the bit each short digit or
            // alphanumeric run costs beyond its estimate.
            const int shortest = qr.data_bit_count;
            if (SegmentSource(qr, text.data(), length, group))
                EXPECT_LE(shortest, qr.data_bit_count + qr.segment_count) << length;
        }
    }
}

}  // namespace
