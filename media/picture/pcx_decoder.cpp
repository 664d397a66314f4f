// PCX files: 8-bit single-plane images into a palettised bitmap and 1-bit
// single-plane images into a monochrome bitmap. Other layouts, including
// 8-bit images with three planes, are refused rather than shown as noise.
#include <cstring>
#include <vector>

#include "runtime/byte_cursor.h"
#include "media/picture/picture_decoders.h"

namespace qy {

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kPaletteSize = 768;
constexpr uint8_t kPaletteMarker = 12;
// A run byte repeats its value at most 63 times.
constexpr uint64_t kMaxRun = 63;

// Run-length scanlines: a byte above 192 repeats the next byte (byte - 192)
// times, any other byte stands for itself. A run may go on into the next
// scanline, as encoders are allowed to let it.
class RunLengthReader {
public:
    explicit RunLengthReader(ByteCursor& bytes) : bytes_(bytes) {}

    bool Line(uint8_t* out, size_t count) {
        for (size_t i = 0; i < count;) {
            if (runLeft_ == 0) {
                uint8_t byte = bytes_.U8();
                if (byte > 192) {
                    runLeft_ = static_cast<size_t>(byte - 192);
                    runValue_ = bytes_.U8();
                } else {
                    runLeft_ = 1;
                    runValue_ = byte;
                }
                if (!bytes_.ok()) return false;
            }
            size_t n = runLeft_ < count - i ? runLeft_ : count - i;
            std::memset(out + i, runValue_, n);
            i += n;
            runLeft_ -= n;
        }
        return true;
    }

private:
    ByteCursor& bytes_;
    size_t runLeft_ = 0;
    uint8_t runValue_ = 0;
};

// The palette follows the image data after the marker byte 12; encoders that
// leave slack between the two still put it in the last 769 bytes.
const uint8_t* FindPalette(const uint8_t* data, size_t length, size_t imageEnd) {
    if (imageEnd < length && data[imageEnd] == kPaletteMarker && length - imageEnd - 1 >= kPaletteSize)
        return data + imageEnd + 1;
    if (length >= kHeaderSize + kPaletteSize + 1 && length - kPaletteSize - 1 >= imageEnd &&
        data[length - kPaletteSize - 1] == kPaletteMarker)
        return data + length - kPaletteSize;
    return nullptr;
}

}  // namespace

bool DecodePcx(const uint8_t* data, size_t length, Picture& picture) {
    if (!data || length <= kHeaderSize) return false;
    ByteCursor bytes(data, length);
    uint8_t manufacturer = bytes.U8();
    uint8_t version = bytes.U8();
    uint8_t encoding = bytes.U8();
    uint8_t bits = bytes.U8();
    int xMin = bytes.U16(), yMin = bytes.U16(), xMax = bytes.U16(), yMax = bytes.U16();
    bytes.Seek(65);
    uint8_t planes = bytes.U8();
    size_t lineBytes = bytes.U16();
    if (!bytes.ok() || manufacturer != 10 || version > 5 || encoding != 1 || xMax < xMin || yMax < yMin) return false;
    if (planes != 1 || (bits != 8 && bits != 1)) return false;
    int width = xMax - xMin + 1;
    int height = yMax - yMin + 1;
    size_t usedBytes = bits == 8 ? static_cast<size_t>(width) : (static_cast<size_t>(width) + 7) / 8;
    if (lineBytes < usedBytes || !PictureSizeAllowed(width, height)) return false;
    // Every scanline must be in the data; refuse before allocating when even
    // maximal runs could not fill them.
    if (static_cast<uint64_t>(lineBytes) * height > (length - kHeaderSize) * kMaxRun) return false;

    std::vector<uint8_t> line(lineBytes);
    bytes.Seek(kHeaderSize);
    RunLengthReader reader(bytes);
    if (bits == 1) {
        // Monochrome bitmap rows are aligned to 16-bit words.
        size_t stride = (usedBytes + 1) & ~static_cast<size_t>(1);
        if (!picture.AllocatePixels(static_cast<uint64_t>(stride) * height)) return false;
        for (int y = 0; y < height; ++y) {
            uint8_t* row = picture.pixels.get() + stride * y;
            if (!reader.Line(line.data(), lineBytes)) return false;
            std::memcpy(row, line.data(), usedBytes);
            if (stride > usedBytes) row[usedBytes] = 0;
        }
        picture.kind = kPicturePcx1;
        picture.width = width;
        picture.height = height;
        return true;
    }

    uint8_t* rows = AllocatePaletteDib(picture, kPicturePcx8, width, height);
    if (!rows) return false;
    size_t stride = static_cast<size_t>(PaletteDibStride(width));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rows + stride * y;
        if (!reader.Line(line.data(), lineBytes)) return false;
        std::memcpy(row, line.data(), usedBytes);
        std::memset(row + usedBytes, 0, stride - usedBytes);
    }
    size_t imageEnd = bytes.position();
    // A marker with less than a whole palette behind it is a cut-off file.
    if (imageEnd < length && data[imageEnd] == kPaletteMarker && length - imageEnd - 1 < kPaletteSize) return false;
    const uint8_t* palette = FindPalette(data, length, imageEnd);
    for (int i = 0; i < 256; ++i) {
        uint8_t* entry = PaletteDibColour(picture, i);
        if (palette) {
            entry[0] = palette[3 * i + 2];
            entry[1] = palette[3 * i + 1];
            entry[2] = palette[3 * i];
        } else {
            // Without a palette the file's colours are undefined; grey levels
            // show the image's structure.
            entry[0] = entry[1] = entry[2] = static_cast<uint8_t>(i);
        }
        entry[3] = 0;
    }
    return true;
}

}  // namespace qy
