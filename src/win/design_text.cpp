#include "win/design_text.h"

#include <cstring>

#include "design/fixed_text.h"
#include "win/wide.h"

namespace {
constexpr UINT kShiftJisCodePage = 932;
}

static_assert(sizeof(LogFont) == sizeof(LOGFONTW));
static_assert(offsetof(LogFont, lfFaceName) == offsetof(LOGFONTW, lfFaceName));
static_assert(offsetof(LogFont, lfPitchAndFamily) == offsetof(LOGFONTW, lfPitchAndFamily));

LOGFONTW ToLogFontW(const LogFont& font) {
    LOGFONTW out;
    std::memcpy(&out, &font, sizeof(out));
    out.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return out;
}

LogFont FromLogFontW(const LOGFONTW& font) {
    LogFont out;
    std::memcpy(&out, &font, sizeof(out));
    out.lfFaceName[LF_FACESIZE - 1] = u'\0';
    return out;
}

HFONT CreateDesignFont(const LogFont& font) {
    const LOGFONTW record = ToLogFontW(font);
    return CreateFontIndirectW(&record);
}

int QrTextToShiftJis(const char16_t (&text)[288], char* out, int capacity) {
    if (capacity <= 0) return 0;
    std::memset(out, 0, capacity);
    int units = static_cast<int>(TextLength(text));
    if (units == 0) return 0;
    // Cut whole characters until the conversion fits with its terminator; a surrogate
    // pair is never split.
    for (;;) {
        const int needed = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, W(text), units,
                                               nullptr, 0, nullptr, nullptr);
        if (needed <= 0) return 0;
        if (needed < capacity) {
            WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, W(text), units, out, needed,
                                nullptr, nullptr);
            return needed;
        }
        --units;
        if (units > 0 && text[units] >= 0xDC00 && text[units] <= 0xDFFF) --units;
        if (units <= 0) return 0;
    }
}
