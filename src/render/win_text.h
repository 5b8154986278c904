// Text of the design meeting GDI: fonts from the stored font records and the QR text in
// the thread's ANSI code page.
#pragma once
#include <windows.h>

#include "design/card_design.h"

LOGFONTW ToLogFontW(const LogFont& font);
LogFont FromLogFontW(const LOGFONTW& font);

// A new font for the record (the caller owns it); nullptr when the system refuses.
HFONT CreateDesignFont(const LogFont& font);

// Converts a QR text (up to its terminator) into out in the thread's ANSI code page
// without best-fit mapping. out is zero-filled over its capacity first and always stays
// zero-terminated: a text whose conversion does not fit is cut at the last whole character
// that fits. Returns the byte length without terminator (0 for an empty text).
int QrTextToAnsi(const char16_t (&text)[288], char* out, int capacity);
