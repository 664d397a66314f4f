// The panel's pieces that need no window: line breaking, copy modes, the
// pattern brushes and the font scaled to a coordinate unit.
#include <windows.h>

#include <set>
#include <vector>

#include "gtest/gtest.h"
#include "units/drawing_panel/panel_gdi.h"
#include "units/drawing_panel/panel_methods.h"
#include "window/own_data.h"

using namespace qy;

namespace {
std::vector<std::pair<std::string, bool>> Lines(const std::string& text) {
    std::vector<std::pair<std::string, bool>> out;
    for (const panel::TextLine& line : panel::SplitLines(text)) out.emplace_back(line.text, line.broken);
    return out;
}

panel::OptionalInt Mode(int32_t value) {
    panel::OptionalInt mode;
    mode.present = true;
    mode.value = value;
    return mode;
}

LOGFONTA FontOf(HFONT font) {
    LOGFONTA lf{};
    EXPECT_TRUE(font != nullptr);
    if (font) GetObjectA(font, sizeof lf, &lf);
    return lf;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}
}  // namespace

TEST(PanelLineBreaks, CrLfAndLfLfAreOneBreakButCrCrIsTwo) {
    using L = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(Lines("a\r\nb"), (L{{"a", true}, {"b", false}}));
    EXPECT_EQ(Lines("a\n\nb"), (L{{"a", true}, {"b", false}})) << "the LF after a break is skipped";
    EXPECT_EQ(Lines("a\r\rb"), (L{{"a", true}, {"", true}, {"b", false}}));
    EXPECT_EQ(Lines("a\n\r\nb"), (L{{"a", true}, {"", true}, {"b", false}}));
    EXPECT_EQ(Lines("ab\n"), (L{{"ab", true}, {"", false}})) << "a trailing break leaves an empty last line";
    EXPECT_TRUE(Lines("").empty());
    EXPECT_EQ(Lines("中文"), (L{{"中文", false}}));
}

TEST(PanelCopyModes, ModesOneToFiveAndRawCodes) {
    EXPECT_EQ(panel::CopyModeRasterOp(panel::OptionalInt()), static_cast<int32_t>(SRCCOPY));
    EXPECT_EQ(panel::CopyModeRasterOp(Mode(1)), static_cast<int32_t>(SRCCOPY));
    EXPECT_EQ(panel::CopyModeRasterOp(Mode(2)), static_cast<int32_t>(NOTSRCCOPY));
    EXPECT_EQ(panel::CopyModeRasterOp(Mode(3)), static_cast<int32_t>(SRCINVERT));
    EXPECT_EQ(panel::CopyModeRasterOp(Mode(4)), static_cast<int32_t>(SRCPAINT));
    EXPECT_EQ(panel::CopyModeRasterOp(Mode(5)), static_cast<int32_t>(SRCAND));
    EXPECT_EQ(panel::CopyModeRasterOp(Mode(static_cast<int32_t>(DSTINVERT))), static_cast<int32_t>(DSTINVERT));
    EXPECT_EQ(panel::CopyModeRasterOp(Mode(-0xFF)), -0xFF) << "negative means a transparent colour";
}

TEST(PanelBrushes, EveryStyleHasABrushAndThePatternsDiffer) {
    std::set<std::vector<uint8_t>> patterns;
    for (const auto& rows : kBrushPatterns) patterns.insert(std::vector<uint8_t>(rows, rows + 8));
    EXPECT_EQ(patterns.size(), static_cast<size_t>(kPatternCount));
    for (int style = 0; style <= kMaxBrushStyle; ++style) {
        PatternBrush brush = MakePanelBrush(style, RGB(10, 20, 30));
        EXPECT_TRUE(brush.brush) << "style " << style;
        EXPECT_EQ(static_cast<bool>(brush.pattern), style >= kFirstPatternStyle) << "style " << style;
    }
    EXPECT_FALSE(MakePanelBrush(-1, 0).brush);
    EXPECT_FALSE(MakePanelBrush(kMaxBrushStyle + 1, 0).brush);
}

TEST(PanelBrushes, APatternDrawsItsInkInTheTextColour) {
    // Style 8 + 19 is the every-other-column ruling: columns 0, 2, 4, 6.
    PatternBrush brush = MakePanelBrush(kFirstPatternStyle + 19, 0);
    ASSERT_TRUE(brush.brush);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    HGDIOBJ oldBrush = SelectObject(dc, brush.brush.get());
    PatBlt(dc, 0, 0, 8, 8, PATCOPY);
    EXPECT_EQ(GetPixel(dc, 0, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 3), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 6, 7), RGB(255, 0, 0));
    SelectObject(dc, oldBrush);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(PanelPens, StyleZeroAndTheLineStylesAllMakeAPen) {
    for (int style = 0; style <= 6; ++style) {
        HPEN pen = MakePanelPen(style, 3, RGB(1, 2, 3));
        EXPECT_TRUE(pen != nullptr) << "style " << style;
        if (pen) DeleteObject(pen);
    }
}

TEST(PanelFonts, HeightIsScaledToTheUnitAndTheCharacterSetForced) {
    Bytes record = LogFont::Make("宋体", -16, 700);
    int dpi = ScreenDpi();
    ASSERT_GT(dpi, 0);
    LOGFONTA pixels = FontOf(MakePanelFont(record, 0));
    EXPECT_EQ(pixels.lfHeight, -16);
    EXPECT_EQ(pixels.lfWeight, 700);
    EXPECT_EQ(pixels.lfCharSet, DEFAULT_CHARSET) << "the stored GB2312 character set is replaced";
    EXPECT_EQ(pixels.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(pixels.lfOutPrecision, 0);
    EXPECT_EQ(pixels.lfClipPrecision, 0);
    EXPECT_EQ(pixels.lfPitchAndFamily, 0);
    const struct {
        int unit;
        double perInch;
    } units[] = {{1, 253.8071065989848}, {2, 2538.0710659898477}, {3, 100}, {4, 1000}, {5, 1440}};
    for (const auto& u : units) {
        LOGFONTA scaled = FontOf(MakePanelFont(record, u.unit));
        EXPECT_EQ(scaled.lfHeight, -static_cast<LONG>(16.0 / dpi * u.perInch)) << "unit " << u.unit;
    }
}

TEST(PanelFonts, AnythingButSixtyBytesIsTheDefaultGuiFont) {
    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    LOGFONTA made = FontOf(MakePanelFont(Bytes(59, 1), 0));
    EXPECT_STREQ(made.lfFaceName, gui.lfFaceName);
    EXPECT_EQ(made.lfHeight, gui.lfHeight);
}

TEST(PanelMapping, EveryUnitHasItsOriginTopLeftAndYDownwards) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    for (int unit = 0; unit <= 5; ++unit) {
        int saved = SaveDC(dc);
        ApplyCoordinateUnit(dc, unit);
        POINT p = DeviceToLogical(dc, POINT{dpi, dpi});
        double perInch = unit == 0 ? dpi : CoordinateUnitsPerInch(unit);
        EXPECT_NEAR(p.x, perInch, perInch / 50 + 1) << "unit " << unit;
        EXPECT_NEAR(p.y, perInch, perInch / 50 + 1) << "unit " << unit << ": y grows downwards";
        POINT origin = LogicalToDevice(dc, POINT{0, 0});
        EXPECT_EQ(origin.x, 0);
        EXPECT_EQ(origin.y, 0);
        RestoreDC(dc, saved);
    }
    ReleaseDC(nullptr, dc);
}
