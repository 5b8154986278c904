#include "design/template_design.h"

#include <algorithm>

#include "design/design_ranges.h"
#include "design/fixed_text.h"

namespace {

char16_t Upper(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
    if (c >= u'\uFF41' && c <= u'\uFF5A') return static_cast<char16_t>(c - u'\uFF41' + u'\uFF21');
    return c;
}

template <std::size_t N>
void CopyText(char16_t (&to)[N], const char16_t (&from)[N]) {
    std::copy(std::begin(from), std::end(from), to);
}

}  // namespace

void ResetTemplate(TemplateDesign& t) {
    t.base_w = 455;
    t.base_h = 275;
    ClearText(t.base_filepass);
    t.base_pl_mode = 0;
    for (MarkData& mark : t.mark_data) ResetMark(mark);
    for (int j = 0; j < kTextCount; ++j) {
        ResetText(t.str_data[j]);
        t.lf[j] = DefaultFont();
    }
    for (QrcodeData& qr : t.qrcode_data) {
        ResetQrSymbol(qr);
        ClearQrContact(qr);
    }
    ResetFace(t.phot_data);
    t.back_on = 0;
    ResetBack(t.back);
}

void ApplyTemplate(CardDesign& d, const TemplateDesign& t) {
    d.base_w = t.base_w;
    d.base_h = t.base_h;
    CopyText(d.base_filepass, t.base_filepass);
    d.base_pl_mode = t.base_pl_mode;
    std::copy(std::begin(t.mark_data), std::end(t.mark_data), d.mark_data);
    std::copy(std::begin(t.lf), std::end(t.lf), d.lf);
    std::copy(std::begin(t.str_data), std::end(t.str_data), d.str_data);
    std::copy(std::begin(t.qrcode_data), std::end(t.qrcode_data), d.qrcode_data);
    d.phot_data = t.phot_data;
    d.back_on = t.back_on;
    d.back = t.back;
    // A template is a file like any design file: what no dialog allows comes into range,
    // the card size first, so that the orientation is the one of the card as it is used
    // (a card of 20000 x 15000 is a square 10000 x 10000 one).
    KeepDesignInRange(d);
    PrintedCardSize(d);
}

bool IsTemplateFileName(std::u16string_view name) {
    const std::u16string_view ending(kTemplateExtension);
    if (name.size() < ending.size()) return false;
    const std::u16string_view tail = name.substr(name.size() - ending.size());
    return std::equal(tail.begin(), tail.end(), ending.begin(),
                      [](char16_t a, char16_t b) { return Upper(a) == Upper(b); });
}

bool TemplateNameBefore(std::u16string_view a, std::u16string_view b) {
    const auto differ = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Upper(x) == Upper(y); });
    if (differ.first != a.end() && differ.second != b.end()) return Upper(*differ.first) < Upper(*differ.second);
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<std::u16string> TemplateEntries(std::vector<std::u16string> file_names) {
    const std::size_t prefix = std::u16string_view(kTemplateEntryPrefix).size();
    std::erase_if(file_names, [&](const std::u16string& name) {
        return !IsTemplateFileName(name) || prefix + name.size() >= kTemplateEntryUnits;
    });
    std::sort(file_names.begin(), file_names.end(),
              [](const std::u16string& a, const std::u16string& b) { return TemplateNameBefore(a, b); });
    if (file_names.size() > kTemplateListLimit) file_names.resize(kTemplateListLimit);
    for (std::u16string& name : file_names) name.insert(0, kTemplateEntryPrefix);
    return file_names;
}
