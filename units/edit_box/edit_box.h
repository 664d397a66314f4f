// The edit box (core unit type 5): the platform's "EDIT" control with an
// optional spin control beside it.
#pragma once
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kEditBoxType;

}  // namespace qy
