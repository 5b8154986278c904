#include "print/print_stop.h"

#include "win/modal_dialog.h"
#include "win/process.h"

namespace {

struct StopState {
    HWND dialog = nullptr;
    int stop = 0;
};

StopState g_stop;

INT_PTR OnInit(HWND dialog) {
    SetFocus(dialog);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id, StopState& stop) {
    if (id != IDCANCEL) return FALSE;
    stop.stop = 1;
    DestroyWindow(dialog);
    return TRUE;
}

INT_PTR OnDestroy(HWND dialog, StopState& stop) {
    if (stop.dialog == dialog) stop.dialog = nullptr;
    return FALSE;
}

INT_PTR StopDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM, StopState& stop) {
    switch (message) {
        case WM_INITDIALOG: return OnInit(dialog);
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), stop);
        case WM_DESTROY: return OnDestroy(dialog, stop);
        default: return FALSE;
    }
}

}  // namespace

int& StopFlag() { return g_stop.stop; }

HWND StopDialog() { return g_stop.dialog; }

void OpenStopDialog(HWND owner) {
    CloseStopDialog();
    g_stop.stop = 0;
    g_stop.dialog = CreateModelessDialog<StopState, StopDialogProc>(owner, kStopDialogTemplate, g_stop);
    if (!g_stop.dialog) return;
    ShowWindow(g_stop.dialog, SW_SHOW);
    UpdateWindow(g_stop.dialog);
}

void CloseStopDialog() {
    if (g_stop.dialog) DestroyWindow(g_stop.dialog);
    g_stop.dialog = nullptr;
}

BOOL CALLBACK PrintAbortProc(HDC, int) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: the main loop must still see it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (g_stop.dialog && IsDialogMessageW(g_stop.dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return g_stop.stop == 0;
}
