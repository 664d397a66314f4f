// Netpbm files: bitmaps (P1, P4), grey maps (P2, P5) and pixel maps (P3,
// P6), plain-text and binary, into 24-bit rows. Samples of up to 16 bits are
// scaled to 8; a sample above the file's own maximum is refused.
#include "media/picture/picture_decoders.h"
#include "runtime/byte_cursor.h"

namespace qy {

namespace {

// The area is bounded by PictureSizeAllowed; this bound keeps the digits of
// one side from overflowing while they are read.
constexpr uint32_t kMaxSide = 1u << 26;
constexpr uint32_t kMaxSample = 65535;

bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The fields of a header or of a plain-text raster: decimal numbers between
// whitespace and comments, which run from '#' to the end of the line.
class TextFields {
public:
    explicit TextFields(ByteCursor& bytes) : bytes_(bytes) {}

    // A number no larger than limit; false for anything else.
    bool Number(uint32_t limit, uint32_t& value) {
        SkipSeparators();
        value = 0;
        bool any = false;
        while (!bytes_.atEnd() && Peek() >= '0' && Peek() <= '9') {
            value = value * 10 + static_cast<uint32_t>(bytes_.U8() - '0');
            if (value > limit) return false;
            any = true;
        }
        return any;
    }

    // One pixel of a plain bitmap, whose pixels need no separator between them.
    bool Bit(uint8_t& bit) {
        SkipSeparators();
        uint8_t c = bytes_.U8();
        bit = static_cast<uint8_t>(c - '0');
        return bytes_.ok() && (c == '0' || c == '1');
    }

private:
    uint8_t Peek() const { return bytes_.At(bytes_.position()); }
    void SkipSeparators() {
        while (!bytes_.atEnd()) {
            if (Peek() == '#') {
                while (!bytes_.atEnd() && Peek() != '\n' && Peek() != '\r') bytes_.Skip(1);
            } else if (IsSpace(Peek())) {
                bytes_.Skip(1);
            } else {
                return;
            }
        }
    }

    ByteCursor& bytes_;
};

uint8_t Scale(uint32_t sample, uint32_t maxval) { return static_cast<uint8_t>((sample * 255 + maxval / 2) / maxval); }

}  // namespace

bool DecodePnm(const uint8_t* data, size_t length, Picture& picture) {
    ByteCursor bytes(data, length);
    const bool magic = bytes.U8() == 'P';
    const int type = bytes.U8() - '0';
    const uint8_t after = bytes.At(2);
    if (!bytes.ok() || !magic || type < 1 || type > 6 || !(IsSpace(after) || after == '#')) return false;
    const bool plain = type <= 3;
    const int map = plain ? type : type - 3;  // 1 bitmap, 2 grey, 3 colour
    const int channels = map == 3 ? 3 : 1;

    TextFields fields(bytes);
    uint32_t width = 0, height = 0, maxval = 1;
    if (!fields.Number(kMaxSide, width) || !fields.Number(kMaxSide, height)) return false;
    if (map != 1 && (!fields.Number(kMaxSample, maxval) || maxval == 0)) return false;
    if (!PictureSizeAllowed(width, height)) return false;
    const uint64_t samples = static_cast<uint64_t>(width) * height * channels;
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    if (!plain) {
        // One whitespace byte ends the header; the raster follows at once.
        if (!IsSpace(bytes.U8())) return false;
        const uint64_t raster = map == 1 ? static_cast<uint64_t>(rowBytes) * height : samples * (maxval > 255 ? 2 : 1);
        if (raster > bytes.remaining()) return false;
    } else if (samples > bytes.remaining()) {
        // Every plain sample takes at least one byte.
        return false;
    }
    if (!picture.AllocatePixels(static_cast<uint64_t>(width) * height * 3)) return false;

    auto sample = [&](uint32_t& value) {
        if (plain) return fields.Number(maxval, value);
        value = maxval > 255 ? bytes.U16BE() : bytes.U8();
        return bytes.ok() && value <= maxval;
    };
    const size_t stride = static_cast<size_t>(width) * 3;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* out = picture.pixels.get() + stride * (height - 1 - y);  // bottom-up
        const uint8_t* packed = map == 1 && !plain ? bytes.Take(rowBytes) : nullptr;
        if (map == 1 && !plain && !packed) return false;
        for (uint32_t x = 0; x < width; ++x, out += 3) {
            uint32_t value[3] = {};
            if (map == 1) {
                uint8_t bit = 0;
                if (plain && !fields.Bit(bit)) return false;
                if (!plain) bit = static_cast<uint8_t>(packed[x >> 3] >> (7 - (x & 7)) & 1);
                // A set bit is black.
                value[0] = value[1] = value[2] = bit ? 0 : 1;
            } else {
                for (int c = 0; c < channels; ++c)
                    if (!sample(value[c])) return false;
                if (channels == 1) value[1] = value[2] = value[0];
            }
            out[0] = Scale(value[2], maxval);
            out[1] = Scale(value[1], maxval);
            out[2] = Scale(value[0], maxval);
        }
    }
    picture.kind = kPicturePnm;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return true;
}

}  // namespace qy
