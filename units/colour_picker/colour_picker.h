// The colour picker (core unit type 28): an owner-drawn drop-down button that
// shows its colour as a bar and opens the colour popup palette.
#pragma once
#include <cstdint>

namespace qy {

struct UnitTypeInfo;

// Own events of the colour picker.
namespace colour_picker {
enum Event : int32_t { kColourChanged = 0 };
// Own property indices, counted after the common ones.
enum Property : int32_t { kColor, kAllowTransparent };
}

extern const UnitTypeInfo kColourPickerType;

// The picker's own value for the transparent colour.
constexpr uint32_t kTransparentColour = 0xFF000000;

}  // namespace qy
