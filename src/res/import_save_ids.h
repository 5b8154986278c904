// Import save "画像の取込後保存": a freshly cut picture shown at its own size, with buttons
// made when it opens to save it as a bitmap file.
#pragma once

#define IDD_IMPORT_SAVE 112

#define IDC_IMPORT_SAVE 901    // button "保存"
#define IDC_IMPORT_CANCEL 902  // button "ｷｬﾝｾﾙ"
#define IDC_IMPORT_HELP 903    // button "ヘルプ"
