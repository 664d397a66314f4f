// The four support libraries of this program, in library-list order, and
// what their units and commands reach of them.
#pragma once
#include "runtime/program_image.h"

namespace qy {

extern const LibraryRecord CoreLibrary;
extern const LibraryRecord XpStyleLibrary;
extern const LibraryRecord ExtendedUiLibrary;
extern const LibraryRecord SpecialFunctionsLibrary;
// The four in that order, as a program header lists them.
constexpr int kLibraryCount = 4;
extern const LibraryRecord* const kLibraryList[kLibraryCount];

// The RuntimeNotify entry a library was given at start-up, or null.
RuntimeNotifyEntry LibraryRuntimeNotify(const LibraryRecord& library);
const void** MutableCommands(const LibraryRecord& library);

}  // namespace qy
