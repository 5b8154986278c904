// Every dialog template of the program, created at the screen's DPI: each static, push
// button, check box, radio button and group box text, measured with the dialog's own font,
// fits its control. The test program runs DPI aware, as the program's manifest makes the
// program; dialog_text_dpi.sh runs it again at 120, 144 and 192 DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "win/guards.h"
#include "win/process.h"

namespace {

// Template names, "#104" for a numbered one.
BOOL CALLBACK CollectTemplate(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    auto& templates = *reinterpret_cast<std::vector<std::wstring>*>(found);
    templates.push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                             : std::wstring(name));
    return TRUE;
}

std::vector<std::wstring> TemplateNames() {
    std::vector<std::wstring> names;
    EnumResourceNamesW(Process().instance, RT_DIALOG, CollectTemplate,
                       reinterpret_cast<LONG_PTR>(&names));
    return names;
}

const wchar_t* ResourceName(const std::wstring& name) {
    return name[0] == L'#' ? MAKEINTRESOURCEW(std::stoi(name.substr(1))) : name.c_str();
}

// The templates are created without their own procedures: only the layout is measured.
INT_PTR CALLBACK LayoutOnly(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string Narrow(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

// What of a control's client area its text may use, and how the system lays the text out.
struct TextRoom {
    bool measured = false;  // false for pictures, frames, owner-drawn and empty controls
    int width = 0;
    int height = 0;
    UINT format = 0;  // DrawText flags: single line, or word-wrapped within width
};

TextRoom RoomFor(HWND control, int dpi) {
    wchar_t class_name[32] = {};
    GetClassNameW(control, class_name, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT client{};
    GetClientRect(control, &client);
    TextRoom room;
    room.width = client.right;
    room.height = client.bottom;
    if (lstrcmpiW(class_name, L"Static") == 0) {
        const LONG kind = style & SS_TYPEMASK;
        if (kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP) {
            room.format = DT_SINGLELINE;
        } else if (kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT) {
            room.format = DT_WORDBREAK;
        } else {
            return room;
        }
        if (style & SS_NOPREFIX) room.format |= DT_NOPREFIX;
        room.measured = true;
        return room;
    }
    if (lstrcmpiW(class_name, L"Button") != 0) return room;
    room.format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    const int edge = 2 * GetSystemMetrics(SM_CXEDGE);
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            room.width -= 2 * edge;  // the raised frame on both sides
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            // The box (13 pixels at 96 DPI) and the gap before the text.
            room.width -= MulDiv(13 + 4, dpi, 96);
            break;
        case BS_GROUPBOX:
            room.width -= 2 * MulDiv(8, dpi, 96);  // the frame's corners around the label
            break;
        default:
            return room;
    }
    room.measured = true;
    return room;
}

struct Cut {
    std::wstring dialog;
    int id;
    std::wstring text;
    int needed_width;
    int room_width;
    int needed_height;
    int room_height;
};

// The texts of one template that do not fit their controls.
std::vector<Cut> CutTexts(const std::wstring& name, int dpi, bool* created) {
    std::vector<Cut> cuts;
    HWND dialog = CreateDialogParamW(Process().instance, ResourceName(name), nullptr, LayoutOnly, 0);
    *created = dialog != nullptr;
    if (!dialog) return cuts;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const TextRoom room = RoomFor(control, dpi);
        wchar_t text[512] = {};
        GetWindowTextW(control, text, 512);
        if (!room.measured || text[0] == 0) continue;
        WindowDc dc(control);
        SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, room.width, 0};
        DrawTextW(dc.Get(), text, -1, &needed, room.format | DT_CALCRECT | DT_EXPANDTABS);
        if (needed.right > room.width || needed.bottom > room.height) {
            cuts.push_back({name, GetDlgCtrlID(control), text, static_cast<int>(needed.right),
                            room.width, static_cast<int>(needed.bottom), room.height});
        }
    }
    DestroyWindow(dialog);
    return cuts;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST(DialogTexts, EveryTextFitsItsControlAtTheScreensDpi) {
    const int dpi = ScreenDpi();
    std::printf("dialog texts measured at %d DPI\n", dpi);
    const std::vector<std::wstring> names = TemplateNames();
    ASSERT_GE(names.size(), 18u);  // every dialog of the program
    std::string report;
    for (const std::wstring& name : names) {
        bool created = false;
        for (const Cut& cut : CutTexts(name, dpi, &created)) {
            report += Narrow(cut.dialog) + " control " + std::to_string(cut.id) + " \"" +
                      Narrow(cut.text) + "\": needs " + std::to_string(cut.needed_width) + " x " +
                      std::to_string(cut.needed_height) + ", has " + std::to_string(cut.room_width) +
                      " x " + std::to_string(cut.room_height) + "\n";
        }
        EXPECT_TRUE(created) << "template " << Narrow(name) << " cannot be created";
    }
    EXPECT_TRUE(report.empty()) << "at " << dpi << " DPI:\n" << report;
}

}  // namespace
