// The contact payloads (address book, MECARD, vCard) and the automatic fill from the
// card's texts, over any field values and any card texts: each payload stays within the
// byte limit with its keys whole and is recognised as its own format, and the fill takes
// only numbers and addresses of the stated shapes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "design/fixed_text.h"
#include "qr/address_payload.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

template <std::size_t N>
void Fill(FuzzedDataProvider& input, char16_t (&field)[N]) {
    const std::size_t units = input.ConsumeIntegralInRange<std::size_t>(0, N + 4);
    std::u16string text;
    for (std::size_t i = 0; i < units && input.remaining_bytes() > 0; ++i)
        text += input.ConsumeIntegral<char16_t>();
    SetText(field, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    QrcodeData entry{};
    Fill(input, entry.sn), Fill(input, entry.sy), Fill(input, entry.sa);
    Fill(input, entry.st1), Fill(input, entry.st2), Fill(input, entry.st3);
    Fill(input, entry.sm1), Fill(input, entry.sm2), Fill(input, entry.sm3);
    Fill(input, entry.s);
    for (AddressFormat format : {AddressFormat::kAu, AddressFormat::kMecard, AddressFormat::kVcard}) {
        BuildAddressPayload(entry, format);
        const std::u16string_view payload = TextOf(entry.s);
        Check(entry.s[287] == 0);
        Check(ShiftJisLength(payload) <= kQrByteLimit);
        Check(AddressFormatOf(payload) == format);
        if (format == AddressFormat::kAu) {
            Check(payload.starts_with(u"MEMORY:"));
            for (const char16_t* key : {u"\r\nNAME1:", u"\r\nNAME2:", u"\r\nMAIL1:", u"\r\nMAIL2:", u"\r\nMAIL3:",
                                        u"\r\nTEL1:", u"\r\nTEL2:", u"\r\nTEL3:", u"\r\nADD:"})
                Check(payload.find(key) != std::u16string_view::npos);
        } else if (format == AddressFormat::kMecard) {
            Check(payload.ends_with(u";"));
        } else {
            Check(payload.ends_with(u"END:VCARD\r\n") || payload.ends_with(u"END:VCARD"));
        }
    }

    auto design = std::make_unique<CardDesign>();
    Fill(input, design->str_data[2].s64);
    Fill(input, design->str_data[3].s64);
    ShiftJisTexts texts;
    for (std::string& text : texts) text = input.ConsumeRandomLengthString(200);
    const AutoAddress found = AutoSetAddress(*design, texts);
    Check(found.name == TextOf(design->str_data[2].s64));
    Check(found.address == TextOf(design->str_data[3].s64));
    for (const std::u16string& tel : found.tel) {
        Check(tel.empty() || tel.size() == 10 || tel.size() == 11);
        for (char16_t c : tel) Check(c >= u'0' && c <= u'9');
    }
    Check(found.mail[2].empty());
    for (const std::u16string& mail : found.mail) {
        if (mail.empty()) continue;
        Check(mail.size() > 3 && mail.find(u'@') != std::u16string::npos && mail.find(u'.') != std::u16string::npos);
        for (char16_t c : mail) Check(c > 0x20 && c <= 0x7E);
    }
    return 0;
}
