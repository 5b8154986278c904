// The picture tools as the picture dialogs run them: the photo editor and the portrait
// composer, with what the run saved.
#pragma once
#include <windows.h>

#include <string>

// Runs the photo editor for the kind of picture (render/bitmap_export.h: kFaceBitmap,
// kBaseBitmap, kMarkBitmap) and returns the path of the picture this run saved (relative
// to the start folder when it lies there), or an empty path when it saved none. A picture
// saved before the run is never returned.
std::wstring RunPhotoEditorForPicture(HWND owner, int kind);

// The same for the portrait composer, whose pictures are faces.
std::wstring RunPortraitComposerForPicture(HWND owner);
