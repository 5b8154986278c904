#include "list/list_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "design/fixed_text.h"

namespace {

ListRow Row(std::u16string name, std::u16string copies, std::u16string person = u"") {
    ListRow row;
    row[0] = std::move(name);
    row[1] = std::move(copies);
    row[4] = std::move(person);
    return row;
}

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// Knows only the Shift_JIS bytes of 山田 and 花子, enough to see the bytes handed over.
std::u16string TinyShiftJis(std::span<const std::uint8_t> bytes) {
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i + 1 < bytes.size()) {
            const int pair = bytes[i] << 8 | bytes[i + 1];
            const char16_t* known = pair == 0x8E52 ? u"山" : pair == 0x9363 ? u"田"
                                  : pair == 0x89D4 ? u"花" : pair == 0x8E71 ? u"子" : nullptr;
            if (known) {
                out += known;
                ++i;
                continue;
            }
        }
        out += static_cast<char16_t>(bytes[i]);
    }
    return out;
}

std::vector<ListRow> ReadBack(std::span<const ListRow> rows) {
    const auto bytes = ListFileBytes(rows);
    return ParseListText(DecodeListText(bytes, TinyShiftJis));
}

}  // namespace

TEST(ListFile, PlainRowsAreWrittenUnchangedAsUtf16WithCrLf) {
    ListRow row;
    for (int j = 0; j < kListFields; ++j) row[j] = std::u16string(1, u'a' + j);
    row[4] = u"山田 太郎";
    EXPECT_EQ(FormatListRecord(row), u"a,b,c,d,山田 太郎,f,g,h,i,j,k,l,m,n,o,p,q\r\n");
    const auto bytes = ListFileBytes(std::vector<ListRow>{row});
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 'a');  // no byte-order mark
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[bytes.size() - 2], '\n');
    EXPECT_EQ(bytes[bytes.size() - 4], '\r');
    EXPECT_EQ(ReadBack(std::vector<ListRow>{row}), std::vector<ListRow>{row});
}

TEST(ListFile, CommasQuotesAndLineBreaksSurviveTheRoundTrip) {
    ListRow row = Row(u"a.tep", u"2", u"佐藤, \"次郎\"");
    row[5] = u"東京都\r\n千代田区";
    row[16] = u"\"";
    row[15] = u"x\ny";
    const std::u16string line = FormatListRecord(row);
    EXPECT_NE(line.find(u",\"佐藤, \"\"次郎\"\"\","), std::u16string::npos);
    const std::vector<ListRow> rows{row, Row(u"b.tep", u"1", u"後続")};
    EXPECT_EQ(ReadBack(rows), rows);
}

TEST(ListFile, StringsAreCutTo62UnitsNeverInsideAPair) {
    ListRow row = Row(std::u16string(254, u'x'), u"1");
    row[2] = std::u16string(61, u'y') + u"\U0001F600";  // the pair would straddle the cut
    const auto back = ReadBack(std::vector<ListRow>{row});
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0][0], std::u16string(254, u'x'));  // a template name is kept whole
    EXPECT_EQ(back[0][2], std::u16string(61, u'y'));
}

TEST(ListFile, LineEndsAndMissingFields) {
    // A bare LF keeps the last unit; CR LF drops the CR; the last line needs no LF; a line
    // with an empty template name still gives its own row, so nothing after it shifts.
    const auto rows = ParseListText(u"a.tep,1,x\n,2,空の名前\r\nc.tep,3,z\r\n\r\nd.tep,4");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][2], u"x");
    EXPECT_EQ(rows[1][0], u"");
    EXPECT_EQ(rows[1][2], u"空の名前");
    EXPECT_EQ(rows[2][0], u"c.tep");
    EXPECT_EQ(rows[2][2], u"z");
    EXPECT_EQ(rows[3][1], u"4");
    EXPECT_EQ(rows[3][2], u"");
    // Surplus fields are dropped.
    const auto wide = ParseListText(u"t,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18\r\n");
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0][16], u"16");
}

