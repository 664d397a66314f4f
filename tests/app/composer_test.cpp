// The composer on the real main window: what each character source writes,
// the padding, the grid limits and margins, and sampling that does not
// depend on what the screen shows.
#include <algorithm>

#include "media/picture/picture_registry.h"
#include "tests/app/main_window_fixture.h"
#include "tests/media/picture/test_pictures.h"
#include "tests/support/gdi_objects.h"

namespace apptest {
namespace {

using apptest::LoadTestPicture;
int32_t LoadTestPicture(int width, int height) {
    return LoadTestPicture(pictest::Halves(width, height, {0, 0, 0, 255}, {255, 255, 255, 255}));
}

int Measure(const std::string& text) {
    return Method(W::画板1, CoreCommand::TextWidth, {TextValue(text.c_str())}).Int();
}

TEST_F(MainWindowTest, EachCharacterSourceWritesItsCellsAndRowEnds) {
    SetContent(W::编辑框2, "AB");
    SetSelection(W::别字本字, 0);
    SetContent(W::编辑框3, "顶");
    SetContent(W::编辑框4, "");
    GenerateTextArt();
    std::vector<std::string> fill = DisplayLines();
    ASSERT_EQ(static_cast<int>(fill.size()), textGridHeight);
    // 补齐 made the blank two spaces, so every line has the same length.
    for (const std::string& line : fill) EXPECT_EQ(static_cast<int>(line.size()), 2 * textGridWidth) << line;
    EXPECT_EQ(Content(W::编辑框4), "  ");
    bool anyInk = false;
    for (const std::string& line : fill) anyInk |= line.find("顶") != std::string::npos;
    EXPECT_TRUE(anyInk);

    // The own characters: each byte of the shape text covers w columns, its
    // measured width per byte, truncated. With the threshold 白色 every cell
    // is paper: blanks, or with 反向 the character of its column, and each row
    // then ends with the last character.
    SetSelection(W::分界色组合框, 5);
    const struct {
        int32_t source;
        std::string shape;
        size_t bytes;
    } modes[] = {{2, "AB", 1}, {1, "我爱你", 2}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.shape);
        SetSelection(W::别字本字, mode.source);
        SetContent(W::编辑框2, mode.shape);
        SetTicked(W::反向, false);
        GenerateTextArt();
        for (const std::string& line : DisplayLines()) EXPECT_EQ(line, std::string(mode.bytes * textGridWidth, ' '));
        SetTicked(W::反向, true);
        GenerateTextArt();
        size_t w = static_cast<size_t>(Measure(mode.shape)) / mode.shape.size();
        std::string row;
        for (size_t at = 0; at < mode.shape.size(); at += mode.bytes)
            for (size_t column = 0; column < w * mode.bytes; ++column) row += mode.shape.substr(at, mode.bytes);
        row += mode.shape.substr(mode.shape.size() - mode.bytes);
        std::vector<std::string> lines = DisplayLines();
        EXPECT_EQ(static_cast<int>(lines.size()), textGridHeight);
        for (const std::string& line : lines) EXPECT_EQ(line, row);
    }
}

// Each choice of 分界色组合框 against the colours on both sides of every
// boundary, drawn one pixel each: a sampled colour below the boundary, as a
// plain number, is ink. Pure yellow (0x00FFFF) is ink where a brightness
// measure would call it paper.
TEST_F(MainWindowTest, TheThresholdSplitsInkFromPaperAtEachBoundary) {
    const uint32_t colours[] = {0x000000, 0x00FFFF, 0x60605F, 0x606060, 0x80807F, 0x808080,
                                0xC0C0BF, 0xC0C0C0, 0xECECEB, 0xECECEC, 0xFFFFFE, 0xFFFFFF};
    const char* expected[] = {"###########.", "#########...", "#######.....",
                              "#####.......", "###.........", "............"};
    pictest::Image strip;
    strip.width = 12;
    strip.height = 1;
    for (uint32_t c : colours)
        strip.pixels.push_back({static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16), 255});
    UseMarks();
    SwitchToPictureMode();
    SetTicked(W::锁定比例, false);
    ReplaceCurrentPicture(LoadTestPicture(strip));
    SetPosition(W::图片宽, 12);
    SetPosition(W::图片高, 1);
    for (int32_t choice = 0; choice < 6; ++choice) {
        SetSelection(W::分界色组合框, choice);
        GenerateTextArt();
        std::vector<std::string> lines = DisplayLines();
        ASSERT_EQ(lines.size(), 3u);
        // The picture is drawn from the second row and column on.
        EXPECT_EQ(lines[1].substr(1, 12), expected[choice]) << "choice " << choice;
    }
}

