#include "window/cursor_file.h"

#include "runtime/byte_cursor.h"

namespace qy {

namespace {
const int32_t kStandardIds[14] = {
    kArrowCursor,  kCrossCursor,   kIBeamCursor,   kWaitCursor,  kHelpCursor,     kAppStartingCursor, kNoCursor,
    kSizeAllCursor, kSizeNeSwCursor, kSizeNsCursor, kSizeNwSeCursor, kSizeWeCursor, kUpArrowCursor,  kHandCursor,
};

// A .cur file: its first image and hot spot. An empty image is no cursor.
bool ReadCursorFile(const uint8_t* data, int32_t length, CursorData& cursor) {
    ByteCursor in(data, static_cast<size_t>(length));
    if (in.U16() != 0 || in.U16() != 2 || in.U16() == 0) return false;
    in.Skip(4);
    uint16_t hotX = in.U16(), hotY = in.U16();
    uint32_t size = in.U32(), offset = in.U32();
    if (!in.ok() || size == 0 || !in.Has(offset, size)) return false;
    cursor.kind = CursorData::kFile;
    cursor.hotX = hotX;
    cursor.hotY = hotY;
    cursor.image = data + offset;
    cursor.imageSize = size;
    return true;
}
}  // namespace

int32_t CursorIndexToId(int32_t value) { return value >= 1 && value <= 14 ? kStandardIds[value - 1] : value; }

int32_t CursorIdToIndex(int32_t value) {
    for (int i = 0; i < 14; ++i)
        if (kStandardIds[i] == value) return i + 1;
    return value;
}

CursorData ReadCursorData(const uint8_t* data, int32_t length) {
    CursorData cursor;
    if (!data || length <= 0) return cursor;
    int32_t value = length < 4 ? data[0] : static_cast<int32_t>(LoadU32(data));
    if (value != -1 && length > 10 && ReadCursorFile(data, length, cursor)) return cursor;
    if (value == -1) {
        if (length > 4) ReadCursorFile(data + 4, length - 4, cursor);
        return cursor;
    }
    int32_t id = CursorIndexToId(value);
    for (int32_t standard : kStandardIds)
        if (value != 0 && standard == id) {
            cursor.kind = CursorData::kStandard;
            cursor.standardId = id;
        }
    return cursor;
}

}  // namespace qy
