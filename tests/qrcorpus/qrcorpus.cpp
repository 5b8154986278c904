// Corpus test of the QR encoder against independent decoders.
//
// Generates payloads over all 40 versions, all four levels and every kind of text
// (numeric, alphanumeric, 8-bit, raw bytes, Shift_JIS Kanji, mixed Japanese), encodes
// each, and checks the symbol three ways:
//   - its structure, with code written here apart from the encoder: both format
//     information copies and both version information copies are valid BCH words,
//     and every Reed-Solomon block read back out of the matrix has zero syndromes
//     (function-module map, zigzag, block table and GF(256) all separate);
//   - ZXingReader -ispure -bytes decodes its picture to exactly the input bytes;
//   - zbarimg --raw -Sbinary does the same.
// Pictures are PGM files, 4 modules of quiet zone, 3 pixels per module. Decoders run in
// batches (both at once, one per core); a batch whose joined output differs from the
// joined inputs is decoded again file by file to name the failures.
//
// Usage: qrcorpus ZXINGREADER ZBARIMG WORKDIR
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "qr/qr_encoder.h"
#include "shift_jis.h"

namespace {

// ---------------------------------------------------------------- payloads

const char* const kJapanese[] = {
    "株式会社山田製作所は、昭和四十二年の創業以来、精密部品の加工を通じて地域の産業を"
    "支えてまいりました。",
    "東京都千代田区丸の内二丁目七番三号　東京ビルディング十二階",
    "営業部第一課　課長　佐藤花子",
    "本日はご多忙のところ、弊社の新製品発表会にお越しいただき、誠にありがとうございます。",
    "名刺を作るときは、氏名と会社名を大きく、住所と電話番号を読みやすく配置しましょう。",
    "北海道札幌市中央区北一条西四丁目　大阪府大阪市北区梅田三丁目　福岡県福岡市博多区",
    "春は桜、夏は花火、秋は紅葉、冬は雪景色。四季の移ろいを感じながら暮らしています。",
    "お問い合わせは、平日午前九時から午後六時まで、お電話または電子メールで承ります。",
    "鈴木一郎　高橋次郎　田中三郎　渡辺四郎　伊藤五郎　中村六郎　小林七郎　加藤八郎",
    "ご注文の品は、明日の午前中に発送いたします。到着まで今しばらくお待ちください。",
};

const char* const kAddressBook[] = {
    "MEMORY:株式会社山田製作所\r\nNAME1:山田太郎\r\nNAME2:ﾔﾏﾀﾞﾀﾛｳ\r\nTEL1:03-1234-5678\r\n"
    "TEL2:090-8765-4321\r\nMAIL1:taro.yamada@example.co.jp\r\n",
    "MEMORY:営業部　〒100-0005 東京都千代田区丸の内2-7-3\r\nNAME1:佐藤花子\r\n"
    "TEL1:(03)5555-0123\r\nMAIL1:hanako@example.jp\r\nMAIL2:H.SATO@EXAMPLE.JP\r\n",
    "ホームページ http://www.example.co.jp/ 電話 0120-123-456（受付 9:00～18:00）",
    "第3会議室にて14時30分より、2024年度第2四半期の売上報告（前年比108.5%）を行います。",
    "ｶﾌﾞｼｷｶﾞｲｼｬ ｻﾝﾌﾟﾙ 〒530-0001 大阪市北区梅田1-1-1 TEL 06-6000-0000 FAX 06-6000-0001",
};

bool IsLeadByte(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

enum Kind { kNumeric, kAlnum, kText8, kBinary, kKanji, kAddress, kKindCount };
const char* const kKindNames[] = {"numeric", "alphanumeric", "8-bit", "bytes", "kanji",
                                  "mixed"};

// A long text of one kind, cut only between characters (offsets lists the cuts).
struct Source {
    std::string bytes;
    std::vector<int> cuts;  // cuts[k] = byte length of the first k characters
};

Source MakeSource(Kind kind, std::mt19937& random) {
    Source s;
    const int target = 7400;
    auto append_chars = [&](const std::string& chunk) {
        for (size_t i = 0; i < chunk.size();) {
            const size_t w =
                (IsLeadByte(static_cast<uint8_t>(chunk[i])) && i + 1 < chunk.size()) ? 2 : 1;
            s.bytes.append(chunk, i, w);
            s.cuts.push_back(static_cast<int>(s.bytes.size()));
            i += w;
        }
    };
    s.cuts.push_back(0);
    const std::string alnum = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    const std::string words[] = {"https://www.example.co.jp/", "card", "design", "print",
                                 "?id=", "&lang=ja", "hello, world! ", "name@example.com ",
                                 "Business Card #", "tel:+81-3-1234-5678 "};
    while (static_cast<int>(s.bytes.size()) < target) {
        std::string chunk;
        switch (kind) {
        case kNumeric:
            for (int i = 0; i < 64; ++i) chunk += static_cast<char>('0' + random() % 10);
            break;
        case kAlnum:
            for (int i = 0; i < 64; ++i) chunk += alnum[random() % alnum.size()];
            break;
        case kText8:
            chunk = words[random() % 10];
            if (random() % 3 == 0) chunk += std::to_string(random() % 100000);
            break;
        case kBinary:
            // One byte at a time: any value, zeros and stray Shift_JIS pairs included.
            for (int i = 0; i < 64; ++i) {
                s.bytes += static_cast<char>(random() & 0xFF);
                s.cuts.push_back(static_cast<int>(s.bytes.size()));
            }
            continue;
        case kKanji:
            chunk = ToShiftJis(kJapanese[random() % std::size(kJapanese)]);
            break;
        default:
            chunk = ToShiftJis(random() % 2 ? kAddressBook[random() % std::size(kAddressBook)]
                                            : kJapanese[random() % std::size(kJapanese)]);
            break;
        }
        append_chars(chunk);
    }
    return s;
}

struct Payload {
    std::string bytes;
    int level;
    int version;  // as encoded
    std::string label;
};

// The longest prefix (in whole characters) that encodes at `level` in version <= v;
// 0 when not even one character does.
int LongestFit(QrEncoder& qr, const Source& s, int level, int v) {
    int lo = 0, hi = static_cast<int>(s.cuts.size()) - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        qr.level = level;
        const int got = ChooseVersion(qr, s.bytes.data(), s.cuts[mid]);
        if (got != 0 && got <= v)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

std::vector<Payload> MakeCorpus(QrEncoder& qr) {
    std::vector<Payload> corpus;
    std::mt19937 random(20240611);
    for (int kind = 0; kind < kKindCount; ++kind) {
        const Source s = MakeSource(static_cast<Kind>(kind), random);
        for (int level = 0; level < 4; ++level) {
            int below = 0;  // longest fit of the version before
            for (int v = 1; v <= 40; ++v) {
                const int fit = LongestFit(qr, s, level, v);
                if (fit <= below) continue;
                // Alternately the fullest text of the version and one in between, so
                // that both tight and roomy endings (terminator, pad) occur.
                const int chars =
                    (v + level + kind) % 2 ? fit : below + 1 + random() % (fit - below);
                const int start = static_cast<int>(random() % 200);  // vary the text
                const int offset = s.cuts[start];
                int end = start + chars;
                end = std::min(end, static_cast<int>(s.cuts.size()) - 1);
                std::string bytes = s.bytes.substr(offset, s.cuts[end] - offset);
                // The shifted window may not fit the same version; shrink until it does.
                for (;;) {
                    qr.level = level;
                    const int got = ChooseVersion(qr, bytes.data(), static_cast<int>(bytes.size()));
                    if (got != 0 && got <= v) break;
                    --end;
                    bytes = s.bytes.substr(offset, s.cuts[end] - offset);
                }
                corpus.push_back({bytes, level, 0,
                                  std::string(kKindNames[kind]) + " v" + std::to_string(v)});
                below = fit;
            }
        }
    }
    // Byte-level edges: pairs that are not Kanji, a lead byte at the very end, Kanji
    // pairs at the limits of the ranges.
    const std::string edges[] = {
        "\x9F\xFD", "\x9F\xFC", "\xEB\xBF", "\xEB\xC0", "\xE0\x40", "\x81\x40",
        "ABC\x81", "\x8A\xBF\x8E\x9A\x93", "\x81\x3F\x81\x40", std::string("\0\0\0", 3),
        "0", "A", "a", "01234567", "AC-42", "ac-42",
    };
    for (int level = 0; level < 4; ++level)
        for (const std::string& e : edges) corpus.push_back({e, level, 0, "edge"});
    return corpus;
}

// ---------------------------------------------------------------- structure check
// Written from the symbol's rules alone: nothing here reads the encoder's tables.

uint8_t GfMultiply(uint8_t a, uint8_t b) {
    unsigned r = 0, x = a;
    for (; b; b >>= 1) {
        if (b & 1) r ^= x;
        x <<= 1;
        if (x & 0x100) x ^= 0x11D;
    }
    return static_cast<uint8_t>(r);
}

// Error-correction codewords per block and number of blocks, by level L, M, Q, H.
const int kEccPerBlock[4][41] = {
    {0, 7, 10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0, 10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {0, 13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0, 17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
};
const int kBlockCount[4][41] = {
    {0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 4, 4, 4, 4, 4, 6, 6, 6, 6, 7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {0, 1, 1, 1, 2, 2, 4, 4, 4, 5, 5, 5, 8, 9, 9, 10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {0, 1, 1, 2, 2, 4, 4, 6, 6, 8, 8, 8, 10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {0, 1, 1, 2, 4, 4, 4, 5, 6, 8, 8, 11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
};

// Remainder of `word` (degree < bits) divided by the generator, both as bit strings.
uint32_t BchRemainder(uint32_t word, int bits, uint32_t generator, int generator_bits) {
    for (int i = bits - 1; i >= generator_bits - 1; --i)
        if (word & (1u << i)) word ^= generator << (i - (generator_bits - 1));
    return word;
}

struct Symbol {
    int n;
    std::vector<uint8_t> dark;  // row-major
    bool at(int x, int y) const { return dark[y * n + x] != 0; }
};

// Function modules of a symbol of version v, from the layout rules.
std::vector<uint8_t> FunctionMap(int v) {
    const int n = 4 * v + 17;
    std::vector<uint8_t> f(n * n, 0);
    auto mark = [&](int x0, int y0, int w, int h) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (x >= 0 && y >= 0 && x < n && y < n) f[y * n + x] = 1;
    };
    mark(0, 0, 9, 9);       // finder, separator, format
    mark(n - 8, 0, 8, 9);
    mark(0, n - 8, 9, 8);
    mark(6, 0, 1, n);       // timing
    mark(0, 6, n, 1);
    if (v >= 7) {
        mark(n - 11, 0, 3, 6);
        mark(0, n - 11, 6, 3);
    }
    if (v >= 2) {
        const int count = v / 7 + 2;
        const int step = v == 32 ? 26 : (v * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
        std::vector<int> pos = {6};
        for (int i = 1; i < count; ++i) pos.push_back(n - 7 - (count - 1 - i) * step);
        for (int a : pos)
            for (int b : pos) {
                const bool finder = (a == 6 && b == 6) || (a == 6 && b == n - 7) ||
                                    (a == n - 7 && b == 6);
                if (!finder) mark(a - 2, b - 2, 5, 5);
            }
    }
    return f;
}

bool Mask(int m, int i, int j) {  // i row, j column
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

// Empty when the structure holds, else what is wrong.
std::string CheckStructure(const Symbol& s, int level) {
    const int n = s.n;
    const int v = (n - 17) / 4;
    uint32_t first = 0, second = 0;
    const int fx[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};
    const int fy[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
    for (int k = 0; k < 15; ++k) {
        first |= static_cast<uint32_t>(s.at(fx[k], fy[k])) << k;
        second |= static_cast<uint32_t>(k < 8 ? s.at(n - 1 - k, 8) : s.at(8, n - 15 + k)) << k;
    }
    if (first != second) return "format copies differ";
    const uint32_t format = first ^ 0x5412;
    if (BchRemainder(format, 15, 0x537, 11) != 0) return "format not a BCH word";
    const int level_bits[4] = {1, 0, 3, 2};
    if (static_cast<int>(format >> 13) != level_bits[level]) return "format names another level";
    const int mask = (format >> 10) & 7;
    if (!s.at(8, n - 8)) return "dark module light";

    if (v >= 7) {
        uint32_t a = 0, b = 0;
        for (int k = 0; k < 18; ++k) {
            a |= static_cast<uint32_t>(s.at(k / 3, n - 11 + k % 3)) << k;
            b |= static_cast<uint32_t>(s.at(n - 11 + k % 3, k / 3)) << k;
        }
        if (a != b) return "version copies differ";
        if (BchRemainder(a, 18, 0x1F25, 13) != 0) return "version not a BCH word";
        if (static_cast<int>(a >> 12) != v) return "version information names another version";
    }

    // Codewords in placement order: column pairs from the right, up and down in turn.
    const std::vector<uint8_t> function = FunctionMap(v);
    std::vector<uint8_t> bits;
    bool upward = true;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        for (int step = 0; step < n; ++step) {
            const int y = upward ? n - 1 - step : step;
            for (int x = right; x >= right - 1; --x)
                if (!function[y * n + x]) bits.push_back(s.at(x, y) ^ Mask(mask, y, x));
        }
        upward = !upward;
    }
    const int total = static_cast<int>(bits.size()) / 8;
    std::vector<uint8_t> sequence(total);
    for (int c = 0; c < total; ++c)
        for (int b = 0; b < 8; ++b)
            sequence[c] = static_cast<uint8_t>(sequence[c] << 1 | bits[c * 8 + b]);

    // De-interleave: B blocks, the last (total mod B) of them one codeword longer.
    const int blocks = kBlockCount[level][v];
    const int ecc = kEccPerBlock[level][v];
    const int short_len = total / blocks;
    const int long_count = total % blocks;
    const int short_data = short_len - ecc;
    const int data_total = total - blocks * ecc;
    for (int b = 0; b < blocks; ++b) {
        const bool longer = b >= blocks - long_count;
        const int d = short_data + (longer ? 1 : 0);
        std::vector<uint8_t> word;
        for (int j = 0; j < short_data; ++j) word.push_back(sequence[j * blocks + b]);
        if (longer) word.push_back(sequence[short_data * blocks + (b - (blocks - long_count))]);
        for (int j = 0; j < ecc; ++j) word.push_back(sequence[data_total + j * blocks + b]);
        if (static_cast<int>(word.size()) != d + ecc) return "block size";
        uint8_t alpha = 1;
        for (int p = 0; p < ecc; ++p) {
            uint8_t syndrome = 0;
            for (uint8_t c : word) syndrome = GfMultiply(syndrome, alpha) ^ c;
            if (syndrome != 0) return "nonzero syndrome in block " + std::to_string(b);
            alpha = GfMultiply(alpha, 2);
        }
    }
    return "";
}

// ---------------------------------------------------------------- pictures, decoders

constexpr int kQuiet = 4;
constexpr int kPixels = 3;

void WritePgm(const std::string& path, const Symbol& s) {
    const int side = (s.n + 2 * kQuiet) * kPixels;
    std::string data = "P5\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n";
    std::string row(side, '\xFF');
    for (int py = 0; py < side; ++py) {
        const int y = py / kPixels - kQuiet;
        for (int px = 0; px < side; ++px) {
            const int x = px / kPixels - kQuiet;
            const bool dark = x >= 0 && y >= 0 && x < s.n && y < s.n && s.at(x, y);
            row[px] = dark ? '\0' : '\xFF';
        }
        data += row;
    }
    std::ofstream(path, std::ios::binary).write(data.data(), static_cast<long>(data.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

struct Decoder {
    const char* name;
    std::string command;  // files are appended
};

std::string DecodeCommand(const Decoder& d, const std::vector<std::string>& files,
                          const std::string& out) {
    std::string c = d.command;
    for (const auto& f : files) c += " " + Quote(f);
    return c + " > " + Quote(out) + " 2>/dev/null";
}

std::string Hex(const std::string& s, size_t limit = 48) {
    std::string h;
    char buf[4];
    for (size_t i = 0; i < s.size() && i < limit; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", static_cast<uint8_t>(s[i]));
        h += buf;
    }
    return s.size() > limit ? h + "..." : h;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: qrcorpus ZXINGREADER ZBARIMG WORKDIR\n");
        return 2;
    }
    const std::string work = argv[3];
    for (int i = 1; i <= 2; ++i)
        if (access(argv[i], X_OK) != 0) {
            std::fprintf(stderr, "decoder not found: %s\n", argv[i]);
            return 2;
        }
    mkdir(work.c_str(), 0755);
    const Decoder decoders[2] = {
        {"ZXingReader", Quote(argv[1]) + " -ispure -bytes"},
        {"zbarimg", Quote(argv[2]) + " --raw -Sbinary -Sdisable -Sqrcode.enable"},
    };

    using Clock = std::chrono::steady_clock;
    auto seconds_since = [](Clock::time_point t) {
        return std::chrono::duration<double>(Clock::now() - t).count();
    };
    const auto started = Clock::now();
    static QrEncoder qr;
    std::vector<Payload> corpus = MakeCorpus(qr);
    const double generating = seconds_since(started);
    double decoding = 0;
    const int count = static_cast<int>(corpus.size());
    std::vector<std::string> files(count);
    std::vector<std::string> problems(count);
    int versions_seen[41] = {};
    int levels_seen[4] = {};
    int symbols_with_mode[4] = {};  // numeric, alphanumeric, 8-bit, Kanji segments
    int mixed_symbols = 0;
    int structure_ok = 0;
    int pass[2] = {0, 0};

    constexpr int kBatch = 48;
    for (int start = 0; start < count; start += kBatch) {
        const int end = std::min(count, start + kBatch);
        std::vector<std::string> batch;
        std::string joined;
        for (int i = start; i < end; ++i) {
            Payload& p = corpus[i];
            if (EncodeQr(qr, p.level, p.bytes.data(), static_cast<int>(p.bytes.size())) != 1) {
                problems[i] += " encode failed;";
                continue;
            }
            p.version = qr.version;
            ++versions_seen[qr.version];
            bool has_mode[4] = {};
            for (int k = 0; k < qr.segment_count; ++k) has_mode[qr.segment_modes[k]] = true;
            for (int m = 0; m < 4; ++m) symbols_with_mode[m] += has_mode[m];
            mixed_symbols += qr.segment_count > 1;
            ++levels_seen[p.level];
            Symbol s{qr.size, std::vector<uint8_t>(qr.size * qr.size)};
            for (int y = 0; y < s.n; ++y)
                for (int x = 0; x < s.n; ++x) s.dark[y * s.n + x] = qr.matrix[x][y];
            const std::string structure = CheckStructure(s, p.level);
            if (structure.empty())
                ++structure_ok;
            else
                problems[i] += " structure: " + structure + ";";
            files[i] = work + "/q" + std::to_string(i) + ".pgm";
            WritePgm(files[i], s);
            batch.push_back(files[i]);
            joined += p.bytes;
        }
        // Both decoders at once, one per core.
        std::string outs[2];
        std::string both;
        for (int d = 0; d < 2; ++d) {
            outs[d] = work + "/batch" + std::to_string(d) + ".out";
            both += DecodeCommand(decoders[d], batch, outs[d]) + " & ";
        }
        const auto decode_start = Clock::now();
        if (std::system((both + "wait").c_str()) == -1) return 2;
        decoding += seconds_since(decode_start);
        for (int d = 0; d < 2; ++d) {
            if (ReadFile(outs[d]) == joined) {
                for (int i = start; i < end; ++i)
                    if (!files[i].empty()) ++pass[d];
                continue;
            }
            for (int i = start; i < end; ++i) {
                if (files[i].empty()) continue;
                if (std::system(DecodeCommand(decoders[d], {files[i]}, outs[d]).c_str()) == -1)
                    return 2;
                const std::string got = ReadFile(outs[d]);
                if (got == corpus[i].bytes)
                    ++pass[d];
                else
                    problems[i] += std::string(" ") + decoders[d].name + " read " + Hex(got) + ";";
            }
        }
        for (int i = start; i < end; ++i)
            if (!files[i].empty() && problems[i].empty()) std::remove(files[i].c_str());
    }
    for (int d = 0; d < 2; ++d) std::remove((work + "/batch" + std::to_string(d) + ".out").c_str());

    int failed = 0;
    for (int i = 0; i < count; ++i) {
        if (problems[i].empty()) continue;
        ++failed;
        const Payload& p = corpus[i];
        std::printf("FAIL #%d %s level %d version %d (%zu bytes %s):%s kept %s\n", i,
                    p.label.c_str(), p.level, p.version, p.bytes.size(), Hex(p.bytes).c_str(),
                    problems[i].c_str(), files[i].c_str());
    }
    int versions = 0;
    for (int v = 1; v <= 40; ++v) versions += versions_seen[v] > 0;
    std::printf("corpus: %d payloads, %d versions, levels L/M/Q/H %d/%d/%d/%d\n", count,
                versions, levels_seen[0], levels_seen[1], levels_seen[2], levels_seen[3]);
    std::printf("symbols with numeric / alphanumeric / 8-bit / Kanji segments: %d / %d / %d / %d;"
                " with more than one segment: %d\n",
                symbols_with_mode[0], symbols_with_mode[1], symbols_with_mode[2],
                symbols_with_mode[3], mixed_symbols);
    std::printf("structure (format, version, Reed-Solomon): %d of %d\n", structure_ok, count);
    for (int d = 0; d < 2; ++d)
        std::printf("%s: %d of %d decoded to the input bytes\n", decoders[d].name, pass[d], count);
    if (versions != 40) {
        std::printf("not every version was reached\n");
        ++failed;
    }
    std::printf("time: %.1f s generating, %.1f s in batch decoding, %.1f s in all\n", generating,
                decoding, seconds_since(started));
    std::printf("%d passed, %d failed\n", count - failed, failed);
    if (failed == 0) rmdir(work.c_str());
    return failed == 0 ? 0 : 1;
}
