#include "editors/mark_dialog.h"

#include "design/fixed_text.h"
#include "editors/mark_rows.h"
#include "editors/picture_browse.h"
#include "editors/picture_files.h"
#include "render/bitmap_export.h"
#include "res/mark_dialog_ids.h"
#include "tools/photo_editor.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/paint_report.h"
#include "win/picture_list.h"
#include "win/picture_stretch.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr int kNumberChars = 31;
constexpr int kPathChars = 255;

struct MarkDialog {
    Picture previews[kMarkCount];       // empty when the mark has no loaded picture
    int index[kMarkCount] = {};         // each mark's place in the picture list
    PaintReport shown;                  // failures of the previews already shown
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

int MarkLoadMode() { return Design().mark_load_mode; }

int ScanMarkFolder() { return ScanPictureFolder(PictureFolder::kMark, MarkLoadMode()); }

// Loads the mark's preview from path; false (and said) when none results.
bool LoadPreview(HWND dialog, MarkDialog& state, int mark, const wchar_t* path) {
    state.previews[mark].Reset(LoadShownPicture(dialog, path, MarkLoadMode()));
    return static_cast<bool>(state.previews[mark]);
}

void FillMarkForm(HWND dialog) {
    for (int j = 0; j < kMarkCount; ++j) {
        const MarkData& mark = Design().mark_data[j];
        Check(dialog, IDC_MARK_USE + j, mark.on != 0);
        SetDlgItemInt(dialog, IDC_MARK_X + j, static_cast<UINT>(mark.x), TRUE);
        SetDlgItemInt(dialog, IDC_MARK_Y + j, static_cast<UINT>(mark.y), TRUE);
        SetDlgItemInt(dialog, IDC_MARK_WIDTH + j, static_cast<UINT>(mark.w), TRUE);
        SetDlgItemInt(dialog, IDC_MARK_HEIGHT + j, static_cast<UINT>(mark.h), TRUE);
        Check(dialog, IDC_MARK_CLEAR + j, mark.m != 0);
        SetDlgItemTextW(dialog, IDC_MARK_FILE + j, W(mark.fm));
    }
}

void ReadMarkForm(HWND dialog) {
    CardDesign& design = Design();
    for (int j = 0; j < kMarkCount; ++j) {
        wchar_t x[kNumberChars + 1] = {}, y[kNumberChars + 1] = {};
        wchar_t w[kNumberChars + 1] = {}, h[kNumberChars + 1] = {};
        GetDlgItemTextW(dialog, IDC_MARK_X + j, x, kNumberChars + 1);
        GetDlgItemTextW(dialog, IDC_MARK_Y + j, y, kNumberChars + 1);
        GetDlgItemTextW(dialog, IDC_MARK_WIDTH + j, w, kNumberChars + 1);
        GetDlgItemTextW(dialog, IDC_MARK_HEIGHT + j, h, kNumberChars + 1);
        // One unit more than a path may have, so that a longer one is seen and refused.
        wchar_t path[kPathChars + 2] = {};
        GetDlgItemTextW(dialog, IDC_MARK_FILE + j, path, kPathChars + 2);
        StoreMarkRow(design.mark_data[j],
                     {Checked(dialog, IDC_MARK_USE + j), U16(x), U16(y), U16(w), U16(h),
                      Checked(dialog, IDC_MARK_CLEAR + j), U16(path)},
                     design.base_w, design.base_h);
    }
}

// Mark j shows another picture: its preview, its size edits from the picture, its path,
// and the mark is switched on whether or not the picture could be read.
void ChangePicture(HWND dialog, MarkDialog& state, int mark, const wchar_t* path) {
    if (LoadPreview(dialog, state, mark, path)) {
        const SIZE size = NaturalPictureSize(*state.previews[mark].Get());
        SetDlgItemInt(dialog, IDC_MARK_WIDTH + mark, static_cast<UINT>(size.cx), TRUE);
        SetDlgItemInt(dialog, IDC_MARK_HEIGHT + mark, static_cast<UINT>(size.cy), TRUE);
    }
    SetDlgItemTextW(dialog, IDC_MARK_FILE + mark, path);
    Check(dialog, IDC_MARK_USE + mark, true);
    RepaintDialog(dialog);
}

// 次 (+1) and 戻 (-1) of a mark; nothing while the list is empty.
void StepPicture(HWND dialog, MarkDialog& state, int mark, int step) {
    PictureList& list = ThePictureList();
    if (list.count <= 0) return;
    int& index = state.index[mark];
    index = step > 0 ? NextPictureIndex(index, list.count) : PreviousPictureIndex(index, list.count);
    ChangePicture(dialog, state, mark, list.entries[index]);
}

// 参照: the chosen file goes into the design at once, not only on OK.
void BrowsePicture(HWND dialog, MarkDialog& state, int mark) {
    MarkData& data = Design().mark_data[mark];
    wchar_t path[kFileNameUnits] = {};
    SetText(path, W(TextOf(data.fm)));
    if (BrowsePictureFile(dialog, PictureFolder::kMark, MarkLoadMode(), path)) {
        SetWholeText(data.fm, U16(path));
        ChangePicture(dialog, state, mark, path);
    }
    ScanMarkFolder();
}

void PaintPreviews(HDC dc, HWND dialog, MarkDialog& state, PaintReport& report) {
    for (int j = 0; j < kMarkCount; ++j) {
        if (!state.previews[j]) continue;
        const PaintPicture picture = state.previews[j].Paint();
        const SIZE size = PictureSize(picture);
        if (!StretchPicture(dc, picture, MarkPreviewRect(j, size.cx, size.cy), WholePicture(picture),
                            Checked(dialog, IDC_MARK_CLEAR + j)))
            report.Add(kMemoryDcFailed, kMemoryDcCaption);
    }
}

void OnPaint(HWND dialog, MarkDialog& state) {
    PaintReport failures;
    {
        PaintGuard paint(dialog);
        PaintPreviews(paint.Get(), dialog, state, failures);
    }
    ShowNewFailures(dialog, failures, state.shown);
}

void OnInit(HWND dialog, MarkDialog& state) {
    OpenPictureFolder(dialog, PictureFolder::kMark, MarkLoadMode());
    for (int j = 0; j < kMarkCount; ++j) {
        const MarkData& mark = Design().mark_data[j];
        if (mark.on != 0) LoadPreview(dialog, state, j, W(mark.fm));
        state.index[j] = 0;
    }
    for (int j = 0; j < kMarkCount; ++j) {
        for (int id : {IDC_MARK_X, IDC_MARK_Y, IDC_MARK_WIDTH, IDC_MARK_HEIGHT})
            SendDlgItemMessageW(dialog, id + j, EM_LIMITTEXT, kNumberChars, 0);
        SendDlgItemMessageW(dialog, IDC_MARK_FILE + j, EM_LIMITTEXT, kPathChars, 0);
    }
    FillMarkForm(dialog);
}

void OnOk(HWND dialog) {
    if (ShowMessage(dialog, L"これに変更して良いですか？", L"マーク画面！", MB_YESNO) != IDYES) return;
    ReadMarkForm(dialog);
    EndDialog(dialog, 1);
}

// The mark of a row control whose id is base + mark, or -1.
int MarkOf(int id, int base) { return id >= base && id < base + kMarkCount ? id - base : -1; }

void OnCommand(HWND dialog, MarkDialog& state, int id, int code) {
    if (code != BN_CLICKED) return;
    if (const int j = MarkOf(id, IDC_MARK_NEXT); j >= 0) {
        StepPicture(dialog, state, j, +1);
    } else if (const int j = MarkOf(id, IDC_MARK_PREVIOUS); j >= 0) {
        StepPicture(dialog, state, j, -1);
    } else if (const int j = MarkOf(id, IDC_MARK_BROWSE); j >= 0) {
        BrowsePicture(dialog, state, j);
    } else if (MarkOf(id, IDC_MARK_CLEAR) >= 0) {
        RepaintDialog(dialog);
    } else {
        switch (id) {
            // What the editor saves is reached through 次, 戻 or 参照.
            case IDC_MARK_PHOTO:
                ShowPhotoEditor(dialog, kMarkBitmap);
                ScanMarkFolder();
                break;
            case IDC_MARK_PAINT:
                RunPaintProgram(dialog, L"");
                ScanMarkFolder();
                break;
            case IDC_MARK_OK: OnOk(dialog); break;
            case IDC_MARK_CANCEL: EndDialog(dialog, 1); break;
            case IDC_MARK_HELP: OpenManual(dialog); break;
            default: break;  // Escape (IDCANCEL) does nothing
        }
    }
}

INT_PTR MarkProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, MarkDialog& state) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, state); return TRUE;
        case WM_PAINT: OnPaint(dialog, state); return TRUE;
        case WM_COMMAND: OnCommand(dialog, state, LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        case WM_DESTROY:
            for (Picture& preview : state.previews) preview.Reset();
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void ShowMarkDialog(HWND owner) {
    MarkDialog state;
    RunModalDialog<MarkDialog, MarkProc>(owner, IDD_MARK, state);
}
