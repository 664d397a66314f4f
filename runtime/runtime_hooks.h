// Services the runtime forwards to units that arrive with their libraries:
// picture conversion, sound playback and object property access. A missing
// hook answers as if nothing were there.
#pragma once
#include <cstdint>
#include "runtime/program_image.h"
#include "runtime/value.h"

namespace qy {

struct ObjectPropertyAccess {
    uint64_t (*read)(const DataTypeEntry& type, void* object, int property, uint32_t wantedType);
    void (*write)(const DataTypeEntry& type, void* object, int property, const ValueRecord& value);
};

struct RuntimeHooks {
    // Picture data to a screen-compatible bitmap handle (RuntimeNotify 1003).
    void* (*convertPicture)(void* pictureData) = nullptr;
    // Wave or music data; true when playing started (RuntimeNotify 2015).
    bool (*playSound)(const void* data, int length, int option) = nullptr;
    const ObjectPropertyAccess* objectProperties = nullptr;
};

RuntimeHooks& Hooks();
const DataTypeEntry* FindDataType(uint32_t typeCode);

}  // namespace qy
