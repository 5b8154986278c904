// The file commands of the main window and their dialogs.
#pragma once
#include <windows.h>

// The design reset to an empty new design (no sample texts); the base picture is the
// start folder's "base\base-01.bmp".
void NewDesign();

// The open dialog; on true main_filename holds the chosen full path.
bool ChooseOpenFile(HWND owner);

// The design (template false) or template (true) save dialog; on true main_filename holds
// the chosen path with the extension of the selected filter forced on it.
bool ChooseSaveFile(HWND owner, bool template_file);

void NewCommand(HWND window);
void OpenCommand(HWND window);
void SaveCommand(HWND window);
void SaveAsCommand(HWND window, bool template_file);
