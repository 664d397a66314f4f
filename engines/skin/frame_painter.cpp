#include "engines/skin/frame_painter.h"

namespace skin {

namespace {

constexpr int kHueRange = 6 * 256;       // hue steps around the colour wheel
constexpr int kButtonGap = 2;            // between close and the other two buttons, and to the edges
constexpr int kIconGap = 4;              // between the icon and the caption text
constexpr int kMaxTitle = 256;           // characters of the caption text drawn

struct Geometry {
    int width, height;    // the window
    int borderX, borderY; // frame thickness
    RECT caption;         // empty when the window has no caption bar
    RECT close, maximise, minimise;  // empty when the style has no such button
    bool toolWindow;
};

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Measure(HWND window, Geometry* g) {
    WINDOWINFO info;
    info.cbSize = sizeof info;
    if (!GetWindowInfo(window, &info)) return false;
    const LONG style = info.dwStyle;
    *g = Geometry{};
    g->width = info.rcWindow.right - info.rcWindow.left;
    g->height = info.rcWindow.bottom - info.rcWindow.top;
    g->borderX = static_cast<int>(info.cxWindowBorders);
    g->borderY = static_cast<int>(info.cyWindowBorders);
    g->toolWindow = (info.dwExStyle & WS_EX_TOOLWINDOW) != 0;
    if ((style & WS_CAPTION) != WS_CAPTION) return g->width > 0 && g->height > 0;

    int captionHeight = GetSystemMetrics(g->toolWindow ? SM_CYSMCAPTION : SM_CYCAPTION);
    // A window squeezed smaller than its caption keeps the caption inside its client top.
    const int clientTop = info.rcClient.top - info.rcWindow.top;
    if (g->borderY + captionHeight > clientTop) captionHeight = clientTop - g->borderY;
    g->caption = RECT{g->borderX, g->borderY, g->width - g->borderX, g->borderY + captionHeight};
    if (!(style & WS_SYSMENU)) return true;

    // The same places the system's own hit testing gives the buttons.
    const int buttonWidth = GetSystemMetrics(g->toolWindow ? SM_CXSMSIZE : SM_CXSIZE) - kButtonGap;
    const int buttonHeight = GetSystemMetrics(g->toolWindow ? SM_CYSMSIZE : SM_CYSIZE) - 2 * kButtonGap;
    const int top = g->caption.top + kButtonGap;
    int right = g->caption.right - kButtonGap;
    g->close = RECT{right - buttonWidth, top, right, top + buttonHeight};
    if (!g->toolWindow && (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX))) {
        right = g->close.left - kButtonGap;
        g->maximise = RECT{right - buttonWidth, top, right, top + buttonHeight};
        right = g->maximise.left;
        g->minimise = RECT{right - buttonWidth, top, right, top + buttonHeight};
    }
    return g->width > 0 && g->height > 0;
}

// A 32-bit top-down bitmap the painter writes pixels into directly.
struct Canvas {
    uint32_t* pixels;
    int width, height;

    void Fill(RECT r, uint32_t colour) {
        if (r.left < 0) r.left = 0;
        if (r.top < 0) r.top = 0;
        if (r.right > width) r.right = width;
        if (r.bottom > height) r.bottom = height;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) pixels[y * width + x] = colour;
    }
    void Dot(int x, int y, uint32_t colour) {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[y * width + x] = colour;
    }
    void Outline(RECT r, uint32_t colour) {
        Fill(RECT{r.left, r.top, r.right, r.top + 1}, colour);
        Fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, colour);
        Fill(RECT{r.left, r.top, r.left + 1, r.bottom}, colour);
        Fill(RECT{r.right - 1, r.top, r.right, r.bottom}, colour);
    }
};

uint32_t Pixel(Rgb c) { return static_cast<uint32_t>(c.red) << 16 | static_cast<uint32_t>(c.green) << 8 | c.blue; }
COLORREF Colorref(Rgb c) { return RGB(c.red, c.green, c.blue); }

int Mix(int from, int to, int step, int steps) { return from + (to - from) * step / steps; }

Rgb MixRgb(Rgb from, Rgb to, int step, int steps) {
    return Rgb{static_cast<uint8_t>(Mix(from.red, to.red, step, steps)),
               static_cast<uint8_t>(Mix(from.green, to.green, step, steps)),
               static_cast<uint8_t>(Mix(from.blue, to.blue, step, steps))};
}

struct Hsv {
    int hue, saturation, value;  // hue in [0, kHueRange), the others in [0, 255]
};

