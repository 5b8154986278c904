#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "qr/qr_encoder.h"

namespace {

bool IsDark(const QrEncoder& qr, int x, int y) { return (qr.matrix[x][y] & 0x11) != 0; }

// The four penalty rules read literally, cell by cell, as a check on the encoder's
// run-based version.
int LiteralPenalty(const QrEncoder& qr) {
    const int n = qr.size;
    int penalty = 0;
    for (int across = 0; across < 2; ++across) {
        for (int line = 0; line < n; ++line) {
            auto dark = [&](int j) { return across ? IsDark(qr, j, line) : IsDark(qr, line, j); };
            auto light_or_outside = [&](int j) { return j < 0 || j >= n || !dark(j); };
            for (int j = 0; j < n - 4;) {
                int end = j;
                while (end < n && dark(end) == dark(j)) ++end;
                if (end - j >= 5) penalty += end - j - 2;
                j = end;
            }
            for (int j = 0; j <= n - 7; ++j) {
                const bool core = dark(j) && !dark(j + 1) && dark(j + 2) && dark(j + 3) &&
                                  dark(j + 4) && !dark(j + 5) && dark(j + 6);
                if (!core || !light_or_outside(j - 1) || !light_or_outside(j + 7)) continue;
                const bool before = light_or_outside(j - 2) && light_or_outside(j - 3) &&
                                    light_or_outside(j - 4);
                const bool after = light_or_outside(j + 8) && light_or_outside(j + 9) &&
                                   light_or_outside(j + 10);
                if (before || after) penalty += 40;
            }
        }
    }
    int light = 0;
    for (int x = 0; x < n; ++x) {
        for (int y = 0; y < n; ++y) {
            light += !IsDark(qr, x, y);
            if (x + 1 < n && y + 1 < n) {
                const bool c = IsDark(qr, x, y);
                if (IsDark(qr, x + 1, y) == c && IsDark(qr, x, y + 1) == c &&
                    IsDark(qr, x + 1, y + 1) == c)
                    penalty += 3;
            }
        }
    }
    const int percent = light * 100 / (n * n);
    return penalty + (percent > 50 ? percent - 50 : 50 - percent) / 5 * 10;
}

// The matrix of `text` before masking, as BuildMatrix has it when it tries masks.
void Unmasked(QrEncoder& qr, int level, const std::string& text) {
    ASSERT_EQ(EncodeQr(qr, level, text.data(), static_cast<int>(text.size())), 1);
    std::memset(qr.matrix, 0, sizeof qr.matrix);
    PlaceFunctionPatterns(qr);
    PlaceCodewords(qr);
}

std::string Text(int i) {
    std::string s = "https://example.jp/card?id=" + std::to_string(i * 7919);
    for (int k = 0; k < i % 5; ++k) s += "\x8A\xBF\x8E\x9A";
    return s;
}

TEST(QrFormatAndVersionBits, StandardCodes) {
    const uint32_t expected[4][8] = {
        {0x77C4, 0x72F3, 0x7DAA, 0x789D, 0x662F, 0x6318, 0x6C41, 0x6976},
        {0x5412, 0x5125, 0x5E7C, 0x5B4B, 0x45F9, 0x40CE, 0x4F97, 0x4AA0},
        {0x355F, 0x3068, 0x3F31, 0x3A06, 0x24B4, 0x2183, 0x2EDA, 0x2BED},
        {0x1689, 0x13BE, 0x1CE7, 0x19D0, 0x0762, 0x0255, 0x0D0C, 0x083B},
    };
    for (int level = 0; level < 4; ++level)
        for (int m = 0; m < 8; ++m) EXPECT_EQ(QrFormatBits(level, m), expected[level][m]);
    EXPECT_EQ(QrVersionBits(7), 0x07C94u);
    EXPECT_EQ(QrVersionBits(8), 0x085BCu);
    EXPECT_EQ(QrVersionBits(40), 0x28C69u);
}

TEST(QrMatrix, Version1Layout) {
    QrEncoder& qr = TheQrEncoder();
    ASSERT_EQ(EncodeQr(qr, kQrLevelM, "01234567", 8), 1);
    ASSERT_EQ(qr.size, 21);
    for (int x = 0; x < 21; ++x)
        for (int y = 0; y < 21; ++y) ASSERT_LE(qr.matrix[x][y], 1);
    EXPECT_EQ(qr.matrix[8][13], 1);  // the dark module
    // Finder corners and their light separators; the timing row in between.
    for (auto [x, y] : {std::pair{0, 0}, {20, 0}, {0, 20}, {3, 3}, {17, 3}, {3, 17}})
        EXPECT_EQ(qr.matrix[x][y], 1) << x << "," << y;
    for (auto [x, y] : {std::pair{7, 7}, {13, 7}, {7, 13}, {1, 1}, {19, 5}})
        EXPECT_EQ(qr.matrix[x][y], 0) << x << "," << y;
    for (int i = 8; i <= 12; ++i) {
        EXPECT_EQ(qr.matrix[i][6], i % 2 == 0);
        EXPECT_EQ(qr.matrix[6][i], i % 2 == 0);
    }
    // Both copies of the format information name the level and the chosen mask.
    const uint32_t format = QrFormatBits(kQrLevelM, qr.mask);
    uint32_t first = 0, second = 0;
    for (int k = 0; k < 15; ++k) {
        const int fx = k <= 5 ? 8 : k == 6 ? 8 : k == 7 ? 8 : k == 8 ? 7 : 14 - k;
        const int fy = k <= 5 ? k : k == 6 ? 7 : 8;
        first |= static_cast<uint32_t>(qr.matrix[fx][fy]) << k;
        const int sx = k <= 7 ? 20 - k : 8;
        const int sy = k <= 7 ? 8 : 6 + k;
        second |= static_cast<uint32_t>(qr.matrix[sx][sy]) << k;
    }
    EXPECT_EQ(first, format);
    EXPECT_EQ(second, format);
    // The first codeword 0x10 goes up the right-hand column pair from the corner.
    const int cells[8][2] = {{20, 20}, {19, 20}, {20, 19}, {19, 19},
                             {20, 18}, {19, 18}, {20, 17}, {19, 17}};
    Unmasked(qr, kQrLevelM, "01234567");
    for (int b = 0; b < 8; ++b) {
        const int bit = (0x10 >> (7 - b)) & 1;
        EXPECT_EQ(qr.matrix[cells[b][0]][cells[b][1]], bit ? kQrDataDark : 0) << b;
    }
}

TEST(QrMatrix, Version7AlignmentAndVersionInformation) {
    QrEncoder& qr = TheQrEncoder();
    const std::string text(150, 'a');  // 12 + 1200 bits: 7-L
    ASSERT_EQ(EncodeQr(qr, kQrLevelL, text.data(), 150), 1);
    ASSERT_EQ(qr.version, 7);
    ASSERT_EQ(qr.size, 45);
    Unmasked(qr, kQrLevelL, text);
    const int centres[6][2] = {{22, 6}, {6, 22}, {22, 22}, {22, 38}, {38, 22}, {38, 38}};
    for (const auto& c : centres) {
        for (int dx = -2; dx <= 2; ++dx) {
            for (int dy = -2; dy <= 2; ++dy) {
                const int ring = std::max(std::abs(dx), std::abs(dy));
                const uint8_t want = ring == 1 ? kQrFunction : kQrFunction | kQrFunctionDark;
                EXPECT_EQ(qr.matrix[c[0] + dx][c[1] + dy], want) << c[0] << "," << c[1];
            }
        }
    }
    // Where the finders are, no alignment pattern: (38, 6) keeps the finder's ring.
    EXPECT_EQ(qr.matrix[38][6], kQrFunction | kQrFunctionDark);
    EXPECT_EQ(qr.matrix[39][5], kQrFunction);
    uint32_t bottom_left = 0, top_right = 0;
    for (int k = 0; k < 18; ++k) {
        bottom_left |= static_cast<uint32_t>(qr.matrix[k / 3][34 + k % 3] >> 4 & 1) << k;
        top_right |= static_cast<uint32_t>(qr.matrix[34 + k % 3][k / 3] >> 4 & 1) << k;
    }
    EXPECT_EQ(bottom_left, 0x07C94u);
    EXPECT_EQ(top_right, 0x07C94u);

    // Below version 7 the same corner holds data.
    Unmasked(qr, kQrLevelL, "AB");
    EXPECT_EQ(qr.matrix[0][10] & kQrFunction, 0);
}

// The run-based score equals the rules read literally, on real symbols and all masks.
TEST(QrPenalty, MatchesTheRulesCellByCell) {
    QrEncoder& qr = TheQrEncoder();
    for (const std::string& text :
         {std::string("01234567"), Text(3), std::string(150, 'a'), std::string(700, 'Z'),
          std::string(2900, '\xE9')}) {
        Unmasked(qr, kQrLevelL, text);
        for (int m = 0; m < 8; ++m) {
            ApplyMask(qr, m);
            PlaceFormatInfo(qr, m);
            ASSERT_EQ(ScorePenalty(qr), LiteralPenalty(qr)) << "version " << qr.version
                                                            << " mask " << m;
        }
    }
}

void Checkerboard(QrEncoder& qr, int n) {
    qr.size = n;
    std::memset(qr.matrix, 0, sizeof qr.matrix);
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y) qr.matrix[x][y] = (x + y) % 2 == 0;
}

