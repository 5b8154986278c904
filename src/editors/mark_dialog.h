// The mark dialog "マーク画面の設定": the five mark pictures (logos) of the design, each
// with its use flag, position and size on the card, white transparency and picture file,
// browsing of the mark folder for each mark on its own, and a preview of every mark.
#pragma once
#include <windows.h>

// Opens the dialog modally, owned by owner, and returns when it closes. OK (after the
// confirmation) stores the form, every mark clamped onto the card; キャンセル and the
// close box store nothing of the form, but a picture taken with 参照 is already in the
// design. The caller reloads the pictures and repaints.
void ShowMarkDialog(HWND owner);
