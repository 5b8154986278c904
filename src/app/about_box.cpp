#include "app/about_box.h"

#include "app/app_state.h"
#include "app/no_throw.h"
#include "app/ui_seam.h"
#include "app/win_guards.h"
#include "res/about_ids.h"

namespace {

struct AboutBox {
    HBITMAP picture = nullptr;
};

void OnInit(HWND dialog, AboutBox* box) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(box));
    box->picture = static_cast<HBITMAP>(LoadImageW(App().instance, MAKEINTRESOURCEW(IDB_ABOUT),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!box->picture) ShowMessage(dialog, L"画像が読み込み出来ません。", L"ImageLoad");
}

void OnPaint(HWND dialog, const AboutBox* box) {
    PaintGuard paint(dialog);
    MemoryDc memory(paint.Get());
    if (!memory) {
        ShowMessage(dialog, L"失敗しました。", L"CreateCompatibleDC");
        return;
    }
    SelectGuard select(memory.Get(), box->picture);
    BitBlt(paint.Get(), 0, 0, 240, 105, memory.Get(), 0, 0, SRCCOPY);
}

void OnDestroy(AboutBox* box) {
    if (!box) return;
    if (box->picture) DeleteObject(box->picture);
    delete box;
}

AboutBox* State(HWND dialog) {
    return reinterpret_cast<AboutBox*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWithoutThrowing(TRUE, [&]() -> INT_PTR {
        switch (message) {
            case WM_INITDIALOG: OnInit(dialog, reinterpret_cast<AboutBox*>(lparam)); return TRUE;
            case WM_PAINT: OnPaint(dialog, State(dialog)); return TRUE;
            case WM_COMMAND:
                if (LOWORD(wparam) != IDC_ABOUT_OK) return FALSE;
                DestroyWindow(dialog);
                return TRUE;
            case WM_CLOSE: DestroyWindow(dialog); return TRUE;
            case WM_DESTROY: OnDestroy(State(dialog)); return TRUE;
            default: return FALSE;
        }
    });
}

}  // namespace

HWND ShowAboutBox(HWND owner) {
    auto* box = new AboutBox;
    HWND dialog = CreateDialogParamW(App().instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProc,
                                     reinterpret_cast<LPARAM>(box));
    if (!dialog) {
        delete box;
        return nullptr;
    }
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}
