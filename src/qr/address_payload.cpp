#include "qr/address_payload.h"

#include <cstddef>

#include "design/fixed_text.h"

namespace {

static_assert(kQrByteLimit <= kQrTextLimit,
              "every character takes at least one byte, so the byte limit keeps the text "
              "within s as well");

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Drops the last character of value, a surrogate pair as a whole.
void DropLastCharacter(std::u16string& value) {
    if (value.empty()) return;
    value.pop_back();
    if (!value.empty() && IsHighSurrogate(value.back())) value.pop_back();
}

struct PayloadLine {
    const char16_t* key;
    std::u16string value;
};

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

int ShiftJisLength(std::u16string_view text) {
    int bytes = 0;
    for (char16_t c : text) bytes += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
    return bytes;
}

void BuildAddressPayload(QrcodeData& entry) {
    PayloadLine lines[] = {
        {u"MEMORY:", u""},
        {u"NAME1:", std::u16string(TextOf(entry.sn))},
        {u"NAME2:", std::u16string(TextOf(entry.sy))},
        {u"MAIL1:", std::u16string(TextOf(entry.sm1))},
        {u"MAIL2:", std::u16string(TextOf(entry.sm2))},
        {u"MAIL3:", std::u16string(TextOf(entry.sm3))},
        {u"TEL1:", std::u16string(TextOf(entry.st1))},
        {u"TEL2:", std::u16string(TextOf(entry.st2))},
        {u"TEL3:", std::u16string(TextOf(entry.st3))},
        {u"ADD:", std::u16string(TextOf(entry.sa))},
    };
    int total = 0;
    for (const PayloadLine& line : lines)
        total += ShiftJisLength(line.key) + ShiftJisLength(line.value) + 2;
    while (total > kQrByteLimit) {
        PayloadLine* longest = nullptr;
        int longest_bytes = 0;
        for (PayloadLine& line : lines) {
            const int bytes = ShiftJisLength(line.value);
            if (bytes > longest_bytes) {
                longest = &line;
                longest_bytes = bytes;
            }
        }
        // The keys and line breaks alone take far less than the limit, so some value
        // always has something left to give.
        DropLastCharacter(longest->value);
        total -= longest_bytes - ShiftJisLength(longest->value);
    }
    std::u16string text;
    for (const PayloadLine& line : lines) {
        text += line.key;
        text += line.value;
        text += u"\r\n";
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
        std::string run;
        auto end_run = [&] {
            const bool looks_like_mail = run.find('@') != std::string::npos &&
                                         run.find('.') != std::string::npos && run.size() > 3;
            if (looks_like_mail && mail_count < 2) found.mail[mail_count++] = Widen(run);
            run.clear();
        };
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            const bool after_lead = i > 0 && IsLeadByte(static_cast<unsigned char>(text[i - 1]));
            if (c <= 0x20 || c > 0x7E || after_lead) {
                end_run();
            } else {
                run += static_cast<char>(c);
            }
        }
        end_run();
    }
    return found;
}
