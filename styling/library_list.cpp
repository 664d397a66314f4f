#include "styling/library_list.h"

#include "commands/libraries.h"
#include "styling/xp_style_library.h"

namespace qy {

const LibraryRecord* const kLibraryList[kLibraryCount] = {&CoreLibrary, &XpStyleLibrary, &ExtendedUiLibrary,
                                                           &SpecialFunctionsLibrary};

}  // namespace qy
