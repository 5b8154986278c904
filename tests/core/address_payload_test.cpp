#include "qr/address_payload.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "design/fixed_text.h"

namespace {

std::unique_ptr<QrcodeData> EmptyEntry() {
    auto entry = std::make_unique<QrcodeData>();
    *entry = QrcodeData{};
    return entry;
}

std::u16string Repeat(std::u16string_view unit, int times) {
    std::u16string text;
    for (int i = 0; i < times; ++i) text += unit;
    return text;
}

std::vector<std::u16string> Lines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string_view::npos;
         start = end + 2)
        lines.emplace_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line ends with CR LF";
    return lines;
}

const char16_t* const kKeys[10] = {u"MEMORY:", u"NAME1:", u"NAME2:", u"MAIL1:", u"MAIL2:",
                                   u"MAIL3:",  u"TEL1:",  u"TEL2:",  u"TEL3:",  u"ADD:"};

// The ten lines in order, each "key + value"; returns the values.
std::vector<std::u16string> Values(const QrcodeData& entry) {
    const auto lines = Lines(TextOf(entry.s));
    std::vector<std::u16string> values;
    EXPECT_EQ(lines.size(), 10u);
    for (std::size_t i = 0; i < lines.size() && i < 10; ++i) {
        const std::u16string_view key = kKeys[i];
        EXPECT_EQ(std::u16string_view(lines[i]).substr(0, key.size()), key) << "line " << i;
        values.push_back(lines[i].substr(key.size()));
    }
    return values;
}

void ExpectFits(const QrcodeData& entry) {
    const std::u16string_view text = TextOf(entry.s);
    EXPECT_LE(text.size(), static_cast<std::size_t>(kQrTextLimit));
    EXPECT_LE(ShiftJisLength(text), kQrByteLimit);
}

TEST(ShiftJisLength, CountsOneByteForAsciiAndHalfWidthKatakanaTwoForTheRest) {
    EXPECT_EQ(ShiftJisLength(u""), 0);
    EXPECT_EQ(ShiftJisLength(u"A\r\n~"), 4);
    EXPECT_EQ(ShiftJisLength(u"ｱﾝ\uFF61\uFF9F"), 4);
    EXPECT_EQ(ShiftJisLength(u"漢字カナ　\uFF60\uFFA0"), 14);
    EXPECT_EQ(ShiftJisLength(u"\U0001F600"), 4);  // a pair, more than its one '?' byte
}

TEST(BuildAddressPayload, TenLinesWithEmptyValuesKept) {
    auto entry = EmptyEntry();
    SetText(entry->sn, u"山田　太郎");
    SetText(entry->st1, u"0312345678");
    SetText(entry->s, u"old text that must go");
    BuildAddressPayload(*entry, AddressFormat::kAu);
    EXPECT_EQ(TextOf(entry->s),
              u"MEMORY:\r\nNAME1:山田　太郎\r\nNAME2:\r\nMAIL1:\r\nMAIL2:\r\nMAIL3:\r\n"
              u"TEL1:0312345678\r\nTEL2:\r\nTEL3:\r\nADD:\r\n");
    EXPECT_EQ(TextOf(entry->sn), u"山田　太郎");
}

TEST(BuildAddressPayload, AllFieldsInTheirLineOrder) {
    auto entry = EmptyEntry();
    SetText(entry->sn, u"n");
    SetText(entry->sy, u"y");
    SetText(entry->sm1, u"m1");
    SetText(entry->sm2, u"m2");
    SetText(entry->sm3, u"m3");
    SetText(entry->st1, u"t1");
    SetText(entry->st2, u"t2");
    SetText(entry->st3, u"t3");
    SetText(entry->sa, u"a");
    BuildAddressPayload(*entry, AddressFormat::kAu);
    EXPECT_EQ(Values(*entry), (std::vector<std::u16string>{u"", u"n", u"y", u"m1", u"m2", u"m3",
                                                           u"t1", u"t2", u"t3", u"a"}));
}

// Every field at the dialog's read limit: 307 characters uncut.
void FillToReadLimits(QrcodeData& entry, std::u16string_view unit31, std::u16string_view name_unit) {
    SetText(entry.sn, Repeat(name_unit, 31));
    SetText(entry.sy, Repeat(name_unit, 31));
    SetText(entry.sm1, Repeat(unit31, 31));
    SetText(entry.sm2, Repeat(unit31, 31));
    SetText(entry.sm3, Repeat(unit31, 31));
    SetText(entry.st1, Repeat(u"1", 15));
    SetText(entry.st2, Repeat(u"2", 15));
    SetText(entry.st3, Repeat(u"3", 15));
    SetText(entry.sa, Repeat(name_unit, 31));
}

