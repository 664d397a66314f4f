#include "units/drawing_panel/panel_gdi.h"

#include <cmath>
#include <cstring>

namespace qy {

// Our own pattern set: sixteen ordered-dither densities, line rulings,
// diagonals and a handful of decorative fills.
const uint8_t kBrushPatterns[kPatternCount][8] = {
    {0x88, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00},  // ordered dither 1/16
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x02, 0x00},  // ordered dither 2/16
    {0xAA, 0x00, 0x22, 0x00, 0x8A, 0x00, 0x22, 0x00},  // ordered dither 3/16
    {0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00, 0x2A, 0x00},  // ordered dither 4/16
    {0xAA, 0x44, 0xAA, 0x00, 0xAA, 0x04, 0xAA, 0x00},  // ordered dither 5/16
    {0xAA, 0x44, 0xAA, 0x11, 0xAA, 0x44, 0xAA, 0x01},  // ordered dither 6/16
    {0xAA, 0x55, 0xAA, 0x11, 0xAA, 0x45, 0xAA, 0x11},  // ordered dither 7/16
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x15},  // ordered dither 8/16
    {0xEE, 0x55, 0xAA, 0x55, 0xAE, 0x55, 0xAA, 0x55},  // ordered dither 9/16
    {0xEE, 0x55, 0xBB, 0x55, 0xEE, 0x55, 0xAB, 0x55},  // ordered dither 10/16
    {0xFF, 0x55, 0xBB, 0x55, 0xEF, 0x55, 0xBB, 0x55},  // ordered dither 11/16
    {0xFF, 0x55, 0xFF, 0x55, 0xFF, 0x55, 0xBF, 0x55},  // ordered dither 12/16
    {0xFF, 0xDD, 0xFF, 0x55, 0xFF, 0x5D, 0xFF, 0x55},  // ordered dither 13/16
    {0xFF, 0xDD, 0xFF, 0x77, 0xFF, 0xDD, 0xFF, 0x57},  // ordered dither 14/16
    {0xFF, 0xFF, 0xFF, 0x77, 0xFF, 0xDF, 0xFF, 0x77},  // ordered dither 15/16
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},  // ordered dither 16/16
    {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00},  // horizontal lines every 2
    {0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00},  // horizontal lines every 3
    {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // horizontal lines every 4
    {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA},  // vertical lines every 2
    {0x92, 0x92, 0x92, 0x92, 0x92, 0x92, 0x92, 0x92},  // vertical lines every 3
    {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88},  // vertical lines every 4
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00},  // thick horizontal bands
    {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC},  // thick vertical bands
    {0x92, 0x24, 0x49, 0x92, 0x24, 0x49, 0x92, 0x24},  // rising diagonal every 3
    {0x88, 0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44},  // rising diagonal every 4
    {0x80, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40},  // rising diagonal every 8
    {0x92, 0x49, 0x24, 0x92, 0x49, 0x24, 0x92, 0x49},  // falling diagonal every 3
    {0x88, 0x44, 0x22, 0x11, 0x88, 0x44, 0x22, 0x11},  // falling diagonal every 4
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // falling diagonal every 8
    {0xE0, 0xC1, 0x83, 0x07, 0x0E, 0x1C, 0x38, 0x70},  // wide rising diagonal
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},  // fine checker
    {0xE0, 0x70, 0x38, 0x1C, 0x0E, 0x07, 0x83, 0xC1},  // wide falling diagonal
    {0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08, 0xFF},  // bricks
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},  // grid 4
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},  // grid 8
    {0x88, 0x00, 0x00, 0x00, 0x88, 0x00, 0x00, 0x00},  // sparse dots
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},  // staggered dots
    {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33},  // checker 2
    {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F},  // checker 4
    {0x18, 0x3C, 0x66, 0xC3, 0xC3, 0x66, 0x3C, 0x18},  // diamonds
    {0x81, 0x42, 0x24, 0x18, 0x81, 0x42, 0x24, 0x18},  // zigzag
    {0xF0, 0x00, 0x00, 0x00, 0xF8, 0x88, 0x88, 0x88},  // weave
    {0xFF, 0xFF, 0xC0, 0xC0, 0xCA, 0xC5, 0xCA, 0xC5},  // plaid
    {0x88, 0x55, 0x22, 0x55, 0x88, 0x55, 0x22, 0x55},  // trellis
    {0x44, 0xEE, 0x44, 0x00, 0x44, 0xEE, 0x44, 0x00},  // small crosses
    {0xF8, 0x00, 0x00, 0x00, 0xF8, 0x00, 0x00, 0x00},  // dashes
    {0x60, 0x90, 0x09, 0x06, 0x60, 0x90, 0x09, 0x06},  // waves
};

namespace {
// Native pen styles of PenStyle 0..6; 0 uses the alternate-pixel style.
const int kPenStyles[7] = {PS_ALTERNATE, PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_INSIDEFRAME};
// Hatches of BrushStyle 2..7.
const int kHatches[6] = {HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS, HS_FDIAGONAL, HS_HORIZONTAL, HS_VERTICAL};
// Mapping modes whose extents units 1..5 start from.
const int kUnitModes[6] = {MM_TEXT, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS};
const double kUnitsPerInch[6] = {0, 253.8071065989848, 2538.0710659898477, 100, 1000, 1440};

int DisplayCaps(int index) {
    ScreenDc screen;
    return screen.get() ? GetDeviceCaps(screen.get(), index) : 0;
}
}  // namespace

