// Rules of browsing the picture folders, with no Windows header: stepping through the
// list, which names count as pictures, their order, and the paint program's command line.
#pragma once
#include <string>
#include <string_view>

// 次: the next entry, back to the first after the last; an index out of range (the list
// was scanned again and is shorter) goes to the first. With no entries the index stays.
int NextPictureIndex(int index, int count);

// 戻: the entry before, to the last one below the first or when out of range. With no
// entries the index stays.
int PreviousPictureIndex(int index, int count);

// Which files a scan takes: names ending in ".bmp" (bitmaps) or ".jpg" / ".jpeg" (JPEG),
// any case.
bool IsBitmapName(std::u16string_view name);
bool IsJpegName(std::u16string_view name);

// Every picture name of the "全画像" load mode: ".bmp", ".jpg", ".jpeg", ".png", ".gif",
// ".tif" and ".tiff", any case.
bool IsAnyPictureName(std::u16string_view name);

// Whether a folder scan under a load mode takes a name: JPEG files for 2, bitmaps and JPEG
// files for 3, every picture name for 4, bitmaps for 0, 1 and any unknown mode.
bool ScanTakesName(std::u16string_view name, int load_mode);

// The order of a scanned folder, the same on every machine: names compared without regard
// to ASCII case, then as they are.
bool PictureNameBefore(std::u16string_view a, std::u16string_view b);

// The paint program's command line: the program as configured, a space and the picture's
// path in double quotes; the program alone for an empty path.
std::u16string PaintCommandLine(std::u16string_view program, std::u16string_view path);
