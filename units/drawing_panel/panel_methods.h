// The drawing panel's methods in plain terms, between the command entries
// (which read value records) and the panel unit (which knows windows).
// Texts are GBK bytes already converted from the argument values.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qy {

class DrawPanel;

namespace panel {

struct OptionalInt {
    bool present = false;
    int32_t value = 0;
};

// The loaded panel named by a unit reference; anything else is the runtime
// error for a unit that does not exist or is not loaded.
DrawPanel& Resolve(uint32_t windowId, uint32_t unitId);

void Clear(DrawPanel& panel, OptionalInt left, OptionalInt top, OptionalInt width, OptionalInt height);
void WriteAt(DrawPanel& panel, OptionalInt x, OptionalInt y, const std::vector<std::string>& texts);
void DrawPicture(DrawPanel& panel, int32_t picture, int32_t x, int32_t y, OptionalInt width, OptionalInt height,
                 OptionalInt copyMode);
int32_t ReadPixel(DrawPanel& panel, int32_t x, int32_t y);
// The text measured as one line, in the coordinate unit.
int32_t TextWidth(DrawPanel& panel, const std::string& text);
int32_t TextHeight(DrawPanel& panel, const std::string& text);
// 0 when the number names no registered picture.
int32_t PictureWidth(DrawPanel& panel, int32_t picture);
int32_t PictureHeight(DrawPanel& panel, int32_t picture);

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
