// The pieces of the drawing panel's methods that need no window: optional
// arguments, copy modes and the line breaking of written texts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qy {
namespace panel {

struct OptionalInt {
    bool present = false;
    int32_t value = 0;
};

// The GDI raster operation of a DrawPicture copy mode.
int32_t CopyModeRasterOp(OptionalInt copyMode);

// One line of a text WriteAt draws; broken when a line break follows it.
struct TextLine {
    std::string text;
    bool broken;
};
// A line ends at CR or LF; one LF right after the break character belongs
// to the same break, so CR LF and also LF LF are single breaks.
std::vector<TextLine> SplitLines(const std::string& text);

}  // namespace panel
}  // namespace qy
