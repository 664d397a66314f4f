#include <cstring>
#include <new>

#include "media/picture/picture.h"
#include "runtime/byte_cursor.h"
#include "media/picture/picture_decoders.h"

namespace qy {

bool Picture::AllocatePixels(uint64_t bytes) {
    pixels.reset();
    size = 0;
    if (bytes == 0 || bytes > kMaxPictureBytes) return false;
    pixels.reset(new (std::nothrow) uint8_t[static_cast<size_t>(bytes)]);
    if (!pixels) return false;
    size = static_cast<int>(bytes);
    return true;
}

PictureKind DetectPictureFormat(const uint8_t* data, size_t length) {
    if (!data || length < 6) return kPictureNone;
    uint8_t b[8] = {};
    std::memcpy(b, data, length < 8 ? length : 8);
    auto u16 = [&](int at) { return ByteCursor::LoadU16(b + at); };

    if (b[0] == 'B' && b[1] == 'M') return kPictureBmp;
    if (b[0] == 0xFF && b[1] == 0xD8) return kPictureJpeg;
    if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') return kPicturePng;
    if (u16(0) == 0 && u16(4) != 0) {
        if (u16(2) == 1) return kPictureIcon;
        if (u16(2) == 2) return kPictureCursor;
    }
    if (std::memcmp(b, "GIF8", 4) == 0 && (b[4] == '7' || b[4] == '9') && b[5] == 'a') return kPictureGif;
    // Monochrome files of every version up to 5 are taken, not only version
    // 3: current encoders write version 5 for them.
    if (b[0] == 10 && b[1] <= 5 && b[2] == 1) {
        if (b[3] == 8) return kPicturePcx8;
        if (b[3] == 1) return kPicturePcx1;
    }
    // Netpbm: "P1" to "P6", then whitespace or a comment.
    if (b[0] == 'P' && b[1] >= '1' && b[1] <= '6' && std::memchr(" \t\n\r\v\f#", b[2], 7)) return kPicturePnm;
    return kPictureNone;
}

bool DecodePixels(PictureKind kind, const uint8_t* data, size_t length, Picture& picture) {
    picture.kind = kPictureNone;
    bool decoded = false;
    switch (kind) {
        case kPictureJpeg: decoded = DecodeJpeg(data, length, picture); break;
        case kPictureBmp: decoded = DecodeBmp(data, length, picture); break;
        case kPictureGif: decoded = DecodeGif(data, length, picture); break;
        case kPicturePcx8:
        case kPicturePcx1: decoded = DecodePcx(data, length, picture); break;
        case kPicturePng: decoded = DecodePng(data, length, picture); break;
        case kPicturePnm: decoded = DecodePnm(data, length, picture); break;
        default: break;
    }
    if (!decoded) {
        picture.kind = kPictureNone;
        picture.pixels.reset();
        picture.size = 0;
    }
    return decoded;
}

uint8_t* AllocatePaletteDib(Picture& picture, PictureKind kind, int width, int height) {
    uint64_t rows = static_cast<uint64_t>(PaletteDibStride(width)) * static_cast<uint64_t>(height);
    if (!picture.AllocatePixels(kPaletteDibHeaderSize + rows)) return nullptr;
    uint8_t* header = picture.pixels.get();
    std::memset(header, 0, kPaletteDibHeaderSize);
    StoreU32(header + 0, 40);
    StoreU32(header + 4, static_cast<uint32_t>(width));
    StoreU32(header + 8, static_cast<uint32_t>(-height));  // top-down rows
    StoreU16(header + 12, 1);
    StoreU16(header + 14, 8);
    StoreU32(header + 20, static_cast<uint32_t>(rows));
    StoreU32(header + 32, 256);
    picture.kind = kind;
    picture.width = width;
    picture.height = height;
    return header + kPaletteDibHeaderSize;
}

}  // namespace qy