Hsv ToHsv(Rgb c) {
    const int r = c.red, g = c.green, b = c.blue;
    const int high = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const int spread = high - low;
    Hsv out{0, high ? spread * 255 / high : 0, high};
    if (spread == 0) return out;
    if (high == r) out.hue = (g - b) * 256 / spread;
    else if (high == g) out.hue = 512 + (b - r) * 256 / spread;
    else out.hue = 1024 + (r - g) * 256 / spread;
    if (out.hue < 0) out.hue += kHueRange;
    return out;
}

Rgb ToRgb(Hsv c) {
    const int sector = c.hue / 256, within = c.hue % 256;
    const int v = c.value, s = c.saturation;
    const int p = v * (255 - s) / 255;
    const int q = v * (255 * 256 - s * within) / (255 * 256);
    const int t = v * (255 * 256 - s * (256 - within)) / (255 * 256);
    const int table[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    const int* rgb = table[sector % 6];
    return Rgb{static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]), static_cast<uint8_t>(rgb[2])};
}

// Forward round the wheel from the start's hue to the end's, so red to
// violet passes through every colour of the rainbow.
Rgb MixHue(Rgb from, Rgb to, int step, int steps) {
    const Hsv a = ToHsv(from), b = ToHsv(to);
    int turn = b.hue - a.hue;
    if (turn < 0) turn += kHueRange;
    return ToRgb(Hsv{(a.hue + turn * step / steps) % kHueRange, Mix(a.saturation, b.saturation, step, steps),
                     Mix(a.value, b.value, step, steps)});
}

void PaintCaptionGradient(Canvas& canvas, const RECT& caption, const Palette& palette, bool active) {
    const Rgb from = palette.colours[active ? kActiveCaptionStart : kInactiveCaptionStart];
    const Rgb to = palette.colours[active ? kActiveCaptionEnd : kInactiveCaptionEnd];
    const int steps = caption.right - caption.left > 1 ? caption.right - caption.left - 1 : 1;
    for (int x = caption.left; x < caption.right; ++x) {
        const int step = x - caption.left;
        const Rgb c = (palette.flags & kSkinHueGradient) ? MixHue(from, to, step, steps) : MixRgb(from, to, step, steps);
        canvas.Fill(RECT{x, caption.top, x + 1, caption.bottom}, Pixel(c));
    }
}

enum class Glyph { kClose, kMaximise, kRestore, kMinimise };

void PaintGlyph(Canvas& canvas, const RECT& button, Glyph glyph, uint32_t colour, uint32_t face) {
    const int w = button.right - button.left, h = button.bottom - button.top;
    int size = (w < h ? w : h) - 6;
    if (size < 4) size = 4;
    const int x = button.left + (w - size) / 2, y = button.top + (h - size) / 2;
    switch (glyph) {
    case Glyph::kClose:
        for (int i = 0; i < size; ++i) {
            canvas.Dot(x + i, y + i, colour);
            canvas.Dot(x + i + 1, y + i, colour);
            canvas.Dot(x + size - 1 - i, y + i, colour);
            canvas.Dot(x + size - i, y + i, colour);
        }
        break;
    case Glyph::kMaximise:
        canvas.Outline(RECT{x, y, x + size + 1, y + size}, colour);
        canvas.Fill(RECT{x, y + 1, x + size + 1, y + 2}, colour);
        break;
    case Glyph::kRestore: {
        const int inner = size * 2 / 3 + 1, shift = size - inner;
        canvas.Outline(RECT{x + shift, y, x + size + 1, y + inner}, colour);
        canvas.Fill(RECT{x + shift, y + 1, x + size + 1, y + 2}, colour);
        // The front window hides the back one's corner.
        canvas.Fill(RECT{x, y + shift, x + inner, y + size}, face);
        canvas.Outline(RECT{x, y + shift, x + inner, y + size}, colour);
        break;
    }
    case Glyph::kMinimise:
        canvas.Fill(RECT{x + 1, y + size - 2, x + size - 1, y + size}, colour);
        break;
    }
}

uint32_t HalfWay(Rgb a, Rgb b) { return Pixel(MixRgb(a, b, 1, 2)); }

void PaintButton(Canvas& canvas, const RECT& button, Glyph glyph, bool hot, bool enabled, const Palette& palette) {
    if (IsEmpty(button)) return;
    const Rgb face = palette.colours[hot && enabled ? kButtonHotFace : kButtonFace];
    const Rgb mark = palette.colours[kButtonGlyph];
    canvas.Fill(button, Pixel(face));
    canvas.Outline(button, HalfWay(face, mark));
    PaintGlyph(canvas, button, glyph, enabled ? Pixel(mark) : HalfWay(face, mark), Pixel(face));
}

