// Address dialog "アドレス設定": the contact fields of one QR code and its address-book
// payload.
#pragma once

#define IDD_ADDRESS 117

#define IDC_ADDRESS_AU 260         // radio buttons of the payload format: the address book,
#define IDC_ADDRESS_DOCOMO 261     // MECARD,
#define IDC_ADDRESS_SOFTBANK 255   // (disabled),
#define IDC_ADDRESS_MULTI 262      // vCard 3.0
#define IDC_ADDRESS_NAME 347       // edits: the nine contact fields
#define IDC_ADDRESS_READING 348
#define IDC_ADDRESS_POSTAL 351
#define IDC_ADDRESS_TEL1 331
#define IDC_ADDRESS_TEL2 349
#define IDC_ADDRESS_TEL3 352
#define IDC_ADDRESS_MAIL1 332
#define IDC_ADDRESS_MAIL2 350
#define IDC_ADDRESS_MAIL3 338
#define IDC_ADDRESS_AUTO 239       // button "自動セット"
#define IDC_ADDRESS_OK 207         // default button "OK"
#define IDC_ADDRESS_CANCEL 202     // button "キャンセル"
#define IDC_ADDRESS_HELP 209       // button "ﾍﾙﾌﾟ"
