// The address dialog "アドレス設定": the contact fields of one QR code and, on OK, the
// address-book payload written into the code's text.
#pragma once
#include <windows.h>

#include "design/card_design.h"

// Shows the dialog modally, owned by owner, for entry (a QR code of Design(), whose text
// items feed "自動セット"). OK stores the nine fields and replaces entry.s with the
// payload in the ticked format; "キャンセル" and the close box leave the entry as it was. Returns 1 either way.
INT_PTR ShowAddressDialog(HWND owner, QrcodeData& entry);
