#include "styling/control_style.h"

namespace qy::styling {

namespace {
int32_t currentStyle = 1;
}

int32_t SetControlStyle(int32_t style) {
    currentStyle = style;
    return style >= 1 && style <= 3 ? 1 : 0;
}

int32_t CurrentStyle() { return currentStyle; }

}  // namespace qy::styling
