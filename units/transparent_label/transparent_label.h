// The transparent label (unit type 5 of the extended-UI library): a caption
// drawn over whatever lies behind it, with no background of its own.
#pragma once
#include "window/unit.h"

namespace qy {

// Own property indices of the transparent label, counted after the common ones.
namespace transparent_label {
enum Property : int32_t { kCaption, kEffect, kFont, kTextColor, kAlignment, kWordWrap, kVerticalAlignment };
}

extern const UnitTypeInfo kTransLabelType;

}  // namespace qy
