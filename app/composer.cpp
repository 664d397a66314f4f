// The text-art composer: draws the shape on the panel, samples one point per
// grid cell and writes a line of text per row into the display.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/application.h"
#include "app/composer.h"
#include "core/choices.h"
#include "core/grid.h"
#include "core/writers.h"

namespace program {

int32_t thresholdColour = 0;
int32_t drawOffsetX = 0, drawOffsetY = 0;
int32_t textGridWidth = 0, textGridHeight = 0;
int32_t pictureGridWidth = 0, pictureGridHeight = 0;

namespace {

constexpr int kTextCellLimit = 9333;
constexpr int kPictureCellLimit = 10350;
constexpr double kTolerance = 1e-7;
constexpr int32_t kThresholdCount = sizeof core::kThresholdColours / sizeof core::kThresholdColours[0];

// Truncation toward zero as the FPU stores it: a value that does not fit
// (or is not a number) becomes the integer indefinite.
int32_t Truncate(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t Measure(CoreCommand command, const std::string& text) {
    return Method(W::画板1, command, {TextValue(text.c_str())}).Int();
}

// The colours of the drawing at the cells (1..columns, 1..rows), row by row.
std::vector<int32_t> SampleGrid(int32_t columns, int32_t rows) {
    std::vector<int32_t> colours;
    if (columns <= 0 || rows <= 0) return colours;
    Result grid = Method(W::画板1, CoreCommand::ReadPixelGrid,
                         {IntValue(1), IntValue(1), IntValue(columns), IntValue(rows)});
    int length = qy::ByteSetLength(grid.Block());
    size_t cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
    if (length != static_cast<int>(cells * 4)) return colours;
    colours.resize(cells);
    std::memcpy(colours.data(), qy::ByteSetData(grid.Block()), cells * 4);
    return colours;
}

// Pads `shorter` with spaces to the byte length of `longer` in one write; a
// box that holds less keeps what fits, as typing space after space would.
void PadToLength(const UnitRef& shorter, const UnitRef& longer) {
    std::string text = Content(shorter);
    int32_t length = ByteLength(text), target = ByteLength(Content(longer));
    if (length < target) SetContent(shorter, text + std::string(static_cast<size_t>(target - length), ' '));
}

// The composer's choices as the units hold them, read once. The fill texts
// are taken as EqualiseFillTexts left them in their boxes.
core::Choices ReadChoices() {
    core::Choices c;
    c.text = Content(kShapeTextBox);
    c.fill = Content(kFillTextBox);
    c.blank = Content(kBlankTextBox);
    switch (Selection(W::别字本字)) {
        case kFillTexts: c.source = core::Source::kFill; break;
        case kOwnDoubleByte: c.source = core::Source::kDouble; break;
        case kOwnSingleByte: c.source = core::Source::kSingle; break;
        // No source of ink and paper: nothing is composed.
        default: c.source = core::Source::kRamp; break;
    }
    // The boundary in force is the one last drawn with, which an unknown choice left alone.
    c.threshold = kThresholdCount - 1;
    for (int32_t k = 0; k < kThresholdCount; ++k)
        if (core::kThresholdColours[k] == thresholdColour) c.threshold = k;
    c.invert = Ticked(W::反向);
    c.pad = false;
    c.top = Ticked(W::接顶);
    return c;
}

}  // namespace

Mode CurrentMode() {
    std::string caption = ButtonCaption(W::砌字成图);
    if (caption == K.textMode) return Mode::kShapeText;
    if (caption == K.pictureMode) return Mode::kPicture;
    return Mode::kOther;
}

void EqualiseFillTexts() {
    if (!Ticked(W::补齐)) return;
    PadToLength(kBlankTextBox, kFillTextBox);
    PadToLength(kFillTextBox, kBlankTextBox);
}

void GenerateTextArt() {
    EqualiseFillTexts();
    switch (CurrentMode()) {
        case Mode::kShapeText:
            if (!Content(kShapeTextBox).empty()) {
                MeasureTextGrid();
                if (static_cast<double>(textGridWidth) * textGridHeight - kTextCellLimit < -kTolerance)
                    ComposeTextArt(textGridWidth, textGridHeight, K.textSoundTag);
            }
            break;
        case Mode::kPicture:
            MeasurePictureGrid();
            if (static_cast<double>(pictureGridWidth) * pictureGridHeight - kPictureCellLimit < -kTolerance)
                ComposeTextArt(pictureGridWidth + 2, pictureGridHeight + 2, K.pictureSoundTag);
            break;
        case Mode::kOther:
            break;
    }
    // Copied even when nothing was composed: the previous result goes.
    if (Ticked(W::复制1)) Command(CoreCommand::SetClipboardText, {TextValue(Content(kDisplayBox).c_str())});
}

void MeasureTextGrid() {
    std::string shape = Content(kShapeTextBox);
    textGridWidth = Truncate(static_cast<double>(Measure(CoreCommand::TextWidth, shape)) + 1);
    textGridHeight = Truncate(static_cast<double>(Measure(CoreCommand::TextHeight, shape)) + 1);
    int32_t size = Position(W::字符大小);
    if (size == 9 || size == 12) textGridHeight += 1;
    if (Ticked(W::斜)) {
        // Room for the italic overhang.
        textGridWidth += 7;
        textGridHeight += 1;
    }
}

namespace {
struct PictureSize {
    int32_t width, height;
};
PictureSize CurrentPictureSize() {
    return PictureSize{Method(W::画板1, CoreCommand::PictureWidth, {IntValue(currentPicture)}).Int(),
                       Method(W::画板1, CoreCommand::PictureHeight, {IntValue(currentPicture)}).Int()};
}
}  // namespace

void SetPictureGrid(int32_t width, int32_t height, bool locked) {
    pictureGridWidth = width;
    pictureGridHeight = height;
    if (!locked) return;
    PictureSize picture = CurrentPictureSize();
    if (picture.width == picture.height) {
        pictureGridHeight = width;
    } else if (picture.width > picture.height) {
        pictureGridHeight = Truncate(static_cast<double>(width) * picture.height / picture.width);
    } else {
        pictureGridWidth = Truncate(static_cast<double>(height) * picture.width / picture.height);
    }
}

void MeasurePictureGrid() { SetPictureGrid(Position(W::图片宽), Position(W::图片高), Ticked(W::锁定比例)); }

void UpdateLockedAxis() {
    bool width = true, height = true;
    if (Ticked(W::锁定比例)) {
        PictureSize picture = CurrentPictureSize();
        width = picture.width >= picture.height;
        height = !width;
    }
    for (const UnitRef& unit : {W::图片宽, W::图片宽1, W::说明1}) SetEnabled(unit, width);
    for (const UnitRef& unit : {W::图片高, W::图片高1, W::说明2}) SetEnabled(unit, height);
}

void DrawShapePreview() {
    switch (CurrentMode()) {
        case Mode::kShapeText: MeasureTextGrid(); break;
        case Mode::kPicture: MeasurePictureGrid(); break;
        case Mode::kOther: break;
    }
    DrawMeasuredShape();
}

void DrawMeasuredShape() {
    int32_t choice = Selection(W::分界色组合框);
    if (choice >= 0 && choice < kThresholdCount) thresholdColour = core::kThresholdColours[choice];
    drawOffsetX = 2;
    drawOffsetY = 2;
    switch (CurrentMode()) {
        case Mode::kShapeText: {
            std::string shape = Content(kShapeTextBox);
            auto draw = [&](int32_t x, int32_t y) {
                Method(W::画板1, CoreCommand::Clear, {});
                Method(W::画板1, CoreCommand::WriteAt, {IntValue(x), IntValue(y), TextValue(shape.c_str())});
            };
            if (Ticked(W::接顶)) {
                draw(2, 2);
                AlignShapeToCorner(textGridWidth, textGridHeight, 4);
            }
            draw(drawOffsetX, drawOffsetY);
            break;
        }
        case Mode::kPicture: {
            auto draw = [&](int32_t x, int32_t y) {
                Method(W::画板1, CoreCommand::Clear, {});
                Method(W::画板1, CoreCommand::DrawPicture,
                       {IntValue(currentPicture), IntValue(x), IntValue(y), IntValue(pictureGridWidth),
                        IntValue(pictureGridHeight)});
            };
            if (Ticked(W::接顶)) {
                draw(2, 2);
                AlignShapeToCorner(pictureGridWidth, pictureGridHeight, 1);
            }
            draw(drawOffsetX, drawOffsetY);
            break;
        }
        case Mode::kOther:
            break;
    }
}

void AlignShapeToCorner(int32_t columns, int32_t rows, int32_t margin) {
    core::SampledRaster raster;
    raster.columns = columns, raster.rows = rows;
    raster.colours = SampleGrid(columns, rows);
    if (raster.colours.empty()) return;
    core::Offsets offsets = core::AlignToCorner(raster, thresholdColour, margin);
    drawOffsetX = offsets.x;
    drawOffsetY = offsets.y;
}

std::string ComposedGrid::Text() const {
    std::string result;
    size_t bytes = rows * rowEnd.size();
    for (const std::string& cell : cells) bytes += cell.size();
    result.reserve(bytes);
    size_t k = 0;
    for (int32_t y = 0; y < rows; ++y) {
        for (int32_t x = 0; x < columns; ++x) result += cells[k++];
        result += rowEnd;
    }
    return result;
}

core::Composed ComposeOnPanel(const core::Choices& choices, int32_t columns, int32_t rows) {
    core::SampledRaster raster;
    raster.columns = columns, raster.rows = rows;
    raster.colours = SampleGrid(columns, rows);
    int32_t shapeWidth = choices.source == core::Source::kFill ? 0 : Measure(CoreCommand::TextWidth, choices.text);
    return core::ComposeSampled(choices, raster, shapeWidth);
}

ComposedGrid ComposeGrid(int32_t columns, int32_t rows, bool dither) {
    core::Choices choices = ReadChoices();
    choices.dither = dither;
    core::Composed composed = ComposeOnPanel(choices, columns, rows);
    ComposedGrid grid;
    if (!composed.error.empty()) return grid;
    grid.columns = composed.grid.columns, grid.rows = composed.grid.rows;
    grid.cells.reserve(composed.grid.cells.size());
    for (const core::Cell& cell : composed.grid.cells) grid.cells.push_back(composed.grid.Text(cell));
    grid.rowEnd = composed.grid.rowTail + composed.grid.lineEnd;
    return grid;
}

std::string ComposeText(int32_t columns, int32_t rows) {
    core::Composed composed = ComposeOnPanel(ReadChoices(), columns, rows);
    return composed.error.empty() ? core::WriteText(composed.grid) : std::string();
}

std::vector<int32_t> SampledColours(int32_t columns, int32_t rows) { return SampleGrid(columns, rows); }

void ComposeTextArt(int32_t columns, int32_t rows, const char* soundTag) {
    DrawShapePreview();
    SetContent(kDisplayBox, K.emptyText);
    SetContent(kDisplayBox, ComposeText(columns, rows));

    if (std::strcmp(soundTag, K.textSoundTag) == 0)
        Command(CoreCommand::PlayAudio, {ByteSetValue(&K.textSound)});
    else if (std::strcmp(soundTag, K.pictureSoundTag) == 0)
        Command(CoreCommand::PlayAudio, {ByteSetValue(&K.pictureSound)});
}

void ReplaceCurrentPicture(int32_t picture) {
    int32_t previous = currentPicture;
    currentPicture = picture;
    // Nothing refers to the old picture any more, also when the new load failed.
    if (previous != 0 && previous != picture) Command(CoreCommand::ReleasePicture, {IntValue(previous)});
}

}  // namespace program
