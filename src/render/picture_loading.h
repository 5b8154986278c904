// Picture files (bitmap and JPEG) into bitmap handles, and the design's loaded pictures.
#pragma once
#include <windows.h>

// The OLE picture loader: the whole file into movable global memory, a stream over it,
// the system's picture object, and an independent copy of its bitmap (the caller owns
// it). nullptr for a null or empty path, a missing, empty or unreadable file, or data the
// system cannot decode.
HBITMAP LoadPicture(const wchar_t* path);

// A path ending in ".bmp" (any case) with load mode 0 goes to the system bitmap-file
// loader; everything else to LoadPicture. Shows nothing on failure.
HBITMAP LoadDialogPicture(const wchar_t* path, int load_mode);

// True when the path's last four characters are ".bmp" in any case.
bool HasBitmapExtension(const wchar_t* path);

// Fills the base, mark and face slots from the design (start folder current). With
// release, the held bitmaps are deleted first. Each failing picture is reported to
// owner titled "Image_Load" and skipped.
void LoadDesignPictures(HWND owner, bool release);

// The reload after a command: release, then load, messages owned by the main window.
void ReloadPictures();

// Deletes every held design picture.
void ReleaseDesignPictures();
