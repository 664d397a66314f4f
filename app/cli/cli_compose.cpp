#include "app/cli/cli_compose.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/application.h"
#include "app/program.h"
#include "core/grid.h"

namespace cli {

using namespace program;

namespace {

// The panel's drawings are replayed off the screen when sampled, so the
// largest picture drawn for area means is bounded by memory, not the panel.
constexpr double kMaxDrawnPixels = 2e6;
// Ramp candidates are measured large enough for their strokes to count.
constexpr int32_t kMeasuringSize = 36;

// Double-byte candidates from a blank to a dense square, in no order.
const char kWideCandidates[] =
    "　、丶一二十人八口三川大山日目田由甲电里回国图画品量圆鼎黑齉龘圖鬱靈團馨響";

void SetFont(const Choices& c) {
    const int32_t members[] = {c.bold, c.italic, c.strikeout, c.underline, c.size};
    for (int member = 1; member <= 5; ++member) {
        SetPanelFont(member, members[member - 1]);
        SetEditFont(kShapeTextBox, member, members[member - 1]);
    }
    WriteText(W::画板1, Own(qy::draw_panel::kFont), c.font, 6);
    WriteText(kShapeTextBox, Own(qy::edit_box::kFont), c.font, 6);
    SetPosition(W::字符大小, c.size);
    for (auto [box, ticked] : {std::pair{W::粗, c.bold}, {W::斜, c.italic}, {W::删, c.strikeout}, {W::下, c.underline}})
        SetTicked(box, ticked);
}

// The units as the window would hold them for these choices.
void ApplyChoices(const Choices& c, bool pictureMode) {
    SetButtonCaption(W::砌字成图, pictureMode ? K.pictureMode : K.textMode);
    SetContent(kShapeTextBox, c.text);
    SetContent(kFillTextBox, c.fill);
    SetContent(kBlankTextBox, c.blank);
    SetFont(c);
    // The ramps pick their own characters; the box keeps a source of its own.
    CharacterSource source = c.source == Source::kFill     ? kFillTexts
                             : c.source == Source::kSingle ? kOwnSingleByte
                                                           : kOwnDoubleByte;
    SetSelection(W::别字本字, source);
    SetSelection(W::分界色组合框, c.threshold);
    SetTicked(W::反向, c.invert);
    SetTicked(W::补齐, c.pad);
    SetTicked(W::接顶, c.top);
    SetTicked(W::锁定比例, c.lock);
}

// Colours of the panel from (0, 0), row by row; empty when unreadable.
std::vector<int32_t> PanelColours(int32_t width, int32_t height) {
    Result grid = Method(W::画板1, CoreCommand::ReadPixelGrid, {IntValue(0), IntValue(0), IntValue(width), IntValue(height)});
    std::vector<int32_t> colours;
    if (qy::ByteSetLength(grid.Block()) != width * height * 4) return colours;
    colours.resize(static_cast<size_t>(width) * height);
    std::memcpy(colours.data(), qy::ByteSetData(grid.Block()), colours.size() * 4);
    return colours;
}

// The picture's mean colours over a grid of cells, drawn at its own size
// (or smaller, for a very large one) and averaged.
std::vector<Rgb> PictureMeans(int32_t picture, int columns, int rows) {
    int32_t width = Method(W::画板1, CoreCommand::PictureWidth, {IntValue(picture)}).Int();
    int32_t height = Method(W::画板1, CoreCommand::PictureHeight, {IntValue(picture)}).Int();
    double pixels = static_cast<double>(width) * height;
    if (pixels > kMaxDrawnPixels) {
        double scale = std::sqrt(kMaxDrawnPixels / pixels);
        width = std::max(1, static_cast<int32_t>(width * scale));
        height = std::max(1, static_cast<int32_t>(height * scale));
    }
    if (width <= 0 || height <= 0) return std::vector<Rgb>(static_cast<size_t>(columns) * rows);
    Method(W::画板1, CoreCommand::Clear, {});
    Method(W::画板1, CoreCommand::DrawPicture,
           {IntValue(picture), IntValue(0), IntValue(0), IntValue(width), IntValue(height)});
    return AreaMeans(PanelColours(width, height), width, height, columns, rows);
}

std::vector<double> Brightness(const std::vector<Rgb>& colours) {
    std::vector<double> values;
    values.reserve(colours.size());
    for (const Rgb& c : colours) values.push_back(c.Brightness());
    return values;
}

// What the panel shows at the cells: an unreadable point (-1) is ink, as the
// threshold test takes it.
std::vector<Rgb> SampledRgb(int32_t columns, int32_t rows) {
    std::vector<Rgb> colours;
    for (int32_t colour : SampledColours(columns, rows))
        colours.push_back(colour == -1 ? Rgb{0, 0, 0} : FromColourRef(colour));
    return colours;
}

Document Refused(const std::string& why, bool limit) {
    Document d;
    d.refusal = why;
    d.refusalIsLimit = limit;
    return d;
}

Document RampDocument(const Choices& c, const std::vector<Rgb>& colours, int columns, int rows) {
    if (columns <= 0 || rows <= 0 || colours.size() != static_cast<size_t>(columns) * rows)
        return Refused("the drawing of " + std::to_string(columns) + " x " + std::to_string(rows) +
                           " cells could not be read",
                       false);
    Document d;
    d.columns = columns, d.rows = rows;
    d.rowEnd = K.lineEnd;
    Ramp ramp = c.ramp.empty() ? FontRamp(c, c.source == Source::kWideRamp) : EvenRamp(GbkCharacters(c.ramp));
    std::vector<double> values = Brightness(colours);
    if (c.invert)
        for (double& v : values) v = 1 - v;
    std::vector<int> indexes = Quantise(values, columns, rows, ramp.levels, Midpoints(ramp.levels), c.dither);
    for (int k : indexes) d.cells.push_back(ramp.characters.empty() ? std::string(" ") : ramp.characters[k]);
    d.colours = colours;
    d.coloured.assign(d.cells.size(), 1);
    d.tones = true;
    return d;
}

}  // namespace

void StartComposer() {
    InitRuntime();
    // The FPU starts from its default control word whatever the loader left.
    __asm__ volatile("fninit");
    // A window not yet loaded keeps Visible in its record, so it loads hidden.
    WriteInt(W::窗口, qy::kPropertyVisible, 0);
    Svc_LoadStartupWindow(kStartupWindowId);
}

int32_t LoadPictureBytes(const std::string& bytes) {
    std::vector<uint8_t> block(8 + bytes.size());
    int32_t header[2] = {1, static_cast<int32_t>(bytes.size())};
    std::memcpy(block.data(), header, 8);
    if (!bytes.empty()) std::memcpy(block.data() + 8, bytes.data(), bytes.size());
    return Command(CoreCommand::LoadPicture, {ByteSetValue(block.data())}).Int();
}

Ramp FontRamp(const Choices& c, bool wide) {
    std::vector<std::string> candidates;
    if (wide) {
        candidates = GbkCharacters(kWideCandidates);
    } else {
        for (char ch = ' '; ch <= '~'; ++ch) candidates.push_back(std::string(1, ch));
    }
    SetPanelFont(5, kMeasuringSize);
    std::vector<double> coverage;
    for (const std::string& ch : candidates) {
        Method(W::画板1, CoreCommand::Clear, {});
        Method(W::画板1, CoreCommand::WriteAt, {IntValue(0), IntValue(0), TextValue(ch.c_str())});
        int32_t width = Method(W::画板1, CoreCommand::TextWidth, {TextValue(ch.c_str())}).Int();
        int32_t height = Method(W::画板1, CoreCommand::TextHeight, {TextValue(ch.c_str())}).Int();
        std::vector<int32_t> colours = width > 0 && height > 0 ? PanelColours(width, height) : std::vector<int32_t>();
        double ink = 0;
        for (int32_t colour : colours) ink += 1 - FromColourRef(colour).Brightness();
        coverage.push_back(colours.empty() ? 0 : ink / colours.size());
    }
    SetPanelFont(5, c.size);
    return MeasuredRamp(candidates, coverage);
}

namespace {
// A cell's height over its width in the font the cells are read in: a
// double-byte cell is about square, a single-byte one as the font's "M".
double CellAspect(const Choices& c) {
    bool doubleByte = c.source == Source::kWideRamp || c.source == Source::kDouble ||
                      (c.source == Source::kFill && DisplayWidth(c.fill) >= 2);
    if (doubleByte) return 1.0;
    int32_t width = Method(W::画板1, CoreCommand::TextWidth, {TextValue("M")}).Int();
    int32_t height = Method(W::画板1, CoreCommand::TextHeight, {TextValue("M")}).Int();
    return width > 0 && height > 0 ? static_cast<double>(height) / width : 2.0;
}

// A grid too large to compose, by its sides or by the bytes its text would take.
std::string GridLimitExceeded(int64_t columns, int64_t rows, size_t cellBytes) {
    if (columns > kMaxGrid || rows > kMaxGrid)
        return "the grid would be " + std::to_string(columns) + " x " + std::to_string(rows) +
               " cells; the limit is " + std::to_string(kMaxGrid) + " x " + std::to_string(kMaxGrid);
    if (static_cast<double>(columns) * rows * std::max<size_t>(cellBytes, 2) > static_cast<double>(kMaxOutputBytes))
        return "the text picture would pass the limit of " + std::to_string(kMaxOutputBytes >> 20) + " MiB";
    return std::string();
}
}  // namespace

Document Compose(const Choices& choices, int32_t picture) {
    Choices c = choices;
    // Padded here in one step; the boxes would take it a space at a time.
    PadFillTexts(c.pad, &c.fill, &c.blank);
    c.pad = false;
    bool pictureMode = picture != 0;
    bool ramp = c.source == Source::kRamp || c.source == Source::kWideRamp;
    ApplyChoices(c, pictureMode);
    if (pictureMode) ReplaceCurrentPicture(picture);
    if (pictureMode) {
        // qizi's grid: both sides as given, or one from the picture's and the cell's aspect.
        int32_t width = Method(W::画板1, CoreCommand::PictureWidth, {IntValue(picture)}).Int();
        int32_t height = Method(W::画板1, CoreCommand::PictureHeight, {IntValue(picture)}).Int();
        GridSize size = PictureGrid(c, width, height, CellAspect(c));
        if (!size.error.empty()) return Refused(size.error, width > 0 && height > 0);
        SetPictureGrid(size.columns, size.rows, false);
    }
    if (pictureMode && ramp) {
        return RampDocument(c, PictureMeans(picture, pictureGridWidth, pictureGridHeight), pictureGridWidth,
                            pictureGridHeight);
    }
    EqualiseFillTexts();
    int32_t columns, rows;
    if (pictureMode) {
        columns = pictureGridWidth + 2, rows = pictureGridHeight + 2;
    } else {
        MeasureTextGrid();
        columns = textGridWidth, rows = textGridHeight;
    }
    size_t cellBytes = ramp ? 2 : std::max(c.fill.size(), c.blank.size());
    // A picture's margins do not count against the limit.
    int margin = pictureMode ? 2 : 0;
    if (std::string limit = GridLimitExceeded(columns - margin, rows - margin, cellBytes); !limit.empty())
        return Refused(limit, true);
    DrawMeasuredShape();
    if (ramp) return RampDocument(c, SampledRgb(columns, rows), columns, rows);

    Document d;
    static_cast<ComposedGrid&>(d) = ComposeGrid(columns, rows, c.dither);
    if (d.cells.empty())
        return Refused("the drawing of " + std::to_string(columns) + " x " + std::to_string(rows) +
                           " cells could not be read",
                       false);
    // Cells take the picture's colour under them; the margins and a shape
    // text take the terminal's or page's own text colour.
    d.colours.assign(d.cells.size(), Rgb{0, 0, 0});
    d.coloured.assign(d.cells.size(), 0);
    if (pictureMode && !d.cells.empty()) {
        int32_t offsetX = drawOffsetX, offsetY = drawOffsetY;
        std::vector<Rgb> means = PictureMeans(picture, pictureGridWidth, pictureGridHeight);
        for (int y = 1; y <= d.rows; ++y)
            for (int x = 1; x <= d.columns; ++x) {
                int px = x - offsetX, py = y - offsetY;
                if (px >= 0 && py >= 0 && px < pictureGridWidth && py < pictureGridHeight) {
                    size_t k = static_cast<size_t>(y - 1) * d.columns + (x - 1);
                    d.colours[k] = means[static_cast<size_t>(py) * pictureGridWidth + px];
                    d.coloured[k] = 1;
                }
            }
    }
    return d;
}

}  // namespace cli

namespace cli {

core::Grid ToGrid(const Document& d) {
    core::Grid g;
    g.columns = d.columns, g.rows = d.rows, g.tones = d.tones;
    g.cells.reserve(d.cells.size());
    auto channel = [](double v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
    for (size_t k = 0; k < d.cells.size(); ++k) {
        core::Cell cell = g.MakeCell(d.cells[k]);
        if (k < d.coloured.size() && d.coloured[k]) {
            cell.colour = channel(d.colours[k].r) | channel(d.colours[k].g) << 8 | channel(d.colours[k].b) << 16;
            cell.defaultColour = 0;
        }
        g.cells.push_back(cell);
    }
    // The row end is the row's tail and then the line end.
    g.rowTail = d.rowEnd.substr(0, d.rowEnd.size() - std::min<size_t>(d.rowEnd.size(), g.lineEnd.size()));
    return g;
}

}  // namespace cli
