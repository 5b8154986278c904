#include "qr/address_dialog.h"

#include <cstddef>
#include <string>
#include <utility>

#include "design/fixed_text.h"
#include "qr/address_payload.h"
#include "res/address_dialog_ids.h"
#include "win/documents.h"
#include "win/modal_dialog.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

struct AddressDialog {
    QrcodeData* entry;
};

// A contact field and its control; the dialog reads at most limit characters.
template <std::size_t N>
struct FieldControl {
    char16_t (QrcodeData::*field)[N];
    int id;
    int limit;
};

constexpr FieldControl<32> kLongFields[] = {
    {&QrcodeData::sn, IDC_ADDRESS_NAME, 31},    {&QrcodeData::sy, IDC_ADDRESS_READING, 31},
    {&QrcodeData::sm1, IDC_ADDRESS_MAIL1, 31},  {&QrcodeData::sm2, IDC_ADDRESS_MAIL2, 31},
    {&QrcodeData::sm3, IDC_ADDRESS_MAIL3, 31},
};
constexpr FieldControl<16> kTelFields[] = {
    {&QrcodeData::st1, IDC_ADDRESS_TEL1, 15},
    {&QrcodeData::st2, IDC_ADDRESS_TEL2, 15},
    {&QrcodeData::st3, IDC_ADDRESS_TEL3, 15},
};
constexpr FieldControl<64> kPostalField = {&QrcodeData::sa, IDC_ADDRESS_POSTAL, 31};

template <std::size_t N>
void FillField(HWND dialog, const QrcodeData& entry, const FieldControl<N>& f) {
    SetDlgItemTextW(dialog, f.id, W(entry.*f.field));
}

template <std::size_t N>
void ReadField(HWND dialog, QrcodeData& entry, const FieldControl<N>& f) {
    wchar_t text[32] = {};
    GetDlgItemTextW(dialog, f.id, text, f.limit + 1);
    SetText(entry.*f.field, U16(text));
}

template <std::size_t N>
void LimitField(HWND dialog, const FieldControl<N>& f) {
    SendDlgItemMessageW(dialog, f.id, EM_LIMITTEXT, f.limit, 0);
}

// The format buttons; "ソフトバンク" stays disabled and writes nothing.
constexpr std::pair<int, AddressFormat> kFormatButtons[] = {
    {IDC_ADDRESS_AU, AddressFormat::kAu},
    {IDC_ADDRESS_DOCOMO, AddressFormat::kMecard},
    {IDC_ADDRESS_MULTI, AddressFormat::kVcard},
};

// The format the entry's text already holds is ticked, so reopening the dialog keeps it.
void FillAddressForm(HWND dialog, const QrcodeData& entry) {
    for (int id : {IDC_ADDRESS_AU, IDC_ADDRESS_DOCOMO, IDC_ADDRESS_SOFTBANK, IDC_ADDRESS_MULTI})
        CheckDlgButton(dialog, id, BST_UNCHECKED);
    const AddressFormat format = AddressFormatOf(TextOf(entry.s));
    for (const auto& [id, button_format] : kFormatButtons)
        if (button_format == format) CheckDlgButton(dialog, id, BST_CHECKED);
    for (const auto& f : kLongFields) FillField(dialog, entry, f);
    for (const auto& f : kTelFields) FillField(dialog, entry, f);
    FillField(dialog, entry, kPostalField);
}

void ReadAddressForm(HWND dialog, QrcodeData& entry) {
    for (const auto& f : kLongFields) ReadField(dialog, entry, f);
    for (const auto& f : kTelFields) ReadField(dialog, entry, f);
    ReadField(dialog, entry, kPostalField);
    for (const auto& [id, format] : kFormatButtons)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) BuildAddressPayload(entry, format);
}

// The card's texts in code page 932, as the search for numbers and addresses reads them.
ShiftJisTexts CardTextsInShiftJis(const CardDesign& design) {
    ShiftJisTexts texts;
    for (int i = 0; i < kTextCount; ++i) {
        const auto& s64 = design.str_data[i].s64;
        const int units = static_cast<int>(TextLength(s64));
        if (units == 0) continue;
        char bytes[2 * 64] = {};
        const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, W(s64), units, bytes,
                                          sizeof(bytes), nullptr, nullptr);
        texts[i].assign(bytes, n > 0 ? n : 0);
    }
    return texts;
}

void SetControl(HWND dialog, int id, const std::u16string& text) {
    SetDlgItemTextW(dialog, id, W(text.c_str()));
}

// Fills the controls, not the entry, from the card; the reading stays as typed.
void OnAutoSet(HWND dialog) {
    const AutoAddress found = AutoSetAddress(Design(), CardTextsInShiftJis(Design()));
    SetControl(dialog, IDC_ADDRESS_TEL1, found.tel[0]);
    SetControl(dialog, IDC_ADDRESS_TEL2, found.tel[1]);
    SetControl(dialog, IDC_ADDRESS_TEL3, found.tel[2]);
    SetControl(dialog, IDC_ADDRESS_MAIL1, found.mail[0]);
    SetControl(dialog, IDC_ADDRESS_MAIL2, found.mail[1]);
    SetControl(dialog, IDC_ADDRESS_MAIL3, found.mail[2]);
    SetControl(dialog, IDC_ADDRESS_NAME, found.name);
    SetControl(dialog, IDC_ADDRESS_POSTAL, found.address);
}

void OnInit(HWND dialog, const AddressDialog& state) {
    for (const auto& f : kLongFields) LimitField(dialog, f);
    for (const auto& f : kTelFields) LimitField(dialog, f);
    LimitField(dialog, kPostalField);
    FillAddressForm(dialog, *state.entry);
}

void OnCommand(HWND dialog, const AddressDialog& state, int id) {
    switch (id) {
        case IDC_ADDRESS_AUTO: OnAutoSet(dialog); break;
        case IDC_ADDRESS_OK:
            ReadAddressForm(dialog, *state.entry);
            EndDialog(dialog, 1);
            break;
        case IDC_ADDRESS_CANCEL:
        case IDCANCEL: EndDialog(dialog, 1); break;
        case IDC_ADDRESS_HELP: OpenManual(dialog); break;
        default: break;
    }
}

// Should the search or the payload run out of memory, the entry and the form stay as they
// were (the runner drops the message).
INT_PTR AddressProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, AddressDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_COMMAND: OnCommand(dialog, state, LOWORD(wparam)); return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

INT_PTR ShowAddressDialog(HWND owner, QrcodeData& entry) {
    AddressDialog state{&entry};
    return RunModalDialog<AddressDialog, AddressProc>(owner, IDD_ADDRESS, state);
}
