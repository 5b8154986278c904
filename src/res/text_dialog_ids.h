// Text dialog "文字の設定": five rows of controls, each id the row's base + row (0..4).
#pragma once

#define IDD_TEXT 104

#define IDC_TEXT_USE 4000         // check box: the item is used; caption names the item
#define IDC_TEXT_X 4020           // edit: X
#define IDC_TEXT_Y 4040           // edit: Y
#define IDC_TEXT_FONT 4060        // button: "フォントの設定"
#define IDC_TEXT_BOX 4080         // check box: background box "下地"
#define IDC_TEXT_COLOUR 4100      // button: text colour "文字色"
#define IDC_TEXT_BOX_COLOUR 4120  // button: background colour "下地色"
#define IDC_TEXT_STRING 4140      // edit: the string
#define IDC_TEXT_VERTICAL 4160    // check box: vertical writing "縦"

#define IDC_TEXT_PAGE1 201
#define IDC_TEXT_PAGE3 202
#define IDC_TEXT_ALL_COLOUR 203
#define IDC_TEXT_PAGE2 204
#define IDC_TEXT_REDRAW 205
#define IDC_TEXT_ALL_BOX_COLOUR 206
#define IDC_TEXT_OK 207
#define IDC_TEXT_CANCEL 208
#define IDC_TEXT_HELP 209