TEST_F(MainWindowTest, PaddingEqualisesFillAndBlankTextsInBytes) {
    SetSelection(W::别字本字, 0);
    SetContent(W::编辑框3, "顶");
    SetContent(W::编辑框4, "");
    GenerateTextArt();
    EXPECT_EQ(Content(W::编辑框4), "  ");
    EXPECT_EQ(Content(W::编辑框3), "顶");

    SetContent(W::编辑框4, "    ");
    GenerateTextArt();
    EXPECT_EQ(Content(W::编辑框3), "顶  ");
    EXPECT_EQ(Content(W::编辑框4), "    ");

    // Unticked, nothing is padded.
    SetTicked(W::补齐, false);
    SetContent(W::编辑框3, "顶");
    GenerateTextArt();
    EXPECT_EQ(Content(W::编辑框3), "顶");
}

// A text of printable letters exactly `width` pixels wide in the panel's
// current font, as few letters as their measured widths allow; empty if
// none is.
std::string TextOfWidth(int width) {
    if (width <= 0) return std::string();
    std::vector<std::string> shortest(static_cast<size_t>(width) + 1);
    std::vector<bool> made(shortest.size(), false);
    made[0] = true;
    for (char c = '!'; c <= '~'; ++c) {
        int g = Measure(std::string(1, c));
        for (int w = g; g > 0 && w <= width; ++w)
            if (made[w - g] && (!made[w] || shortest[w - g].size() + 1 < shortest[w].size()))
                made[w] = true, shortest[w] = shortest[w - g] + c;
    }
    return shortest[width];
}

struct Shape {
    int32_t size = 0;
    bool italic = false;
    std::string text;
    int cells = 0;
};

void UseShape(const Shape& shape) {
    SetTicked(W::斜, shape.italic);
    SetPanelFont(qy::kFontFieldItalic, shape.italic ? 1 : 0);
    // The typed-size handler sets the panel's font; a position alone does not.
    SetContent(W::字符大小1, std::to_string(shape.size));
    SetContent(W::编辑框2, shape.text);
}

// For each limit, the largest shape-text grid of at most that many cells
// that a font size, a slant and a text of letters make in the panel's face,
// from the metrics measured at each size.
std::vector<Shape> LargestGrids(std::vector<int> limits) {
    std::vector<Shape> best(limits.size());
    for (bool italic : {false, true}) {
        for (int32_t size = 8; size <= 72; ++size) {
            UseShape(Shape{size, italic, "W", 0});
            MeasureTextGrid();
            int rows = textGridHeight, added = textGridWidth - Measure("W");
            for (size_t k = 0; k < limits.size(); ++k) {
                for (int columns = limits[k] / rows; columns * rows > best[k].cells; --columns) {
                    std::string text = TextOfWidth(columns - added);
                    if (!text.empty()) {
                        best[k] = Shape{size, italic, text, columns * rows};
                        break;
                    }
                }
            }
        }
    }
    return best;
}

TEST_F(MainWindowTest, ShapeTextGridsOfTheLimitOrMoreComposeNothing) {
    UseMarks();
    std::vector<Shape> grids = LargestGrids({9333, 9332});
    const Shape &atLimit = grids[0], &below = grids[1];
    ASSERT_EQ(atLimit.cells, 9333) << "no size, slant and letters of this font make a grid of 9333 cells";
    ASSERT_GT(below.cells, 0);
    UseShape(atLimit);
    SetContent(W::编辑框1, "unchanged");
    GenerateTextArt();
    EXPECT_EQ(textGridWidth * textGridHeight, 9333) << atLimit.text;
    EXPECT_EQ(Content(W::编辑框1), "unchanged");

    // The largest grid below the limit composes.
    UseShape(below);
    GenerateTextArt();
    EXPECT_EQ(textGridWidth * textGridHeight, below.cells) << below.text;
    std::vector<std::string> lines = DisplayLines();
    EXPECT_EQ(static_cast<int>(lines.size()), textGridHeight);
    EXPECT_EQ(static_cast<int>(lines.back().size()), textGridWidth);
}

