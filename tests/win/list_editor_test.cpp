#include "list/list_editor.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "list/list_view.h"
#include "recording_seam.h"
#include "res/list_editor_ids.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

ListRow Person(const std::u16string& templ, const std::u16string& copies, const std::u16string& name) {
    ListRow row;
    row[0] = templ;
    row[1] = copies;
    row[4] = name;
    return row;
}

std::u16string Numbered(int i) { return u"人" + std::u16string(U16(std::to_wstring(i))); }

class ListEditor : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        RecordBuffer() = ListRow{};
        ThePrintQueue().count = 0;
        CreateDirectoryW(folder.File(L"temp").c_str(), nullptr);
    }

    void WriteList(const std::wstring& name, const std::vector<ListRow>& rows) {
        const auto bytes = ListFileBytes(rows);
        ASSERT_TRUE(WriteBytes(folder.File(name), bytes.data(), bytes.size()));
    }
    std::vector<ListRow> ReadList(const std::wstring& name) {
        const auto bytes = ReadBytes(folder.File(name));
        return ParseListText(DecodeListText(bytes, nullptr));
    }

    // Opens the editor, runs script on it and closes it by its close box.
    void Drive(const std::function<void(HWND dialog, HWND view)>& script) {
        bool timed_out = false;
        DriveModal([] { ShowListEditor(nullptr); return INT_PTR{1}; },
                   [&](HWND dialog) {
                       script(dialog, GetDlgItem(dialog, IDC_LIST_VIEW));
                       if (IsWindow(dialog)) SendMessageW(dialog, WM_CLOSE, 0, 0);
                   },
                   &timed_out, 30000);
        EXPECT_FALSE(timed_out);
    }

    // Presses a button that opens the record editor and runs script on that one.
    static void WithRecordEditor(HWND dialog, int button, const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([&] { ClickButton(dialog, button); return INT_PTR{0}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
    }

    static void Select(HWND view, std::initializer_list<int> rows) {
        MarkAllRows(view, false);
        for (int row : rows) MarkRow(view, row, true);
    }
    static std::u16string Name(HWND view, int row) { return ReadRow(view, row)[4]; }

    // What the list view tells the dialog when a cell is right-clicked.
    static void RightClickCell(HWND dialog, HWND view, int row, int column) {
        RECT cell{};
        cell.top = column;
        cell.left = LVIR_BOUNDS;
        SendMessageW(view, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        NMITEMACTIVATE click{};
        click.hdr = {view, IDC_LIST_VIEW, static_cast<UINT>(NM_RCLICK)};
        click.iItem = row;
        click.iSubItem = column;
        click.ptAction = {cell.left + 5, (cell.top + cell.bottom) / 2};
        SendMessageW(dialog, WM_NOTIFY, IDC_LIST_VIEW, reinterpret_cast<LPARAM>(&click));
    }
};

TEST_F(ListEditor, TheRecordEditorReadsUseFlagsInEveryTemplateEncoding) {
    // UTF-8 without a mark and LF line ends, and UTF-16 with CR-only line ends: both switch
    // on the company (0) and the address (3) only.
    const std::string utf8 = "base_w=455\nstr_data[0].on=1\nstr_data[0].s64=\xE4\xBC\x9A\xE7\xA4\xBE\n"
                             "str_data[3].on=1\nstr_data[4].on=0\n";
    ASSERT_TRUE(WriteBytes(folder.File(L"temp\\utf8.tep"), utf8.data(), utf8.size()));
    const std::u16string cr_only = u"\uFEFFstr_data[0].on=1\rstr_data[3].on=1\rstr_data[2].on=0\r";
    ASSERT_TRUE(WriteBytes(folder.File(L"temp\\cr.tep"), cr_only.data(), cr_only.size() * 2));
    WriteList(L"listview.ini", {Person(u"utf8.tep", u"1", u"一"), Person(u"cr.tep", u"1", u"二")});
    std::vector<std::vector<bool>> enabled(2);
    Drive([&](HWND dialog, HWND view) {
        for (int row = 0; row < 2; ++row) {
            Select(view, {row});
            WithRecordEditor(dialog, IDC_LIST_EDIT, [&](HWND record) {
                PumpFor(400);
                for (int k = 0; k < kTextCount; ++k)
                    enabled[row].push_back(IsWindowEnabled(GetDlgItem(record, IDC_RECORD_STRING + k)) != FALSE);
                SendMessageW(record, WM_CLOSE, 0, 0);
            });
        }
    });
    for (int row = 0; row < 2; ++row) {
        ASSERT_EQ(enabled[row].size(), static_cast<std::size_t>(kTextCount)) << row;
        for (int k = 0; k < kTextCount; ++k) EXPECT_EQ(enabled[row][k], k == 0 || k == 3) << "row " << row << " field " << k;
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ListEditor, RowsAreEditedCopiedMovedAndKept) {
    std::vector<ListRow> rows;
    for (int i = 0; i < 35; ++i) rows.push_back(Person(u"横型.tep", u"1", Numbered(i)));
    rows[1][1] = u"abc";
    rows[2] = Person(u"", u"", u"名前だけ");  // an empty template name keeps its place
    WriteList(L"listview.ini", rows);
    // A template that switches on the company and the name only.
    const std::u16string templ = u"\uFEFFstr_data[0].on=1\r\nstr_data[2].on=1\r\n";
    WriteBytes(folder.File(L"temp\\横型.tep"), templ.data(), templ.size() * 2);

    Drive([&](HWND dialog, HWND view) {
        ASSERT_EQ(RowCount(view), 35);
        EXPECT_EQ(Name(view, 2), u"名前だけ");
        EXPECT_EQ(Name(view, 3), Numbered(3));

        // Paste with nothing copied yet, and copy with nothing selected.
        Select(view, {0});
        ClickButton(dialog, IDC_LIST_PASTE);
        MarkAllRows(view, false);
        ClickButton(dialog, IDC_LIST_COPY);
        ASSERT_EQ(seam.messages.size(), 2u);
        EXPECT_EQ(seam.messages[0].text, L"最初にコピー操作を行って下さい");
        EXPECT_EQ(seam.messages[1].caption, L"一行COPY");

        // 32 rows down one place and back: no limit on how many move.
        for (int i = 0; i < 32; ++i) MarkRow(view, i, true);
        ClickButton(dialog, IDC_LIST_DOWN);
        EXPECT_EQ(Name(view, 0), Numbered(32));
        EXPECT_EQ(Name(view, 1), Numbered(0));
        EXPECT_EQ(Name(view, 32), Numbered(31));
        EXPECT_EQ(ReadRow(view, 2)[1], u"0");  // copies pass through a number when moved
        EXPECT_EQ(SelectedRows(view).size(), 32u);
        EXPECT_EQ(SelectedRows(view).front(), 1);
        ClickButton(dialog, IDC_LIST_UP);
        EXPECT_EQ(Name(view, 0), Numbered(0));
        EXPECT_EQ(Name(view, 32), Numbered(32));
        ClickButton(dialog, IDC_LIST_UP);  // the first row is selected: nothing moves
        EXPECT_EQ(Name(view, 0), Numbered(0));
        EXPECT_EQ(SelectedRows(view).size(), 32u);

        // Copy row 5, append it, paste it over rows 6 and 7.
        Select(view, {5});
        ClickButton(dialog, IDC_LIST_COPY);
        EXPECT_TRUE(SelectedRows(view).empty());
        ClickButton(dialog, IDC_LIST_APPEND);
        ASSERT_EQ(RowCount(view), 36);
        EXPECT_EQ(Name(view, 35), Numbered(5));
        Select(view, {6, 7});
        ClickButton(dialog, IDC_LIST_PASTE);
        EXPECT_EQ(Name(view, 6), Numbered(5));
        EXPECT_EQ(Name(view, 7), Numbered(5));

        // Edit two rows with OK: both get the values; the template's use flags decide
        // which fields are open.
        Select(view, {8, 9});
        bool company_on = false, address_on = true, name_on = false;
        WithRecordEditor(dialog, IDC_LIST_EDIT, [&](HWND record) {
            PumpFor(400);
            company_on = IsWindowEnabled(GetDlgItem(record, IDC_RECORD_STRING + 0));
            address_on = IsWindowEnabled(GetDlgItem(record, IDC_RECORD_STRING + 3));
            name_on = IsWindowEnabled(GetDlgItem(record, IDC_RECORD_STRING + 2));
            SetControlText(record, IDC_RECORD_STRING + 2, L"編集後");
            SetControlText(record, IDC_RECORD_COPIES, L"3");
            ClickButton(record, IDC_RECORD_OK);
        });
        EXPECT_TRUE(company_on);
        EXPECT_FALSE(address_on);
        EXPECT_TRUE(name_on);
        EXPECT_EQ(Name(view, 8), u"編集後");
        EXPECT_EQ(Name(view, 9), u"編集後");
        EXPECT_EQ(ReadRow(view, 9)[1], u"3");

        // Closing the record editor by its close box changes nothing.
        Select(view, {10});
        WithRecordEditor(dialog, IDC_LIST_EDIT, [&](HWND record) {
            SetControlText(record, IDC_RECORD_STRING + 2, L"捨てる");
            SendMessageW(record, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(Name(view, 10), Numbered(10));
        WithRecordEditor(dialog, IDC_LIST_NEW, [&](HWND record) {
            SetControlText(record, IDC_RECORD_TEMPLATE, L"横型.tep");
            SetControlText(record, IDC_RECORD_STRING + 2, L"新人");
            ClickButton(record, IDC_RECORD_OK);
        });
        ASSERT_EQ(RowCount(view), 37);
        EXPECT_EQ(Name(view, 36), u"新人");

        // A right click edits the cell in place: a text box committed when it loses the
        // focus, a template combo in the first column committed by the next click.
        Select(view, {11});
        RightClickCell(dialog, view, 11, 4);
        HWND box = GetDlgItem(dialog, IDC_LIST_CELL_EDIT);
        ASSERT_TRUE(box);
        EXPECT_EQ(ControlText(dialog, IDC_LIST_CELL_EDIT), L"人11");
        EXPECT_EQ(Name(view, 11), u"");  // blanked while edited
        SetControlText(dialog, IDC_LIST_CELL_EDIT, L"その場で");
        SetFocus(view);
        EXPECT_EQ(Name(view, 11), u"その場で");
        Select(view, {11});
        RightClickCell(dialog, view, 11, 0);
        ASSERT_TRUE(GetDlgItem(dialog, IDC_LIST_CELL_TEMPLATE));
        SetControlText(dialog, IDC_LIST_CELL_TEMPLATE, L"縦型.tep");
        NMITEMACTIVATE click{};
        click.hdr = {view, IDC_LIST_VIEW, static_cast<UINT>(NM_CLICK)};
        SendMessageW(dialog, WM_NOTIFY, IDC_LIST_VIEW, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(ReadRow(view, 11)[0], u"縦型.tep");
        PumpFor(50);
        EXPECT_FALSE(GetDlgItem(dialog, IDC_LIST_CELL_TEMPLATE));

        // Delete two rows.
        Select(view, {0, 1});
        ClickButton(dialog, IDC_LIST_DELETE);
        EXPECT_EQ(RowCount(view), 35);
        EXPECT_EQ(Name(view, 0), u"名前だけ");
    });
    // Closing writes the list back, every row in place.
    const auto kept = ReadList(L"listview.ini");
    ASSERT_EQ(kept.size(), 35u);
    EXPECT_EQ(kept[0][4], u"名前だけ");
    EXPECT_EQ(kept[0][0], u"");
    EXPECT_EQ(kept[34][4], u"新人");
}

TEST_F(ListEditor, SaveOpenAndPrintHandOff) {
    std::vector<ListRow> rows{Person(u"横型.tep", u"1", u"山田, \"太郎\""), Person(u"..\\x", u"1", u"外")};
    WriteList(L"listview.ini", rows);
    const std::string utf8 = "横型.tep,2,,,佐藤 花子\r\n横型.tep,-3,,,鈴木 一郎\r\n";
    WriteBytes(folder.File(L"people.csv"), utf8.data(), utf8.size());
    std::vector<ListRow> many(150, Person(u"横型.tep", u"1", u"多"));
    WriteList(L"many.csv", many);

    seam.file_answers.push_back({true, folder.File(L"saved.txt"), 2});
    seam.file_answers.push_back({true, folder.File(L"people.txt"), 1});
    seam.file_answers.push_back({true, folder.File(L"missing.csv"), 1});
    seam.file_answers.push_back({true, folder.File(L"many.csv"), 1});
    Drive([&](HWND dialog, HWND view) {
        ClickButton(dialog, IDC_LIST_SAVE);
        ASSERT_EQ(seam.file_dialogs.size(), 1u);
        EXPECT_EQ(seam.file_dialogs[0].title, L"ファイル書込");
        EXPECT_EQ(seam.file_dialogs[0].initial_name, folder.Path() + L"\\temp1.csv");
        EXPECT_TRUE(seam.file_dialogs[0].flags & OFN_OVERWRITEPROMPT);
        EXPECT_EQ(ReadList(L"saved.csv"), rows);

        ClickButton(dialog, IDC_LIST_OPEN);  // people.txt reads people.csv, UTF-8 without a mark
        EXPECT_EQ(seam.file_dialogs[1].title, L"ファイル読込");
        ASSERT_EQ(RowCount(view), 2);
        EXPECT_EQ(Name(view, 0), u"佐藤 花子");
        EXPECT_EQ(ReadRow(view, 1)[1], u"-3");
        ClickButton(dialog, IDC_LIST_OPEN);  // a missing file leaves the rows
        EXPECT_EQ(seam.messages.back().text, L"ﾌｧｲﾙが開けません");
        EXPECT_EQ(RowCount(view), 2);

        ClickButton(dialog, IDC_LIST_PRINT);  // nothing selected
        EXPECT_EQ(seam.messages.back().text, L"項目を選んで下さい。");
        ClickButton(dialog, IDC_LIST_OPEN);
        ASSERT_EQ(RowCount(view), 150);
        Select(view, {0});
        ClickButton(dialog, IDC_LIST_PRINT);
        EXPECT_EQ(seam.messages.back().text, L"100件以上は連続印刷出来ません。");
        EXPECT_EQ(ThePrintQueue().count, 0);

        FillRows(view, {Person(u"横型.tep", u"2", u"一"), Person(u"..\\x", u"1", u"外"), Person(u"横型.tep", u"abc", u"三")});
        Select(view, {0, 1, 2});
        ClickButton(dialog, IDC_LIST_PRINT);
        EXPECT_EQ(seam.messages.back().text, L"2行目のスタイルに \\ / : .. は使えません。");
        EXPECT_EQ(ThePrintQueue().count, 0);
        Select(view, {0, 2});
        ClickButton(dialog, IDC_LIST_PRINT);  // hands over and ends the editor
    });
    ASSERT_EQ(ThePrintQueue().count, 2);
    EXPECT_EQ(std::u16string(ThePrintQueue().records[0].path), u"temp\\横型.tep");
    EXPECT_EQ(ThePrintQueue().records[0].copies, 2);
    EXPECT_EQ(std::u16string(ThePrintQueue().records[1].strings[2]), u"三");
    EXPECT_EQ(ThePrintQueue().records[1].copies, 0);
    EXPECT_EQ(ReadList(L"listview.ini").size(), 3u);
}

TEST_F(ListEditor, AnUnreadableListIsNeverOverwrittenByAnEmptyOne) {
    // Held open without sharing, the list cannot be read; closing must not replace it.
    WriteList(L"listview.ini", {Person(u"横型.tep", u"1", u"守る")});
    HANDLE lock = CreateFileW(folder.File(L"listview.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Drive([&](HWND, HWND view) { EXPECT_EQ(RowCount(view), 0); });
    CloseHandle(lock);
    EXPECT_EQ(seam.messages.size(), 1u);
    ASSERT_EQ(ReadList(L"listview.ini").size(), 1u);
}

TEST_F(ListEditor, ABinaryListIsMovedAsideBeforeTheListReplacesIt) {
    const std::vector<uint8_t> binary = {0x89, 'P', 'N', 'G', 0, 0, 0x1A, 0x0A, 0x00, 0xD8, 0x41, 0x00, 0xFF, 0xFF};
    ASSERT_TRUE(WriteBytes(folder.File(L"listview.ini"), binary.data(), binary.size()));
    Drive([&](HWND, HWND view) { EXPECT_EQ(RowCount(view), 0); });
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              L"読み込めないファイルです。\n元のファイルは「listview.ini.unreadable-1」として同じフォルダに残しました。");
    EXPECT_EQ(ReadBytes(folder.File(L"listview.ini.unreadable-1")), binary);
    EXPECT_TRUE(ReadList(L"listview.ini").empty());
}

}  // namespace
