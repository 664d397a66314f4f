// The drawing panel's methods and their entries in the core command table.
// Each entry reads its value records (the first is the unit reference) and
// hands plain values to the panel; values to write or measure are converted
// as ToText does.
#include "units/drawing_panel/panel_methods.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <utility>

#include "runtime/command_args.h"
#include "runtime/conversions.h"
#include "runtime/errors.h"
#include "runtime/win32_handles.h"
#include "units/drawing_panel/draw_panel.h"
#include "media/picture/picture_draw.h"
#include "media/picture/picture_registry.h"
#include "window/window_list.h"

namespace qy {
namespace panel {

int32_t CopyModeRasterOp(OptionalInt copyMode) {
    if (!copyMode.present) return SRCCOPY;
    switch (copyMode.value) {
        case 1: return SRCCOPY;
        case 2: return NOTSRCCOPY;
        case 3: return SRCINVERT;
        case 4: return SRCPAINT;
        case 5: return SRCAND;
        default: return copyMode.value;  // a raster code, or -colour for a transparent colour
    }
}

namespace {
void UsePixelMapping(HDC dc) {
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
}

SIZE MeasureText(DrawPanel& panel, const std::string& text) {
    SIZE size{0, 0};
    if (!panel.hwnd()) return size;
    ClientDc dc(panel.hwnd());
    if (!dc.get()) return size;
    panel.ApplySettings(dc.get(), true);
    GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    DrawPanel::RestoreDefaults(dc.get());
    return size;
}

// A registered picture's pixel size in the panel's coordinate unit.
POINT PictureSize(DrawPanel& panel, int32_t number) {
    const Picture* picture = FindPicture(number);
    if (!picture) return POINT{0, 0};
    POINT size{picture->width, picture->height};
    if (!panel.hwnd()) return size;
    ClientDc dc(panel.hwnd());
    if (!dc.get()) return size;
    panel.ApplyMapping(dc.get());
    size = DeviceToLogical(dc.get(), size);
    DrawPanel::RestoreDefaults(dc.get());
    return size;
}

// The loaded panel named by a unit reference; anything else is the runtime
// error for a unit that does not exist or is not loaded.
DrawPanel& Resolve(uint32_t windowId, uint32_t unitId) {
    Unit* unit = Windows().FindUnitObject(windowId, unitId, true);
    if (!unit || &unit->type() != &kDrawPanelType) WindowError(msg::kNoSuchUnit);
    return *static_cast<DrawPanel*>(unit);
}

void Clear(DrawPanel& panel, OptionalInt left, OptionalInt top, OptionalInt width, OptionalInt height) {
    RECT r{0, 0, 0, 0};
    GetClientRect(panel.hwnd(), &r);
    if (left.present) r.left = left.value;
    if (top.present) r.top = top.value;
    if (width.present) r.right = r.left + width.value;
    if (height.present) r.bottom = r.top + height.value;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    DrawPanel* target = &panel;
    panel.Draw(false, [target, r](HDC dc) {
        UsePixelMapping(dc);
        target->PaintBackground(dc, r);
        MoveToEx(dc, r.left, r.top, nullptr);
    });
    if (!left.present && !top.present && !width.present && !height.present) panel.ResetDrawingLog();
    panel.SetWritePosition(POINT{r.left, r.top});
}

void WriteAt(DrawPanel& panel, OptionalInt x, OptionalInt y, const std::vector<std::string>& texts) {
    POINT from = panel.writePosition();
    panel.Draw(true, [from, x, y, texts](HDC dc) { WriteOn(dc, from, x, y, texts); });
}

void DrawPicture(DrawPanel& panel, int32_t number, int32_t x, int32_t y, OptionalInt width, OptionalInt height,
                 OptionalInt copyMode) {
    // The drawing log shares the picture, so it still replays after the
    // program releases it.
    std::shared_ptr<const Picture> picture = SharePicture(number);
    if (!picture) return;
    int32_t rasterOp = CopyModeRasterOp(copyMode);
    panel.Draw(false, [picture, x, y, width, height, rasterOp](HDC dc) {
        // Origins are 0 in every unit, so sizes convert like points.
        POINT at = LogicalToDevice(dc, POINT{x, y});
        int w = width.present ? LogicalToDevice(dc, POINT{width.value, 0}).x : -1;
        int h = height.present ? LogicalToDevice(dc, POINT{0, height.value}).y : -1;
        UsePixelMapping(dc);
        RenderPicture(*picture, dc, at.x, at.y, w, h, rasterOp, RGB(255, 255, 255));
    });
}

int32_t ReadPixel(DrawPanel& panel, int32_t x, int32_t y) {
    std::optional<ClientDc> held;
    HDC dc = panel.DrawingDc(held);
    if (!dc) return static_cast<int32_t>(CLR_INVALID);
    bool mapped = panel.data().coordinateUnit != 0;
    if (mapped) panel.ApplyMapping(dc);
    // GetPixel answers CLR_INVALID outside the clip region on Windows; the
    // visibility test makes that hold on every GDI.
    COLORREF colour = PtVisible(dc, x, y) ? GetPixel(dc, x, y) : CLR_INVALID;
    if (mapped) UsePixelMapping(dc);
    return static_cast<int32_t>(colour);
}

// Device pixel of each logical coordinate from `first` on, along one axis;
// kUnconvertible where the coordinate leaves the int range.
constexpr int64_t kUnconvertible = INT64_MIN;
std::vector<int64_t> DeviceCoordinates(HDC mapped, int32_t first, int32_t count, bool vertical) {
    std::vector<int64_t> device(static_cast<size_t>(count), kUnconvertible);
    for (int32_t i = 0; i < count; ++i) {
        int64_t logical = static_cast<int64_t>(first) + i;
        if (logical > INT32_MAX) break;
        POINT p{vertical ? 0 : static_cast<LONG>(logical), vertical ? static_cast<LONG>(logical) : 0};
        if (!mapped) {
            device[i] = logical;
        } else if (LPtoDP(mapped, &p, 1)) {
            device[i] = vertical ? p.y : p.x;
        }
    }
    return device;
}

// A top-down 32-bit DIB section and a DC that draws on it; its pixels read
// as GetPixel reads them, and Wine renders text on it as on a window.
class GridSurface {
public:
    GridSurface(int width, int height) : width_(width) {
        BITMAPINFO info = DibInfo(width, -height);
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (bitmap_) bits_ = static_cast<const uint32_t*>(bits);
        if (bits_) dc_.emplace(nullptr, bitmap_.get());
    }
    HDC dc() const { return dc_ && dc_->get() ? dc_->get() : nullptr; }
    COLORREF At(int x, int y) const {
        uint32_t p = bits_[static_cast<size_t>(y) * width_ + x];  // 0x00RRGGBB
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_;
    GdiHandle<HBITMAP> bitmap_;
    const uint32_t* bits_ = nullptr;
    std::optional<MemoryDc> dc_;
};

constexpr int64_t kMaxGridCells = 16777216;
// Larger surfaces (points far beyond the panel) are not worth the memory.
constexpr int64_t kMaxSurfacePixels = 16777216;

// The colours of the drawing replayed off the screen; false when it cannot
// be replayed or the surface cannot be made.
bool ReplayGrid(DrawPanel& panel, int32_t left, int32_t top, int32_t columns, int32_t rows,
                std::vector<int32_t>* colours) {
    if (!panel.DrawingLogged()) return false;
    RECT client{0, 0, 0, 0};
    GetClientRect(panel.hwnd(), &client);
    std::vector<int64_t> xs, ys;
    {
        MemoryDc mapping(nullptr, nullptr);
        if (!mapping.get()) return false;
        bool mapped = panel.data().coordinateUnit != 0;
        if (mapped) panel.ApplyMapping(mapping.get());
        xs = DeviceCoordinates(mapped ? mapping.get() : nullptr, left, columns, false);
        ys = DeviceCoordinates(mapped ? mapping.get() : nullptr, top, rows, true);
    }
    int64_t width = std::max<int64_t>(1, client.right), height = std::max<int64_t>(1, client.bottom);
    for (int64_t x : xs) width = std::max(width, x + 1);
    for (int64_t y : ys) height = std::max(height, y + 1);
    if (width * height > kMaxSurfacePixels) return false;
    GridSurface surface(static_cast<int>(width), static_cast<int>(height));
    if (!surface.dc()) return false;
    panel.ReplayDrawing(surface.dc(), SIZE{static_cast<LONG>(width), static_cast<LONG>(height)});
    GdiFlush();
    // Nothing is drawn left of or above the surface, so the background shows there.
    int32_t back = static_cast<int32_t>(ResolveColour(panel.data().backColor));
    colours->clear();
    colours->reserve(static_cast<size_t>(columns) * rows);
    for (int64_t y : ys)
        for (int64_t x : xs) {
            if (x == kUnconvertible || y == kUnconvertible) {
                colours->push_back(static_cast<int32_t>(CLR_INVALID));
            } else if (x < 0 || y < 0) {
                colours->push_back(back);
            } else {
                colours->push_back(static_cast<int32_t>(surface.At(static_cast<int>(x), static_cast<int>(y))));
            }
        }
    return true;
}

// Colours of columns x rows points from (left, top), row by row, as
// little-endian 32-bit values; empty for an empty or oversized grid.
std::string ReadPixelGrid(DrawPanel& panel, int32_t left, int32_t top, int32_t columns, int32_t rows) {
    if (columns <= 0 || rows <= 0 || static_cast<int64_t>(columns) * rows > kMaxGridCells) return std::string();
    std::vector<int32_t> colours;
    if (!ReplayGrid(panel, left, top, columns, rows, &colours)) {
        // Without a replayable log the screen is all there is, read as ReadPixel reads it.
        colours.clear();
        for (int32_t j = 0; j < rows; ++j)
            for (int32_t i = 0; i < columns; ++i) {
                int64_t x = static_cast<int64_t>(left) + i, y = static_cast<int64_t>(top) + j;
                bool fits = x <= INT32_MAX && y <= INT32_MAX;
                colours.push_back(fits ? ReadPixel(panel, static_cast<int32_t>(x), static_cast<int32_t>(y))
                                       : static_cast<int32_t>(CLR_INVALID));
            }
    }
    std::string bytes(colours.size() * 4, '\0');
    for (size_t k = 0; k < colours.size(); ++k) {
        uint32_t c = static_cast<uint32_t>(colours[k]);
        for (int b = 0; b < 4; ++b) bytes[k * 4 + b] = static_cast<char>((c >> (8 * b)) & 0xFF);
    }
    return bytes;
}

// Text sizes are the text measured as one line, in the coordinate unit;
// picture sizes are 0 when the number names no registered picture.
int32_t TextWidth(DrawPanel& panel, const std::string& text) { return MeasureText(panel, text).cx; }
int32_t TextHeight(DrawPanel& panel, const std::string& text) { return MeasureText(panel, text).cy; }
int32_t PictureWidth(DrawPanel& panel, int32_t picture) { return PictureSize(panel, picture).x; }
int32_t PictureHeight(DrawPanel& panel, int32_t picture) { return PictureSize(panel, picture).y; }
}  // namespace
}  // namespace panel

namespace commands {

namespace {
panel::OptionalInt Optional(const ValueRecord& r) {
    panel::OptionalInt value;
    if (!IsOmitted(r)) value.present = true, value.value = IntArgument(r);
    return value;
}

DrawPanel& PanelOf(const Arguments& args) { return panel::Resolve(args[0].low, args[0].high); }

// The text a value is written as; false for the types the panel skips
// (byte sets, subroutine pointers, arrays, unit references).
bool ValueText(const ValueRecord& r, std::string* text) {
    text->clear();
    if (IsOmitted(r)) return true;
    if (IsByAddress(r)) return false;
    if (!IsNumericType(r.type) && r.type != kTypeText && r.type != kTypeLogical && r.type != kTypeDateTime)
        return false;
    *text = ConvertToText(r);
    return true;
}
}  // namespace

void __cdecl Clear(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    panel::Clear(PanelOf(args), Optional(args[1]), Optional(args[2]), Optional(args[3]), Optional(args[4]));
}

void __cdecl WriteAt(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    DrawPanel& target = PanelOf(args);
    std::vector<std::string> texts;
    std::string text;
    for (int i = 3; i < args.count(); ++i)
        if (ValueText(args[i], &text)) texts.push_back(text);
    panel::WriteAt(target, Optional(args[1]), Optional(args[2]), texts);
}

void __cdecl DrawPicture(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    panel::DrawPicture(PanelOf(args), IntArgument(args[1]), IntArgument(args[2]), IntArgument(args[3]),
                       Optional(args[4]), Optional(args[5]), Optional(args[6]));
}

void __cdecl ReadPixel(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, panel::ReadPixel(PanelOf(args), IntArgument(args[1]), IntArgument(args[2])));
}

void __cdecl ReadPixelGrid(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetByteSetResult(result, panel::ReadPixelGrid(PanelOf(args), IntArgument(args[1]), IntArgument(args[2]),
                                                  IntArgument(args[3]), IntArgument(args[4])));
}

void __cdecl TextWidth(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    DrawPanel& target = PanelOf(args);
    std::string text;
    SetIntResult(result, ValueText(args[1], &text) ? panel::TextWidth(target, text) : 0);
}

void __cdecl TextHeight(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    DrawPanel& target = PanelOf(args);
    std::string text;
    SetIntResult(result, ValueText(args[1], &text) ? panel::TextHeight(target, text) : 0);
}

void __cdecl PictureWidth(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, panel::PictureWidth(PanelOf(args), IntArgument(args[1])));
}

void __cdecl PictureHeight(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, panel::PictureHeight(PanelOf(args), IntArgument(args[1])));
}

}  // namespace commands
}  // namespace qy
