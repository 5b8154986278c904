#include "win/paint_report.h"

#include <algorithm>

#include "win/ui_seam.h"

void PaintReport::Add(const wchar_t* text, const wchar_t* caption) {
    PaintFailure failure{text ? text : L"", caption ? caption : L""};
    if (!Has(failure)) failures_.push_back(std::move(failure));
}

bool PaintReport::Has(const PaintFailure& failure) const {
    return std::find(failures_.begin(), failures_.end(), failure) != failures_.end();
}

void ShowNewFailures(HWND owner, const PaintReport& report, PaintReport& shown) {
    // A copy: the report may be the caller's member, painted again while a box is up.
    const std::vector<PaintFailure> failures = report.Failures();
    for (const PaintFailure& failure : failures) {
        if (shown.Has(failure)) continue;
        shown.Add(failure.text.c_str(), failure.caption.c_str());
        ShowMessage(owner, failure.text.c_str(), failure.caption.c_str());
    }
}
