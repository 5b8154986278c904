// The environment dialog "環境設定": the options of the program that are not part of a card
// design and are kept only in the auto-save file: the outlines shown on screen, the cut
// marks and their size, the font list filter, how pictures are loaded, the printed card
// size and the paint program.
#pragma once
#include <windows.h>

// Opens the dialog modally, owned by owner, filled from the design. OK asks "これに変更して
// 良いですか？" ("環境設定画面！"); Yes reads every control back and closes, No keeps the
// dialog. キャンセル, the Escape key and the close box change nothing. Nothing typed is
// refused except a paint program's name longer than its field, which keeps the old name.
// The caller repaints; the design's changed flag is not touched.
void ShowEnvironmentDialog(HWND owner);
