// The stop dialog shown while a print job spools. Its template is named by the string
// "PRNSTOP"; its one button is IDCANCEL.
#pragma once

#define IDC_PRINT_STOP_TEXT 1201
