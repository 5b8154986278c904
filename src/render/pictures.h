// The design's pictures, loaded from the paths in the design and held beside it.
// Any of them may be absent (nullptr): a picture that failed to load is simply skipped
// by the painters.
#pragma once
#include <windows.h>

#include "design/card_design.h"

struct DesignPictures {
    HBITMAP base = nullptr;
    HBITMAP mark[kMarkCount] = {};
    HBITMAP face = nullptr;
};

DesignPictures& Pictures();
