// Picture files shared by the picture dialogs: the one list of files that every browsing
// dialog refills when it opens, and the path of the last bitmap the picture tools saved.
#pragma once
#include <string_view>

constexpr int kPictureListCapacity = 300;  // entries; a scan fills at most 299
constexpr int kPictureListScanLimit = 299;
constexpr int kPictureNameCapacity = 256;  // units of one entry, terminator included

struct PictureList {
    wchar_t entries[kPictureListCapacity][kPictureNameCapacity];
    int count;
    int index;  // the entry shown; the browsing dialogs keep it within 0..count - 1
};

PictureList& ThePictureList();

// Empties the list: every entry cleared, count and index 0.
void ClearPictureList(PictureList& list);

// Appends prefix + name as the next entry. A name that does not fit its entry whole is
// refused (false) rather than cut, as is any entry past the scan limit.
bool AddPictureEntry(PictureList& list, std::wstring_view prefix, std::wstring_view name);

// The path of the last bitmap a picture tool saved, relative to the start folder when it
// lies there; empty at start, set only by a successful save.
wchar_t (&LastSavedBitmapPath())[kPictureNameCapacity];
