#include "design/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "design/fixed_text.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16Le(std::u16string_view text) {
    Bytes bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// A file: byte-order mark, then the body.
Bytes WideFile(std::u16string_view body) {
    return Utf16Le(std::u16string(1, u'\uFEFF') + std::u16string(body));
}

std::unique_ptr<CardDesign> LoadDefaults() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    return d;
}

std::unique_ptr<CardDesign> Read(std::u16string_view body,
                                 SettingsScope scope = SettingsScope::Full) {
    auto d = LoadDefaults();
    EXPECT_EQ(ReadSettingsBytes(*d, scope, WideFile(body)), SettingsReadStatus::Read);
    return d;
}

bool SameRecord(const CardDesign& a, const CardDesign& b) {
    return std::memcmp(&a, &b, sizeof(CardDesign)) == 0;
}

std::u16string Str(std::u16string_view v) {
    return std::u16string(v);
}

// The lines of a formatted file (after its byte-order mark), each of which must end in CR LF.
std::vector<std::u16string> Lines(const std::u16string& file) {
    std::vector<std::u16string> lines;
    EXPECT_EQ(file.front(), u'\uFEFF');
    std::size_t start = 1;
    while (start < file.size()) {
        const std::size_t end = file.find(u"\r\n", start);
        EXPECT_NE(end, std::u16string::npos) << "unterminated last line";
        if (end == std::u16string::npos) break;
        lines.push_back(file.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Random values for every field of the record, listed here independently of the key
// table, so that a key missing from the table shows as a field that does not come back.
class Filler {
public:
    explicit Filler(unsigned seed) : rng_(seed) {}

    int Int() {
        switch (rng_() % 6) {
            case 0: return INT_MIN;
            case 1: return INT_MAX;
            case 2: return -static_cast<int>(rng_() % 1000);
            default: return static_cast<int>(rng_() % 100000);
        }
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(rng_()); }

    // Kanji, ASCII with "=", control units (U+0002 too: only the QR text gives it a
    // meaning) and lone surrogates; no NUL, CR or LF. Every other string is full.
    template <std::size_t N>
    void Text(char16_t (&field)[N]) {
        std::u16string s;
        const std::size_t length = (++count_ % 2) ? N - 1 : rng_() % N;
        while (s.size() < length) {
            char16_t c;
            switch (rng_() % 5) {
                case 0: c = static_cast<char16_t>(0x4E00 + rng_() % 0x5000); break;
                case 1: c = u'='; break;
                case 2: c = static_cast<char16_t>(0xD800 + rng_() % 0x800); break;
                case 3: c = static_cast<char16_t>(1 + rng_() % 31); break;
                default: c = static_cast<char16_t>(0x20 + rng_() % 0x5F); break;
            }
            if (c != u'\r' && c != u'\n') s += c;
        }
        SetText(field, s);
    }

    // A QR text with CR LF pairs and lone CRs and LFs, never U+0002 or U+0003.
    void QrText(char16_t (&field)[288]) {
        std::u16string s;
        const std::size_t length = (++count_ % 2) ? 287 : rng_() % 288;
        static constexpr char16_t kPieces[] = u"AB=\r\n漢ｱ\r";
        while (s.size() < length) s += kPieces[rng_() % (sizeof kPieces / 2 - 1)];
        SetText(field, s);
    }

    std::unique_ptr<CardDesign> Design() {
        auto d = std::make_unique<CardDesign>();
        d->base_w = Int();
        d->base_h = Int();
        Text(d->base_filepass);
        d->base_pl_mode = Int();
        for (auto& m : d->mark_data) {
            m.on = Int(), m.x = Int(), m.y = Int(), m.w = Int(), m.h = Int(), m.m = Int();
            Text(m.fm);
        }
        for (int j = 0; j < kTextCount; ++j) {
            auto& t = d->str_data[j];
            t.on = Int(), t.x = Int(), t.y = Int(), t.r = Int(), t.g = Int(), t.b = Int();
            t.br = Int(), t.bg = Int(), t.bb = Int();
            t.bk = j + 1;
            Text(t.s64);
            auto& f = d->lf[j];
            f.lfHeight = Int(), f.lfWidth = Int(), f.lfEscapement = Int(), f.lfOrientation = Int();
            f.lfWeight = Int();
            f.lfItalic = Byte(), f.lfUnderline = Byte(), f.lfStrikeOut = Byte(),
            f.lfCharSet = Byte();
            f.lfOutPrecision = Byte(), f.lfClipPrecision = Byte(), f.lfQuality = Byte();
            f.lfPitchAndFamily = Byte();
            Text(f.lfFaceName);
        }
        for (auto& q : d->qrcode_data) {
            q.on = Int();
            QrText(q.s);
            Text(q.sn), Text(q.sy), Text(q.st1), Text(q.st2), Text(q.st3);
            Text(q.sm1), Text(q.sm2), Text(q.sm3), Text(q.sa);
            q.Lv = Int(), q.Sell = Int(), q.x = Int(), q.y = Int(), q.w = Int(), q.h = Int();
            q.r = Int(), q.g = Int(), q.b = Int(), q.br = Int(), q.bg = Int(), q.bb = Int();
        }
        auto& p = d->phot_data;
        p.on = Int(), p.x = Int(), p.y = Int(), p.w = Int(), p.h = Int();
        Text(p.fm);
        d->base_pw = Int(), d->base_ph = Int();
        d->base_cntx = Int(), d->base_cnty = Int(), d->base_px = Int(), d->base_py = Int();
        d->base_spx = Int(), d->base_spy = Int();
        Text(d->main_filename);
        Text(d->oekaki_filename);
        d->b_outline = Int(), d->m_outline = Int(), d->c_outline = Int(), d->p_outline = Int();
        d->p_outline_size = Int(), d->p_outline_len = Int(), d->font_plprn = Int();
        d->base_load_mode = Int(), d->mark_load_mode = Int(), d->phot_load_mode = Int();
        d->pm_size_x = Int(), d->pm_size_y = Int();
        d->trim_lines = Int();
        return d;
    }

private:
    std::mt19937 rng_;
    unsigned count_ = 0;
};

// The sheet grid and the environment of `from`, which a Design read must not touch.
void CopySheetAndEnvironment(CardDesign& to, const CardDesign& from) {
    to.base_cntx = from.base_cntx, to.base_cnty = from.base_cnty;
    to.base_px = from.base_px, to.base_py = from.base_py;
    to.base_spx = from.base_spx, to.base_spy = from.base_spy;
    std::memcpy(to.main_filename, from.main_filename, sizeof to.main_filename);
    std::memcpy(to.oekaki_filename, from.oekaki_filename, sizeof to.oekaki_filename);
    to.b_outline = from.b_outline, to.m_outline = from.m_outline;
    to.c_outline = from.c_outline, to.p_outline = from.p_outline;
    to.p_outline_size = from.p_outline_size, to.p_outline_len = from.p_outline_len;
    to.font_plprn = from.font_plprn;
    to.base_load_mode = from.base_load_mode, to.mark_load_mode = from.mark_load_mode;
    to.phot_load_mode = from.phot_load_mode;
    to.pm_size_x = from.pm_size_x, to.pm_size_y = from.pm_size_y;
    to.trim_lines = from.trim_lines;
}

TEST(SettingsFile, FullRoundTripReproducesEveryField) {
    for (unsigned seed : {1u, 2u, 3u}) {
        const auto written = Filler(seed).Design();
        const auto before = std::make_unique<CardDesign>(*written);
        const Bytes file = SettingsFileBytes(*written, SettingsScope::Full);
        EXPECT_TRUE(SameRecord(*written, *before)) << "writing changed the design";

        auto read = Filler(seed + 100).Design();
        ASSERT_EQ(ReadSettingsBytes(*read, SettingsScope::Full, file), SettingsReadStatus::Read);
        EXPECT_EQ(FormatSettingsFile(*read, SettingsScope::Full),
                  FormatSettingsFile(*written, SettingsScope::Full));
        EXPECT_TRUE(SameRecord(*read, *written)) << "seed " << seed;
    }
}

TEST(SettingsFile, DesignRoundTripKeepsTheRunningSheetAndEnvironment) {
    for (unsigned seed : {4u, 5u}) {
        const auto written = Filler(seed).Design();
        const Bytes file = SettingsFileBytes(*written, SettingsScope::Design);

        auto read = Filler(seed + 100).Design();
        const auto running = std::make_unique<CardDesign>(*read);
        ASSERT_EQ(ReadSettingsBytes(*read, SettingsScope::Design, file), SettingsReadStatus::Read);

        auto expected = std::make_unique<CardDesign>(*written);
        CopySheetAndEnvironment(*expected, *running);
        EXPECT_TRUE(SameRecord(*read, *expected)) << "seed " << seed;
        for (int j = 8; j < kTextCount; ++j) EXPECT_EQ(read->str_data[j].bk, j + 1);
        EXPECT_EQ(read->base_pw, written->base_pw);
        EXPECT_EQ(read->base_cntx, running->base_cntx);
        EXPECT_EQ(Str(TextOf(read->main_filename)), Str(TextOf(running->main_filename)));
    }
}

TEST(SettingsFile, LinesWrittenFromTheLoadDefaults) {
    const auto d = LoadDefaults();
    const std::u16string text = FormatSettingsFile(*d, SettingsScope::Full);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 537u);
    EXPECT_EQ(lines[0], u"base_w=455");
    EXPECT_EQ(lines[1], u"base_h=275");
    EXPECT_EQ(lines[2], u"base_filepass=");
    EXPECT_EQ(lines[3], u"base_pl_mode=0");
    EXPECT_EQ(lines[4], u"mark_data[0].on=0");
    EXPECT_EQ(lines[39], u"str_data[0].on=0");
    EXPECT_EQ(lines[42], u"str_data[0].s64=会社名○×△□株式会社");
    EXPECT_EQ(lines[50], u"lf[0].lfHeight=-16");
    EXPECT_EQ(lines[63], u"lf[0].lfFaceName=ＭＳ 明朝");
    EXPECT_EQ(lines[414], u"qrcode_data[0].on=0");
    EXPECT_EQ(lines[506], u"base_pw=910");
    EXPECT_EQ(lines[519], u"phot_data.fm=");
    EXPECT_EQ(lines[520], u"main_filename=無題.ini");
    EXPECT_EQ(lines[533], u"pm_size_y=550");
    EXPECT_EQ(lines[534], u"sheet_preset=");
    EXPECT_EQ(lines[535], u"trim_lines=0");
    EXPECT_EQ(lines[536], u"zoom=-1");

    // A one-sided design writes none of the two-sided keys, which follow all others.
    const auto& keys = SettingsKeys();
    ASSERT_EQ(keys.size(), 537u + 515u);
    std::set<std::u16string> names;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i < lines.size()) EXPECT_EQ(lines[i].substr(0, keys[i].name.size() + 1), keys[i].name + u"=") << i;
        EXPECT_EQ(keys[i].group == SettingsGroup::TwoSided, i >= 537u) << i;
        names.insert(keys[i].name);
    }
    EXPECT_EQ(names.size(), keys.size()) << "duplicate key";
    EXPECT_EQ(keys[537].name, u"back_on");
    EXPECT_EQ(keys[540].name, u"back.base_w");
    EXPECT_EQ(keys.back().name, u"back.phot_data.fm");

    const auto design_lines = Lines(FormatSettingsFile(*d, SettingsScope::Design));
    ASSERT_EQ(design_lines.size(), 520u);
    EXPECT_EQ(design_lines.back(), u"phot_data.fm=");
    EXPECT_EQ(design_lines[508], u"base_cntx=2");  // written, though a Design read skips it
    EXPECT_EQ(SettingsLineCount(SettingsScope::Design), 520u);
    EXPECT_EQ(SettingsLineCount(SettingsScope::Full), 537u);
    EXPECT_EQ(SettingsLineCount(SettingsScope::Design, true), 520u + 515u);

    const Bytes bytes = SettingsFileBytes(*d, SettingsScope::Full);
    ASSERT_EQ(bytes.size(), text.size() * 2);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2], 'b');
    EXPECT_EQ(bytes[3], 0);
}

