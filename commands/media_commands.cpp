// Playing sounds (the data, or the contents of a named file, goes to the
// runtime's sound player), loading pictures into the picture registry and
// releasing them.
#include "runtime/command_args.h"
#include "commands/command_table.h"
#include "commands/file_commands.h"
#include "media/picture/picture_registry.h"
#include "runtime/memory.h"
#include "runtime/services.h"

namespace qy {
namespace commands {

namespace {
bool PlaySoundBytes(const void* data, int length, int option) {
    uint32_t words[3] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data)), static_cast<uint32_t>(length),
                         static_cast<uint32_t>(option)};
    return RuntimeNotify(kNotifyPlaySound, static_cast<int32_t>(reinterpret_cast<uintptr_t>(words)), 0) != 0;
}
}  // namespace

void __cdecl PlayAudio(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    const ValueRecord sound = Dereferenced(args[0]);
    int option = IntArgument(args[1]);
    bool played = false;
    if (sound.type == kTypeByteSet) {
        ByteSpan bytes = ByteSetArgument(sound);
        played = bytes.length > 0 && PlaySoundBytes(bytes.data, bytes.length, option);
    } else if (sound.type == kTypeText) {
        // The player keeps its own copy of the samples, so the file's bytes
        // can go as soon as it has answered.
        void* file = ReadFileAsByteSet(TextArgument(sound));
        played = file && PlaySoundBytes(qy::ByteSetData(file), qy::ByteSetLength(file), option);
        Free(file);
    }
    SetIntResult(result, played ? 1 : 0);
}

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

// ReleasePicture(picture number): a program that replaces a picture frees
// the old one; drawings logged by a panel keep their own hold on it.
void __cdecl ReleasePicture(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    UnregisterPicture(IntArgument(args[0]));
}

}  // namespace commands
}  // namespace qy
