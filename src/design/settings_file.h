// The settings file: the stored form of a CardDesign (design files ".ini", templates and
// the auto-save file). UTF-16 little-endian text starting with the byte-order mark, one
// key=value pair per CR LF line. This part only formats and parses; opening, writing and
// reporting belong to the Windows file layer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "design/card_design.h"
#include "design/template_design.h"
#include "design/text_decoding.h"

enum class SettingsValueKind {
    Integer,   // "%d"
    FontByte,  // a one-byte LogFont member, written 0..255, read as the low byte
    Text,      // a fixed-capacity string field, written as stored
    QrText,    // qrcode_data[k].s: CR written as U+0002 and LF as U+0003
};

// Which scope writes and reads a key: the card in both; the sheet grid is written in
// both but read only in Full; the environment is written and read only in Full. The
// two-sided keys are written in both scopes by a design with two-sided content
// (HasTwoSidedContent) and only by such a design, so a one-sided design writes its file
// as the program always has; they are read in both.
enum class SettingsGroup { Card, SheetGrid, Environment, TwoSided };

// The QR texts of a record: its own four, then its back's.
inline constexpr int kQrTextCount = 2 * kQrCount;

struct SettingsKey {
    std::u16string name;  // e.g. "mark_data[2].fm", "lf[14].lfFaceName"
    SettingsValueKind kind;
    SettingsGroup group;
    int capacity;  // text kinds: the field's capacity in units, terminator included; else 0
};

// Every key in the order of the written file: the 537 keys of a one-sided design, of
// which the 520 that are not environment keys make a Design file (the environment keys
// come after them), then the 515 two-sided keys: "back_on", "duplex", "duplex_device"
// and the back's 512 card keys ("back.base_w" ... "back.phot_data.fm", the card keys
// without the printed card size).
const std::vector<SettingsKey>& SettingsKeys();

// Number of lines of a file written in the scope by a one-sided design (520 for Design,
// 537 for Full) or a two-sided one (515 more).
std::size_t SettingsLineCount(SettingsScope scope, bool two_sided = false);

// The longest line the reader parses, in UTF-16 units before the line end. The longest
// line the writer produces (a full QR text) is well below it.
constexpr std::size_t kSettingsLineLimit = 512;

// Of an integer value only this many units are converted.
constexpr std::size_t kSettingsNumberLimit = 31;

// The whole file as UTF-16 units: U+FEFF first, then one "key=value" CR LF line per key
// of the scope (Full: all 537; Design: all but the environment, 520; the two-sided keys
// after them when the design has two-sided content). Integers "%d";
// font bytes 0..255; strings exactly as stored up to their terminator (a field without
// terminator gives its whole capacity); in each QR text CR becomes U+0002 and LF U+0003,
// the design keeps its line breaks. A CR or LF inside any other string is written as it
// is and splits the line, so only such a design does not read back as it was written.
std::u16string FormatSettingsFile(const CardDesign& design, SettingsScope scope);

// The same content as the bytes of the file: FF FE, then every unit little-endian.
std::vector<std::uint8_t> SettingsFileBytes(const CardDesign& design, SettingsScope scope);

enum class SettingsReadStatus {
    Read,        // the file was text and its lines were applied
    Empty,       // the file held no bytes at all
    Unreadable,  // not text this program reads (another encoding, binary data), or text in
                 // which no line names a key: not a settings file, to be kept, not replaced
};

// Reads a settings file given in pieces, in the order of the file, into a design or into
// a template. Constructing it resets the record it reads into (ResetDesign with the
// scope, or ResetTemplate), so a file that cannot be opened, is refused or lacks keys
// leaves those defaults.
//
// Text: UTF-16 little-endian after its byte-order mark, as written, or UTF-8 with or
// without a byte-order mark (TextDecoder). A UTF-8 file is applied only once it is known
// to be well-formed, so an unreadable file leaves the load defaults.
//
// Lines: a line ends at CR LF, at a lone LF or at a lone CR, so files whose line ends an
// editor or a transfer changed read the same; an empty line is ignored. Text after the
// last line end (a final line without one) is not parsed: a file cut short by a failed
// write must not leave a truncated value. Of a line longer than kSettingsLineLimit
// units only the first kSettingsLineLimit are parsed (the rest up to its end is dropped),
// so a long value is cut there and then to its field.
//
// Each line: the text before its first "=" is the key, matched exactly (case-sensitive)
// against the key table; a line without "=" or with an unknown key is ignored; a key that
// occurs again replaces the earlier value. In Design scope only Card keys are applied; a
// template takes the Card keys it holds (all but base_pw and base_ph).
// Integer values: the first kSettingsNumberLimit units are converted by ParseWholeNumber
// (leading tabs, LF, VT, FF, CR, spaces and ideographic spaces U+3000, an optional sign,
// decimal digits up to the first other unit; no digits give 0; beyond the int range the
// result saturates); font bytes keep the low byte.
// Strings go through SetText: the field is cleared over its whole capacity and the value
// cut to capacity - 1 units. Before each line is applied, U+0002 and U+0003 in a QR text
// read by an earlier line turn back into CR and LF; a QR text on the very last parsed line
// thus keeps U+0002 / U+0003 (the writer never puts it last).
struct SettingsFieldTable;

class SettingsFileReader {
public:
    SettingsFileReader(CardDesign& design, SettingsScope scope);
    explicit SettingsFileReader(TemplateDesign& templ);
    ~SettingsFileReader();
    SettingsFileReader(const SettingsFileReader&) = delete;
    SettingsFileReader& operator=(const SettingsFileReader&) = delete;

    // Takes the next bytes of the file; any split into pieces gives the same result.
    // Returns false once the file is known to be unreadable (further bytes are ignored).
    bool Feed(std::span<const std::uint8_t> bytes);

    // After the last piece: what the file was.
    SettingsReadStatus Finish();

private:
    void TakeUnits(std::u16string& units);
    void EndLine();
    void ParseLine(std::u16string_view line);

    const SettingsFieldTable& table_;  // where each key's field lies in the record
    char* record_;                            // the record read into
    SettingsScope scope_;
    TextDecoder decoder_;
    std::u16string decoded_;  // units handed out by the decoder, not yet taken
    bool after_cr_ = false;   // the last unit taken was a CR, so an LF now ends no line
    bool any_text_ = false;   // a line held more than white space
    bool any_key_ = false;    // a line named a key
    int encoded_qr_ = -1;     // the QR text the last line read, still holding U+0002 / U+0003
    char16_t line_[kSettingsLineLimit + 1] = {};
    std::size_t line_units_ = 0;  // units kept of the current line, at most limit + 1
};

// The whole file at once.
SettingsReadStatus ReadSettingsBytes(CardDesign& design, SettingsScope scope,
                                     std::span<const std::uint8_t> file);
SettingsReadStatus ReadTemplateBytes(TemplateDesign& templ, std::span<const std::uint8_t> file);
