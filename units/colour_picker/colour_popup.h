// The popup palette of the colour picker: 32 named colours in a 7-column
// grid, an optional transparent entry on top and a custom entry below that
// opens the system colour dialog. It captures the mouse while open, reports
// the hot colour to its picker and ends with kColourSelEndOk or
// kColourSelEndCancel, after which it has destroyed itself.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace qy {

struct NamedColour {
    const char* name;
    uint32_t colour;  // 0x00BBGGRR
};
constexpr int kPaletteColourCount = 32;
extern const NamedColour kPaletteColours[kPaletteColourCount];

// Opens the popup with its top-left corner at `at` (screen coordinates),
// moved as needed to lie on the screen. An empty transparent text leaves out
// the transparent entry, an empty custom text the custom entry. Returns the
// popup window, or null when it cannot be created.
HWND OpenColourPopup(HWND picker, POINT at, uint32_t colour, const std::string& transparentText,
                     const std::string& customText);

}  // namespace qy
