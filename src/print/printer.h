// What the program knows about printers: the current printer's name, its measurements
// after a print dialog, the table of installed printers and the printer settings file.
#pragma once
#include <windows.h>
#include <commdlg.h>

// Measurements of the current printer, taken by MeasurePrinter.
struct PrinterMetrics {
    int dpi_x, dpi_y;                        // pixels per inch
    int physical_width, physical_height;     // device pixels
    int printable_width, printable_height;   // 0.1 mm
    int printable_width_px, printable_height_px;  // device pixels
    int offset_x, offset_y;                  // device pixels
    int paper_width, paper_height;           // 0.1 mm
};

struct PrinterEntry {
    wchar_t name[128];
    wchar_t port[128];
    wchar_t driver[128];
};

constexpr int kPrinterTableSize = 30;

struct PrinterTable {
    PrinterEntry entries[kPrinterTableSize];
    int count;
};

// The current printer's name (256 units, zero-terminated); empty when unknown.
wchar_t* CurrentPrinterName();
// Sets it from a device mode's name field: at most its 32 units are taken.
void SetCurrentPrinterName(const wchar_t* name);
PrinterMetrics& Metrics();
PrinterTable& Printers();
// The print dialog record shared by the print commands.
PRINTDLGW& PrintDialogRecord();

// Sets the current printer name to the default printer's; each failing step reports its
// message to main_window and leaves the name as it was (empty at start-up).
void FetchDefaultPrinter(HWND main_window);

// Fills the printer table (at most 30 entries) and returns the index of the last entry
// whose name matches the current printer name in its first 64 units, or -1 (also when
// the enumeration fails, which is reported to owner).
int EnumPrinterTable(HWND owner);

// Takes the name from dev_mode, remembers the printer with the settings of dev_mode
// (printers.ini), then unlocks and frees dev_mode, sets it to null and measures printer_dc.
void MeasurePrinter(HDC printer_dc, HGLOBAL& dev_mode);

// True when the current printer's driver reports a duplex unit (DC_DUPLEX is 1).
bool CurrentPrinterDuplexes();

// Before a document of the current printer: the printer's settings as the print dialog
// left them (the driver's defaults when none were kept) with dmDuplex for the binding
// (DMDUP_VERTICAL for kDuplexLongEdge, DMDUP_HORIZONTAL for kDuplexShortEdge) given to
// printer_dc by ResetDCW. False when the settings cannot be had or the context refuses
// them; the context then prints as before.
bool SetPrinterDuplex(HDC printer_dc, int duplex);

// Paper size in 0.1 mm from physical pixels and dpi when the driver reports a physical
// offset; the printable size otherwise.
int PaperLength(int physical_px, int dpi, int offset_px, int printable_tenths);

// Vivivuz.prt in the start folder: 16 bytes, a device-mode handle value then 8 reserved.
// The stored value is carried from the read to the write and never used as a handle.
// Reading also takes the remembered printers (ReadRememberedPrinters): the printer chosen
// last becomes the current one when it is still installed.
void ReadPrinterFile();
void WritePrinterFile();
