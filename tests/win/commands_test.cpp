#include "app/commands.h"

#include <gtest/gtest.h>

#include "res/main_window_ids.h"
#include "win/process.h"

namespace {

// Every command has its window now: none is greyed (a command without one would be).
TEST(Commands, EveryCommandWorksAndNoneIsGreyed) {
    HMENU menu = LoadMenuW(Process().instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_TRUE(menu);
    HWND window = CreateWindowW(L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                menu, nullptr, nullptr);
    ASSERT_TRUE(window);
    GreyCommandsNotBuilt(window, nullptr);
    auto greyed = [&](int id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    for (int id : {IDM_TEMPLATE, IDM_ENVIRONMENT, IDM_BASE, IDM_MARK, IDM_BITMAP_SAVE, IDM_NEW, IDM_OPEN, IDM_SAVE, IDM_SAVE_AS,
                   IDM_TEMPLATE_SAVE, IDM_PRINT_DATA_SAVE, IDM_TEXT, IDM_FACE, IDM_QRCODE, IDM_LIST,
                   IDM_PRINT, IDM_HELP, IDM_ABOUT, IDM_EXIT}) {
        EXPECT_FALSE(greyed(id)) << id;
        EXPECT_FALSE(IsCommandNotBuilt(id)) << id;
    }
    // Toolbar buttons follow their menu commands.
    for (int id : {IDT_TEMPLATE, IDT_BASE, IDT_MARK, IDT_TEXT, IDT_FACE, IDT_QRCODE, IDT_LIST, IDT_PRINT, IDT_HELP, IDT_EXIT})
        EXPECT_FALSE(IsCommandNotBuilt(id)) << id;
    DestroyWindow(window);
}

}  // namespace
