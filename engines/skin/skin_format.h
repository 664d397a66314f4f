// The skin file the skin engine reads and tools/skins writes. All numbers
// are little-endian; a file is exactly kSkinFileBytes long:
//
//   offset  size  field
//   0       4     magic ".SHE"
//   4       2     version (kSkinVersion)
//   6       2     byte size of the whole file (kSkinFileBytes)
//   8       4     flags (kSkinHueGradient)
//   12      4*N   N = kSkinColourCount colours in SkinColour order, each as
//                 the bytes red, green, blue, 0
//
// Kept free of windows.h: the generator on the build machine includes it too.
#pragma once

#include <stdint.h>

namespace skin {

constexpr char kSkinMagic[4] = {'.', 'S', 'H', 'E'};
constexpr uint16_t kSkinVersion = 1;

// The caption gradients run around the colour wheel (through the hues
// between their two ends) instead of straight across in red, green, blue.
constexpr uint32_t kSkinHueGradient = 1;

enum SkinColour {
    kActiveCaptionStart,  // left end of the active caption's gradient
    kActiveCaptionEnd,    // right end
    kInactiveCaptionStart,
    kInactiveCaptionEnd,
    kActiveCaptionText,
    kInactiveCaptionText,
    kFrameOuter,  // the window frame's outermost line
    kFrameInner,  // the rest of the frame
    kButtonFace,  // caption buttons: close, maximise or restore, minimise
    kButtonGlyph,
    kButtonHotFace,     // the caption button under the mouse
    kWindowBackground,  // for programs that colour their client areas to match
    kControlFace,       // and their controls
    kControlText,
    kText,
    kSkinColourCount
};

constexpr int kSkinVersionOffset = 4;
constexpr int kSkinSizeOffset = 6;
constexpr int kSkinFlagsOffset = 8;
constexpr int kSkinColoursOffset = 12;
constexpr int kSkinColourBytes = 4;
constexpr int kSkinFileBytes = kSkinColoursOffset + kSkinColourCount * kSkinColourBytes;

struct Rgb {
    uint8_t red, green, blue;
};

}  // namespace skin
