// Counts the process's live GDI objects, so a test can show that repeated
// work leaves no handles behind. GetGuiResources cannot be used: Wine
// answers 0 for it.
#pragma once
#include <windows.h>

namespace qytest {

// Live GDI objects of this process, read from the GDI handle table whose
// address the process environment block holds; -1 when there is none.
int LiveGdiObjects();

// A pixel of the window as it prints itself (WM_PRINT), frame included, in
// window coordinates: under a window manager Wine leaves the frame to it, so
// neither the screen nor the window DC shows what the window paints there.
COLORREF PrintedPixel(HWND window, int x, int y);

}  // namespace qytest
