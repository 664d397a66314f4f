// The shape source: each cell takes the glyph whose anti-aliased rendering at
// the font's cell size looks most like the picture there, in monochrome or
// with foreground and background colours solved per cell.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/choices.h"
#include "core/glyphs.h"
#include "core/grid.h"

namespace core {

// What the platform lends the shape source.
struct ShapeFonts {
    Glyphs* narrow = nullptr;  // the terminal's face at a size whose cell is at least 12 x 24 pixels
    Glyphs* wide = nullptr;    // a face with Chinese characters at the same pixel size; may be null
    // A code point as a GB18030 character; empty when it cannot be encoded.
    std::function<std::string(char32_t)> encode;
    // Calls `row(y)` for every y < rows, on as many cores as it likes; empty: in order here.
    std::function<void(int32_t rows, const std::function<void(int32_t)>& row)> eachRow;
};

// Block elements 17 .. 19 are the light, medium and dark shade: flat tones.
constexpr bool ShadeBlock(int32_t block) { return block >= 17 && block <= 19; }

// A candidate character and the cells it takes.
struct Symbol {
    std::string text;
    int32_t width = 1;
    int32_t block = -1;  // index of a block element (U+2580 + block), drawn as geometry
    bool IsShade() const { return ShadeBlock(block); }
};

// The characters of `sets` ("ascii,blocks", "box", "braille", "cjk" or
// characters listed as they are), without repeats; `error` names a set that
// cannot be read.
std::vector<Symbol> ShapeSymbols(const std::string& sets, const std::function<std::string(char32_t)>& encode,
                                 std::string* error);

// Coverage (0 .. 255) of block element U+2580 + `block` drawn as a terminal
// draws it, at width x height pixels, anti-aliased at fractional edges.
CoverageMask BlockMask(int32_t block, int32_t width, int32_t height);

struct ShapeComposed {
    Composed composed;
    std::vector<std::string> missing;  // characters of the sets the fonts lack
};

// What --verbose says of the characters left out; empty when none were.
std::string MissingNotice(const std::vector<std::string>& missing);

// A picture's pixels (0x00BBGGRR, row by row) matched cell by cell; colour
// for --format ansi or html, ink on paper otherwise.
ShapeComposed ComposeShapes(const Choices& choices, const ShapeFonts& fonts, const std::vector<int32_t>& pixels,
                            int32_t width, int32_t height);

}  // namespace core
