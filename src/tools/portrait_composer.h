// The portrait composer "似顔絵の編集": a face put together from the part pictures in the
// start folder's kao folder, saved through the import-save window as a face picture.
#pragma once
#include <windows.h>

// Runs the composer modally, owned by owner; parameter is unused (0). The category, its
// page and the whole composition stay for the next opening in the same run.
void ShowPortraitComposer(HWND owner, int parameter);
