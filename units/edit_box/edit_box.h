// The edit box (core unit type 5): the platform's "EDIT" control with an
// optional spin control beside it.
#pragma once
#include <cstdint>

namespace qy {

struct UnitTypeInfo;

// Own events of the edit box.
namespace edit_box {
enum Event : int32_t { kContentChanged = 0, kSpun = 1 };
// Own property indices, counted after the common ones.
enum Property : int32_t {
    kContent, kBorder, kTextColor, kBackColor, kFont, kHideSelection, kMaxLength, kMultiLine, kScrollBars,
    kAlignment, kInputMode, kPasswordChar, kCaseConversion, kSpinMode, kSpinMin, kSpinMax, kSelStart, kSelLength,
    kSelText, kDataSource, kDataColumn,
};
}

extern const UnitTypeInfo kEditBoxType;

}  // namespace qy
