// The format decoders behind DecodePixels, and the icon directory reader
// whose chosen image the platform side turns into an icon. Byte-level only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/picture/picture.h"

namespace qy {

bool DecodeJpeg(const uint8_t* data, size_t length, Picture& picture);
// The same pixels as top-down rows of 0x00BBGGRR values (on a little-endian
// machine), without the intermediate picture.
bool DecodeJpegColours(const uint8_t* data, size_t length, std::vector<int32_t>* colours, int* width, int* height);
bool DecodeBmp(const uint8_t* data, size_t length, Picture& picture);
bool DecodeGif(const uint8_t* data, size_t length, Picture& picture);
bool DecodePcx(const uint8_t* data, size_t length, Picture& picture);
bool DecodePng(const uint8_t* data, size_t length, Picture& picture);
bool DecodePnm(const uint8_t* data, size_t length, Picture& picture);

// The image of an icon or cursor file that the picture is made from.
struct IconImage {
    PictureKind kind;     // icon or cursor
    int width;            // from the image's own header, height halved for bitmaps
    int height;
    int bitCount;         // 0 for a PNG image
    const uint8_t* data;  // the image's bytes inside the file
    size_t size;
};
// Walks the directory; the first 32-pixel entry with more than 15 colours
// wins, else the last entry. False when any field used lies outside the data.
bool SelectIconImage(const uint8_t* data, size_t length, IconImage& image);

// Kinds 5 and 6: allocates header, colour table and top-down 8-bit rows of
// the DIB stride, header filled, table zeroed; returns the first row.
uint8_t* AllocatePaletteDib(Picture& picture, PictureKind kind, int width, int height);
inline int PaletteDibStride(int width) { return (width + 3) & ~3; }
// Colour table entry i of a kind 5 or 6 record.
inline uint8_t* PaletteDibColour(Picture& picture, int i) { return picture.pixels.get() + 40 + 4 * i; }

// Pixel budgets: decoders refuse headers whose image cannot fit an int-sized
// block before they allocate anything.
constexpr uint64_t kMaxPictureBytes = 0x7FFFFFFF;
// 64 megapixels: a 50-megapixel photo still loads, and its pixels with the
// decoders' working memory fit a 32-bit process, which larger headers would
// exhaust before a single row is read. Decoders refuse larger sizes at once.
constexpr uint64_t kMaxPicturePixels = 64ull << 20;
inline bool PictureSizeAllowed(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxPicturePixels;
}

}  // namespace qy
