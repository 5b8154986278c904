#include "design/settings_file.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstddef>
#include <climits>
#include <cstring>
#include <memory>
#include <string_view>
#include <type_traits>

#include "design/fixed_text.h"
#include "design/numbers.h"

static_assert(std::is_same_v<std::int32_t, int>,
              "LogFont's int members are read and written as int");

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr char16_t kCrInFile = u'\u0002';
constexpr char16_t kLfInFile = u'\u0003';
constexpr char16_t kByteOrderMark = u'\uFEFF';

// White space as the number reader skips it, and a stray byte-order mark.
bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\u3000' || c == kByteOrderMark;
}

// qrcode_data[k].s, tagged so that its line breaks are replaced in the file.
template <class Text>
struct QrTextRef {
    Text& text;
    int qr;
};

template <class Text>
QrTextRef<Text> QrText(Text& text, int qr) {
    return {text, qr};
}

template <class T>
struct IsQrText : std::false_type {};
template <class Text>
struct IsQrText<QrTextRef<Text>> : std::true_type {};

template <class Field>
constexpr SettingsValueKind KindOf() {
    if constexpr (std::is_same_v<Field, int>)
        return SettingsValueKind::Integer;
    else if constexpr (std::is_same_v<Field, std::uint8_t>)
        return SettingsValueKind::FontByte;
    else if constexpr (std::is_array_v<Field>)
        return SettingsValueKind::Text;
    else {
        static_assert(IsQrText<Field>::value);
        return SettingsValueKind::QrText;
    }
}

void AppendDecimal(std::u16string& out, int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    char16_t units[16];
    const auto count = static_cast<std::size_t>(end - digits);
    std::copy(digits, end, units);
    out.append(units, count);
}

// Builds "name" and "array[index].member" keys in one reused buffer, each after the
// prefix set last ("back." for the back's keys).
class KeyName {
public:
    void SetPrefix(std::u16string_view prefix) { prefix_ = prefix; }
    std::u16string_view Plain(std::u16string_view name) {
        buffer_.assign(prefix_);
        buffer_ += name;
        return buffer_;
    }
    std::u16string_view Item(std::u16string_view array, int index, std::u16string_view member) {
        buffer_.assign(prefix_);
        buffer_ += array;
        buffer_ += u'[';
        AppendDecimal(buffer_, index);
        buffer_ += u"].";
        buffer_ += member;
        return buffer_;
    }

private:
    std::u16string_view prefix_;
    std::u16string buffer_;
};

// A key that the record being read does not hold (a template has no printed card size,
// sheet grid or environment options): its lines are ignored.
struct AbsentField {};
AbsentField g_absent;

template <class Record>
constexpr bool kIsCardDesign = std::is_same_v<std::remove_const_t<Record>, CardDesign>;

// The member of a CardDesign, or the absent field for a TemplateDesign.
template <class Record, class Member>
auto& FullDesignOnly(Record& d, Member CardDesign::*member) {
    if constexpr (kIsCardDesign<Record>)
        return d.*member;
    else
        return g_absent;
}