TEST_F(MainWindowTest, PictureGridsHaveAMarginAndFollowTheLockedAxis) {
    UseMarks();
    SwitchToPictureMode();
    SetTicked(W::锁定比例, false);
    GenerateTextArt();
    std::vector<std::string> lines = DisplayLines();
    ASSERT_EQ(lines.size(), 46u);
    for (const std::string& line : lines) EXPECT_EQ(line.size(), 46u);
    EXPECT_EQ(lines[0], std::string(46, '.')) << "the top margin row";

    // Locked: the longer side follows its scroll bar, the other the ratio.
    SetTicked(W::锁定比例, true);
    ReplaceCurrentPicture(LoadTestPicture(200, 100));
    UpdateLockedAxis();
    MeasurePictureGrid();
    EXPECT_EQ(pictureGridWidth, 44);
    EXPECT_EQ(pictureGridHeight, 22);
    EXPECT_EQ(ReadInt(W::图片宽, qy::kPropertyDisabled), 0);
    EXPECT_EQ(ReadInt(W::图片高1, qy::kPropertyDisabled), 1);
    EXPECT_EQ(ReadInt(W::说明2, qy::kPropertyDisabled), 1);

    ReplaceCurrentPicture(LoadTestPicture(30, 90));
    SetPosition(W::图片高, 60);
    UpdateLockedAxis();
    MeasurePictureGrid();
    EXPECT_EQ(pictureGridHeight, 60);
    EXPECT_EQ(pictureGridWidth, 20);
    EXPECT_EQ(ReadInt(W::图片宽1, qy::kPropertyDisabled), 1);
    EXPECT_EQ(ReadInt(W::图片高, qy::kPropertyDisabled), 0);

    ReplaceCurrentPicture(LoadTestPicture(50, 50));
    UpdateLockedAxis();
    EXPECT_EQ(ReadInt(W::图片宽, qy::kPropertyDisabled), 0);
    EXPECT_EQ(ReadInt(W::图片高, qy::kPropertyDisabled), 1);
}

TEST_F(MainWindowTest, AligningToTheCornerPutsTheFirstInkAtRowAndColumnTwo) {
    UseMarks();
    SetContent(W::编辑框2, "我");
    SetTicked(W::接顶, true);
    GenerateTextArt();
    std::vector<std::string> lines = DisplayLines();
    ASSERT_GE(lines.size(), 3u);
    size_t firstRow = lines.size(), firstColumn = std::string::npos;
    for (size_t r = 0; r < lines.size(); ++r) {
        size_t c = lines[r].find('#');
        if (c == std::string::npos) continue;
        if (firstRow == lines.size()) firstRow = r;
        firstColumn = std::min(firstColumn, c);
    }
    // Cells count from 1, so the second row and column are index 1.
    EXPECT_EQ(firstRow, 1u);
    EXPECT_EQ(firstColumn, 1u);
}

TEST_F(MainWindowTest, CellsBeyondTheVisiblePanelSampleTheDrawing) {
    UseMarks();
    SwitchToPictureMode();
    SetTicked(W::锁定比例, false);
    SetPosition(W::图片宽, 40);
    SetPosition(W::图片高, 200);
    GenerateTextArt();
    std::vector<std::string> tall = DisplayLines();
    ASSERT_EQ(tall.size(), 202u);
    // The panel is far shorter than 202 rows; nothing below it turns to ink.
    for (size_t r = 120; r < tall.size(); ++r) EXPECT_NE(tall[r], std::string(42, '#')) << "row " << r + 1;
    EXPECT_EQ(tall.back(), std::string(42, '.'));

    // Hidden, the panel shows nothing of its drawing on the screen, and the
    // result stays the same.
    SetPosition(W::图片高, 44);
    GenerateTextArt();
    std::string shown = Content(W::编辑框1);
    WriteInt(W::画板1, qy::kPropertyVisible, 0);
    EXPECT_EQ(Method(W::画板1, CoreCommand::ReadPixel, {IntValue(3), IntValue(3)}).Int(), -1);
    GenerateTextArt();
    EXPECT_EQ(Content(W::编辑框1), shown);
    WriteInt(W::画板1, qy::kPropertyVisible, 1);
}

TEST_F(MainWindowTest, RepeatedCompositionsLeaveNoGdiObjectsOrPicturesBehind) {
    UseMarks();
    for (int i = 0; i < 20; ++i) GenerateTextArt();
    qytest::PumpMessages();
    int before = qytest::LiveGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 1000; ++i) {
        if (i == 500) SwitchToPictureMode();
        GenerateTextArt();
        if (i % 50 == 0) qytest::PumpMessages();
    }
    qytest::PumpMessages();
    EXPECT_LE(qytest::LiveGdiObjects(), before + 2);

    // 默认 replaces the picture and frees the one it replaced.
    OnDefaultsClicked(nullptr);
    size_t pictures = qy::RegisteredPictureCount();
    for (int i = 0; i < 3; ++i) OnDefaultsClicked(nullptr);
    EXPECT_NE(currentPicture, 0);
    EXPECT_EQ(qy::RegisteredPictureCount(), pictures);
}

}  // namespace
}  // namespace apptest
