#include "win/documents.h"

#include "win/process.h"
#include "win/ui_seam.h"

void OpenManual(HWND owner) {
    EnterStartFolder();
    Ui().OpenDocument(owner, kManualFile);
}
