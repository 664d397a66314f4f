// The XP-style support library: one command, SetControlStyle, that restyles
// the standard controls of the calling thread.
#pragma once
#include "runtime/program_image.h"

namespace qy {

extern const LibraryRecord XpStyleLibrary;

// Index of SetControlStyle in the library record's command array.
constexpr int kSetControlStyleCommand = 0;

}  // namespace qy
