// The contact payloads of a QR entry (the mobile-phone address book "MEMORY:", "NAME1:",
// "TEL1:" ..., MECARD and vCard, which phone cameras add to the contacts) and the search of the card's texts for telephone numbers and mail addresses that
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

// The contact formats the address dialog writes.
enum class AddressFormat {
    // The mobile-phone address book, ten lines each ended by CR LF:
    //   MEMORY:  NAME1:sn  NAME2:sy  MAIL1:sm1  MAIL2:sm2  MAIL3:sm3  TEL1:st1  TEL2:st2
    //   TEL3:st3  ADD:sa
    // Empty fields keep their line with an empty value; values are written as they are.
    kAu,
    // One line, no line break: MECARD:N:sn;SOUND:sy;TEL:st1;TEL:st2;TEL:st3;EMAIL:sm1;
    // EMAIL:sm2;EMAIL:sm3;ADR:sa;;  An empty field leaves out its whole "KEY:value;".
    // ';' ':' ',' and '\' in values are escaped with '\'.
    kMecard,
    // vCard 3.0, lines ended by CR LF: BEGIN:VCARD, VERSION:3.0, N:family;given;;;
    // (sn split at its first space, U+0020 or the ideographic U+3000; spaces around
    // either part dropped; no space puts the whole name in family), FN:sn, then only
    // for non-empty fields SORT-STRING:sy, TEL:st1..3, EMAIL:sm1..3, ADR:;;sa;;;;
    // (the whole address as the street), END:VCARD. N and FN are always there (a vCard
    // needs both), empty when sn is. ';' ',' '\' in values are escaped with '\', a
    // line break (CR LF, CR or LF) is written "\n".
    kVcard,
};

// The format a QR text already holds: kMecard when it starts with "MECARD:", kVcard when
// it starts with "BEGIN:VCARD", kAu for anything else (an empty text too).
AddressFormat AddressFormatOf(std::u16string_view text);

// Replaces entry.s with the payload of the nine contact fields in format. When the
// payload would take more than kQrByteLimit bytes by ShiftJisLength (and so possibly more
// than kQrTextLimit characters), the value that takes most bytes as written in the
// payload loses its last character (the first of equally long ones in the order sn, sy,
// sm1..3, st1..3, sa) and the payload is built again, until it fits. A cut takes a whole
// character, a surrogate pair whole, before escaping, so no escape and no double-byte
// character is ever split; keys, separators and line breaks are never cut. The contact
// fields themselves keep their full values.
void BuildAddressPayload(QrcodeData& entry, AddressFormat format);

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
// - Mail addresses: each text is walked from its start, a lead byte (0x81..0x9F,
//   0xE0..0xFC) taking the byte after it as its trail byte, whatever that byte's value
//   (the ideographic space is 0x81 0x40, an at sign as trail byte; ル is 0x83 0x8B, a
//   lead value as trail byte). A double-byte character belongs to no address. Around each
//   at sign the address is the letters, digits and ". _ % + -" before it and the
//   letters, digits, "-" and "." after it, less leading and trailing punctuation, and is
//   taken only when both parts remain and the domain holds a full stop. Of addresses that
//   overlap (sharing characters) the longest is taken, the first of equally long ones.
//   Addresses are taken in text order while fewer than two are taken.
// name and address are the design's text items 2 and 3 as they are.
AutoAddress AutoSetAddress(const CardDesign& design, const ShiftJisTexts& texts);
