#include "styling/canvas.h"

#include <algorithm>

namespace qy::styling {

namespace {
// A DIB pixel holds blue in its low byte, a COLORREF red.
uint32_t ToPixel(COLORREF colour) { return GetBValue(colour) | GetGValue(colour) << 8 | GetRValue(colour) << 16; }

// Mixes the four corners of a quad with weights that sum to `total`.
uint32_t Blend(const COLORREF (&colour)[4], const int (&weight)[4], int total) {
    int r = 0, g = 0, b = 0;
    for (int i = 0; i < 4; ++i) {
        r += GetRValue(colour[i]) * weight[i];
        g += GetGValue(colour[i]) * weight[i];
        b += GetBValue(colour[i]) * weight[i];
    }
    return ToPixel(RGB((r + total / 2) / total, (g + total / 2) / total, (b + total / 2) / total));
}
}  // namespace

HBITMAP Canvas::MakeBitmap(HDC reference, int width, int height, uint32_t** bits) {
    *bits = nullptr;
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO info = DibInfo(width, -height);  // top-down rows
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (bitmap) *bits = static_cast<uint32_t*>(memory);
    return bitmap;
}

Canvas::Canvas(HDC reference, int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bitmap_(MakeBitmap(reference, width_, height_, &bits_)),
      dc_(reference, bitmap_.get()) {
    if (!bitmap_) bits_ = nullptr;
}

void Canvas::TakeFrom(HDC source) {
    if (dc()) BitBlt(dc(), 0, 0, width_, height_, source, 0, 0, SRCCOPY);
}

void Canvas::CopyTo(HDC target, int x, int y) const {
    if (!dc()) return;
    GdiFlush();
    BitBlt(target, x, y, width_, height_, dc(), 0, 0, SRCCOPY);
}

void Canvas::Pixel(int x, int y, COLORREF colour) {
    GdiFlush();
    Put(x, y, ToPixel(colour));
}

void Canvas::Fill(const RECT& rect, COLORREF colour) {
    GdiFlush();
    uint32_t pixel = ToPixel(colour);
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, height_); ++y)
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, width_); ++x) Put(x, y, pixel);
}

void Canvas::Fill(const RECT& rect, HBRUSH brush) {
    if (dc() && brush) FillRect(dc(), &rect, brush);
}

void Canvas::HorizontalLine(int x1, int x2, int y, COLORREF colour) { Fill(RECT{x1, y, x2, y + 1}, colour); }

void Canvas::VerticalLine(int x, int y1, int y2, COLORREF colour) { Fill(RECT{x, y1, x + 1, y2}, colour); }

void Canvas::Frame(const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    HorizontalLine(rect.left, rect.right, rect.top, colour);
    HorizontalLine(rect.left, rect.right, rect.bottom - 1, colour);
    VerticalLine(rect.left, rect.top, rect.bottom, colour);
    VerticalLine(rect.right - 1, rect.top, rect.bottom, colour);
}

void Canvas::Gradient(const RECT& rect, const Quad& quad) {
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    GdiFlush();
    const COLORREF corners[4] = {quad.topLeft, quad.topRight, quad.bottomLeft, quad.bottomRight};
    bool vertical = quad.topLeft == quad.topRight && quad.bottomLeft == quad.bottomRight;
    // Positions run from 0 to w - 1 and h - 1; the weights are scaled by their product.
    int sw = std::max(w - 1, 1), sh = std::max(h - 1, 1), total = sw * sh;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int u = x * sh, v = y * sw;  // both on the scale of `total`
            int weight[4];
            if (vertical) {
                weight[0] = total - v, weight[1] = 0, weight[2] = v, weight[3] = 0;
            } else if (v <= u) {  // above the diagonal: top-left, top-right, bottom-right
                weight[0] = total - u, weight[1] = u - v, weight[2] = 0, weight[3] = v;
            } else {  // below it: top-left, bottom-left, bottom-right
                weight[0] = total - v, weight[1] = 0, weight[2] = v - u, weight[3] = u;
            }
            Put(rect.left + x, rect.top + y, Blend(corners, weight, total));
        }
    }
}

void Canvas::Corners(const RECT& rect, const Quad& quad) {
    Pixel(rect.left, rect.top, quad.topLeft);
    Pixel(rect.right - 1, rect.top, quad.topRight);
    Pixel(rect.left, rect.bottom - 1, quad.bottomLeft);
    Pixel(rect.right - 1, rect.bottom - 1, quad.bottomRight);
}

}  // namespace qy::styling
