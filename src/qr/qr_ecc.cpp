// Error correction: GF(256) arithmetic with the polynomial x^8 + x^4 + x^3 + x^2 + 1,
// the generator polynomials, Reed-Solomon remainders and the interleaving of data and
// error-correction codewords into the final sequence.
#include <cstring>

#include "qr/qr_encoder.h"

namespace {

constexpr int kMaxGenerator = 68;

struct GaloisTables {
    // exp[i] = alpha^i; twice round, so that a sum of two exponents needs no reduction.
    uint8_t exp[2 * 255];
    uint8_t log[256];  // log[v] for v = 1..255; log[0] unused
};

constexpr GaloisTables MakeGaloisTables() {
    GaloisTables t{};
    int v = 1;
    for (int i = 0; i < 255; ++i) {
        t.exp[i] = t.exp[i + 255] = static_cast<uint8_t>(v);
        t.log[v] = static_cast<uint8_t>(i);
        v <<= 1;
        if (v & 0x100) v ^= 0x11D;
    }
    return t;
}
constexpr GaloisTables kGf = MakeGaloisTables();

constexpr bool HasGenerator(int n) {
    return n == 7 || n == 10 || n == 13 || (n >= 15 && n <= 18) || n == 20 || n == 22 ||
           n == 24 || n == 26 || n == 28 || n == 30 || (n >= 32 && n <= 68 && n % 2 == 0);
}

struct GeneratorTable {
    // [n][j]: exponent of the coefficient of x^(n-1-j) of the degree-n generator.
    uint8_t exponents[kMaxGenerator + 1][kMaxGenerator];
};

constexpr uint8_t GfMul(uint8_t a, uint8_t b) {
    if (a == 0 || b == 0) return 0;
    return kGf.exp[kGf.log[a] + kGf.log[b]];
}

// g(x) = (x - a^0)(x - a^1)...(x - a^(n-1)); every coefficient is nonzero, so each is
// kept as its exponent (the way the standard lists them).
constexpr GeneratorTable MakeGeneratorTable() {
    GeneratorTable t{};
    for (int n = 1; n <= kMaxGenerator; ++n) {
        if (!HasGenerator(n)) continue;
        uint8_t poly[kMaxGenerator + 1] = {1};  // poly[k]: coefficient of x^(degree-k)
        for (int r = 0; r < n; ++r) {
            const uint8_t root = kGf.exp[r];
            for (int k = r + 1; k >= 1; --k)
                poly[k] = static_cast<uint8_t>(poly[k] ^ GfMul(poly[k - 1], root));
        }
        for (int j = 0; j < n; ++j) {
            if (poly[j + 1] == 0) throw "generator coefficient is zero";
            t.exponents[n][j] = kGf.log[poly[j + 1]];
        }
    }
    return t;
}
constexpr GeneratorTable kGenerators = MakeGeneratorTable();

}  // namespace

const uint8_t* QrGeneratorExponents(int n) {
    if (n < 1 || n > kMaxGenerator || !HasGenerator(n)) return nullptr;
    return kGenerators.exponents[n];
}

void ComputeBlockEcc(uint8_t* work, int d, int e) {
    const uint8_t* g = kGenerators.exponents[e];
    // Long division in place: step i cancels the leading term work[i] against the
    // generator, so after d steps the remainder sits in work[d .. d+e-1].
    for (int i = 0; i < d; ++i) {
        const uint8_t lead = work[i];
        if (lead == 0) continue;
        const int k = kGf.log[lead];
        uint8_t* term = work + i + 1;
        const uint8_t* times_lead = kGf.exp + k;
        for (int j = 0; j < e; ++j) term[j] ^= times_lead[g[j]];
    }
    std::memmove(work, work + d, e);
}

void InterleaveCodewords(QrEncoder& qr) {
    const QrVersionRow& row = QrVersionInfo[qr.version];
    const QrBlockGroup& g1 = row.groups[qr.level][0];
    const QrBlockGroup& g2 = row.groups[qr.level][1];
    const int blocks = g1.blocks + g2.blocks;
    const int data_total = row.data_codewords[qr.level];
    const int ecc = g1.codewords - g1.data;
    qr.codeword_count = row.total_codewords;
    std::memset(qr.codewords, 0, row.total_codewords);

    const uint8_t* data = qr.data_bits;
    for (int b = 0; b < blocks; ++b) {
        const bool longer = b >= g1.blocks;
        const int d = longer ? g2.data : g1.data;
        for (int j = 0; j < g1.data; ++j) qr.codewords[j * blocks + b] = data[j];
        // The extra codeword of a longer block follows all the others' d1-th codewords.
        if (longer) qr.codewords[g1.data * blocks + (b - g1.blocks)] = data[g1.data];

        std::memset(qr.rs_work, 0, sizeof qr.rs_work);
        std::memcpy(qr.rs_work, data, d);
        ComputeBlockEcc(qr.rs_work, d, ecc);
        for (int j = 0; j < ecc; ++j) qr.codewords[data_total + j * blocks + b] = qr.rs_work[j];
        data += d;
    }
}
