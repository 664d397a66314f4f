// Mouse cursors of units, from the cursor data of their template records:
// none, one of the standard cursors (by index 1-14 or by system id), or a
// cursor file of its own.
#pragma once
#include <windows.h>

#include <cstdint>

#include "window/cursor_file.h"

namespace qy {

// Null when the data names no cursor.
HCURSOR CreateUnitCursor(const uint8_t* data, int32_t length);
// Destroys a cursor made from file data; shared system cursors stay.
void DestroyUnitCursor(HCURSOR cursor);

}  // namespace qy