// Calls visit(name, group, field) for every card key of one side (the record itself or
// its back), from base_w to the QR codes: the keys before the sheet grid. QR text k is
// tagged qr_base + k.
template <class Side, class Visit>
void ForEachCardItemField(Side& d, KeyName& key, SettingsGroup group, int qr_base, Visit& visit) {
    visit(key.Plain(u"base_w"), group, d.base_w);
    visit(key.Plain(u"base_h"), group, d.base_h);
    visit(key.Plain(u"base_filepass"), group, d.base_filepass);
    visit(key.Plain(u"base_pl_mode"), group, d.base_pl_mode);

    for (int i = 0; i < kMarkCount; ++i) {
        auto& m = d.mark_data[i];
        const auto name = [&](std::u16string_view member) {
            return key.Item(u"mark_data", i, member);
        };
        visit(name(u"on"), group, m.on);
        visit(name(u"x"), group, m.x);
        visit(name(u"y"), group, m.y);
        visit(name(u"w"), group, m.w);
        visit(name(u"h"), group, m.h);
        visit(name(u"fm"), group, m.fm);
        visit(name(u"m"), group, m.m);
    }

    for (int j = 0; j < kTextCount; ++j) {
        auto& t = d.str_data[j];
        const auto text = [&](std::u16string_view member) {
            return key.Item(u"str_data", j, member);
        };
        visit(text(u"on"), group, t.on);
        visit(text(u"x"), group, t.x);
        visit(text(u"y"), group, t.y);
        visit(text(u"s64"), group, t.s64);
        visit(text(u"bk"), group, t.bk);
        visit(text(u"r"), group, t.r);
        visit(text(u"g"), group, t.g);
        visit(text(u"b"), group, t.b);
        visit(text(u"br"), group, t.br);
        visit(text(u"bg"), group, t.bg);
        visit(text(u"bb"), group, t.bb);
        auto& f = d.lf[j];
        const auto font = [&](std::u16string_view member) { return key.Item(u"lf", j, member); };
        visit(font(u"lfHeight"), group, f.lfHeight);
        visit(font(u"lfWidth"), group, f.lfWidth);
        visit(font(u"lfEscapement"), group, f.lfEscapement);
        visit(font(u"lfOrientation"), group, f.lfOrientation);
        visit(font(u"lfWeight"), group, f.lfWeight);
        visit(font(u"lfItalic"), group, f.lfItalic);
        visit(font(u"lfUnderline"), group, f.lfUnderline);
        visit(font(u"lfStrikeOut"), group, f.lfStrikeOut);
        visit(font(u"lfCharSet"), group, f.lfCharSet);
        visit(font(u"lfOutPrecision"), group, f.lfOutPrecision);
        visit(font(u"lfClipPrecision"), group, f.lfClipPrecision);
        visit(font(u"lfQuality"), group, f.lfQuality);
        visit(font(u"lfPitchAndFamily"), group, f.lfPitchAndFamily);
        visit(font(u"lfFaceName"), group, f.lfFaceName);
    }

    for (int k = 0; k < kQrCount; ++k) {
        auto& q = d.qrcode_data[k];
        const auto name = [&](std::u16string_view member) {
            return key.Item(u"qrcode_data", k, member);
        };
        visit(name(u"on"), group, q.on);
        visit(name(u"s"), group, QrText(q.s, qr_base + k));
        visit(name(u"sn"), group, q.sn);
        visit(name(u"sy"), group, q.sy);
        visit(name(u"st1"), group, q.st1);
        visit(name(u"st2"), group, q.st2);
        visit(name(u"st3"), group, q.st3);
        visit(name(u"sm1"), group, q.sm1);
        visit(name(u"sm2"), group, q.sm2);
        visit(name(u"sm3"), group, q.sm3);
        visit(name(u"sa"), group, q.sa);
        visit(name(u"Lv"), group, q.Lv);
        visit(name(u"Sell"), group, q.Sell);
        visit(name(u"x"), group, q.x);
        visit(name(u"y"), group, q.y);
        visit(name(u"w"), group, q.w);
        visit(name(u"h"), group, q.h);
        visit(name(u"r"), group, q.r);
        visit(name(u"g"), group, q.g);
        visit(name(u"b"), group, q.b);
        visit(name(u"br"), group, q.br);
        visit(name(u"bg"), group, q.bg);
        visit(name(u"bb"), group, q.bb);
    }

}

// The face's keys of one side, which the file has after the sheet grid.
template <class Side, class Visit>
void ForEachFaceField(Side& d, KeyName& key, SettingsGroup group, Visit& visit) {
    auto& p = d.phot_data;
    visit(key.Plain(u"phot_data.on"), group, p.on);
    visit(key.Plain(u"phot_data.x"), group, p.x);
    visit(key.Plain(u"phot_data.y"), group, p.y);
    visit(key.Plain(u"phot_data.w"), group, p.w);
    visit(key.Plain(u"phot_data.h"), group, p.h);
    visit(key.Plain(u"phot_data.fm"), group, p.fm);

}

