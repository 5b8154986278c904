// Saving print data "印刷用データの保存": the file kind, resolution, bleed and trim marks of
// a file for a print shop. OK and キャンセル are the standard ids.
#pragma once

#define IDD_PRINT_DATA 118

#define IDC_PRINT_DATA_PDF 3801         // radio button "PDF"
#define IDC_PRINT_DATA_PNG 3802         // radio button "PNG"
#define IDC_PRINT_DATA_DPI 3803         // combo box, list: 350, 600, 1200 dpi
#define IDC_PRINT_DATA_BLEED 3804       // combo box, list: 0 mm, 3 mm
#define IDC_PRINT_DATA_TRIM_MARKS 3805  // check box "トンボ" (PDF only)
#define IDC_PRINT_DATA_HELP 3806        // button "ﾍﾙﾌﾟ"
