// What a unit's cursor data names, read without the platform: nothing, a
// standard cursor, or the first image of a cursor file of its own.
#pragma once
#include <cstdint>

namespace qy {

struct CursorData {
    enum Kind { kNone, kStandard, kFile } kind = kNone;
    int32_t standardId = 0;        // kStandard: the system cursor id
    uint16_t hotX = 0, hotY = 0;   // kFile: the hot spot
    const uint8_t* image = nullptr;  // kFile: the image inside the data
    uint32_t imageSize = 0;
};

CursorData ReadCursorData(const uint8_t* data, int32_t length);

// The standard cursor id of a cursor index 1-14, and back; other values pass.
int32_t CursorIndexToId(int32_t value);
int32_t CursorIdToIndex(int32_t value);

}  // namespace qy
