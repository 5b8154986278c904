// The capture files of transparent marks: what the screen preview shows at a mark's
// place, kept as a 24-bit bitmap file in the start folder for the printer to use.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "design/card_design.h"

// "<folder>\mask<index>.tmp".
std::u16string MarkCaptureName(std::u16string_view folder, int index);

// The main window's client pixels a mark's capture is taken from: its place in the card
// preview, at (x + kCardLeft, y + kCardTop), w x h.
struct CaptureArea {
    int x, y, w, h;
    friend bool operator==(const CaptureArea&, const CaptureArea&) = default;
};

// Nothing for a mark that cannot be captured: no area, a side beyond the largest card
// side, or a place that does not fit in window coordinates.
std::optional<CaptureArea> MarkCaptureArea(const MarkData& mark);
