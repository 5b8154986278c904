// Documents the program hands to the shell: the manual behind every help button.
#pragma once
#include <windows.h>

inline constexpr wchar_t kManualFile[] = L"Vivivuz_manual.pdf";

// Opens the manual of the start folder through the seam (result not looked at).
void OpenManual(HWND owner);
