// The cut-out the picture tools make, and the window "画像の取込後保存" that shows it and
// saves it as a bitmap file.
#pragma once
#include <windows.h>

#include "win/guards.h"

// The picture last cut out by the photo editor or the portrait composer. It has one
// owner, this record: each capture replaces it (deleting the previous bitmap), and
// nothing else deletes it.
struct CutOut {
    BitmapHandle bitmap;  // compatible with the screen, selected into no device context
    int width = 0, height = 0;
    bool Ready() const { return static_cast<bool>(bitmap) && width > 0 && height > 0; }
    void Replace(HBITMAP picture, int picture_width, int picture_height) {
        bitmap.Reset(picture);
        width = picture ? picture_width : 0;
        height = picture ? picture_height : 0;
    }
};

CutOut& TheCutOut();

// Shows the cut-out in a window laid over the top-left corner of anchor, 230 pixels wide
// or the picture's width + 10 when wider, its height + 70 high, with 保存 (ExportPicture
// of the cut-out's own pixels, the kind choosing the folder proposed), ｷｬﾝｾﾙ and ヘルプ.
// Returns when the window is closed, whichever way. Does nothing without a cut-out.
void RunImportSave(HWND anchor, int kind);
