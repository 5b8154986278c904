// The list editor's row rules, kept apart from its list view so that they hold for any
// list of rows: what a copied or moved row becomes, and how selected rows move.
#pragma once
#include <span>
#include <vector>

#include "list/list_file.h"

// A row as the record buffer holds it: the copies (field 1) as the decimal of the leading
// number of its first 30 units ("abc" gives "0"), every string cut to kListFieldUnits
// units (never between the halves of a surrogate pair); the template name as it is.
ListRow BufferedRecord(ListRow row);

// Two rows whose texts are exchanged.
struct RowSwap {
    int row;    // the selected row, whose text becomes its record as the buffer holds it
    int other;  // its neighbour, row + step, whose text moves unchanged
};

// The exchanges that move every selected row one place up (step -1) or down (step +1):
// selected holds distinct indexes in list order, each within 0..count - 1. None when
// nothing is selected or a selected row already stands at the end it would leave by.
// Done in the order given, they leave each selected row at its index + step and every
// other row in its order; an exchange only rewrites texts of existing rows, so no step
// can lose one.
std::vector<RowSwap> RowMoveSwaps(std::span<const int> selected, int count, int step);
