#include "editors/mark_rows.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "design/fixed_text.h"
#include "design/numbers.h"

namespace {

constexpr std::size_t kNumberChars = 31;

int ReadNumber(std::u16string_view text) { return ParseWholeNumber(text.substr(0, kNumberChars)); }

// The size along one side of the card: at least 1, at most the card's side when it has one.
long long SideSize(long long size, long long card) { return std::max(1LL, std::min(size, card)); }

// The position along one side that keeps size units on the card.
long long SidePosition(long long position, long long size, long long card) {
    return std::max(0LL, std::min(position, card - size));
}

}  // namespace

void StoreMarkRow(MarkData& mark, const MarkRowInput& row, int card_w, int card_h) {
    mark.on = row.on ? 1 : 0;
    mark.x = ReadNumber(row.x);
    mark.y = ReadNumber(row.y);
    mark.w = ReadNumber(row.w);
    mark.h = ReadNumber(row.h);
    mark.m = row.m ? 1 : 0;
    if (row.path.size() < std::size(mark.fm)) SetText(mark.fm, row.path);
    ClampMarkOntoCard(mark, card_w, card_h);
}

void ClampMarkOntoCard(MarkData& mark, int card_w, int card_h) {
    // In 64 bits, so that card_w - w cannot overflow whatever was typed.
    const long long w = SideSize(mark.w, card_w);
    const long long h = SideSize(mark.h, card_h);
    mark.w = static_cast<int>(w);
    mark.h = static_cast<int>(h);
    mark.x = static_cast<int>(SidePosition(mark.x, w, card_w));
    mark.y = static_cast<int>(SidePosition(mark.y, h, card_h));
}

DeviceRect MarkPreviewRect(int mark, int picture_w, int picture_h) {
    return {kMarkPreviewLeft, kMarkPreviewTop + kMarkPreviewPitch * mark,
            std::min(picture_w, kMarkPreviewWidth), std::min(picture_h, kMarkPreviewHeight)};
}
