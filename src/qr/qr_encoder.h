// The program's own QR Code encoder (model 2, versions 1 to 40, levels L, M, Q, H;
// numeric, alphanumeric, 8-bit byte and Kanji modes). It turns a byte string into the
// module matrix of one symbol inside a single fixed-size record; drawing the matrix is
// the Windows side's business. Nothing here allocates.
#pragma once
#include <cstdint>

constexpr int kQrMaxDataCodewords = 2956;  // version 40-L
constexpr int kQrMaxCodewords = 3706;      // version 40, any level
constexpr int kQrMaxDataBits = 8 * kQrMaxDataCodewords;
constexpr int kQrMaxSize = 177;            // modules per side of version 40
constexpr int kQrMaxBlockCodewords = 153;  // longest block of any version and level
// No text longer than this fits any version: numeric, the densest mode, holds 7089
// digits in 40-L.
constexpr int kQrMaxTextLength = 7089;

enum QrLevel : int { kQrLevelL = 0, kQrLevelM = 1, kQrLevelQ = 2, kQrLevelH = 3 };
enum QrMode : uint8_t { kQrNumeric = 0, kQrAlphanumeric = 1, kQrByte = 2, kQrKanji = 3 };
// Version groups, which decide the lengths of the character count indicators.
enum QrGroup : int { kQrSmall = 0, kQrMedium = 1, kQrLarge = 2 };  // 1-9, 10-26, 27-40

struct QrBlockGroup {
    int blocks;     // number of blocks of this size (0 when the version has one size)
    int codewords;  // codewords per block, data and error correction
    int data;       // data codewords per block
};

struct QrVersionRow {
    int version;
    int total_codewords;
    int data_codewords[4];  // by level L, M, Q, H
    int alignment_count;    // coordinates listed below (0..6)
    int alignment[6];       // alignment-pattern centre coordinates, 6 itself omitted
    // By level; [0] the shorter blocks, [1] the longer ones.
    QrBlockGroup groups[4][2];
};

// Row 0 is empty; rows 1..40 hold the standard's codeword counts, block structure and
// alignment-pattern positions.
extern const QrVersionRow QrVersionInfo[41];

// Length in bits of the character count indicator of a mode in a version group.
int CountIndicatorBits(int mode, int group);

struct QrEncoder {
    int level;    // 0..3 = L, M, Q, H
    int version;  // 1..40
    int mask;     // 0..7, or -1 while it is to be chosen by penalty score
    int size;     // modules per side, 4 * version + 17
    int segment_count;
    uint8_t segment_modes[kQrMaxDataCodewords];     // QrMode of each segment
    int32_t segment_lengths[kQrMaxDataCodewords];   // source bytes (a Kanji counts 2)
    // Work area of the merge passes: the segments as a doubly linked list (-1 = none),
    // so that joining two is one step however long the list.
    int16_t segment_next[kQrMaxDataCodewords];
    int16_t segment_prev[kQrMaxDataCodewords];
    // Work area of the shortest segmentation: the mode of the character before text
    // position i when the character ending there is encoded in mode m ([i][m]).
    uint8_t segment_from[kQrMaxTextLength + 1][4];
    uint8_t data_bits[kQrMaxDataCodewords];         // most significant bit first
    int data_bit_count;                             // -1 after an overflow
    int codeword_count;                             // total codewords of the version
    uint8_t codewords[kQrMaxCodewords];             // interleaved final sequence
    uint8_t rs_work[kQrMaxBlockCodewords];
    // [x][y], x = column, y = row. While the symbol is built each cell holds the flags
    // below; after BuildMatrix each cell is 1 (dark) or 0 (light).
    uint8_t matrix[kQrMaxSize][kQrMaxSize];
};

// Cell flags while the matrix is built.
constexpr uint8_t kQrFunction = 0x20;
constexpr uint8_t kQrFunctionDark = 0x10;
constexpr uint8_t kQrDataDark = 0x02;    // before masking
constexpr uint8_t kQrMaskedDark = 0x01;  // after masking

// The program's one encoder record (about 90 KB), overwritten by every encode.
QrEncoder& TheQrEncoder();

