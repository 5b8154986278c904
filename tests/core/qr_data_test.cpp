#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "qr/qr_encoder.h"

namespace {

struct Segment {
    int mode;
    int length;
    bool operator==(const Segment&) const = default;
};

std::vector<Segment> Segments(const QrEncoder& qr) {
    std::vector<Segment> out;
    for (int s = 0; s < qr.segment_count; ++s)
        out.push_back({qr.segment_modes[s], qr.segment_lengths[s]});
    return out;
}

std::vector<int> DataCodewords(const QrEncoder& qr) {
    const int d = QrVersionInfo[qr.version].data_codewords[qr.level];
    return std::vector<int>(qr.data_bits, qr.data_bits + d);
}

std::string Digits(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>('0' + (i * 7 + 3) % 10);
    return s;
}

int Encode(int level, const std::string& text) {
    return EncodeQr(TheQrEncoder(), level, text.data(), static_cast<int>(text.size()));
}

TEST(QrSegments, ModesAfterBothMergePasses) {
    QrEncoder& qr = TheQrEncoder();
    ASSERT_EQ(Encode(kQrLevelM, "01234567"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrNumeric, 8}}));
    EXPECT_EQ(qr.version, 1);

    ASSERT_EQ(Encode(kQrLevelM, "AC-42"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrAlphanumeric, 5}}));
    // Lower case is outside the 45-character set: the hyphen joins the 8-bit run in the
    // first pass, the digits follow in the second.
    ASSERT_EQ(Encode(kQrLevelM, "ac-42"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrByte, 5}}));

    // A digit run between 8-bit runs: merged when shorter, kept when not.
    ASSERT_EQ(Encode(kQrLevelL, "ab12cd"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrByte, 6}}));
    ASSERT_EQ(Encode(kQrLevelL, "ab1234567890cd"), 1);
    EXPECT_EQ(Segments(qr),
              (std::vector<Segment>{{kQrByte, 2}, {kQrNumeric, 10}, {kQrByte, 2}}));

    ASSERT_EQ(Encode(kQrLevelL, "A1B2C3D4E5"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrAlphanumeric, 10}}));
}

TEST(QrSegments, ShiftJisPairs) {
    QrEncoder& qr = TheQrEncoder();
    // 漢字 in Shift_JIS, then a long digit run that stays numeric.
    ASSERT_EQ(Encode(kQrLevelL, "\x8A\xBF\x8E\x9A" "0123456789012345"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrKanji, 4}, {kQrNumeric, 16}}));
    // Second byte above 0xFC after 0x9F, and above 0xBF after 0xEB: no Kanji pair.
    ASSERT_EQ(Encode(kQrLevelL, "\x9F\xFD"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrByte, 2}}));
    ASSERT_EQ(Encode(kQrLevelL, "\x9F\xFC"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrKanji, 2}}));
    ASSERT_EQ(Encode(kQrLevelL, "\xEB\xC0"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrByte, 2}}));
    ASSERT_EQ(Encode(kQrLevelL, "\x81\x3F"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrByte, 2}}));
    // A lead byte with nothing after it is a byte of its own.
    ASSERT_EQ(Encode(kQrLevelL, "\x8A\xBF\x8E\x9A\x8A\xBF\x8E\x9A\x81"), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrKanji, 8}, {kQrByte, 1}}));
}

// Bit streams worked out by hand from the mode rules.
TEST(QrDataStream, NumericAlphanumericAndKanji) {
    QrEncoder& qr = TheQrEncoder();
    ASSERT_EQ(Encode(kQrLevelM, "01234567"), 1);
    EXPECT_EQ(DataCodewords(qr),
              (std::vector<int>{0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11,
                                0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11}));

    // 0010 000000101 00111001110 11100111001 000010, terminator, pad.
    ASSERT_EQ(Encode(kQrLevelH, "AC-42"), 1);
    EXPECT_EQ(qr.version, 1);
    EXPECT_EQ(DataCodewords(qr),
              (std::vector<int>{0x20, 0x29, 0xCE, 0xE7, 0x21, 0x00, 0xEC, 0x11, 0xEC}));

    // 点茗: 1000 00000010 0110110011111 1101010101010.
    ASSERT_EQ(Encode(kQrLevelH, "\x93\x5F\xE4\xAA"), 1);
    const auto kanji = DataCodewords(qr);
    EXPECT_EQ(std::vector<int>(kanji.begin(), kanji.begin() + 7),
              (std::vector<int>{0x80, 0x26, 0xCF, 0xEA, 0xA8, 0x00, 0xEC}));

    // 8-bit bytes go in unchanged after 0100 and an 8-bit count.
    ASSERT_EQ(Encode(kQrLevelH, "a\xFF"), 1);
    const auto bytes = DataCodewords(qr);
    EXPECT_EQ(std::vector<int>(bytes.begin(), bytes.begin() + 5),
              (std::vector<int>{0x40, 0x26, 0x1F, 0xF0, 0xEC}));
}

