// The dialog "印刷用データの保存": which file a print shop gets (PDF or PNG), at which
// resolution, with or without bleed and, for a PDF, trim marks.
#pragma once
#include <windows.h>

#include "render/print_data.h"

// Shows the dialog owned by owner, starting from the defaults (PDF, 600 dpi, 3 mm bleed,
// trim marks). True with the choices in options on OK; false on キャンセル, Escape or
// closing, options untouched. ﾍﾙﾌﾟ opens the manual.
bool ShowPrintDataDialog(HWND owner, PrintDataOptions& options);
