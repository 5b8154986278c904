// The module matrix: function patterns, version and format information, zigzag
// placement of the codewords, the eight masks and the penalty score that picks one.
#include <cstring>

#include "qr/qr_encoder.h"

namespace {

constexpr uint8_t kFinder[7] = {0b1111111, 0b1000001, 0b1011101, 0b1011101,
                                0b1011101, 0b1000001, 0b1111111};
constexpr uint8_t kAlignment[5] = {0b11111, 0b10001, 0b10101, 0b10001, 0b11111};

void SetFunction(QrEncoder& qr, int x, int y, bool dark) {
    qr.matrix[x][y] = dark ? kQrFunction | kQrFunctionDark : kQrFunction;
}

bool IsFunction(const QrEncoder& qr, int x, int y) {
    return (qr.matrix[x][y] & kQrFunction) != 0;
}

// Rows of a 7- or 5-wide bitmap, most significant bit = leftmost module.
void PlacePattern(QrEncoder& qr, int left, int top, const uint8_t* rows, int width) {
    for (int r = 0; r < width; ++r)
        for (int c = 0; c < width; ++c)
            SetFunction(qr, left + c, top + r, (rows[r] >> (width - 1 - c)) & 1);
}

constexpr bool MaskCondition(int m, int i, int j) {
    switch (m) {
    case 0: return (i + j) % 2 == 0;
    case 1: return i % 2 == 0;
    case 2: return j % 3 == 0;
    case 3: return (i + j) % 3 == 0;
    case 4: return (i / 2 + j / 3) % 2 == 0;
    case 5: return (i * j) % 2 + (i * j) % 3 == 0;
    case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default: return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
    }
}

// Every mask repeats every 6 columns; [m][j mod 6][i] is the condition for row i of
// a column j, so that a column is masked with one table row and no arithmetic.
struct MaskColumns {
    uint8_t flip[8][6][kQrMaxSize];
};
constexpr MaskColumns MakeMaskColumns() {
    MaskColumns t{};
    for (int m = 0; m < 8; ++m)
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < kQrMaxSize; ++i) t.flip[m][j][i] = MaskCondition(m, i, j);
    return t;
}
constexpr MaskColumns kMaskColumns = MakeMaskColumns();

// The operations on lines below are always inlined: called as functions (as a build
// under the sanitizers does), they took most of the penalty score's time.
// A line (row or column) of up to 64 * W modules as a bit set, bit j = module j,
// 1 = dark; bits past the symbol are 0, so they read as light, as the penalty rules
// treat modules outside the symbol.
template <int W>
struct Line {
    uint64_t w[W];
};

// Bit j of the result is bit j + k of a (k = 1..63); zeros come in from above.
template <int W>
[[gnu::always_inline]] inline Line<W> Down(const Line<W>& a, int k) {
    Line<W> r;
    for (int i = 0; i < W; ++i)
        r.w[i] = (a.w[i] >> k) | (i + 1 < W ? a.w[i + 1] << (64 - k) : 0);
    return r;
}

// Bit j of the result is bit j - k of a (k = 1..63); zeros come in from below.
template <int W>
[[gnu::always_inline]] inline Line<W> Up(const Line<W>& a, int k) {
    Line<W> r;
    for (int i = 0; i < W; ++i) r.w[i] = (a.w[i] << k) | (i > 0 ? a.w[i - 1] >> (64 - k) : 0);
    return r;
}

template <int W, typename Op>
[[gnu::always_inline]] inline Line<W> Combine(const Line<W>& a, const Line<W>& b, Op op) {
    Line<W> r;
    for (int i = 0; i < W; ++i) r.w[i] = op(a.w[i], b.w[i]);
    return r;
}

template <int W>
[[gnu::always_inline]] inline Line<W> operator&(const Line<W>& a, const Line<W>& b) {
    return Combine(a, b, [](uint64_t x, uint64_t y) { return x & y; });
}
template <int W>
[[gnu::always_inline]] inline Line<W> operator|(const Line<W>& a, const Line<W>& b) {
    return Combine(a, b, [](uint64_t x, uint64_t y) { return x | y; });
}
template <int W>
[[gnu::always_inline]] inline Line<W> operator^(const Line<W>& a, const Line<W>& b) {
    return Combine(a, b, [](uint64_t x, uint64_t y) { return x ^ y; });
}
template <int W>
[[gnu::always_inline]] inline Line<W> operator~(const Line<W>& a) {
    Line<W> r;
    for (int i = 0; i < W; ++i) r.w[i] = ~a.w[i];
    return r;
}

