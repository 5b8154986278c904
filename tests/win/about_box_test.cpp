#include "app/about_box.h"

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

}  // namespace
