#include "styling/xp_style_library.h"

#include "runtime/protocol.h"
#include "runtime/services.h"
#include "styling/control_style.h"

namespace qy {

namespace {
// SetControlStyle (style: int) -> int.
void __cdecl SetControlStyleCommand(ValueRecord* result, int count, ValueRecord* args) {
    int32_t style = count > 0 ? static_cast<int32_t>(args[0].low) : 0;
    result->low = static_cast<uint32_t>(styling::SetControlStyle(style));
    result->high = 0;
    result->type = kTypeInt;
}

const void* const xpCommands[1] = {reinterpret_cast<const void*>(&SetControlStyleCommand)};

// The library keeps no state, so it needs nothing of the runtime's notify entry.
int32_t __stdcall XpNotify(int32_t message, int32_t, int32_t) { return message == kLibraryStartUp ? 0 : -1; }
}  // namespace

const LibraryRecord XpStyleLibrary = {
    kLibraryFormat, "1D2E3F4A5B6C7D8E9FA0B1C2D3E4F5A6", {2, 0, 0, 3, 7, 3, 7}, "XP风格支持库", 1, 0, 0x80000000, {},
    0, nullptr, {}, 1, 0, xpCommands, {}, &XpNotify, {}};

}  // namespace qy
