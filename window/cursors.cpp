#include "window/cursors.h"

#include <cstring>
#include <map>
#include <vector>

#include "runtime/win32_handles.h"
#include "window/cursor_file.h"

namespace qy {

namespace {
std::map<HCURSOR, CursorHandle>& OwnCursors() {
    static std::map<HCURSOR, CursorHandle> cursors;
    return cursors;
}

// The resource form of a cursor image has its hot spot in front.
HCURSOR CursorFromImage(const CursorData& file) {
    std::vector<uint8_t> resource(4 + file.imageSize);
    resource[0] = static_cast<uint8_t>(file.hotX);
    resource[1] = static_cast<uint8_t>(file.hotX >> 8);
    resource[2] = static_cast<uint8_t>(file.hotY);
    resource[3] = static_cast<uint8_t>(file.hotY >> 8);
    memcpy(resource.data() + 4, file.image, file.imageSize);
    HCURSOR cursor = reinterpret_cast<HCURSOR>(
        CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, 0, 0, 0));
    if (cursor) OwnCursors().emplace(cursor, CursorHandle(cursor));
    return cursor;
}
}  // namespace

HCURSOR CreateUnitCursor(const uint8_t* data, int32_t length) {
    CursorData cursor = ReadCursorData(data, length);
    switch (cursor.kind) {
        case CursorData::kFile: return CursorFromImage(cursor);
        case CursorData::kStandard: return LoadCursorA(nullptr, MAKEINTRESOURCEA(cursor.standardId));
        default: return nullptr;
    }
}

void DestroyUnitCursor(HCURSOR cursor) {
    OwnCursors().erase(cursor);
}

}  // namespace qy