// Room of 1, 2 and 3 bits after the data: the terminator takes just that, no pad
// codeword follows. Single-block versions, so the last data codeword is the last byte.
TEST(QrDataStream, ShortTerminator) {
    QrEncoder& qr = TheQrEncoder();
    const std::string d41 = Digits(41);  // 151 of 152 bits at 1-L, ends with a pair
    ASSERT_EQ(Encode(kQrLevelL, d41), 1);
    ASSERT_EQ(qr.version, 1);
    const int pair41 = (d41[39] - '0') * 10 + (d41[40] - '0');
    EXPECT_EQ(qr.data_bits[18], (pair41 & 0x7F) << 1);

    const std::string d127 = Digits(127);  // 438 of 440 bits at 3-L, ends with one digit
    ASSERT_EQ(Encode(kQrLevelL, d127), 1);
    ASSERT_EQ(qr.version, 3);
    const int triple = (d127[123] - '0') * 100 + (d127[124] - '0') * 10 + (d127[125] - '0');
    EXPECT_EQ(qr.data_bits[54], ((triple & 3) << 6) | ((d127[126] - '0') << 2));

    const std::string d254 = Digits(254);  // 861 of 864 bits at 5-L, ends with a pair
    ASSERT_EQ(Encode(kQrLevelL, d254), 1);
    ASSERT_EQ(qr.version, 5);
    const int pair254 = (d254[252] - '0') * 10 + (d254[253] - '0');
    EXPECT_EQ(qr.data_bits[107], (pair254 & 0x1F) << 3);
}

TEST(QrVersionChoice, CapacityLimitsAndFailures) {
    QrEncoder& qr = TheQrEncoder();
    // 2953 bytes plus a 20-bit header fill 40-L up to 4 bits.
    EXPECT_EQ(Encode(kQrLevelL, std::string(2953, 'a')), 1);
    EXPECT_EQ(qr.version, 40);
    EXPECT_EQ(qr.size, 177);
    EXPECT_EQ(Encode(kQrLevelL, std::string(2954, 'a')), 0);
    EXPECT_EQ(Encode(kQrLevelH, std::string(1273, 'a')), 1);
    EXPECT_EQ(Encode(kQrLevelH, std::string(1274, 'a')), 0);
    EXPECT_EQ(Encode(kQrLevelL, Digits(7089)), 1);
    EXPECT_EQ(Encode(kQrLevelL, Digits(7090)), 0);

    // Group boundaries: the count indicator grows from version 10 and from 27.
    EXPECT_EQ(Encode(kQrLevelL, std::string(230, 'a')), 1);  // 12 + 1840 bits: 9-L
    EXPECT_EQ(qr.version, 9);
    EXPECT_EQ(Encode(kQrLevelL, std::string(231, 'a')), 1);  // 20 + 1848 bits: 10-L
    EXPECT_EQ(qr.version, 10);

    EXPECT_EQ(EncodeQr(qr, kQrLevelL, "", 0), 0);
    EXPECT_EQ(EncodeQr(qr, kQrLevelL, "\0abc", 0), 0);
    EXPECT_EQ(EncodeQr(qr, 4, "abc", 3), 0);
    // A length below 1 means "up to the first zero byte".
    ASSERT_EQ(EncodeQr(qr, kQrLevelL, "AB\0CD", -1), 1);
    EXPECT_EQ(Segments(qr), (std::vector<Segment>{{kQrAlphanumeric, 2}}));
}

TEST(QrVersionChoice, AppendBitsStopsAtCapacity) {
    QrEncoder& qr = TheQrEncoder();
    qr.data_bit_count = kQrMaxDataBits - 3;
    EXPECT_EQ(AppendBits(qr, 0b101, 3), kQrMaxDataBits);
    EXPECT_EQ(AppendBits(qr, 1, 1), -1);
    EXPECT_EQ(qr.data_bit_count, -1);
    EXPECT_EQ(AppendBits(qr, 1, 1), -1);
}

}  // namespace

namespace {

// The merge passes on a plain array, exactly step by step as the rules read, to check
// the encoder's linked-list version against on random texts.
struct ArraySegments {
    std::vector<Segment> s;
    int group;
    int Bits(int i) const { return SegmentBitLength(s[i].mode, s[i].length, group); }
    int Count() const { return static_cast<int>(s.size()); }
    void Absorb(int i) {  // s[i] absorbs s[i + 1]
        s[i].length += s[i + 1].length;
        s.erase(s.begin() + i + 1);
    }
    bool Is(int i, int mode) const { return i >= 0 && i < Count() && s[i].mode == mode; }

