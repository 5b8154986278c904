// The base dialog "ベース画面の設定": the card's background picture, the card's size in
// pixels and how the picture is placed on the card, with a preview of the part of the
// picture that covers the card and browsing through the pictures of the base folder.
#pragma once
#include <windows.h>

// Where the preview is painted in the dialog's client area, in pixels.
inline constexpr int kBasePreviewLeft = 10;
inline constexpr int kBasePreviewTop = 40;
inline constexpr int kBasePreviewWidth = 111;
inline constexpr int kBasePreviewHeight = 68;

// Opens the dialog modally, owned by owner, and returns when it closes. The dialog edits
// the design in place: OK (after the confirmation) stores the form; キャンセル puts the
// picture's path and placement back as they were at opening; the close box keeps what
// the browse button and the placement box set meanwhile. The caller reloads the
// pictures and repaints.
void ShowBaseDialog(HWND owner);
