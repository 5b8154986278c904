// The program's main window in a scratch start folder, over a design of known items:
// mark 0, the face, the name text (item 2) and QR code 0.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "test_files.h"

inline LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class MainWindowOverKnownItems : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchFolder folder;
    wchar_t previous_directory[MAX_PATH] = {};
    HWND window = nullptr;

    // Creates and shows the window over the known items, not yet painted.
    void OpenWindow() {
        GetCurrentDirectoryW(MAX_PATH, previous_directory);
        SetCurrentDirectoryW(folder.Path().c_str());
        Process().start_folder.clear();
        RegisterMainWindowClass(Process().instance);
        window = CreateMainWindow(Process().instance);
        ASSERT_TRUE(window);
        Process().start_folder = folder.Path();
        CardDesign& d = Design();
        ResetDesign(d, SettingsScope::Full);
        d.mark_data[0] = {1, 100, 50, 40, 30, 0, {}};
        d.phot_data = {1, 300, 150, 60, 60, {}};
        StrData& t = d.str_data[2];
        t.on = 1, t.x = 20, t.y = 200;
        SetText(t.s64, u"山田太郎");
        QrcodeData& q = d.qrcode_data[0];
        q.on = 1, q.x = 200, q.y = 20, q.w = 75, q.h = 75, q.Sell = 3;
        SetText(q.s, u"VIVIVUZ");
        ShowWindow(window, SW_SHOW);
    }
    void CloseWindow() {
        if (IsWindow(window)) DestroyWindow(window);
        PumpFor(20);
        ReleaseDesignPictures();
        ResetDesign(Design(), SettingsScope::Full);
        Process().main_window = nullptr;
        Process().start_folder.clear();
        SetCurrentDirectoryW(previous_directory);
    }
    void Drag(int from_x, int from_y, int to_x, int to_y) {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(from_x, from_y));
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At((from_x + to_x) / 2, (from_y + to_y) / 2));
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At(to_x, to_y));
        SendMessageW(window, WM_LBUTTONUP, 0, At(to_x, to_y));
    }
    StrData& Name() { return Design().str_data[2]; }
};
