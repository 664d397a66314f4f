#include "core/grid.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {

constexpr double kTolerance = 1e-7;
constexpr int32_t kPaper = 0xFFFFFF;

// Truncation toward zero as the window's FPU stores it: a value that does
// not fit (or is not a number) becomes the integer indefinite.
int32_t Truncate(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// The window's MidText: bytes from a 1-based position, empty outside the text.
std::string MidText(const std::string& text, int32_t position, int32_t count) {
    if (position < 1 || static_cast<size_t>(position) > text.size() || count <= 0) return std::string();
    return text.substr(static_cast<size_t>(position) - 1, static_cast<size_t>(count));
}

// A four-byte GB18030 character (none is GBK) whose bytes include the one at
// `at`, whole; empty when that byte belongs to no such character.
std::string FourByteCharacterAt(const std::string& text, size_t at) {
    for (size_t i = 0; i < text.size() && i <= at;) {
        size_t length = static_cast<uint8_t>(text[i]) < 0x81 ? 1
                        : i + 3 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9' ? 4
                                                                                       : 2;
        if (length == 4 && at < i + 4) return text.substr(i, 4);
        i += length;
    }
    return std::string();
}

std::string RightText(const std::string& text, size_t count) {
    return text.substr(text.size() - std::min(count, text.size()));
}

Composed Refused(std::string error, int exitCode) {
    Composed composed;
    composed.error = std::move(error);
    composed.exitCode = exitCode;
    return composed;
}

// A grid whose text would pass the output limit is refused before it is made.
std::string OutputTooLarge(int64_t cells, size_t widest, int32_t rows, size_t rowExtra) {
    double bytes = static_cast<double>(cells) * static_cast<double>(widest) +
                   static_cast<double>(rows) * static_cast<double>(rowExtra);
    if (bytes <= static_cast<double>(kMaxOutputBytes)) return std::string();
    return "the text picture would be " + std::to_string(static_cast<int64_t>(bytes / (1 << 20))) +
           " MiB; the limit is " + std::to_string(kMaxOutputBytes >> 20) + " MiB";
}

uint32_t Packed(const Rgb& c) {
    auto channel = [](double v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
    return channel(c.r) | channel(c.g) << 8 | channel(c.b) << 16;
}

}  // namespace

int32_t DisplayWidth(const std::string& text) {
    int32_t width = 0;
    for (size_t i = 0; i < text.size();) {
        uint8_t lead = static_cast<uint8_t>(text[i]);
        if (lead < 0x81 || i + 1 >= text.size()) {
            width += 1, i += 1;
        } else {
            uint8_t next = static_cast<uint8_t>(text[i + 1]);
            width += 2;
            i += next >= 0x30 && next <= 0x39 && i + 3 < text.size() ? 4 : 2;
        }
    }
    return width;
}

Cell Grid::MakeCell(const std::string& text) {
    Cell cell;
    auto found = std::find(texts.begin(), texts.end(), text);
    cell.text = static_cast<uint16_t>(found - texts.begin());
    if (found == texts.end()) texts.push_back(text);
    cell.width = static_cast<uint16_t>(std::min<int32_t>(DisplayWidth(text), 0xFFFF));
    return cell;
}

std::vector<std::string> ColumnCharacters(const std::string& shape, int32_t shapeWidth, int32_t columns,
                                          int byteWidth) {
    std::vector<std::string> characters(static_cast<size_t>(std::max(columns, 0)) + 1);
    double w = Truncate(static_cast<double>(shapeWidth) / static_cast<double>(shape.size()));
    int32_t p = 1;
    for (int32_t x = 1; x <= columns; ++x) {
        if (x - w * (p + (byteWidth == 2 ? 1 : 0)) > kTolerance) p += byteWidth;
        // Both halves of a four-byte character stand for all of it.
        std::string whole = byteWidth == 2 && p >= 1 ? FourByteCharacterAt(shape, static_cast<size_t>(p) - 1) : "";
        characters[x] = whole.empty() ? MidText(shape, p, byteWidth) : whole;
    }
    return characters;
}

Composed ComposeSampled(const Choices& c, const SampledRaster& raster, int32_t shapeWidth) {
    int32_t columns = raster.columns, rows = raster.rows;
    size_t cells = columns > 0 && rows > 0 ? static_cast<size_t>(columns) * rows : 0;
    if (cells == 0 || raster.colours.size() != cells) return Refused("nothing to compose: the grid is empty", kFailed);
    if (!raster.cellColours.empty() && raster.cellColours.size() != cells)
        return Refused("nothing to compose: the colours do not cover the grid", kFailed);
    Composed composed;
    Grid& g = composed.grid;

    // What an ink and a paper cell of each column receives.
    std::vector<Cell> ink, paper;
    std::string fill = c.fill, blank = c.blank;
    if (c.source == Source::kFill) {
        PadFillTexts(c.pad, &fill, &blank);
        std::string tooLarge = OutputTooLarge(static_cast<int64_t>(cells), std::max(fill.size(), blank.size()), rows, 2);
        if (!tooLarge.empty()) return Refused(tooLarge, kBadLine);
        ink.assign(static_cast<size_t>(columns) + 1, g.MakeCell(fill));
        paper.assign(static_cast<size_t>(columns) + 1, g.MakeCell(blank));
    } else if (c.source == Source::kDouble || c.source == Source::kSingle) {
        int width = c.source == Source::kDouble ? 2 : 1;
        for (const std::string& character : ColumnCharacters(c.text, shapeWidth, columns, width))
            ink.push_back(g.MakeCell(character));
        paper.assign(static_cast<size_t>(columns) + 1, g.MakeCell(width == 2 ? "  " : " "));
        if (c.invert) g.rowTail = RightText(c.text, static_cast<size_t>(width));
    } else {
        return Refused("nothing to compose: a ramp is no source of ink and paper", kFailed);
    }
    if (c.invert) ink.swap(paper);

    // Ink is the packed colour below the threshold colour; dithering spreads
    // the same packed value's error, so the two paths agree on every colour.
    std::vector<uint8_t> inked(cells);
    int32_t threshold = c.ThresholdColour();
    if (c.dither) {
        std::vector<double> values(cells);
        for (size_t k = 0; k < cells; ++k)
            values[k] = raster.colours[k] == -1 ? 0.0 : static_cast<double>(raster.colours[k]) / kPaper;
        double boundary = static_cast<double>(threshold) / kPaper;
        std::vector<int> levels = Quantise(values, columns, rows, {1.0, 0.0}, {boundary}, true);
        for (size_t k = 0; k < cells; ++k) inked[k] = raster.colours[k] == -1 || levels[k] == 1;
    } else {
        for (size_t k = 0; k < cells; ++k) inked[k] = raster.colours[k] < threshold;
    }

    g.columns = columns, g.rows = rows;
    g.cells.reserve(cells);
    size_t k = 0;
    for (int32_t y = 1; y <= rows; ++y)
        for (int32_t x = 1; x <= columns; ++x, ++k) {
            Cell cell = inked[k] ? ink[x] : paper[x];
            if (!raster.cellColours.empty() && raster.cellColours[k] != static_cast<uint32_t>(-1)) {
                cell.colour = raster.cellColours[k] & 0xFFFFFF;
                cell.defaultColour = 0;
            }
            cell.ink = inked[k];
            g.cells.push_back(cell);
        }
    return composed;
}

namespace {

// Ramp cells from each cell's brightness and packed colour.
Composed RampCells(const Choices& c, const Ramp& ramp, const std::vector<double>& values,
                   const std::vector<uint32_t>& packed, int32_t columns, int32_t rows) {
    size_t cells = columns > 0 && rows > 0 ? static_cast<size_t>(columns) * rows : 0;
    if (cells == 0 || values.size() != cells) return Refused("nothing to compose: the grid is empty", kFailed);
    if (ramp.characters.empty()) return Refused("nothing to compose: the ramp has no characters", kFailed);
    size_t widest = 0;
    for (const std::string& character : ramp.characters) widest = std::max(widest, character.size());
    std::string tooLarge = OutputTooLarge(static_cast<int64_t>(cells), widest, rows, 2);
    if (!tooLarge.empty()) return Refused(tooLarge, kBadLine);

    Composed composed;
    Grid& g = composed.grid;
    g.columns = columns, g.rows = rows, g.tones = true;
    std::vector<Cell> byLevel;
    for (const std::string& character : ramp.characters) byLevel.push_back(g.MakeCell(character));
    std::vector<int> indexes = Quantise(values, columns, rows, ramp.levels, Midpoints(ramp.levels), c.dither);
    g.cells.reserve(cells);
    for (size_t k = 0; k < cells; ++k) {
        Cell cell = byLevel[static_cast<size_t>(indexes[k])];
        cell.colour = packed[k];
        cell.defaultColour = 0;
        cell.ink = indexes[k] > 0;
        g.cells.push_back(cell);
    }
    return composed;
}

// Brightness (inverted with 反向) and packed colour of a cell.
void Tone(const Choices& c, const Rgb& colour, double* value, uint32_t* packed) {
    *value = c.invert ? 1 - colour.Brightness() : colour.Brightness();
    *packed = Packed(colour);
}

}  // namespace

Composed ComposeRamp(const Choices& c, const Ramp& ramp, const std::vector<Rgb>& colours, int32_t columns,
                     int32_t rows) {
    std::vector<double> values(colours.size());
    std::vector<uint32_t> packed(colours.size());
    for (size_t k = 0; k < colours.size(); ++k) Tone(c, colours[k], &values[k], &packed[k]);
    return RampCells(c, ramp, values, packed, columns, rows);
}

Offsets AlignToCorner(const SampledRaster& raster, int32_t threshold, int32_t margin) {
    Offsets offsets;
    int32_t columns = raster.columns, rows = raster.rows;
    if (columns <= 0 || rows <= 0 || raster.colours.size() != static_cast<size_t>(columns) * rows) return offsets;
    auto ink = [&](int32_t c, int32_t r) { return raster.colours[static_cast<size_t>(r - 1) * columns + (c - 1)] < threshold; };
    for (int32_t r = 1; r <= rows; ++r) {
        bool found = false;
        for (int32_t col = 1; col <= columns && !found; ++col) found = ink(col, r);
        if (found) {
            offsets.y = margin - r;
            break;
        }
    }
    for (int32_t col = 1; col <= columns; ++col) {
        bool found = false;
        for (int32_t r = 1; r <= rows && !found; ++r) found = ink(col, r);
        if (found) {
            offsets.x = margin - col;
            break;
        }
    }
    return offsets;
}

SampledRaster Shifted(const SampledRaster& raster, int32_t dx, int32_t dy, int32_t background) {
    SampledRaster shifted = raster;
    int32_t columns = raster.columns, rows = raster.rows;
    bool coloured = !raster.cellColours.empty();
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x) {
            int32_t fromX = x - dx, fromY = y - dy;
            size_t to = static_cast<size_t>(y) * columns + x;
            bool inside = fromX >= 0 && fromY >= 0 && fromX < columns && fromY < rows;
            size_t from = inside ? static_cast<size_t>(fromY) * columns + fromX : 0;
            shifted.colours[to] = inside ? raster.colours[from] : background;
            if (coloured) shifted.cellColours[to] = inside ? raster.cellColours[from] : static_cast<uint32_t>(-1);
        }
    return shifted;
}

