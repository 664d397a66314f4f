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
// Input modes: beyond read-only and password, each numeric mode filters the
// typed characters for the kind of number it takes.
enum InputMode : int32_t {
    kNormalInput = 0,
    kReadOnly = 1,
    kPassword = 2,
    kIntegerText = 3,
    kDecimalText = 4,
    kByteInput = 5,
    kShortInput = 6,
    kIntInput = 7,
    kLongInput = 8,
    kFloatInput = 9,
    kDoubleInput = 10,
    kDateTimeInput = 11,
};
}

extern const UnitTypeInfo kEditBoxType;

}  // namespace qy
