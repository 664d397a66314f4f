// The directory of an icon or cursor file and the size of the image it
// points at: a bitmap image (info header, height counting colour and mask)
// or, in newer files, a PNG.
#include "runtime/byte_cursor.h"
#include "media/picture/picture_decoders.h"

namespace qy {

namespace {

constexpr size_t kDirectoryHeader = 6;
constexpr size_t kEntrySize = 16;
constexpr int kMaxIconSide = 0x10000;

bool ReadImageSize(const uint8_t* image, size_t size, IconImage& result) {
    ByteCursor bytes(image, size);
    if (size >= 24 && image[0] == 0x89 && image[1] == 'P' && image[2] == 'N' && image[3] == 'G') {
        // IHDR: width and height big-endian at offsets 16 and 20.
        bytes.Seek(16);
        uint32_t width = bytes.U32BE(), height = bytes.U32BE();
        if (width == 0 || height == 0 || width > kMaxIconSide || height > kMaxIconSide) return false;
        result.width = static_cast<int>(width);
        result.height = static_cast<int>(height);
        result.bitCount = 0;
        return true;
    }
    uint32_t headerSize = bytes.U32();
    int32_t width = bytes.I32();
    int32_t height = bytes.I32();
    bytes.U16();
    int bitCount = bytes.U16();
    uint32_t compression = bytes.U32();
    bytes.Skip(12);
    uint32_t coloursUsed = bytes.U32();
    if (!bytes.ok() || headerSize < 40 || headerSize > size || compression != 0) return false;
    if (width <= 0 || width > kMaxIconSide || height < 2 || height > 2 * kMaxIconSide) return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    // The platform reads colour table, colour rows and mask rows from the
    // image; all of them must lie inside it.
    uint64_t colours = bitCount <= 8 ? (coloursUsed ? coloursUsed : 1u << bitCount) : coloursUsed;
    uint64_t rows = static_cast<uint64_t>(height / 2);
    uint64_t colourStride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    uint64_t maskStride = (static_cast<uint64_t>(width) + 31) / 32 * 4;
    if (headerSize + colours * 4 + (colourStride + maskStride) * rows > size) return false;
    result.width = width;
    result.height = height / 2;
    result.bitCount = bitCount;
    return true;
}

}  // namespace

bool SelectIconImage(const uint8_t* data, size_t length, IconImage& image) {
    ByteCursor bytes(data, length);
    uint16_t reserved = bytes.U16();
    uint16_t type = bytes.U16();
    uint16_t count = bytes.U16();
    if (!bytes.ok() || reserved != 0 || (type != 1 && type != 2) || count == 0) return false;
    if (!bytes.Has(kDirectoryHeader, count * kEntrySize)) return false;

    size_t chosen = kDirectoryHeader + (count - 1) * kEntrySize;
    for (size_t i = 0; i < count; ++i) {
        size_t entry = kDirectoryHeader + i * kEntrySize;
        if (bytes.At(entry) == 32 && bytes.At(entry + 2) > 15) {
            chosen = entry;
            break;
        }
    }
    bytes.Seek(chosen + 8);
    uint32_t size = bytes.U32();
    uint32_t offset = bytes.U32();
    if (!bytes.ok() || !bytes.Has(offset, size)) return false;

    image.kind = type == 1 ? kPictureIcon : kPictureCursor;
    image.data = data + offset;
    image.size = size;
    return ReadImageSize(image.data, image.size, image);
}

}  // namespace qy
