// The horizontal scroll bar (core unit type 17) on the platform's "SCROLLBAR" control.
#pragma once
#include <cstdint>

namespace qy {

struct UnitTypeInfo;

// Own events of the scroll bar.
namespace scroll_bar {
enum Event : int32_t { kPositionChanged = 0 };
// Own property indices, counted after the common ones.
enum Property : int32_t { kMinPosition, kMaxPosition, kPageChange, kLineChange, kPosition, kDragTracking };
}

extern const UnitTypeInfo kScrollBarType;

}  // namespace qy
