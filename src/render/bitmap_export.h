// Saving a rectangle of a window, exactly as the screen shows it, as a 24-bit bitmap file
// chosen in a save dialog. The file's layout and the rules on its name are in
// render/bitmap_file.h.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Kinds of picture; the kind chooses only the name the save dialog proposes.
inline constexpr int kCardBitmap = 0;  // start folder\無題.bmp (so does any unknown kind)
inline constexpr int kFaceBitmap = 1;  // start folder\phot\phot-.bmp
inline constexpr int kBaseBitmap = 2;  // start folder\base\base-.bmp
inline constexpr int kMarkBitmap = 3;  // start folder\mark\mark-.bmp

enum class WindowCapture { kCaptured, kRefused, kDrawingFailed };

// What the screen shows in the rectangle (x, y, width, height) of window's client area, as
// a whole 24-bit bitmap file in memory (header, then the rows bottom first). kRefused for
// a size below 1, a file over 2 GB or no memory for it; kDrawingFailed when a drawing
// step fails. file holds the bytes only when captured.
WindowCapture CaptureWindowBitmap(HWND window, int x, int y, int width, int height,
                                  std::vector<std::uint8_t>& file);

// Captures the rectangle (x, y, width, height) of window's client area before anything
// else, so covering windows are in the picture and the save dialog is not; then asks for
// a file (ChooseBitmapFile with kind) and writes the picture there through a temporary
// file, so an existing file is replaced only by a complete one. On success the last
// saved bitmap path (win/picture_list.h) becomes the file's path relative to the start
// folder when it lies there, else its full path. Cancel writes and changes nothing.
// Failures write nothing, leave the last path as it was and show, owned by window and OK
// only: a failed capture the drawing failure message ("CreateCompatibleDC"); a size below
// 1, a file over 2 GB, a file that cannot be written or a path too long to remember
// whole "ファイルが出来ませんでした。" captioned "保存".
void ExportBitmap(HWND window, int x, int y, int width, int height, int kind);

// The pixels of bitmap (width x height, not selected into any device context) as a whole
// 24-bit bitmap file in memory, like CaptureWindowBitmap; kRefused also for no bitmap.
WindowCapture CaptureBitmapPixels(HBITMAP bitmap, int width, int height, std::vector<std::uint8_t>& file);

// ExportBitmap of a picture held in memory rather than shown in a window: the file holds
// exactly the bitmap's pixels, whatever covers the screen. Messages are owned by owner.
void ExportPicture(HWND owner, HBITMAP bitmap, int width, int height, int kind);

// The save dialog of the export, owned by owner, with the start folder as the current
// directory: title "ファイルの保存", filters "Bitmap(*.bmp)" and "AllFile(*.*)", the
// kind's proposed name (the bare relative name when the start folder makes it too long
// for the 256-unit buffer), a question before replacing an existing file. True with the
// chosen path, ".bmp" appended unless it ends so in any case; false on cancel.
bool ChooseBitmapFile(HWND owner, int kind, std::wstring& path);
