// About box.
#pragma once

#define IDD_ABOUT 101
#define IDB_ABOUT 21
#define IDC_ABOUT_OK 201
#define IDC_ABOUT_VERSION 202
#define IDC_ABOUT_NOTE 203