TEST(SettingsFile, FontBytesAreWrittenUnsigned) {
    auto d = LoadDefaults();
    d->lf[3].lfCharSet = 200;
    d->lf[3].lfPitchAndFamily = 255;
    const auto lines = Lines(FormatSettingsFile(*d, SettingsScope::Design));
    EXPECT_EQ(lines[4 + 35 + 3 * 25 + 19], u"lf[3].lfCharSet=200");
    EXPECT_EQ(lines[4 + 35 + 3 * 25 + 23], u"lf[3].lfPitchAndFamily=255");
}

TEST(SettingsFile, QrTextLineBreaksTravelAsControlUnits) {
    auto d = LoadDefaults();
    SetText(d->qrcode_data[0].s, u"A\r\nB");
    const auto lines = Lines(FormatSettingsFile(*d, SettingsScope::Design));
    EXPECT_EQ(lines[415], u"qrcode_data[0].s=A\u0002\u0003B");
    EXPECT_EQ(Str(TextOf(d->qrcode_data[0].s)), u"A\r\nB");

    EXPECT_EQ(
        Str(TextOf(Read(u"qrcode_data[2].s=A\u0002\u0003B\r\nbase_w=1\r\n")->qrcode_data[2].s)),
        u"A\r\nB");
    // Restored by the lines that follow; a file that ends with the QR text keeps the units.
    EXPECT_EQ(Str(TextOf(Read(u"qrcode_data[1].s=A\u0002\r\n")->qrcode_data[1].s)), u"A\u0002");
    // Other strings keep U+0002 / U+0003 as they are.
    EXPECT_EQ(Str(TextOf(Read(u"str_data[0].s64=A\u0002\r\nbase_w=1\r\n")->str_data[0].s64)),
              u"A\u0002");
}

