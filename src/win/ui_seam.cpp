#include "win/ui_seam.h"

#include <shellapi.h>

namespace {

class SystemUi final : public UiSeam {
public:
    int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption,
                       UINT type) override {
        return MessageBoxW(owner, text, caption, type);
    }
    BOOL OpenFileDialog(OPENFILENAMEW* request) override { return GetOpenFileNameW(request); }
    BOOL SaveFileDialog(OPENFILENAMEW* request) override { return GetSaveFileNameW(request); }
    BOOL ColorDialog(CHOOSECOLORW* request) override { return ChooseColorW(request); }
    BOOL FontDialog(CHOOSEFONTW* request) override { return ChooseFontW(request); }
    BOOL PrintDialog(PRINTDLGW* request) override { return PrintDlgW(request); }
    void OpenDocument(HWND owner, const wchar_t* file) override {
        ShellExecuteW(owner, L"open", file, nullptr, nullptr, SW_SHOWNORMAL);
    }
};

SystemUi g_system_ui;
UiSeam* g_ui = &g_system_ui;

}  // namespace

UiSeam& Ui() { return *g_ui; }

UiSeam* InstallUiSeam(UiSeam* seam) {
    UiSeam* previous = g_ui;
    g_ui = seam ? seam : &g_system_ui;
    return previous;
}

OPENFILENAMEW FileDialogRequest(HWND owner, wchar_t (&name)[kFileNameUnits], const wchar_t* title,
                                const wchar_t* filter, DWORD flags) {
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.nFilterIndex = 1;
    request.lpstrFile = name;
    request.nMaxFile = kFileNameUnits;
    request.lpstrTitle = title;
    request.Flags = flags;
    return request;
}

int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return Ui().ShowMessageBox(owner, text, caption, type);
}
