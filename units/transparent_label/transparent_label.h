// The transparent label (unit type 5 of the extended-UI library): a caption
// drawn over whatever lies behind it, with no background of its own.
#pragma once
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kTransLabelType;

}  // namespace qy
