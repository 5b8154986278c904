// Data encoding: classification of the bytes into mode segments, the two merge passes
// that shorten the bit stream, the shortest stream for a text those do not fit, version
// choice, and the data bit stream with its terminator and pad codewords.
#include <climits>
#include <cstring>

#include "qr/qr_encoder.h"

namespace {

constexpr int kGroupFirstVersion[3] = {1, 10, 27};
constexpr int kGroupLastVersion[3] = {9, 26, 40};
constexpr uint32_t kModeIndicator[4] = {0b0001, 0b0010, 0b0100, 0b1000};

// Value of a character in the 45-character alphanumeric set, or -1.
struct AlphanumericTable {
    int8_t value[256];
};
constexpr AlphanumericTable MakeAlphanumericTable() {
    AlphanumericTable t{};
    for (int c = 0; c < 256; ++c) t.value[c] = -1;
    for (int c = '0'; c <= '9'; ++c) t.value[c] = static_cast<int8_t>(c - '0');
    for (int c = 'A'; c <= 'Z'; ++c) t.value[c] = static_cast<int8_t>(c - 'A' + 10);
    const char* symbols = " $%*+-./:";
    for (int k = 0; symbols[k] != 0; ++k)
        t.value[static_cast<unsigned char>(symbols[k])] = static_cast<int8_t>(36 + k);
    return t;
}
constexpr AlphanumericTable kAlphanumeric = MakeAlphanumericTable();

bool IsKanjiPair(unsigned c1, unsigned c2) {
    if (!((c1 >= 0x81 && c1 <= 0x9F) || (c1 >= 0xE0 && c1 <= 0xEB))) return false;
    if (c2 < 0x40) return false;
    if (c1 == 0x9F && c2 > 0xFC) return false;
    if (c1 == 0xEB && c2 > 0xBF) return false;
    return true;
}

int SegmentBits(const QrEncoder& qr, int s, int group) {
    return SegmentBitLength(qr.segment_modes[s], qr.segment_lengths[s], group);
}

bool IsMode(const QrEncoder& qr, int s, int mode) {
    return s >= 0 && qr.segment_modes[s] == mode;
}

// Segment `s` takes over the length of the segment after it, which leaves the list.
void AbsorbNext(QrEncoder& qr, int s) {
    const int gone = qr.segment_next[s];
    qr.segment_lengths[s] += qr.segment_lengths[gone];
    const int after = qr.segment_next[gone];
    qr.segment_next[s] = static_cast<int16_t>(after);
    if (after >= 0) qr.segment_prev[after] = static_cast<int16_t>(s);
}

// Builds the list 0 .. count-1 of single-mode runs.
bool Classify(QrEncoder& qr, const uint8_t* text, int length) {
    qr.segment_count = 0;
    int mode = -1;
    for (int pos = 0; pos < length;) {
        int width = 1;
        int m;
        if (pos + 1 < length && IsKanjiPair(text[pos], text[pos + 1])) {
            m = kQrKanji;
            width = 2;
        } else if (text[pos] >= '0' && text[pos] <= '9') {
            m = kQrNumeric;
        } else if (kAlphanumeric.value[text[pos]] >= 0) {
            m = kQrAlphanumeric;
        } else {
            m = kQrByte;
        }
        if (m != mode) {
            const int s = qr.segment_count;
            if (s == kQrMaxDataCodewords) return false;
            qr.segment_modes[s] = static_cast<uint8_t>(m);
            qr.segment_lengths[s] = 0;
            qr.segment_prev[s] = static_cast<int16_t>(s - 1);
            qr.segment_next[s] = -1;
            if (s > 0) qr.segment_next[s - 1] = static_cast<int16_t>(s);
            ++qr.segment_count;
            mode = m;
        }
        qr.segment_lengths[qr.segment_count - 1] += width;
        pos += width;
    }
    return true;
}

// Numeric and alphanumeric neighbours: merged to alphanumeric, or one of them joined to
// an 8-bit neighbour, whichever is shortest. `n` walks the list; "the segment at
// position n" after a removal is the one that moved into that place.
void MergeNumericAlphanumeric(QrEncoder& qr, int group) {
    int n = qr.segment_count > 0 ? 0 : -1;
    while (n >= 0 && qr.segment_next[n] >= 0) {
        const int next = qr.segment_next[n];
        const int a = qr.segment_modes[n];
        const int b = qr.segment_modes[next];
        const bool pair = (a == kQrNumeric && b == kQrAlphanumeric) ||
                          (a == kQrAlphanumeric && b == kQrNumeric);
        if (!pair) {
            n = next;
            continue;
        }
        const int len_n = qr.segment_lengths[n];
        const int len_next = qr.segment_lengths[next];
        const int src = SegmentBits(qr, n, group) + SegmentBits(qr, next, group);
        const int dst = SegmentBitLength(kQrAlphanumeric, len_n + len_next, group);
        if (src <= dst) {
            n = next;
            continue;
        }
        const int before = qr.segment_prev[n];
        const int after = qr.segment_next[next];
        int front = 0;
        if (IsMode(qr, before, kQrByte)) {
            const int len_before = qr.segment_lengths[before];
            front = SegmentBitLength(kQrByte, len_before + len_n, group) +
                    SegmentBits(qr, next, group);
            if (front > dst + SegmentBitLength(kQrByte, len_before, group)) front = 0;
        }
        int behind = 0;
        if (IsMode(qr, after, kQrByte)) {
            const int len_after = qr.segment_lengths[after];
            behind = SegmentBits(qr, n, group) +
                     SegmentBitLength(kQrByte, len_next + len_after, group);
            if (behind > dst + SegmentBitLength(kQrByte, len_after, group)) behind = 0;
        }
        const bool join_front = front != 0 && (behind == 0 || front < behind);
        if (join_front) {
            AbsorbNext(qr, before);
            n = next;
        } else if (behind != 0) {
            qr.segment_modes[next] = kQrByte;
            AbsorbNext(qr, next);
        } else {
            if (IsMode(qr, after, kQrAlphanumeric)) AbsorbNext(qr, next);
            qr.segment_modes[n] = kQrAlphanumeric;
            AbsorbNext(qr, n);
            if (IsMode(qr, before, kQrAlphanumeric)) {
                AbsorbNext(qr, before);
                n = qr.segment_next[before];
            }
        }
    }
}

// Short runs between or beside 8-bit runs go into 8-bit when that is shorter.
void MergeIntoBytes(QrEncoder& qr, int group) {
    const int header8 = 4 + CountIndicatorBits(kQrByte, group);
    int n = qr.segment_count > 0 ? 0 : -1;
    while (n >= 0 && qr.segment_next[n] >= 0) {
        int next = qr.segment_next[n];
        const int src = SegmentBits(qr, n, group) + SegmentBits(qr, next, group);
        int dst = SegmentBitLength(kQrByte, qr.segment_lengths[n] + qr.segment_lengths[next],
                                   group);
        if (IsMode(qr, qr.segment_prev[n], kQrByte)) dst -= header8;
        if (IsMode(qr, qr.segment_next[next], kQrByte)) dst -= header8;
        if (dst >= src) {
            n = next;
            continue;
        }
        if (IsMode(qr, qr.segment_prev[n], kQrByte)) {
            n = qr.segment_prev[n];
            AbsorbNext(qr, n);
        }
        next = qr.segment_next[n];
        if (IsMode(qr, qr.segment_next[next], kQrByte)) AbsorbNext(qr, next);
        qr.segment_modes[n] = kQrByte;
        AbsorbNext(qr, n);
        if (qr.segment_prev[n] >= 0) n = qr.segment_prev[n];
    }
}

// Back from the list to segments 0 .. count-1 in order. The list only ever lost
// members, so it runs through rising indexes and every segment moves down or stays.
void CompactSegments(QrEncoder& qr) {
    int count = 0;
    for (int s = qr.segment_count > 0 ? 0 : -1; s >= 0; s = qr.segment_next[s]) {
        qr.segment_modes[count] = qr.segment_modes[s];
        qr.segment_lengths[count] = qr.segment_lengths[s];
        ++count;
    }
    qr.segment_count = count;
}

bool WriteSegments(QrEncoder& qr, const uint8_t* text, int group) {
    qr.data_bit_count = 0;
    const uint8_t* p = text;
    for (int s = 0; s < qr.segment_count; ++s) {
        const int mode = qr.segment_modes[s];
        const int len = qr.segment_lengths[s];
        const uint8_t* end = p + len;
        const int count = mode == kQrKanji ? len / 2 : len;
        const int count_bits = CountIndicatorBits(mode, group);
        // A count its indicator cannot hold would be read back as another count.
        if (count >= (1 << count_bits)) {
            qr.data_bit_count = -1;
            return false;
        }
        AppendBits(qr, kModeIndicator[mode], 4);
        AppendBits(qr, count, count_bits);
        switch (mode) {
        case kQrNumeric:
            for (; end - p >= 3; p += 3)
                AppendBits(qr, (p[0] - '0') * 100 + (p[1] - '0') * 10 + (p[2] - '0'), 10);
            if (end - p == 2) AppendBits(qr, (p[0] - '0') * 10 + (p[1] - '0'), 7);
            if (end - p == 1) AppendBits(qr, p[0] - '0', 4);
            break;
        case kQrAlphanumeric:
            for (; end - p >= 2; p += 2)
                AppendBits(qr, kAlphanumeric.value[p[0]] * 45 + kAlphanumeric.value[p[1]], 11);
            if (end - p == 1) AppendBits(qr, kAlphanumeric.value[p[0]], 6);
            break;
        case kQrByte:
            for (; p < end; ++p) AppendBits(qr, *p, 8);
            break;
        default:
            for (; p < end; p += 2) {
                uint32_t w = p[0] * 256u + p[1];
                w = (w - 0x8140 <= 0x1EBC) ? w - 0x8140 : w - 0xC140;
                AppendBits(qr, (w >> 8) * 0xC0 + (w & 0xFF), 13);
            }
            break;
        }
        p = end;
        if (qr.data_bit_count < 0) return false;
    }
    return true;
}

// The modes that can encode the character at text[pos]; a Kanji pair takes two bytes.
bool Encodes(int mode, const uint8_t* text, int pos, int length) {
    switch (mode) {
    case kQrNumeric: return text[pos] >= '0' && text[pos] <= '9';
    case kQrAlphanumeric: return kAlphanumeric.value[text[pos]] >= 0;
    case kQrByte: return true;
    default: return pos + 1 < length && IsKanjiPair(text[pos], text[pos + 1]);
    }
}

// A character's bits in sixths of a bit, so that the cost of every mode is whole.
constexpr int kCharacterSixths[4] = {20, 33, 48, 78};
constexpr int kNoMode = 4;  // before the first character

// The segmentation with the fewest bits into qr's segments; false when it has more than
// kQrMaxDataCodewords segments. Costs of three positions are kept at a time (a Kanji
// pair reaches two ahead); the way back is in qr.segment_from.
bool SegmentByFewestBits(QrEncoder& qr, const uint8_t* text, int length, int group) {
    constexpr int kNone = INT_MAX / 2;
    int cost[3][5];
    for (auto& position : cost)
        for (int& c : position) c = kNone;
    cost[0][kNoMode] = 0;
    for (int pos = 0; pos < length; ++pos) {
        const int* here = cost[pos % 3];
        for (int& c : cost[(pos + 2) % 3]) c = kNone;
        for (int mode = kQrNumeric; mode <= kQrKanji; ++mode) {
            if (!Encodes(mode, text, pos, length)) continue;
            const int header = 6 * (4 + CountIndicatorBits(mode, group));
            int best = kNone, from = kNoMode;
            for (int before = 0; before <= kNoMode; ++before) {
                if (here[before] >= kNone) continue;
                const int total = here[before] + (before == mode ? 0 : header);
                if (total < best) best = total, from = before;
            }
            if (best >= kNone) continue;
            const int end = pos + (mode == kQrKanji ? 2 : 1);
            int& there = cost[end % 3][mode];
            if (best + kCharacterSixths[mode] < there) {
                there = best + kCharacterSixths[mode];
                qr.segment_from[end][mode] = static_cast<uint8_t>(from);
            }
        }
    }
    int mode = kQrNumeric;
    for (int m = kQrAlphanumeric; m <= kQrKanji; ++m)
        if (cost[length % 3][m] < cost[length % 3][mode]) mode = m;
    // The way back gives the segments last first; they are turned round at the end.
    int count = 0;
    for (int pos = length; pos > 0;) {
        const int width = mode == kQrKanji ? 2 : 1;
        if (count == 0 || qr.segment_modes[count - 1] != mode) {
            if (count == kQrMaxDataCodewords) return false;
            qr.segment_modes[count] = static_cast<uint8_t>(mode);
            qr.segment_lengths[count++] = 0;
        }
        qr.segment_lengths[count - 1] += width;
        const int from = qr.segment_from[pos][mode];
        pos -= width;
        mode = from;
    }
    for (int a = 0, b = count - 1; a < b; ++a, --b) {
        const uint8_t m = qr.segment_modes[a];
        qr.segment_modes[a] = qr.segment_modes[b];
        qr.segment_modes[b] = m;
        const int32_t l = qr.segment_lengths[a];
        qr.segment_lengths[a] = qr.segment_lengths[b];
        qr.segment_lengths[b] = l;
    }
    qr.segment_count = count;
    return true;
}

int SmallestVersion(int bits, int level, int group) {
    const int need = (bits + 7) / 8;
    for (int v = kGroupFirstVersion[group]; v <= kGroupLastVersion[group]; ++v)
        if (QrVersionInfo[v].data_codewords[level] >= need) return v;
    return 0;
}

// Bits the segments 0 .. count-1 write in version group `group`, or -1 when WriteSegments
// would fail: a count too large for its indicator, or more than kQrMaxDataBits bits.
int StreamBits(const QrEncoder& qr, int group) {
    int bits = 0;
    for (int s = 0; s < qr.segment_count; ++s) {
        const int mode = qr.segment_modes[s];
        const int len = qr.segment_lengths[s];
        if ((mode == kQrKanji ? len / 2 : len) >= (1 << CountIndicatorBits(mode, group))) return -1;
        bits += SegmentBitLength(mode, len, group);
        if (bits > kQrMaxDataBits) return -1;
    }
    return bits;
}

// Fewer bits than any segmentation of the text takes, so that a version group too small
// for it is not tried: a digit costs at least 10/3 bits, an alphanumeric character 11/2,
// any other byte 13/2 (half a Kanji pair; a byte alone costs 8), indicators left out.
struct LeastSixthsTable {
    uint8_t sixths[256];  // of a bit, by byte value
};
constexpr LeastSixthsTable MakeLeastSixthsTable() {
    LeastSixthsTable t{};
    for (int c = 0; c < 256; ++c)
        t.sixths[c] = c >= '0' && c <= '9' ? 20 : kAlphanumeric.value[c] >= 0 ? 33 : 39;
    return t;
}
constexpr LeastSixthsTable kLeastSixths = MakeLeastSixthsTable();

int LeastDataBits(const uint8_t* text, int length) {
    long long sixths = 0;
    for (int i = 0; i < length; ++i) sixths += kLeastSixths.sixths[text[i]];
    return static_cast<int>((sixths + 5) / 6);
}

// Whether group `group` may hold `least` bits at `level`: its largest version does.
bool GroupMayHold(int least, int level, int group) {
    return least <= 8 * QrVersionInfo[kGroupLastVersion[group]].data_codewords[level];
}

// Classify and the two merges, back in segments 0 .. count-1; false when the text
// splits into more than kQrMaxDataCodewords segments.
bool MergedSegments(QrEncoder& qr, const uint8_t* text, int length, int group) {
    if (!Classify(qr, text, length)) return false;
    MergeNumericAlphanumeric(qr, group);
    MergeIntoBytes(qr, group);
    CompactSegments(qr);
    return true;
}

// The segments of the shortest stream of SegmentShortest, with its bit count; -1 when
// neither can be written.
int ShortestSegments(QrEncoder& qr, const uint8_t* text, int length, int group) {
    if (SegmentByFewestBits(qr, text, length, group)) {
        const int bits = StreamBits(qr, group);
        if (bits >= 0 && bits <= SegmentBitLength(kQrByte, length, group)) return bits;
    }
    qr.segment_count = 1;
    qr.segment_modes[0] = kQrByte;
    qr.segment_lengths[0] = length;
    return StreamBits(qr, group);
}

// The smallest version, over the groups that may hold the text, of the segments that
// `segments(group)` leaves in qr (it gives their bits, or -1 when they cannot be
// written); the stream is written only for the group chosen.
template <class Segments>
int ChooseVersionBy(QrEncoder& qr, const uint8_t* bytes, int length, Segments segments) {
    const int least = LeastDataBits(bytes, length);
    for (int group = kQrSmall; group <= kQrLarge; ++group) {
        if (!GroupMayHold(least, qr.level, group)) continue;
        const int bits = segments(group);
        if (bits < 0) continue;
        if (const int version = SmallestVersion(bits, qr.level, group)) {
            WriteSegments(qr, bytes, group);
            return version;
        }
    }
    return 0;
}

}  // namespace

