// The command table of the main window: menu and toolbar commands, and the design's
// part of start-up and exit.
#pragma once
#include <windows.h>

// Runs menu or toolbar command id; ids not in the table do nothing.
void RunCommand(HWND window, int id);

// Start-up: the auto-saved design in full scope (messages owned by window).
void StartupReadDesign(HWND window);
// Start-up: the design's pictures, nothing released first.
void StartupLoadPictures();
// Exit: the design auto-saved in full scope, no owner window.
void ExitSaveDesign();

inline constexpr wchar_t kAutoSaveFile[] = L"Vivivuz.dat";

// Greys the menu commands and toolbar buttons whose windows the program does not have
// yet, so that they do not look as if they did something.
void GreyCommandsNotBuilt(HWND window, HWND toolbar);

// True for a command that GreyCommandsNotBuilt greys.
bool IsCommandNotBuilt(int id);