TEST(ListFile, OverLongRecordsAreBoundedAndTheNextOnesStillRead) {
    std::u16string text = u"long.tep,1," + std::u16string(100000, u'あ') + u"\r\nnext.tep,2,次\r\n";
    const auto rows = ParseListText(text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][2].size(), kListRecordUnits - 11);
    EXPECT_EQ(rows[1][0], u"next.tep");
    EXPECT_EQ(rows[1][2], u"次");
    // An unclosed quote swallows no more than one record's worth.
    const auto open = ParseListText(u"q.tep,1,\"" + std::u16string(5000, u'z'));
    ASSERT_EQ(open.size(), 1u);
    EXPECT_LE(open[0][2].size(), kListRecordUnits);
}

TEST(ListFile, AQuoteThatDoesNotCloseTheFieldIsReadLiterally) {
    // Lists written without quoting, or by hand: quotes that do not enclose a whole field
    // are part of the text.
    const auto rows = ParseListText(u"a.tep,1,\"ABC\"商事,\"x\"y\"\r\n"
                                    u"b.tep,2,say \"hi\",\"quoted, comma\",\"\"\r\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][2], u"\"ABC\"商事");
    EXPECT_EQ(rows[0][3], u"\"x\"y\"");
    EXPECT_EQ(rows[1][2], u"say \"hi\"");
    EXPECT_EQ(rows[1][3], u"quoted, comma");
    EXPECT_EQ(rows[1][4], u"");
}

TEST(ListFile, AnUnmatchedQuoteNeverSwallowsTheFollowingLines) {
    const auto rows = ParseListText(u"a.tep,1,\"未完\r\nb.tep,2,次\r\nc.tep,3,\"閉じ\"た\r\nd.tep,4\r\n");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][2], u"\"未完");
    EXPECT_EQ(rows[1][0], u"b.tep");
    EXPECT_EQ(rows[2][2], u"\"閉じ\"た");
    EXPECT_EQ(rows[3][0], u"d.tep");
    // A quoted field spans lines only when it closes within the record bound.
    const std::u16string far = u"a.tep,1,\"" + std::u16string(kListRecordUnits, u'x') + u"\r\nb.tep,2\"\r\n";
    const auto bounded = ParseListText(far);
    ASSERT_EQ(bounded.size(), 2u);
    EXPECT_EQ(bounded[0][2].size(), kListRecordUnits - 8);
    EXPECT_EQ(bounded[1][0], u"b.tep");
    EXPECT_EQ(bounded[1][1], u"2\"");
    const auto near = ParseListText(u"a.tep,1,\"two\r\nlines\",z\r\nb.tep\r\n");
    ASSERT_EQ(near.size(), 2u);
    EXPECT_EQ(near[0][2], u"two\r\nlines");
    EXPECT_EQ(near[0][3], u"z");
}

TEST(ListFile, TheProgramsOwnFileReadsBackByteForByte) {
    ListRow row = Row(u"\"ABC\"商事.tep", u"\"1", u"\"ABC\"商事");
    row[3] = u"\"";
    row[9] = u"\"\"";
    row[5] = u"a\"\r";
    row[6] = u"\r\n\"";
    row[7] = u"\uFEFF先頭";
    row[8] = std::u16string(62, u'"');
    const std::vector<ListRow> rows{row, Row(u"b.tep", u"1", u",")};
    const auto bytes = ListFileBytes(rows);
    const auto back = ParseListText(DecodeListText(bytes, TinyShiftJis));
    EXPECT_EQ(back, rows);
    EXPECT_EQ(ListFileBytes(back), bytes);
}

