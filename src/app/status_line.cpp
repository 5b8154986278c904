#include "app/status_line.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/app_state.h"
#include "editors/text_page.h"
#include "print/printer.h"
#include "render/canvas_math.h"
#include "render/card_preview.h"
#include "win/wide.h"

namespace {

constexpr int kStatusBuffer = 300;

template <typename... Args>
std::wstring Format(const wchar_t* format, Args... args) {
    wchar_t buffer[kStatusBuffer] = {};
    std::swprintf(buffer, kStatusBuffer, format, args...);
    return buffer;
}

void SetPart(int part, const std::wstring& text) {
    SendMessageW(App().status_bar, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

std::wstring StatusPrinterText(const wchar_t* printer_name) {
    return Format(L"ﾌﾟﾘﾝﾀ：%ls", printer_name);
}

std::wstring StatusPaperText(int paper_width, int paper_height) {
    return Format(L"用紙：%d.%d×%d.%d", paper_width / 10, paper_width % 10, paper_height / 10,
                  paper_height % 10);
}

std::wstring StatusStyleText(const CardDesign& d) {
    return Format(L"ｽﾀｲﾙ：横%d.%d×%d,縦%d.%d×%d", d.base_pw / 10, d.base_pw % 10, d.base_cntx,
                  d.base_ph / 10, d.base_ph % 10, d.base_cnty);
}

std::wstring StatusSelectionText(const CardDesign& d, int pick) {
    if (pick >= kPickMark && pick < kPickMark + kMarkCount) {
        const MarkData& m = d.mark_data[pick - kPickMark];
        return Format(L"マーク%d  X %d  Y %d", pick - kPickMark + 1, m.x, m.y);
    }
    if (pick >= kPickText && pick < kPickText + kTextCount) {
        const StrData& t = d.str_data[pick - kPickText];
        return Format(L"%ls  X %d  Y %d", W(TextItemCaption(pick - kPickText)), t.x, t.y);
    }
    if (pick >= kPickQr && pick < kPickQr + kQrCount) {
        const QrcodeData& q = d.qrcode_data[pick - kPickQr];
        return Format(L"二次元コード%d  X %d  Y %d", pick - kPickQr + 1, q.x, q.y);
    }
    if (pick == kPickFace) return Format(L"顔  X %d  Y %d", d.phot_data.x, d.phot_data.y);
    return L"";
}

void RefreshStatusLine() {
    if (!App().status_bar) return;
    SetPart(0, StatusPrinterText(CurrentPrinterName()));
    SetPart(1, StatusPaperText(Metrics().paper_width, Metrics().paper_height));
    SetPart(2, StatusStyleText(Design()));
    const int selected = PickIsOn(Design(), SelectedItem()) ? SelectedItem() : kPickNone;
    SetPart(3, StatusSelectionText(Design(), selected));
}
