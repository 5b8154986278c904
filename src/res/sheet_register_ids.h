// The dialog "用紙の登録": the name a card-stock preset is saved under.
#pragma once

#define IDD_SHEET_REGISTER 119
#define IDC_REGISTER_NAME 380