TEST(SettingsFile, KeysAndValuesAreParsedAsWritten) {
    EXPECT_EQ(Read(u"base_w=455=9\r\n")->base_w, 455);
    EXPECT_EQ(Str(TextOf(Read(u"base_filepass=a=b.bmp\r\n")->base_filepass)), u"a=b.bmp");
    const char16_t* not_keys[] = {u"BASE_W=100\r\n", u"base_w 100\r\n", u"base_w100\r\n",
                                  u" base_w=100\r\n", u"=100\r\n"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Read(not_keys[i] + std::u16string(u"base_h=1\r\n"))->base_w, 455) << "line " << i;
    EXPECT_EQ(Read(u"lf[0].lfItalic=257\r\n")->lf[0].lfItalic, 1);
    EXPECT_EQ(Read(u"lf[0].lfItalic=-1\r\n")->lf[0].lfItalic, 255);
    EXPECT_EQ(Read(u"base_w=12px\r\n")->base_w, 12);
    EXPECT_EQ(Read(u"base_w=\r\n")->base_w, 0);
    EXPECT_EQ(Read(u"base_w=x12\r\n")->base_w, 0);
    EXPECT_EQ(Read(u"base_w= \t-7\r\n")->base_w, -7);
    EXPECT_EQ(Read(u"base_w=+8\r\n")->base_w, 8);
    EXPECT_EQ(Read(u"mark_data[01].x=5\r\nbase_h=1\r\n")->mark_data[1].x, 0);  // no leading zeros
    EXPECT_EQ(Read(u"str_data[9].bk=1\r\n")->str_data[9].bk, 1);

    const auto twice =
        Read(u"base_h=1\r\nbase_filepass=long name\r\nbase_h=2\r\nbase_filepass=x\r\n");
    EXPECT_EQ(twice->base_h, 2);
    EXPECT_EQ(Str(TextOf(twice->base_filepass)), u"x");
    EXPECT_EQ(twice->base_filepass[5], 0);  // cleared over the whole capacity
}

