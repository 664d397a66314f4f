#include "engines/skin/skin_file.h"

namespace skin {

namespace {
uint32_t ReadLittle(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}
}  // namespace

bool ReadSkinFile(const uint8_t* bytes, Palette* palette) {
    if (!bytes) return false;
    // The magic is checked byte by byte first, so a short foreign buffer is
    // not read past its first mismatching byte.
    for (int i = 0; i < 4; ++i)
        if (bytes[i] != static_cast<uint8_t>(kSkinMagic[i])) return false;
    if (ReadLittle(bytes + kSkinVersionOffset, 2) != kSkinVersion) return false;
    if (ReadLittle(bytes + kSkinSizeOffset, 2) != kSkinFileBytes) return false;
    Palette read;
    read.flags = ReadLittle(bytes + kSkinFlagsOffset, 4);
    for (int i = 0; i < kSkinColourCount; ++i) {
        const uint8_t* colour = bytes + kSkinColoursOffset + i * kSkinColourBytes;
        if (colour[3] != 0) return false;
        read.colours[i] = Rgb{colour[0], colour[1], colour[2]};
    }
    *palette = read;
    return true;
}

}  // namespace skin
