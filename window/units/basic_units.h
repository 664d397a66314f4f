// The basic unit types of the core library: label (10), button (11) and
// check box (12), and the placeholder for units whose library failed.
#pragma once
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kLabelType;
extern const UnitTypeInfo kButtonType;
extern const UnitTypeInfo kCheckBoxType;

// Stands in for a unit whose support library could not be loaded.
Unit* CreatePlaceholder(const UnitCreation& creation);

// A picture's bitmap or icon for a button face; null when it cannot be decoded.
HANDLE DecodeButtonPicture(const Bytes& picture, bool* isIcon);

}  // namespace qy
