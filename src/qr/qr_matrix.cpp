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

// Inlined: PlaceCodewords asks it for every step of its walk.
[[gnu::always_inline]] inline bool IsFunction(const QrEncoder& qr, int x, int y) {
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

// Bit y of the result is bit `shift` of cells[y], for y < n. Eight cells at a time:
// the flag of each byte moved to bit 0 of that byte, then the eight bits gathered into
// one byte by a multiply.
template <int W>
Line<W> CellBits(const uint8_t* cells, int n, int shift) {
    Line<W> r{};
    int y = 0;
    for (; y + 8 <= n; y += 8) {
        uint64_t eight;
        std::memcpy(&eight, cells + y, 8);
        eight = (eight >> shift) & 0x0101010101010101ull;
        r.w[y >> 6] |= ((eight * 0x0102040810204080ull) >> 56) << (y & 63);
    }
    for (; y < n; ++y) r.w[y >> 6] |= uint64_t{(cells[y] >> shift) & 1u} << (y & 63);
    return r;
}

constexpr int kFunctionShift = 5, kFunctionDarkShift = 4, kDataDarkShift = 1;
static_assert(kQrFunction == 1 << kFunctionShift && kQrFunctionDark == 1 << kFunctionDarkShift &&
              kQrDataDark == 1 << kDataDarkShift && kQrMaskedDark == 1);

// The penalty of n columns of dark modules (bits past n clear); the rows are the
// columns transposed in 64 x 64 blocks.
template <int W>
int ScoreColumns(const Line<W>* columns, int n) {
    Line<W> rows[64 * W];
    uint64_t block[64];
    for (int bx = 0; bx < W; ++bx) {
        for (int by = 0; by < W; ++by) {
            for (int k = 0; k < 64; ++k)
                block[k] = 64 * bx + k < n ? columns[64 * bx + k].w[by] : 0;
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

// Dark modules are those with either dark flag (cell & 0x11).
template <int W>
int ScoreLines(const QrEncoder& qr) {
    Line<W> columns[64 * W];
    for (int x = 0; x < qr.size; ++x) {
        const uint8_t* cells = qr.matrix[x];
        columns[x] =
            CellBits<W>(cells, qr.size, 0) | CellBits<W>(cells, qr.size, kFunctionDarkShift);
    }
    return ScoreColumns(columns, qr.size);
}

// The masks as bit sets of a column: bit i of [m][j mod 6] is the condition for row i
// of column j, for every row a symbol may have.
struct MaskBits {
    uint64_t w[8][6][3];
};
constexpr MaskBits MakeMaskBits() {
    MaskBits t{};
    for (int m = 0; m < 8; ++m)
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 192; ++i)
                if (MaskCondition(m, i, j)) t.w[m][j][i >> 6] |= uint64_t{1} << (i & 63);
    return t;
}
constexpr MaskBits kMaskBits = MakeMaskBits();

// The cells of the two copies of format bit k (0..14) in a symbol of n modules, as
// PlaceFormatInfo lays them.
struct FormatCells {
    int x1, y1, x2, y2;
};
FormatCells FormatCellsOf(int k, int n) {
    // Beside the top-left finder: bits 0..7 down column 8 (row 6 skipped), the rest
    // leftwards along row 8 (column 6 skipped); the second copy along row 8 from the
    // right, then down column 8 to the bottom.
    const int x1 = k <= 7 ? 8 : k == 8 ? 7 : 14 - k;
    const int y1 = k <= 5 ? k : k <= 7 ? k + 1 : 8;
    return k <= 7 ? FormatCells{x1, y1, n - 1 - k, 8} : FormatCells{x1, y1, 8, n - 15 + k};
}

template <int W>
void SetBit(Line<W>* columns, int x, int y) {
    columns[x].w[y >> 6] |= uint64_t{1} << (y & 63);
}

// The mask of lowest penalty, the first on ties, for the matrix after PlaceCodewords
// (format cells reserved light). Every mask's columns are made from bit sets taken
// once: the dark function modules, the data modules' places and their dark ones.
template <int W>
int LowestPenaltyMask(const QrEncoder& qr) {
    const int n = qr.size;
    Line<W> function_dark[64 * W], open[64 * W], data_dark[64 * W], columns[64 * W];
    const Line<W> inside = FirstBits<W>(n);
    for (int x = 0; x < n; ++x) {
        function_dark[x] = CellBits<W>(qr.matrix[x], n, kFunctionDarkShift);
        open[x] = ~CellBits<W>(qr.matrix[x], n, kFunctionShift) & inside;
        data_dark[x] = CellBits<W>(qr.matrix[x], n, kDataDarkShift);
    }
    SetBit(function_dark, 8, n - 8);  // the dark module beside the lower format copy

    int best = 0;
    int best_score = 0;
    for (int m = 0; m < 8; ++m) {
        for (int x = 0; x < n; ++x) {
            const uint64_t* flip = kMaskBits.w[m][x % 6];
            for (int i = 0; i < W; ++i) {
                const uint64_t data = (data_dark[x].w[i] ^ flip[i]) & open[x].w[i];
                columns[x].w[i] = function_dark[x].w[i] | data;
            }
        }
        const uint32_t format = QrFormatBits(qr.level, m);
        for (int k = 0; k < 15; ++k) {
            if (!((format >> k) & 1)) continue;
            const FormatCells c = FormatCellsOf(k, n);
            SetBit(columns, c.x1, c.y1);
            SetBit(columns, c.x2, c.y2);
        }
        const int score = ScoreColumns(columns, n);
        if (m == 0 || score < best_score) {
            best = m;
            best_score = score;
        }
    }
    return best;
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
        const FormatCells c = FormatCellsOf(k, n);
        SetFunction(qr, c.x1, c.y1, dark);
        SetFunction(qr, c.x2, c.y2, dark);
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
        qr.mask = qr.size <= 64    ? LowestPenaltyMask<1>(qr)
                  : qr.size <= 128 ? LowestPenaltyMask<2>(qr)
                                   : LowestPenaltyMask<3>(qr);
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