TEST(BuildAddressPayload, FullAsciiFieldsAreCutFromTheLongestEvenly) {
    auto entry = EmptyEntry();
    FillToReadLimits(*entry, u"m", u"a");
    BuildAddressPayload(*entry, AddressFormat::kAu);
    ExpectFits(*entry);
    const auto values = Values(*entry);
    ASSERT_EQ(values.size(), 10u);
    // 76 bytes of keys and line breaks leave 179 for the values: the six 31-character
    // values come down together to 23, the first four of them one further; the
    // telephone numbers, always shorter, keep all their digits.
    EXPECT_EQ(values[1], Repeat(u"a", 22));
    EXPECT_EQ(values[2], Repeat(u"a", 22));
    EXPECT_EQ(values[3], Repeat(u"m", 22));
    EXPECT_EQ(values[4], Repeat(u"m", 22));
    EXPECT_EQ(values[5], Repeat(u"m", 23));
    EXPECT_EQ(values[6], Repeat(u"1", 15));
    EXPECT_EQ(values[9], Repeat(u"a", 23));
    EXPECT_EQ(ShiftJisLength(TextOf(entry->s)), 255);
    EXPECT_EQ(TextLength(entry->sn), 31u);  // the contact fields keep their values
}

TEST(BuildAddressPayload, FullJapaneseFieldsFitTheSymbolsByteLimit) {
    auto entry = EmptyEntry();
    FillToReadLimits(*entry, u"m", u"漢");
    SetText(entry->sy, Repeat(u"ｶ", 31));  // half-width katakana, one byte each
    BuildAddressPayload(*entry, AddressFormat::kAu);
    ExpectFits(*entry);
    const auto values = Values(*entry);
    ASSERT_EQ(values.size(), 10u);
    // The double-byte values are cut first and furthest.
    EXPECT_LT(values[1].size(), values[3].size());
    EXPECT_EQ(values[1].size(), values[9].size());
    EXPECT_GE(ShiftJisLength(TextOf(entry->s)), kQrByteLimit - 1);
    for (std::size_t i = 1; i < values.size(); ++i) EXPECT_FALSE(values[i].empty()) << i;
}

TEST(BuildAddressPayload, NeverSplitsASurrogatePair) {
    auto entry = EmptyEntry();
    FillToReadLimits(*entry, u"m", u"漢");
    SetText(entry->sa, Repeat(u"\U0001F600", 31));  // 62 units, counted 124 bytes
    BuildAddressPayload(*entry, AddressFormat::kAu);
    ExpectFits(*entry);
    const auto values = Values(*entry);
    ASSERT_EQ(values.size(), 10u);
    const std::u16string& address = values[9];
    ASSERT_FALSE(address.empty());
    EXPECT_EQ(address.size() % 2, 0u);
    EXPECT_EQ(address, Repeat(u"\U0001F600", static_cast<int>(address.size() / 2)));
}

TEST(AddressFormatOf, TheTextsOpeningNamesItsFormat) {
    EXPECT_EQ(AddressFormatOf(u"MECARD:N:山田;;"), AddressFormat::kMecard);
    EXPECT_EQ(AddressFormatOf(u"BEGIN:VCARD\r\nVERSION:3.0\r\n"), AddressFormat::kVcard);
    EXPECT_EQ(AddressFormatOf(u"MEMORY:\r\nNAME1:"), AddressFormat::kAu);
    EXPECT_EQ(AddressFormatOf(u""), AddressFormat::kAu);
    EXPECT_EQ(AddressFormatOf(u"https://example.jp/MECARD:"), AddressFormat::kAu);
}

// UTF-8 of text, for failure messages.
std::string Utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Every field filled, with characters each format must escape.
void FillAll(QrcodeData& entry) {
    SetText(entry.sn, u"山田　太郎");
    SetText(entry.sy, u"ヤマダ タロウ");
    SetText(entry.sm1, u"taro@ex.jp");
    SetText(entry.sm2, u"a;b,c\\d:e@example.jp");
    SetText(entry.sm3, u"y@example.co.jp");
    SetText(entry.st1, u"03-1234-5678");
    SetText(entry.st2, u"09012345678");
    SetText(entry.st3, u"+81,3;1");
    SetText(entry.sa, u"東京都千代田区1-2-3 ビル5F");
}

