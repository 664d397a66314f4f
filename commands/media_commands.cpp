// Playing sounds: the data, or the contents of a named file, goes to the
// runtime's sound player.
#include "commands/command_args.h"
#include "commands/command_table.h"
#include "commands/file_commands.h"
#include "runtime/memory.h"
#include "runtime/services.h"

namespace qy {
namespace commands {

namespace {
bool PlaySoundBytes(const void* data, int length, int option) {
    uint32_t words[3] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data)), static_cast<uint32_t>(length),
                         static_cast<uint32_t>(option)};
    return RuntimeNotify(2015, static_cast<int32_t>(reinterpret_cast<uintptr_t>(words)), 0) != 0;
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

}  // namespace commands
}  // namespace qy
