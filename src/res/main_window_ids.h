// Resource and command ids of the main window: menu, toolbar, status bar, icons.
#pragma once

#define IDI_VIVIVUZ 11
#define IDI_VIVIVUZ_SMALL 12
#define IDB_TOOLBAR 22
#define IDB_TOOLBAR_2X 23  // the same buttons at twice the size, for screens above 96 DPI
#define IDR_MAIN_MENU 30
#define IDR_MAIN_ACCELERATORS 35

// Menu commands.
#define IDM_BITMAP_SAVE 32
#define IDM_EXIT 33
#define IDM_HELP 34
#define IDM_BASE 31
#define IDM_MARK 36
#define IDM_NEW 37
#define IDM_OPEN 38
#define IDM_PRINT 39
#define IDM_SAVE 40
#define IDM_SAVE_AS 41
#define IDM_TEXT 42
#define IDM_TEMPLATE 43
#define IDM_ABOUT 44
#define IDM_ENVIRONMENT 45
#define IDM_QRCODE 46
#define IDM_FACE 47
#define IDM_LIST 48
#define IDM_TEMPLATE_SAVE 49
#define IDM_PRINT_DATA_SAVE 50
#define IDM_UNDO 51
#define IDM_REDO 52
#define IDM_ZOOM_100 53
#define IDM_ZOOM_150 54
#define IDM_ZOOM_200 55
#define IDM_ZOOM_FIT 56
#define IDM_CENTRE_ACROSS 57
#define IDM_CENTRE_DOWN 58
#define IDM_SIDE 59

// Toolbar and its buttons, in strip order.
#define IDC_TOOLBAR 329
#define IDT_TEMPLATE 330
#define IDT_BASE 331
#define IDT_MARK 332
#define IDT_TEXT 333
#define IDT_QRCODE 334
#define IDT_FACE 335
#define IDT_LIST 336
#define IDT_PRINT 337
#define IDT_HELP 338
#define IDT_EXIT 339

#define IDC_STATUS_BAR 1