TEST(ListFile, ReadsTheEncodingsSpreadsheetsWrite) {
    const std::u16string text = u"a.tep,1,,,山田\r\n";
    auto with_mark = Utf16Bytes(text);
    with_mark.insert(with_mark.begin(), {0xFF, 0xFE});
    EXPECT_EQ(DetectListEncoding(with_mark), ListEncoding::Utf16);
    EXPECT_EQ(DecodeListText(with_mark, nullptr), text);
    EXPECT_EQ(DecodeListText(Utf16Bytes(text), nullptr), text);

    const std::string utf8 = "a.tep,1,,,\xE5\xB1\xB1\xE7\x94\xB0\r\n";
    EXPECT_EQ(DetectListEncoding(Bytes(utf8)), ListEncoding::Utf8);
    EXPECT_EQ(DecodeListText(Bytes(utf8), nullptr), text);
    EXPECT_EQ(DecodeListText(Bytes("\xEF\xBB\xBF" + utf8), nullptr), text);
    // A mark added twice is no part of the first field: kept, it would come back from the
    // program's own file as that file's mark and the field would change.
    EXPECT_EQ(DecodeListText(Bytes("\xEF\xBB\xBF\xEF\xBB\xBF" + utf8), nullptr), text);
    with_mark.insert(with_mark.begin(), {0xFF, 0xFE});
    EXPECT_EQ(DecodeListText(with_mark, nullptr), text);

    const std::string sjis = "a.tep,1,,,\x8E\x52\x93\x63\r\n";
    EXPECT_EQ(DetectListEncoding(Bytes(sjis)), ListEncoding::ShiftJis);
    EXPECT_EQ(DecodeListText(Bytes(sjis), TinyShiftJis), text);
    EXPECT_EQ(ParseListText(DecodeListText(Bytes("b.tep,2,,,\x89\xD4\x8E\x71\r\n"), TinyShiftJis))[0][4],
              u"花子");
}

TEST(ListFile, RandomBytesNeverBreakTheReader) {
    std::mt19937 random(15);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::uint8_t> bytes(1 + random() % 5000);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        for (const ListRow& row : ParseListText(DecodeListText(bytes, TinyShiftJis)))
            for (const auto& field : row) EXPECT_LE(field.size(), kListRecordUnits);
    }
}

TEST(ListFile, AMarkWrittenTwiceIsNoContent) {
    // Found by fuzzing: the second mark began the first template name, and the list
    // written back started with FF FE, which the next read took for its mark.
    const std::string csv = "\xEF\xBB\xBF\xEF\xBB\xBFtemp\\a.tep,1\r\n";
    const auto rows = ParseListText(DecodeListText(std::vector<std::uint8_t>(csv.begin(), csv.end()), nullptr));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], u"temp\\a.tep");
    EXPECT_EQ(ReadBack(rows), rows);
    // The program's own list whose bytes begin like a UTF-8 mark: EF BB of U+BBEF, BF of U+30BF.
    const std::vector<ListRow> korean = {Row(u"\uBBEF\u30BF.tep", u"1")};
    EXPECT_EQ(ReadBack(korean), korean);
    const std::vector<ListRow> marked = {Row(u"\uFEFF0", u"1")};
    EXPECT_EQ(ReadBack(marked), marked);
}

TEST(ListFile, BinaryDataIsNoListText) {
    const std::vector<ListRow> rows = {Row(u"横型.tep", u"1", u"山田　花子"), Row(u"a.tep", u"2", u"x,\"y\"\r\nz")};
    EXPECT_TRUE(IsListText(DecodeListText(ListFileBytes(rows), nullptr)));
    EXPECT_TRUE(IsListText(u"\tA,B\r\nC\U0001F600\n"));
    EXPECT_FALSE(IsListText(std::u16string(u"a\0b", 3)));
    EXPECT_FALSE(IsListText(u"a\u0002"));
    EXPECT_FALSE(IsListText(u"a\xD800" u"b"));
    EXPECT_FALSE(IsListText(u"a\xDC00"));
    EXPECT_FALSE(IsListText(u"\xFFFF"));
    // A picture or any other binary file, as the reader would take it (zero bytes: UTF-16).
    std::mt19937 rng(16);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::uint8_t> binary = {0x89, 'P', 'N', 'G', 0, 0};
        for (int i = 0; i < 400; ++i) binary.push_back(static_cast<std::uint8_t>(rng()));
        EXPECT_FALSE(IsListText(DecodeListText(binary, nullptr))) << round;
    }
}

