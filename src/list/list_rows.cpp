#include "list/list_rows.h"

#include <string>

#include "design/numbers.h"

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

ListRow BufferedRecord(ListRow row) {
    const std::string copies = std::to_string(ParseWholeNumber(std::u16string_view(row[1]).substr(0, 30)));
    row[1].assign(copies.begin(), copies.end());
    for (int k = kListStringBase; k < kListFields; ++k) {
        std::u16string& field = row[k];
        if (field.size() <= kListFieldUnits) continue;
        field.resize(IsHighSurrogate(field[kListFieldUnits - 1]) ? kListFieldUnits - 1 : kListFieldUnits);
    }
    return row;
}

std::vector<RowSwap> RowMoveSwaps(std::span<const int> selected, int count, int step) {
    std::vector<RowSwap> swaps;
    if (selected.empty() || (step < 0 && selected.front() == 0) || (step > 0 && selected.back() == count - 1))
        return swaps;
    swaps.reserve(selected.size());
    // Moving up, the rows go from the top, so a row's upper neighbour has already moved
    // on when it is selected too; moving down, from the bottom.
    if (step < 0)
        for (int row : selected) swaps.push_back({row, row - 1});
    else
        for (auto row = selected.rbegin(); row != selected.rend(); ++row) swaps.push_back({*row, *row + 1});
    return swaps;
}
