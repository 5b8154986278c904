// Text of the design meeting GDI: fonts from the stored font records and the QR text in
// Shift_JIS (code page 932), whatever language the system is set to.
#pragma once
#include <windows.h>

#include "design/card_design.h"

LOGFONTW ToLogFontW(const LogFont& font);
LogFont FromLogFontW(const LOGFONTW& font);

// A new font for the record (the caller owns it); nullptr when the system refuses.
HFONT CreateDesignFont(const LogFont& font);

// Converts a QR text (up to its terminator) into out in code page 932 without best-fit
// mapping: the program's texts are Japanese, and a system set to another language would
// turn every Japanese character into "?" in its own code page. out is zero-filled over its capacity first and always stays
// zero-terminated: a text whose conversion does not fit is cut at the last whole character
// that fits. Returns the byte length without terminator (0 for an empty text).
int QrTextToShiftJis(const char16_t (&text)[288], char* out, int capacity);
