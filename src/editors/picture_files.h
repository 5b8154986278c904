// The picture folders the picture dialogs browse (base, mark, phot beside the program),
// their file dialog and the paint program.
#pragma once
#include <windows.h>

#include "win/picture_stretch.h"

// A folder of the start folder and the entries a scan makes of it.
enum class PictureFolder { kBase, kMark, kFace };

// Fills the picture list (win/picture_list.h) from the folder, entries relative to the
// start folder ("base\name.bmp", "phot\photo1.jpg") of the names ScanTakesName takes for
// the load mode (the face folder only takes names starting with "phot"). Sub-folders, names too long for an entry and other files are skipped; the
// names are sorted (PictureNameBefore); at most 299 entries. The index is kept when it
// still names an entry, else set to 0. The start folder is the current directory
// afterwards. Returns the number of entries.
int ScanPictureFolder(PictureFolder folder, int load_mode);

// What a browsing dialog does as it opens: scans the folder, starts at its first entry
// and says "画像ファイルが見つかりませんでした。" ("templet_file") when there is none.
// Returns the number of entries.
int OpenPictureFolder(HWND owner, PictureFolder folder, int load_mode);

// A picture of the dialogs (relative paths from the start folder, which becomes current):
// LoadDialogPicture, and when it gives none "画像が読み込み出来ません。" ("ImageLoad") shown
// to owner (with caption in place of "ImageLoad" when given).
PicturePtr LoadShownPicture(HWND owner, const wchar_t* path, int load_mode, const wchar_t* caption = L"ImageLoad");

// The filter list of the picture file dialogs for a load mode: bitmaps first for 0 and 1,
// JPEG first for 2, every picture kind first for 4, all files first for any other value.
const wchar_t* PictureFilter(int load_mode);

// The file pattern a picture file dialog of a load mode starts with: "*.jpg" for 2, "*.*"
// for 3 and 4, "*.bmp" for the others.
const wchar_t* PicturePattern(int load_mode);

// The open-file dialog for a picture (through the seam), owned by owner, titled
// "画像ファイルの在処を指定", starting at path or, when it is empty, at the folder's
// pattern for the load mode. True with the chosen full path in path.
bool BrowsePictureFile(HWND owner, PictureFolder folder, int load_mode, wchar_t (&path)[256]);

// Starts the paint program of the design (oekaki_filename) on path, with the start
// folder current, and waits for it to end; owner is shown again afterwards. A program
// that cannot be started shows "お絵描きソフトが見つかりませんでした。" / "CreateProcess".
// An empty path starts the program without a file.
void RunPaintProgram(HWND owner, const wchar_t* path);
