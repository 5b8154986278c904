// The QR encoder over any bytes at every level: a well-formed symbol (version, size,
// 0/1 modules, finder patterns, timing patterns, the format word of its level and mask
// in both copies), or a clean refusal.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "qr/qr_encoder.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckFinder(const QrEncoder& qr, int left, int top) {
    for (int dx = 0; dx < 7; ++dx) {
        for (int dy = 0; dy < 7; ++dy) {
            const int ring = std::max(std::abs(dx - 3), std::abs(dy - 3));
            Check(qr.matrix[left + dx][top + dy] == (ring == 2 ? 0 : 1));
        }
    }
}

void CheckSymbol(const QrEncoder& qr, int level) {
    Check(qr.version >= 1 && qr.version <= 40);
    Check(qr.size == 4 * qr.version + 17);
    Check(qr.level == level);
    Check(qr.mask >= 0 && qr.mask <= 7);
    // Every module 0 or 1, checked once over all of them: a check per module is a traced
    // comparison per module, most of a run's time for a large symbol.
    // Eight modules are taken as one word.
    std::uint64_t any_bits = 0;
    for (int x = 0; x < qr.size; ++x) {
        int y = 0;
        for (; y + 8 <= qr.size; y += 8) {
            std::uint64_t eight;
            std::memcpy(&eight, &qr.matrix[x][y], 8);
            any_bits |= eight;
        }
        for (; y < qr.size; ++y) any_bits |= qr.matrix[x][y];
    }
    Check((any_bits & ~0x0101010101010101ull) == 0);
    CheckFinder(qr, 0, 0);
    CheckFinder(qr, qr.size - 7, 0);
    CheckFinder(qr, 0, qr.size - 7);
    for (int i = 8; i < qr.size - 8; ++i) {
        Check(qr.matrix[i][6] == (i % 2 == 0));
        Check(qr.matrix[6][i] == (i % 2 == 0));
    }
    // The format word beside the top-left finder, bits 0..7 down column 8 (row 6 skipped)
    // and bits 8..14 along row 8 from the left, and its second copy.
    const std::uint32_t format = QrFormatBits(level, qr.mask);
    static constexpr int kDown[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
    static constexpr int kAcross[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};
    for (int bit = 0; bit < 15; ++bit) {
        const unsigned expected = (format >> bit) & 1u;
        Check(qr.matrix[kAcross[bit]][kDown[bit]] == expected);
        if (bit < 8)
            Check(qr.matrix[qr.size - 1 - bit][8] == expected);
        else
            Check(qr.matrix[8][qr.size - 15 + bit] == expected);
    }
    Check(qr.matrix[8][qr.size - 8] == 1);  // the dark module
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QrEncoder& qr = TheQrEncoder();
    // The text as the program holds it: a terminated byte buffer.
    std::vector<char> text(data, data + size);
    text.push_back(0);
    const int length = static_cast<int>(size);
    for (int level = 0; level < 4; ++level) {
        const int ok = EncodeQr(qr, level, text.data(), length);
        Check(ok == 0 || ok == 1);
        if (size == 0 || size > kQrMaxTextLength) Check(ok == 0);
        if (ok) CheckSymbol(qr, level);
    }
    // A length below 1 reads up to the first zero byte: a shorter text when the input
    // holds one (without one it is the text just encoded).
    if (size > 0 && size <= 600 && std::memchr(data, 0, size) != nullptr) {
        const int ok = EncodeQr(qr, data[0] & 3, text.data(), 0);
        if (ok) CheckSymbol(qr, data[0] & 3);
    }
    return 0;
}
