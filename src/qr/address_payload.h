// The mobile-phone address-book payload of a QR entry ("MEMORY:", "NAME1:", "TEL1:" ...)
// and the search of the card's texts for telephone numbers and mail addresses that
// fills the address dialog. No Windows header is needed here.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "design/card_design.h"

// Characters the QR text `s` holds, and bytes of it that a symbol takes once converted
// to code page 932 (Shift_JIS).
inline constexpr int kQrTextLimit = 287;
inline constexpr int kQrByteLimit = 255;

// Bytes text takes in code page 932, counted without a conversion table: a unit below
// U+0080 is one byte, a half-width katakana U+FF61..U+FF9F one byte, every other unit two.
// This is exact for text that code page 932 holds, and an upper bound for anything else
// (a character it lacks becomes one '?', a surrogate pair counts four), so a text that
// measures within a limit converts within it.
int ShiftJisLength(std::u16string_view text);

// Replaces entry.s with the ten lines, each ended by CR LF:
//   MEMORY:  NAME1:sn  NAME2:sy  MAIL1:sm1  MAIL2:sm2  MAIL3:sm3  TEL1:st1  TEL2:st2
//   TEL3:st3  ADD:sa
// Empty fields keep their line with an empty value. When the lines would take more than
// kQrByteLimit bytes by ShiftJisLength (and so possibly more than kQrTextLimit
// characters), the longest value by that measure loses its last character, the first
// of equally long ones, until they fit; keys and line breaks are never cut, so all ten
// lines are always present. The contact fields themselves keep their full values.
void BuildAddressPayload(QrcodeData& entry);

// What the address dialog's automatic fill puts into its controls.
struct AutoAddress {
    std::u16string name;                  // text item 2, the name line of the card
    std::u16string address;               // text item 3, the address line
    std::array<std::u16string, 3> tel;    // digits only; empty where none was found
    std::array<std::u16string, 3> mail;   // at most two are found; the third stays empty
};

// The card's texts as the search reads them: text item i of the design converted to code
// page 932 (the Windows side converts; the search works on those bytes because the
// lead-byte rule below is a rule about Shift_JIS bytes).
using ShiftJisTexts = std::array<std::string, kTextCount>;

// Fills AutoAddress from the card:
// - Telephone numbers: in each text in item order, digits form a run, '(' ')' '-' are
//   passed over, any other byte ends the run. At a run's end and at the end of each
//   text, a run of exactly 10 digits is taken, or of exactly 11 digits while fewer than
//   two numbers are taken; at most three numbers are taken.
// - Mail addresses: a byte ends the run, and belongs to none, when it is at most 0x20 or
//   above 0x7E, or when the byte before it in the text is a Shift_JIS lead byte value
//   (0x81..0x9F, 0xE0..0xFC), so the second byte of a double-byte character (the
//   ideographic space is 0x81 0x40, an at sign as second byte) never joins an address.
//   A run with an at sign and a full stop and more than three characters is taken
//   while fewer than two are taken.
// name and address are the design's text items 2 and 3 as they are.
AutoAddress AutoSetAddress(const CardDesign& design, const ShiftJisTexts& texts);
