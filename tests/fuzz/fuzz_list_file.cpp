// The list-file reader over any bytes: every field within its bound, and the rows read,
// written as the program writes its list and read again, are the same rows and write the
// same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "list/list_file.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Stands in for the system's code page 932: one unit per byte.
std::u16string BytesAsUnits(std::span<const std::uint8_t> bytes) { return std::u16string(bytes.begin(), bytes.end()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::u16string text = DecodeListText(file, BytesAsUnits);
    IsListText(text);
    const std::vector<ListRow> rows = ParseListText(text);
    for (const ListRow& row : rows)
        for (const std::u16string& field : row) Check(field.size() <= kListRecordUnits);

    const std::vector<std::uint8_t> written = ListFileBytes(rows);
    Check(DetectListEncoding(written) == ListEncoding::Utf16 || written.empty());
    const std::vector<ListRow> again = ParseListText(DecodeListText(written, BytesAsUnits));
    const std::vector<std::uint8_t> rewritten = ListFileBytes(again);
    Check(rewritten == written);
    return 0;
}
