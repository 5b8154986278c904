#include "app/about_box.h"
#include "app/main_window.h"

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "recording_seam.h"
#include "res/about_ids.h"
#include "test_bitmap.h"

namespace {

TEST(AboutBox, ShowsItsPictureAndClosesWithOk) {
    RecordingSeam seam;
    HWND first = ShowAboutBox(nullptr);
    HWND second = ShowAboutBox(nullptr);
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);  // every command opens a box of its own
    PumpFor(100);
    EXPECT_TRUE(seam.messages.empty());  // the picture loaded
    // The picture is painted at (0, 0) of the client area.
    TestBitmap copy(240, 105);
    HDC dc = GetDC(first);
    BitBlt(copy.Dc(), 0, 0, 240, 105, dc, 0, 0, SRCCOPY);
    ReleaseDC(first, dc);
    EXPECT_GT(copy.CountOther(0, 0, 240, 105, GetSysColor(COLOR_BTNFACE)), 240 * 105 / 2);
    ClickButton(first, IDC_ABOUT_OK);
    PumpFor(50);
    EXPECT_FALSE(IsWindow(first));
    SendMessageW(second, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(second));
}

// The main loop passes the box's messages through the dialog: keys work as in a dialog.
void PumpAsTheMainLoop(int ms) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (PassToModelessDialog(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

void PressKey(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

TEST(AboutBox, EscapeAndEnterCloseTheModelessBoxThroughTheMainLoop) {
    RecordingSeam seam;
    for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
        HWND box = ShowAboutBox(nullptr);
        ASSERT_TRUE(box);
        PumpAsTheMainLoop(50);
        HWND ok = GetDlgItem(box, IDC_ABOUT_OK);
        SetFocus(ok);
        PressKey(ok, key);
        PumpAsTheMainLoop(100);
        EXPECT_FALSE(IsWindow(box)) << "key " << key;
        if (IsWindow(box)) DestroyWindow(box);
    }
}

}  // namespace
