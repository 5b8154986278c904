#include "dialog_driver.h"

#include <set>

namespace {

struct Session {
    std::set<HWND> before;
    const std::function<void(HWND)>* script = nullptr;
    HWND dialog = nullptr;
    bool done = false;
    bool timed_out = false;
    DWORD start = 0;
    int timeout_ms = 0;
};

Session* g_session = nullptr;

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<std::set<HWND>*>(param);
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0) found->insert(window);
    return TRUE;
}

std::set<HWND> ThreadDialogs() {
    std::set<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Session* s = g_session;
    if (!s || s->done) return;
    if (!s->dialog) {
        for (HWND w : ThreadDialogs())
            if (!s->before.count(w) && IsWindowVisible(w)) s->dialog = w;
        if (s->dialog) {
            s->done = true;  // the script may pump messages; never re-enter it
            (*s->script)(s->dialog);
            s->done = false;
            s->start = GetTickCount();
            s->script = nullptr;
            return;
        }
    }
    if (GetTickCount() - s->start > static_cast<DWORD>(s->timeout_ms)) {
        s->timed_out = true;
        s->done = true;
        for (HWND w : ThreadDialogs())
            if (!s->before.count(w)) EndDialog(w, IDCANCEL);
    }
}

}  // namespace

INT_PTR DriveModal(const std::function<INT_PTR()>& show, const std::function<void(HWND)>& script,
                   bool* timed_out, int timeout_ms) {
    Session session;
    session.before = ThreadDialogs();
    session.script = &script;
    session.start = GetTickCount();
    session.timeout_ms = timeout_ms;
    Session* outer = g_session;
    g_session = &session;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
    const INT_PTR result = show();
    KillTimer(nullptr, timer);
    g_session = outer;
    if (timed_out) *timed_out = session.timed_out;
    return result;
}

void PumpFor(int ms) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

void ClickButton(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void SetControlText(HWND dialog, int id, const std::wstring& text) {
    SetDlgItemTextW(dialog, id, text.c_str());
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t buffer[1024] = {};
    GetDlgItemTextW(dialog, id, buffer, 1024);
    return buffer;
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetChecked(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}