    void FirstPass() {
        int n = 0;
        while (n < Count() - 1) {
            const int a = s[n].mode, b = s[n + 1].mode;
            if ((a == kQrNumeric && b == kQrAlphanumeric) ||
                (a == kQrAlphanumeric && b == kQrNumeric)) {
                const int src = Bits(n) + Bits(n + 1);
                const int dst =
                    SegmentBitLength(kQrAlphanumeric, s[n].length + s[n + 1].length, group);
                if (src > dst) {
                    int front = 0, behind = 0;
                    if (n >= 1 && Is(n - 1, kQrByte)) {
                        front = SegmentBitLength(kQrByte, s[n - 1].length + s[n].length, group) +
                                Bits(n + 1);
                        if (front > dst + SegmentBitLength(kQrByte, s[n - 1].length, group))
                            front = 0;
                    }
                    if (n < Count() - 2 && Is(n + 2, kQrByte)) {
                        const int joined = s[n + 1].length + s[n + 2].length;
                        behind = Bits(n) + SegmentBitLength(kQrByte, joined, group);
                        if (behind > dst + SegmentBitLength(kQrByte, s[n + 2].length, group))
                            behind = 0;
                    }
                    if (front && (!behind || front < behind)) {
                        Absorb(n - 1);
                    } else if (behind) {
                        s[n + 1].mode = kQrByte;
                        Absorb(n + 1);
                    } else {
                        if (n < Count() - 2 && Is(n + 2, kQrAlphanumeric)) Absorb(n + 1);
                        s[n].mode = kQrAlphanumeric;
                        Absorb(n);
                        if (n >= 1 && Is(n - 1, kQrAlphanumeric)) Absorb(n - 1);
                    }
                    continue;
                }
            }
            ++n;
        }
    }

    void SecondPass() {
        const int header8 = 4 + CountIndicatorBits(kQrByte, group);
        int n = 0;
        while (n < Count() - 1) {
            const int src = Bits(n) + Bits(n + 1);
            int dst = SegmentBitLength(kQrByte, s[n].length + s[n + 1].length, group);
            if (n >= 1 && Is(n - 1, kQrByte)) dst -= header8;
            if (n < Count() - 2 && Is(n + 2, kQrByte)) dst -= header8;
            if (dst < src) {
                if (n >= 1 && Is(n - 1, kQrByte)) {
                    Absorb(n - 1);
                    --n;
                }
                if (n < Count() - 2 && Is(n + 2, kQrByte)) Absorb(n + 1);
                s[n].mode = kQrByte;
                Absorb(n);
                if (n >= 1) --n;
            } else {
                ++n;
            }
        }
    }
};

std::vector<Segment> Runs(const std::string& text) {
    std::vector<Segment> runs;
    for (size_t i = 0; i < text.size();) {
        const unsigned c = static_cast<uint8_t>(text[i]);
        int mode = kQrByte, width = 1;
        const unsigned next = i + 1 < text.size() ? static_cast<uint8_t>(text[i + 1]) : 0;
        if (c >= 0x81 && c <= 0x9F && next >= 0x40) {
            mode = kQrKanji;
            width = 2;
        } else if (c >= '0' && c <= '9') {
            mode = kQrNumeric;
        } else if ((c >= 'A' && c <= 'Z') || c == ' ' || c == ':' || c == '-') {
            mode = kQrAlphanumeric;
        }
        if (runs.empty() || runs.back().mode != mode) runs.push_back({mode, 0});
        runs.back().length += width;
        i += width;
    }
    return runs;
}

TEST(QrSegments, MergePassesAsTheRulesRead) {
    std::mt19937 random(11);
    // Short runs of every kind, so that all branches of both passes come up.
    const std::string pieces[] = {"1", "42", "123", "20240611", "A", "AB", "QR-", " ", "a",
                                  "ab", "abc", "@", "\x8A\xBF", "\x8A\xBF\x8E\x9A", "x1y"};
    QrEncoder& qr = TheQrEncoder();
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text;
        const int count = 1 + random() % 24;
        for (int k = 0; k < count; ++k) {
            const std::string& piece = pieces[random() % std::size(pieces)];
            for (unsigned r = random() % 3 + 1; r > 0; --r) text += piece;
        }
        const int group = trial % 3;
        ArraySegments expected{Runs(text), group};
        expected.FirstPass();
        expected.SecondPass();
        ASSERT_TRUE(SegmentSource(qr, text.data(), static_cast<int>(text.size()), group));
        ASSERT_EQ(Segments(qr), expected.s) << text << " group " << group;
    }
}

}  // namespace
