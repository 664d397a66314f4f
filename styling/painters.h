// The painters of the styled control types: each draws its control's face
// and frame in the current scheme from the node's state and colours.
#pragma once
#include "styling/styled_controls.h"

namespace qy::styling {

// Paints a styled control with its type's painter; types without one are left alone.
void PaintControl(const StyledControl& node);

}  // namespace qy::styling
