// Styling and unstyling one window: its node in the registry and the swap
// of its window procedure.
#pragma once
#include <windows.h>

namespace qy::styling {

// Styles an eligible window that is not yet registered; a window unstyled
// earlier whose node still forwards is taken up again.
void StyleWindow(HWND window);
// Restores the previous procedure and frees the node. When another subclass
// has since been set above ours the node stays as a pass-through until the
// window is destroyed, so that subclass's chain keeps working.
void UnstyleWindow(HWND window, bool redraw);

// The window's own procedure kind, for calls down the chain.
LRESULT CallPrevious(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qy::styling
