// The support libraries whose units and commands live in this layer, and
// what their units and commands reach of them. The XP-style library sits in
// the styling layer above.
#pragma once
#include "runtime/program_image.h"

namespace qy {

extern const LibraryRecord CoreLibrary;
extern const LibraryRecord ExtendedUiLibrary;
extern const LibraryRecord SpecialFunctionsLibrary;
// The RuntimeNotify entry a library was given at start-up, or null.
RuntimeNotifyEntry LibraryRuntimeNotify(const LibraryRecord& library);
const void** MutableCommands(const LibraryRecord& library);

}  // namespace qy
