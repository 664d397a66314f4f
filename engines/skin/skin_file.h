// Reads a skin file (skin_format.h) into the palette the engine paints with.
#pragma once

#include "engines/skin/skin_format.h"

namespace skin {

struct Palette {
    uint32_t flags;
    Rgb colours[kSkinColourCount];
};

// False, leaving *palette untouched, unless the bytes hold a whole skin file
// of our version; the engine gets only an address, so the size field is the
// only length there is, and it must match exactly.
bool ReadSkinFile(const uint8_t* bytes, Palette* palette);

}  // namespace skin