GridSize PictureGrid(const Choices& c, int32_t pictureWidth, int32_t pictureHeight, double cellAspect) {
    GridSize size;
    if (pictureWidth <= 0 || pictureHeight <= 0 || !(cellAspect > 0)) {
        size.error = "nothing to compose: the picture has no pixels";
        return size;
    }
    // Rows per column that keep the picture's shape in cells of this aspect.
    double rowsPerColumn = static_cast<double>(pictureHeight) / pictureWidth / cellAspect;
    double columns, rows;
    if (c.widthGiven && c.heightGiven) {
        columns = c.width, rows = c.height;
    } else if (c.heightGiven) {
        rows = c.height, columns = std::round(rows / rowsPerColumn);
    } else if (c.fitWidth > 0) {
        columns = c.fitWidth, rows = std::round(columns * rowsPerColumn);
        if (rows > c.fitHeight) rows = c.fitHeight, columns = std::min<double>(c.fitWidth, std::round(rows / rowsPerColumn));
    } else {
        columns = c.width, rows = std::round(columns * rowsPerColumn);
    }
    columns = std::max(columns, 1.0), rows = std::max(rows, 1.0);
    if (columns > kMaxGrid || rows > kMaxGrid) {
        size.error = "the grid would be " + std::to_string(static_cast<int64_t>(std::min(columns, 1e12))) + " x " +
                     std::to_string(static_cast<int64_t>(std::min(rows, 1e12))) + " cells; the limit is " +
                     std::to_string(kMaxGrid) + " x " + std::to_string(kMaxGrid);
        return size;
    }
    size.columns = static_cast<int32_t>(columns), size.rows = static_cast<int32_t>(rows);
    return size;
}

