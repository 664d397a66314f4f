// The arrow button of drop-down combos and up-down halves: a face in the
// scheme's arrow gradients with a glyph on it.
#pragma once
#include <windows.h>

#include <cstdint>

#include "styling/canvas.h"
#include "styling/palette.h"

namespace qy::styling {

enum ArrowGlyph : uint32_t { kChevronDown, kTriangleUp, kTriangleDown, kTriangleLeft, kTriangleRight, kGripper };
// Or-ed into a glyph: the element is the default one and gets a double frame.
constexpr uint32_t kDefaultElement = 0x80000000;

void PaintArrowButton(Canvas& canvas, const RECT& rect, uint32_t element, ArrowState state, int32_t style);

}  // namespace qy::styling
