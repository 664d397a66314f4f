// The label unit of the core library (type 10).
#pragma once
#include "window/unit.h"

namespace qy {

// Own property indices of the label, counted after the common ones.
namespace label {
enum Property : int32_t {
    kCaption, kEffect, kBorder, kBorderWidth, kBorderColor1, kBorderColor2, kBorderColor3, kFont, kTextColor,
    kBackColor, kPicture, kPictureMode, kGradientMode, kGradientColor1, kGradientColor2, kGradientColor3, kHAlign,
    kWordWrap, kVAlign, kDataSource, kDataColumn,
};
}

extern const UnitTypeInfo kLabelType;

}  // namespace qy
