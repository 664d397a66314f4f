// Stands in for a unit whose support library could not be loaded.
#pragma once
#include "window/unit.h"

namespace qy {

Unit* CreatePlaceholder(const UnitCreation& creation);

}  // namespace qy
