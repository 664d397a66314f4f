// The shape source on Linux: the terminal's face at the smallest size whose
// cell is at least 12 x 24 pixels, a Chinese face beside it, and the rows
// matched on every core.
#pragma once
#include <string>
#include <vector>

#include "core/shapes.h"

namespace native {

// `failure` is set when no face can be opened.
core::ShapeComposed ComposeShapePicture(const core::Choices& choices, const std::vector<int32_t>& pixels,
                                        int32_t width, int32_t height, std::string* failure);

}  // namespace native