SampledRaster PictureRaster(const Choices& c, const std::vector<int32_t>& pixels, int32_t width, int32_t height,
                            int32_t columns, int32_t rows) {
    std::vector<Rgb> means = AreaMeans(pixels, width, height, columns, rows);
    // The window draws the picture at kDrawOffset on a grid one cell larger on
    // every side, so the first cell sampled is the margin.
    SampledRaster raster;
    raster.columns = columns + 2, raster.rows = rows + 2;
    size_t cells = static_cast<size_t>(raster.columns) * raster.rows;
    raster.colours.assign(cells, kPaper);
    raster.cellColours.assign(cells, static_cast<uint32_t>(-1));
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x) {
            size_t to = static_cast<size_t>(y + 1) * raster.columns + (x + 1);
            uint32_t packed = Packed(means[static_cast<size_t>(y) * columns + x]);
            raster.colours[to] = static_cast<int32_t>(packed);
            raster.cellColours[to] = packed;
        }
    if (c.top) {
        Offsets o = AlignToCorner(raster, c.ThresholdColour(), kPictureTopMargin);
        raster = Shifted(raster, o.x - kDrawOffset, o.y - kDrawOffset, kPaper);
    }
    return raster;
}

SampledRaster ShapeRaster(const Choices& c, Glyphs& glyphs, int32_t* shapeWidth) {
    Glyphs::Extent extent = glyphs.Measure(c.text);
    *shapeWidth = extent.advance;
    SampledRaster raster;
    raster.columns = extent.advance + 1, raster.rows = extent.lineHeight + 1;
    if (c.size == 9 || c.size == 12) raster.rows += 1;
    if (c.italic) raster.columns += 7, raster.rows += 1;
    if (raster.columns > kMaxGrid || raster.rows > kMaxGrid) return raster;
    // The panel's point (0, 0) is never sampled: the mask holds it too.
    CoverageMask mask;
    mask.width = raster.columns + 1, mask.height = raster.rows + 1;
    mask.coverage.assign(static_cast<size_t>(mask.width) * mask.height, 0);
    glyphs.Render(c.text, kDrawOffset, kDrawOffset, &mask);
    raster.colours.resize(static_cast<size_t>(raster.columns) * raster.rows);
    for (int32_t y = 1; y <= raster.rows; ++y)
        for (int32_t x = 1; x <= raster.columns; ++x) {
            int32_t grey = 255 - mask.At(x, y);
            raster.colours[static_cast<size_t>(y - 1) * raster.columns + (x - 1)] = grey * 0x010101;
        }
    if (c.top) {
        Offsets o = AlignToCorner(raster, c.ThresholdColour(), kTextTopMargin);
        raster = Shifted(raster, o.x - kDrawOffset, o.y - kDrawOffset, kPaper);
    }
    return raster;
}

