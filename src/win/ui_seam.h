// Every message box and every system dialog of the program goes through this seam.
// Production shows the real thing; tests install their own to record what would be
// shown and to script the answer.
#pragma once
#include <windows.h>
#include <commdlg.h>

class UiSeam {
public:
    virtual ~UiSeam() = default;
    // Same contract as MessageBoxW: returns IDOK, IDYES, IDNO ...
    virtual int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption,
                               UINT type) = 0;
    // Same contracts as GetOpenFileNameW, GetSaveFileNameW, ChooseColorW, ChooseFontW,
    // PrintDlgW: the structure is filled in place; FALSE for cancel or error.
    virtual BOOL OpenFileDialog(OPENFILENAMEW* request) = 0;
    virtual BOOL SaveFileDialog(OPENFILENAMEW* request) = 0;
    virtual BOOL ColorDialog(CHOOSECOLORW* request) = 0;
    virtual BOOL FontDialog(CHOOSEFONTW* request) = 0;
    virtual BOOL PrintDialog(PRINTDLGW* request) = 0;
    // Opens a document with the shell verb "open", shown normally; the result is not
    // looked at.
    virtual void OpenDocument(HWND owner, const wchar_t* file) = 0;
};

// The seam in force: the system's dialogs unless a test installed another.
UiSeam& Ui();

// Installs a seam (nullptr goes back to the system's) and returns the one it replaced.
UiSeam* InstallUiSeam(UiSeam* seam);

// The units of every file dialog's name buffer.
inline constexpr int kFileNameUnits = 256;

// An open or save dialog request over name (which holds the proposed name): owned by
// owner, the filter list's first entry selected, with title and flags.
OPENFILENAMEW FileDialogRequest(HWND owner, wchar_t (&name)[kFileNameUnits], const wchar_t* title,
                                const wchar_t* filter, DWORD flags);

// A message box through the seam; the program's usual box is OK only.
int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type = MB_OK);