// Calls visit(name, group, field) for every key in the order of the written file. The
// field is an int, a std::uint8_t (font byte), a char16_t array or a QrTextRef, const
// when the record is; for a TemplateDesign the keys it lacks give an AbsentField, so
// every record sees every key at the same ordinal. The two-sided keys come last: the use
// of the back, the duplex choice, then the back's card keys with the prefix "back.".
template <class Record, class Visit>
void ForEachSettingsField(Record& d, Visit&& visit) {
    using G = SettingsGroup;
    KeyName key;
    ForEachCardItemField(d, key, G::Card, 0, visit);
    visit(key.Plain(u"base_pw"), G::Card, FullDesignOnly(d, &CardDesign::base_pw));
    visit(key.Plain(u"base_ph"), G::Card, FullDesignOnly(d, &CardDesign::base_ph));
    visit(key.Plain(u"base_cntx"), G::SheetGrid, FullDesignOnly(d, &CardDesign::base_cntx));
    visit(key.Plain(u"base_cnty"), G::SheetGrid, FullDesignOnly(d, &CardDesign::base_cnty));
    visit(key.Plain(u"base_px"), G::SheetGrid, FullDesignOnly(d, &CardDesign::base_px));
    visit(key.Plain(u"base_py"), G::SheetGrid, FullDesignOnly(d, &CardDesign::base_py));
    visit(key.Plain(u"base_spx"), G::SheetGrid, FullDesignOnly(d, &CardDesign::base_spx));
    visit(key.Plain(u"base_spy"), G::SheetGrid, FullDesignOnly(d, &CardDesign::base_spy));

    ForEachFaceField(d, key, G::Card, visit);

    visit(key.Plain(u"main_filename"), G::Environment, FullDesignOnly(d, &CardDesign::main_filename));
    visit(key.Plain(u"oekaki_filename"), G::Environment, FullDesignOnly(d, &CardDesign::oekaki_filename));
    visit(key.Plain(u"b_outline"), G::Environment, FullDesignOnly(d, &CardDesign::b_outline));
    visit(key.Plain(u"m_outline"), G::Environment, FullDesignOnly(d, &CardDesign::m_outline));
    visit(key.Plain(u"c_outline"), G::Environment, FullDesignOnly(d, &CardDesign::c_outline));
    visit(key.Plain(u"p_outline"), G::Environment, FullDesignOnly(d, &CardDesign::p_outline));
    visit(key.Plain(u"p_outline_size"), G::Environment, FullDesignOnly(d, &CardDesign::p_outline_size));
    visit(key.Plain(u"p_outline_len"), G::Environment, FullDesignOnly(d, &CardDesign::p_outline_len));
    visit(key.Plain(u"font_plprn"), G::Environment, FullDesignOnly(d, &CardDesign::font_plprn));
    visit(key.Plain(u"base_load_mode"), G::Environment, FullDesignOnly(d, &CardDesign::base_load_mode));
    visit(key.Plain(u"mark_load_mode"), G::Environment, FullDesignOnly(d, &CardDesign::mark_load_mode));
    visit(key.Plain(u"phot_load_mode"), G::Environment, FullDesignOnly(d, &CardDesign::phot_load_mode));
    visit(key.Plain(u"pm_size_x"), G::Environment, FullDesignOnly(d, &CardDesign::pm_size_x));
    visit(key.Plain(u"pm_size_y"), G::Environment, FullDesignOnly(d, &CardDesign::pm_size_y));
    visit(key.Plain(u"sheet_preset"), G::Environment, FullDesignOnly(d, &CardDesign::sheet_preset));
    visit(key.Plain(u"trim_lines"), G::Environment, FullDesignOnly(d, &CardDesign::trim_lines));
    visit(key.Plain(u"zoom"), G::Environment, FullDesignOnly(d, &CardDesign::zoom));

    visit(key.Plain(u"back_on"), G::TwoSided, d.back_on);
    visit(key.Plain(u"duplex"), G::TwoSided, FullDesignOnly(d, &CardDesign::duplex));
    visit(key.Plain(u"duplex_device"), G::TwoSided, FullDesignOnly(d, &CardDesign::duplex_device));
    key.SetPrefix(u"back.");
    ForEachCardItemField(d.back, key, G::TwoSided, kQrCount, visit);
    ForEachFaceField(d.back, key, G::TwoSided, visit);
}

bool WrittenIn(SettingsScope scope, SettingsGroup group) {
    return scope == SettingsScope::Full || group != SettingsGroup::Environment;
}

bool ReadIn(SettingsScope scope, SettingsGroup group) {
    return scope == SettingsScope::Full || group == SettingsGroup::Card || group == SettingsGroup::TwoSided;
}

// FNV-1a over the units of a key name.
constexpr std::uint32_t kHashStart = 2166136261u;
constexpr std::uint32_t kHashFactor = 16777619u;
std::uint32_t KeyHash(std::u16string_view name) {
    std::uint32_t hash = kHashStart;
    for (char16_t unit : name) hash = (hash ^ unit) * kHashFactor;
    return hash;
}

