#include "app/cli/cli_compose.h"

#include <algorithm>
#include <memory>

#include "app/cli/encoding.h"
#include "app/cli/gdi_glyphs.h"
#include "core/shapes.h"
#include "media/picture/picture.h"
#include "native/picture_pixels.h"

namespace cli {

namespace {

// Ramp candidates are measured large enough for their strokes to count.
constexpr int32_t kMeasuringSize = 36;
// Ramps and shapes are read in a terminal, so they are measured in a monospace face.
const char kMonospaceFace[] = "新宋体";
// White, the panel's paper.
constexpr int32_t kPaper = 0xFFFFFF;

Composed Refused(const std::string& why, int exitCode) {
    Composed composed;
    composed.error = why;
    composed.exitCode = exitCode;
    return composed;
}

FontSpec ShapeFont(const Choices& c) {
    return FontSpec{c.font.empty() ? std::string("宋体") : c.font, c.size, c.bold, c.italic, c.underline, c.strikeout};
}

// The drawing sampled at cells 1..columns, 1..rows; with 接顶 drawn once at
// the panel's offset, its first ink found on the grid of alignColumns x
// alignRows cells and drawn again where that ink meets the margin.
SampledRaster SampleAligned(const Choices& c, HFONT font, int32_t columns, int32_t rows, int32_t alignColumns,
                            int32_t alignRows, int32_t margin, const std::function<void(HDC, int32_t, int32_t)>& draw,
                            Offsets* used) {
    Offsets offsets;
    if (c.top) {
        SampledRaster first;
        first.columns = alignColumns, first.rows = alignRows;
        first.colours = SampleDrawing(alignColumns, alignRows, font,
                                      [&](HDC dc) { draw(dc, kDrawOffset, kDrawOffset); });
        if (!first.colours.empty()) offsets = AlignToCorner(first, c.ThresholdColour(), margin);
    }
    SampledRaster raster;
    raster.columns = columns, raster.rows = rows;
    raster.colours = SampleDrawing(columns, rows, font, [&](HDC dc) { draw(dc, offsets.x, offsets.y); });
    if (used) *used = offsets;
    return raster;
}

Composed ComposeShapeText(const Choices& c) {
    GdiGlyphs shape(ShapeFont(c));
    Glyphs::Extent extent = shape.Measure(c.text);
    int32_t columns = extent.advance + 1, rows = extent.lineHeight + 1;
    if (c.size == 9 || c.size == 12) rows += 1;
    // Room for the italic overhang.
    if (c.italic) columns += 7, rows += 1;
    if (columns > kMaxGrid || rows > kMaxGrid)
        return Refused("the shape text would take " + std::to_string(columns) + " x " + std::to_string(rows) +
                           " cells; the limit is " + std::to_string(kMaxGrid) + " x " + std::to_string(kMaxGrid),
                       kBadLine);
    auto draw = [&](HDC dc, int32_t x, int32_t y) { WriteShape(dc, x, y, c.text); };
    SampledRaster raster = SampleAligned(c, shape.font(), columns, rows, columns, rows, kTextTopMargin, draw, nullptr);
    if (raster.colours.empty())
        return Refused("the drawing of " + std::to_string(columns) + " x " + std::to_string(rows) +
                           " cells could not be made",
                       kFailed);
    bool drawn = std::any_of(raster.colours.begin(), raster.colours.end(), [](int32_t k) { return k != kPaper; });
    if (!drawn || extent.advance <= 0) return Refused("nothing to compose: the shape text draws nothing", kFailed);
    if (c.IsRamp()) {
        std::vector<Rgb> colours;
        colours.reserve(raster.colours.size());
        for (int32_t colour : raster.colours) colours.push_back(FromColourRef(colour));
        return ComposeRamp(c, FontRamp(c, c.source == Source::kWideRamp), colours, columns, rows);
    }
    return ComposeSampled(c, raster, extent.advance);
}

// The window's sources on a picture: drawn stretched onto the grid, one cell
// of paper around it, each cell coloured by the picture's mean under it.
Composed ComposePictureCells(const Choices& c, const qy::Picture& picture, const std::vector<int32_t>& pixels,
                             int32_t gridColumns, int32_t gridRows) {
    GdiGlyphs shape(ShapeFont(c));
    int32_t columns = gridColumns + 2, rows = gridRows + 2;
    auto draw = [&](HDC dc, int32_t x, int32_t y) { DrawPictureAt(dc, picture, x, y, gridColumns, gridRows); };
    Offsets offsets;
    SampledRaster raster =
        SampleAligned(c, shape.font(), columns, rows, gridColumns, gridRows, kPictureTopMargin, draw, &offsets);
    if (raster.colours.empty())
        return Refused("the drawing of " + std::to_string(columns) + " x " + std::to_string(rows) +
                           " cells could not be made",
                       kFailed);
    std::vector<Rgb> means = AreaMeans(pixels, picture.width, picture.height, gridColumns, gridRows);
    auto channel = [](double v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
    raster.cellColours.assign(raster.colours.size(), static_cast<uint32_t>(-1));
    for (int32_t y = 1; y <= rows; ++y)
        for (int32_t x = 1; x <= columns; ++x) {
            int32_t px = x - offsets.x, py = y - offsets.y;
            if (px < 0 || py < 0 || px >= gridColumns || py >= gridRows || means.empty()) continue;
            const Rgb& m = means[static_cast<size_t>(py) * gridColumns + px];
            raster.cellColours[static_cast<size_t>(y - 1) * columns + (x - 1)] =
                channel(m.r) | channel(m.g) << 8 | channel(m.b) << 16;
        }
    int32_t shapeWidth = c.source == Source::kFill ? 0 : shape.Measure(c.text).advance;
    return ComposeSampled(c, raster, shapeWidth);
}

// The shape source: the monospace face at the smallest size whose cell is at
// least 12 x 24 pixels, 宋体 beside it for the double-width characters.
Composed ComposeShapePicture(const Choices& c, const std::vector<int32_t>& pixels, int32_t width, int32_t height,
                             std::vector<std::string>* missing) {
    constexpr int32_t kLeastCellWidth = 12, kLeastCellHeight = 24;
    FontSpec font{c.font.empty() ? std::string(kMonospaceFace) : c.font, 1, c.bold, c.italic, false, false};
    std::unique_ptr<GdiGlyphs> narrow;
    for (; font.size <= kMaxFontSize; ++font.size) {
        narrow = std::make_unique<GdiGlyphs>(font);
        Glyphs::Extent cell = narrow->Measure("M");
        if (cell.advance >= kLeastCellWidth && cell.lineHeight >= kLeastCellHeight) break;
    }
    FontSpec wideFont = font;
    wideFont.family = "宋体";
    GdiGlyphs wide(wideFont);
    ShapeFonts fonts;
    fonts.narrow = narrow.get();
    fonts.wide = &wide;
    // A code point the code page cannot spell is left out of the candidates.
    fonts.encode = [](char32_t point) -> std::string {
        if (point > 0xFFFF) return std::string();
        std::wstring wide(1, static_cast<wchar_t>(point));
        BOOL lossy = FALSE;
        char bytes[8];
        int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), 1, bytes, sizeof bytes, nullptr, &lossy);
        return n > 0 && !lossy ? std::string(bytes, static_cast<size_t>(n)) : std::string();
    };
    ShapeComposed shaped = ComposeShapes(c, fonts, pixels, width, height);
    if (missing) *missing = std::move(shaped.missing);
    return std::move(shaped.composed);
}

}  // namespace

