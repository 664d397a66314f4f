// Flat control styles: the calling thread's standard controls painted in one
// of three flat colour schemes (1 blue, 2 olive green, 3 silver) or left in
// their system look (0).
#pragma once
#include <cstdint>

namespace qy::styling {

// Stores the style. For 1 to 3 removes any styling and installs it again,
// returning 1; for any other value removes it and returns the removal's
// result (non-zero if a hook was removed, 0 if none was active).
int32_t SetControlStyle(int32_t style);
// The stored style (1 before the first call).
int32_t CurrentStyle();

}  // namespace qy::styling
