// The support libraries a program links, in the order its header lists
// them.
#pragma once
#include "runtime/program_image.h"

namespace qy {

constexpr int kLibraryCount = 4;
extern const LibraryRecord* const kLibraryList[kLibraryCount];

}  // namespace qy
