// Environment settings "環境設定": the options of the program that are not part of a card
// (outlines, cut marks, font list, load modes, printed card size, paint program), and
// whether the design uses its back.
#pragma once

#define IDD_ENVIRONMENT 108

#define IDC_ENV_OK 207                 // default button "OK"
#define IDC_ENV_CANCEL 208             // button "キャンセル"
#define IDC_ENV_HELP 209               // button "ﾍﾙﾌﾟ"
#define IDC_ENV_CARD_OUTLINE 281       // check box: b_outline
#define IDC_ENV_MARK_OUTLINE 282       // check box: m_outline
#define IDC_ENV_TEXT_OUTLINE 283       // check box: c_outline
#define IDC_ENV_CUT_MARKS 284          // check box: p_outline
#define IDC_ENV_PRINTER_FONTS 285      // check box: font_plprn
#define IDC_ENV_MARK_LOAD 303          // combo box, editable: mark_load_mode by name
#define IDC_ENV_FACE_LOAD 304          // combo box, editable: phot_load_mode by name
#define IDC_ENV_CUT_SIZE 307           // combo box, editable: p_outline_size in mm
#define IDC_ENV_CUT_LENGTH 308         // combo box, editable: p_outline_len in mm
#define IDC_ENV_BASE_LOAD 309          // combo box, editable: base_load_mode by name
#define IDC_ENV_PAINT_PROGRAM 332      // edit: oekaki_filename
#define IDC_ENV_CARD_WIDTH 341         // edit: pm_size_x in mm
#define IDC_ENV_CARD_HEIGHT 347        // edit: pm_size_y in mm
#define IDC_ENV_BACK_ON 4251           // check box: back_on
#define IDC_ENV_TRIM_LINES 4252        // check box: trim_lines
