// The dialog "用紙の登録": asks for the name the current layout is saved under as a
// card-stock preset.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "print/sheet_presets.h"

// Opens the dialog modally, owned by owner. OK takes a name only when CheckPresetName
// accepts it: a new name, or the name of a saved preset once the user agreed to replace
// it ("同じ名前の用紙があります。置き換えますか？", caption "用紙の登録！", Yes/No; No lets
// them type another). Any other name is refused with a message and the dialog stays.
// The name, or nothing when the dialog was cancelled.
std::optional<std::u16string> AskPresetName(HWND owner, const std::vector<SheetPreset>& saved);
