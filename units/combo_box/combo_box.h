// The combo box (core unit type 14) on the platform's "COMBOBOX" control.
#pragma once
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kComboBoxType;

}  // namespace qy
