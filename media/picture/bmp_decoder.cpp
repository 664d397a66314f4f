// BMP files: uncompressed 1-, 4-, 8-, 24- and 32-bit images, top-down or
// bottom-up, into the blue-green-red bottom-up layout that JPEG shares.
#include <cstring>

#include "runtime/byte_cursor.h"
#include "media/picture/picture_decoders.h"

namespace qy {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

struct BmpHeader {
    int width = 0;
    int height = 0;  // always positive here
    bool topDown = false;
    int bitCount = 0;
    size_t colourTable = 0;
    int colourEntrySize = 4;
    uint32_t coloursUsed = 0;
    size_t pixelOffset = 0;
    bool pixelOffsetGiven = false;
};

// Bit-field masks of a 32-bit image are accepted only when they describe the
// plain blue-green-red-unused layout that an uncompressed image has.
bool PlainMasks(ByteCursor& bytes, size_t at) {
    bytes.Seek(at);
    uint32_t red = bytes.U32(), green = bytes.U32(), blue = bytes.U32();
    return bytes.ok() && red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF;
}

bool ReadHeader(ByteCursor& bytes, BmpHeader& header) {
    bytes.Seek(10);
    uint32_t pixelOffset = bytes.U32();
    uint32_t infoSize = bytes.U32();
    if (!bytes.ok() || infoSize > bytes.size()) return false;
    int64_t width, height;
    uint32_t compression = kBiRgb;
    if (infoSize == 12) {
        // The old core header: 16-bit sizes and three-byte colour entries.
        width = bytes.U16();
        height = bytes.U16();
        bytes.U16();
        header.bitCount = bytes.U16();
        header.colourEntrySize = 3;
    } else if (infoSize >= 40) {
        width = bytes.I32();
        height = bytes.I32();
        bytes.U16();
        header.bitCount = bytes.U16();
        compression = bytes.U32();
        bytes.Skip(12);
        header.coloursUsed = bytes.U32();
    } else {
        return false;
    }
    if (!bytes.ok()) return false;
    if (compression == kBiBitfields) {
        if (header.bitCount != 32 || !PlainMasks(bytes, 54)) return false;
        if (infoSize < 52) infoSize += 12;  // the masks follow the header
    } else if (compression != kBiRgb) {
        return false;
    }
    if (width <= 0 || height == 0) return false;
    header.topDown = height < 0;
    if (height < 0) height = -height;
    if (!PictureSizeAllowed(width, height)) return false;
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    header.colourTable = 14 + static_cast<size_t>(infoSize);
    header.pixelOffset = pixelOffset;
    header.pixelOffsetGiven = pixelOffset >= header.colourTable;
    return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t length, Picture& picture) {
    ByteCursor bytes(data, length);
    if (length < 26 || data[0] != 'B' || data[1] != 'M') return false;
    BmpHeader header;
    if (!ReadHeader(bytes, header)) return false;
    int bits = header.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;

    // Colour table: the stated count, or every colour the depth allows.
    uint8_t palette[256][3] = {};
    size_t tableEnd = header.colourTable;
    if (bits <= 8) {
        uint32_t count = header.coloursUsed ? header.coloursUsed : 1u << bits;
        if (count > (1u << bits)) count = 1u << bits;
        size_t tableSize = static_cast<size_t>(count) * header.colourEntrySize;
        if (!bytes.Has(header.colourTable, tableSize)) return false;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* entry = data + header.colourTable + i * header.colourEntrySize;
            palette[i][0] = entry[0];
            palette[i][1] = entry[1];
            palette[i][2] = entry[2];
        }
        tableEnd += tableSize;
    }
    size_t pixelOffset = header.pixelOffsetGiven ? header.pixelOffset : tableEnd;

    uint64_t width = static_cast<uint64_t>(header.width);
    uint64_t height = static_cast<uint64_t>(header.height);
    uint64_t stride = (width * bits + 31) / 32 * 4;
    if (stride > length || stride * height > length || !bytes.Has(pixelOffset, static_cast<size_t>(stride * height))) return false;
    if (!picture.AllocatePixels(width * height * 3)) return false;

    size_t outStride = static_cast<size_t>(width) * 3;
    for (int row = 0; row < header.height; ++row) {
        // Output row 0 is the bottom row; a top-down file stores it last.
        int fileRow = header.topDown ? header.height - 1 - row : row;
        const uint8_t* in = data + pixelOffset + static_cast<size_t>(stride) * fileRow;
        uint8_t* out = picture.pixels.get() + outStride * row;
        switch (bits) {
            case 24: std::memcpy(out, in, outStride); break;
            case 32:
                for (int x = 0; x < header.width; ++x, in += 4, out += 3) {
                    out[0] = in[0];
                    out[1] = in[1];
                    out[2] = in[2];
                }
                break;
            default: {
                int perByte = 8 / bits;
                int mask = (1 << bits) - 1;
                for (int x = 0; x < header.width; ++x, out += 3) {
                    int shift = 8 - bits * (x % perByte + 1);
                    const uint8_t* colour = palette[(in[x / perByte] >> shift) & mask];
                    out[0] = colour[0];
                    out[1] = colour[1];
                    out[2] = colour[2];
                }
                break;
            }
        }
    }
    picture.kind = kPictureBmp;
    picture.width = header.width;
    picture.height = header.height;
    return true;
}

}  // namespace qy
