#include "list/list_editor.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "list/list_rows.h"
#include "list/list_view.h"
#include "list/record_editor.h"
#include "res/list_editor_ids.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

struct Column {
    const wchar_t* title;
    int width;
};

const Column kColumns[kListFields] = {
    {L"スタイル", 80}, {L"枚数", 38},     {L"会社名", 100},   {L"部署名", 100},   {L"名前", 100},
    {L"住所", 100},    {L"電話番号", 100}, {L"ﾊﾝﾄﾞﾙ名", 100}, {L"e-Mail", 100},   {L"部署名２", 100},
    {L"部署名３", 100}, {L"ﾎｰﾑﾍﾟｰｼﾞ", 100}, {L"その他１", 100}, {L"その他２", 100}, {L"その他３", 100},
    {L"その他４", 100}, {L"その他５", 100},
};

// Posted to drop an in-place editor after its text was taken: a control is not destroyed
// inside its own notification.
constexpr UINT kDropCellEditor = WM_APP + 1;
constexpr int kCellEditorChars = 127;

enum class CellEditor { None, Text, Template };

struct ListEditor {
    HWND view = nullptr;
    FontHandle font;
    CellEditor editor = CellEditor::None;
    HWND editor_window = nullptr;
    int edit_row = -1;
    int edit_column = -1;
    // The list file could not be read although it exists: an empty list is then not
    // written over it.
    bool keep_unread_file = false;
};

std::unique_ptr<PrintQueue> g_queue = std::make_unique<PrintQueue>();

bool Select(HWND dialog, const wchar_t* caption) {
    ShowMessage(dialog, L"項目を選択して下さい", caption);
    return false;
}

// A row as the record buffer holds it.
ListRow RecordOf(HWND view, int row) { return BufferedRecord(ReadRow(view, row)); }

// Takes the in-place editor's text into its cell; the editor window goes afterwards.
void CommitCellEditor(HWND dialog, ListEditor& state) {
    if (state.editor == CellEditor::None) return;
    wchar_t text[kCellEditorChars + 1] = {};
    GetWindowTextW(state.editor_window, text, kCellEditorChars + 1);
    if (state.edit_row >= 0 && state.edit_row < RowCount(state.view)) {
        ListRow cells = ReadRow(state.view, state.edit_row);
        cells[static_cast<std::size_t>(state.edit_column)] = U16(text);
        WriteRow(state.view, state.edit_row, cells);
    }
    state.editor = CellEditor::None;
    ShowWindow(state.editor_window, SW_HIDE);
    PostMessageW(dialog, kDropCellEditor, reinterpret_cast<WPARAM>(state.editor_window), 0);
    state.editor_window = nullptr;
}

void CreateListView(HWND dialog, ListEditor& state) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    state.view = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                                 662, 406, dialog, reinterpret_cast<HMENU>(IDC_LIST_VIEW), Process().instance, nullptr);
    SendMessageW(state.view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int j = 0; j < kListFields; ++j) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumns[j].width;
        column.pszText = const_cast<wchar_t*>(kColumns[j].title);
        column.iSubItem = j;
        SendMessageW(state.view, LVM_INSERTCOLUMNW, static_cast<WPARAM>(j), reinterpret_cast<LPARAM>(&column));
    }
}

void OnInit(HWND dialog, ListEditor& state) {
    CreateListView(dialog, state);
    state.font.Reset(CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"ＭＳゴシック"));
    if (!ReadOwnListFile(dialog, state.view, kListViewFile))
        state.keep_unread_file = GetFileAttributesW(kListViewFile) != INVALID_FILE_ATTRIBUTES;
    ThePrintQueue().count = 0;
}

void OnDestroy(HWND dialog, ListEditor& state) {
    CommitCellEditor(dialog, state);
    if (!(state.keep_unread_file && RowCount(state.view) == 0)) WriteListFile(dialog, state.view, kListViewFile);
    ForgetDialogState(dialog);
}

void CopyRow(HWND dialog, ListEditor& state) {
    const std::vector<int> rows = SelectedRows(state.view);
    if (rows.empty()) {
        Select(dialog, L"一行COPY");
        return;
    }
    RecordBuffer() = RecordOf(state.view, rows.front());
    for (int row : rows) MarkRow(state.view, row, false);
}

void PasteOverSelection(HWND dialog, ListEditor& state) {
    const std::vector<int> rows = SelectedRows(state.view);
    if (rows.empty()) {
        Select(dialog, L"listview_write");
        return;
    }
    if (RecordBuffer()[0].empty()) {
        ShowMessage(dialog, L"最初にコピー操作を行って下さい", L"listview_write");
        return;
    }
    for (int row : rows) {
        WriteRow(state.view, row, RecordBuffer());
        MarkRow(state.view, row, false);
    }
}