void PaintButtons(Canvas& canvas, const Geometry& g, HWND window, CaptionLook look, const Palette& palette) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    PaintButton(canvas, g.close, Glyph::kClose, look.hotButton == HTCLOSE, true, palette);
    PaintButton(canvas, g.maximise, (style & WS_MAXIMIZE) ? Glyph::kRestore : Glyph::kMaximise,
                look.hotButton == HTMAXBUTTON, (style & WS_MAXIMIZEBOX) != 0, palette);
    PaintButton(canvas, g.minimise, (style & WS_MINIMIZE) ? Glyph::kRestore : Glyph::kMinimise,
                look.hotButton == HTMINBUTTON, (style & WS_MINIMIZEBOX) != 0, palette);
}

HICON WindowIcon(HWND window) {
    HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    return icon;
}

// The icon and the caption text are drawn with GDI on top of the pixels.
void PaintCaptionContent(HDC dc, const Geometry& g, HWND window, bool active, const Palette& palette) {
    int textLeft = g.caption.left + kButtonGap;
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if ((style & WS_SYSMENU) && !g.toolWindow) {
        if (HICON icon = WindowIcon(window)) {
            const int size = GetSystemMetrics(SM_CXSMICON);
            const int top = g.caption.top + (g.caption.bottom - g.caption.top - size) / 2;
            DrawIconEx(dc, textLeft, top, icon, size, size, 0, nullptr, DI_NORMAL);
            textLeft += size + kIconGap;
        }
    }
    wchar_t title[kMaxTitle];
    const int length = GetWindowTextW(window, title, kMaxTitle);
    if (length <= 0) return;

    NONCLIENTMETRICSW metrics;
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    HFONT font = CreateFontIndirectW(g.toolWindow ? &metrics.lfSmCaptionFont : &metrics.lfCaptionFont);
    if (!font) return;
    const HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Colorref(palette.colours[active ? kActiveCaptionText : kInactiveCaptionText]));
    int textRight = g.caption.right - kButtonGap;
    if (!IsEmpty(g.minimise)) textRight = g.minimise.left - kButtonGap;
    else if (!IsEmpty(g.close)) textRight = g.close.left - kButtonGap;
    RECT text{textLeft, g.caption.top, textRight, g.caption.bottom};
    DrawTextW(dc, title, length, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void PaintPixels(Canvas& canvas, const Geometry& g, HWND window, CaptionLook look, const Palette& palette) {
    canvas.Fill(RECT{0, 0, g.width, g.height}, Pixel(palette.colours[kFrameInner]));
    canvas.Outline(RECT{0, 0, g.width, g.height}, Pixel(palette.colours[kFrameOuter]));
    if (IsEmpty(g.caption)) return;
    PaintCaptionGradient(canvas, g.caption, palette, look.active);
    PaintButtons(canvas, g, window, look, palette);
}

}  // namespace

HRGN SkinnedRegion(HWND window) {
    Geometry g;
    if (!Measure(window, &g)) return nullptr;
    const bool hasFrame = g.borderX > 0 || g.borderY > 0;
    if (!hasFrame && IsEmpty(g.caption)) return nullptr;
    HRGN region = CreateRectRgn(0, 0, g.width, g.height);
    HRGN inside = CreateRectRgn(g.borderX, g.borderY, g.width - g.borderX, g.height - g.borderY);
    CombineRgn(region, region, inside, RGN_DIFF);
    DeleteObject(inside);
    if (!IsEmpty(g.caption)) {
        HRGN caption = CreateRectRgnIndirect(&g.caption);
        CombineRgn(region, region, caption, RGN_OR);
        DeleteObject(caption);
    }
    return region;
}

void PaintFrame(HWND window, HDC dc, const Palette& palette, CaptionLook look) {
    Geometry g;
    if (!Measure(window, &g)) return;
    HRGN region = SkinnedRegion(window);
    if (!region) return;
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = g.width;
    info.bmiHeader.biHeight = -g.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = memory ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap && bits) {
        const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        Canvas canvas{static_cast<uint32_t*>(bits), g.width, g.height};
        PaintPixels(canvas, g, window, look, palette);
        if (!IsEmpty(g.caption)) PaintCaptionContent(memory, g, window, look.active, palette);
        GdiFlush();
        const int saved = SaveDC(dc);
        ExtSelectClipRgn(dc, region, RGN_AND);
        BitBlt(dc, 0, 0, g.width, g.height, memory, 0, 0, SRCCOPY);
        RestoreDC(dc, saved);
        SelectObject(memory, oldBitmap);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    DeleteObject(region);
}

}  // namespace skin
