// The button (type 11) and check box (type 12) units of the core library.
#pragma once
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kButtonType;
extern const UnitTypeInfo kCheckBoxType;

}  // namespace qy
