#include "runtime/memory.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

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

// The blocks of the code heap. A program holds only a few (a thunk or two per
// object that subclasses a window), so a short list tells them from the rest.
struct CodeBlocks {
    CodeBlocks() { InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    HANDLE heap = nullptr;
    std::vector<void*> live;
};
// Read without the lock: a thread can only free a code block it was handed
// after the block was counted.
volatile LONG codeBlockCount = 0;

CodeBlocks& Code() {
    // Never destroyed, so frees from exit-time destructors still find it.
    static CodeBlocks* blocks = new CodeBlocks;
    return *blocks;
}

class CodeLock {
public:
    CodeLock() : code_(Code()) { EnterCriticalSection(&code_.lock); }
    ~CodeLock() { LeaveCriticalSection(&code_.lock); }
    CodeBlocks& code() { return code_; }

private:
    CodeBlocks& code_;
};

// The block's place in the code list, or null for a block of the process heap.
void** FindCode(CodeBlocks& code, void* block) {
    for (void*& live : code.live)
        if (live == block) return &live;
    return nullptr;
}

bool FreeCode(void* block) {
    CodeLock hold;
    CodeBlocks& code = hold.code();
    void** at = FindCode(code, block);
    if (!at) return false;
    *at = code.live.back();
    code.live.pop_back();
    InterlockedDecrement(&codeBlockCount);
    HeapFree(code.heap, 0, block);
    return true;
}

// Resizes a code block in its own heap; false for a block of the process heap.
bool ReallocateCode(void* block, int size, void** moved) {
    {
        CodeLock hold;
        CodeBlocks& code = hold.code();
        void** at = FindCode(code, block);
        if (!at) return false;
        *moved = size >= 0 ? HeapReAlloc(code.heap, 0, block, static_cast<SIZE_T>(size)) : nullptr;
        if (*moved) {
            *at = *moved;
            return true;
        }
    }
    AllocationFailed(size);
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

void* AllocateCode(int size) {
    void* block = nullptr;
    {
        CodeLock hold;
        CodeBlocks& code = hold.code();
        if (!code.heap) code.heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
        if (code.heap && size >= 0) block = HeapAlloc(code.heap, 0, static_cast<SIZE_T>(size));
        if (block) {
            code.live.push_back(block);
            InterlockedIncrement(&codeBlockCount);
        }
    }
    if (!block) AllocationFailed(size);
    return block;
}

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
    void* moved = nullptr;
    if (codeBlockCount > 0 && ReallocateCode(block, size, &moved)) return moved;
    moved = size >= 0 ? HeapReAlloc(Heap(), 0, block, static_cast<SIZE_T>(size)) : nullptr;
    if (!moved) AllocationFailed(size);
    return moved;
}

extern "C" void __cdecl Free(void* block) {
    if (!block || IsConstant(block)) return;
    if (codeBlockCount > 0 && FreeCode(block)) return;
    HeapFree(Heap(), 0, block);
}

}  // namespace qy