TEST(QrPenalty, FinderLikePatternAtTheStartOfARow) {
    QrEncoder& qr = TheQrEncoder();
    // Row 0 of a checkerboard becomes 1011101 0 1 0 ...: one pattern at j = 0, whose
    // left side lies outside the symbol; no runs of 5, no 2x2 squares, 49 % light.
    Checkerboard(qr, 21);
    qr.matrix[3][0] = 1;
    EXPECT_EQ(ScorePenalty(qr), 40);
    // With cell 7 dark the pattern is no longer framed by light.
    qr.matrix[7][0] = 1;
    EXPECT_EQ(ScorePenalty(qr), 0);
    // The same at the end of a column: cells n-7 .. n-1 of column 0.
    Checkerboard(qr, 21);
    qr.matrix[0][17] = 1;
    EXPECT_EQ(ScorePenalty(qr), 40);
}

// Dark columns on the left, light on the right: every column is one run, every row
// two runs, every 2x2 square but those on the border is one colour.
void Columns(QrEncoder& qr, int n, int dark_columns) {
    qr.size = n;
    std::memset(qr.matrix, 0, sizeof qr.matrix);
    for (int x = 0; x < dark_columns; ++x) std::memset(qr.matrix[x], 1, n);
}

TEST(QrPenalty, BalanceFromTheTruncatedPercentage) {
    QrEncoder& qr = TheQrEncoder();
    // 25 x (25 - 2) + 25 x (12 + 9) + 3 x 24 x 23, and 44 % light: + 10.
    Columns(qr, 25, 14);
    EXPECT_EQ(ScorePenalty(qr), 575 + 525 + 1656 + 10);
    // 20 x 18 + 20 x (8 + 8) + 3 x 19 x 18, exactly half light: + 0.
    Columns(qr, 20, 10);
    EXPECT_EQ(ScorePenalty(qr), 360 + 320 + 1026);
    // 45.45 % light truncates to 45: + 10; 54.54 % to 54: + 0.
    Columns(qr, 22, 12);
    EXPECT_EQ(ScorePenalty(qr), 22 * 20 + 22 * (10 + 8) + 3 * 21 * 20 + 10);
    Columns(qr, 22, 10);
    EXPECT_EQ(ScorePenalty(qr), 22 * 20 + 22 * (8 + 10) + 3 * 21 * 20);
}

