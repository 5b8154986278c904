// The file commands of the main window and their dialogs.
#pragma once
#include <windows.h>

#include <string>

// The design reset to an empty new design (no sample texts); the base picture is the
// start folder's "base\base-01.bmp".
void NewDesign();

// The open dialog; on true main_filename holds the chosen full path.
bool ChooseOpenFile(HWND owner);

// The design (template false) or template (true) save dialog; on true path holds the
// chosen path with the extension of the selected filter forced on it. The design is not
// touched: main_filename changes only once the file has been written.
bool ChooseSaveFile(HWND owner, bool template_file, std::u16string& path);

void NewCommand(HWND window);
// Save and save-as write the design in scope Design; only a write that succeeded clears
// the changed flag, and save-as then makes the written file main_filename. A failed write
// is reported and leaves the flag, main_filename and the file on disk as they were.
void OpenCommand(HWND window);
void SaveCommand(HWND window);
void SaveAsCommand(HWND window, bool template_file);
