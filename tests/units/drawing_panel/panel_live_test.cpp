// The drawing panel on a shown window under the real runtime: methods called
// through the command frame with a unit reference, properties through the
// property services, and what reaches the screen read back with ReadPixel.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "gtest/gtest.h"
#include "media/picture/picture_registry.h"
#include "runtime/errors.h"
#include "runtime/memory.h"
#include "tests/support/child_process.h"
#include "tests/support/gdi_objects.h"
#include "tests/support/unit_window.h"
#include "tests/media/picture/test_pictures.h"
#include "units/drawing_panel/draw_panel.h"
#include "window/own_data.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "window/window_list.h"

using namespace qy;
using namespace qytest;

extern "C" void PanelPaintHandler();

namespace {
constexpr uint32_t kPanel = 0x16030001, kOther = 0x16030002;
constexpr uint32_t kPanelType = 0x10008;
constexpr int kWidth = 120, kHeight = 90;
constexpr int32_t kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000, kInvalid = -1;
const ValueRecord kOmitted{0, 0, 0};

std::vector<std::vector<int32_t>> paints;
std::function<void()> duringPaint;

uintptr_t CodeBase() { return reinterpret_cast<uintptr_t>(&PanelPaintHandler); }

DrawPanelData ProgramPanel() {
    DrawPanelData d;
    d.backColor = 0xFFFFFF;
    return d;
}

void InstallPanels(const Bytes& panelData, uint32_t panelState, uint32_t otherState) {
    TestWindow window;
    window.at = RECT{50, 50, 450, 350};
    window.data.caption = "画板测试";
    window.data.backColor = 0x808080;
    std::vector<EventBinding> paint = {{draw_panel::kPaint, 0}};  // Paint -> PanelPaintHandler at the code base
    InstallUnitWindow({MakeTestUnit(kPanel, kPanelType, 10, 10, kWidth, kHeight, panelData, panelState, paint),
                       MakeTestUnit(kOther, kPanelType, 200, 10, 60, 60, ProgramPanel().Write(), otherState)},
                      CodeBase(), window);
}

ValueRecord Int(int32_t v) { return MakeIntRecord(v); }
ValueRecord Text(const char* t) { return MakeTextRecord(t); }

// Left half red, right half blue.
Bytes RedBlueBmp(int width, int height) {
    return pictest::EncodeBmp(pictest::Halves(width, height, {255, 0, 0, 255}, {0, 0, 255, 255}), 24, false);
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        paints.clear();
        duringPaint = nullptr;
    }
    void TearDown() override {
        duringPaint = nullptr;
        Windows().Clear();
    }

    bool Load(const DrawPanelData& data, uint32_t panelState = kStateVisible, uint32_t otherState = kStateVisible) {
        return LoadRaw(data.Write(), panelState, otherState);
    }
    bool LoadRaw(const Bytes& panelData, uint32_t panelState = kStateVisible, uint32_t otherState = kStateVisible) {
        InstallPanels(panelData, panelState, otherState);
        if (!LoadUnitWindow()) return false;
        SetForegroundWindow(Window());
        PumpMessages();
        UpdateWindow(Window());
        PumpMessages();
        paints.clear();
        return true;
    }

    DrawPanel* Panel(uint32_t unit = kPanel) { return static_cast<DrawPanel*>(UnitObject(unit)); }
    HWND PanelHandle(uint32_t unit = kPanel) { return UnitHandle(unit); }
    HWND Window() { return UnitHandle(0); }

    int32_t Read(int property) { return static_cast<int32_t>(ReadInt(kPanel, property)); }
    void Write(int property, uint32_t value) { WriteInt(kPanel, property, value); }

