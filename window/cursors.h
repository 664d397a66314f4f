// Mouse cursors of units, from the cursor data of their template records:
// none, one of the standard cursors (by index 1-14 or by system id), or a
// cursor file of its own.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qy {

// Null when the data names no cursor.
HCURSOR CreateUnitCursor(const uint8_t* data, int32_t length);
// Destroys a cursor made from file data; shared system cursors stay.
void DestroyUnitCursor(HCURSOR cursor);

// The standard cursor id of a cursor index 1-14, and back; other values pass.
int32_t CursorIndexToId(int32_t value);
int32_t CursorIdToIndex(int32_t value);

}  // namespace qy