TEST(SettingsFile, EveryKeyIsFoundAndOnlyWholeKeys) {
    // Each line of a full file alone names its key, and takes it: an integer key set to
    // 7 reads 7 (texts and font bytes alike take their value).
    const auto& keys = SettingsKeys();
    for (std::size_t at = 0; at < keys.size(); ++at) {
        auto d = std::make_unique<CardDesign>();
        const Bytes file = WideFile(keys[at].name + u"=7\r\n");
        EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, file), SettingsReadStatus::Read) << "key " << at;
        EXPECT_EQ(Lines(FormatSettingsFile(*d, SettingsScope::Full))[at], keys[at].name + u"=7") << "key " << at;
    }
    // A prefix of a key, a key with more after it, and a line that names no key are no keys:
    // a file of only such lines is no settings file.
    const char16_t* const not_keys[] = {u"str_data[1]=5",      u"str_data[1].o=5",   u"mark_data[0].onx=1",
                                        u"base_w2=9",          u"lf[14].lfFaceNam=x", u"qrcode_data[4].s=x",
                                        u"phot_data=1",        u"x=1"};
    for (std::size_t i = 0; i < std::size(not_keys); ++i) {
        auto d = std::make_unique<CardDesign>();
        EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, WideFile(not_keys[i] + std::u16string(u"\r\n"))),
                  SettingsReadStatus::Unreadable)
            << "line " << i;
    }
}

