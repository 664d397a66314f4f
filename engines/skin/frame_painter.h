// Paints a top-level window's frame and caption bar in the skin's colours:
// all into a memory bitmap, then one clipped blit, so nothing flickers.
#pragma once

#include <windows.h>

#include "engines/skin/skin_file.h"

namespace skin {

// What of the caption changes with the window's state rather than its style.
struct CaptionLook {
    bool active;
    LRESULT hotButton;  // HTCLOSE, HTMAXBUTTON, HTMINBUTTON or HTNOWHERE
};

// The frame and caption bar in window coordinates, the part of the window
// the skin paints; nullptr when the window has neither. The caller deletes it.
HRGN SkinnedRegion(HWND window);

// Paints the skinned region into a DC whose origin is the window's top-left
// corner (the window DC, or the DC of WM_PRINT with PRF_NONCLIENT).
void PaintFrame(HWND window, HDC dc, const Palette& palette, CaptionLook look);

}  // namespace skin
