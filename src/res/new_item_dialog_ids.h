// New item dialog "新規に登録する": one button for each mark and text item not yet on the
// card, which puts that item at the right-clicked point.
#pragma once

#define IDD_NEW_ITEM 107

#define IDC_NEW_MARK1 4400  // buttons "Mrak1" .. "Mrak5": 4400 + mark
#define IDC_NEW_MARK2 4401
#define IDC_NEW_MARK3 4402
#define IDC_NEW_MARK4 4403
#define IDC_NEW_MARK5 4404
#define IDC_NEW_TEXT1 4500  // buttons "会社名" .. "文字15": 4500 + text item
#define IDC_NEW_TEXT2 4501
#define IDC_NEW_TEXT3 4502
#define IDC_NEW_TEXT4 4503
#define IDC_NEW_TEXT5 4504
#define IDC_NEW_TEXT6 4505
#define IDC_NEW_TEXT7 4506
#define IDC_NEW_TEXT8 4507
#define IDC_NEW_TEXT9 4508
#define IDC_NEW_TEXT10 4509
#define IDC_NEW_TEXT11 4510
#define IDC_NEW_TEXT12 4511
#define IDC_NEW_TEXT13 4512
#define IDC_NEW_TEXT14 4513
#define IDC_NEW_TEXT15 4514
