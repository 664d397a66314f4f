// The grid of cells the composer makes and the writers turn into text, and
// its composition from a raster: the colours at the cells, as the window's
// panel gives them, or a picture's pixels with the cell size.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/choices.h"
#include "core/glyphs.h"
#include "core/tones.h"

namespace core {

// One cell: an index into the grid's texts, its width in terminal columns
// (1 a single-byte character, 2 a double-byte one, more for a longer fill
// text), ink or paper, and its colour (0x00BBGGRR) unless it takes the
// terminal's or page's default text colour. Eight bytes, so a 1000 x 1000
// grid stays small.
struct Cell {
    uint16_t text = 0;
    uint16_t width = 1;
    uint32_t colour : 24;
    uint32_t ink : 1;
    uint32_t defaultColour : 1;
    Cell() : colour(0), ink(0), defaultColour(1) {}
};

// Terminal columns of a GBK (GB18030) text: one a single byte, two a
// character of two or four bytes.
int32_t DisplayWidth(const std::string& text);

struct Grid {
    int32_t columns = 0, rows = 0;
    std::vector<std::string> texts;  // the distinct cell texts
    std::vector<Cell> cells;         // row by row
    std::string rowTail;             // text after each row's cells (反向's last character)
    std::string lineEnd = "\r\n";
    bool tones = false;  // the glyphs carry the tones (a ramp), not ink and paper
    // Each cell's background colour (0x00BBGGRR) when the cells set one, else empty.
    std::vector<uint32_t> backgrounds;

    const std::string& Text(const Cell& cell) const { return texts[cell.text]; }
    // A cell of this text, added to `texts` when new.
    Cell MakeCell(const std::string& text);
    bool Empty() const { return cells.empty(); }
};

// A composition's grid, or why there is none.
struct Composed {
    Grid grid;
    std::string error;  // empty on success
    int exitCode = kDone;
};

// The columns of a character of the shape text as the panel draws it:
// `shapeWidth` is the text's measured width in pixels. The character each
// column 1..columns receives (index 0 unused), as the own-character sources
// pick them.
std::vector<std::string> ColumnCharacters(const std::string& shape, int32_t shapeWidth, int32_t columns,
                                          int byteWidth);

// The cells' colours as sampled (0x00BBGGRR; -1 for an unreadable point,
// which is ink), row by row, columns x rows.
struct SampledRaster {
    int32_t columns = 0, rows = 0;
    std::vector<int32_t> colours;
    // The colour each cell shows in ANSI and HTML when it is no shape text's;
    // empty: the shape text's default text colour for every cell.
    std::vector<uint32_t> cellColours;
};

// The window's composition of sampled cells for the fill and own-character
// sources: threshold colour compare (or, with `dither`, error diffusion of
// the same packed value), inversion with its row-end text, and 补齐 computed.
// `shapeWidth` is the shape text's measured width (own-character sources).
Composed ComposeSampled(const Choices& choices, const SampledRaster& raster, int32_t shapeWidth);

// Ramp sources over cell colours (area means or samples), each cell coloured
// by its mean.
Composed ComposeRamp(const Choices& choices, const Ramp& ramp, const std::vector<Rgb>& colours, int32_t columns,
                     int32_t rows);

// A ramp from the choices: an explicit one at even steps, or the printable
// ASCII (or, for the double-byte ramp, a set of Chinese characters)
// measured in `glyphs`.
Ramp ChoiceRamp(const Choices& choices, Glyphs* glyphs);

// Where 接顶 moves a drawing on the raster: the offsets that bring its first
// ink row and column to `margin`; an axis with no ink keeps kDrawOffset.
struct Offsets {
    int32_t x = kDrawOffset, y = kDrawOffset;
};
Offsets AlignToCorner(const SampledRaster& raster, int32_t threshold, int32_t margin);
// The raster redrawn `dx`, `dy` pixels further, uncovered points `background`.
SampledRaster Shifted(const SampledRaster& raster, int32_t dx, int32_t dy, int32_t background);

// qizi's picture grid: width and height given, one of them with the other
// from the aspects (cellAspect is the cell's height over its width), or the
// largest inside the fit box. A side that rounds to 0 becomes 1; a side over
// kMaxGrid is an error naming the limit.
struct GridSize {
    int32_t columns = 0, rows = 0;
    std::string error;
};
GridSize PictureGrid(const Choices& choices, int32_t pictureWidth, int32_t pictureHeight, double cellAspect);

// A picture's pixels (0x00BBGGRR, row by row) as a raster for the sampled
// sources: area means over the grid, with the window's one-cell margin of
// paper around it, 接顶 applied.
SampledRaster PictureRaster(const Choices& choices, const std::vector<int32_t>& pixels, int32_t width,
                            int32_t height, int32_t columns, int32_t rows);

// A shape text drawn as the panel draws it: the grid measured from its extent
// (+1, +1 at size 9 or 12, +7, +1 in italics), the text at kDrawOffset, 接顶
// applied, coverage turned into black on white.
SampledRaster ShapeRaster(const Choices& choices, Glyphs& glyphs, int32_t* shapeWidth);

// The whole composition for qizi's native build and any front end without a
// panel: a shape text through `glyphs`, or a picture's pixels; `rampGlyphs`
// measures a ramp that is not given (may be null when one is).
Composed Compose(const Choices& choices, Glyphs* shapeGlyphs, Glyphs* rampGlyphs, const std::vector<int32_t>* pixels,
                 int32_t pictureWidth, int32_t pictureHeight);

}  // namespace core