TEST(SettingsFile, DesignScopeReadsOnlyTheCard) {
    const std::u16string body =
        u"base_pw=123\r\nbase_ph=45\r\nbase_cntx=9\r\nbase_spy=9\r\nmain_filename=x.ini\r\n"
        u"oekaki_filename=p.exe\r\nb_outline=0\r\npm_size_y=1\r\n";
    const auto design = Read(body, SettingsScope::Design);
    EXPECT_EQ(design->base_pw, 123);
    EXPECT_EQ(design->base_ph, 45);
    EXPECT_EQ(design->base_cntx, 2);
    EXPECT_EQ(design->base_spy, 12);
    EXPECT_EQ(Str(TextOf(design->main_filename)), kUntitledName);
    EXPECT_EQ(Str(TextOf(design->oekaki_filename)), kDefaultPaintProgram);
    EXPECT_EQ(design->b_outline, 1);
    EXPECT_EQ(design->pm_size_y, 550);

    const auto full = Read(body, SettingsScope::Full);
    EXPECT_EQ(full->base_cntx, 9);
    EXPECT_EQ(full->base_spy, 9);
    EXPECT_EQ(Str(TextOf(full->main_filename)), u"x.ini");
    EXPECT_EQ(Str(TextOf(full->oekaki_filename)), u"p.exe");
    EXPECT_EQ(full->b_outline, 0);
    EXPECT_EQ(full->pm_size_y, 1);
}

