// qizi.exe's composition on the core: shape texts and the window's three
// sources on pictures drawn with the window's own GDI drawing and sampled as
// its panel samples them; pictures in ramps from our decoders' pixels.
#pragma once
#include <string>
#include <vector>

#include "core/choices.h"
#include "core/grid.h"
#include "core/tones.h"

namespace cli {

using namespace core;

// The composition of the choices, a shape text when `pictureBytes` is null.
// A picture that cannot be decoded gives `notAPicture`; the shape source's
// candidates that the fonts lack are added to `missing` when it is given.
Composed ComposeChoices(const Choices& choices, const std::string* pictureBytes, bool* notAPicture,
                        std::vector<std::string>* missing = nullptr);

// The ramp measured in the chosen font: printable ASCII, or with `wide`
// double-byte characters of varied density.
Ramp FontRamp(const Choices& choices, bool wide);

}  // namespace cli
