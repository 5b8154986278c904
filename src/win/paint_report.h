// Failures met while painting. Painting never shows a message box (a box's own closing
// would repaint and show it again); the painter notes each failure here and the caller
// shows them once the paint is over.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct PaintFailure {
    std::wstring text;
    std::wstring caption;
    friend bool operator==(const PaintFailure&, const PaintFailure&) = default;
};

class PaintReport {
public:
    // Notes a failure; one already noted is kept once.
    void Add(const wchar_t* text, const wchar_t* caption);
    bool Has(const PaintFailure& failure) const;
    bool Empty() const { return failures_.empty(); }
    const std::vector<PaintFailure>& Failures() const { return failures_; }
    void Clear() { failures_.clear(); }

private:
    std::vector<PaintFailure> failures_;
};

// Shows, owned by owner and OK only, each failure of report that shown does not hold yet,
// adding it to shown before its box opens, so a repaint behind the box stays silent.
void ShowNewFailures(HWND owner, const PaintReport& report, PaintReport& shown);