    ValueRecord Call(CoreCommand command, std::vector<ValueRecord> args, uint32_t unit = kPanel) {
        args.insert(args.begin(), ValueRecord{kUnitWindow, unit, kPanelType});
        return program::CallCore(reinterpret_cast<const void*>(CoreCommandEntry(command)), args.data(),
                                 static_cast<int>(args.size()));
    }
    void Clear(std::vector<ValueRecord> args = {}) { Call(CoreCommand::Clear, std::move(args)); }
    void WriteAt(std::vector<ValueRecord> args) { Call(CoreCommand::WriteAt, std::move(args)); }
    int32_t Pixel(int x, int y) { return static_cast<int32_t>(Call(CoreCommand::ReadPixel, {Int(x), Int(y)}).low); }
    int32_t Measure(CoreCommand command, const ValueRecord& value) {
        return static_cast<int32_t>(Call(command, {value}).low);
    }
    int32_t LoadPicture(const Bytes& bytes) {
        void* block = NewByteSet(bytes.data(), static_cast<int>(bytes.size()));
        ValueRecord result = program::CallCore(reinterpret_cast<const void*>(CoreCommandEntry(CoreCommand::LoadPicture)),
                                               {ValueRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)), 0,
                                                            kTypeByteSet}});
        Free(block);
        return static_cast<int32_t>(result.low);
    }

    // Pixels of a rectangle of the panel, row by row, read through ReadPixel.
    std::vector<int32_t> Grab(int left, int top, int width, int height) {
        std::vector<int32_t> pixels;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x) pixels.push_back(Pixel(x, y));
        return pixels;
    }
    // ReadPixelGrid's colours, row by row; empty for an empty byte set.
    std::vector<int32_t> Grid(int left, int top, int columns, int rows) {
        ValueRecord r = Call(CoreCommand::ReadPixelGrid, {Int(left), Int(top), Int(columns), Int(rows)});
        void* block = reinterpret_cast<void*>(static_cast<uintptr_t>(r.low));
        std::vector<int32_t> colours;
        if (!block) return colours;
        const uint8_t* data = ByteSetData(block);
        for (int i = 0; i + 4 <= ByteSetLength(block); i += 4)
            colours.push_back(static_cast<int32_t>(data[i] | data[i + 1] << 8 | data[i + 2] << 16 |
                                                   static_cast<uint32_t>(data[i + 3]) << 24));
        Free(block);
        return colours;
    }
    void ReleasePicture(int32_t number) {
        ValueRecord arg = Int(number);
        program::CallCore(reinterpret_cast<const void*>(CoreCommandEntry(CoreCommand::ReleasePicture)), &arg, 1);
    }
    void SetFont(int32_t height, bool italic) {
        Bytes font = LogFont::Make("宋体", height);
        font[LogFont::kItalic] = italic ? 1 : 0;
        PropertyValue value;
        value.data = font.data();
        value.size = static_cast<int32_t>(font.size());
        Panel()->PropertyChanged(draw_panel::kFont, value);
    }
    // Text in the current font and colour, a JPEG stretched over the text's
    // right end, and a partial Clear cutting into both.
    void DrawShape(int32_t picture) {
        Clear();
        WriteAt({Int(2), Int(3), Text("砌字成图\r\nWy,")});
        Call(CoreCommand::DrawPicture, {Int(picture), Int(70), Int(20), Int(45), Int(60)});
        Clear({Int(90), Int(50), Int(20), Int(10)});
    }
    int32_t LoadJpeg() { return LoadPicture(pictest::EncodeJpeg(pictest::Pattern(16, 12, 7), false, false)); }

    // Rows and columns (device pixels) where anything but white shows.
    struct Ink {
        std::set<int> rows, columns;
        int count = 0;
    };
    Ink InkIn(int left, int top, int width, int height) {
        Ink ink;
        std::vector<int32_t> pixels = Grab(left, top, width, height);
        for (int i = 0; i < static_cast<int>(pixels.size()); ++i) {
            if (pixels[i] == kWhite) continue;
            ink.rows.insert(top + i / width);
            ink.columns.insert(left + i % width);
            ++ink.count;
        }
        return ink;
    }
    void Repaint(uint32_t unit = kPanel) {
        InvalidateRect(PanelHandle(unit), nullptr, TRUE);
        UpdateWindow(PanelHandle(unit));
    }
};

std::set<int> Shifted(const std::set<int>& rows, int by) {
    std::set<int> out;
    for (int r : rows) out.insert(r + by);
    return out;
}
std::set<int> Union(std::set<int> a, const std::set<int>& b) {
    a.insert(b.begin(), b.end());
    return a;
}
}  // namespace

extern "C" uint64_t __cdecl PanelEventSink(const int32_t* args, int count) {
    paints.emplace_back(args, args + count);
    if (duringPaint) duringPaint();
    return 0;
}

TEST_F(PanelTest, TemplateVersionsZeroAndOneLoadOthersFailTheWindow) {
    DrawPanelData d = ProgramPanel();
    d.version = 0;
    EXPECT_TRUE(Load(d));
    d.version = 2;
    EXPECT_FALSE(Load(d));
    d.version = -1;
    EXPECT_FALSE(Load(d));
    Bytes truncated = ProgramPanel().Write();
    truncated.resize(truncated.size() - 3);
    EXPECT_FALSE(LoadRaw(truncated)) << "a cut-off picture buffer is no panel";
    EXPECT_TRUE(LoadRaw(Bytes())) << "empty own data means all defaults";
    EXPECT_EQ(static_cast<uint32_t>(Read(OwnIndex(draw_panel::kBackColor))), 0xFF000000u);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kPictureMode)), 1);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kDrawMode)), 12);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kBrushColor)), kWhite);
}

TEST_F(PanelTest, WindowClassStyleAndBorders) {
    ASSERT_TRUE(Load(ProgramPanel(), kStateVisible | kStateTabStop));
    HWND h = PanelHandle();
    char name[32] = {};
    GetClassNameA(h, name, sizeof name);
    EXPECT_STREQ(name, "_QY_DrawPanel");
    EXPECT_EQ(GetClassLongA(h, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    LONG style = GetWindowLongA(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE), 0);

    Write(OwnIndex(draw_panel::kBorder), 4);
    EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME),
              WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME);
    Write(OwnIndex(draw_panel::kBorder), 3);
    EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE),
              WS_EX_STATICEDGE) << "the other edges are removed";
    Write(OwnIndex(draw_panel::kBorder), 9);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kBorder)), 5);
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
    Write(OwnIndex(draw_panel::kBorder), 0);
    EXPECT_FALSE(GetWindowLongA(h, GWL_STYLE) & WS_BORDER);
    RECT r;
    GetClientRect(h, &r);
    EXPECT_EQ(r.right, kWidth) << "the frame is gone again and the window kept its size";
}

