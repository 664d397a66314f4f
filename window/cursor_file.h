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

// The system's standard cursor ids, in the order of their cursor indexes 1-14.
enum StandardCursorId : int32_t {
    kArrowCursor = 32512,
    kCrossCursor = 32515,
    kIBeamCursor = 32513,
    kWaitCursor = 32514,
    kHelpCursor = 32651,
    kAppStartingCursor = 32650,
    kNoCursor = 32648,
    kSizeAllCursor = 32646,
    kSizeNeSwCursor = 32643,
    kSizeNsCursor = 32645,
    kSizeNwSeCursor = 32642,
    kSizeWeCursor = 32644,
    kUpArrowCursor = 32516,
    kHandCursor = 32649,
};

// The standard cursor id of a cursor index 1-14, and back; other values pass.
int32_t CursorIndexToId(int32_t value);
int32_t CursorIdToIndex(int32_t value);

}  // namespace qy
