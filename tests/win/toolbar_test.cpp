// The main window's toolbar pictures at the screen's DPI (dialog_text_dpi.sh runs this
// at 120, 144 and 192 DPI as well).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/app_state.h"
#include "app/main_window.h"
#include "design/card_design.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "render/picture_loading.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/process.h"

namespace {

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// 2 x 2 squares of the picture whose four pixels are not all the same: none in a
// picture enlarged from half its size by doubling pixels.
int MixedSquares(const TestBitmap& picture) {
    int mixed = 0;
    for (int y = 0; y + 1 < picture.Height(); y += 2) {
        for (int x = 0; x + 1 < picture.Width(); x += 2) {
            const COLORREF c = picture.Pixel(x, y);
            mixed += picture.Pixel(x + 1, y) != c || picture.Pixel(x, y + 1) != c ||
                     picture.Pixel(x + 1, y + 1) != c;
        }
    }
    return mixed;
}

TEST(Toolbar, ButtonPicturesHaveTheScreensSizeAndAreDrawnAtIt) {
    RecordingSeam seam;
    ScratchFolder folder;
    wchar_t previous_directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous_directory);
    SetCurrentDirectoryW(folder.Path().c_str());
    RegisterMainWindowClass(Process().instance);
    HWND window = CreateMainWindow(Process().instance);
    ASSERT_TRUE(window);
    const int dpi = ScreenDpi();
    std::printf("toolbar measured at %d DPI\n", dpi);
    const int size = dpi > 96 ? MulDiv(32, dpi, 96) : 32;
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(App().toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_TRUE(images);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, size);
    EXPECT_EQ(height, size);
    EXPECT_EQ(ImageList_GetImageCount(images), 10);
    if (dpi >= 192) {
        // The help button's disc: its edge runs through the squares of an enlarged picture.
        TestBitmap picture(size, size);
        ImageList_Draw(images, 8, picture.Dc(), 0, 0, ILD_NORMAL);
        EXPECT_GT(MixedSquares(picture), size / 2);
    }
    DestroyWindow(window);
    PumpFor(20);
    ReleaseDesignPictures();
    ResetDesign(Design(), SettingsScope::Full);
    Process().main_window = nullptr;
    SetCurrentDirectoryW(previous_directory);
}

}  // namespace