TEST_F(PanelTest, WritesClampAndTheCanvasSizeIsReadOnly) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Write(OwnIndex(draw_panel::kPenWidth), static_cast<uint32_t>(-5));
    EXPECT_EQ(Read(OwnIndex(draw_panel::kPenWidth)), 0);
    Write(OwnIndex(draw_panel::kPenWidth), 40000);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kPenWidth)), 32767);
    Write(OwnIndex(draw_panel::kDrawMode), 16);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kDrawMode)), 15);
    Write(OwnIndex(draw_panel::kBrushStyle), 60);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kBrushStyle)), 55);
    Write(OwnIndex(draw_panel::kPenStyle), 7);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kPenStyle)), 6);
    Write(OwnIndex(draw_panel::kPictureMode), 3);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kPictureMode)), 2);
    Write(OwnIndex(draw_panel::kTextBackColor), 0x123456);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kTextBackColor)), 0x123456);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kCanvasWidth)), kWidth);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kCanvasHeight)), kHeight);
    Write(OwnIndex(draw_panel::kCanvasWidth), 5);
    EXPECT_EQ(Read(OwnIndex(draw_panel::kCanvasWidth)), kWidth);

    DrawPanelData saved = DrawPanelData::Read(Panel()->OwnData());
    EXPECT_EQ(saved.version, 1);
    EXPECT_EQ(saved.penWidth, 32767);
    EXPECT_EQ(saved.drawMode, 15);
    EXPECT_EQ(saved.brushStyle, 55);
    EXPECT_EQ(saved.textBackColor, 0x123456u);
    EXPECT_EQ(saved.backColor, 0xFFFFFFu);
}

TEST_F(PanelTest, ClearPaintsEveryClientPixelWithTheBackground) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Write(OwnIndex(draw_panel::kBackColor), kRed);
    Clear();
    for (int32_t p : Grab(0, 0, kWidth, kHeight)) ASSERT_EQ(p, kRed);
    Write(OwnIndex(draw_panel::kBackColor), kWhite);
    Clear();
    std::vector<int32_t> all = Grab(0, 0, kWidth, kHeight);
    EXPECT_EQ(std::count(all.begin(), all.end(), kWhite), kWidth * kHeight) << "Clear then ReadPixel gives 0x00FFFFFF";
}

TEST_F(PanelTest, ReadPixelOutsideTheVisibleAreaIsMinusOne) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Clear();
    EXPECT_EQ(Pixel(-1, 0), kInvalid);
    EXPECT_EQ(Pixel(0, -1), kInvalid);
    EXPECT_EQ(Pixel(kWidth, 0), kInvalid);
    EXPECT_EQ(Pixel(0, kHeight), kInvalid);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), kWhite);
    // A sibling on top of the panel covers panel pixels 30..59.
    HWND cover = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 40, 40, 30, 30, Window(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    EXPECT_EQ(Pixel(45, 45), kInvalid) << "a point under an overlapping window";
    EXPECT_EQ(Pixel(25, 25), kWhite);
    DestroyWindow(cover);
}

TEST_F(PanelTest, ClearArgumentsArePixelsAndMoveTheWritePosition) {
    DrawPanelData d = ProgramPanel();
    d.coordinateUnit = 0;
    ASSERT_TRUE(Load(d));
    Clear();
    Write(OwnIndex(draw_panel::kBackColor), kRed);
    Clear({Int(10), Int(20), Int(30), Int(40)});
    EXPECT_EQ(Pixel(10, 20), kRed);
    EXPECT_EQ(Pixel(39, 59), kRed);
    EXPECT_EQ(Pixel(40, 20), kWhite);
    EXPECT_EQ(Pixel(9, 20), kWhite);
    EXPECT_EQ(Pixel(10, 60), kWhite);
    Clear({Int(80), Int(70), Int(-20), Int(-10)});
    EXPECT_EQ(Pixel(60, 60), kRed) << "a negative size is normalised";
    EXPECT_EQ(Pixel(79, 69), kRed);
    EXPECT_EQ(Pixel(80, 70), kWhite);

    Write(OwnIndex(draw_panel::kBackColor), kWhite);
    Clear();
    Clear({Int(10), Int(20), Int(0), Int(0)});
    WriteAt({Int(60), Int(60), Text("A")});  // leaves the write position alone
    WriteAt({kOmitted, kOmitted, Text("W")});
    int width = Measure(CoreCommand::TextWidth, Text("W")), height = Measure(CoreCommand::TextHeight, Text("W"));
    Ink w = InkIn(0, 0, 55, 55);
    ASSERT_GT(w.count, 0);
    EXPECT_GE(*w.columns.begin(), 10);
    EXPECT_LT(*w.columns.rbegin(), 10 + width);
    EXPECT_GE(*w.rows.begin(), 20);
    EXPECT_LT(*w.rows.rbegin(), 20 + height);
}

