// The own-data record of a drawing panel. Byte-level only.
#pragma once
#include <cstdint>
#include <string>

#include "window/own_data.h"

namespace qy {

// Own events and own property indices (counted after the common ones) of the
// drawing panel, here so that the forms can name them too.
namespace draw_panel {
enum Event : int32_t { kPaint = 0 };
enum Property : int32_t {
    kBorder, kBackColor, kBackPicture, kPictureMode, kAutoRedraw, kCoordinateUnit, kPenStyle, kDrawMode, kPenWidth,
    kPenColor, kBrushStyle, kBrushColor, kTextColor, kTextBackColor, kFont, kCanvasWidth, kCanvasHeight,
};
}

struct DrawPanelData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t border = 0;
    uint32_t backColor = kButtonFaceColour;
    int32_t pictureMode = 1;
    int32_t autoRedraw = 0;
    int32_t coordinateUnit = 0;
    int32_t penStyle = 1;
    int32_t drawMode = 12;
    int32_t penWidth = 0;
    uint32_t penColor = 0;
    int32_t brushStyle = 1;
    uint32_t brushColor = 0xFFFFFF;
    uint32_t textColor = 0;
    uint32_t textBackColor = kButtonFaceColour;
    Bytes font;
    Bytes backPicture;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion, true);
        v.I32(d.border);
        v.U32(d.backColor);
        v.I32(d.pictureMode);
        v.I32(d.autoRedraw);
        v.I32(d.coordinateUnit);
        v.I32(d.penStyle);
        v.I32(d.drawMode);
        v.I32(d.penWidth);
        v.U32(d.penColor);
        v.I32(d.brushStyle);
        v.U32(d.brushColor);
        v.U32(d.textColor);
        v.U32(d.textBackColor);
        v.Buffer(d.font);
        v.Buffer(d.backPicture);
    }
    static DrawPanelData Read(const Bytes& data) { return ReadOwnData<DrawPanelData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
