// The template browser "テンプレート": the ready-made designs of the start folder's "temp"
// folder, one at a time as a half-size picture of the card (a template whose back is in
// use shows its front and its back, labelled 表 and 裏, at one smaller scale), paged with
// 次 and 戻, and the shown one copied into the design once the user confirms.
#pragma once
#include <windows.h>

// Where the template's name is written in the dialog's client area, in pixels; the card's
// half-size picture starts at (5, 5).
inline constexpr int kTemplateNameLeft = 0;
inline constexpr int kTemplateNameTop = 240;

// Opens the browser modally, owned by owner, and returns when it closes. With no template
// it says "テンプレートが見つかりませんでした。" ("templet_file") and does not show. OK asks
// "これに変更して良いですか？" ("テンプレート！"); Yes applies the shown template to the design
// in its stored form (ApplyTemplate: its front becomes the front whichever side is shown;
// the back stays shown when the template's back is in use, else the front is shown) and
// closes, No keeps the dialog. A template that could not be read is
// never applied: OK then says so and the dialog stays. キャンセル and the close box change
// nothing; the Escape key does nothing. The caller reloads the pictures and repaints.
void ShowTemplateBrowser(HWND owner);
