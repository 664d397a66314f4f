// GIF files: the first image as an 8-bit palettised bitmap. The image takes
// its local colour table when it has one, else the global table; interlaced
// rows are put back in order. Transparency and later frames are not used.
#include <cstring>

#include "runtime/byte_cursor.h"
#include "media/picture/picture_decoders.h"

namespace qy {

namespace {

constexpr int kMaxCodes = 4096;

// Bits of the image data, read across its length-prefixed sub-blocks.
class SubBlockBits {
public:
    explicit SubBlockBits(ByteCursor& bytes) : bytes_(bytes) {}

    // False when the data ends (terminator or end of file) before the code.
    bool Code(int width, int& code) {
        while (count_ < width) {
            if (blockLeft_ == 0) {
                if (ended_) return false;
                blockLeft_ = bytes_.U8();
                if (!bytes_.ok() || blockLeft_ == 0) {
                    ended_ = true;
                    return false;
                }
            }
            uint8_t byte = bytes_.U8();
            if (!bytes_.ok()) {
                ended_ = true;
                return false;
            }
            --blockLeft_;
            buffer_ |= static_cast<uint32_t>(byte) << count_;
            count_ += 8;
        }
        code = static_cast<int>(buffer_ & ((1u << width) - 1));
        buffer_ >>= width;
        count_ -= width;
        return true;
    }

private:
    ByteCursor& bytes_;
    uint32_t buffer_ = 0;
    int count_ = 0;
    int blockLeft_ = 0;
    bool ended_ = false;
};

// Where each decoded pixel goes: rows in file order, or the four passes of
// an interlaced image (every 8th row from 0, every 8th from 4, every 4th
// from 2, every 2nd from 1).
class RowPlacer {
public:
    RowPlacer(uint8_t* rows, int width, int height, int stride, bool interlaced)
        : rows_(rows), width_(width), height_(height), stride_(stride), interlaced_(interlaced) {
        row_ = 0;
        if (interlaced_) SkipEmptyPasses();
    }
    bool done() const { return row_ >= height_; }
    void Put(uint8_t index) {
        rows_[static_cast<size_t>(row_) * stride_ + x_] = index;
        if (++x_ < width_) return;
        x_ = 0;
        if (!interlaced_) {
            ++row_;
            return;
        }
        row_ += kStep[pass_];
        SkipEmptyPasses();
    }

private:
    void SkipEmptyPasses() {
        while (row_ >= height_ && pass_ < 3) {
            ++pass_;
            row_ = kStart[pass_];
        }
    }
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};

