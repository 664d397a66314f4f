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

int32_t LoadTestPicture(int width, int height) {
    pictest::Image image = pictest::Halves(width, height, {0, 0, 0, 255}, {255, 255, 255, 255});
    pictest::Bytes bmp = pictest::EncodeBmp(image, 24, false);
    std::vector<uint8_t> block(8 + bmp.size());
    int32_t header[2] = {1, static_cast<int32_t>(bmp.size())};
    memcpy(block.data(), header, 8);
    memcpy(block.data() + 8, bmp.data(), bmp.size());
    return Command(CoreCommand::LoadPicture, {ByteSetValue(block.data())}).Int();
}

size_t Count(const std::string& text, char c) { return static_cast<size_t>(std::count(text.begin(), text.end(), c)); }

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

    // Single-byte: the letters of the shape text follow the columns; an ink
    // cell past the end of the text adds nothing.
    SetSelection(W::别字本字, 2);
    GenerateTextArt();
    std::vector<std::string> single = DisplayLines();
    ASSERT_EQ(single.size(), fill.size());
    std::string all;
    for (const std::string& line : single) {
        EXPECT_LE(static_cast<int>(line.size()), textGridWidth);
        all += line;
    }
    EXPECT_GT(Count(all, 'A'), 0u);
    EXPECT_GT(Count(all, 'B'), 0u);
    EXPECT_EQ(Count(all, 'A') + Count(all, 'B') + Count(all, ' '), all.size());
    // A stays left of B on every row.
    for (const std::string& line : single) {
        size_t lastA = line.rfind('A'), firstB = line.find('B');
        if (lastA != std::string::npos && firstB != std::string::npos) {
            EXPECT_LT(lastA, firstB) << line;
        }
    }

    // Double-byte with inversion: ink and paper swap, and each row ends with
    // the last character of the shape text.
    SetContent(W::编辑框2, "我爱你");
    SetSelection(W::别字本字, 1);
    GenerateTextArt();
    std::vector<std::string> plain = DisplayLines();
    for (const std::string& line : plain) EXPECT_LE(static_cast<int>(line.size()), 2 * textGridWidth);
    SetTicked(W::反向, true);
    GenerateTextArt();
    std::vector<std::string> inverted = DisplayLines();
    ASSERT_EQ(inverted.size(), plain.size());
    for (const std::string& line : inverted) {
        ASSERT_GE(line.size(), 2u);
        EXPECT_EQ(line.substr(line.size() - 2), "你");
    }
    // A paper cell of the plain picture is a character in the inverted one.
    EXPECT_EQ(plain[0], std::string(plain[0].size(), ' '));
    EXPECT_NE(inverted[0].substr(0, 2), "  ");
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

// A shape text whose grid has exactly `cells` cells at the current font, or
// an empty text if none is found: the height comes from the font, and the
// width is made of letters whose widths are measured one by one.
std::string ShapeWithCells(int cells) {
    SetContent(W::编辑框2, "W");
    MeasureTextGrid();
    int height = textGridHeight;
    if (cells % height != 0) return std::string();
    int targetWidth = cells / height - 1;  // the grid adds one column
    auto width = [](const std::string& s) {
        return Method(W::画板1, CoreCommand::TextWidth, {TextValue(s.c_str())}).Int();
    };
    int wide = width("W"), narrow = width("i");
    for (int n = 0; n * narrow <= targetWidth; ++n) {
        int rest = targetWidth - n * narrow;
        if (rest % wide == 0) {
            std::string text = std::string(static_cast<size_t>(rest / wide), 'W') + std::string(static_cast<size_t>(n), 'i');
            if (width(text) == targetWidth) return text;
        }
    }
    return std::string();
}

TEST_F(MainWindowTest, ShapeTextGridsOfTheLimitOrMoreComposeNothing) {
    UseMarks();
    // Find a font size whose grid height divides the limit of 9333 cells.
    std::string atLimit;
    for (int size = 8; size <= 40 && atLimit.empty(); ++size) {
        SetPosition(W::字符大小, size);
        qytest::PumpMessages();
        atLimit = ShapeWithCells(9333);
    }
    ASSERT_FALSE(atLimit.empty()) << "no font size gives a grid of 9333 cells";
    SetContent(W::编辑框1, "unchanged");
    SetContent(W::编辑框2, atLimit);
    GenerateTextArt();
    EXPECT_EQ(textGridWidth * textGridHeight, 9333);
    EXPECT_EQ(Content(W::编辑框1), "unchanged");

    // One letter narrower is below the limit and composes.
    SetContent(W::编辑框2, atLimit.substr(0, atLimit.size() - 1));
    GenerateTextArt();
    EXPECT_LT(textGridWidth * textGridHeight, 9333);
    EXPECT_EQ(static_cast<int>(DisplayLines().size()), textGridHeight);
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

TEST_F(MainWindowTest, CellsBeyondOrUnderOtherWindowsSampleTheDrawing) {
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

    // A window over the panel changes nothing in the result.
    SetPosition(W::图片高, 44);
    GenerateTextArt();
    std::string uncovered = Content(W::编辑框1);
    RECT panel;
    GetWindowRect(Handle(W::画板1), &panel);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, panel.left,
                                 panel.top, panel.right - panel.left, panel.bottom - panel.top, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    qytest::PumpUntil([&] { return IsWindowVisible(cover) != FALSE; });
    GenerateTextArt();
    EXPECT_EQ(Content(W::编辑框1), uncovered);
    DestroyWindow(cover);
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
