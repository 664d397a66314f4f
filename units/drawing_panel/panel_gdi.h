// The GDI objects a drawing panel derives from its properties (pen, brush
// with its 48 built-in patterns, font scaled to the coordinate unit) and the
// mapping modes of its six coordinate units.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/win32_handles.h"
#include "units/drawing_panel/panel_methods.h"
#include "window/byte_io.h"

namespace qy {

// A brush, and for pattern styles the monochrome bitmap it was made from,
// which lives as long as the brush.
struct PatternBrush {
    GdiHandle<HBRUSH> brush;
    GdiHandle<HBITMAP> pattern;
};

constexpr int kMaxBrushStyle = 55;
constexpr int kFirstPatternStyle = 8;
constexpr int kPatternCount = kMaxBrushStyle - kFirstPatternStyle + 1;
// Rows of the 8x8 patterns, top row first, most significant bit leftmost;
// a set bit is drawn in the brush colour.
extern const uint8_t kBrushPatterns[kPatternCount][8];

// PenStyle 0..6; null when the platform cannot make the pen.
HPEN MakePanelPen(int32_t style, int32_t width, COLORREF colour);
// BrushStyle: 0 hollow, 1 solid, 2-7 hatches, 8-55 patterns; negative: none.
PatternBrush MakePanelBrush(int32_t style, COLORREF colour);
// The Font record (60 bytes, else the default GUI font) with its height in
// the coordinate unit and the forced character set and quality.
HFONT MakePanelFont(const Bytes& logFont, int32_t coordinateUnit);

// Logical units per inch of coordinate units 1-5, for the font height.
double CoordinateUnitsPerInch(int32_t coordinateUnit);
// Puts the DC in the mapping of the coordinate unit (0..5): origin at the
// client's top-left corner and y growing downwards in every unit.
void ApplyCoordinateUnit(HDC dc, int32_t coordinateUnit);

// Conversions between device pixels and the DC's logical units.
POINT DeviceToLogical(HDC dc, POINT p);
POINT LogicalToDevice(HDC dc, POINT p);

// The stretch mode for the display's colour depth.
int DisplayStretchMode();

namespace panel {
// Writes the texts as WriteAt does, from the write position or the given x
// and y, each line below the last; qizi draws its shape texts with it too.
void WriteOn(HDC dc, POINT writePosition, OptionalInt x, OptionalInt y, const std::vector<std::string>& texts);
}  // namespace panel

}  // namespace qy