TEST_F(PanelTest, WriteAtChangesOnlyGlyphPixelsWithATransparentBackground) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Clear();
    WriteAt({Int(2), Int(2), Text("AB")});
    int width = Measure(CoreCommand::TextWidth, Text("AB")), height = Measure(CoreCommand::TextHeight, Text("AB"));
    std::vector<int32_t> box = Grab(2, 2, width, height);
    int white = static_cast<int>(std::count(box.begin(), box.end(), kWhite));
    EXPECT_GT(white, 0) << "pixels between glyphs keep the background";
    EXPECT_LT(white, width * height) << "the glyphs were drawn";
    Ink outside = InkIn(0, 2 + height, kWidth, kHeight - 2 - height);
    EXPECT_EQ(outside.count, 0);

    Write(OwnIndex(draw_panel::kTextBackColor), 0x00FF00);
    Clear();
    WriteAt({Int(2), Int(2), Text("AB")});
    box = Grab(2, 2, width, height);
    EXPECT_EQ(std::count(box.begin(), box.end(), kWhite), 0) << "an opaque text background fills the whole extent";
}

TEST_F(PanelTest, WriteAtBreaksLinesAsCrLfLfLfAndCrCr) {
    ASSERT_TRUE(Load(ProgramPanel()));
    int height = Measure(CoreCommand::TextHeight, Text("W"));
    ASSERT_GT(height, 0);
    auto inkOf = [&](const char* text) {
        Clear();
        WriteAt({Int(5), Int(3), Text(text)});
        return InkIn(0, 0, 40, kHeight);
    };
    Ink one = inkOf("W");
    ASSERT_GT(one.count, 0);
    std::set<int> twoLines = Union(one.rows, Shifted(one.rows, height + 2));
    std::set<int> threeLines = Union(one.rows, Shifted(one.rows, 2 * (height + 2)));
    Ink crlf = inkOf("W\r\nW");
    EXPECT_EQ(crlf.rows, twoLines) << "CR LF: next line one line height plus 2 pixels down";
    EXPECT_EQ(crlf.columns, one.columns) << "x returns to the start";
    EXPECT_EQ(crlf.count, 2 * one.count);
    EXPECT_EQ(inkOf("W\n\nW").rows, twoLines) << "LF LF is a single break";
    EXPECT_EQ(inkOf("W\nW").rows, twoLines);
    EXPECT_EQ(inkOf("W\r\rW").rows, threeLines) << "CR CR leaves one empty line";
}

TEST_F(PanelTest, ValuesAreWrittenAsToTextWritesThemOnOneLine) {
    ASSERT_TRUE(Load(ProgramPanel()));
    auto drawn = [&](std::vector<ValueRecord> values) {
        Clear();
        values.insert(values.begin(), {Int(4), Int(4)});
        WriteAt(values);
        return Grab(0, 0, 70, 30);
    };
    std::vector<int32_t> twelve = drawn({Text("12")});
    ASSERT_NE(std::count(twelve.begin(), twelve.end(), kWhite), 70 * 30);
    EXPECT_EQ(drawn({Int(1), Int(2)}), twelve) << "two int values draw 12";
    void* bytes = NewByteSet("xyz", 3);
    EXPECT_EQ(drawn({Int(1), ValueRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bytes)), 0, kTypeByteSet},
                     kOmitted, MakeDoubleRecord(2.0)}),
              twelve)
        << "byte sets are skipped and an omitted value is empty";
    Free(bytes);
    EXPECT_EQ(drawn({ValueRecord{1, 0, kTypeLogical}}), drawn({Text("真")}));
    EXPECT_EQ(drawn({MakeDoubleRecord(1.5)}), drawn({Text("1.5")}));
    EXPECT_EQ(drawn({Text("1\r\n"), Int(2)}), drawn({Text("1\r\n2")})) << "a value after a break starts at the left";
}

TEST_F(PanelTest, TextWidthAndHeightMeasureOneLine) {
    ASSERT_TRUE(Load(ProgramPanel()));
    int32_t twelve = Measure(CoreCommand::TextWidth, Text("12"));
    EXPECT_GT(twelve, 0);
    EXPECT_EQ(Measure(CoreCommand::TextWidth, Int(12)), twelve);
    EXPECT_EQ(Measure(CoreCommand::TextWidth, ValueRecord{0, 0, kTypeSubroutine}), 0);
    int32_t line = Measure(CoreCommand::TextHeight, Text("ab"));
    EXPECT_GT(line, 0);
    EXPECT_EQ(Measure(CoreCommand::TextHeight, Text("a\r\nb")), line) << "breaks are measured as characters";
    Bytes big = LogFont::Make("宋体", -40);
    PropertyValue font;
    font.data = big.data();
    font.size = static_cast<int32_t>(big.size());
    Panel()->PropertyChanged(OwnIndex(draw_panel::kFont) - 8, font);
    EXPECT_GE(Measure(CoreCommand::TextHeight, Text("ab")), 40);
}