TEST(BuildAddressPayload, MecardHasEveryFilledFieldEscaped) {
    auto entry = EmptyEntry();
    FillAll(*entry);
    BuildAddressPayload(*entry, AddressFormat::kMecard);
    EXPECT_EQ(TextOf(entry->s),
              u"MECARD:N:山田　太郎;SOUND:ヤマダ タロウ;TEL:03-1234-5678;TEL:09012345678;"
              u"TEL:+81\\,3\\;1;EMAIL:taro@ex.jp;EMAIL:a\\;b\\,c\\\\d\\:e@example.jp;"
              u"EMAIL:y@example.co.jp;ADR:東京都千代田区1-2-3 ビル5F;;");
}

TEST(BuildAddressPayload, MecardLeavesEmptyFieldsOut) {
    auto entry = EmptyEntry();
    SetText(entry->sn, u"佐藤花子");
    SetText(entry->st2, u"0312345678");
    SetText(entry->sm3, u"h@example.jp");
    BuildAddressPayload(*entry, AddressFormat::kMecard);
    EXPECT_EQ(TextOf(entry->s), u"MECARD:N:佐藤花子;TEL:0312345678;EMAIL:h@example.jp;;");
    *entry = QrcodeData{};
    BuildAddressPayload(*entry, AddressFormat::kMecard);
    EXPECT_EQ(TextOf(entry->s), u"MECARD:;");
}

TEST(BuildAddressPayload, VcardHasEveryFilledFieldEscaped) {
    auto entry = EmptyEntry();
    FillAll(*entry);
    SetText(entry->sa, u"東京都;千代田区\r\n1-2-3");
    BuildAddressPayload(*entry, AddressFormat::kVcard);
    // Colons need no escape in a vCard value; a line break becomes \n.
    EXPECT_EQ(Utf8(TextOf(entry->s)),
              Utf8(
              u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nFN:山田　太郎\r\n"
              u"SORT-STRING:ヤマダ タロウ\r\nTEL:03-1234-5678\r\nTEL:09012345678\r\n"
              u"TEL:+81\\,3\\;1\r\nEMAIL:taro@ex.jp\r\nEMAIL:a\\;b\\,c\\\\d:e@example.jp\r\n"
              u"EMAIL:y@example.co.jp\r\nADR:;;東京都\\;千代田区\\n1-2-3;;;;\r\nEND:VCARD\r\n"));
}

TEST(BuildAddressPayload, VcardSplitsTheNameAtItsFirstSpace) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"山田 太郎", u"N:山田;太郎;;;\r\nFN:山田 太郎\r\n"},
        {u"  鈴木　 一郎 次郎 ", u"N:鈴木;一郎 次郎;;;\r\nFN:  鈴木　 一郎 次郎 \r\n"},
        {u"山田太郎", u"N:山田太郎;;;;\r\nFN:山田太郎\r\n"},
        {u"Smith, J", u"N:Smith\\,;J;;;\r\nFN:Smith\\, J\r\n"},
        // No name: N and FN stay, empty; the other empty fields are left out.
        {u"", u"N:;;;;\r\nFN:\r\n"},
    };
    for (const auto& [name, lines] : cases) {
        auto entry = EmptyEntry();
        SetText(entry->sn, name);
        BuildAddressPayload(*entry, AddressFormat::kVcard);
        EXPECT_EQ(TextOf(entry->s), u"BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + u"END:VCARD\r\n");
    }
}

// True when every backslash of text starts one of the escapes.
bool EscapesWhole(std::u16string_view text, std::u16string_view escapable) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') continue;
        if (i + 1 == text.size() || escapable.find(text[i + 1]) == std::u16string_view::npos)
            return false;
        ++i;
    }
    return true;
}

