// The label unit of the core library (type 10).
#pragma once
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kLabelType;

}  // namespace qy
