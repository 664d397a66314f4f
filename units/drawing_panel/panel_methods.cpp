// The drawing panel's methods and their entries in the core command table.
// Each entry reads its value records (the first is the unit reference) and
// hands plain values to the panel; values to write or measure are converted
// as ToText does.
#include "units/drawing_panel/panel_methods.h"

#include <utility>

#include "runtime/command_args.h"
#include "runtime/conversions.h"
#include "runtime/errors.h"
#include "units/drawing_panel/draw_panel.h"
#include "media/picture/picture_draw.h"
#include "media/picture/picture_registry.h"
#include "window/window_list.h"

namespace qy {
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

void WriteOn(HDC dc, const DrawPanel& panel, OptionalInt x, OptionalInt y, const std::vector<std::string>& texts) {
    POINT at = DeviceToLogical(dc, panel.writePosition());
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
    panel.Draw(false, [&](HDC dc) {
        UsePixelMapping(dc);
        panel.PaintBackground(dc, r);
        MoveToEx(dc, r.left, r.top, nullptr);
    });
    panel.SetWritePosition(POINT{r.left, r.top});
}

void WriteAt(DrawPanel& panel, OptionalInt x, OptionalInt y, const std::vector<std::string>& texts) {
    panel.Draw(true, [&](HDC dc) { WriteOn(dc, panel, x, y, texts); });
}

void DrawPicture(DrawPanel& panel, int32_t number, int32_t x, int32_t y, OptionalInt width, OptionalInt height,
                 OptionalInt copyMode) {
    const Picture* picture = FindPicture(number);
    if (!picture) return;
    int32_t rasterOp = CopyModeRasterOp(copyMode);
    panel.Draw(false, [&](HDC dc) {
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