int SegmentBitLength(int mode, int length, int group) {
    const int header = 4 + CountIndicatorBits(mode, group);
    switch (mode) {
    case kQrNumeric: {
        const int rest = length % 3;
        return header + 10 * (length / 3) + (rest == 1 ? 4 : rest == 2 ? 7 : 0);
    }
    case kQrAlphanumeric:
        return header + 11 * (length / 2) + 6 * (length % 2);
    case kQrByte:
        return header + 8 * length;
    default:
        return header + 13 * (length / 2);
    }
}

int AppendBits(QrEncoder& qr, uint32_t value, int n) {
    int count = qr.data_bit_count;
    if (count < 0 || count + n > kQrMaxDataBits) {
        qr.data_bit_count = -1;
        return -1;
    }
    while (n > 0) {
        // A byte is cleared when its first bit is written: no clearing in advance.
        if ((count & 7) == 0) qr.data_bits[count >> 3] = 0;
        const int free = 8 - (count & 7);
        const int take = n < free ? n : free;
        const uint32_t chunk = (value >> (n - take)) & ((1u << take) - 1);
        qr.data_bits[count >> 3] |= static_cast<uint8_t>(chunk << (free - take));
        n -= take;
        count += take;
    }
    qr.data_bit_count = count;
    return count;
}

