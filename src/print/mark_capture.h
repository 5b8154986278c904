// The capture files of transparent marks: what the screen preview shows at a mark's
// place, kept as a 24-bit bitmap file in the start folder for the printer to use.
#pragma once
#include <string>
#include <string_view>

// "<folder>\mask<index>.tmp".
std::u16string MarkCaptureName(std::u16string_view folder, int index);
