// Memory services: every text, byte set, array and record block lives on the
// process heap, except the program's constants, which are never freed, and
// machine code built at run time, which lives on a heap whose pages may execute.
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

// A block for machine code, on a heap created for it that may execute, so the
// code runs where data execution prevention covers every process. Free and
// Reallocate take it like any other block; a failure is reported like Allocate's.
void* AllocateCode(int size);

// Bounds of the constant block; both zero while no program is initialised.
void SetConstantBlock(const void* start, uint32_t size);
bool IsConstant(const void* address);
const uint8_t* ConstantBlockEnd();

}  // namespace qy
