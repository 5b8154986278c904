// The QR dialog "二次元コード作成": the card's four QR codes, edited one at a time with a
// live preview of the symbol.
#pragma once
#include <windows.h>

// Top-left corner of the symbol preview in the dialog's client area, in pixels.
inline constexpr int kQrPreviewLeft = 80;
inline constexpr int kQrPreviewTop = 50;

// Shows the dialog modally, owned by owner; it always opens on the first code and edits
// Design().qrcode_data in place (an entry's form is stored when another entry is chosen,
// on "エンコード" and on OK; the close box drops the unstored changes of the entry shown).
// The caller repaints the card and marks the design changed when it returns.
void ShowQrDialog(HWND owner);