// The keys by the hash of their names, in open addressing with linear probing: slots
// hold ordinal + 1, 0 is free. Three slots or more a key keep the probes short.
class KeyIndex {
public:
    static constexpr std::size_t kSlots = 4096;
    KeyIndex() {
        const auto& keys = SettingsKeys();
        for (std::size_t i = 0; i < keys.size(); ++i) {
            std::size_t slot = KeyHash(keys[i].name) & (kSlots - 1);
            while (slots_[slot] != 0) slot = (slot + 1) & (kSlots - 1);
            slots_[slot] = static_cast<std::uint16_t>(i + 1);
        }
    }
    // The key a line names, the text before its first "=": its ordinal and where the
    // value starts; the key count as ordinal when the line names none. One pass finds the
    // "=" and hashes the name. Kept out of line so that the fuzz build can leave this
    // loop over every unit out of its coverage feedback (tests/fuzz/coverage_ignore.txt).
    struct Match {
        std::size_t ordinal;
        std::size_t value;
    };
    [[gnu::noinline]] Match Find(std::u16string_view line) const {
        const auto& keys = SettingsKeys();
        const char16_t* const start = line.data();
        const char16_t* const end = start + line.size();
        std::uint32_t hash = kHashStart;
        const char16_t* equals = start;
        for (; equals != end && *equals != u'='; ++equals) hash = (hash ^ *equals) * kHashFactor;
        if (equals == end) return {keys.size(), 0};
        const auto length = static_cast<std::size_t>(equals - start);
        for (std::size_t slot = hash & (kSlots - 1); slots_[slot] != 0; slot = (slot + 1) & (kSlots - 1)) {
            const std::size_t ordinal = slots_[slot] - 1u;
            const std::u16string& key = keys[ordinal].name;
            if (key.size() == length && std::memcmp(key.data(), start, length * sizeof(char16_t)) == 0)
                return {ordinal, length + 1};
        }
        return {keys.size(), 0};
    }

private:
    std::uint16_t slots_[kSlots] = {};
};

static_assert(KeyIndex::kSlots >= 3 * 1060, "the index keeps a third of its slots at most in use");

template <std::size_t N>
void StoreText(void* field, std::u16string_view value) {
    SetText(*static_cast<char16_t(*)[N]>(field), value);
}

}  // namespace

// Where the field of a key lies in a record of one type, and how it is read: what the
// reader and the writer share, found once per type by visiting a record.
struct SettingsFieldPlace {
    SettingsValueKind kind = SettingsValueKind::Integer;
    SettingsGroup group = SettingsGroup::Card;
    std::ptrdiff_t offset = -1;  // bytes from the record's start; -1: the record lacks it
    void (*store_text)(void* field, std::u16string_view value) = nullptr;
    int qr = -1;
};

struct SettingsFieldTable {
    std::vector<SettingsFieldPlace> places;  // in the order of SettingsKeys()
    std::ptrdiff_t qr_text[kQrTextCount] = {};  // offsets of the QR texts, for their line breaks
};

namespace {

template <class Record>
const SettingsFieldTable& FieldTable() {
    static const SettingsFieldTable table = [] {
        SettingsFieldTable t;
        const auto record = std::make_unique<Record>();
        const auto* base = reinterpret_cast<const char*>(record.get());
        t.places.reserve(SettingsKeys().size());
        ForEachSettingsField(*record, [&](std::u16string_view, SettingsGroup group, auto&& field) {
            using FieldType = std::remove_cvref_t<decltype(field)>;
            SettingsFieldPlace place;
            place.group = group;
            if constexpr (!std::is_same_v<FieldType, AbsentField>) {
                place.kind = KindOf<FieldType>();
                if constexpr (IsQrText<FieldType>::value) {
                    place.offset = reinterpret_cast<const char*>(&field.text) - base;
                    place.store_text = &StoreText<std::extent_v<std::remove_cvref_t<decltype(field.text)>>>;
                    place.qr = field.qr;
                    t.qr_text[field.qr] = place.offset;
                } else {
                    place.offset = reinterpret_cast<const char*>(&field) - base;
                    if constexpr (std::is_array_v<FieldType>) place.store_text = &StoreText<std::extent_v<FieldType>>;
                }
            }
            t.places.push_back(place);
        });
        return t;
    }();
    return table;
}

}  // namespace

