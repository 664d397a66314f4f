// The horizontal scroll bar (core unit type 17) on the platform's "SCROLLBAR" control.
#pragma once
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kScrollBarType;

}  // namespace qy
