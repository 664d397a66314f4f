// The shape source's matching with a face of plain rectangles: sets read as
// typed, missing characters left out, colours solved for two-colour cells,
// a line crossing a cell border drawn once.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "core/shapes.h"
#include "core/writers.h"

namespace core {
namespace {

// Cells of 12 x 24; "-" is a bar across the middle, "#" lacks a glyph.
class BarGlyphs : public Glyphs {
public:
    Extent Measure(const std::string& text) override { return {12 * static_cast<int32_t>(text.size()), 24}; }
    void Render(const std::string& text, int32_t x, int32_t y, CoverageMask* mask) override {
        if (text != "-") return;
        for (int32_t row = y + 10; row < y + 14; ++row)
            for (int32_t column = x; column < x + 12; ++column) mask->coverage[row * mask->width + column] = 255;
    }
    bool Has(const std::string& text) override { return text != "#"; }
};

// A double-byte code of each point past ASCII, as GB18030 gives them.
std::string Named(char32_t point) {
    if (point < 0x80) return std::string(1, static_cast<char>(point));
    return {static_cast<char>(0x81 + ((point >> 7) & 0x7F)), static_cast<char>(0x40 + (point & 0x7F))};
}

ShapeComposed Shapes(const std::string& symbols, Format format, const std::vector<int32_t>& pixels, int32_t w,
                     int32_t h, int32_t columns = 1, int32_t rows = 1, bool invert = false) {
    Choices c;
    c.source = Source::kShape;
    c.symbols = symbols;
    c.format = format;
    c.invert = invert;
    c.width = columns, c.height = rows, c.widthGiven = c.heightGiven = true;
    BarGlyphs glyphs;
    ShapeFonts fonts;
    fonts.narrow = &glyphs;
    fonts.encode = Named;
    return ComposeShapes(c, fonts, pixels, w, h);
}

TEST(Shapes, SetsAreReadAsTypedAndListedBlocksStayGeometry) {
    std::string error;
    std::vector<Symbol> s = ShapeSymbols("ascii,blocks,ascii", Named, &error);
    EXPECT_EQ(error, "");
    ASSERT_EQ(s.size(), 95u + 32u) << "repeats are dropped";
    EXPECT_EQ(s[95 + 16].text, Named(0x2590));
    EXPECT_EQ(s[95 + 16].block, 16);
    s = ShapeSymbols("x" + Named(0x2590) + Named(0x2502) + "\xd6\xd0", Named, &error);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[1].block, 16) << "a listed block element is still drawn as geometry";
    EXPECT_EQ(s[2].width, 1) << "box drawing takes one column";
    EXPECT_EQ(s[3].width, 2);
    EXPECT_EQ(GbkCharacters("\x81\x30\x81\x30\xd6\xd0" "x").size(), 3u) << "GB18030's four bytes are one character";
    EXPECT_EQ(ShapeSymbols("ascii,", Named, &error).size(), 0u);
    EXPECT_NE(error, "");
    EXPECT_EQ(BlockMask(16, 12, 24).At(5, 3), 0);
    EXPECT_EQ(BlockMask(16, 12, 24).At(6, 3), 255);
    EXPECT_EQ(BlockMask(4, 12, 23).At(0, 11), 128) << "an edge through a pixel covers part of it";
}

TEST(Shapes, ColoursOfATwoColourCellAreSolvedAndMissingGlyphsLeftOut) {
    // Red above and below, a blue bar across the middle: "-" with blue ink on red.
    std::vector<int32_t> pixels(12 * 24, 0x0A0AC8);
    for (int32_t i = 10 * 12; i < 14 * 12; ++i) pixels[static_cast<size_t>(i)] = 0xE6140A;
    ShapeComposed s = Shapes("- #", Format::kAnsi, pixels, 12, 24);
    ASSERT_EQ(s.composed.error, "");
    EXPECT_EQ(s.missing, std::vector<std::string>{"#"});
    const Grid& g = s.composed.grid;
    ASSERT_EQ(g.backgrounds.size(), 1u);
    EXPECT_EQ(g.Text(g.cells[0]), "-");
    for (int shift = 0; shift < 24; shift += 8) {
        EXPECT_NEAR((g.cells[0].colour >> shift) & 0xFF, (0xE6140Au >> shift) & 0xFF, 2) << shift;
        EXPECT_NEAR((g.backgrounds[0] >> shift) & 0xFF, (0x0A0AC8u >> shift) & 0xFF, 2) << shift;
    }
    // Half blue, half red across: the left half block, red on blue.
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 12; ++x) pixels[static_cast<size_t>(y * 12 + x)] = x < 6 ? 0x0A0AC8 : 0xE6140A;
    s = Shapes("blocks", Format::kHtml, pixels, 12, 24);
    // Either half block fits exactly, with the colours the other way round.
    bool left = s.composed.grid.Text(s.composed.grid.cells[0]) == Named(0x258C);
    EXPECT_TRUE(left || s.composed.grid.Text(s.composed.grid.cells[0]) == Named(0x2590));
    EXPECT_NEAR(s.composed.grid.cells[0].colour & 0xFF, left ? 0xC8 : 0x0A, 2);
    EXPECT_NEAR(s.composed.grid.backgrounds[0] & 0xFF, left ? 0x0A : 0xC8, 2);
    std::string html = WriteHtml(s.composed.grid, Encoding::kUtf8);
    EXPECT_NE(html.find("background:#"), std::string::npos);
    EXPECT_NE(html.find("<i>" + s.composed.grid.Text(s.composed.grid.cells[0]) + "</i>"), std::string::npos)
        << "a block element is one column wide in its two bytes";
}

