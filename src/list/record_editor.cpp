#include "list/record_editor.h"

#include <memory>
#include <string>

#include "design/numbers.h"
#include "design/settings_file.h"
#include "design/settings_file_win.h"
#include "design/template_design.h"
#include "list/list_view.h"
#include "res/list_editor_ids.h"
#include "win/modal_dialog.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr UINT_PTR kTemplateTimer = 1;
// A selection in the combo's list changes its text only after the notification: the
// name is read this long afterwards.
constexpr UINT kTemplateDelayMs = 200;
constexpr int kCopiesChars = 31;

struct RecordEditor {
    ListRow& record;
    // The template name the fields were last enabled for; empty at opening, so the use
    // flags of the shown template apply at every opening.
    std::wstring reference;
};

std::wstring ControlText(HWND dialog, int id, int units) {
    std::wstring text(static_cast<std::size_t>(units) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetDlgItemTextW(dialog, id, text.data(), units + 1)));
    return text;
}

// The fields of the text items the template switches on are enabled, the others disabled
// (their text stays). The template is read as the browser and the batch read it, in any
// encoding and line end the template reader takes; one that cannot be read (reported
// there), or no usable name, enables all.
void ApplyTemplateFlags(HWND dialog, const std::wstring& name) {
    auto templ = std::make_unique<TemplateDesign>();
    SettingsFileReader reader(*templ);
    const bool readable = CheckTemplateName(U16(name)) == TemplateNameCheck::Ok &&
                          ReadSettingsInto(dialog, reader, (L"temp\\" + name).c_str());
    for (int k = 0; k < kTextCount; ++k)
        EnableWindow(GetDlgItem(dialog, IDC_RECORD_STRING + k), !readable || templ->str_data[k].on != 0);
}

void OnInit(HWND dialog, RecordEditor& state) {
    HWND combo = GetDlgItem(dialog, IDC_RECORD_TEMPLATE);
    ListTemplateNames(combo);
    SendMessageW(combo, CB_LIMITTEXT, kListNameUnits, 0);
    SetWindowTextW(combo, W(state.record[0].c_str()));
    SendDlgItemMessageW(dialog, IDC_RECORD_COPIES, EM_LIMITTEXT, kCopiesChars, 0);
    SetDlgItemTextW(dialog, IDC_RECORD_COPIES, W(state.record[1].c_str()));
    for (int k = 0; k < kTextCount; ++k) {
        SendDlgItemMessageW(dialog, IDC_RECORD_STRING + k, EM_LIMITTEXT, kListFieldUnits, 0);
        SetDlgItemTextW(dialog, IDC_RECORD_STRING + k, W(state.record[kListStringBase + k].c_str()));
    }
    SetTimer(dialog, kTemplateTimer, kTemplateDelayMs, nullptr);
}

void OnTemplateNotification(HWND dialog, RecordEditor& state) {
    state.reference = ControlText(dialog, IDC_RECORD_TEMPLATE, kListNameUnits + 1);
    SetTimer(dialog, kTemplateTimer, kTemplateDelayMs, nullptr);
}

void OnTimer(HWND dialog, RecordEditor& state) {
    KillTimer(dialog, kTemplateTimer);
    const std::wstring name = ControlText(dialog, IDC_RECORD_TEMPLATE, kListNameUnits + 1);
    if (name == state.reference) return;
    state.reference = name;
    ApplyTemplateFlags(dialog, name);
}

void OnOk(HWND dialog, RecordEditor& state) {
    const std::wstring name = ControlText(dialog, IDC_RECORD_TEMPLATE, kListNameUnits + 1);
    const TemplateNameCheck check = CheckTemplateName(U16(name));
    if (check == TemplateNameCheck::LeavesFolder || check == TemplateNameCheck::TooLong) {
        ShowMessage(dialog, L"スタイルには temp フォルダのテンプレートのファイル名だけを指定して下さい。",
                    L"文字列の設定");
        return;
    }
    state.record[0] = U16(name);
    state.record[1] = U16(std::to_wstring(ParseWholeNumber(U16(ControlText(dialog, IDC_RECORD_COPIES, kCopiesChars)))));
    for (int k = 0; k < kTextCount; ++k)
        state.record[kListStringBase + k] = U16(ControlText(dialog, IDC_RECORD_STRING + k, kListFieldUnits));
    EndDialog(dialog, 1);
}

INT_PTR RecordProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, RecordEditor& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_TIMER: OnTimer(dialog, state); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wparam) == IDC_RECORD_TEMPLATE) OnTemplateNotification(dialog, state);
            else if (LOWORD(wparam) == IDC_RECORD_OK) OnOk(dialog, state);
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, 0); return TRUE;
        case WM_DESTROY: KillTimer(dialog, kTemplateTimer); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

bool EditRecord(HWND owner, ListRow& record) {
    ListRow edited = record;
    RecordEditor state{edited, {}};
    if (RunModalDialog<RecordEditor, RecordProc>(owner, IDD_RECORD_EDITOR, state) != 1) return false;
    record = edited;
    return true;
}
