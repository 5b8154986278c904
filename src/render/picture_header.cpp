#include "render/picture_header.h"

#include <cstdlib>
#include <cstring>

#include "render/pixel_image.h"

namespace {

// Bounds-checked reads; out of range gives 0.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;

    bool Has(std::size_t at, std::size_t n) const { return at <= size && n <= size - at; }
    std::uint32_t U8(std::size_t at) const { return Has(at, 1) ? data[at] : 0; }
    std::uint32_t Be16(std::size_t at) const { return Has(at, 2) ? (data[at] << 8) | data[at + 1] : 0; }
    std::uint32_t Le16(std::size_t at) const { return Has(at, 2) ? data[at] | (data[at + 1] << 8) : 0; }
    std::uint32_t Be32(std::size_t at) const {
        return Has(at, 4) ? (std::uint32_t{data[at]} << 24) | (data[at + 1] << 16) | (data[at + 2] << 8) | data[at + 3]
                          : 0;
    }
    std::uint32_t Le32(std::size_t at) const {
        return Has(at, 4) ? data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) | (std::uint32_t{data[at + 3]} << 24)
                          : 0;
    }
    bool Starts(std::size_t at, const char* text, std::size_t n) const {
        return Has(at, n) && std::memcmp(data + at, text, n) == 0;
    }
};

struct Tiff {
    Bytes bytes;
    bool little;
    std::uint32_t U16(std::size_t at) const { return little ? bytes.Le16(at) : bytes.Be16(at); }
    std::uint32_t U32(std::size_t at) const { return little ? bytes.Le32(at) : bytes.Be32(at); }
};

// The value of a SHORT or LONG tag of the first directory; 0 when absent.
std::uint32_t FirstDirectoryTag(const Bytes& bytes, std::uint32_t wanted) {
    if (!bytes.Starts(0, "II*\0", 4) && !bytes.Starts(0, "MM\0*", 4)) return 0;
    const Tiff tiff{bytes, bytes.data[0] == 'I'};
    const std::uint32_t directory = tiff.U32(4);
    if (!bytes.Has(directory, 2)) return 0;
    const std::uint32_t entries = tiff.U16(directory);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + std::size_t{12} * i;
        if (!bytes.Has(entry, 12)) return 0;
        if (tiff.U16(entry) != wanted) continue;
        const std::uint32_t type = tiff.U16(entry + 2);
        if (tiff.U32(entry + 4) < 1) return 0;
        if (type == 3) return tiff.U16(entry + 8);  // SHORT, left-justified in the value field
        if (type == 4) return tiff.U32(entry + 8);  // LONG
        return 0;
    }
    return 0;
}

void ReadJpeg(const Bytes& b, PictureHeader& header) {
    std::size_t at = 2;
    while (b.Has(at, 4)) {
        if (b.U8(at) != 0xFF) return;
        const std::uint32_t marker = b.U8(at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return;  // end of image, start of scan
        const std::uint32_t length = b.Be16(at + 2);
        if (length < 2) return;
        const std::size_t body = at + 4, body_size = length - 2;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && b.Has(body, 5) && header.width == 0) {
            header.height = b.Be16(body + 1);
            header.width = b.Be16(body + 3);
        }
        // The "Exif" name must lie inside the segment: a shorter segment holds no Exif.
        if (marker == 0xE1 && header.orientation == 1 && body_size >= 6 && b.Starts(body, "Exif\0\0", 6) &&
            b.Has(body, body_size))
            header.orientation = ReadTiffOrientation(b.data + body + 6, body_size - 6);
        at = body + body_size;
    }
}

void ReadBitmap(const Bytes& b, PictureHeader& header) {
    const std::uint32_t info = b.Le32(14);
    std::int64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = 0;
    if (info == 12) {
        width = b.Le16(18), height = b.Le16(20), bits = b.Le16(24);
    } else if (info >= 40 && b.Has(14, 40)) {
        width = static_cast<std::int32_t>(b.Le32(18));
        height = static_cast<std::int32_t>(b.Le32(22));
        bits = b.Le16(28);
        compression = b.Le32(30);
    } else {
        return;
    }
    if (width <= 0 || height == 0 || height == INT32_MIN) return;
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(std::llabs(height));
    // BI_RGB and BI_BITFIELDS store every row in full.
    if ((compression == 0 || compression == 3) && bits >= 1 && bits <= 32) {
        header.uncompressed_bitmap = true;
        const std::uint64_t stride = (static_cast<std::uint64_t>(header.width) * bits + 31) / 32 * 4;
        header.bitmap_bytes = b.Le32(10) + stride * header.height;
    }
}

}  // namespace

int ReadTiffOrientation(const std::uint8_t* data, std::size_t size) {
    if (!data) return 1;
    const std::uint32_t value = FirstDirectoryTag(Bytes{data, size}, 274);
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

PictureHeader ReadPictureHeader(const std::uint8_t* data, std::size_t size) {
    PictureHeader header;
    if (!data) return header;
    const Bytes b{data, size};
    if (b.Starts(0, "\x89PNG\r\n\x1a\n", 8)) {
        header.format = PictureFormat::kPng;
        if (b.Starts(12, "IHDR", 4)) header.width = b.Be32(16), header.height = b.Be32(20);
    } else if (b.Starts(0, "\xFF\xD8\xFF", 3)) {
        header.format = PictureFormat::kJpeg;
        ReadJpeg(b, header);
    } else if (b.Starts(0, "GIF87a", 6) || b.Starts(0, "GIF89a", 6)) {
        header.format = PictureFormat::kGif;
        header.width = b.Le16(6), header.height = b.Le16(8);
    } else if (b.Starts(0, "BM", 2)) {
        header.format = PictureFormat::kBmp;
        ReadBitmap(b, header);
    } else if (b.Starts(0, "II*\0", 4) || b.Starts(0, "MM\0*", 4)) {
        header.format = PictureFormat::kTiff;
        header.width = FirstDirectoryTag(b, 256);
        header.height = FirstDirectoryTag(b, 257);
        header.orientation = ReadTiffOrientation(data, size);
    }
    return header;
}

bool AcceptablePictureSize(std::uint64_t width, std::uint64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPicturePixels && height <= kMaxPicturePixels &&
           width * height <= kMaxPicturePixels;
}

bool PlausiblePicture(const PictureHeader& header, std::uint64_t file_size) {
    if (header.format == PictureFormat::kUnknown) return true;
    if (!AcceptablePictureSize(header.width, header.height)) return false;
    const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
    switch (header.format) {
        case PictureFormat::kBmp: return !header.uncompressed_bitmap || header.bitmap_bytes <= file_size;
        case PictureFormat::kPng:
        case PictureFormat::kGif:
        case PictureFormat::kJpeg: return pixels <= file_size * 8256;
        default: return true;  // TIFF may be fax-coded: its size limit is the only one
    }
}