TEST(Shapes, InkSpansThePicturesTonesAndAnEdgeBetweenMiddleTonesKeepsItsShape) {
    // Grey 80, grey 176, then 108 left of 148: the darkest tone is full ink,
    // and the last cell's edge a half block, not the flat shade of its mean.
    std::vector<int32_t> pixels(36 * 24);
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 36; ++x) {
            int32_t grey = x < 12 ? 80 : x < 24 ? 176 : x < 30 ? 108 : 148;
            pixels[static_cast<size_t>(y * 36 + x)] = grey * 0x010101;
        }
    const Grid g = Shapes("blocks, ", Format::kText, pixels, 36, 24, 3).composed.grid;
    ASSERT_EQ(g.cells.size(), 3u);
    EXPECT_EQ(g.Text(g.cells[0]), Named(0x2588));
    EXPECT_EQ(g.Text(g.cells[1]), " ");
    EXPECT_EQ(g.Text(g.cells[2]), Named(0x258C));
}

TEST(Shapes, AQuadrantPatternGivesItsQuadrantsEnlargedAsWellAsReduced) {
    // Half-cell units, dark or light, over 3 x 2 cells, drawn at 1 x 1, 6 x 12
    // and 12 x 24 pixels a unit: stretched up, one to one and down by area
    // means, each cell takes the block element of its four units.
    const char* units[] = {"DLDDLL", "DLLDLD", "LLDDDL", "DDDDLL"};
    for (int32_t scale : {1, 6, 12}) {
        const int32_t w = 6 * scale, h = 4 * 2 * scale;
        std::vector<int32_t> pixels(static_cast<size_t>(w) * h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                pixels[static_cast<size_t>(y * w + x)] = units[y / (2 * scale)][x / scale] == 'D' ? 0 : 0xFFFFFF;
        const Grid g = Shapes("blocks", Format::kText, pixels, w, h, 3, 2).composed.grid;
        ASSERT_EQ(g.cells.size(), 6u);
        std::string text;
        for (const Cell& cell : g.cells) text += g.Text(cell);
        EXPECT_EQ(text, Named(0x258C) + Named(0x259C) + Named(0x2597) + Named(0x2584) + Named(0x2588) +
                            Named(0x2598))
            << "a unit of " << scale << " pixels across";
    }
}

TEST(Shapes, ALineCrossingIntoTheNextCellIsDrawnThereNoMore) {
    // Light ink on dark paper, a dark line 8 pixels wide leaning across the
    // middle row, its top 3 pixels past the second cell. Matched alone, the
    // third cell would take that corner for a dark quadrant beside the line;
    // seen with the second cell's drawing, it stays lit.
    const int32_t w = 48, h = 72;
    std::vector<int32_t> pixels(static_cast<size_t>(w) * h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            double off = std::abs(x + 0.5 - (23 - (y - 24) * 0.27));
            int32_t grey = off < 4 ? 20 : off < 5 ? static_cast<int32_t>(20 + (off - 4) * 220) : 240;
            pixels[static_cast<size_t>(y * w + x)] = grey * 0x010101;
        }
    const Grid g = Shapes("blocks", Format::kText, pixels, w, h, 4, 3, true).composed.grid;
    ASSERT_EQ(g.cells.size(), 12u);
    std::string middle;
    for (size_t x = 4; x < 8; ++x) middle += g.Text(g.cells[x]);
    EXPECT_EQ(middle, Named(0x2588) + Named(0x2598) + Named(0x2588) + Named(0x2588));
}

}  // namespace
}  // namespace core
