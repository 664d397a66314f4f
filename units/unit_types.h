// The one registration table of unit types: each library's data-type array
// gets the entries of the types it carries.
#pragma once
#include "runtime/program_image.h"

namespace qy {

enum class UnitLibrary { Core, ExtendedUi };

// Fills the entries of a library's data-type array (count entries, type n
// at index n - 1) with the unit types that library carries.
void EnterUnitTypes(UnitLibrary library, DataTypeEntry* entries, int count);

}  // namespace qy
