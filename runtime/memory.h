// Memory services: every text, byte set, array and record block lives on the
// process heap, except the program's constants, which are never freed.
#pragma once
#include <cstdint>

namespace qy {

extern "C" {
void* __cdecl Allocate(int size);
void* __cdecl Reallocate(void* block, int size);
void __cdecl Free(void* block);
}

// Allocation straight from the heap, without the failure box (kNotifyAllocate).
void* AllocateQuiet(int size);

// Bounds of the constant block; both zero while no program is initialised.
void SetConstantBlock(const void* start, uint32_t size);
bool IsConstant(const void* address);
const uint8_t* ConstantBlockEnd();

}  // namespace qy
