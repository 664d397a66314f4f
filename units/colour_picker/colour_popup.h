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

// Notifications the popup sends to its picker and the picker passes on to
// its parent window; wParam is the colour, lParam the picker's control id.
constexpr UINT kColourSelChange = WM_APP + 1001;
constexpr UINT kColourDropDown = WM_APP + 1002;
constexpr UINT kColourCloseUp = WM_APP + 1003;
constexpr UINT kColourSelEndOk = WM_APP + 1004;
constexpr UINT kColourSelEndCancel = WM_APP + 1005;

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
