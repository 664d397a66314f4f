#include "styling/arrow_button.h"

namespace qy::styling {

namespace {
constexpr int kCornerQuads = 4, kInnerQuads = 8;

// A chevron seven pixels wide, its strokes two pixels tall.
void Chevron(Canvas& canvas, int cx, int cy, COLORREF colour) {
    for (int i = 0; i < 4; ++i) {
        int y = cy - 2 + i;
        canvas.VerticalLine(cx - 3 + i, y, y + 2, colour);
        canvas.VerticalLine(cx + 3 - i, y, y + 2, colour);
    }
}

// A three-row triangle whose tip points along (dx, dy).
void Triangle(Canvas& canvas, int cx, int cy, int dx, int dy, COLORREF colour) {
    for (int row = 0; row < 3; ++row) {
        int along = 1 - row;  // the one-pixel tip lies furthest along the direction
        if (dy != 0) {
            int y = cy + along * dy;
            canvas.HorizontalLine(cx - row, cx + row + 1, y, colour);
        } else {
            int x = cx + along * dx;
            canvas.VerticalLine(x, cy - row, cy + row + 1, colour);
        }
    }
}

void Gripper(Canvas& canvas, int cx, int cy) {
    for (int i = 0; i < 4; ++i) {
        int y = cy - 4 + 2 * i;
        canvas.HorizontalLine(cx - 3, cx + 3, y, kGripperShade);
        canvas.HorizontalLine(cx - 2, cx + 4, y + 1, kWhite);
    }
}
}  // namespace

void PaintArrowButton(Canvas& canvas, const RECT& rect, uint32_t element, ArrowState state, int32_t style) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    const Scheme& scheme = SchemeOf(style);
    canvas.Gradient(rect, scheme.arrow[state]);
    RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    canvas.Gradient(inner, scheme.arrow[kInnerQuads + state]);
    COLORREF glyph = state == kArrowDisabled ? kDisabledGlyph : scheme.glyph;
    if (element & kDefaultElement) {
        canvas.Frame(rect, state == kArrowDisabled ? kDisabledDefaultFrame : glyph);
        canvas.Frame(inner, kWhite);
    }
    canvas.Corners(rect, scheme.arrow[kCornerQuads + state]);
    int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    switch (element & ~kDefaultElement) {
        case kChevronDown: Chevron(canvas, cx, cy, glyph); break;
        case kTriangleUp: Triangle(canvas, cx, cy, 0, -1, glyph); break;
        case kTriangleDown: Triangle(canvas, cx, cy, 0, 1, glyph); break;
        case kTriangleLeft: Triangle(canvas, cx, cy, -1, 0, glyph); break;
        case kTriangleRight: Triangle(canvas, cx, cy, 1, 0, glyph); break;
        case kGripper: Gripper(canvas, cx, cy); break;
        default: break;
    }
}

}  // namespace qy::styling
