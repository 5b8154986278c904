// The printers remembered from one run to the next (printers.ini in the start folder):
// the printer chosen last with its settings, used again at start-up, and each printer's
// correction of the printed positions.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "print/printer_settings.h"

// The remembered printers, the one chosen last first.
std::vector<PrinterSettings>& RememberedPrinters();

// At start-up, after the default printer's name was fetched: reads printers.ini (a missing
// one silently; one that cannot be read is kept aside with a message owned by owner) and,
// when the printer chosen last is still installed, makes it the current printer. A
// printer that vanished leaves the default one, without a word. A stored device mode
// that this printer's driver did not make is dropped, and the user told so.
void ReadRememberedPrinters(HWND owner);

// Before a print dialog: when the current printer has settings remembered that its
// driver still accepts, the record gets a copy of them and the printer's names, so the
// dialog opens on that printer with those settings; otherwise both blocks are null.
void OfferRememberedPrinter(PRINTDLGW& record);

// After a cancelled print dialog: frees whatever blocks the record still holds.
void ForgetOfferedPrinter(PRINTDLGW& record);

// After a print dialog: printer `name` with the device mode the dialog returned (the
// block itself stays the caller's) becomes the printer chosen last, and printers.ini is
// written. A failed write is reported ("ﾌｧｲﾙが開けません", caption "CreateFile").
void RememberChosenPrinter(const wchar_t* name, HGLOBAL device_mode);

// The current printer's corrections, none when it has none stored.
SheetCorrection FrontCorrection();
SheetCorrection BackCorrection();

// Stores both corrections for the current printer and writes printers.ini; false after
// a reported failure (owner owns the message), the corrections then holding for this run.
bool StoreCorrections(HWND owner, SheetCorrection front, SheetCorrection back);

// Device-mode bytes of a locked block: dmSize + dmDriverExtra of them, never more than
// the block holds; empty for a block too small to be a device mode.
std::vector<std::uint8_t> DeviceModeBytes(HGLOBAL device_mode);
