// The text-art composer: draws the shape on the panel, samples one point per
// grid cell and writes a line of text per row into the display.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/application.h"
#include "app/composer.h"

namespace program {

int32_t thresholdColour = 0;
int32_t drawOffsetX = 0, drawOffsetY = 0;
int32_t textGridWidth = 0, textGridHeight = 0;
int32_t pictureGridWidth = 0, pictureGridHeight = 0;

namespace {

constexpr int kTextCellLimit = 9333;
constexpr int kPictureCellLimit = 10350;
constexpr double kTolerance = 1e-7;

// The boundary colour of each choice of 分界色组合框.
constexpr int32_t kThresholds[] = {0xFFFFFF, 0xECECEC, 0xC0C0C0, 0x808080, 0x606060, 0};

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

bool IsInk(int32_t colour) { return colour < thresholdColour; }

// Appends spaces to `shorter` until it is at least as long in bytes as
// `longer`; stops if a write does not lengthen it (a length limit of the box).
void PadToLength(const UnitRef& shorter, const UnitRef& longer) {
    int32_t previous = -1;
    for (;;) {
        std::string text = Content(shorter);
        int32_t length = ByteLength(text);
        if (length >= ByteLength(Content(longer)) || length == previous) return;
        previous = length;
        SetContent(shorter, text + K.oneSpace);
    }
}

// The character a cell of each column receives in the own-character modes:
// the shape text's character under that column, for a character of `width`
// bytes (1 or 2). The position follows the column only, so one row serves all.
std::vector<std::string> ColumnCharacters(const std::string& shape, int32_t columns, int width) {
    std::vector<std::string> characters(static_cast<size_t>(columns) + 1);
    double pixelsPerByte = static_cast<double>(Measure(CoreCommand::TextWidth, shape)) /
                           static_cast<double>(Command(CoreCommand::TextLength, {TextValue(shape.c_str())}).Int());
    double w = Truncate(pixelsPerByte);
    int32_t p = 1;
    std::string current;
    int32_t currentAt = 0;
    for (int32_t x = 1; x <= columns; ++x) {
        if (x - w * (p + (width == 2 ? 1 : 0)) > kTolerance) p += width;
        if (p != currentAt) {
            current = Command(CoreCommand::MidText, {TextValue(shape.c_str()), IntValue(p), IntValue(width)}).Text();
            currentAt = p;
        }
        characters[x] = current;
    }
    return characters;
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
    if (choice >= 0 && choice < static_cast<int32_t>(sizeof kThresholds / sizeof kThresholds[0]))
        thresholdColour = kThresholds[choice];
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
    std::vector<int32_t> grid = SampleGrid(columns, rows);
    if (grid.empty()) return;
    auto ink = [&](int32_t c, int32_t r) { return IsInk(grid[static_cast<size_t>(r - 1) * columns + (c - 1)]); };
    for (int32_t r = 1; r <= rows; ++r) {
        bool found = false;
        for (int32_t c = 1; c <= columns && !found; ++c) found = ink(c, r);
        if (found) {
            drawOffsetY = margin - r;
            break;
        }
    }
    for (int32_t c = 1; c <= columns; ++c) {
        bool found = false;
        for (int32_t r = 1; r <= rows && !found; ++r) found = ink(c, r);
        if (found) {
            drawOffsetX = margin - c;
            break;
        }
    }
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

ComposedGrid ComposeGrid(int32_t columns, int32_t rows, const std::vector<uint8_t>* inkCells) {
    ComposedGrid composed;
    std::string shape = Content(kShapeTextBox), fill = Content(kFillTextBox), blank = Content(kBlankTextBox);
    int32_t source = Selection(W::别字本字);
    // Nothing runs between the cells that could tick or untick the box, so
    // one read serves the whole grid.
    bool inverted = Ticked(W::反向);

    // What an ink and a paper cell of each column receives, and what ends a row.
    std::vector<std::string> ink, paper;
    if (source == kFillTexts) {
        ink.assign(static_cast<size_t>(columns) + 1, fill);
        paper.assign(static_cast<size_t>(columns) + 1, blank);
    } else if (source == kOwnDoubleByte || source == kOwnSingleByte) {
        int width = source == kOwnDoubleByte ? 2 : 1;
        ink = ColumnCharacters(shape, columns, width);
        paper.assign(static_cast<size_t>(columns) + 1, width == 2 ? K.twoSpaces : K.oneSpace);
        if (inverted)
            composed.rowEnd = Command(CoreCommand::RightText, {TextValue(shape.c_str()), IntValue(width)}).Text();
    } else {
        return composed;
    }
    if (inverted) ink.swap(paper);
    composed.rowEnd += K.lineEnd;

    size_t cells = columns > 0 && rows > 0 ? static_cast<size_t>(columns) * static_cast<size_t>(rows) : 0;
    std::vector<uint8_t> sampled;
    if (!inkCells || inkCells->size() != cells) {
        std::vector<int32_t> grid = SampleGrid(columns, rows);
        sampled.reserve(grid.size());
        for (int32_t colour : grid) sampled.push_back(IsInk(colour) ? 1 : 0);
        inkCells = &sampled;
    }
    if (inkCells->empty()) return composed;
    composed.columns = columns;
    composed.rows = rows;
    composed.cells.reserve(cells);
    const uint8_t* cell = inkCells->data();
    for (int32_t y = 1; y <= rows; ++y)
        for (int32_t x = 1; x <= columns; ++x, ++cell) composed.cells.push_back(*cell ? ink[x] : paper[x]);
    return composed;
}

std::string ComposeText(int32_t columns, int32_t rows) { return ComposeGrid(columns, rows).Text(); }

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