void AppendBuffer(ListEditor& state) {
    if (RecordBuffer()[0].empty()) return;
    const int row = InsertRow(state.view, RowCount(state.view), RecordBuffer());
    if (row >= 0) MarkRow(state.view, row, false);
}

void NewRow(HWND dialog, ListEditor& state) {
    ListRow record;
    record[1] = u"0";
    if (!EditRecord(dialog, record)) return;
    RecordBuffer() = record;
    AppendBuffer(state);
}

void EditRows(HWND dialog, ListEditor& state) {
    const std::vector<int> rows = SelectedRows(state.view);
    if (rows.empty()) {
        Select(dialog, L"一行COPY");
        return;
    }
    RecordBuffer() = RecordOf(state.view, rows.front());
    if (!EditRecord(dialog, RecordBuffer())) return;
    PasteOverSelection(dialog, state);
}

void DeleteRows(HWND dialog, ListEditor& state) {
    const std::vector<int> rows = SelectedRows(state.view);
    if (rows.empty()) {
        Select(dialog, L"listview_write");
        return;
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        SendMessageW(state.view, LVM_DELETEITEM, static_cast<WPARAM>(*row), 0);
}

// Moves every selected row one place up (step -1) or down (+1); nothing moves when a
// selected row is already at that end. Rows exchange their texts, so nothing is deleted
// or inserted and no row can be lost; each moved row passes through the record buffer.
void MoveRows(HWND dialog, ListEditor& state, int step) {
    const std::vector<int> rows = SelectedRows(state.view);
    if (rows.empty()) {
        ShowMessage(dialog, L"項目を選んで下さい。", L"項目移動");
        return;
    }
    const std::vector<RowSwap> swaps = RowMoveSwaps(rows, RowCount(state.view), step);
    if (swaps.empty()) return;
    for (const RowSwap& swap : swaps) {
        RecordBuffer() = RecordOf(state.view, swap.row);
        const ListRow other = ReadRow(state.view, swap.other);
        WriteRow(state.view, swap.other, RecordBuffer());
        WriteRow(state.view, swap.row, other);
    }
    MarkAllRows(state.view, false);
    for (int row : rows) MarkRow(state.view, row + step, true);
}

void ShowBadName(HWND dialog, int row, TemplateNameCheck check) {
    wchar_t text[160];
    const wchar_t* reason = check == TemplateNameCheck::Empty  ? L"スタイルが空です。"
                            : check == TemplateNameCheck::TooLong ? L"スタイルが長すぎます。"
                                                                   : L"スタイルに \\ / : .. は使えません。";
    wsprintfW(text, L"%d行目の%s", row + 1, reason);
    ShowMessage(dialog, text, L"連続印刷");
}

void HandToPrinting(HWND dialog, ListEditor& state) {
    const std::vector<int> rows = SelectedRows(state.view);
    std::vector<ListRow> selected;
    selected.reserve(rows.size());
    for (int row : rows) selected.push_back(ReadRow(state.view, row));
    const QueueFill fill = FillPrintQueue(selected, RowCount(state.view), ThePrintQueue());
    switch (fill.status) {
        case QueueFillStatus::NothingSelected: ShowMessage(dialog, L"項目を選んで下さい。", L"項目移動"); return;
        case QueueFillStatus::TooManyRows: {
            wchar_t text[64];
            wsprintfW(text, L"%d件以上は連続印刷出来ません。", kPrintQueueCapacity + 1);
            ShowMessage(dialog, text, L"項目移動");
            return;
        }
        case QueueFillStatus::BadName: ShowBadName(dialog, rows[static_cast<std::size_t>(fill.bad_row)], fill.check); return;
        case QueueFillStatus::Filled: break;
    }
    for (int row : rows) MarkRow(state.view, row, false);
    EndDialog(dialog, 1);
}

// Right click: the clicked cell of the first selected row gets an editor over it, a
// combo of the templates in the first column, a text box elsewhere.
void OpenCellEditor(HWND dialog, ListEditor& state, const NMITEMACTIVATE& click) {
    CommitCellEditor(dialog, state);
    LVHITTESTINFO hit{};
    hit.pt = click.ptAction;
    SendMessageW(state.view, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const int column = hit.iSubItem;
    const std::vector<int> rows = SelectedRows(state.view);
    if (rows.empty() || column < 0 || column >= kListFields) return;
    const int row = rows.front();
    const std::u16string old_text = ReadRow(state.view, row)[static_cast<std::size_t>(column)].substr(0, 126);
    ListRow cells = ReadRow(state.view, row);
    cells[static_cast<std::size_t>(column)].clear();
    WriteRow(state.view, row, cells);
    MarkAllRows(state.view, false);

    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(state.view, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
    int left = bounds.left;
    for (int j = 0; j < column; ++j)
        left += static_cast<int>(SendMessageW(state.view, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(j), 0));
    POINT at{left, bounds.top};
    MapWindowPoints(state.view, dialog, &at, 1);
    const int width = static_cast<int>(SendMessageW(state.view, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));

    HWND editor;
    if (column == 0) {
        editor = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                 at.x, at.y, width, 80, dialog, reinterpret_cast<HMENU>(IDC_LIST_CELL_TEMPLATE),
                                 Process().instance, nullptr);
        ListTemplateNames(editor);
        SendMessageW(editor, CB_LIMITTEXT, kListNameUnits, 0);
        SetWindowPos(state.view, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        state.editor = CellEditor::Template;
    } else {
        editor = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                 at.x, at.y, width, 16, dialog, reinterpret_cast<HMENU>(IDC_LIST_CELL_EDIT),
                                 Process().instance, nullptr);
        // The file keeps 62 units of a string; copies are read from their first 30.
        SendMessageW(editor, EM_LIMITTEXT, kListFieldUnits, 0);
        state.editor = CellEditor::Text;
    }
    if (!editor) {
        state.editor = CellEditor::None;
        return;
    }
    SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(state.font.Get()), TRUE);
    SetWindowPos(editor, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowTextW(editor, W(old_text.c_str()));
    state.editor_window = editor;
    state.edit_row = row;
    state.edit_column = column;
    SetFocus(editor);
}

// Left click: an open template combo is committed; rows that are selected or focused are
// marked fully, the others cleared.
void OnListClick(HWND dialog, ListEditor& state) {
    if (state.editor == CellEditor::Template) CommitCellEditor(dialog, state);
    const int count = RowCount(state.view);
    for (int row = 0; row < count; ++row) {
        const auto states = SendMessageW(state.view, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                         LVIS_SELECTED | LVIS_FOCUSED);
        MarkRow(state.view, row, states != 0);
    }
}

INT_PTR OnNotify(HWND dialog, ListEditor& state, const NMHDR& header) {
    if (header.idFrom != IDC_LIST_VIEW) return FALSE;
    if (header.code == NM_RCLICK) OpenCellEditor(dialog, state, reinterpret_cast<const NMITEMACTIVATE&>(header));
    else if (header.code == NM_CLICK) OnListClick(dialog, state);
    return FALSE;
}

void OnCommand(HWND dialog, ListEditor& state, int id, int code) {
    if (id == IDC_LIST_CELL_EDIT) {
        if (code == EN_KILLFOCUS && state.editor == CellEditor::Text) CommitCellEditor(dialog, state);
        return;
    }
    if (id == IDC_LIST_CELL_TEMPLATE || code != BN_CLICKED) return;
    // Rows may move or go: an editor still open writes its cell first.
    CommitCellEditor(dialog, state);
    switch (id) {
        case IDC_LIST_OPEN: OpenList(dialog, state.view); break;
        case IDC_LIST_SAVE: SaveListAs(dialog, state.view); break;
        case IDC_LIST_NEW: NewRow(dialog, state); break;
        case IDC_LIST_EDIT: EditRows(dialog, state); break;
        case IDC_LIST_DELETE: DeleteRows(dialog, state); break;
        case IDC_LIST_COPY: CopyRow(dialog, state); break;
        case IDC_LIST_PASTE: PasteOverSelection(dialog, state); break;
        case IDC_LIST_APPEND: AppendBuffer(state); break;
        case IDC_LIST_DOWN: MoveRows(dialog, state, +1); break;
        case IDC_LIST_UP: MoveRows(dialog, state, -1); break;
        case IDC_LIST_SELECT_ALL: MarkAllRows(state.view, true); break;
        case IDC_LIST_SELECT_NONE: MarkAllRows(state.view, false); break;
        case IDC_LIST_PRINT: HandToPrinting(dialog, state); break;
        case IDC_LIST_CLOSE: EndDialog(dialog, 1); break;
        case IDC_LIST_HELP: OpenManual(dialog); break;
        default: break;
    }
}

INT_PTR ListEditorProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam, ListEditor& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_COMMAND: OnCommand(dialog, state, LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case WM_NOTIFY: return OnNotify(dialog, state, *reinterpret_cast<const NMHDR*>(lparam));
        case kDropCellEditor: DestroyWindow(reinterpret_cast<HWND>(wparam)); return TRUE;
        case WM_CLOSE:
            CommitCellEditor(dialog, state);
            EndDialog(dialog, 1);
            return TRUE;
        case WM_DESTROY: OnDestroy(dialog, state); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

PrintQueue& ThePrintQueue() { return *g_queue; }

ListRow& RecordBuffer() {
    static ListRow buffer;
    return buffer;
}

void ShowListEditor(HWND owner) {
    ListEditor state;
    RunModalDialog<ListEditor, ListEditorProc>(owner, IDD_LIST_EDITOR, state);
}
