// A seam for tests: records every message box and system dialog the code under test
// would show, and answers with scripted replies.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "win/ui_seam.h"

struct ShownMessage {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// A scripted answer to a file dialog: cancel, or a path and the filter index it closed with.
struct FileAnswer {
    bool chosen = false;
    std::wstring path;
    DWORD filter_index = 1;
};

struct ShownFileDialog {
    bool save;
    HWND owner;
    std::wstring title;
    std::wstring initial_name;
    std::wstring filter;  // the whole list, terminators as '|'
    DWORD flags;
};

class RecordingSeam final : public UiSeam {
public:
    RecordingSeam();
    ~RecordingSeam() override;
    RecordingSeam(const RecordingSeam&) = delete;
    RecordingSeam& operator=(const RecordingSeam&) = delete;

    // Replies to the next message boxes, in order; when none is queued: IDOK, or IDYES
    // for a Yes/No box.
    std::deque<int> message_answers;
    std::deque<FileAnswer> file_answers;  // when empty: cancel
    // Called in place of the system's print dialog; null gives FALSE.
    std::function<BOOL(PRINTDLGW*)> print_answer;
    std::function<BOOL(CHOOSEFONTW*)> font_answer;
    std::function<BOOL(CHOOSECOLORW*)> color_answer;
    // Called with each message box as it is recorded, before it is answered.
    std::function<void(const ShownMessage&)> on_message;
    // Called with each file dialog as it is recorded, before it is answered.
    std::function<void(const ShownFileDialog&)> on_file_dialog;

    std::vector<ShownMessage> messages;
    std::vector<ShownFileDialog> file_dialogs;
    int print_dialogs = 0;
    std::vector<std::wstring> opened_documents;

    int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) override;
    BOOL OpenFileDialog(OPENFILENAMEW* request) override;
    BOOL SaveFileDialog(OPENFILENAMEW* request) override;
    BOOL ColorDialog(CHOOSECOLORW* request) override;
    BOOL FontDialog(CHOOSEFONTW* request) override;
    BOOL PrintDialog(PRINTDLGW* request) override;
    void OpenDocument(HWND owner, const wchar_t* file) override;

    // The texts of the recorded message boxes, joined by '\n'.
    std::wstring MessageTexts() const;

private:
    BOOL FileDialog(OPENFILENAMEW* request, bool save);
    UiSeam* previous_;
};
