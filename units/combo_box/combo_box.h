// The combo box (core unit type 14) on the platform's "COMBOBOX" control.
#pragma once
#include <cstdint>

namespace qy {

struct UnitTypeInfo;

// Own events of the combo box.
namespace combo_box {
enum Event : int32_t { kItemSelected = 0, kEditChanged = 1, kDroppingDown = 2, kClosedUp = 3, kDoubleClicked = 4 };
// Own property indices, counted after the common ones.
enum Property : int32_t {
    kType, kContent, kMaxLength, kSelStart, kSelLength, kSelText, kAutoSort, kExtraItemHeight, kTextColor,
    kBackColor, kFont, kCurrentSelection, kListItems, kItemValues, kDataSource, kDataColumn, kOwn16,
};
}

extern const UnitTypeInfo kComboBoxType;

}  // namespace qy