// Set bits of a word, by halves (no popcount instruction in the baseline x86-64 the
// program is built for, and the library call costs more than this).
[[gnu::always_inline]] inline int Bits(uint64_t v) {
    v = v - ((v >> 1) & 0x5555555555555555ull);
    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((v * 0x0101010101010101ull) >> 56);
}

template <int W>
[[gnu::always_inline]] inline int Count(const Line<W>& a) {
    int c = 0;
    for (int i = 0; i < W; ++i) c += Bits(a.w[i]);
    return c;
}

template <int W>
[[gnu::always_inline]] inline bool Any(const Line<W>& a) {
    uint64_t any = 0;
    for (int i = 0; i < W; ++i) any |= a.w[i];
    return any != 0;
}

// Bits 0 .. count-1 set.
template <int W>
Line<W> FirstBits(int count) {
    Line<W> r;
    for (int i = 0; i < W; ++i) {
        const int in_word = count - 64 * i;
        r.w[i] = in_word >= 64 ? ~uint64_t{0} : in_word <= 0 ? 0 : (uint64_t{1} << in_word) - 1;
    }
    return r;
}

// Rules 1 and 3 on one line of n modules; `pairs` has bits 0 .. n-2 set.
//
// Rule 1 (each run of 5 or more adds its length - 2): a run of length L >= 5 holds
// L - 4 windows of five equal modules, one of them at its start, so the rule adds
// (windows) + 2 x (windows at a run start).
// Rule 3 (dark-light-dark-dark-dark-light-dark with light or outside modules at j - 1
// and j + 7, and at j - 2 .. j - 4 or at j + 8 .. j + 10): every start j at once.
template <int W>
int LinePenalty(const Line<W>& dark, const Line<W>& pairs) {
    const Line<W> same = ~(dark ^ Down(dark, 1)) & pairs;  // module j equals j + 1
    const Line<W> windows = same & Down(same, 1) & Down(same, 2) & Down(same, 3);
    const Line<W> run_start = ~Up(same, 1);
    int penalty = Count(windows) + 2 * Count(windows & run_start);

    const Line<W> d2 = Down(dark, 2);
    Line<W> finder = dark & ~Down(dark, 1) & d2 & Down(d2, 1) & Down(d2, 2);
    if (!Any(finder)) return penalty;
    finder = finder & ~Down(dark, 5) & Down(dark, 6) & ~Down(dark, 7) & ~Up(dark, 1);
    if (!Any(finder)) return penalty;
    const Line<W> light_before = ~(Up(dark, 2) | Up(dark, 3) | Up(dark, 4));
    const Line<W> light_after = ~(Down(dark, 8) | Down(dark, 9) | Down(dark, 10));
    return penalty + 40 * Count(finder & (light_before | light_after));
}

// Transposes a 64 x 64 bit matrix in place: bit i of a[k] <-> bit k of a[i].
void Transpose64(uint64_t* a) {
    uint64_t m = 0x00000000FFFFFFFFull;
    for (int j = 32; j != 0; j >>= 1, m ^= m << j) {
        for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
            const uint64_t t = ((a[k] >> j) ^ a[k | j]) & m;
            a[k] ^= t << j;
            a[k | j] ^= t;
        }
    }
}

