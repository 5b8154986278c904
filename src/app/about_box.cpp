#include "app/about_box.h"

#include "app/app_state.h"
#include "res/about_ids.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/picture_stretch.h"
#include "win/ui_seam.h"

namespace {

struct AboutBox {
    HBITMAP picture = nullptr;
};

void OnInit(HWND dialog, AboutBox& box) {
    box.picture = static_cast<HBITMAP>(LoadImageW(Process().instance, MAKEINTRESOURCEW(IDB_ABOUT),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!box.picture) ShowMessage(dialog, L"画像が読み込み出来ません。", L"ImageLoad");
}

// The picture at the top left, 240 x 105 pixels; a failure is shown once the paint is over.
void OnPaint(HWND dialog, const AboutBox& box) {
    constexpr DeviceRect kPicture{0, 0, 240, 105};
    bool drawn;
    {
        PaintGuard paint(dialog);
        drawn = StretchBitmap(paint.Get(), box.picture, kPicture, SourceRect{0, 0, kPicture.w, kPicture.h});
    }
    if (!drawn) ShowMessage(dialog, kMemoryDcFailed, kMemoryDcCaption);
}

// The box owns its state, which goes with the window; later messages find none.
void OnDestroy(HWND dialog, AboutBox& box) {
    ForgetDialogState(dialog);
    if (box.picture) DeleteObject(box.picture);
    delete &box;
}

// OK, Enter (the default button) and Escape close the box.
INT_PTR OnCommand(HWND dialog, int id) {
    if (id != IDC_ABOUT_OK && id != IDCANCEL) return FALSE;
    DestroyWindow(dialog);
    return TRUE;
}

INT_PTR AboutProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, AboutBox& box) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, box); return TRUE;
        case WM_PAINT: OnPaint(dialog, box); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam));
        case WM_CLOSE: DestroyWindow(dialog); return TRUE;
        case WM_DESTROY: OnDestroy(dialog, box); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

HWND ShowAboutBox(HWND owner) {
    auto* box = new AboutBox;
    HWND dialog = CreateModelessDialog<AboutBox, AboutProc>(owner, MAKEINTRESOURCEW(IDD_ABOUT), *box);
    if (!dialog) {
        delete box;
        return nullptr;
    }
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}
