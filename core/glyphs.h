// Glyphs behind one small interface, so the core measures ramps and draws
// shape texts without knowing the platform: GDI on Windows, FreeType with
// fontconfig on Linux. Texts are GBK (GB18030).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace core {

// A font as the user names it: a family ("宋体", "DejaVu Sans Mono") and a
// size in points at 96 pixels an inch, as the window's panel takes it.
struct FontSpec {
    std::string family;
    int32_t size = 9;
    bool bold = false, italic = false, underline = false, strikeout = false;
};

// Ink coverage of a pixel area, 0 paper .. 255 full ink, row by row.
struct CoverageMask {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> coverage;
    uint8_t At(int32_t x, int32_t y) const { return coverage[static_cast<size_t>(y) * width + x]; }
};

class Glyphs {
public:
    virtual ~Glyphs() = default;
    struct Extent {
        int32_t advance = 0;     // pixels from the line's start to its end
        int32_t lineHeight = 0;  // pixels from one line to the next
    };
    // The extent of a text drawn as one line, as the panel's TextWidth and
    // TextHeight give it.
    virtual Extent Measure(const std::string& text) = 0;
    // Draws a text line with its top-left corner at (x, y) of the mask, adding
    // coverage; parts outside the mask are clipped.
    virtual void Render(const std::string& text, int32_t x, int32_t y, CoverageMask* mask) = 0;
    // Whether the face draws the character itself rather than a stand-in.
    virtual bool Has(const std::string& character) {
        (void)character;
        return true;
    }
};

// Mean ink of a character over its advance and line height, 0 .. 1.
double InkCoverage(Glyphs& glyphs, const std::string& character);

// Height over width of a cell: a single-byte cell is the font's line height
// over its advance of "M"; a double-byte cell is about square.
double CellAspect(Glyphs& glyphs, bool doubleByte);

}  // namespace core