    uint8_t* rows_;
    int width_, height_, stride_;
    bool interlaced_;
    int row_ = 0, x_ = 0, pass_ = 0;
};
constexpr int RowPlacer::kStart[4];
constexpr int RowPlacer::kStep[4];

// LZW with codes growing from minimum size + 1 to 12 bits. The decode ends
// as soon as every pixel is placed; running out of codes first is a failure.
bool DecodeLzw(ByteCursor& bytes, int minimumCodeSize, RowPlacer& placer) {
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    uint16_t prefix[kMaxCodes];
    uint8_t suffix[kMaxCodes];
    uint8_t stack[kMaxCodes + 1];
    for (int i = 0; i < clear; ++i) {
        prefix[i] = 0;
        suffix[i] = static_cast<uint8_t>(i);
    }
    int width = minimumCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    uint8_t first = 0;
    SubBlockBits bits(bytes);

    while (!placer.done()) {
        int code;
        if (!bits.Code(width, code)) return false;
        if (code == clear) {
            width = minimumCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) return false;
        if (previous < 0) {
            if (code >= clear) return false;
            first = static_cast<uint8_t>(code);
            placer.Put(first);
            previous = code;
            continue;
        }
        int incoming = code;
        int depth = 0;
        if (code > next || (code == next && next >= kMaxCodes)) return false;
        if (code == next) {
            // The code being defined right now: previous string plus its own first byte.
            stack[depth++] = first;
            code = previous;
        }
        // Table entries always point at smaller codes, so this walk ends.
        while (code >= clear) {
            stack[depth++] = suffix[code];
            code = prefix[code];
        }
        first = static_cast<uint8_t>(code);
        stack[depth++] = first;
        while (depth > 0 && !placer.done()) placer.Put(stack[--depth]);
        if (next < kMaxCodes) {
            prefix[next] = static_cast<uint16_t>(previous);
            suffix[next] = first;
            ++next;
            if (next == (1 << width) && width < 12) ++width;
        }
        previous = incoming;
    }
    return true;
}

// Colour table of 2^(size+1) entries from red-green-blue triples.
bool ReadColourTable(ByteCursor& bytes, int sizeField, Picture& picture) {
    int count = 2 << sizeField;
    const uint8_t* table = bytes.Take(static_cast<size_t>(count) * 3);
    if (!table) return false;
    for (int i = 0; i < count; ++i) {
        uint8_t* entry = PaletteDibColour(picture, i);
        entry[0] = table[3 * i + 2];
        entry[1] = table[3 * i + 1];
        entry[2] = table[3 * i];
        entry[3] = 0;
    }
    return true;
}

bool SkipSubBlocks(ByteCursor& bytes) {
    for (;;) {
        uint8_t size = bytes.U8();
        if (!bytes.ok()) return false;
        if (size == 0) return true;
        bytes.Skip(size);
    }
}

}  // namespace

bool DecodeGif(const uint8_t* data, size_t length, Picture& picture) {
    ByteCursor bytes(data, length);
    bytes.Skip(10);
    uint8_t screenFlags = bytes.U8();
    bytes.Skip(2);
    if (!bytes.ok()) return false;
    const size_t globalTable = bytes.position();
    if (screenFlags & 0x80) bytes.Skip(static_cast<size_t>(6) << (screenFlags & 7));

    // Extensions before the first image are skipped; anything else ends the search.
    for (;;) {
        uint8_t introducer = bytes.U8();
        if (!bytes.ok()) return false;
        if (introducer == 0x2C) break;
        if (introducer != 0x21) return false;
        bytes.U8();
        if (!SkipSubBlocks(bytes)) return false;
    }
    bytes.Skip(4);
    int width = bytes.U16();
    int height = bytes.U16();
    uint8_t imageFlags = bytes.U8();
    if (!bytes.ok() || !PictureSizeAllowed(width, height)) return false;
    // A code yields at most 4096 pixels and takes at least 3 bits: an image
    // larger than that bound cannot be in the data, so nothing is allocated for it.
    if (static_cast<uint64_t>(width) * height > static_cast<uint64_t>(bytes.remaining()) * 8 / 3 * kMaxCodes)
        return false;

    uint8_t* rows = AllocatePaletteDib(picture, kPictureGif, width, height);
    if (!rows) return false;
    std::memset(rows, 0, static_cast<size_t>(picture.size) - kPaletteDibHeaderSize);
    if (imageFlags & 0x80) {
        if (!ReadColourTable(bytes, imageFlags & 7, picture)) return false;
    } else if (screenFlags & 0x80) {
        ByteCursor global(data, length);
        global.Seek(globalTable);
        if (!ReadColourTable(global, screenFlags & 7, picture)) return false;
    } else {
        // Without any colour table the indexes are shown as grey levels.
        for (int i = 0; i < 256; ++i) {
            uint8_t* entry = PaletteDibColour(picture, i);
            entry[0] = entry[1] = entry[2] = static_cast<uint8_t>(i);
        }
    }

    int minimumCodeSize = bytes.U8();
    if (!bytes.ok() || minimumCodeSize < 2 || minimumCodeSize > 8) return false;
    RowPlacer placer(rows, width, height, PaletteDibStride(width), (imageFlags & 0x40) != 0);
    return DecodeLzw(bytes, minimumCodeSize, placer);
}

}  // namespace qy
