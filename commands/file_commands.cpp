// Reading and writing whole files. Failures show only in the results: the
// empty byte set, or false.
#include "commands/file_commands.h"

#include <windows.h>

#include <climits>

#include "runtime/command_args.h"
#include "commands/command_table.h"
#include "runtime/memory.h"
#include "runtime/win32_handles.h"

namespace qy {

namespace {
bool WriteAll(HANDLE file, const ByteSpan& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data, static_cast<DWORD>(bytes.length), &written, nullptr) &&
           written == static_cast<DWORD>(bytes.length);
}
}  // namespace

void* ReadFileAsByteSet(const char* fileName) {
    if (!fileName || !*fileName) return nullptr;
    KernelHandle file = OpenedFile(
        CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    DWORD high = 0;
    DWORD size = GetFileSize(file.get(), &high);
    // A byte set counts its length in an int32.
    if (size == INVALID_FILE_SIZE || high != 0 || size == 0 || size > INT_MAX - sizeof(ByteSetHeader)) return nullptr;
    // Straight from the heap: a file too big for memory is an empty result,
    // not the allocation failure box.
    auto* block = static_cast<ByteSetHeader*>(AllocateQuiet(static_cast<int>(sizeof(ByteSetHeader) + size)));
    if (!block) return nullptr;
    DWORD read = 0;
    if (!ReadFile(file.get(), block + 1, size, &read, nullptr) || read == 0) {
        Free(block);
        return nullptr;
    }
    block->dimensions = 1;
    block->length = static_cast<int32_t>(read);
    return block;
}

namespace commands {

void __cdecl ReadWholeFile(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetResult(result, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ReadFileAsByteSet(TextArgument(args[0])))));
}

void __cdecl WriteToFile(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    const char* name = TextArgument(args[0]);
    if (!*name) return;
    KernelHandle file = OpenedFile(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    for (int i = 1; i < args.count(); ++i) {
        ByteSpan bytes = ByteSetArgument(args[i]);
        if (bytes.length > 0 && !WriteAll(file.get(), bytes)) return;
    }
    SetIntResult(result, 1);
}

}  // namespace commands
}  // namespace qy
