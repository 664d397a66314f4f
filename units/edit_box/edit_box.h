// The edit box (core unit type 5): the platform's "EDIT" control with an
// optional spin control beside it.
#pragma once
#include <cstdint>

namespace qy {

struct UnitTypeInfo;

// Own events of the edit box.
namespace edit_box {
enum Event : int32_t { kContentChanged = 0, kSpun = 1 };
}

extern const UnitTypeInfo kEditBoxType;

}  // namespace qy
