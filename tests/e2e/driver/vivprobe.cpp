// Loaded into the program by vivdrive for the time of one reading; reads the live menu
// bar of a window from inside the owning process. No C++ runtime is used here: the
// routine runs on a thread the driver creates, beside the program's own thread.
#include <windows.h>

#include "probe_request.h"

namespace {

// Appends to the request's text, keeping it zero-terminated; false once it is full.
class LineWriter {
public:
    explicit LineWriter(ProbeRequest* request) : request_(request) {
        request_->length = 0;
        request_->text[0] = L'\0';
    }

    bool Put(wchar_t c) {
        if (request_->length + 1 >= request_->capacity) {
            overflow_ = true;
            return false;
        }
        request_->text[request_->length++] = c;
        request_->text[request_->length] = L'\0';
        return true;
    }
    void Put(const wchar_t* s) {
        while (*s && Put(*s++)) {
        }
    }
    // A field of a tab-separated line: tabs, line breaks and backslashes are escaped.
    void PutField(const wchar_t* s) {
        for (; *s; ++s) {
            switch (*s) {
                case L'\t': Put(L"\\t"); break;
                case L'\n': Put(L"\\n"); break;
                case L'\r': Put(L"\\r"); break;
                case L'\\': Put(L"\\\\"); break;
                default: Put(*s);
            }
        }
    }
    void PutNumber(unsigned value) {
        wchar_t digits[16];
        int n = 0;
        do {
            digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
            value /= 10;
        } while (value);
        while (n) Put(digits[--n]);
    }
    bool Overflowed() const { return overflow_; }

private:
    ProbeRequest* request_;
    bool overflow_ = false;
};

// One line per item, "depth<TAB>kind<TAB>id<TAB>text<TAB>state", kind popup, item or
// separator, state "on" or "grey" (disabled); popups and separators have the id "-"; a
// popup's items follow it at depth + 1.
void WriteMenu(LineWriter& out, HMENU menu, unsigned depth) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = ARRAYSIZE(text) - 1;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        out.PutNumber(depth);
        out.Put(L'\t');
        if (info.hSubMenu) {
            out.Put(L"popup\t-\t");
        } else if (info.fType & MFT_SEPARATOR) {
            out.Put(L"separator\t-\t");
        } else {
            out.Put(L"item\t");
            out.PutNumber(info.wID);
            out.Put(L'\t');
        }
        out.PutField(text);
        out.Put((info.fState & MFS_GRAYED) ? L"\tgrey" : L"\ton");
        out.Put(L'\n');
        if (info.hSubMenu) WriteMenu(out, info.hSubMenu, depth + 1);
    }
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI ReadWindowMenu(void* parameter) {
    auto* request = static_cast<ProbeRequest*>(parameter);
    HMENU menu = GetMenu(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(request->window)));
    LineWriter out(request);
    if (!menu) return kProbeNoMenu;
    WriteMenu(out, menu, 0);
    return out.Overflowed() ? kProbeOverflow : kProbeOk;
}
