// The list of people printed in a batch: rows of a template name, a copy count and
// fifteen strings, kept as a comma-separated file ("listview.ini" and the user's ".csv"
// files). This part formats and parses; the list editor opens, writes and reports.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "design/card_design.h"

// Fields of a row, which are also the columns of the list editor: 0 the template file
// name (in the "temp" folder), 1 the copies, 2..16 the strings of text items 0..14.
inline constexpr int kListFields = 17;
inline constexpr int kListStringBase = 2;
using ListRow = std::array<std::u16string, kListFields>;

// Units of a field the file keeps; longer cell texts are cut when written.
inline constexpr std::size_t kListFieldUnits = 62;
// Units of the template name the file keeps: the longest name that still fits a
// record's template path ("temp\" + name), so a usable name is never cut.
inline constexpr std::size_t kListNameUnits = 254;
// Units of one record the reader keeps; the rest of a longer record is dropped. The
// longest record the writer produces (every field quoted and full of quotes) fits.
inline constexpr std::size_t kListRecordUnits = 4096;

// One record: the template name cut to kListNameUnits and every other field to
// kListFieldUnits (never between the halves of a surrogate pair), joined by ",", ended
// by CR LF. A field holding ",", '"', CR or LF, or starting with U+FEFF, is
// written between quotes with its quotes doubled; any other field is written as it is.
std::u16string FormatListRecord(const ListRow& row);

// The whole file: the records in order as UTF-16 little-endian bytes, no byte-order mark.
std::vector<std::uint8_t> ListFileBytes(std::span<const ListRow> rows);

enum class ListEncoding { Utf16, Utf8, ShiftJis };

// How a list file's bytes are to be read: FF FE starts UTF-16LE; otherwise a file holding
// a zero byte is UTF-16LE (the program's own files, which have no mark: every comma and
// line end has one), then EF BB BF starts UTF-8, a valid UTF-8 file is UTF-8, anything
// else Shift_JIS.
ListEncoding DetectListEncoding(std::span<const std::uint8_t> bytes);

// Turns Shift_JIS bytes into UTF-16; supplied by the caller (the system's code page 932).
using ShiftJisDecoder = std::u16string (*)(std::span<const std::uint8_t> bytes);

// The text of a list file, its byte-order mark removed (and any more marks right after it). Invalid UTF-8 sequences become
// U+FFFD; a trailing odd byte of UTF-16 is ignored.
std::u16string DecodeListText(std::span<const std::uint8_t> bytes, ShiftJisDecoder shift_jis);

// Whether decoded list text is text at all: no control character but tab, CR and LF, no
// U+FFFE / U+FFFF and no half of a surrogate pair alone. Binary data read as UTF-16 or
// Shift_JIS fails this almost at once; a list any editor wrote passes.
bool IsListText(std::u16string_view text);

// Parses list text into rows. Records end at LF outside quoted fields; the unit before
// that LF is dropped only when it is CR; a last record without LF is read too. A field
// that starts with '"' is quoted when its closing quote (the next lone '"'; "" stands for
// one quote) is followed by a comma, a line end or the end of the text and lies within
// the first kListRecordUnits units of the record: it may then hold commas and line
// breaks. Any other field, `"ABC"商事` or an unmatched '"' among them, is read literally
// up to the next comma or line end, so a stray quote never joins the following lines.
// Of a record only the first kListRecordUnits units are kept. Fields past the
// seventeenth are dropped; missing ones are empty. A record whose fields are all empty
// (a blank line) gives no row; any other record gives a row, even with an empty template
// name, so no later row shifts.
std::vector<ListRow> ParseListText(std::u16string_view text);

// The ".csv" extension forced on a chosen path: the file-name part (after the last '\'
// or '/') is cut at its last '.', then ".csv" is appended. "2024.05.顧客.txt" gives
// "2024.05.顧客.csv"; "list" gives "list.csv"; a '.' in a folder name is left alone.
std::u16string ForceCsvExtension(std::u16string_view path);

// The folder of the templates, as a prefix of relative paths.
inline constexpr char16_t kTemplatePrefix[] = u"temp\\";

// Units of a record's template path, terminator included.
inline constexpr std::size_t kTemplatePathUnits = 260;

enum class TemplateNameCheck {
    Ok,
    Empty,
    LeavesFolder,  // holds '\', '/', ':' or ".."
    TooLong,       // "temp\" + name does not fit kTemplatePathUnits
};

// Whether a row's template name may name a file in "temp\": the name alone, no folder.
TemplateNameCheck CheckTemplateName(std::u16string_view name);

// One record of the print queue of a batch.
struct ListRecord {
    char16_t path[kTemplatePathUnits];  // "temp\" + the template name
    int copies;                         // may be 0 or negative: prints nothing
    char16_t strings[kTextCount][64];   // at most kListFieldUnits units each
};

inline constexpr int kPrintQueueCapacity = 99;

struct PrintQueue {
    ListRecord records[kPrintQueueCapacity];
    int count;
};

enum class QueueFillStatus {
    Filled,
    NothingSelected,
    TooManyRows,  // the list holds more than kPrintQueueCapacity rows
    BadName,      // the selected row at bad_row has a template name CheckTemplateName refuses
};

struct QueueFill {
    QueueFillStatus status;
    int bad_row = -1;  // index into selected
    TemplateNameCheck check = TemplateNameCheck::Ok;
};

// Fills the queue from the selected rows, in order, when the list holds at most
// kPrintQueueCapacity rows (list_rows) and every selected template name passes
// CheckTemplateName. Copies are the leading number of the first 30 units of field 1
// ("abc" 0, "-3" -3); the strings keep at most kListFieldUnits units. On any other
// status the queue count is 0.
QueueFill FillPrintQueue(std::span<const ListRow> selected, int list_rows, PrintQueue& queue);
