#include "qr/address_payload.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "design/fixed_text.h"

namespace {

static_assert(kQrByteLimit <= kQrTextLimit,
              "every character takes at least one byte, so the byte limit keeps the text "
              "within s as well");

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Drops the last character of value: a surrogate pair as a whole, a lone half alone.
void DropLastCharacter(std::u16string& value) {
    if (value.empty()) return;
    const bool low = IsLowSurrogate(value.back());
    value.pop_back();
    if (low && !value.empty() && IsHighSurrogate(value.back())) value.pop_back();
}

// The nine contact fields in the order that breaks ties when a value must be cut.
enum Field { kName, kReading, kMail1, kMail2, kMail3, kTel1, kTel2, kTel3, kAddress, kFieldCount };
using Contact = std::array<std::u16string, kFieldCount>;

bool IsSpace(char16_t c) { return c == u' ' || c == u'\u3000'; }

std::u16string_view TrimSpaces(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// A value as the format writes it.
std::u16string Escaped(std::u16string_view value, AddressFormat format) {
    std::u16string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char16_t c = value[i];
        switch (format) {
            case AddressFormat::kAu: out += c; break;
            case AddressFormat::kMecard:
                if (c == u';' || c == u':' || c == u',' || c == u'\\') out += u'\\';
                out += c;
                break;
            case AddressFormat::kVcard:
                if (c == u'\r' || c == u'\n') {
                    if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n') ++i;
                    out += u"\\n";
                    break;
                }
                if (c == u';' || c == u',' || c == u'\\') out += u'\\';
                out += c;
                break;
        }
    }
    return out;
}

std::u16string AuPayload(const Contact& c) {
    const std::pair<const char16_t*, int> lines[] = {
        {u"NAME1:", kName},   {u"NAME2:", kReading}, {u"MAIL1:", kMail1}, {u"MAIL2:", kMail2},
        {u"MAIL3:", kMail3},  {u"TEL1:", kTel1},     {u"TEL2:", kTel2},   {u"TEL3:", kTel3},
        {u"ADD:", kAddress},
    };
    std::u16string text = u"MEMORY:\r\n";
    for (const auto& [key, field] : lines) {
        text += key;
        text += c[field];
        text += u"\r\n";
    }
    return text;
}

std::u16string MecardPayload(const Contact& c) {
    const std::pair<const char16_t*, int> fields[] = {
        {u"N:", kName},      {u"SOUND:", kReading}, {u"TEL:", kTel1},   {u"TEL:", kTel2},
        {u"TEL:", kTel3},    {u"EMAIL:", kMail1},   {u"EMAIL:", kMail2}, {u"EMAIL:", kMail3},
        {u"ADR:", kAddress},
    };
    std::u16string text = u"MECARD:";
    for (const auto& [key, field] : fields) {
        if (c[field].empty()) continue;
        text += key;
        text += Escaped(c[field], AddressFormat::kMecard);
        text += u';';
    }
    return text + u';';
}

std::u16string VcardPayload(const Contact& c) {
    const auto line = [](std::u16string& text, std::u16string_view key, std::u16string_view value) {
        text += key;
        text += value;
        text += u"\r\n";
    };
    const auto escaped = [](std::u16string_view value) { return Escaped(value, AddressFormat::kVcard); };
    const std::u16string_view name = TrimSpaces(c[kName]);
    std::u16string_view family = name, given;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsSpace(name[i])) {
            family = TrimSpaces(name.substr(0, i));
            given = TrimSpaces(name.substr(i + 1));
            break;
        }
    }
    std::u16string text = u"BEGIN:VCARD\r\nVERSION:3.0\r\n";
    line(text, u"N:", escaped(family) + u';' + escaped(given) + u";;;");
    line(text, u"FN:", escaped(c[kName]));
    if (!c[kReading].empty()) line(text, u"SORT-STRING:", escaped(c[kReading]));
    for (int field : {kTel1, kTel2, kTel3})
        if (!c[field].empty()) line(text, u"TEL:", escaped(c[field]));
    for (int field : {kMail1, kMail2, kMail3})
        if (!c[field].empty()) line(text, u"EMAIL:", escaped(c[field]));
    if (!c[kAddress].empty()) line(text, u"ADR:", u";;" + escaped(c[kAddress]) + u";;;;");
    return text + u"END:VCARD\r\n";
}

std::u16string Payload(const Contact& c, AddressFormat format) {
    switch (format) {
        case AddressFormat::kMecard: return MecardPayload(c);
        case AddressFormat::kVcard: return VcardPayload(c);
        case AddressFormat::kAu: break;
    }
    return AuPayload(c);
}

