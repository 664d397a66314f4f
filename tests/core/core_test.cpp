// The core as a front end uses it: options into choices, rasters into grids,
// grids into the three writers' exact bytes.
#include <gtest/gtest.h>

#include "core/choices.h"
#include "core/grid.h"
#include "core/writers.h"

namespace core {
namespace {

Choices Parsed(const std::vector<std::string>& args) {
    ParsedLine line = ParseCommandLine(args);
    EXPECT_EQ(line.error, "") << args.front();
    return line.choices;
}

std::string ParseError(const std::vector<std::string>& args) { return ParseCommandLine(args).error; }

TEST(Choices, ShortFlagsCombineAndLimitsAreNamed) {
    Choices c = Parsed({"-id", "-W80", "--fit", "100x50", "x"});
    EXPECT_TRUE(c.invert && c.dither);
    EXPECT_TRUE(c.widthGiven && !c.heightGiven);
    EXPECT_EQ(c.width, 80);
    EXPECT_EQ(c.fitWidth * 1000 + c.fitHeight, 100050);
    EXPECT_EQ(Parsed({"-iW", "12", "x"}).width, 12);
    EXPECT_EQ(ParseError({"-iq", "x"}), "unknown option -q");
    EXPECT_EQ(ParseError({"--fit", "1001x5", "x"}), "--fit must be WxH, each a whole number from 1 to 1000");
    EXPECT_EQ(ParseError({"--fill", std::string(20001, 'a'), "x"}), "--fill is 20001 bytes; the limit is 20000 bytes");
    EXPECT_EQ(ParseError({std::string(1001, 'a')}), "the TEXT is 1001 bytes; the limit is 1000 bytes");
    // A GB18030 four-byte character (U+00E7 is 81 30 86 38) fits UTF-8, not GBK.
    const std::string cedilla = "\x81\x30\x86\x38";
    EXPECT_EQ(ParseError({"--fill", cedilla, "x"}), "");
    EXPECT_EQ(ParseError({"-e", "gbk", "--fill", cedilla, "x"}),
              "--fill has characters that GBK cannot hold; use --encoding utf8");
}

SampledRaster Raster(int32_t columns, int32_t rows, std::vector<int32_t> colours) {
    SampledRaster r;
    r.columns = columns, r.rows = rows, r.colours = std::move(colours);
    return r;
}

TEST(Grid, FillCellsFollowThePackedColourWithAndWithoutDither) {
    Choices c;
    c.source = Source::kFill, c.fill = "顶";  // 补齐 pads the empty blank text to two spaces
    // Pure blue is numerically above 灰色's boundary, so paper; -1 is ink.
    SampledRaster r = Raster(3, 1, {0xFF0000, -1, 0x000000});
    EXPECT_EQ(WriteText(ComposeSampled(c, r, 0).grid), "  顶顶\r\n");
    c.dither = true;
    EXPECT_EQ(WriteText(ComposeSampled(c, r, 0).grid), "  顶顶\r\n");
    c.invert = true, c.dither = false, c.pad = false;
    EXPECT_EQ(WriteText(ComposeSampled(c, r, 0).grid), "顶\r\n");
}

TEST(Grid, OwnCharactersFollowTheMeasuredColumnsAndInversionEndsEachRow) {
    Choices c;
    c.text = "我爱";  // 24 pixels wide: 6 a byte, a character every 12 columns
    std::vector<int32_t> ink(14, 0);
    EXPECT_EQ(WriteText(ComposeSampled(c, Raster(14, 1, ink), 24).grid), "我我我我我我我我我我我我爱爱\r\n");
    c.invert = true;
    EXPECT_EQ(WriteText(ComposeSampled(c, Raster(2, 2, {0, 0xFFFFFF, 0, 0}), 24).grid), "  我爱\r\n    爱\r\n");
    c.source = Source::kSingle, c.text = "ab";
    EXPECT_EQ(WriteText(ComposeSampled(c, Raster(2, 1, {0xFFFFFF, 0}), 2).grid), "a b\r\n");
}

TEST(Grid, EmptyGridsAreRefusedAndTheOutputIsCapped) {
    Choices c;
    Composed empty = ComposeSampled(c, Raster(0, 0, {}), 10);
    EXPECT_EQ(empty.exitCode, kFailed);
    EXPECT_EQ(empty.error, "nothing to compose: the grid is empty");
    EXPECT_EQ(ComposeSampled(c, Raster(3, 3, {0}), 10).exitCode, kFailed);
    c.source = Source::kFill, c.fill = std::string(20000, 'x');
    Composed huge = ComposeSampled(c, Raster(100, 100, std::vector<int32_t>(10000, 0)), 0);
    EXPECT_EQ(huge.exitCode, kBadLine);
    EXPECT_EQ(huge.error, "the text picture would be 190 MiB; the limit is 64 MiB");
}

TEST(Grid, PictureGridFollowsTheCellAspect) {
    Choices c;
    c.width = 80, c.widthGiven = true;
    EXPECT_EQ(PictureGrid(c, 400, 328, 2.0).rows, 33);
    c.height = 40, c.heightGiven = true;
    GridSize both = PictureGrid(c, 400, 328, 2.0);
    EXPECT_EQ(both.columns * 1000 + both.rows, 80040);
    c.widthGiven = false;
    EXPECT_EQ(PictureGrid(c, 400, 328, 2.0).columns, 98);
    Choices fit;
    fit.fitWidth = 100, fit.fitHeight = 20;
    GridSize inside = PictureGrid(fit, 400, 328, 2.0);
    EXPECT_EQ(inside.columns * 1000 + inside.rows, 49020);
    Choices line;  // 3000 x 1 at 44 columns: the rows round to 0 and become 1
    EXPECT_EQ(PictureGrid(line, 3000, 1, 2.0).rows, 1);
    line.height = 1000, line.heightGiven = true;
    EXPECT_EQ(PictureGrid(line, 3000, 1, 2.0).error, "the grid would be 6000000 x 1000 cells; the limit is 1000 x 1000");
}

TEST(Grid, RampsQuantiseBrightnessAndInvert) {
    Choices c;
    c.source = Source::kRamp, c.ramp = " .#";
    std::vector<Rgb> colours = {{255, 255, 255}, {128, 128, 128}, {0, 0, 0}};
    EXPECT_EQ(WriteText(ComposeRamp(c, ChoiceRamp(c, nullptr), colours, 3, 1).grid), " .#\r\n");
    c.invert = true;
    EXPECT_EQ(WriteText(ComposeRamp(c, ChoiceRamp(c, nullptr), colours, 3, 1).grid), "#. \r\n");
}

// A 2 x 2 grid: a coloured row, then a shape row in the default colour.
Grid Sample() {
    Grid g;
    g.columns = 2, g.rows = 2, g.rowTail = "爱";
    Cell a = g.MakeCell("a"), wide = g.MakeCell("顶"), blank = g.MakeCell("  ");
    a.colour = 0x0000FF, a.defaultColour = 0;
    wide.colour = 0x0000FF, wide.defaultColour = 0;
    g.cells = {a, wide, blank, g.MakeCell("<")};
    return g;
}

TEST(Writers, TextAnsiAndHtmlBytes) {
    Grid g = Sample();
    EXPECT_EQ(WriteText(g), "a顶爱\r\n  <爱\r\n");
    EXPECT_EQ(WriteAnsi(g), "\x1b[38;2;255;0;0ma顶\x1b[0m爱\r\n  <爱\r\n");
    std::string html = WriteHtml(g, Encoding::kUtf8);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("font-family:monospace"), std::string::npos);
    EXPECT_EQ(html.find("SimSun"), std::string::npos);
    size_t body = html.find("<pre>\n");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(html.substr(body),
              "<pre>\n<span style=\"color:#ff0000\"><i>a</i><b>顶</b></span><b>爱</b>\n<b>  </b><i>&lt;</i><b>爱</b>\n"
              "</pre></body></html>\n");
    g.tones = true;  // a ramp's light colours are darkened to read on white
    for (Cell& cell : g.cells) cell.colour = 0x00FFFF;
    EXPECT_NE(WriteHtml(g, Encoding::kGbk).find("color:#828200"), std::string::npos);
}

}  // namespace
}  // namespace core
