// Encode throughput of the program's QR encoder against libqrencode, on the same
// payloads in the same run. Also counts heap allocations per encode (malloc is wrapped
// below).
//
// Usage: qr_bench                         all payload classes, table and ratios
//        qr_bench CLASS ours|libqrencode N   N encodes of one class (for callgrind)
#include <qrencode.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "qr/qr_encoder.h"
#include "shift_jis.h"

// ---------------------------------------------------------------- allocation count

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);

static unsigned long g_allocations = 0;

void* malloc(size_t n) {
    ++g_allocations;
    return __libc_malloc(n);
}
void* calloc(size_t count, size_t n) {
    ++g_allocations;
    return __libc_calloc(count, n);
}
void* realloc(void* p, size_t n) {
    ++g_allocations;
    return __libc_realloc(p, n);
}
void free(void* p) { __libc_free(p); }
}

namespace {

struct PayloadClass {
    std::string name;
    std::string text;
    int level;
    QRencodeMode hint;
};

QrEncoder g_qr;

bool EncodeOurs(const PayloadClass& p) {
    return EncodeQr(g_qr, p.level, p.text.data(), static_cast<int>(p.text.size())) == 1;
}

bool EncodeTheirs(const PayloadClass& p) {
    static const QRecLevel kLevels[4] = {QR_ECLEVEL_L, QR_ECLEVEL_M, QR_ECLEVEL_Q, QR_ECLEVEL_H};
    QRcode* code = QRcode_encodeString(p.text.c_str(), 0, kLevels[p.level], p.hint, 1);
    if (code == nullptr) return false;
    QRcode_free(code);
    return true;
}

// The longest prefix (whole characters) that both encoders put into version <= v.
std::string NearCapacity(const std::string& source, int level, int v, bool double_byte,
                         QRencodeMode hint) {
    const int step = double_byte ? 2 : 1;
    int lo = 0, hi = static_cast<int>(source.size()) / step;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        const std::string text = source.substr(0, mid * step);
        g_qr.level = level;
        const int ours = ChooseVersion(g_qr, text.data(), static_cast<int>(text.size()));
        static const QRecLevel kLevels[4] = {QR_ECLEVEL_L, QR_ECLEVEL_M, QR_ECLEVEL_Q,
                                             QR_ECLEVEL_H};
        QRcode* code = QRcode_encodeString(text.c_str(), 0, kLevels[level], hint, 1);
        const bool fits = ours != 0 && ours <= v && code != nullptr && code->version <= v;
        if (code) QRcode_free(code);
        if (fits)
            lo = mid;
        else
            hi = mid - 1;
    }
    return source.substr(0, lo * step);
}

std::vector<PayloadClass> MakeClasses() {
    std::string ascii;
    const char* words[] = {"card ", "design ", "print ", "https://example.jp/?q=", "name@mail ",
                           "hello, world. ", "Business Card 2024 "};
    for (int i = 0; ascii.size() < 4000; ++i) ascii += words[(i * 5 + 3) % 7];
    const std::string japanese_utf8 =
        "株式会社山田製作所は、昭和四十二年の創業以来、精密部品の加工を通じて地域の産業を"
        "支えてまいりました。東京都千代田区丸の内二丁目七番三号　営業部第一課　課長　佐藤花子"
        "本日はご多忙のところ、弊社の新製品発表会にお越しいただき、誠にありがとうございます。"
        "春は桜、夏は花火、秋は紅葉、冬は雪景色。四季の移ろいを感じながら暮らしています。";
    std::string kanji;
    while (kanji.size() < 4000) kanji += ToShiftJis(japanese_utf8);

    std::vector<PayloadClass> classes;
    classes.push_back({"short URL", "https://www.example.co.jp/", kQrLevelM, QR_MODE_8});
    classes.push_back({"address book",
                       ToShiftJis("MEMORY:株式会社山田製作所 営業部\r\nNAME1:山田太郎\r\n"
                                  "NAME2:ﾔﾏﾀﾞﾀﾛｳ\r\nTEL1:03-1234-5678\r\nTEL2:090-8765-4321\r\n"
                                  "MAIL1:taro.yamada@example.co.jp\r\n"
                                  "ADD:東京都千代田区丸の内2-7-3\r\n"),
                       kQrLevelM, QR_MODE_KANJI});
    for (int v : {10, 25, 40}) {
        classes.push_back({"8-bit v" + std::to_string(v),
                           NearCapacity(ascii, kQrLevelM, v, false, QR_MODE_8), kQrLevelM,
                           QR_MODE_8});
        classes.push_back({"Kanji v" + std::to_string(v),
                           NearCapacity(kanji, kQrLevelM, v, true, QR_MODE_KANJI), kQrLevelM,
                           QR_MODE_KANJI});
    }
    return classes;
}

// Best of several rounds, in microseconds per encode.
template <typename Encode>
double MicrosPerEncode(const PayloadClass& p, Encode encode, int per_round) {
    double best = 1e30;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < per_round; ++i)
            if (!encode(p)) {
                std::fprintf(stderr, "encode failed: %s\n", p.name.c_str());
                std::exit(1);
            }
        const double us =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count() /
            per_round;
        best = std::min(best, us);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<PayloadClass> classes = MakeClasses();
    if (argc == 4) {
        for (const auto& p : classes) {
            if (p.name != argv[1]) continue;
            const bool ours = std::strcmp(argv[2], "ours") == 0;
            const int count = std::atoi(argv[3]);
            for (int i = 0; i < count; ++i)
                if (!(ours ? EncodeOurs(p) : EncodeTheirs(p))) return 1;
            return 0;
        }
        std::fprintf(stderr, "no class %s\n", argv[1]);
        return 2;
    }

    std::printf("%-14s %6s %8s %8s %11s %11s %7s %7s %7s\n", "payload", "bytes", "version",
                "(theirs)", "ours us", "theirs us", "ratio", "allocs", "(theirs)");
    bool all_faster = true;
    for (const auto& p : classes) {
        EncodeOurs(p);
        const int our_version = g_qr.version;
        QRcode* code = QRcode_encodeString(p.text.c_str(), 0,
                                           static_cast<QRecLevel>(p.level), p.hint, 1);
        const int their_version = code ? code->version : 0;
        if (code) QRcode_free(code);

        unsigned long before = g_allocations;
        EncodeOurs(p);
        const unsigned long our_allocations = g_allocations - before;
        before = g_allocations;
        EncodeTheirs(p);
        const unsigned long their_allocations = g_allocations - before;

        // About 0.1 s of work per round for each side.
        const double probe = MicrosPerEncode(p, EncodeOurs, 3);
        const int per_round = std::max(3, static_cast<int>(100000 / std::max(probe, 1.0)));
        const double ours = MicrosPerEncode(p, EncodeOurs, per_round);
        const double theirs = MicrosPerEncode(p, EncodeTheirs, per_round);
        const double ratio = theirs / ours;
        all_faster = all_faster && ratio >= 1.0;
        std::printf("%-14s %6zu %8d %8d %11.2f %11.2f %6.2fx %7lu %7lu\n", p.name.c_str(),
                    p.text.size(), our_version, their_version, ours, theirs, ratio,
                    our_allocations, their_allocations);
    }
    std::printf("ratio = libqrencode time / our time (above 1: ours is faster)%s\n",
                all_faster ? "" : "; SLOWER on some class");
    return 0;
}
