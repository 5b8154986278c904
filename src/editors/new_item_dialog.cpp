#include "editors/new_item_dialog.h"

#include <windowsx.h>

#include <type_traits>

#include "design/fixed_text.h"
#include "editors/picture_files.h"
#include "render/card_mapping.h"
#include "res/new_item_dialog_ids.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

// The file dialog's name buffer is as long as the mark's path field, so a chosen path
// always fits it whole.
static_assert(std::extent_v<decltype(MarkData::fm)> == kFileNameUnits);

struct NewItemDialog {
    int x, y;  // the clicked point on the card
};

void OnInit(HWND dialog) {
    const CardDesign& d = Design();
    for (int j = 0; j < kMarkCount; ++j)
        EnableWindow(GetDlgItem(dialog, IDC_NEW_MARK1 + j), d.mark_data[j].on == 0);
    for (int i = 0; i < kTextCount; ++i)
        EnableWindow(GetDlgItem(dialog, IDC_NEW_TEXT1 + i), d.str_data[i].on == 0);
}

// Asks for mark j's picture and, when it loads, switches the mark on at the point with
// the picture's size. A picture that does not load keeps its path but leaves the mark off.
void PlaceMark(HWND dialog, const NewItemDialog& at, int j) {
    wchar_t name[kFileNameUnits];
    // A start folder too long for the buffer leaves the bare pattern rather than a cut one.
    CardDesign& d = Design();
    const std::wstring pattern = std::wstring(L"mark\\") + PicturePattern(d.mark_load_mode);
    if (!SetWholeText(name, Process().start_folder + L"\\" + pattern)) SetText(name, pattern);
    OPENFILENAMEW request =
        FileDialogRequest(dialog, name, L"PalyFileの在処を指定", PictureFilter(d.mark_load_mode), OFN_HIDEREADONLY);
    if (!Ui().OpenFileDialog(&request)) return;
    MarkData& mark = d.mark_data[j];
    SetText(mark.fm, U16(name));
    // The file dialog left the chosen file's folder current; the start folder is again.
    const PicturePtr picture = LoadShownPicture(dialog, name, d.mark_load_mode);
    if (!picture) return;
    const SIZE size = NaturalPictureSize(*picture);
    mark.on = 1;
    mark.x = at.x;
    mark.y = at.y;
    mark.w = size.cx;
    mark.h = size.cy;
}

void PlaceText(const NewItemDialog& at, int i) {
    CardDesign& d = Design();
    StrData& item = d.str_data[i];
    item.on = 1;
    item.x = at.x;
    item.y = at.y;
    item.bk = 0;
    item.r = item.g = item.b = 0;
    item.br = item.bg = item.bb = 255;
    d.lf[i] = DefaultFont();
    SetSampleText(d, i);  // the text, and the larger bold font of the company and name
}

void OnCommand(HWND dialog, const NewItemDialog& state, int id) {
    if (id >= IDC_NEW_MARK1 && id < IDC_NEW_MARK1 + kMarkCount) {
        PlaceMark(dialog, state, id - IDC_NEW_MARK1);
        EndDialog(dialog, 0);
    } else if (id >= IDC_NEW_TEXT1 && id < IDC_NEW_TEXT1 + kTextCount) {
        PlaceText(state, id - IDC_NEW_TEXT1);
        EndDialog(dialog, id - IDC_NEW_TEXT1 + 1);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    }
}

INT_PTR NewItemProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, NewItemDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog); return TRUE;
        case WM_COMMAND: OnCommand(dialog, state, LOWORD(wparam)); return TRUE;
        case WM_CLOSE: EndDialog(dialog, 0); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

INT_PTR ShowNewItemDialog(HWND owner, LPARAM packed_point) {
    NewItemDialog state{GET_X_LPARAM(packed_point) - kCardLeft, GET_Y_LPARAM(packed_point) - kCardTop};
    return RunModalDialog<NewItemDialog, NewItemProc>(owner, IDD_NEW_ITEM, state);
}