TEST_F(PanelTest, CoordinateUnitThreeMeasuresInHundredthsOfAnInch) {
    ASSERT_TRUE(Load(ProgramPanel()));
    HDC screen = GetDC(nullptr);
    double perPixel = 100.0 / GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    int32_t pixelHeight = Measure(CoreCommand::TextHeight, Text("W"));
    Write(OwnIndex(draw_panel::kCoordinateUnit), 3);
    EXPECT_NEAR(Read(OwnIndex(draw_panel::kCanvasWidth)), kWidth * perPixel, 1.0);
    EXPECT_NEAR(Read(OwnIndex(draw_panel::kCanvasHeight)), kHeight * perPixel, 1.0);
    EXPECT_NEAR(Measure(CoreCommand::TextHeight, Text("W")), pixelHeight * perPixel, 2.0)
        << "the font keeps its pixel size and is measured in the unit";

    Clear();
    Write(OwnIndex(draw_panel::kBackColor), kRed);
    Clear({Int(50), Int(0), Int(10), Int(kHeight)});  // pixels, whatever the unit
    EXPECT_EQ(Pixel(static_cast<int>(52 * perPixel), 10), kRed);
    EXPECT_EQ(Pixel(static_cast<int>(46 * perPixel), 10), kWhite);
    EXPECT_EQ(Pixel(static_cast<int>(64 * perPixel), 10), kWhite);
    EXPECT_EQ(Pixel(static_cast<int>(kWidth * perPixel) + 2, 10), kInvalid);

    Write(OwnIndex(draw_panel::kBackColor), kWhite);
    Clear();
    WriteAt({Int(static_cast<int>(80 * perPixel)), Int(static_cast<int>(20 * perPixel)), Text("W")});
    Write(OwnIndex(draw_panel::kCoordinateUnit), 0);
    Ink ink = InkIn(60, 10, 50, 40);
    ASSERT_GT(ink.count, 0);
    EXPECT_NEAR(*ink.columns.begin(), 80, 3);
    EXPECT_NEAR(*ink.rows.begin(), 20, 8);
}

TEST_F(PanelTest, DrawPictureCopyModesSizesAndTransparency) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Clear();
    int32_t picture = LoadPicture(RedBlueBmp(4, 4));
    ASSERT_NE(picture, 0);
    EXPECT_EQ(static_cast<int32_t>(Call(CoreCommand::PictureWidth, {Int(picture)}).low), 4);
    EXPECT_EQ(static_cast<int32_t>(Call(CoreCommand::PictureHeight, {Int(picture)}).low), 4);
    EXPECT_EQ(static_cast<int32_t>(Call(CoreCommand::PictureWidth, {Int(12345)}).low), 0);

    Call(CoreCommand::DrawPicture, {Int(picture), Int(5), Int(5)});
    EXPECT_EQ(Pixel(5, 5), kRed);
    EXPECT_EQ(Pixel(8, 8), kBlue);
    EXPECT_EQ(Pixel(9, 5), kWhite) << "natural size";
    Call(CoreCommand::DrawPicture, {Int(picture), Int(20), Int(5), kOmitted, kOmitted, Int(2)});
    EXPECT_EQ(Pixel(20, 5), 0xFFFF00) << "inverted copy";
    Call(CoreCommand::DrawPicture, {Int(picture), Int(30), Int(5), kOmitted, kOmitted, Int(5)});
    EXPECT_EQ(Pixel(30, 5), kRed) << "AND with white";
    Call(CoreCommand::DrawPicture, {Int(picture), Int(40), Int(5), Int(20), Int(20)});
    EXPECT_EQ(Pixel(40, 5), kRed);
    EXPECT_EQ(Pixel(59, 24), kBlue);
    EXPECT_EQ(Pixel(60, 5), kWhite);
    Call(CoreCommand::DrawPicture, {Int(picture), Int(70), Int(5), kOmitted, kOmitted, Int(-kRed)});
    EXPECT_EQ(Pixel(70, 5), kWhite) << "red is transparent";
    EXPECT_EQ(Pixel(72, 5), kBlue);

    std::vector<int32_t> before = Grab(0, 40, kWidth, 20);
    Call(CoreCommand::DrawPicture, {Int(12345), Int(0), Int(40)});
    EXPECT_EQ(Grab(0, 40, kWidth, 20), before) << "an unknown picture number draws nothing";

    int32_t wide = LoadPicture(RedBlueBmp(48, 2));
    Write(OwnIndex(draw_panel::kCoordinateUnit), 3);
    HDC screen = GetDC(nullptr);
    double perPixel = 100.0 / GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(static_cast<int32_t>(Call(CoreCommand::PictureWidth, {Int(wide)}).low), 48 * perPixel, 1.0);
}

TEST_F(PanelTest, AThousandDrawingRoundsLeaveNoGdiObjectsBehind) {
    ASSERT_TRUE(Load(ProgramPanel()));
    int32_t picture = LoadPicture(RedBlueBmp(8, 8));
    ASSERT_NE(picture, 0);
    auto round = [&](int i) {
        Clear();
        WriteAt({Int(i % 50), Int(i % 40), Text("画板")});
        Call(CoreCommand::DrawPicture, {Int(picture), Int(i % 60), Int(5), Int(12), Int(12)});
        Pixel(i % kWidth, i % kHeight);
    };
    // The first rounds create what the panel and the system cache for good.
    for (int i = 0; i < 20; ++i) round(i);
    int before = LiveGdiObjects();
    ASSERT_GT(before, 0) << "the GDI handle table cannot be read";
    for (int i = 0; i < 1000; ++i) round(i);
    EXPECT_LE(LiveGdiObjects(), before + 5) << "objects created per round are not all released";
}

