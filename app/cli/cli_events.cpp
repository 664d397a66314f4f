// qizi's event slots run nothing: the hidden window needs neither the
// instance guard nor the ripple, skin or sound of the window program.
#include <array>

#include "app/handlers.h"
#include "forms/template_units.h"

namespace program {

extern "C" const std::array<EventHandler, forms::kEventSlotCount> ProgramEventHandlers{};

}  // namespace program
