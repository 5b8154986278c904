#include "recording_seam.h"

RecordingSeam::RecordingSeam() : previous_(InstallUiSeam(this)) {}

RecordingSeam::~RecordingSeam() { InstallUiSeam(previous_); }

int RecordingSeam::ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption,
                                  UINT type) {
    messages.push_back({owner, text ? text : L"", caption ? caption : L"", type});
    if (on_message) on_message(messages.back());
    if (!message_answers.empty()) {
        const int answer = message_answers.front();
        message_answers.pop_front();
        return answer;
    }
    return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

BOOL RecordingSeam::FileDialog(OPENFILENAMEW* request, bool save) {
    std::wstring filter;
    for (const wchar_t* p = request->lpstrFilter; p && *p; p += lstrlenW(p) + 1) {
        filter += p;
        filter += L'|';
    }
    file_dialogs.push_back({save, request->hwndOwner, request->lpstrTitle ? request->lpstrTitle : L"",
                            request->lpstrFile ? request->lpstrFile : L"", filter, request->Flags});
    if (on_file_dialog) on_file_dialog(file_dialogs.back());
    if (file_answers.empty()) return FALSE;
    FileAnswer answer = file_answers.front();
    file_answers.pop_front();
    if (!answer.chosen) return FALSE;
    lstrcpynW(request->lpstrFile, answer.path.c_str(), static_cast<int>(request->nMaxFile));
    request->nFilterIndex = answer.filter_index;
    return TRUE;
}

BOOL RecordingSeam::OpenFileDialog(OPENFILENAMEW* request) { return FileDialog(request, false); }
BOOL RecordingSeam::SaveFileDialog(OPENFILENAMEW* request) { return FileDialog(request, true); }

BOOL RecordingSeam::ColorDialog(CHOOSECOLORW* request) {
    return color_answer ? color_answer(request) : FALSE;
}

BOOL RecordingSeam::FontDialog(CHOOSEFONTW* request) {
    return font_answer ? font_answer(request) : FALSE;
}

BOOL RecordingSeam::PrintDialog(PRINTDLGW* request) {
    ++print_dialogs;
    return print_answer ? print_answer(request) : FALSE;
}

void RecordingSeam::OpenDocument(HWND, const wchar_t* file) {
    opened_documents.push_back(file ? file : L"");
}

std::wstring RecordingSeam::MessageTexts() const {
    std::wstring all;
    for (const ShownMessage& m : messages) {
        if (!all.empty()) all += L'\n';
        all += m.text;
    }
    return all;
}