TEST_F(PanelTest, BackgroundPictureInTheThreeModes) {
    ASSERT_TRUE(Load(ProgramPanel()));
    WriteBytes(kPanel, OwnIndex(draw_panel::kBackPicture), RedBlueBmp(4, 4));
    Clear();  // mode 1: tiled from the top-left
    EXPECT_EQ(Pixel(0, 0), kRed);
    EXPECT_EQ(Pixel(2, 0), kBlue);
    EXPECT_EQ(Pixel(4, 1), kRed);
    EXPECT_EQ(Pixel(101, 50), kRed);
    EXPECT_EQ(Pixel(103, 89), kBlue);

    Write(OwnIndex(draw_panel::kPictureMode), 0);
    Clear();
    EXPECT_EQ(Pixel(0, 0), kRed);
    EXPECT_EQ(Pixel(3, 3), kBlue);
    EXPECT_EQ(Pixel(4, 0), kWhite);
    EXPECT_EQ(Pixel(50, 50), kWhite);

    Write(OwnIndex(draw_panel::kPictureMode), 2);
    Clear();
    EXPECT_EQ(Pixel(58, 43), kRed) << "a small picture is centred";
    EXPECT_EQ(Pixel(61, 46), kBlue);
    EXPECT_EQ(Pixel(57, 43), kWhite);

    WriteBytes(kPanel, OwnIndex(draw_panel::kBackPicture), RedBlueBmp(240, 45));
    Clear();  // scaled by one half to 120 x 22, centred vertically at 34
    EXPECT_EQ(Pixel(10, 45), kRed);
    EXPECT_EQ(Pixel(110, 45), kBlue);
    EXPECT_EQ(Pixel(10, 10), kWhite);
    EXPECT_EQ(Pixel(10, 80), kWhite);

    WriteBytes(kPanel, OwnIndex(draw_panel::kBackPicture), Bytes{'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    Clear();
    EXPECT_EQ(Pixel(60, 45), kWhite);
    EXPECT_EQ(ReadBytes(kPanel, OwnIndex(draw_panel::kBackPicture)).size(), 0u) << "undecodable picture data is dropped";
}

TEST_F(PanelTest, AutoRedrawKeepsDrawingsAndTurningItOffDiscardsThem) {
    DrawPanelData d = ProgramPanel();
    d.autoRedraw = 1;
    ASSERT_TRUE(Load(d));
    ASSERT_TRUE(Panel()->HasCanvas());
    Clear();
    WriteAt({Int(5), Int(5), Text("W")});
    int drawn = InkIn(0, 0, 40, 40).count;
    ASSERT_GT(drawn, 0);
    Repaint();
    EXPECT_TRUE(paints.empty()) << "a panel with a canvas raises no Paint";
    EXPECT_EQ(InkIn(0, 0, 40, 40).count, drawn) << "the canvas repaints the drawing";

    Write(2, kWidth + 40);  // Width: a size change keeps the old drawing
    PumpMessages();
    UpdateWindow(PanelHandle());
    EXPECT_EQ(InkIn(0, 0, 40, 40).count, drawn);
    EXPECT_EQ(Pixel(kWidth + 20, 10), kWhite);

    Write(OwnIndex(draw_panel::kAutoRedraw), 0);
    EXPECT_FALSE(Panel()->HasCanvas());
    Repaint();
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0], (std::vector<int32_t>{0, 0, kWidth + 40, kHeight}));
    EXPECT_EQ(InkIn(0, 0, 40, 40).count, 0) << "only the background after the repaint";
}

TEST_F(PanelTest, ABackColorChangeRepaintsTheCanvas) {
    DrawPanelData d = ProgramPanel();
    d.autoRedraw = 1;
    ASSERT_TRUE(Load(d));
    WriteAt({Int(5), Int(5), Text("W")});
    Write(OwnIndex(draw_panel::kBackColor), kRed);
    PumpMessages();
    UpdateWindow(PanelHandle());
    std::vector<int32_t> area = Grab(0, 0, 30, 30);
    EXPECT_EQ(std::count(area.begin(), area.end(), kRed), 30 * 30) << "drawings on the canvas are lost";
}

