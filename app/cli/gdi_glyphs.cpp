#include "app/cli/gdi_glyphs.h"

#include <algorithm>
#include <cstring>

#include "app/cli/encoding.h"
#include "media/picture/picture_draw.h"
#include "runtime/win32_handles.h"
#include "units/drawing_panel/panel_gdi.h"

namespace cli {

namespace {

// The drawing panel's size in the window as loaded.
constexpr int32_t kPanelWidth = 86, kPanelHeight = 115;

// The panel's font record for these choices: the default GUI font with the
// members the window sets, its height from points at the screen's dpi.
HFONT PanelFont(const core::FontSpec& wanted) {
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    int dpi = 0;
    {
        qy::ScreenDc screen;
        dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    }
    font.lfHeight = -MulDiv(wanted.size, dpi > 0 ? dpi : 96, 72);
    font.lfWeight = wanted.bold ? 700 : 400;
    font.lfItalic = wanted.italic ? 1 : 0;
    font.lfStrikeOut = wanted.strikeout ? 1 : 0;
    font.lfUnderline = wanted.underline ? 1 : 0;
    std::string face = wanted.family.empty() || wanted.family.size() > 31 ? std::string("宋体") : wanted.family;
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::memcpy(font.lfFaceName, face.data(), face.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(&font);
    return qy::MakePanelFont(qy::Bytes(bytes, bytes + sizeof font), 0);
}

// A top-down 32-bit DIB section on a memory DC, as the panel samples on.
class Surface {
public:
    Surface(int32_t width, int32_t height) : width_(width), height_(height) {
        BITMAPINFO info = qy::DibInfo(width, -height);
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (bitmap_ && bits) {
            bits_ = static_cast<const uint32_t*>(bits);
            dc_ = CreateCompatibleDC(nullptr);
            if (dc_) old_ = SelectObject(dc_, bitmap_.get());
        }
    }
    ~Surface() {
        if (dc_) SelectObject(dc_, old_), DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    void Paint(COLORREF colour) {
        qy::GdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
        HGDIOBJ old = SelectObject(dc_, brush.get());
        PatBlt(dc_, 0, 0, width_, height_, PATCOPY);
        SelectObject(dc_, old);
    }
    COLORREF At(int32_t x, int32_t y) const {
        uint32_t p = bits_[static_cast<size_t>(y) * width_ + x];  // 0x00RRGGBB
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int32_t width_, height_;
    qy::GdiHandle<HBITMAP> bitmap_;
    const uint32_t* bits_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

GdiGlyphs::GdiGlyphs(const core::FontSpec& wanted) {
    dc_ = CreateCompatibleDC(nullptr);
    font_ = PanelFont(wanted);
    if (dc_ && font_) oldFont_ = SelectObject(dc_, font_);
}

GdiGlyphs::~GdiGlyphs() {
    if (dc_ && oldFont_) SelectObject(dc_, oldFont_);
    if (dc_) DeleteDC(dc_);
    if (font_) DeleteObject(font_);
}

core::Glyphs::Extent GdiGlyphs::Measure(const std::string& text) {
    SIZE size{0, 0};
    if (dc_ && font_) GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return Extent{size.cx, size.cy};
}

bool GdiGlyphs::Has(const std::string& character) {
    if (!dc_ || !font_ || character.empty()) return false;
    wchar_t wide[4];
    int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, character.data(), static_cast<int>(character.size()), wide,
                                4);
    if (n <= 0) return false;
    // The face's own glyphs only: GDI marks a character it would draw as the default box.
    WORD indices[4];
    if (GetGlyphIndicesW(dc_, wide, n, indices, GGI_MARK_NONEXISTING_GLYPHS) != static_cast<DWORD>(n)) return false;
    for (int i = 0; i < n; ++i)
        if (indices[i] == 0xFFFF) return false;
    return true;
}

void GdiGlyphs::Render(const std::string& text, int32_t x, int32_t y, core::CoverageMask* mask) {
    if (mask->width <= 0 || mask->height <= 0 || !font_) return;
    Surface surface(mask->width, mask->height);
    if (!surface.dc()) return;
    surface.Paint(RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(surface.dc(), font_);
    SetBkMode(surface.dc(), TRANSPARENT);
    SetTextColor(surface.dc(), RGB(0, 0, 0));
    TextOutA(surface.dc(), x, y, text.data(), static_cast<int>(text.size()));
    SelectObject(surface.dc(), old);
    GdiFlush();
    for (int32_t row = 0; row < mask->height; ++row)
        for (int32_t column = 0; column < mask->width; ++column) {
            COLORREF c = surface.At(column, row);
            int ink = 255 - (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
            uint8_t& cell = mask->coverage[static_cast<size_t>(row) * mask->width + column];
            cell = static_cast<uint8_t>(std::min(255, cell + ink));
        }
}

std::vector<int32_t> SampleDrawing(int32_t columns, int32_t rows, HFONT font,
                                   const std::function<void(HDC)>& draw) {
    std::vector<int32_t> colours;
    if (columns <= 0 || rows <= 0) return colours;
    // At least the panel's own size, and room for the whole drawing: a
    // picture stretched past the surface's edge would be drawn differently.
    Surface surface(std::max(kPanelWidth, columns + 3), std::max(kPanelHeight, rows + 3));
    if (!surface.dc()) return colours;
    HDC dc = surface.dc();
    // The panel's paper and its text settings: black text on a transparent
    // background, copy pen, the display's stretch mode.
    surface.Paint(RGB(255, 255, 255));
    SetMapMode(dc, MM_TEXT);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, RGB(255, 255, 255));
    SetROP2(dc, R2_COPYPEN);
    SetStretchBltMode(dc, qy::DisplayStretchMode());
    SetPolyFillMode(dc, WINDING);
    draw(dc);
    SelectObject(dc, oldPen), SelectObject(dc, oldBrush), SelectObject(dc, oldFont);
    GdiFlush();
    colours.reserve(static_cast<size_t>(columns) * rows);
    for (int32_t y = 1; y <= rows; ++y)
        for (int32_t x = 1; x <= columns; ++x) colours.push_back(static_cast<int32_t>(surface.At(x, y)));
    return colours;
}

void WriteShape(HDC dc, int32_t x, int32_t y, const std::string& text) {
    qy::panel::OptionalInt atX{true, x}, atY{true, y};
    qy::panel::WriteOn(dc, POINT{0, 0}, atX, atY, {text});
}

void DrawPictureAt(HDC dc, const qy::Picture& picture, int32_t x, int32_t y, int32_t width, int32_t height) {
    qy::RenderPicture(picture, dc, x, y, width, height, SRCCOPY, RGB(255, 255, 255));
}

std::vector<int32_t> PicturePixels(const qy::Picture& picture) {
    std::vector<int32_t> pixels;
    if (picture.width <= 0 || picture.height <= 0) return pixels;
    Surface surface(picture.width, picture.height);
    if (!surface.dc()) return pixels;
    surface.Paint(RGB(255, 255, 255));
    qy::RenderPicture(picture, surface.dc(), 0, 0, -1, -1, SRCCOPY, RGB(255, 255, 255));
    GdiFlush();
    pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x) pixels.push_back(static_cast<int32_t>(surface.At(x, y)));
    return pixels;
}

}  // namespace cli