Bytes Utf8(std::string_view text, bool marked) {
    Bytes b;
    if (marked) b = {0xEF, 0xBB, 0xBF};
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

TEST(SettingsFile, Utf8FilesReadLikeWideOnes) {
    // As another editor saves the shipped design: UTF-8, with and without the mark.
    const std::u16string body =
        u"base_w=300\r\nstr_data[2].s64=山田　花子\r\nqrcode_data[0].s=A\u0002\u0003B\r\n"
        u"str_data[9].s64=\U0001F600x\r\nlf[0].lfFaceName=ＭＳ 明朝\r\n";
    const std::string utf8 =
        "base_w=300\r\nstr_data[2].s64=\u5C71\u7530\u3000\u82B1\u5B50\r\nqrcode_data[0].s=A\x02\x03"
        "B\r\nstr_data[9].s64=\xF0\x9F\x98\x80x\r\nlf[0].lfFaceName=\uFF2D\uFF33 \u660E\u671D\r\n";
    const auto wide = Read(body);
    for (bool marked : {false, true}) {
        auto d = LoadDefaults();
        EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, Utf8(utf8, marked)), SettingsReadStatus::Read);
        EXPECT_TRUE(SameRecord(*d, *wide)) << marked;
        EXPECT_EQ(Str(TextOf(d->str_data[2].s64)), u"山田　花子");
        EXPECT_EQ(Str(TextOf(d->qrcode_data[0].s)), u"A\r\nB");
    }
}

TEST(SettingsFile, WhatCannotBeReadIsUnreadableAndLeavesTheDefaults) {
    const std::u16string body = u"base_w=100\r\n";
    Bytes big_endian = {0xFE, 0xFF};
    for (char16_t unit : body)
        big_endian.push_back(0), big_endian.push_back(static_cast<std::uint8_t>(unit));
    // Shift_JIS "base_w=100" then 漢字: not UTF-8.
    const Bytes shift_jis = {'b', 'a', 's', 'e', '_', 'w', '=', '1', '0', '0', '\r', '\n', 0x8A, 0xBF, 0x8E, 0x9A};
    Bytes utf8_bad_at_end = Utf8("base_w=100\r\n", true);
    utf8_bad_at_end.push_back(0xC3);  // a sequence cut short
    const std::vector<Bytes> unreadable = {
        big_endian,
        Utf16Le(body),  // little-endian without the mark: NUL bytes
        shift_jis,
        utf8_bad_at_end,
        Utf8("base_w=\xC0\xB1\r\n", false),        // overlong
        Utf8("base_w=\xED\xA0\x80\r\n", false),    // an encoded surrogate
        Utf8("base_w=1\x01\r\n", false),             // a control character without the mark
        Utf8("notes about my card\r\n", false),     // text, but no key at all
        WideFile(u"just some words\r\nmore\r\n"),
        {0xFF},
        {0xEF, 0xBB},
    };
    for (const Bytes& file : unreadable) {
        for (auto scope : {SettingsScope::Full, SettingsScope::Design}) {
            auto d = Filler(7).Design();
            auto expected = std::make_unique<CardDesign>(*d);
            ResetDesign(*expected, scope);
            EXPECT_EQ(ReadSettingsBytes(*d, scope, file), SettingsReadStatus::Unreadable)
                << file.size();
            EXPECT_TRUE(SameRecord(*d, *expected)) << "not left at the load defaults";
        }
    }
    auto d = LoadDefaults();
    SettingsFileReader reader(*d, SettingsScope::Full);
    EXPECT_TRUE(reader.Feed(Bytes{'b'}));
    EXPECT_FALSE(reader.Feed(Bytes{'a', 0}));
    EXPECT_EQ(reader.Finish(), SettingsReadStatus::Unreadable);

    EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, Bytes{}), SettingsReadStatus::Empty);
    // The mark alone, or blank lines, hold nothing to lose: read without a complaint.
    EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, Bytes{0xFF, 0xFE}), SettingsReadStatus::Read);
    EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, Utf8("\r\n \r\n", true)), SettingsReadStatus::Read);
}

