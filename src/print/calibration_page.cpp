#include "print/calibration_page.h"

#include <string>

#include "design/design_ranges.h"
#include "design/tenths.h"
#include "print/calibration_math.h"
#include "print/print_job.h"
#include "print/print_renderer.h"
#include "print/printer.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kFaceName[] = L"ＭＳ ゴシック";

HFONT CalibrationFont(int height) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynW(font.lfFaceName, kFaceName, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

void DrawLine(HDC dc, const DeviceLine& line) {
    MoveToEx(dc, line.from.x, line.from.y, nullptr);
    LineTo(dc, line.to.x, line.to.y);
}

void OutlineCard(HDC dc, const DeviceRect& r) {
    const POINT outline[] = {{r.x, r.y}, {r.x + r.w, r.y}, {r.x + r.w, r.y + r.h}, {r.x, r.y + r.h}, {r.x, r.y}};
    Polyline(dc, outline, 5);
}

void DrawLabel(HDC dc, const CalibrationLabel& label, int height) {
    UINT align = TA_CENTER | TA_TOP;
    int y = label.at.y;
    switch (label.side) {
        case LabelSide::Above: align = TA_CENTER | TA_BOTTOM; break;
        case LabelSide::Below: break;
        case LabelSide::Left: align = TA_RIGHT | TA_TOP, y -= height / 2; break;
        case LabelSide::Right: align = TA_LEFT | TA_TOP, y -= height / 2; break;
    }
    SetTextAlign(dc, align);
    TextOutW(dc, label.at.x, y, W(label.text.c_str()), static_cast<int>(label.text.size()));
}

std::wstring Millimetres(int tenths) { return std::wstring(W(FormatTenths(tenths).c_str())) + L" mm"; }

void DrawNote(HDC dc, const CalibrationSheet& sheet, const PrintPage& page, const wchar_t* printer_name) {
    const std::wstring lines[] = {
        std::wstring(L"位置合わせ印刷　プリンタ：") + printer_name,
        L"補正 X " + Millimetres(page.correction.x) + L"　Y " + Millimetres(page.correction.y) + L" で印刷しています。",
        L"用紙の名刺の端で折り、端が指す目盛りを読んでください（右と下が＋）。",
        L"読んだ値を今の補正に足して、補正 X / Y に入力します。",
    };
    FontHandle font(CalibrationFont(sheet.note_height));
    SelectGuard select(dc, font.Get());
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    int y = sheet.note_at.y;
    for (const std::wstring& line : lines) {
        TextOutW(dc, sheet.note_at.x, y, line.c_str(), static_cast<int>(line.size()));
        y += sheet.note_height * 3 / 2;
    }
}

void RenderCurrentCalibrationPage(HDC dc, PaintReport&) {
    RenderCalibrationPage(dc, Design(), CurrentPrintPage(), CurrentPrinterName());
}

}  // namespace

void RenderCalibrationPage(HDC dc, const CardDesign& design, const PrintPage& page, const wchar_t* printer_name) {
    const CalibrationSheet sheet = CalibrationMarks(ComputePrintScale(design, page), LimitSheetCount(design.base_cntx),
                                                    LimitSheetCount(design.base_cnty));
    PenHandle pen(CreatePen(PS_SOLID, sheet.line_width, RGB(0, 0, 0)));
    SelectGuard select_pen(dc, pen.Get());
    for (const DeviceRect& card : sheet.cards) OutlineCard(dc, card);
    FontHandle font(CalibrationFont(sheet.label_height));
    {
        SelectGuard select_font(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        for (const CalibrationCross& cross : sheet.crosses) {
            for (const DeviceLine& line : cross.lines) DrawLine(dc, line);
            for (const CalibrationLabel& label : cross.labels) DrawLabel(dc, label, sheet.label_height);
        }
    }
    if (!sheet.cards.empty()) DrawNote(dc, sheet, page, printer_name);
}

void PrintCalibrationPage(HWND owner) {
    PrintDocument document;
    document.name = kCalibrationDocumentName;
    document.render = RenderCurrentCalibrationPage;
    document.keep_dc = true;
    if (StartPrintDocument(owner, document)) PrintPages(owner, document, 1);
    EndPrintDocument(owner, document);
}