HPEN MakePanelPen(int32_t style, int32_t width, COLORREF colour) {
    if (style < 0 || style > 6) style = 1;
    if (style != 0) return CreatePen(kPenStyles[style], width, colour);
    HPEN pen = CreatePen(PS_ALTERNATE, 0, colour);
    if (pen) return pen;
    // Where CreatePen refuses the alternate style, the extended cosmetic pen has it.
    LOGBRUSH brush{BS_SOLID, colour, 0};
    return ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
}

PatternBrush MakePanelBrush(int32_t style, COLORREF colour) {
    PatternBrush made;
    if (style < 0 || style > kMaxBrushStyle) return made;
    if (style == 0) {
        LOGBRUSH hollow{BS_HOLLOW, 0, 0};
        made.brush.reset(CreateBrushIndirect(&hollow));
    } else if (style == 1) {
        made.brush.reset(CreateSolidBrush(colour));
    } else if (style < kFirstPatternStyle) {
        made.brush.reset(CreateHatchBrush(kHatches[style - 2], colour));
    } else {
        // Monochrome rows are word-aligned; a 0 bit takes the DC's text
        // colour, which the drawing settings set to the brush colour.
        uint8_t rows[16] = {};
        for (int y = 0; y < 8; ++y) rows[y * 2] = static_cast<uint8_t>(~kBrushPatterns[style - kFirstPatternStyle][y]);
        made.pattern.reset(CreateBitmap(8, 8, 1, 1, rows));
        if (made.pattern) made.brush.reset(CreatePatternBrush(made.pattern.get()));
    }
    return made;
}

double CoordinateUnitsPerInch(int32_t coordinateUnit) {
    return coordinateUnit >= 1 && coordinateUnit <= 5 ? kUnitsPerInch[coordinateUnit] : 0;
}

HFONT MakePanelFont(const Bytes& logFont, int32_t coordinateUnit) {
    LOGFONTA font;
    static_assert(sizeof font == 60, "LOGFONTA is 60 bytes");
    if (logFont.size() == sizeof font) {
        std::memcpy(&font, logFont.data(), sizeof font);
    } else if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) {
        return nullptr;
    }
    double perInch = CoordinateUnitsPerInch(coordinateUnit);
    int dpi = perInch > 0 ? DisplayCaps(LOGPIXELSY) : 0;
    if (dpi > 0) {
        double inches = std::fabs(static_cast<double>(font.lfHeight)) / dpi;
        font.lfHeight = -static_cast<LONG>(inches * perInch);
    }
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = 0;
    font.lfClipPrecision = 0;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0;
    return CreateFontIndirectA(&font);
}

void ApplyCoordinateUnit(HDC dc, int32_t coordinateUnit) {
    if (coordinateUnit < 1 || coordinateUnit > 5) {
        SetMapMode(dc, MM_TEXT);
        return;
    }
    SetMapMode(dc, kUnitModes[coordinateUnit]);
    SIZE extent;
    GetWindowExtEx(dc, &extent);
    // The anisotropic mode keeps the metric mode's extents; flipping the
    // window extent makes y grow downwards like the pixel mapping.
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, extent.cx, -extent.cy, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
}

POINT DeviceToLogical(HDC dc, POINT p) {
    DPtoLP(dc, &p, 1);
    return p;
}

POINT LogicalToDevice(HDC dc, POINT p) {
    LPtoDP(dc, &p, 1);
    return p;
}

int DisplayStretchMode() { return DisplayCaps(BITSPIXEL) * DisplayCaps(PLANES) > 16 ? HALFTONE : COLORONCOLOR; }

namespace panel {

std::vector<TextLine> SplitLines(const std::string& text) {
    std::vector<TextLine> lines;
    if (text.empty()) return lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back(TextLine{text.substr(start, i - start), true});
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(TextLine{text.substr(start), false});
    return lines;
}

void WriteOn(HDC dc, POINT writePosition, OptionalInt x, OptionalInt y, const std::vector<std::string>& texts) {
    POINT at = DeviceToLogical(dc, writePosition);
    if (x.present) at.x = x.value;
    if (y.present) at.y = y.value;
    at = DeviceToLogical(dc, LogicalToDevice(dc, at));  // onto the device grid
    SIZE w{0, 0};
    GetTextExtentPoint32A(dc, "W", 1, &w);
    for (const std::string& text : texts) {
        int startX = at.x;
        for (const TextLine& line : SplitLines(text)) {
            SIZE size{0, w.cy};
            if (!line.text.empty()) {
                int length = static_cast<int>(line.text.size());
                GetTextExtentPoint32A(dc, line.text.data(), length, &size);
                TextOutA(dc, at.x, at.y, line.text.data(), length);
            }
            if (!line.broken) {
                at.x += size.cx;
                continue;
            }
            // Down by the line's height and then two more device pixels.
            at.y += size.cy;
            POINT device = LogicalToDevice(dc, at);
            device.y += 2;
            at.y = DeviceToLogical(dc, device).y;
            at.x = startX;
        }
    }
}

}  // namespace panel

}  // namespace qy
