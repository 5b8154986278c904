// The capture files of transparent marks: what the screen preview shows at a mark's
// place, kept as a 24-bit bitmap file in the start folder for the printer to use.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// "<folder>\mask<index>.tmp".
std::u16string MarkCaptureName(std::u16string_view folder, int index);

// Bytes of one row of 24-bit pixels of the given width, padded to a multiple of 4.
// Width must be >= 0.
int CaptureRowSize(int width);

// The whole file: 54 header bytes and height rows. Width and height must be >= 0.
int CaptureFileSize(int width, int height);

// The 14-byte file header ("BM", file size, pixel offset 54) and the 40-byte information
// header (width, height, 1 plane, 24 bits, no compression, all else 0), little-endian.
std::array<std::uint8_t, 54> CaptureHeader(int width, int height);