bool SegmentSource(QrEncoder& qr, const char* text, int length, int group) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    if (!MergedSegments(qr, bytes, length, group)) {
        qr.data_bit_count = -1;
        return false;
    }
    return WriteSegments(qr, bytes, group);
}

int ChooseVersion(QrEncoder& qr, const char* text, int length) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    return ChooseVersionBy(qr, bytes, length, [&](int group) {
        return MergedSegments(qr, bytes, length, group) ? StreamBits(qr, group) : -1;
    });
}

bool SegmentShortest(QrEncoder& qr, const char* text, int length, int group) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    if (ShortestSegments(qr, bytes, length, group) < 0) {
        qr.data_bit_count = -1;
        return false;
    }
    return WriteSegments(qr, bytes, group);
}

int ChooseShortestVersion(QrEncoder& qr, const char* text, int length) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    return ChooseVersionBy(qr, bytes, length,
                           [&](int group) { return ShortestSegments(qr, bytes, length, group); });
}

namespace {

// Terminator (up to four zero bits), then 0xEC / 0x11 up to the data codeword count.
void FinishDataCodewords(QrEncoder& qr) {
    const int data_codewords = QrVersionInfo[qr.version].data_codewords[qr.level];
    const int room = 8 * data_codewords - qr.data_bit_count;
    if (room > 0) AppendBits(qr, 0, room < 4 ? room : 4);
    int byte = (qr.data_bit_count + 7) / 8;
    for (uint8_t pad = 0xEC; byte < data_codewords; ++byte, pad ^= 0xEC ^ 0x11)
        qr.data_bits[byte] = pad;
    qr.data_bit_count = 8 * data_codewords;
}

}  // namespace

QrEncoder& TheQrEncoder() {
    static QrEncoder encoder;
    return encoder;
}

int EncodeQr(QrEncoder& qr, int level, const char* text, int length) {
    qr.mask = -1;
    qr.level = level;
    if (level < kQrLevelL || level > kQrLevelH || text == nullptr) return 0;
    if (length < 1) length = static_cast<int>(strnlen(text, kQrMaxTextLength + 1));
    if (length < 1 || length > kQrMaxTextLength) return 0;
    qr.version = ChooseVersion(qr, text, length);
    if (qr.version == 0) qr.version = ChooseShortestVersion(qr, text, length);
    if (qr.version == 0) return 0;
    FinishDataCodewords(qr);
    InterleaveCodewords(qr);
    qr.size = 4 * qr.version + 17;
    BuildMatrix(qr);
    return 1;
}
