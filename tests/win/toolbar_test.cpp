// The main window's toolbar pictures and status line at the screen's DPI
// (dialog_text_dpi.sh runs these at 120, 144 and 192 DPI as well).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/status_line.h"
#include "design/card_design.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "render/picture_loading.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/guards.h"
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

// The main window over the default design in a scratch start folder.
class MainWindowBars : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchFolder folder;
    wchar_t previous_directory[MAX_PATH] = {};
    HWND window = nullptr;
    int dpi = ScreenDpi();

    void SetUp() override {
        GetCurrentDirectoryW(MAX_PATH, previous_directory);
        SetCurrentDirectoryW(folder.Path().c_str());
        RegisterMainWindowClass(Process().instance);
        window = CreateMainWindow(Process().instance);
        ASSERT_TRUE(window);
        std::printf("main window measured at %d DPI\n", dpi);
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        PumpFor(20);
        ReleaseDesignPictures();
        ResetDesign(Design(), SettingsScope::Full);
        Process().main_window = nullptr;
        SetCurrentDirectoryW(previous_directory);
    }
};

TEST_F(MainWindowBars, ToolbarPicturesHaveTheScreensSizeAndAreDrawnAtIt) {
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
}

// The system's font grows with the DPI: so must the parts. Each of the first three holds
// its text in the status bar's font with a little room on both sides: a printer's name of
// ordinary length, an A4 sheet and the style of the default design, ten cards of 91 x 55.
TEST_F(MainWindowBars, StatusLinePartsHoldTheirTexts) {
    HWND status = App().status_bar;
    ASSERT_TRUE(status);
    const std::wstring texts[] = {StatusPrinterText(L"Canon iP110 series"), StatusPaperText(2100, 2970),
                                  StatusStyleText(Design())};
    WindowDc dc(status);
    SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(status, WM_GETFONT, 0, 0)));
    const int room = 2 * MulDiv(4, dpi, 96);
    for (int part = 0; part < 3; ++part) {
        RECT rect{};
        ASSERT_TRUE(SendMessageW(status, SB_GETRECT, part, reinterpret_cast<LPARAM>(&rect)));
        SIZE extent{};
        GetTextExtentPoint32W(dc.Get(), texts[part].c_str(), static_cast<int>(texts[part].size()), &extent);
        EXPECT_LE(extent.cx + room, rect.right - rect.left) << "part " << part << " at " << dpi << " DPI";
    }
}

}  // namespace
