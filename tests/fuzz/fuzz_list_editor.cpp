// The list editor's row commands over random rows and random sequences of selection,
// copy, paste, append, move and delete: done the way the editor does them on its list
// view (row texts exchanged, marks set afterwards), the rows are always those of a plain
// model of what each command means, and no row is ever lost or made up.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "list/list_rows.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A row told apart by its number, with copies and strings that the record buffer changes
// (non-numbers, long strings, a surrogate pair at the cut).
ListRow MakeRow(int number, Bytes& bytes) {
    ListRow row;
    row[0] = u"t" + std::u16string(1, static_cast<char16_t>(u'A' + number % 26)) + u".tep";
    const std::uint8_t shape = bytes.Next();
    row[1] = shape & 1 ? u"x" : shape & 2 ? u"  12枚" : u"3";
    row[2] = std::u16string(1, static_cast<char16_t>(0x4E00 + number));
    if (shape & 4) row[3] = std::u16string(61 + shape % 5, u'y') + u"\U0001F600";
    if (shape & 8) row[16] = std::u16string(shape % 90, u'z');
    return row;
}

// The editor's side: the rows as the list view holds them and each row's mark.
struct Editor {
    std::vector<ListRow> rows;
    std::vector<bool> marked;
    ListRow buffer;

    std::vector<int> Selected() const {
        std::vector<int> selected;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (marked[i]) selected.push_back(static_cast<int>(i));
        return selected;
    }
    void Copy() {
        const std::vector<int> selected = Selected();
        if (selected.empty()) return;
        buffer = BufferedRecord(rows[static_cast<std::size_t>(selected.front())]);
        marked.assign(rows.size(), false);
    }
    void Paste() {
        const std::vector<int> selected = Selected();
        if (selected.empty() || buffer[0].empty()) return;
        for (int row : selected) rows[static_cast<std::size_t>(row)] = buffer;
        marked.assign(rows.size(), false);
    }
    void Append() {
        if (buffer[0].empty()) return;
        rows.push_back(buffer);
        marked.push_back(false);
    }
    void Delete() {
        const std::vector<int> selected = Selected();
        for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
            rows.erase(rows.begin() + *row);
            marked.erase(marked.begin() + *row);
        }
    }
    void Move(int step) {
        const std::vector<int> selected = Selected();
        const std::vector<RowSwap> swaps = RowMoveSwaps(selected, static_cast<int>(rows.size()), step);
        if (swaps.empty()) return;
        for (const RowSwap& swap : swaps) {
            buffer = BufferedRecord(rows[static_cast<std::size_t>(swap.row)]);
            const ListRow other = rows[static_cast<std::size_t>(swap.other)];
            rows[static_cast<std::size_t>(swap.other)] = buffer;
            rows[static_cast<std::size_t>(swap.row)] = other;
        }
        marked.assign(rows.size(), false);
        for (int row : selected) marked[static_cast<std::size_t>(row + step)] = true;
    }
};

// The model: what each command means, written without the exchanges.
struct Model {
    std::vector<ListRow> rows;
    std::vector<bool> marked;
    ListRow buffer;

    void Move(int step) {
        const int count = static_cast<int>(rows.size());
        std::vector<int> selected;
        for (int i = 0; i < count; ++i)
            if (marked[static_cast<std::size_t>(i)]) selected.push_back(i);
        if (selected.empty() || (step < 0 && selected.front() == 0) || (step > 0 && selected.back() == count - 1))
            return;
        // Each selected row one place on, as the buffer holds it; the others fill the
        // places left, in their order.
        std::vector<ListRow> moved(rows.size());
        std::vector<bool> taken(rows.size(), false);
        for (int row : selected) {
            moved[static_cast<std::size_t>(row + step)] = BufferedRecord(rows[static_cast<std::size_t>(row)]);
            taken[static_cast<std::size_t>(row + step)] = true;
        }
        std::size_t place = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (marked[i]) continue;
            while (taken[place]) ++place;
            moved[place++] = rows[i];
        }
        // The last row moved: the lowest moving up, the highest moving down.
        buffer = BufferedRecord(rows[static_cast<std::size_t>(step < 0 ? selected.back() : selected.front())]);
        rows = std::move(moved);
        marked.assign(rows.size(), false);
        for (int row : selected) marked[static_cast<std::size_t>(row + step)] = true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    Editor editor;
    const int count = bytes.Next() % 40;
    for (int i = 0; i < count; ++i) editor.rows.push_back(MakeRow(i, bytes));
    editor.marked.assign(editor.rows.size(), false);
    Model model{editor.rows, editor.marked, {}};

    for (int step = 0; step < 200 && !bytes.Empty(); ++step) {
        const std::uint8_t command = bytes.Next();
        switch (command % 8) {
            case 0: {
                // A click marks one row, or the marks are set from a byte pattern.
                if (editor.rows.empty()) break;
                const std::size_t row = bytes.Next() % editor.rows.size();
                editor.marked[row] = !editor.marked[row];
                model.marked[row] = !model.marked[row];
                break;
            }
            case 1: {
                const std::uint8_t pattern = bytes.Next();
                for (std::size_t i = 0; i < editor.rows.size(); ++i)
                    editor.marked[i] = model.marked[i] = (pattern >> (i % 8)) & 1;
                break;
            }
            case 2: {
                editor.Copy();
                std::size_t first = 0;
                while (first < model.rows.size() && !model.marked[first]) ++first;
                if (first < model.rows.size()) {
                    model.buffer = BufferedRecord(model.rows[first]);
                    model.marked.assign(model.rows.size(), false);
                }
                break;
            }
            case 3: {
                editor.Paste();
                bool any = false;
                for (bool m : model.marked) any = any || m;
                if (any && !model.buffer[0].empty()) {
                    for (std::size_t i = 0; i < model.rows.size(); ++i)
                        if (model.marked[i]) model.rows[i] = model.buffer;
                    model.marked.assign(model.rows.size(), false);
                }
                break;
            }
            case 4:
                editor.Append();
                if (!model.buffer[0].empty()) {
                    model.rows.push_back(model.buffer);
                    model.marked.push_back(false);
                }
                break;
            case 5: {
                editor.Delete();
                std::vector<ListRow> kept;
                for (std::size_t i = 0; i < model.rows.size(); ++i)
                    if (!model.marked[i]) kept.push_back(model.rows[i]);
                model.rows = std::move(kept);
                model.marked.assign(model.rows.size(), false);
                break;
            }
            case 6:
                editor.Move(-1);
                model.Move(-1);
                break;
            default:
                editor.Move(+1);
                model.Move(+1);
                break;
        }
        Check(editor.rows == model.rows);
        Check(editor.marked == model.marked);
        Check(editor.buffer == model.buffer);
    }
    return 0;
}