// Dark modules of every column, then of every row by transposing in 64 x 64 blocks.
template <int W>
int ScoreLines(const QrEncoder& qr) {
    const int n = qr.size;
    Line<W> columns[64 * W] = {};
    for (int x = 0; x < n; ++x) {
        const uint8_t* cells = qr.matrix[x];
        int y = 0;
        // Eight cells at a time: the dark flags (0x10 or 0x01) of each byte folded into
        // bit 0 of that byte, then the eight bits gathered into one byte by a multiply.
        for (; y + 8 <= n; y += 8) {
            uint64_t eight;
            std::memcpy(&eight, cells + y, 8);
            eight = (eight | eight >> 4) & 0x0101010101010101ull;
            const uint64_t bits = (eight * 0x0102040810204080ull) >> 56;
            columns[x].w[y >> 6] |= bits << (y & 63);
        }
        for (; y < n; ++y)
            columns[x].w[y >> 6] |= uint64_t{(cells[y] | cells[y] >> 4) & 1u} << (y & 63);
    }
    Line<W> rows[64 * W];
    uint64_t block[64];
    for (int bx = 0; bx < W; ++bx) {
        for (int by = 0; by < W; ++by) {
            for (int k = 0; k < 64; ++k) block[k] = columns[64 * bx + k].w[by];
            Transpose64(block);
            for (int k = 0; k < 64; ++k) rows[64 * by + k].w[bx] = block[k];
        }
    }

    const Line<W> pairs = FirstBits<W>(n - 1);
    int penalty = 0;
    int dark_count = 0;
    for (int i = 0; i < n; ++i) {
        penalty += LinePenalty(columns[i], pairs) + LinePenalty(rows[i], pairs);
        dark_count += Count(columns[i]);
    }
    // Rule 2: a 2 x 2 square of one colour at (x, y) has column x equal to column x + 1
    // at y and y + 1, and column x equal to itself from y to y + 1.
    for (int x = 0; x + 1 < n; ++x) {
        const Line<W>& a = columns[x];
        const Line<W> across = ~(a ^ columns[x + 1]);
        const Line<W> down = ~(a ^ Down(a, 1));
        penalty += 3 * Count(across & Down(across, 1) & down & pairs);
    }
    // Rule 4 from the truncated percentage of light modules.
    const int light = n * n - dark_count;
    const int percent = light * 100 / (n * n);
    const int off = percent > 50 ? percent - 50 : 50 - percent;
    return penalty + off / 5 * 10;
}

inline uint8_t Dark(uint8_t cell) { return (cell | cell >> 4) & 1; }

}  // namespace

uint32_t QrFormatBits(int level, int mask) {
    static constexpr uint32_t kLevelBits[4] = {0b01, 0b00, 0b11, 0b10};
    const uint32_t f = kLevelBits[level] * 8 + static_cast<uint32_t>(mask);
    uint32_t v = f << 10;
    for (int i = 4; i >= 0; --i)
        if (v & (1u << (i + 10))) v ^= 0x537u << i;
    return ((f << 10) + v) ^ 0x5412;
}

uint32_t QrVersionBits(int version) {
    uint32_t v = static_cast<uint32_t>(version) << 12;
    for (int i = 5; i >= 0; --i)
        if (v & (1u << (i + 12))) v ^= 0x1F25u << i;
    return (static_cast<uint32_t>(version) << 12) + v;
}

void PlaceVersionInfo(QrEncoder& qr) {
    if (qr.version < 7) return;
    const int n = qr.size;
    const uint32_t bits = QrVersionBits(qr.version);
    for (int k = 0; k < 18; ++k) {
        const bool dark = (bits >> k) & 1;
        SetFunction(qr, k / 3, n - 11 + k % 3, dark);
        SetFunction(qr, n - 11 + k % 3, k / 3, dark);
    }
}

void PlaceFunctionPatterns(QrEncoder& qr) {
    const int n = qr.size;
    PlacePattern(qr, 0, 0, kFinder, 7);
    PlacePattern(qr, n - 7, 0, kFinder, 7);
    PlacePattern(qr, 0, n - 7, kFinder, 7);
    for (int i = 0; i <= 7; ++i) {
        SetFunction(qr, i, 7, false);
        SetFunction(qr, 7, i, false);
        SetFunction(qr, n - 8, i, false);
        SetFunction(qr, n - 8 + i, 7, false);
        SetFunction(qr, i, n - 8, false);
        SetFunction(qr, 7, n - 8 + i, false);
    }
    for (int i = 0; i <= 8; ++i) {
        SetFunction(qr, i, 8, false);
        SetFunction(qr, 8, i, false);
    }
    for (int i = 0; i <= 7; ++i) {
        SetFunction(qr, n - 8 + i, 8, false);
        SetFunction(qr, 8, n - 8 + i, false);
    }
    PlaceVersionInfo(qr);
    const QrVersionRow& row = QrVersionInfo[qr.version];
    auto place_alignment = [&qr](int cx, int cy) {
        if (!IsFunction(qr, cx, cy)) PlacePattern(qr, cx - 2, cy - 2, kAlignment, 5);
    };
    for (int a = 0; a < row.alignment_count; ++a) {
        const int p = row.alignment[a];
        place_alignment(p, 6);
        place_alignment(6, p);
        for (int b = 0; b < row.alignment_count; ++b) place_alignment(p, row.alignment[b]);
    }
    for (int i = 8; i <= n - 9; ++i) {
        SetFunction(qr, i, 6, i % 2 == 0);
        SetFunction(qr, 6, i, i % 2 == 0);
    }
}

