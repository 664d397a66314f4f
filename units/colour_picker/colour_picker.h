// The colour picker (core unit type 28): an owner-drawn drop-down button that
// shows its colour as a bar and opens the colour popup palette.
#pragma once
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kColourPickerType;

// Notifications the popup sends to its picker and the picker passes on to
// its parent window; wParam is the colour, lParam the picker's control id.
constexpr UINT kColourSelChange = WM_APP + 1001;
constexpr UINT kColourDropDown = WM_APP + 1002;
constexpr UINT kColourCloseUp = WM_APP + 1003;
constexpr UINT kColourSelEndOk = WM_APP + 1004;
constexpr UINT kColourSelEndCancel = WM_APP + 1005;

// The picker's own value for the transparent colour.
constexpr uint32_t kTransparentColour = 0xFF000000;

}  // namespace qy
