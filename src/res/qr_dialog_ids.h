// QR dialog "二次元コード作成": the four QR codes of the card, one edited at a time.
#pragma once

#define IDD_QR 109

#define IDC_QR_ENTRY1 251        // radio buttons "2Dコード１" .. "2Dコード４": 251 + entry
#define IDC_QR_ENTRY2 252
#define IDC_QR_ENTRY3 253
#define IDC_QR_ENTRY4 254
#define IDC_QR_USE 287           // check box "使用する"
#define IDC_QR_LEVEL 307         // combo box: error-correction level
#define IDC_QR_CELL 308          // combo box: module size
#define IDC_QR_TEXT 333          // multi-line edit: the encoded text
#define IDC_QR_X 334             // edit: X
#define IDC_QR_Y 335             // edit: Y
#define IDC_QR_ENCODE 206        // button "エンコード"
#define IDC_QR_OK 207            // default button "OK"
#define IDC_QR_HELP 209          // button "ﾍﾙﾌﾟ"
#define IDC_QR_CODE_COLOUR 216   // button "ｺｰﾄﾞ色"
#define IDC_QR_BACK_COLOUR 219   // button "ﾊﾞｯｸ色"
#define IDC_QR_ADDRESS 220       // button "アドレスセット"
#define IDC_QR_NOTICE 1090       // static: the trademark notice