TEST(SettingsFile, LineEnds) {
    const auto unterminated = Read(u"base_w=100\r\nbase_h=200");
    EXPECT_EQ(unterminated->base_w, 100);
    EXPECT_EQ(unterminated->base_h, 275);

    // CR only (as some editors and transfers leave a file), LF only, and a mixture.
    const std::u16string lines[] = {u"base_w=45", u"base_filepass=a=b.bmp", u"str_data[1].s64=x y",
                                    u"qrcode_data[0].s=1\u00022", u"base_h=6"};
    for (std::u16string_view end : {u"\r\n", u"\r", u"\n"}) {
        std::u16string body;
        for (const auto& line : lines) body += line + std::u16string(end);
        const auto d = Read(body);
        EXPECT_EQ(d->base_w, 45);
        EXPECT_EQ(Str(TextOf(d->base_filepass)), u"a=b.bmp");
        EXPECT_EQ(Str(TextOf(d->str_data[1].s64)), u"x y");
        EXPECT_EQ(Str(TextOf(d->qrcode_data[0].s)), u"1\r2");
        EXPECT_EQ(d->base_h, 6);
    }
    const auto mixed = Read(u"\nbase_w=45\r\r\n\n\rbase_h=6\n\rbase_pl_mode=2\r");
    EXPECT_EQ(mixed->base_w, 45);
    EXPECT_EQ(mixed->base_h, 6);
    EXPECT_EQ(mixed->base_pl_mode, 2);
    const auto crcr = Read(u"base_filepass=a\r\r\n");
    EXPECT_EQ(Str(TextOf(crcr->base_filepass)), u"a");

    // The whole shipped-size file with its line ends turned into CR only reads the same.
    auto written = Filler(11).Design();
    std::u16string cr_only = FormatSettingsFile(*written, SettingsScope::Full);
    std::erase(cr_only, u'\n');
    auto d = LoadDefaults();
    EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, Utf16Le(cr_only)), SettingsReadStatus::Read);
    EXPECT_TRUE(SameRecord(*d, *written));

    // A trailing odd byte is no unit.
    Bytes odd = WideFile(u"base_w=3\r\n");
    odd.push_back('\n');
    EXPECT_EQ(ReadSettingsBytes(*d, SettingsScope::Full, odd), SettingsReadStatus::Read);
    EXPECT_EQ(d->base_w, 3);
}

TEST(SettingsFile, OverlongLinesAndValuesAreCut) {
    std::u16string huge = u"base_filepass=" + std::u16string(100000 - 14, u'x');
    const auto long_path = Read(huge + u"\r\nbase_w=7\r\n");
    EXPECT_EQ(Str(TextOf(long_path->base_filepass)), std::u16string(255, u'x'));
    EXPECT_EQ(long_path->base_filepass[255], 0);
    EXPECT_EQ(long_path->base_w, 7);
    EXPECT_EQ(Read(std::u16string(100000, u'=') + u"\r\nbase_w=8\r\n")->base_w, 8);
    EXPECT_EQ(Read(std::u16string(100000, u'\r') + u"\nbase_w=9\r\n")->base_w, 9);
    EXPECT_EQ(Read(std::u16string(100000, u'x') + u"\rbase_w=9\r")->base_w, 9);

    // Longer than the line limit: what lies beyond it, a key included, is dropped.
    const std::u16string padded = u"str_data[0].s64=" + std::u16string(kSettingsLineLimit, u'a');
    EXPECT_EQ(Read(padded + u"base_w=5\r\n")->base_w, 455);

    EXPECT_EQ(Read(u"base_w=" + std::u16string(40, u'9') + u"\r\n")->base_w, INT_MAX);
    EXPECT_EQ(Read(u"base_w=-" + std::u16string(40, u'9') + u"\r\n")->base_w, INT_MIN);
    EXPECT_EQ(Read(u"base_w=2147483648\r\n")->base_w, INT_MAX);
    EXPECT_EQ(Read(u"base_w=-2147483648\r\n")->base_w, INT_MIN);
    EXPECT_EQ(Read(u"lf[1].lfQuality=" + std::u16string(40, u'9') + u"\r\n")->lf[1].lfQuality, 255);
    // Only the first 31 units count: 30 spaces leave one digit.
    EXPECT_EQ(Read(u"base_w=" + std::u16string(30, u' ') + u"12\r\n")->base_w, 1);

    const auto long_text = Read(u"str_data[0].s64=" + std::u16string(100, u'あ') +
                                u"\r\nlf[0].lfFaceName=" + std::u16string(40, u'F') +
                                u"\r\nqrcode_data[3].st1=" + std::u16string(20, u'1') + u"\r\n");
    EXPECT_EQ(Str(TextOf(long_text->str_data[0].s64)), std::u16string(63, u'あ'));
    EXPECT_EQ(long_text->str_data[0].s64[63], 0);
    EXPECT_EQ(Str(TextOf(long_text->lf[0].lfFaceName)), std::u16string(31, u'F'));
    EXPECT_EQ(Str(TextOf(long_text->qrcode_data[3].st1)), std::u16string(15, u'1'));
    EXPECT_EQ(long_text->qrcode_data[3].sm1[0], 0);  // the next field is untouched
}

