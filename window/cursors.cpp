#include "window/cursors.h"

#include <set>

#include "window/byte_io.h"

namespace qy {

namespace {
// Arrow, cross, I-beam, wait, help, arrow with hourglass, slashed circle,
// four-way, NE-SW, N-S, NW-SE, W-E, up arrow, hand.
const int32_t kStandardIds[14] = {32512, 32515, 32513, 32514, 32651, 32650, 32648,
                                  32646, 32643, 32645, 32642, 32644, 32516, 32649};

std::set<HCURSOR>& OwnCursors() {
    static std::set<HCURSOR> cursors;
    return cursors;
}

// A .cur file: the first image, with its hot spot put in front of the
// image data as the resource form expects.
HCURSOR CursorFromFile(const uint8_t* data, int32_t length) {
    ByteCursor in(data, static_cast<size_t>(length));
    if (in.U16() != 0 || in.U16() != 2 || in.U16() == 0) return nullptr;
    in.Skip(4);
    uint16_t hotX = in.U16(), hotY = in.U16();
    uint32_t size = in.U32(), offset = in.U32();
    if (!in.ok() || offset > static_cast<uint32_t>(length) || size > static_cast<uint32_t>(length) - offset)
        return nullptr;
    Bytes resource(4 + size);
    StoreU16(&resource[0], hotX);
    StoreU16(&resource[2], hotY);
    memcpy(&resource[4], data + offset, size);
    HCURSOR cursor = reinterpret_cast<HCURSOR>(
        CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, 0, 0, 0));
    if (cursor) OwnCursors().insert(cursor);
    return cursor;
}

HCURSOR StandardCursor(int32_t id) {
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
}
}  // namespace

int32_t CursorIndexToId(int32_t value) { return value >= 1 && value <= 14 ? kStandardIds[value - 1] : value; }

int32_t CursorIdToIndex(int32_t value) {
    for (int i = 0; i < 14; ++i)
        if (kStandardIds[i] == value) return i + 1;
    return value;
}

HCURSOR CreateUnitCursor(const uint8_t* data, int32_t length) {
    if (length <= 0) return nullptr;
    int32_t value = length < 4 ? data[0] : static_cast<int32_t>(LoadU32(data));
    if (value != -1 && length > 10) {
        if (HCURSOR cursor = CursorFromFile(data, length)) return cursor;
    }
    if (value == -1) return length > 4 ? CursorFromFile(data + 4, length - 4) : nullptr;
    if (value == 0) return nullptr;
    int32_t id = CursorIndexToId(value);
    for (int32_t standard : kStandardIds)
        if (standard == id) return StandardCursor(id);
    return nullptr;
}

void DestroyUnitCursor(HCURSOR cursor) {
    if (OwnCursors().erase(cursor)) DestroyCursor(cursor);
}

}  // namespace qy