TEST(BuildAddressPayload, FullFieldsAreCutWithoutSplittingEscapesOrCharacters) {
    for (AddressFormat format : {AddressFormat::kMecard, AddressFormat::kVcard}) {
        SCOPED_TRACE(format == AddressFormat::kMecard ? "MECARD" : "vCard");
        {
            // Double-byte and escaped values at the dialog's read limits.
            auto entry = EmptyEntry();
            FillToReadLimits(*entry, u";", u"漢");
            SetText(entry->sn, Repeat(u"山", 15) + u"　" + Repeat(u"太", 15));
            BuildAddressPayload(*entry, format);
            ExpectFits(*entry);
            const std::u16string_view text = TextOf(entry->s);
            EXPECT_GE(ShiftJisLength(text), kQrByteLimit - 3);
            EXPECT_TRUE(EscapesWhole(text, u";:,\\n")) << Utf8(text);
            // Every field keeps a part; the telephone numbers, short already, most of it.
            for (const char16_t* part : {u"山", u"漢", u"\\;", u"1111111111", u"3333333333"})
                EXPECT_NE(text.find(part), std::u16string_view::npos) << Utf8(part) << " in " << Utf8(text);
            const std::u16string_view end =
                format == AddressFormat::kMecard ? u";;" : u"\r\nEND:VCARD\r\n";
            EXPECT_TRUE(text.ends_with(end));
            EXPECT_EQ(TextLength(entry->sn), 31u);  // the contact fields keep their values
        }
        {
            // A value of backslashes alone: each cut takes an escape whole.
            auto entry = EmptyEntry();
            FillToReadLimits(*entry, u"m", u"a");
            SetText(entry->sa, Repeat(u"\\", 31));
            BuildAddressPayload(*entry, format);
            ExpectFits(*entry);
            EXPECT_TRUE(EscapesWhole(TextOf(entry->s), u";:,\\n"));
            EXPECT_NE(TextOf(entry->s).find(u"\\\\"), std::u16string_view::npos);
        }
    }
}

TEST(BuildAddressPayload, VcardCutNameStaysTheSameInNAndFn) {
    auto entry = EmptyEntry();
    FillToReadLimits(*entry, u"m", u"漢");
    SetText(entry->sn, Repeat(u"山", 10) + u" " + Repeat(u"太", 20));
    BuildAddressPayload(*entry, AddressFormat::kVcard);
    ExpectFits(*entry);
    const std::u16string text(TextOf(entry->s));
    const std::size_t n = text.find(u"\r\nN:") + 4;
    const std::size_t fn = text.find(u"\r\nFN:") + 5;
    const std::u16string family = text.substr(n, text.find(u';', n) - n);
    const std::size_t given_at = n + family.size() + 1;
    const std::u16string given = text.substr(given_at, text.find(u';', given_at) - given_at);
    ASSERT_FALSE(family.empty());
    EXPECT_EQ(family.find_first_not_of(u'山'), std::u16string::npos);
    EXPECT_EQ(text.substr(fn, text.find(u"\r\n", fn) - fn),
              given.empty() ? family : family + u" " + given);
}

// The card's texts as Shift_JIS bytes; items not given are empty.
TEST(AddressPayload, AnUnpairedSurrogateIsCutAsOneUnit) {
    auto entry = EmptyEntry();
    SetText(entry->sn, Repeat(u"x", 31));
    SetText(entry->sm1, Repeat(u"x", 31));
    SetText(entry->sy, Repeat(u"y", 24));
    // 63 units of 94 bytes, the longest value, each high surrogate without its low half;
    // the payload is one byte over, so only the last "a" goes.
    const std::u16string address = u"a" + Repeat(u"\xD800" u"a", 31);
    SetText(entry->sa, address);
    BuildAddressPayload(*entry, AddressFormat::kAu);
    EXPECT_EQ(Values(*entry).back(), address.substr(0, address.size() - 1));
}

ShiftJisTexts Texts(std::initializer_list<std::pair<int, std::string>> items) {
    ShiftJisTexts texts;
    for (const auto& [index, bytes] : items) texts[index] = bytes;
    return texts;
}

std::unique_ptr<CardDesign> SampleCard() {
    auto design = std::make_unique<CardDesign>();
    ResetDesign(*design, SettingsScope::Full);
    return design;
}

TEST(AutoSetAddress, TelephoneNumbersKeepOnlyTheirDigits) {
    auto design = SampleCard();
    const AutoAddress found =
        AutoSetAddress(*design, Texts({{4, "TEL 03-1234-5678 / 090(1234)5678"}}));
    EXPECT_EQ(found.tel[0], u"0312345678");
    EXPECT_EQ(found.tel[1], u"09012345678");
    EXPECT_EQ(found.tel[2], u"");
}

