// The libraries' side of the runtime link: the RuntimeNotify entry each was
// given, and the tables that their units and commands fill in.
#pragma once
#include <cstdint>
#include "runtime/program_image.h"

namespace qy {

RuntimeNotifyEntry LibraryRuntimeNotify(const LibraryRecord& library);
DataTypeEntry* MutableDataTypes(const LibraryRecord& library);
const void** MutableCommands(const LibraryRecord& library);

// Messages 2 and 10 to 13 of the core library serve the runtime's own unit
// code; the window system installs their handler.
typedef int32_t (*CoreRequestHandler)(int32_t message, int32_t arg1, int32_t arg2);
void SetCoreRequestHandler(CoreRequestHandler handler);
int32_t CoreLibraryRequest(int32_t message, int32_t arg1, int32_t arg2);

}  // namespace qy
