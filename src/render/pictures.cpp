#include "render/pictures.h"

namespace {
DesignPictures g_pictures;
}

DesignPictures& Pictures() { return g_pictures; }
