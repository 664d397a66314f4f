// Fuzz target: a unit's cursor data, as the window system reads it before
// handing a cursor image to the platform.
#include "tests/fuzz/exact_block.h"
#include "window/cursor_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0x7FFFFFFF) return 0;
    qyfuzz::ExactBlock block(data, size);
    qy::CursorData cursor = qy::ReadCursorData(block.data(), static_cast<int32_t>(size));
    if (cursor.kind == qy::CursorData::kFile) {
        // The platform is handed the whole image.
        volatile uint8_t sum = 0;
        for (uint32_t i = 0; i < cursor.imageSize; ++i) sum += cursor.image[i];
        (void)sum;
    }
    return 0;
}