const std::vector<SettingsKey>& SettingsKeys() {
    static const std::vector<SettingsKey> keys = [] {
        static const CardDesign blank{};
        std::vector<SettingsKey> list;
        ForEachSettingsField(
            blank, [&](std::u16string_view name, SettingsGroup group, auto&& field) {
                using Field = std::remove_cvref_t<decltype(field)>;
                int capacity = 0;
                if constexpr (std::is_array_v<Field>)
                    capacity = static_cast<int>(std::extent_v<Field>);
                else if constexpr (IsQrText<Field>::value)
                    capacity =
                        static_cast<int>(std::extent_v<std::remove_cvref_t<decltype(field.text)>>);
                list.push_back({std::u16string(name), KindOf<Field>(), group, capacity});
            });
        return list;
    }();
    return keys;
}

std::size_t SettingsLineCount(SettingsScope scope, bool two_sided) {
    const auto& keys = SettingsKeys();
    return static_cast<std::size_t>(std::count_if(keys.begin(), keys.end(), [&](const SettingsKey& k) {
        return WrittenIn(scope, k.group) && (two_sided || k.group != SettingsGroup::TwoSided);
    }));
}

std::u16string FormatSettingsFile(const CardDesign& design, SettingsScope scope) {
    const auto& keys = SettingsKeys();
    const SettingsFieldTable& table = FieldTable<CardDesign>();
    const char* record = reinterpret_cast<const char*>(&design);
    const bool two_sided = HasTwoSidedContent(design);
    std::u16string out(1, kByteOrderMark);
    // Room for a busy design (about 11 K units, 24 K with a back) without growing, but not
    // far beyond: a block over 128 KB is mapped afresh on every call in a sanitizer build.
    out.reserve(two_sided ? 40 * 1024 : 20 * 1024);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const SettingsFieldPlace& place = table.places[i];
        if (!WrittenIn(scope, place.group) || (!two_sided && place.group == SettingsGroup::TwoSided)) continue;
        out += keys[i].name;
        out += u'=';
        const char* field = record + place.offset;
        switch (place.kind) {
            case SettingsValueKind::Integer: AppendDecimal(out, *reinterpret_cast<const int*>(field)); break;
            case SettingsValueKind::FontByte: AppendDecimal(out, *reinterpret_cast<const std::uint8_t*>(field)); break;
            case SettingsValueKind::Text: {
                const std::u16string_view whole(reinterpret_cast<const char16_t*>(field),
                                                static_cast<std::size_t>(keys[i].capacity));
                out += whole.substr(0, whole.find(u'\0'));
                break;
            }
            case SettingsValueKind::QrText:
                for (char16_t c : TextOf(*reinterpret_cast<const char16_t(*)[std::extent_v<decltype(QrcodeData::s)>]>(field)))
                    out += c == kCr ? kCrInFile : c == kLf ? kLfInFile : c;
                break;
        }
        out += u"\r\n";
    }
    return out;
}

std::vector<std::uint8_t> SettingsFileBytes(const CardDesign& design, SettingsScope scope) {
    const std::u16string text = FormatSettingsFile(design, scope);
    if constexpr (std::endian::native == std::endian::little) {
        const auto* units = reinterpret_cast<const std::uint8_t*>(text.data());
        return std::vector<std::uint8_t>(units, units + text.size() * 2);
    } else {
        std::vector<std::uint8_t> bytes(text.size() * 2);
        std::uint8_t* out = bytes.data();
        for (char16_t unit : text) {
            *out++ = static_cast<std::uint8_t>(unit & 0xFF);
            *out++ = static_cast<std::uint8_t>(unit >> 8);
        }
        return bytes;
    }
}

SettingsFileReader::SettingsFileReader(CardDesign& design, SettingsScope scope)
    : table_(FieldTable<CardDesign>()), record_(reinterpret_cast<char*>(&design)), scope_(scope) {
    ResetDesign(design, scope);
}

SettingsFileReader::SettingsFileReader(TemplateDesign& templ)
    : table_(FieldTable<TemplateDesign>()), record_(reinterpret_cast<char*>(&templ)), scope_(SettingsScope::Design) {
    ResetTemplate(templ);
}

