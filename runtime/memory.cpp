#include "runtime/memory.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "runtime/errors.h"

namespace qy {

namespace {
const uint8_t* constantStart = nullptr;
const uint8_t* constantEnd = nullptr;

HANDLE Heap() { return GetProcessHeap(); }

[[noreturn]] void AllocationFailed(int size) {
    char text[96];
    std::snprintf(text, sizeof text, msg::kAllocationFailed, size);
    ShowRuntimeError(text);
}
}  // namespace

void SetConstantBlock(const void* start, uint32_t size) {
    constantStart = static_cast<const uint8_t*>(start);
    constantEnd = constantStart ? constantStart + size : nullptr;
}

bool IsConstant(const void* address) {
    auto* p = static_cast<const uint8_t*>(address);
    return p && constantStart && p >= constantStart && p < constantEnd;
}

const uint8_t* ConstantBlockEnd() { return constantEnd; }

void* AllocateQuiet(int size) { return HeapAlloc(Heap(), 0, static_cast<SIZE_T>(size)); }

extern "C" void* __cdecl Allocate(int size) {
    void* block = size >= 0 ? HeapAlloc(Heap(), 0, static_cast<SIZE_T>(size)) : nullptr;
    if (!block) AllocationFailed(size);
    return block;
}

extern "C" void* __cdecl Reallocate(void* block, int size) {
    if (!block) return Allocate(size);
    if (IsConstant(block)) {
        // A constant stays where it is; the caller gets a private copy.
        void* copy = Allocate(size);
        size_t available = static_cast<size_t>(constantEnd - static_cast<const uint8_t*>(block));
        std::memcpy(copy, block, available < static_cast<size_t>(size) ? available : static_cast<size_t>(size));
        return copy;
    }
    void* moved = size >= 0 ? HeapReAlloc(Heap(), 0, block, static_cast<SIZE_T>(size)) : nullptr;
    if (!moved) AllocationFailed(size);
    return moved;
}

extern "C" void __cdecl Free(void* block) {
    if (!block || IsConstant(block)) return;
    HeapFree(Heap(), 0, block);
}

}  // namespace qy