// The kept mask is the first of the lowest scores; among these texts some tie. The
// long texts take symbols of more than 64 and more than 128 modules a side.
TEST(QrMask, LowestScoreFirstNumberOnTies) {
    QrEncoder& qr = TheQrEncoder();
    std::vector<std::string> texts;
    for (int i = 0; i < 200; ++i) texts.push_back(Text(i));
    for (int length : {150, 400, 900, 1200})
        for (int i = 0; i < 4; ++i) texts.push_back(std::string(length, static_cast<char>('a' + i)));
    int ties = 0;
    bool two_words = false, three_words = false;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        const int level = static_cast<int>(i % 4);
        ASSERT_EQ(EncodeQr(qr, level, text.data(), static_cast<int>(text.size())), 1);
        const int chosen = qr.mask;
        two_words |= qr.size > 64 && qr.size <= 128;
        three_words |= qr.size > 128;
        Unmasked(qr, level, text);
        int scores[8];
        for (int m = 0; m < 8; ++m) {
            ApplyMask(qr, m);
            PlaceFormatInfo(qr, m);
            scores[m] = ScorePenalty(qr);
        }
        int first_lowest = 0;
        for (int m = 1; m < 8; ++m)
            if (scores[m] < scores[first_lowest]) first_lowest = m;
        EXPECT_EQ(chosen, first_lowest) << text;
        for (int m = first_lowest + 1; m < 8; ++m) ties += scores[m] == scores[first_lowest];
    }
    EXPECT_GT(ties, 0);
    EXPECT_TRUE(two_words && three_words);
}

}  // namespace
