// The memory bitmap every painter draws into: a 32-bit DIB section in a
// memory DC, written pixel by pixel for frames and gradients and through GDI
// for text, ellipses and focus rectangles, then copied to the window.
#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/win32_handles.h"
#include "styling/palette.h"

namespace qy::styling {

class Canvas {
public:
    // A canvas compatible with `reference`; dc() is null when none can be made.
    Canvas(HDC reference, int width, int height);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    RECT bounds() const { return {0, 0, width_, height_}; }

    // Takes the pixels that `source` shows at the origin, for painters that
    // draw over what the control's own procedure painted.
    void TakeFrom(HDC source);
    // Copies the canvas to `target` with its origin at (x, y).
    void CopyTo(HDC target, int x = 0, int y = 0) const;

    void Pixel(int x, int y, COLORREF colour);
    void Fill(const RECT& rect, COLORREF colour);
    void Fill(const RECT& rect, HBRUSH brush);
    void Frame(const RECT& rect, COLORREF colour);
    void HorizontalLine(int x1, int x2, int y, COLORREF colour);
    void VerticalLine(int x, int y1, int y2, COLORREF colour);
    // One vertical gradient when the two top and the two bottom colours
    // agree, otherwise two triangles meeting on the top-left to bottom-right
    // diagonal.
    void Gradient(const RECT& rect, const Quad& quad);
    // The four corner pixels of a rectangle in the quad's colours.
    void Corners(const RECT& rect, const Quad& quad);

private:
    static HBITMAP MakeBitmap(HDC reference, int width, int height, uint32_t** bits);
    bool Inside(int x, int y) const { return bits_ && x >= 0 && y >= 0 && x < width_ && y < height_; }
    void Put(int x, int y, uint32_t pixel) {
        if (Inside(x, y)) bits_[y * width_ + x] = pixel;
    }

    int width_, height_;
    uint32_t* bits_ = nullptr;
    GdiHandle<HBITMAP> bitmap_;
    MemoryDc dc_;
};

}  // namespace qy::styling
