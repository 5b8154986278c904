#include "render/canvas.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/app_state.h"
#include "app/main_window.h"
#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "render/canvas_math.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "res/main_window_ids.h"
#include "main_window_fixture.h"
#include "test_files.h"
#include "win/wide.h"

namespace {

// The program's main window in a scratch start folder, with a design of known items.
class Canvas : public MainWindowOverKnownItems {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
        RepaintMainWindow();  // measures the texts
        App().changed = false;
        seam.messages.clear();
    }
    void TearDown() override { CloseWindow(); }
};

TEST_F(Canvas, EachKindOfItemIsPickedAndDropped) {
    CardDesign& d = Design();
    Drag(115, 105, 165, 125);  // mark 0, away from its corner
    EXPECT_EQ(d.mark_data[0].x, 150);
    EXPECT_EQ(d.mark_data[0].y, 70);
    EXPECT_EQ(PickCode(), 0);
    EXPECT_TRUE(App().changed);
    Drag(315, 205, 295, 215);  // the face
    EXPECT_EQ(d.phot_data.x, 280);
    EXPECT_EQ(d.phot_data.y, 160);
    Drag(35, 255, 45, 245);  // the name
    EXPECT_EQ(Name().x, 30);
    EXPECT_EQ(Name().y, 190);
    Drag(220, 80, 230, 90);  // the QR code
    EXPECT_EQ(d.qrcode_data[0].x, 210);
    EXPECT_EQ(d.qrcode_data[0].y, 30);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(Canvas, ACornerGrabResizesAndAFarDropStaysOnTheCard) {
    CardDesign& d = Design();
    Drag(147, 127, 167, 117);  // mark 0 (client 110..150 x 100..130) in its bottom-right third
    EXPECT_EQ(d.mark_data[0].x, 100);
    EXPECT_EQ(d.mark_data[0].w, 60);
    EXPECT_EQ(d.mark_data[0].h, 20);
    // A release far outside the window, under the capture, clamps as on the card.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(115, 105));
    EXPECT_EQ(GetCapture(), window);
    SendMessageW(window, WM_LBUTTONUP, 0, At(-3000, 5000));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(d.mark_data[0].x, 0);
    EXPECT_EQ(d.mark_data[0].y, 275 - 20);
}

TEST_F(Canvas, LosingTheCaptureDropsThePickWhereTheItemWas) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(115, 105));
    EXPECT_EQ(PickCode(), kPickMark);
    ReleaseCapture();
    EXPECT_EQ(PickCode(), kPickNone);
    EXPECT_EQ(Design().mark_data[0].x, 100);
    // The next press picks again.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(115, 105));
    EXPECT_EQ(PickCode(), kPickMark);
    SendMessageW(window, WM_LBUTTONUP, 0, At(115, 105));
}

TEST_F(Canvas, TheEditBoxIsCommittedByALeftPress) {
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(35, 255));
    HWND box = CanvasEditBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(GetDlgCtrlID(box), kTextEditId);
    EXPECT_EQ(GetParent(box), window);
    EXPECT_EQ(ControlText(window, kTextEditId), L"山田太郎");
    SetWindowTextW(box, L"佐藤花子");
    EXPECT_EQ(TextOf(Name().s64), u"山田太郎");
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(400, 300));  // nothing there
    SendMessageW(window, WM_LBUTTONUP, 0, At(400, 300));
    EXPECT_EQ(TextOf(Name().s64), u"佐藤花子");
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(CanvasEditBox(), nullptr);
    EXPECT_TRUE(App().changed);
}

TEST_F(Canvas, TheEditBoxIsCommittedBeforeACommandAndAtExit) {
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(35, 255));
    ASSERT_TRUE(CanvasEditBox());
    SetWindowTextW(CanvasEditBox(), L"鈴木一郎");
    SendMessageW(window, WM_COMMAND, IDM_SAVE, 0);  // its save dialog is cancelled
    EXPECT_EQ(TextOf(Name().s64), u"鈴木一郎");
    EXPECT_EQ(CanvasEditBox(), nullptr);

    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(35, 255));
    ASSERT_TRUE(CanvasEditBox());
    // Its own notifications do not commit it.
    SetWindowTextW(CanvasEditBox(), L"高橋");
    EXPECT_TRUE(CanvasEditBox());
    DestroyWindow(window);
    EXPECT_EQ(TextOf(Name().s64), u"高橋");
}

TEST_F(Canvas, ARightClickOnAMarkChangesItsPicture) {
    const auto bytes = MakeBmp(24, 12, [](int, int) { return RGB(0, 0, 200); });
    ASSERT_TRUE(WriteBytes(folder.File(L"logo.bmp"), bytes.data(), bytes.size()));
    seam.file_answers.push_back({true, folder.File(L"logo.bmp"), 1});
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(115, 105));
    ASSERT_EQ(seam.file_dialogs.size(), 1u);
    EXPECT_EQ(seam.file_dialogs[0].title, L"マーク画像の在処を指定");
    EXPECT_EQ(seam.file_dialogs[0].filter,
              L"画像ファイル(*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff)|*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff|"
              L"ALLFile(*.*)|*.*|");
    EXPECT_EQ(std::wstring(W(Design().mark_data[0].fm)), folder.File(L"logo.bmp"));
    EXPECT_EQ(Design().mark_data[0].w, 24);  // its natural size
    EXPECT_EQ(Design().mark_data[0].h, 12);
    EXPECT_TRUE(App().changed);
}

}  // namespace
