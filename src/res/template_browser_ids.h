// Template browser "テンプレート": one ready-made design of the temp folder at a time, as a
// half-size picture of the card, paged with 次 and 戻.
#pragma once

#define IDD_TEMPLATE 106

#define IDC_TEMPLATE_NEXT 201      // button "次": the next template, the first after the last
#define IDC_TEMPLATE_PREVIOUS 202  // button "戻": the template before, the last before the first
#define IDC_TEMPLATE_CANCEL 203    // button "キャンセル"
#define IDC_TEMPLATE_OK 207        // default button "OK": apply the shown template
#define IDC_TEMPLATE_HELP 209      // button "ﾍﾙﾌﾟ"