TEST(AutoSetAddress, ElevenDigitsOnlyForTheFirstTwoNumbersAndThreeAtMost) {
    auto design = SampleCard();
    {
        // Runs of 9 and 12 digits are no numbers; the third 11-digit run is skipped and
        // the 10-digit run after it becomes the third number; a fourth is ignored.
        const AutoAddress found = AutoSetAddress(
            *design, Texts({{0, "123-456-789 1234-5678-9012"},
                            {4, "090-1111-2222,080-3333-4444"},
                            {9, "070-5555-6666 06-7777-8888"},
                            {14, "(011)222-3333"}}));
        EXPECT_EQ(found.tel[0], u"09011112222");
        EXPECT_EQ(found.tel[1], u"08033334444");
        EXPECT_EQ(found.tel[2], u"0677778888");
    }
    {
        // A run still open at the end of one text does not join the next text's digits.
        const AutoAddress found = AutoSetAddress(*design, Texts({{1, "03-1234"}, {2, "5678"}}));
        EXPECT_EQ(found.tel[0], u"");
    }
}

std::u16string FirstMail(const std::string& text) {
    auto design = SampleCard();
    return AutoSetAddress(*design, Texts({{0, text}})).mail[0];
}

TEST(AutoSetAddress, MailAddressesNeedALocalPartAndADomainWithAFullStop) {
    auto design = SampleCard();
    const AutoAddress found = AutoSetAddress(
        *design, Texts({{5, "name@host @.x a@b. x@.jp"},
                        // "e-Mail：" with the full-width colon 0x81 0x46.
                        {6, "e-Mail\x81\x46sato@example.co.jp"},
                        {9, "http://www.example.jp/ a@b.jp third@example.jp"}}));
    EXPECT_EQ(found.mail[0], u"sato@example.co.jp");
    EXPECT_EQ(found.mail[1], u"a@b.jp");
    EXPECT_EQ(found.mail[2], u"");
}

TEST(AutoSetAddress, ATrailByteWithALeadValueDoesNotCutTheAddressAfterIt) {
    // メール is 83 81, 81 5B, 83 8B: the trail byte of ル is itself a lead value.
    const std::string mail_label = "\x83\x81\x81\x5B\x83\x8B";
    EXPECT_EQ(FirstMail(mail_label + "taro@example.jp"), u"taro@example.jp");
    EXPECT_EQ(FirstMail(mail_label + ":taro@example.jp"), u"taro@example.jp");
    // "E-mail：taro@example.jp（代表）": the full-width colon and brackets, and 表 whose
    // trail byte is a backslash.
    EXPECT_EQ(FirstMail("E-mail\x81\x46taro@example.jp\x81\x69\x91\xE3\x95\x5C\x81\x6A"),
              u"taro@example.jp");
    // The ideographic space is 0x81 0x40: its trail byte is no at sign.
    EXPECT_EQ(FirstMail("ab\x81\x40" "cd.ef"), u"");
    // 亜 is 0x88 0x9F; a half-width katakana (0xB1) is one byte, neither joins an address.
    EXPECT_EQ(FirstMail("\x88\x9Fx@y.jp"), u"x@y.jp");
    EXPECT_EQ(FirstMail("\xB1" "a@b.jp"), u"a@b.jp");
}

TEST(AutoSetAddress, PunctuationAroundAnAddressIsNotPartOfIt) {
    EXPECT_EQ(FirstMail("<-taro.yamada+card@mail.example.jp.>"), u"taro.yamada+card@mail.example.jp");
    EXPECT_EQ(FirstMail("(taro_1@ex-ample.jp),"), u"taro_1@ex-ample.jp");
    // Two addresses joined by a comma are both found; of overlapping ones the longest.
    auto design = SampleCard();
    const AutoAddress two = AutoSetAddress(*design, Texts({{0, "a@b.jp,cc@dd.jp"}}));
    EXPECT_EQ(two.mail[0], u"a@b.jp");
    EXPECT_EQ(two.mail[1], u"cc@dd.jp");
    EXPECT_EQ(FirstMail("a@b.c@dd.ee"), u"b.c@dd.ee");
}

TEST(AutoSetAddress, NameAndAddressComeFromTextItemsTwoAndThree) {
    auto design = SampleCard();
    SetText(design->str_data[kTextName].s64, u"佐藤　花子");
    const AutoAddress found = AutoSetAddress(*design, ShiftJisTexts{});
    EXPECT_EQ(found.name, u"佐藤　花子");
    EXPECT_EQ(found.address, std::u16string(SampleText(kTextAddress)));
}

}  // namespace
