// qizi's composition: the main window loaded hidden, its units set from the
// choices, and the window program's composer run on its drawing panel.
#pragma once
#include <string>
#include <vector>

#include "app/application.h"
#include "app/composer.h"
#include "core/choices.h"
#include "core/grid.h"
#include "core/tones.h"

namespace cli {

using namespace core;

// A composed text picture with the colour of each cell.
struct Document : program::ComposedGrid {
    std::vector<Rgb> colours;
    std::vector<uint8_t> coloured;  // 1 where a cell shows its colour, else the default text colour
    bool tones = false;             // a ramp
    // Why nothing was composed; a limit of the choices (exit 2) or a grid
    // that could not be read (exit 1).
    std::string refusal;
    bool refusalIsLimit = false;
};


// Starts the runtime and loads the main window without showing it. Once.
void StartComposer();

// The picture's number once decoded from the file's bytes; 0 when they are
// not a picture the runtime decodes.
int32_t LoadPictureBytes(const std::string& bytes);

Document Compose(const Choices& choices, int32_t picture);

// The document as the core's writers take it.
core::Grid ToGrid(const Document& document);

// The ramp measured in the chosen font: printable ASCII, or with `wide`
// double-byte characters of varied density.
Ramp FontRamp(const Choices& choices, bool wide);

}  // namespace cli
