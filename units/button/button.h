// The button (type 11) and check box (type 12) units of the core library.
#pragma once
#include <cstdint>

namespace qy {

struct UnitTypeInfo;

// Own events of the button and the check box.
namespace button {
enum Event : int32_t { kClicked = 0 };
// The button's own property indices, counted after the common ones.
enum Property : int32_t { kPicture, kType, kCaption, kHAlign, kVAlign, kFont };
}
namespace check_box {
enum Event : int32_t { kClicked = 0 };
// The check box's own property indices, counted after the common ones.
enum Property : int32_t {
    kPicture, kPushLike, kFlat, kCaption, kTextOnLeft, kHAlign, kVAlign, kTextColor, kBackColor, kFont, kChecked,
    kDataSource, kDataColumn,
};
}

extern const UnitTypeInfo kButtonType;
extern const UnitTypeInfo kCheckBoxType;

}  // namespace qy
