#include "list/list_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

ListRow Named(int i) {
    ListRow row;
    row[0] = u"t.tep";
    row[1] = u"1";
    row[4] = std::u16string(1, static_cast<char16_t>(u'A' + i));
    return row;
}

// The rows after the exchanges, done the way the list editor does them.
std::vector<ListRow> Moved(std::vector<ListRow> rows, const std::vector<int>& selected, int step) {
    for (const RowSwap& swap : RowMoveSwaps(selected, static_cast<int>(rows.size()), step)) {
        ListRow moved = BufferedRecord(rows[swap.row]);
        rows[swap.row] = std::move(rows[swap.other]);
        rows[swap.other] = std::move(moved);
    }
    return rows;
}

// What a move means: each selected row one place on, the others in their order around it.
std::vector<ListRow> Expected(const std::vector<ListRow>& rows, const std::vector<int>& selected, int step) {
    std::vector<ListRow> result(rows.size());
    std::vector<bool> taken(rows.size(), false);
    for (int row : selected) {
        result[row + step] = rows[row];
        taken[row + step] = true;
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (std::find(selected.begin(), selected.end(), static_cast<int>(i)) != selected.end()) continue;
        while (taken[next]) ++next;
        result[next++] = rows[i];
    }
    return result;
}

TEST(ListRows, EverySelectionOfASmallListMovesAsOneStepAndLosesNoRow) {
    for (int count = 1; count <= 7; ++count) {
        std::vector<ListRow> rows;
        for (int i = 0; i < count; ++i) rows.push_back(Named(i));
        for (unsigned mask = 1; mask < (1u << count); ++mask) {
            std::vector<int> selected;
            for (int i = 0; i < count; ++i)
                if (mask & (1u << i)) selected.push_back(i);
            for (int step : {-1, +1}) {
                const bool at_end = step < 0 ? selected.front() == 0 : selected.back() == count - 1;
                const auto after = Moved(rows, selected, step);
                EXPECT_EQ(after, at_end ? rows : Expected(rows, selected, step)) << count << " rows, mask " << mask
                                                                                 << ", step " << step;
            }
        }
    }
    EXPECT_TRUE(RowMoveSwaps({}, 3, 1).empty());
}

TEST(ListRows, AMovedRowIsHeldAsTheRecordBufferHoldsIt) {
    ListRow row = Named(0);
    row[1] = u"  12枚";
    row[2] = std::u16string(61, u'y') + u"\U0001F600";
    row[3] = std::u16string(70, u'z');
    const ListRow held = BufferedRecord(row);
    EXPECT_EQ(held[0], u"t.tep");
    EXPECT_EQ(held[1], u"12");
    EXPECT_EQ(held[2], std::u16string(61, u'y'));
    EXPECT_EQ(held[3], std::u16string(62, u'z'));
    row[1] = u"abc";
    EXPECT_EQ(BufferedRecord(row)[1], u"0");
    // Its neighbour moves unchanged.
    std::vector<ListRow> rows{Named(0), row};
    const auto after = Moved(rows, {0}, +1);
    EXPECT_EQ(after[0], row);
    EXPECT_EQ(after[1], Named(0));
}

}  // namespace
