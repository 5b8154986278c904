// The photo editor "写真の編集": a photo loaded with 参照 is moved and zoomed with the
// mouse in a 720 x 460 view, and rectangles cut out of the view are offered for saving
// (import save) as pictures of the kind the caller names.
#pragma once
#include <windows.h>

#include "tools/photo_view.h"

// Runs the editor modally, owned by owner, for target_kind (render/bitmap_export.h:
// kFaceBitmap, kBaseBitmap or kMarkBitmap), which chooses the proposed cut size (80 x 120,
// the card's size, 120 x 50) and the folder the save dialog proposes. The photo path, the
// scale and the offsets stay for the next opening in the same run; the photo itself is
// loaded again only by 参照.
void ShowPhotoEditor(HWND owner, int target_kind);

// The view as the editor shows it, in a new kViewWidth x kViewHeight bitmap compatible
// with reference: the dialog's face, and over it the layout's part of photo stretched in
// half-tone mode. Null when a drawing step fails. The caller owns the bitmap.
HBITMAP RenderPhotoView(HDC reference, HBITMAP photo, const ViewLayout& layout);