Ramp FontRamp(const Choices& c, bool wide) {
    Choices measured = c;
    measured.source = wide ? Source::kWideRamp : Source::kRamp;
    if (!c.ramp.empty() && c.IsRamp()) return ChoiceRamp(c, nullptr);
    measured.ramp.clear();
    GdiGlyphs glyphs(FontSpec{c.font.empty() ? std::string(kMonospaceFace) : c.font, kMeasuringSize});
    return ChoiceRamp(measured, &glyphs);
}

Composed ComposeChoices(const Choices& c, const std::string* pictureBytes, bool* notAPicture,
                        std::vector<std::string>* missing) {
    *notAPicture = false;
    if (!pictureBytes) return ComposeShapeText(c);

    // Our decoders give the pixels; the platform's own kinds (icons) are drawn for them.
    native::Pixels pixels;
    std::unique_ptr<qy::Picture> picture;
    bool decoded = native::DecodeToPixels(*pictureBytes, &pixels);
    bool ownPixels = c.IsRamp() || c.source == Source::kShape;
    if (!decoded || !ownPixels) {
        picture = qy::DecodePicture(pictureBytes->data(), static_cast<int>(pictureBytes->size()));
        if (!picture) {
            *notAPicture = true;
            return Refused("not a picture that can be decoded", kFailed);
        }
        if (!decoded) {
            pixels.width = picture->width, pixels.height = picture->height;
            pixels.colours = PicturePixels(*picture);
        }
    }
    if (c.source == Source::kShape) return ComposeShapePicture(c, pixels.colours, pixels.width, pixels.height, missing);
    if (c.IsRamp()) {
        GdiGlyphs ramp(FontSpec{c.font.empty() ? std::string(kMonospaceFace) : c.font, kMeasuringSize});
        return Compose(c, nullptr, &ramp, &pixels.colours, pixels.width, pixels.height);
    }
    // qizi's grid from the picture's and the cell's aspect in the shape font.
    GdiGlyphs shape(ShapeFont(c));
    bool doubleByte = c.source == Source::kDouble || (c.source == Source::kFill && DisplayWidth(c.fill) >= 2);
    GridSize size = PictureGrid(c, pixels.width, pixels.height, CellAspect(shape, doubleByte));
    if (!size.error.empty()) return Refused(size.error, pixels.width > 0 && pixels.height > 0 ? kBadLine : kFailed);
    return ComposePictureCells(c, *picture, pixels.colours, size.columns, size.rows);
}

}  // namespace cli
