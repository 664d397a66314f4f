// qizi.exe's glyphs and drawings through GDI, made as the window's drawing
// panel makes them (its font, its text settings, its off-screen surface), so
// that sampled cells match the window's export byte for byte.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/glyphs.h"
#include "media/picture/picture.h"

namespace cli {

class GdiGlyphs : public core::Glyphs {
public:
    explicit GdiGlyphs(const core::FontSpec& wanted);
    ~GdiGlyphs() override;
    GdiGlyphs(const GdiGlyphs&) = delete;
    GdiGlyphs& operator=(const GdiGlyphs&) = delete;

    Extent Measure(const std::string& text) override;
    void Render(const std::string& text, int32_t x, int32_t y, core::CoverageMask* mask) override;
    bool Has(const std::string& character) override;
    HFONT font() const { return font_; }

private:
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
};

// The colours (0x00BBGGRR) at points 1..columns, 1..rows of a drawing made
// on white paper in the panel's drawing settings with `font`, row by row;
// empty when no surface could be made.
std::vector<int32_t> SampleDrawing(int32_t columns, int32_t rows, HFONT font,
                                   const std::function<void(HDC)>& draw);

// The shape text written at (x, y) as the panel's WriteAt writes it.
void WriteShape(HDC dc, int32_t x, int32_t y, const std::string& text);

// A picture drawn stretched to width x height at (x, y) as the panel's DrawPicture draws it.
void DrawPictureAt(HDC dc, const qy::Picture& picture, int32_t x, int32_t y, int32_t width, int32_t height);

// A picture's pixels (0x00BBGGRR, top row first) as drawn at its own size on white.
std::vector<int32_t> PicturePixels(const qy::Picture& picture);

}  // namespace cli
