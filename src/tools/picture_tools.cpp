#include "tools/picture_tools.h"

#include "design/fixed_text.h"
#include "tools/photo_editor.h"
#include "tools/portrait_composer.h"
#include "win/picture_list.h"

namespace {

// The last saved path is process-wide and outlives every tool; clearing it first tells
// this run's save from an older one.
template <class Tool>
std::wstring SavedBy(Tool&& tool) {
    ClearText(LastSavedBitmapPath());
    tool();
    return std::wstring(TextOf(LastSavedBitmapPath()));
}

}  // namespace

std::wstring RunPhotoEditorForPicture(HWND owner, int kind) {
    return SavedBy([&] { ShowPhotoEditor(owner, kind); });
}

std::wstring RunPortraitComposerForPicture(HWND owner) {
    return SavedBy([&] { ShowPortraitComposer(owner, 0); });
}
