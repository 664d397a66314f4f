// The window system as the window commands reach it: live windows and units
// by reference. A reference that names nothing live stops the program with
// the window system's error.
#pragma once
#include <windows.h>

#include "runtime/value.h"

namespace qy {

// The native window of the referenced window or unit; null for a unit
// without one.
HWND ReferencedWindow(const ValueRecord& reference);

// Closes a referenced window (at once, or through its posted close request)
// or destroys a referenced unit's native window.
void DestroyReferenced(const ValueRecord& reference, bool now);

}  // namespace qy
