// The four parts of the main window's status bar: printer, paper, card style.
#pragma once
#include <string>

#include "design/card_design.h"

// Texts of the first three status-bar fields: printer name, paper size (0.1 mm), card style.
std::wstring StatusPrinterText(const wchar_t* printer_name);
std::wstring StatusPaperText(int paper_width, int paper_height);
std::wstring StatusStyleText(const CardDesign& design);

// Sets the three texts into the main window's status bar.
void RefreshStatusLine();