// Encodes `length` bytes of `text` (Shift_JIS expected; any bytes are accepted) at
// `level` 0..3 into `qr`: smallest version that holds the data of the merged segments
// (ChooseVersion), or when they fit none, of the shortest stream (ChooseShortestVersion);
// mask by penalty score.
// A length below 1 means "up to the first zero byte".
// Returns 1 on success, with version, size, mask and the 0/1 matrix set; 0 for an
// empty text, a text longer than kQrMaxTextLength or splitting into more than
// kQrMaxDataCodewords segments, or data that fits no version at the level. After a
// failure the record holds nothing usable.
int EncodeQr(QrEncoder& qr, int level, const char* text, int length);

// Bits that one segment of `length` source bytes takes in version group `group`,
// mode indicator and count indicator included.
int SegmentBitLength(int mode, int length, int group);

// Splits the text into segments, merges them to shorten the stream and writes the data
// bit stream for version group `group`. False when the text splits into more than
// kQrMaxDataCodewords segments or the stream would pass kQrMaxDataBits bits.
bool SegmentSource(QrEncoder& qr, const char* text, int length, int group);

// Smallest version 1..40 whose data codewords at qr.level hold the text, leaving the
// stream of that version's group in the record; 0 when none does.
int ChooseVersion(QrEncoder& qr, const char* text, int length);

// The shortest data stream for version group `group`: of the segmentation with the
// fewest bits (by dynamic programming over the text, a digit counted 10/3 bits, an
// alphanumeric character 11/2, a Kanji pair 13, a byte 8, and a mode and count
// indicator for each segment) and the whole text as one 8-bit segment, the one that
// writes fewer bits. False when neither can be written (a segment count too large for
// its count indicator, more than kQrMaxDataCodewords segments, or more than
// kQrMaxDataBits bits).
bool SegmentShortest(QrEncoder& qr, const char* text, int length, int group);

// ChooseVersion over the shortest streams, for a text the merged segments do not fit.
int ChooseShortestVersion(QrEncoder& qr, const char* text, int length);

// Appends the low n (0..31) bits of value, most significant first, to the data bit
// stream (whatever lies past its count is overwritten). Returns the new bit count, or -1 (and the
// count becomes -1, nothing written) when the count already is -1 or would pass
// kQrMaxDataBits.
int AppendBits(QrEncoder& qr, uint32_t value, int n);

// Reed-Solomon remainder over GF(256) with the polynomial 0x11D. On entry work[0..d-1]
// hold a block's d data codewords and work[d..d+e-1] are zero; on return work[0..e-1]
// hold its e error-correction codewords, highest degree first. e is one of the
// generator sizes (7, 10, 13, 15..18, 20, 22, ..., 68); d + e <= kQrMaxBlockCodewords.
void ComputeBlockEcc(uint8_t* work, int d, int e);

// Exponents of alpha of the n coefficients of the generator polynomial of degree n
// below its leading term, highest degree first; nullptr for a degree without one.
const uint8_t* QrGeneratorExponents(int n);

// Splits the data codewords into the blocks of qr.version / qr.level, computes each
// block's error correction and writes the interleaved sequence to qr.codewords.
void InterleaveCodewords(QrEncoder& qr);

// Lays function patterns and the codeword sequence into the matrix, chooses the mask
// with the lowest penalty when qr.mask is -1, and leaves a 0/1 matrix.
void BuildMatrix(QrEncoder& qr);
void PlaceFunctionPatterns(QrEncoder& qr);
void PlaceVersionInfo(QrEncoder& qr);
void PlaceCodewords(QrEncoder& qr);
void ApplyMask(QrEncoder& qr, int m);
void PlaceFormatInfo(QrEncoder& qr, int m);
// Penalty of the matrix as built so far (flag cells, dark = cell & 0x11), higher is
// worse; the four rules of the standard, the balance term from the truncated
// percentage of light modules.
int ScorePenalty(const QrEncoder& qr);

// The 15-bit format word for a level and mask, and the 18-bit version word.
uint32_t QrFormatBits(int level, int mask);
uint32_t QrVersionBits(int version);
