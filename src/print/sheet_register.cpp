#include "print/sheet_register.h"

#include "res/sheet_register_ids.h"
#include "win/modal_dialog.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kCaption[] = L"用紙の登録";

struct RegisterDialog {
    const std::vector<SheetPreset>* saved = nullptr;
    std::optional<std::u16string> name;
};

// The typed name; one unit more than a name may have, so that a longer one shows as such.
std::u16string TypedName(HWND dialog) {
    wchar_t text[kPresetNameUnits + 2] = {};
    GetDlgItemTextW(dialog, IDC_REGISTER_NAME, text, static_cast<int>(std::size(text)));
    return std::u16string(U16(text));
}

void Refuse(HWND dialog, const wchar_t* text) {
    ShowMessage(dialog, text, kCaption, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(dialog, IDC_REGISTER_NAME));
}

bool Accepted(HWND dialog, const std::u16string& name, const std::vector<SheetPreset>& saved) {
    switch (CheckPresetName(name, saved)) {
        case PresetName::New: return true;
        case PresetName::Existing:
            return ShowMessage(dialog, L"同じ名前の用紙があります。置き換えますか？", L"用紙の登録！", MB_YESNO) ==
                   IDYES;
        case PresetName::Empty: Refuse(dialog, L"名前を入力してください。"); return false;
        case PresetName::TooLong: Refuse(dialog, L"名前が長すぎます。63文字までにしてください。"); return false;
        case PresetName::NotAllowed: Refuse(dialog, L"この名前は使えません。別の名前にしてください。"); return false;
        case PresetName::Full: Refuse(dialog, L"これ以上は用紙を登録できません。"); return false;
    }
    return false;
}

void OnOk(HWND dialog, RegisterDialog& state) {
    const std::u16string name = TypedName(dialog);
    if (!Accepted(dialog, name, *state.saved)) return;
    state.name = name;
    EndDialog(dialog, IDOK);
}

INT_PTR RegisterProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, RegisterDialog& state) {
    switch (message) {
        case WM_INITDIALOG: return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK: OnOk(dialog, state); return TRUE;
                case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

}  // namespace

std::optional<std::u16string> AskPresetName(HWND owner, const std::vector<SheetPreset>& saved) {
    RegisterDialog state;
    state.saved = &saved;
    RunModalDialog<RegisterDialog, RegisterProc>(owner, IDD_SHEET_REGISTER, state);
    return state.name;
}
