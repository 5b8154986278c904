// Mark dialog "マーク画面の設定": five rows of controls, each id the row's base + mark (0..4).
#pragma once

#define IDD_MARK 103

#define IDC_MARK_USE 3000       // check box: the mark is used, "マーク１" .. "マーク５"
#define IDC_MARK_X 3010         // edit: X
#define IDC_MARK_Y 3020         // edit: Y
#define IDC_MARK_WIDTH 3030     // edit: width "幅"
#define IDC_MARK_HEIGHT 3040    // edit: height "高"
#define IDC_MARK_CLEAR 3050     // check box: white is transparent, "透過"
#define IDC_MARK_FILE 3060      // edit: the picture's path
#define IDC_MARK_BROWSE 3090    // button "参照"
#define IDC_MARK_NEXT 3100      // button "次"
#define IDC_MARK_PREVIOUS 3110  // button "戻"

#define IDC_MARK_PHOTO 201      // button "写真加工"
#define IDC_MARK_PAINT 202      // button "お絵描きソフト"
#define IDC_MARK_OK 207         // default button "OK"
#define IDC_MARK_CANCEL 208     // button "キャンセル"
#define IDC_MARK_HELP 209       // button "ヘルプ"