SettingsFileReader::~SettingsFileReader() = default;

bool SettingsFileReader::Feed(std::span<const std::uint8_t> bytes) {
    decoded_.reserve(bytes.size() / 2 + 1);
    const bool text = decoder_.Feed(bytes, decoded_);
    TakeUnits(decoded_);
    return text;
}

SettingsReadStatus SettingsFileReader::Finish() {
    switch (decoder_.Finish(decoded_)) {
        case DecodedText::Empty: return SettingsReadStatus::Empty;
        case DecodedText::NotText: return SettingsReadStatus::Unreadable;
        case DecodedText::Text: break;
    }
    TakeUnits(decoded_);
    return any_text_ && !any_key_ ? SettingsReadStatus::Unreadable : SettingsReadStatus::Read;
}

void SettingsFileReader::TakeUnits(std::u16string& units) {
    const char16_t* p = units.data();
    const char16_t* const end = p + units.size();
    while (p < end) {
        const char16_t unit = *p;
        if (unit == kCr || unit == kLf) {
            const bool lf_of_cr_lf = after_cr_ && unit == kLf;
            after_cr_ = unit == kCr;
            if (!lf_of_cr_lf) EndLine();
            ++p;
            continue;
        }
        after_cr_ = false;
        // The run up to the next unit that may end a line, taken at once: a file is
        // mostly such runs, and a unit compared once costs little when fuzzing.
        const char16_t* stop = p + 1;
        while (stop < end && *stop > kCr) ++stop;
        const std::size_t run = static_cast<std::size_t>(stop - p);
        const std::size_t kept = std::min(run, kSettingsLineLimit - line_units_);
        std::copy_n(p, kept, line_ + line_units_);
        line_units_ += kept;
        if (!any_text_) any_text_ = !std::all_of(p, stop, IsBlank);
        p = stop;
    }
    units.clear();
}

void SettingsFileReader::EndLine() {
    ParseLine(std::u16string_view(line_, line_units_));
    line_units_ = 0;
}

void SettingsFileReader::ParseLine(std::u16string_view line) {
    // Only a QR text line puts U+0002 / U+0003 into the design, so restoring the codes
    // read by the previous line equals restoring every code before its keys are tried.
    if (encoded_qr_ >= 0) {
        auto* text = reinterpret_cast<char16_t*>(record_ + table_.qr_text[encoded_qr_]);
        for (char16_t& c : std::span(text, std::extent_v<decltype(QrcodeData::s)>)) {
            if (c == kCrInFile)
                c = kCr;
            else if (c == kLfInFile)
                c = kLf;
        }
        encoded_qr_ = -1;
    }

    // Keys hold no "=", so a line starts with "key=" exactly when the text before its
    // first "=" is the key: one lookup gives the one key the line can match.
    static const KeyIndex index;
    const KeyIndex::Match match = index.Find(line);
    if (match.ordinal >= table_.places.size()) return;
    any_key_ = true;
    const SettingsFieldPlace& place = table_.places[match.ordinal];
    if (place.offset < 0 || !ReadIn(scope_, place.group)) return;

    char* field = record_ + place.offset;
    const std::u16string_view value = line.substr(match.value);
    switch (place.kind) {
        case SettingsValueKind::Integer:
            *reinterpret_cast<int*>(field) = ParseWholeNumber(value.substr(0, kSettingsNumberLimit));
            break;
        case SettingsValueKind::FontByte:
            *reinterpret_cast<std::uint8_t*>(field) =
                static_cast<std::uint8_t>(static_cast<unsigned>(ParseWholeNumber(value.substr(0, kSettingsNumberLimit))) & 0xFFu);
            break;
        case SettingsValueKind::QrText:
            place.store_text(field, value);
            encoded_qr_ = place.qr;
            break;
        case SettingsValueKind::Text: place.store_text(field, value); break;
    }
}

SettingsReadStatus ReadSettingsBytes(CardDesign& design, SettingsScope scope,
                                     std::span<const std::uint8_t> file) {
    SettingsFileReader reader(design, scope);
    reader.Feed(file);
    return reader.Finish();
}

SettingsReadStatus ReadTemplateBytes(TemplateDesign& templ, std::span<const std::uint8_t> file) {
    SettingsFileReader reader(templ);
    reader.Feed(file);
    return reader.Finish();
}