TEST_F(PanelTest, PaintEventDrawsFromTheOriginAndRestoresTheWritePosition) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Clear();
    Clear({Int(60), Int(40), Int(0), Int(0)});
    duringPaint = [this] { WriteAt({kOmitted, kOmitted, Text("W")}); };
    Repaint();
    duringPaint = nullptr;
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0], (std::vector<int32_t>{0, 0, kWidth, kHeight}));
    Ink painted = InkIn(0, 0, 30, 30);
    ASSERT_GT(painted.count, 0) << "the event's drawing lands on the paint DC at (0, 0)";
    EXPECT_LT(*painted.rows.begin(), 10);
    WriteAt({kOmitted, kOmitted, Text("W")});
    Ink after = InkIn(50, 35, 40, 40);
    ASSERT_GT(after.count, 0);
    EXPECT_GE(*after.columns.begin(), 60) << "the stored position is back after the event";
    EXPECT_GE(*after.rows.begin(), 40);

    paints.clear();
    Write(OwnIndex(draw_panel::kCoordinateUnit), 5);
    Repaint();
    ASSERT_EQ(paints.size(), 1u);
    HDC screen = GetDC(nullptr);
    double twips = 1440.0 / GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(paints[0][2], kWidth * twips, 16) << "the area is given in the coordinate unit";
}

TEST_F(PanelTest, AClickTakesTheFocusOnlyWithTheTabStopFlag) {
    ASSERT_TRUE(Load(ProgramPanel(), kStateVisible | kStateTabStop, kStateVisible));
    auto click = [&](HWND panel) {
        RECT r;
        GetWindowRect(panel, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(Window(), WM_NULL, 0, 0);
        MSG m;
        PeekMessageA(&m, Window(), WM_NULL, WM_NULL, PM_REMOVE);  // makes the cursor the message position
        return SendMessageA(panel, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Window()),
                            MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    };
    SetFocus(Window());
    EXPECT_EQ(click(PanelHandle()), MA_ACTIVATE);
    EXPECT_EQ(GetFocus(), PanelHandle());
    SetFocus(Window());
    click(PanelHandle(kOther));
    EXPECT_EQ(GetFocus(), Window()) << "a panel without the tab-stop flag leaves the focus";
}

QY_SCENARIO(panel_method_on_missing_unit) {
    program::InitRuntime();
    ValueRecord args[1] = {{kUnitWindow, kPanel, kPanelType}};
    program::CallCore(reinterpret_cast<const void*>(CoreCommandEntry(CoreCommand::Clear)), args, 1);
    qytest::Log("returned");
    return 0;
}

TEST(PanelErrors, AMethodOnAnUnloadedUnitIsARuntimeError) {
    qytest::ChildResult result = qytest::RunScenario("panel_method_on_missing_unit");
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
    EXPECT_EQ(result.log, qytest::BoxLog("错误", RuntimeErrorText(msg::kNoSuchUnit, 0)));
}

TEST_F(PanelTest, ThePixelGridIsReadPixelOfAnUncoveredPanel) {
    ASSERT_TRUE(Load(ProgramPanel()));
    int32_t jpeg = LoadJpeg();
    ASSERT_NE(jpeg, 0);
    struct Look {
        int32_t height;
        bool italic;
        int32_t colour;
    };
    for (Look look : {Look{-12, false, 0}, Look{-12, true, kRed}, Look{-27, false, 0x336699}, Look{-27, true, kBlue}}) {
        SetFont(look.height, look.italic);
        Write(OwnIndex(draw_panel::kTextColor), static_cast<uint32_t>(look.colour));
        DrawShape(jpeg);
        std::vector<int32_t> screen = Grab(0, 0, kWidth, kHeight);
        ASSERT_GT(std::count(screen.begin(), screen.end(), look.colour), 0) << "the text shows";
        EXPECT_EQ(Grid(0, 0, kWidth, kHeight), screen) << "font height " << look.height << (look.italic ? " italic" : "");
        EXPECT_EQ(Grid(7, 5, 31, 17), Grab(7, 5, 31, 17)) << "a grid away from the origin";
    }
    Write(OwnIndex(draw_panel::kCoordinateUnit), 3);
    DrawShape(jpeg);
    EXPECT_EQ(Grid(10, 3, 40, 30), Grab(10, 3, 40, 30)) << "points in hundredths of an inch";
    EXPECT_TRUE(Grid(0, 0, 0, 5).empty());
    EXPECT_TRUE(Grid(0, 0, 5, -1).empty());
    EXPECT_TRUE(Grid(0, 0, 4097, 4097).empty()) << "more than 16 777 216 cells";
}

TEST_F(PanelTest, ThePixelGridIgnoresCoverPositionAndVisibility) {
    ASSERT_TRUE(Load(ProgramPanel()));
    int32_t jpeg = LoadJpeg();
    SetFont(-27, true);
    DrawShape(jpeg);
    std::vector<int32_t> drawn = Grab(0, 0, kWidth, kHeight);
    ASSERT_EQ(std::count(drawn.begin(), drawn.end(), kInvalid), 0);

    // A sibling covers panel pixels 30..59; Wine leaves a window's pixels
    // under another top-level window readable, so only the grid is checked there.
    HWND sibling = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 40, 40, 30, 30, Window(), nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(sibling, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT at;
    GetWindowRect(PanelHandle(), &at);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(cover, HWND_TOPMOST, at.left + 60, at.top + 10, 60, 50, SWP_NOACTIVATE);
    PumpMessages();
    EXPECT_EQ(Pixel(45, 45), kInvalid) << "ReadPixel cannot see under a sibling";
    EXPECT_EQ(Grid(0, 0, kWidth, kHeight), drawn) << "covered by a sibling and another window";
    DestroyWindow(cover);
    DestroyWindow(sibling);

    RECT client;
    GetClientRect(Window(), &client);
    SetWindowPos(PanelHandle(), nullptr, client.right - 50, client.bottom - 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), kInvalid) << "the corner lies outside the window";
    EXPECT_EQ(Grid(0, 0, kWidth, kHeight), drawn) << "partly outside its window";

    ShowWindow(PanelHandle(), SW_HIDE);
    PumpMessages();
    EXPECT_EQ(Pixel(5, 5), kInvalid);
    EXPECT_EQ(Grid(0, 0, kWidth, kHeight), drawn) << "hidden";
}

TEST_F(PanelTest, ThePixelGridReachesBeyondTheClientArea) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Clear();
    WriteAt({Int(kWidth - 4), Int(10), Text("WWWW")});
    int height = Measure(CoreCommand::TextHeight, Text("W"));
    std::vector<int32_t> beyond = Grid(kWidth, 10, 60, height);
    EXPECT_GT(60 * height - std::count(beyond.begin(), beyond.end(), kWhite), 0) << "text past the right edge";
    std::vector<int32_t> below = Grid(0, kHeight, kWidth + 60, 30);
    EXPECT_EQ(std::count(below.begin(), below.end(), kWhite), (kWidth + 60) * 30) << "undrawn cells are background";
    std::vector<int32_t> before = Grid(-3, -2, 3, 2);
    EXPECT_EQ(before, std::vector<int32_t>(6, kWhite)) << "left of and above the panel";
    EXPECT_EQ(Grid(2147483646, 0, 3, 1), std::vector<int32_t>(3, kInvalid))
        << "no surface reaches that far, and past the int range a point cannot be converted";
}

