// The face dialog "顔の設定": the face picture of the design (a photo or a portrait), its
// use flag, position and size on the card and its file, with browsing of the phot folder,
// a preview at the picture's own size, and the picture tools.
#pragma once
#include <windows.h>

// Opens the dialog modally, owned by owner, and returns when it closes. OK (after the
// confirmation) stores the form, the face clamped onto the card; ｷｬﾝｾﾙ and the close box
// store nothing of the form, but a picture taken with 参照 or お絵描きソフト is already in
// the design. The caller reloads the pictures and repaints.
void ShowFaceDialog(HWND owner);