Ramp ChoiceRamp(const Choices& c, Glyphs* glyphs) {
    if (!c.ramp.empty()) return EvenRamp(GbkCharacters(c.ramp));
    std::vector<std::string> candidates;
    if (c.source == Source::kWideRamp) {
        candidates = GbkCharacters("　、丶一二十人八口三川大山日目田由甲电里回国图画品量圆鼎黑齉龘圖鬱靈團馨響");
    } else {
        for (char ch = ' '; ch <= '~'; ++ch) candidates.push_back(std::string(1, ch));
    }
    if (!glyphs) return EvenRamp(candidates);
    std::vector<double> coverage;
    for (const std::string& ch : candidates) coverage.push_back(InkCoverage(*glyphs, ch));
    return MeasuredRamp(candidates, coverage);
}

Composed Compose(const Choices& c, Glyphs* shapeGlyphs, Glyphs* rampGlyphs, const std::vector<int32_t>* pixels,
                 int32_t pictureWidth, int32_t pictureHeight) {
    bool picture = pixels != nullptr;
    if (picture) {
        Glyphs* cellGlyphs = c.IsRamp() ? rampGlyphs : shapeGlyphs;
        bool doubleByte = c.source == Source::kWideRamp || c.source == Source::kDouble ||
                          (c.source == Source::kFill && DisplayWidth(c.fill) >= 2);
        double aspect = cellGlyphs ? CellAspect(*cellGlyphs, doubleByte) : (doubleByte ? 1.0 : 2.0);
        GridSize size = PictureGrid(c, pictureWidth, pictureHeight, aspect);
        if (!size.error.empty()) return Refused(size.error, size.columns == 0 && pictureWidth <= 0 ? kFailed : kBadLine);
        if (c.IsRamp()) {
            // Each mean is used at once: a large grid need not hold them all.
            size_t cells = static_cast<size_t>(size.columns) * size.rows;
            std::vector<double> values(cells);
            std::vector<uint32_t> packed(cells);
            ForEachAreaMean(*pixels, pictureWidth, pictureHeight, size.columns, size.rows,
                            [&](size_t k, const Rgb& mean) { Tone(c, mean, &values[k], &packed[k]); });
            return RampCells(c, ChoiceRamp(c, rampGlyphs), values, packed, size.columns, size.rows);
        }
        // The own characters follow the columns of the shape text as drawn.
        int32_t shapeWidth = c.source != Source::kFill && shapeGlyphs ? shapeGlyphs->Measure(c.text).advance : 0;
        return ComposeSampled(c, PictureRaster(c, *pixels, pictureWidth, pictureHeight, size.columns, size.rows),
                              shapeWidth);
    }
    if (!shapeGlyphs) return Refused("nothing to compose: no font for the shape text", kFailed);
    int32_t shapeWidth = 0;
    SampledRaster raster = ShapeRaster(c, *shapeGlyphs, &shapeWidth);
    if (raster.columns > kMaxGrid || raster.rows > kMaxGrid)
        return Refused("the shape text would take " + std::to_string(raster.columns) + " x " +
                           std::to_string(raster.rows) + " cells; the limit is " + std::to_string(kMaxGrid) + " x " +
                           std::to_string(kMaxGrid),
                       kBadLine);
    bool drawn = std::any_of(raster.colours.begin(), raster.colours.end(), [](int32_t c) { return c != kPaper; });
    if (!drawn || shapeWidth <= 0) return Refused("nothing to compose: the shape text draws nothing", kFailed);
    if (c.IsRamp()) {
        std::vector<Rgb> colours;
        colours.reserve(raster.colours.size());
        for (int32_t colour : raster.colours) colours.push_back(colour == -1 ? Rgb{0, 0, 0} : FromColourRef(colour));
        return ComposeRamp(c, ChoiceRamp(c, rampGlyphs), colours, raster.columns, raster.rows);
    }
    return ComposeSampled(c, raster, shapeWidth);
}

}  // namespace core
