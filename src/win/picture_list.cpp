#include "win/picture_list.h"

#include <string>

#include "design/fixed_text.h"

namespace {
PictureList g_list;
wchar_t g_last_saved_bitmap[kPictureNameCapacity];
}  // namespace

PictureList& ThePictureList() { return g_list; }

void ClearPictureList(PictureList& list) {
    for (auto& entry : list.entries) ClearText(entry);
    list.count = 0;
    list.index = 0;
}

bool AddPictureEntry(PictureList& list, std::wstring_view prefix, std::wstring_view name) {
    if (list.count < 0 || list.count >= kPictureListScanLimit) return false;
    std::wstring entry(prefix);
    entry += name;
    if (!SetWholeText(list.entries[list.count], entry)) return false;
    ++list.count;
    return true;
}

wchar_t (&LastSavedBitmapPath())[kPictureNameCapacity] { return g_last_saved_bitmap; }