// Reads `file` in pieces of random sizes.
std::unique_ptr<CardDesign> ReadInPieces(const Bytes& file, std::mt19937& rng,
                                         SettingsReadStatus& status) {
    auto d = LoadDefaults();
    SettingsFileReader reader(*d, SettingsScope::Full);
    std::size_t at = 0;
    while (at < file.size()) {
        const std::size_t n = std::min<std::size_t>(file.size() - at, rng() % 700);
        reader.Feed(std::span<const std::uint8_t>(file.data() + at, n));
        at += n;
    }
    status = reader.Finish();
    return d;
}

TEST(SettingsFile, RandomInputNeverOverflowsAndPiecesDoNotMatter) {
    std::mt19937 rng(2024);
    const auto& keys = SettingsKeys();
    static constexpr char16_t kUnits[] = {u'=', u'\r', u'\n', u'0',   u'7',   u'9',
                                          u'-', u'+',  u' ',  0x0002, 0x0003, 0xFEFF,
                                          u'a', u'Z',  u'漢', 0xD800, 0x0000, u'\t'};
    for (int round = 0; round < 300; ++round) {
        Bytes file;
        if (round % 3 == 0) {
            const std::size_t n = rng() % 3000;
            for (std::size_t i = 0; i < n; ++i) file.push_back(static_cast<std::uint8_t>(rng()));
        } else {
            std::u16string body;
            const std::size_t size = rng() % 5000;
            while (body.size() < size) {
                if (rng() % 2) body += keys[rng() % keys.size()].name + u"=";
                const std::size_t n = rng() % (rng() % 8 == 0 ? 2000 : 40);
                for (std::size_t i = 0; i < n; ++i) body += kUnits[rng() % std::size(kUnits)];
            }
            file = WideFile(body);
            if (rng() % 2) file.push_back(static_cast<std::uint8_t>(rng()));
        }
        if (round % 4 == 0 && file.size() >= 2) file[0] = 0xFF, file[1] = 0xFE;

        auto whole = LoadDefaults();
        const auto status = ReadSettingsBytes(*whole, SettingsScope::Full, file);
        SettingsReadStatus piece_status;
        const auto pieces = ReadInPieces(file, rng, piece_status);
        EXPECT_EQ(piece_status, status) << round;
        EXPECT_TRUE(SameRecord(*whole, *pieces)) << round;
        for (const auto& t : whole->str_data) EXPECT_EQ(t.s64[63], 0);
        for (const auto& q : whole->qrcode_data) EXPECT_EQ(q.s[287], 0);
    }

    // A real file read in pieces comes back whole as well.
    const auto design = Filler(9).Design();
    SettingsReadStatus status;
    const auto pieces = ReadInPieces(SettingsFileBytes(*design, SettingsScope::Full), rng, status);
    EXPECT_EQ(status, SettingsReadStatus::Read);
    EXPECT_TRUE(SameRecord(*pieces, *design));
}

}  // namespace
