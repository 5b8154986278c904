// Base dialog "ベース画面の設定": the card's background picture, the card's size in pixels
// and how the picture is placed on the card.
#pragma once

#define IDD_BASE 102

#define IDC_BASE_NEXT 201       // button "次": the next picture of the base folder
#define IDC_BASE_BROWSE 202     // button "参照"
#define IDC_BASE_PREVIOUS 203   // button "戻": the picture before
#define IDC_BASE_PHOTO 204      // button "写真加工"
#define IDC_BASE_PAINT 205      // button "お絵描きソフト"
#define IDC_BASE_OK 207         // default button "OK"
#define IDC_BASE_CANCEL 208     // button "キャンセル"
#define IDC_BASE_HELP 209       // button "ﾍﾙﾌﾟ"
#define IDC_BASE_PLACEMENT 311  // combo box, editable: placement "0:ﾌｨｯﾄ" .. "3:右下"
#define IDC_BASE_PATH 331       // edit: the picture's path
#define IDC_BASE_WIDTH 332      // edit: card width in pixels
#define IDC_BASE_HEIGHT 338     // edit: card height in pixels
