// The registry of decoded pictures, the LoadPicture command that fills it,
// and the picture conversion the runtime forwards RuntimeNotify 1003 to.
#include "units/picture/picture_registry.h"

#include <windows.h>

#include <unordered_map>

#include "commands/command_table.h"
#include "runtime/runtime_app.h"
#include "runtime/runtime_hooks.h"
#include "runtime/value.h"
#include "units/picture/picture_draw.h"

namespace qy {

namespace {

// Lives in the runtime's object list, so shut-down deletes it and with it
// every registered picture.
class PictureRegistry : public OwnedObject {
public:
    ~PictureRegistry() override;
    std::unordered_map<int32_t, std::unique_ptr<Picture>> pictures;
};

PictureRegistry* registry = nullptr;

PictureRegistry::~PictureRegistry() {
    if (registry == this) registry = nullptr;
}

// RuntimeNotify 1003: the argument is a byte-set block of picture data.
void* ConvertPictureData(void* byteSet) {
    return ConvertPictureToBitmap(ByteSetData(byteSet), ByteSetLength(byteSet));
}

// Installed with the command, so a program that can load pictures can also
// have them converted.
struct HookInstaller {
    HookInstaller() { Hooks().convertPicture = &ConvertPictureData; }
} hookInstaller;

}  // namespace

int32_t RegisterPicture(std::unique_ptr<Picture> picture) {
    if (!picture) return 0;
    if (!registry) {
        registry = new PictureRegistry;
        Runtime().objectList.push_back(registry);
    }
    int32_t number = static_cast<int32_t>(reinterpret_cast<uintptr_t>(picture.get()));
    registry->pictures[number] = std::move(picture);
    return number;
}

Picture* FindPicture(int32_t number) {
    if (!registry || number == 0) return nullptr;
    auto found = registry->pictures.find(number);
    return found == registry->pictures.end() ? nullptr : found->second.get();
}

size_t RegisteredPictureCount() { return registry ? registry->pictures.size() : 0; }

namespace commands {

// LoadPicture(picture data or file name) -> picture number, 0 on failure.
void __cdecl LoadPicture(ValueRecord* result, int count, ValueRecord* args) {
    result->low = 0;
    result->high = 0;
    if (count < 1) return;
    const ValueRecord& argument = args[0];
    std::unique_ptr<Picture> picture;
    if (argument.type == kTypeByteSet) {
        const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(argument.low));
        picture = DecodePicture(qy::ByteSetData(block), qy::ByteSetLength(block));
    } else if (argument.type == kTypeText) {
        picture = DecodePictureFile(TextOf(argument));
    }
    result->low = static_cast<uint32_t>(RegisterPicture(std::move(picture)));
}

}  // namespace commands

}  // namespace qy
