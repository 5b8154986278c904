// The design's pictures, loaded from the paths in the design and held beside it, each
// with its working copy for the screen. Any of them may be absent: a picture that failed
// to load is simply skipped by the painters.
#pragma once
#include "design/card_design.h"
#include "win/picture_stretch.h"

struct DesignPictures {
    Picture base;
    Picture mark[kMarkCount];
    Picture face;
};

DesignPictures& Pictures();