TEST_F(PanelTest, AWholeClearEmptiesTheLogAndAnOverflowingLogReadsTheScreen) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Clear();
    WriteAt({Int(5), Int(5), Text("W")});
    WriteAt({Int(60), Int(5), Text("W")});
    Clear({Int(0), Int(0), Int(30), Int(40)});
    std::vector<int32_t> grid = Grid(0, 0, kWidth, kHeight);
    EXPECT_EQ(grid, Grab(0, 0, kWidth, kHeight)) << "the partial Clear is replayed";
    EXPECT_EQ(std::count(grid.begin(), grid.end(), kWhite), kWidth * kHeight - InkIn(50, 0, 70, 40).count);
    Clear();
    grid = Grid(0, 0, kWidth, kHeight);
    EXPECT_EQ(std::count(grid.begin(), grid.end(), kWhite), kWidth * kHeight);

    for (int i = 0; i < 4100; ++i) WriteAt({Int(i % 100), Int(5), Text(".")});
    ShowWindow(PanelHandle(), SW_HIDE);
    PumpMessages();
    EXPECT_EQ(Grid(10, 10, 1, 1), std::vector<int32_t>{kInvalid}) << "past the log's bound the screen is read";
    Clear();
    EXPECT_EQ(Grid(10, 10, 1, 1), std::vector<int32_t>{kWhite}) << "a whole Clear starts a new log";
}

TEST_F(PanelTest, AReleasedPictureStillReplaysFromTheLog) {
    ASSERT_TRUE(Load(ProgramPanel()));
    Clear();
    int32_t picture = LoadPicture(RedBlueBmp(4, 4));
    ASSERT_NE(picture, 0);
    Call(CoreCommand::DrawPicture, {Int(picture), Int(10), Int(10), Int(40), Int(20)});
    size_t registered = RegisteredPictureCount();
    ReleasePicture(0);
    ReleasePicture(picture + 4);
    EXPECT_EQ(RegisteredPictureCount(), registered) << "0 and unknown numbers do nothing";
    ReleasePicture(picture);
    EXPECT_EQ(RegisteredPictureCount(), registered - 1);
    EXPECT_EQ(FindPicture(picture), nullptr);
    Call(CoreCommand::DrawPicture, {Int(picture), Int(60), Int(10)});
    std::vector<int32_t> grid = Grid(0, 0, kWidth, kHeight);
    EXPECT_EQ(grid, Grab(0, 0, kWidth, kHeight));
    EXPECT_EQ(grid[10 * kWidth + 10], kRed);
    EXPECT_EQ(grid[29 * kWidth + 49], kBlue);
    EXPECT_EQ(grid[10 * kWidth + 60], kWhite) << "the released number draws nothing";
}

TEST_F(PanelTest, GridReadsLeaveNoGdiObjectsBehind) {
    ASSERT_TRUE(Load(ProgramPanel()));
    DrawShape(LoadJpeg());
    for (int i = 0; i < 20; ++i) Grid(0, 0, kWidth + i, kHeight);
    int before = LiveGdiObjects();
    ASSERT_GT(before, 0) << "the GDI handle table cannot be read";
    for (int i = 0; i < 300; ++i) Grid(i % 7, 0, kWidth + i % 30, kHeight);
    EXPECT_LE(LiveGdiObjects(), before + 5) << "objects created per grid read are not all released";
}
