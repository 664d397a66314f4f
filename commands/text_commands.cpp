// Text and memory commands. Positions and lengths count bytes of the
// code-page text, so a double-byte character counts two and a cut may
// fall inside one.
#include <algorithm>
#include <cstring>

#include "commands/code_page.h"
#include "runtime/command_args.h"
#include "commands/command_table.h"

namespace qy {
namespace commands {

void __cdecl TextLength(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, qy::TextLength(TextArgument(args[0])));
}

void __cdecl MidText(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    const char* text = TextArgument(args[0]);
    int64_t length = qy::TextLength(text);
    int64_t start = static_cast<int64_t>(IntArgument(args[1])) - 1;
    int64_t count = IntArgument(args[2]);
    if (start < 0 || start >= length || count <= 0) return;
    SetTextResult(result, text + start, static_cast<int>(std::min(count, length - start)));
}

void __cdecl RightText(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    const char* text = TextArgument(args[0]);
    int length = qy::TextLength(text);
    int count = IntArgument(args[1]);
    if (count <= 0) return;
    count = std::min(count, length);
    SetTextResult(result, text + (length - count), count);
}

void __cdecl CompareText(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    bool caseSensitive = IsOmitted(args[2]) || IntArgument(args[2]) != 0;
    SetIntResult(result, CompareMultiByteText(TextArgument(args[0]), TextArgument(args[1]), caseSensitive));
}

void __cdecl PointerToText(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(static_cast<uint32_t>(IntArgument(args[0]))));
    if (text) SetTextResult(result, text, static_cast<int>(std::strlen(text)));
}

void __cdecl ByteSetLength(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, ByteSetArgument(args[0]).length);
}

// The address is trusted as the caller's promise, except the null address,
// which would only ever fault.
void __cdecl PointerToByteSet(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    const void* address = reinterpret_cast<const void*>(static_cast<uintptr_t>(static_cast<uint32_t>(IntArgument(args[0]))));
    int length = IntArgument(args[1]);
    if (address && length > 0) SetByteSetResult(result, address, length);
}

}  // namespace commands
}  // namespace qy
