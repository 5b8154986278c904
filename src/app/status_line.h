// The four parts of the main window's status bar: printer, paper, card style, selection.
#pragma once
#include <string>

#include "design/card_design.h"

// Texts of the first three status-bar fields: printer name, paper size (0.1 mm), card style.
std::wstring StatusPrinterText(const wchar_t* printer_name);
std::wstring StatusPaperText(int paper_width, int paper_height);
std::wstring StatusStyleText(const CardDesign& design);

// The fourth field: the selected item's name and card position ("名前  X 96  Y 96"), empty
// for kPickNone or an unknown pick code.
std::wstring StatusSelectionText(const CardDesign& design, int pick);

// Sets the four texts into the main window's status bar.
void RefreshStatusLine();
