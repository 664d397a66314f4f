// The registry of decoded pictures and the picture conversion the runtime
// forwards kNotifyConvertPicture to.
#include "media/picture/picture_registry.h"

#include <windows.h>

#include <unordered_map>

#include "runtime/value.h"
#include "media/picture/picture_draw.h"

namespace qy {

namespace {
std::unordered_map<int32_t, std::shared_ptr<Picture>>* registry = nullptr;
}  // namespace

int32_t RegisterPicture(std::unique_ptr<Picture> picture) {
    if (!picture) return 0;
    if (!registry) registry = new std::unordered_map<int32_t, std::shared_ptr<Picture>>;
    int32_t number = static_cast<int32_t>(reinterpret_cast<uintptr_t>(picture.get()));
    (*registry)[number] = std::move(picture);
    return number;
}

Picture* FindPicture(int32_t number) {
    if (!registry || number == 0) return nullptr;
    auto found = registry->find(number);
    return found == registry->end() ? nullptr : found->second.get();
}

std::shared_ptr<const Picture> SharePicture(int32_t number) {
    if (!registry || number == 0) return nullptr;
    auto found = registry->find(number);
    return found == registry->end() ? nullptr : found->second;
}

void UnregisterPicture(int32_t number) {
    if (registry) registry->erase(number);
}

size_t RegisteredPictureCount() { return registry ? registry->size() : 0; }

void ReleasePictures() {
    delete registry;
    registry = nullptr;
}

void* ConvertPictureByteSet(void* byteSet) {
    return ConvertPictureToBitmap(ByteSetData(byteSet), ByteSetLength(byteSet));
}

}  // namespace qy
