#include "list/list_view.h"

#include <commctrl.h>

#include <string>

#include "design/fixed_text.h"
#include "design/template_design.h"
#include "win/file_replace.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/whole_file.h"
#include "win/wide.h"

namespace {

constexpr UINT kMarkStates = LVIS_SELECTED | LVIS_FOCUSED | LVIS_DROPHILITED;
constexpr int kCellUnits = 128;  // a cell is read up to 127 units (the in-place editors' limit)

std::u16string CellText(HWND view, int row, int column, int units) {
    std::wstring text(static_cast<std::size_t>(units) + 1, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = units + 1;
    const auto length = SendMessageW(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<std::size_t>(length));
    return std::u16string(U16(text));
}

void SetCell(HWND view, int row, int column, const std::u16string& text) {
    std::wstring copy(W(text));
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = copy.data();
    SendMessageW(view, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::u16string DecodeShiftJis(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return {};
    const auto* text = reinterpret_cast<const char*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(932, 0, text, size, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(932, 0, text, size, wide.data(), units);
    return std::u16string(U16(wide));
}

void ShowCannotOpen(HWND owner) {
    ShowMessage(owner, L"ﾌｧｲﾙが開けません", L"CreateFile", MB_OK | MB_ICONWARNING);
}

// The filter list of the list dialogs; the name buffer starts as the start folder + "\temp1.csv".
constexpr wchar_t kListFilter[] = L"csvFile(*.csv)\0*.csv\0AllFile(*.*)\0*.*\0";

OPENFILENAMEW ListFileRequest(HWND owner, wchar_t (&name)[kFileNameUnits], const wchar_t* title,
                              DWORD flags) {
    if (!SetWholeText(name, Process().start_folder + L"\\temp1.csv")) SetText(name, L"temp1.csv");
    return FileDialogRequest(owner, name, title, kListFilter, OFN_EXPLORER | OFN_NOCHANGEDIR | flags);
}

}  // namespace

int RowCount(HWND view) { return static_cast<int>(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0)); }

ListRow ReadRow(HWND view, int row) {
    ListRow cells;
    cells[0] = CellText(view, row, 0, static_cast<int>(kListNameUnits) + 1);
    for (int j = 1; j < kListFields; ++j) cells[j] = CellText(view, row, j, kCellUnits - 1);
    return cells;
}

void WriteRow(HWND view, int row, const ListRow& cells) {
    for (int j = 0; j < kListFields; ++j) SetCell(view, row, j, cells[j]);
}

int InsertRow(HWND view, int index, const ListRow& cells) {
    std::wstring name(W(cells[0]));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = name.data();
    // The index the list view gives back is the row's: every cell goes there.
    const int row = static_cast<int>(SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return row;
    for (int j = 1; j < kListFields; ++j) SetCell(view, row, j, cells[j]);
    return row;
}

std::vector<int> SelectedRows(HWND view) {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageW(view, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                LVNI_SELECTED))) >= 0)
        rows.push_back(row);
    return rows;
}

void MarkRow(HWND view, int row, bool on) {
    LVITEMW item{};
    item.stateMask = kMarkStates;
    item.state = on ? kMarkStates : 0;
    SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void MarkAllRows(HWND view, bool on) {
    const int count = RowCount(view);
    for (int row = 0; row < count; ++row) MarkRow(view, row, on);
}

void FillRows(HWND view, const std::vector<ListRow>& rows) {
    SendMessageW(view, WM_SETREDRAW, FALSE, 0);
    SendMessageW(view, LVM_DELETEALLITEMS, 0, 0);
    for (const ListRow& row : rows) InsertRow(view, RowCount(view), row);
    SendMessageW(view, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view, nullptr, TRUE);
}

bool WriteListFile(HWND owner, HWND view, const wchar_t* fileName) {
    std::vector<ListRow> rows;
    const int count = RowCount(view);
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) rows.push_back(ReadRow(view, i));
    EnterStartFolder();
    if (ReplaceFileContent(fileName, ListFileBytes(rows))) return true;
    ShowCannotOpen(owner);
    return false;
}

namespace {

// A list or template file is small; anything past 64 MB is not one.
constexpr std::size_t kLargestListFile = std::size_t{64} << 20;

enum class ListRead { Read, CannotOpen, NotText };

ListRead LoadListText(const wchar_t* fileName, std::u16string& text) {
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(fileName, kLargestListFile, bytes) != WholeFile::Read) return ListRead::CannotOpen;
    text = DecodeListText(bytes, DecodeShiftJis);
    return IsListText(text) ? ListRead::Read : ListRead::NotText;
}

}  // namespace

bool ReadListFile(HWND owner, HWND view, const wchar_t* fileName) {
    std::u16string text;
    if (LoadListText(fileName, text) != ListRead::Read) {
        ShowCannotOpen(owner);
        return false;
    }
    FillRows(view, ParseListText(text));
    return true;
}

bool ReadOwnListFile(HWND owner, HWND view, const wchar_t* fileName) {
    std::u16string text;
    switch (LoadListText(fileName, text)) {
        case ListRead::CannotOpen: ShowCannotOpen(owner); return false;
        case ListRead::NotText: KeepUnreadableFile(owner, fileName); return false;
        case ListRead::Read: break;
    }
    FillRows(view, ParseListText(text));
    return true;
}

void SaveListAs(HWND owner, HWND view) {
    wchar_t name[kFileNameUnits];
    OPENFILENAMEW request = ListFileRequest(owner, name, L"ファイル書込", OFN_OVERWRITEPROMPT);
    if (!Ui().SaveFileDialog(&request)) return;
    const std::u16string path = ForceCsvExtension(U16(name));
    // The dialog asked about the name the user saw; the forced name may be another file.
    if (path != U16(name) && GetFileAttributesW(W(path.c_str())) != INVALID_FILE_ATTRIBUTES &&
        ShowMessage(owner, L"同じ名前のファイルがあります。上書きして良いですか？", L"ファイル書込！",
                    MB_YESNO) != IDYES)
        return;
    WriteListFile(owner, view, W(path.c_str()));
}

void OpenList(HWND owner, HWND view) {
    wchar_t name[kFileNameUnits];
    OPENFILENAMEW request = ListFileRequest(owner, name, L"ファイル読込", 0);
    if (!Ui().OpenFileDialog(&request)) return;
    ReadListFile(owner, view, W(ForceCsvExtension(U16(name)).c_str()));
}

void ListTemplateNames(HWND combo) {
    EnterStartFolder();
    const std::wstring pattern = StartFolderOrCurrent() + L"\\temp\\*.tep";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemplateFileName(U16(found.cFileName)))
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
