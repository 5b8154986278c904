#include "editors/text_page.h"

#include <climits>
#include <cstdint>

#include "design/fixed_text.h"
#include "design/numbers.h"
#include "design/saturating.h"

namespace {

constexpr int kVerticalAngle = -900;
constexpr std::size_t kNumberChars = 31;

constexpr const char16_t* kCaptions[kTextCount] = {
    u"会社名",   u"部署名",   u"名前",     u"住所",     u"電話番号",
    u"ハンドル名", u"e-Mail", u"部署名２", u"部署名３", u"ホームページ",
    u"その他１", u"その他２", u"その他３", u"その他４", u"その他５",
};

}  // namespace

const char16_t* TextItemCaption(int item) {
    return item >= 0 && item < kTextCount ? kCaptions[item] : u"";
}

bool IsVertical(const LogFont& font) {
    return font.lfEscapement == kVerticalAngle || font.lfOrientation == kVerticalAngle;
}

void SetVertical(LogFont& font, bool vertical) {
    font.lfEscapement = vertical ? kVerticalAngle : 0;
    font.lfOrientation = vertical ? kVerticalAngle : 0;
}

void StoreTextRow(StrData& item, LogFont& font, const TextRowInput& row) {
    item.on = row.on ? 1 : 0;
    item.x = ParseWholeNumber(row.x.substr(0, kNumberChars));
    item.y = ParseWholeNumber(row.y.substr(0, kNumberChars));
    item.bk = row.bk ? 1 : 0;
    const bool was_empty = TextLength(item.s64) == 0;
    if (was_empty && !row.text.empty()) item.on = 1;
    SetText(item.s64, row.text);
    if (TextLength(item.s64) == 0) item.on = 0;
    SetVertical(font, row.vertical);
}

void ClampIntoCard(StrData& item, bool vertical, int cx, int cy, int card_w, int card_h) {
    // In 64 bits: a measured extent and a card size may each be anywhere in the int range.
    const long long across = vertical ? cy : cx;
    const long long down = vertical ? cx : cy;
    if (item.x < 0) item.x = 0;
    if (item.x > card_w - across) item.x = SaturateToInt(card_w - across);
    if (item.y < 0) item.y = 0;
    if (item.y > card_h - down) item.y = SaturateToInt(card_h - down);
}

SamplePoint SampleOrigin(int row, bool vertical) {
    return {vertical ? SaturateToInt(284 + 28LL * row) : 260, SaturateToInt(6 + 72LL * row)};
}
