// The one way the application calls a function address it found itself
// (an export of an image it mapped): always with ten argument words.
#pragma once
#include <cstdint>

extern "C" uint32_t __cdecl CallFunction(uint32_t address, uint32_t a1, uint32_t a2, uint32_t a3, uint32_t a4,
                                         uint32_t a5, uint32_t a6, uint32_t a7, uint32_t a8, uint32_t a9,
                                         uint32_t a10);

namespace program {

// Calls address with the given words followed by zeros up to ten.
inline uint32_t CallWithWords(uint32_t address, uint32_t a1 = 0, uint32_t a2 = 0, uint32_t a3 = 0, uint32_t a4 = 0,
                              uint32_t a5 = 0, uint32_t a6 = 0, uint32_t a7 = 0) {
    return CallFunction(address, a1, a2, a3, a4, a5, a6, a7, 0, 0, 0);
}

}  // namespace program
