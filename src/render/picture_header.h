// What a picture file's first bytes say before it is decoded: its format, its size in
// pixels and, for JPEG and TIFF, the orientation tag the camera wrote. The program reads
// these itself so that an absurd header is refused before any pixel memory is taken, and
// so that phone photos are turned the same way on every system (the imaging component's
// metadata reader does not give the tag everywhere).
#pragma once
#include <cstddef>
#include <cstdint>

enum class PictureFormat { kUnknown, kBmp, kJpeg, kPng, kGif, kTiff };

struct PictureHeader {
    PictureFormat format = PictureFormat::kUnknown;
    std::uint32_t width = 0, height = 0;  // 0 when the header does not say
    int orientation = 1;                  // 1..8; 1 when absent or out of range
    // Bitmap files: whether their pixels are stored uncompressed, and the bytes those need
    // from the start of the file (data offset + row stride × rows).
    bool uncompressed_bitmap = false;
    std::uint64_t bitmap_bytes = 0;
};

// Reads the header of the file's bytes (size bytes at data; any size, any content). The
// format is told by content, never by name. Never reads past size.
PictureHeader ReadPictureHeader(const std::uint8_t* data, std::size_t size);

// The orientation tag (274) of a TIFF structure: an Exif block's contents after "Exif\0\0",
// or a TIFF file itself. 1 when absent, malformed or out of 1..8.
int ReadTiffOrientation(const std::uint8_t* data, std::size_t size);

// False when the picture must be refused before decoding: a known format whose header
// gives no size, more than kMaxPicturePixels pixels, or more pixels than a file of
// file_size bytes can hold (an uncompressed bitmap needs all its bytes; PNG, GIF and JPEG
// hold at most 8256 pixels a byte, the most deflate can pack at one bit a pixel). An
// unknown format is left to the decoder, which is asked for its size before its pixels.
bool PlausiblePicture(const PictureHeader& header, std::uint64_t file_size);

// The same size rule for a size the decoder reports: at least one pixel on each side and
// no more than kMaxPicturePixels in all.
bool AcceptablePictureSize(std::uint64_t width, std::uint64_t height);
