// The 24-bit bitmap files the program exports, and the rules on their names: sizes and
// header bytes of a file, the path remembered after a save, the ".bmp" extension. All
// arithmetic on bytes and UTF-16 paths, with no Windows header.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The file header ("BM", file size, pixel offset), then the information header (the
// layout of the pixels); the pixels follow.
inline constexpr int kBitmapFileHeaderSize = 14;
inline constexpr int kBitmapInfoHeaderSize = 40;
inline constexpr int kBitmapHeaderSize = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;
using BitmapHeader = std::array<std::uint8_t, kBitmapHeaderSize>;

// Files larger than this (2 GB) are refused. A file can never be exactly this size (its
// pixel area is a multiple of 4, the header is 54), so every accepted size also fits the
// signed 32-bit sizes of the header and of GDI.
inline constexpr std::int64_t kLargestBitmapFile = std::int64_t{1} << 31;

// Bytes of one row of width pixels (blue, green, red), padded with zeros to a multiple
// of 4. Width >= 0; 64-bit, so no int width overflows.
std::int64_t BitmapRowSize(int width);

// Bytes of the whole file: the header and height rows. Width and height >= 0; INT64_MAX
// for a size past the 64-bit range.
std::int64_t BitmapFileSize(int width, int height);

// The header of a width x height file, little-endian: "BM", the file size, the pixel
// offset 54; information header size 40, width, height (positive: the bottom row comes
// first), 1 plane, 24 bits per pixel, no compression, every other field 0. Nothing when
// width or height is below 1 or the file would be larger than kLargestBitmapFile.
std::optional<BitmapHeader> MakeBitmapHeader(int width, int height);

// The path remembered for a file saved at path: relative to folder when the file lies
// under it (folder followed by '\', letters compared without regard to ASCII case),
// otherwise path unchanged, which still names the file. With folder "C:\Vivivuz",
// "c:\vivivuz\phot\a.bmp" gives "phot\a.bmp" and "C:\Vivivuz2\a.bmp" stays as it is.
// An empty folder keeps every path.
std::u16string PathUnderFolder(std::u16string_view path, std::u16string_view folder);

// path with ".bmp" appended unless it already ends in ".bmp" in any mix of case:
// "card.BMP" stays, "card.png" gives "card.png.bmp", "card" gives "card.bmp".
std::u16string WithBitmapExtension(std::u16string_view path);