bool Fits(std::u16string_view text) {
    return ShiftJisLength(text) <= kQrByteLimit && text.size() <= static_cast<std::size_t>(kQrTextLimit);
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsLetterOrDigit(char c) {
    return IsDigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsLocalPartCharacter(char c) {
    return IsLetterOrDigit(c) || c == '.' || c == '_' || c == '%' || c == '+' || c == '-';
}

bool IsDomainCharacter(char c) { return IsLetterOrDigit(c) || c == '-' || c == '.'; }

// The single-byte characters of a Shift_JIS text, each run of them a string: a lead byte
// and the trail byte after it (which may have any value, an at sign or another lead value
// among them) end the run and belong to none.
std::vector<std::string> SingleByteRuns(std::string_view text) {
    std::vector<std::string> runs(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c)) {
            ++i;  // its trail byte
            if (!runs.back().empty()) runs.emplace_back();
        } else {
            runs.back() += static_cast<char>(c);
        }
    }
    return runs;
}

// The address around the at sign at `at` of run, or an empty view: the local-part
// characters before it and the domain characters after it, less leading and trailing
// punctuation; the domain must then hold a full stop between letters or digits.
std::string_view AddressAround(std::string_view run, std::size_t at) {
    std::size_t begin = at;
    while (begin > 0 && IsLocalPartCharacter(run[begin - 1])) --begin;
    while (begin < at && !IsLetterOrDigit(run[begin])) ++begin;
    std::size_t end = at + 1;
    while (end < run.size() && IsDomainCharacter(run[end])) ++end;
    while (end > at + 1 && !IsLetterOrDigit(run[end - 1])) --end;
    const std::string_view domain = run.substr(at + 1, end - at - 1);
    if (begin == at || domain.empty() || !IsLetterOrDigit(domain.front()) ||
        domain.find('.') == std::string_view::npos)
        return {};
    return run.substr(begin, end - begin);
}

// The mail addresses of a Shift_JIS text in order: in each run of single-byte characters,
// the longest well-formed address among those that overlap (one at sign each), then the
// next one after it.
std::vector<std::string> MailAddresses(std::string_view text) {
    std::vector<std::string> addresses;
    for (const std::string& run : SingleByteRuns(text)) {
        std::string_view best;
        std::size_t best_end = 0;
        for (std::size_t at = run.find('@'); at != std::string::npos; at = run.find('@', at + 1)) {
            const std::string_view address = AddressAround(run, at);
            if (address.empty()) continue;
            const auto begin = static_cast<std::size_t>(address.data() - run.data());
            if (!best.empty() && begin >= best_end) {
                addresses.emplace_back(best);
                best = {};
            }
            if (address.size() > best.size()) {
                best = address;
                best_end = begin + address.size();
            }
        }
        if (!best.empty()) addresses.emplace_back(best);
    }
    return addresses;
}

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

int ShiftJisLength(std::u16string_view text) {
    int bytes = 0;
    for (char16_t c : text) bytes += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
    return bytes;
}

AddressFormat AddressFormatOf(std::u16string_view text) {
    if (text.starts_with(u"MECARD:")) return AddressFormat::kMecard;
    if (text.starts_with(u"BEGIN:VCARD")) return AddressFormat::kVcard;
    return AddressFormat::kAu;
}

void BuildAddressPayload(QrcodeData& entry, AddressFormat format) {
    Contact contact;
    contact[kName] = TextOf(entry.sn);
    contact[kReading] = TextOf(entry.sy);
    contact[kMail1] = TextOf(entry.sm1);
    contact[kMail2] = TextOf(entry.sm2);
    contact[kMail3] = TextOf(entry.sm3);
    contact[kTel1] = TextOf(entry.st1);
    contact[kTel2] = TextOf(entry.st2);
    contact[kTel3] = TextOf(entry.st3);
    contact[kAddress] = TextOf(entry.sa);
    std::u16string text = Payload(contact, format);
    while (!Fits(text)) {
        std::u16string* longest = nullptr;
        int longest_bytes = 0;
        for (std::u16string& value : contact) {
            const int bytes = ShiftJisLength(Escaped(value, format));
            if (bytes > longest_bytes) {
                longest = &value;
                longest_bytes = bytes;
            }
        }
        // Keys, separators and line breaks alone take far less than the limit, so some
        // value always has something left to give.
        if (longest == nullptr) break;
        DropLastCharacter(*longest);
        text = Payload(contact, format);
    }
    SetText(entry.s, text);
}

AutoAddress AutoSetAddress(const CardDesign& design, const ShiftJisTexts& texts) {
    AutoAddress found;
    found.name = TextOf(design.str_data[kTextName].s64);
    found.address = TextOf(design.str_data[kTextAddress].s64);

    std::size_t tel_count = 0;
    for (const std::string& text : texts) {
        std::string run;
        auto end_run = [&] {
            const bool fits = run.size() == 10 || (run.size() == 11 && tel_count < 2);
            if (fits && tel_count < found.tel.size()) found.tel[tel_count++] = Widen(run);
            run.clear();
        };
        for (unsigned char c : text) {
            if (IsDigit(c)) {
                run += static_cast<char>(c);
            } else if (c != '(' && c != ')' && c != '-') {
                end_run();
            }
        }
        end_run();
    }

    std::size_t mail_count = 0;
    for (const std::string& text : texts) {
        for (const std::string& mail : MailAddresses(text)) {
            if (mail_count < 2) found.mail[mail_count++] = Widen(mail);
        }
    }
    return found;
}