void PlaceCodewords(QrEncoder& qr) {
    const int n = qr.size;
    int x = n, y = n - 1, dx = 1, dy = 1;
    for (int c = 0; c < qr.codeword_count; ++c) {
        const uint8_t codeword = qr.codewords[c];
        for (int bit = 7; bit >= 0; --bit) {
            do {
                x += dx;
                dx = -dx;
                if (dx < 0) {
                    y += dy;
                    if (y == -1 || y == n) {
                        y = y < 0 ? 0 : n - 1;
                        dy = -dy;
                        x -= 2;
                        if (x == 6) x = 5;
                    }
                }
                if (x < 0) return;  // more codewords than data modules: tables are wrong
            } while (IsFunction(qr, x, y));
            qr.matrix[x][y] = ((codeword >> bit) & 1) ? kQrDataDark : 0;
        }
    }
}

void ApplyMask(QrEncoder& qr, int m) {
    const int n = qr.size;
    for (int j = 0; j < n; ++j) {
        uint8_t* column = qr.matrix[j];
        const uint8_t* flip = kMaskColumns.flip[m][j % 6];
        // Function cells never have the data bit set, so (data XOR flip) is cleared
        // for them by the function bit. Eight cells are taken as one word: the shifts
        // cross into neighbouring cells only in bits the per-cell masks clear.
        constexpr uint64_t kOnes = 0x0101010101010101u;
        int i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t cells, flips;
            std::memcpy(&cells, column + i, 8);
            std::memcpy(&flips, flip + i, 8);
            const uint64_t masked = (((cells >> 1) & kOnes) ^ flips) & ~((cells >> 5) & kOnes) & kOnes;
            cells = (cells & ~(kOnes * kQrMaskedDark)) | masked;
            std::memcpy(column + i, &cells, 8);
        }
        for (; i < n; ++i) {
            const uint8_t c = column[i];
            const uint8_t masked = ((c >> 1) ^ flip[i]) & ~(c >> 5) & 1;
            column[i] = static_cast<uint8_t>((c & ~kQrMaskedDark) | masked);
        }
    }
}

void PlaceFormatInfo(QrEncoder& qr, int m) {
    const int n = qr.size;
    const uint32_t bits = QrFormatBits(qr.level, m);
    for (int k = 0; k < 15; ++k) {
        const bool dark = (bits >> k) & 1;
        if (k <= 5)
            SetFunction(qr, 8, k, dark);
        else if (k == 6)
            SetFunction(qr, 8, 7, dark);
        else if (k == 7)
            SetFunction(qr, 8, 8, dark);
        else if (k == 8)
            SetFunction(qr, 7, 8, dark);
        else
            SetFunction(qr, 14 - k, 8, dark);
        if (k <= 7)
            SetFunction(qr, n - 1 - k, 8, dark);
        else
            SetFunction(qr, 8, n - 15 + k, dark);
    }
    SetFunction(qr, 8, n - 8, true);
}

int ScorePenalty(const QrEncoder& qr) {
    if (qr.size <= 64) return ScoreLines<1>(qr);
    if (qr.size <= 128) return ScoreLines<2>(qr);
    return ScoreLines<3>(qr);
}

void BuildMatrix(QrEncoder& qr) {
    std::memset(qr.matrix, 0, sizeof qr.matrix);
    PlaceFunctionPatterns(qr);
    PlaceCodewords(qr);
    if (qr.mask < 0) {
        int best = 0;
        int best_score = 0;
        for (int m = 0; m < 8; ++m) {
            ApplyMask(qr, m);
            PlaceFormatInfo(qr, m);
            const int score = ScorePenalty(qr);
            if (m == 0 || score < best_score) {
                best = m;
                best_score = score;
            }
        }
        qr.mask = best;
    }
    ApplyMask(qr, qr.mask);
    PlaceFormatInfo(qr, qr.mask);
    // Each cell to 0 or 1, eight cells as one word as in ApplyMask.
    const int n = qr.size;
    for (int x = 0; x < n; ++x) {
        uint8_t* column = qr.matrix[x];
        int y = 0;
        for (; y + 8 <= n; y += 8) {
            uint64_t cells;
            std::memcpy(&cells, column + y, 8);
            cells = (cells | cells >> 4) & 0x0101010101010101ull;
            std::memcpy(column + y, &cells, 8);
        }
        for (; y < n; ++y) column[y] = Dark(column[y]);
    }
}