TEST(ListFile, CsvIsForcedAtTheLastDotOfTheName) {
    EXPECT_EQ(ForceCsvExtension(u"C:\\data\\2024.05.顧客.csv"), u"C:\\data\\2024.05.顧客.csv");
    EXPECT_EQ(ForceCsvExtension(u"C:\\data\\2024.05.顧客.txt"), u"C:\\data\\2024.05.顧客.csv");
    EXPECT_EQ(ForceCsvExtension(u"C:\\data\\list"), u"C:\\data\\list.csv");
    EXPECT_EQ(ForceCsvExtension(u"C:\\my.folder\\list"), u"C:\\my.folder\\list.csv");
    EXPECT_EQ(ForceCsvExtension(u"C:/my.folder/list"), u"C:/my.folder/list.csv");
    EXPECT_EQ(ForceCsvExtension(u"list."), u"list.csv");
}

TEST(ListFile, TemplateNamesMayNotLeaveTheTemplateFolder) {
    EXPECT_EQ(CheckTemplateName(u"縦型.tep"), TemplateNameCheck::Ok);
    EXPECT_EQ(CheckTemplateName(u"a..b.tep"), TemplateNameCheck::LeavesFolder);
    EXPECT_EQ(CheckTemplateName(u""), TemplateNameCheck::Empty);
    for (const char16_t* name : {u"..\\x", u"..", u"sub\\a.tep", u"sub/a.tep", u"C:a.tep", u"\\\\server\\a"})
        EXPECT_EQ(CheckTemplateName(name), TemplateNameCheck::LeavesFolder) << std::u16string(name).size();
    EXPECT_EQ(CheckTemplateName(std::u16string(254, u'n')), TemplateNameCheck::Ok);
    EXPECT_EQ(CheckTemplateName(std::u16string(255, u'n')), TemplateNameCheck::TooLong);
}

TEST(ListFile, QueueTakesTheSelectionInOrder) {
    auto queue = std::make_unique<PrintQueue>();
    std::vector<ListRow> selected{Row(u"a.tep", u"1", u"山田"), Row(u"b.tep", u"-3", u"佐藤"),
                                  Row(u"c.tep", u"abc", u"鈴木"), Row(u"d.tep", u" 2枚", u"高橋")};
    selected[0][16] = std::u16string(70, u'z');
    ASSERT_EQ(FillPrintQueue(selected, 99, *queue).status, QueueFillStatus::Filled);
    ASSERT_EQ(queue->count, 4);
    EXPECT_EQ(TextOf(queue->records[0].path), u"temp\\a.tep");
    EXPECT_EQ(TextOf(queue->records[0].strings[2]), u"山田");
    EXPECT_EQ(TextOf(queue->records[0].strings[14]), std::u16string(62, u'z'));
    EXPECT_EQ(queue->records[1].copies, -3);
    EXPECT_EQ(queue->records[2].copies, 0);
    EXPECT_EQ(queue->records[3].copies, 2);
    EXPECT_EQ(TextOf(queue->records[3].strings[2]), u"高橋");

    // 99 selected rows fill the queue; one row more in the list refuses any selection.
    const std::vector<ListRow> many(99, Row(u"a.tep", u"1"));
    EXPECT_EQ(FillPrintQueue(many, 99, *queue).status, QueueFillStatus::Filled);
    EXPECT_EQ(queue->count, 99);
    EXPECT_EQ(FillPrintQueue(std::span(many).first(1), 100, *queue).status, QueueFillStatus::TooManyRows);
    EXPECT_EQ(queue->count, 0);
    EXPECT_EQ(FillPrintQueue({}, 5, *queue).status, QueueFillStatus::NothingSelected);

    const std::vector<ListRow> bad{Row(u"a.tep", u"1"), Row(u"..\\x", u"1")};
    const QueueFill refused = FillPrintQueue(bad, 2, *queue);
    EXPECT_EQ(refused.status, QueueFillStatus::BadName);
    EXPECT_EQ(refused.bad_row, 1);
    EXPECT_EQ(queue->count, 0);
}
