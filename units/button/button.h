// The button (type 11) and check box (type 12) units of the core library.
#pragma once
#include <cstdint>

namespace qy {

struct UnitTypeInfo;

// Own events of the button and the check box.
namespace button {
enum Event : int32_t { kClicked = 0 };
}
namespace check_box {
enum Event : int32_t { kClicked = 0 };
}

extern const UnitTypeInfo kButtonType;
extern const UnitTypeInfo kCheckBoxType;

}  // namespace qy
