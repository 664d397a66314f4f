#include "units/drawing_panel/draw_panel.h"

#include <algorithm>

#include "runtime/win32_handles.h"
#include "media/picture/picture_draw.h"

namespace qy {

namespace {
const char kPanelClass[] = "_QY_DrawPanel";

using namespace draw_panel;

constexpr uint32_t kTransparent = 0xFF000000;
// Enough for a program that clears and draws a shape before sampling it; one
// that keeps drawing without clearing is read from the screen instead.
constexpr size_t kMaxLoggedDrawings = 4096;
constexpr int32_t kMaxBorder = kLineBorder, kMaxPictureMode = kPictureCentred, kMaxCoordinateUnit = 5, kMaxPenStyle = 6, kMaxDrawMode = 15,
                  kMaxPenWidth = 32767;


// Template values outside a property's range are taken as a write of them
// would be; a negative brush style keeps meaning "no brush".
void ClampLoaded(DrawPanelData& d) {
    d.border = std::clamp<int32_t>(d.border, 0, kMaxBorder);
    d.pictureMode = std::clamp<int32_t>(d.pictureMode, 0, kMaxPictureMode);
    d.autoRedraw = d.autoRedraw != 0;
    d.coordinateUnit = std::clamp<int32_t>(d.coordinateUnit, 0, kMaxCoordinateUnit);
    d.penStyle = std::clamp<int32_t>(d.penStyle, 0, kMaxPenStyle);
    d.drawMode = std::clamp<int32_t>(d.drawMode, 0, kMaxDrawMode);
    d.penWidth = std::clamp<int32_t>(d.penWidth, 0, kMaxPenWidth);
    if (d.brushStyle > kMaxBrushStyle) d.brushStyle = kMaxBrushStyle;
}

void FillWithColour(HDC dc, const RECT& r, COLORREF colour) {
    GdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
    if (!brush) return;
    SelectedObject selected(dc, brush.get());
    PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
}

// First tile origin at or before `from` for tiles of `size` starting at 0.
int TileStart(int from, int size) {
    int start = from / size * size;
    return start > from ? start - size : start;
}
}  // namespace

const UnitTypeInfo kDrawPanelType = MakeUnitType("画板", "DrawPanel", kTypeMayRaiseEvents,
                                                 DrawPanel::Properties(), &DrawPanel::Create);

DrawPanel::DrawPanel(const UnitCreation& c, const DrawPanelData& data)
    : Unit(kDrawPanelType, c.windowId, c.unitId), data_(data) {
    BuildPen();
    BuildBrush();
    BuildFont();
}

DrawPanel::~DrawPanel() = default;

Unit* DrawPanel::Create(const UnitCreation& c) {
    DrawPanelData d;
    if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
    ClampLoaded(d);
    if (!RegisterUnitClass(kPanelClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                           static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH))))
        return nullptr;
    auto* panel = new DrawPanel(c, d);
    if (!CreateUnitWindow(panel, c, 0, kPanelClass, "", 0)) return nullptr;
    panel->ApplyBorder();
    // The creation's own size change normally built it already.
    if (panel->data_.autoRedraw && !panel->canvas_) panel->RebuildCanvas(false);
    return panel;
}

void DrawPanel::BuildPen() {
    pen_.reset(MakePanelPen(data_.penStyle, data_.penStyle == 0 ? 0 : data_.penWidth, ResolveColour(data_.penColor)));
}

void DrawPanel::BuildBrush() { brush_ = MakePanelBrush(data_.brushStyle, ResolveColour(data_.brushColor)); }

void DrawPanel::BuildFont() { font_.reset(MakePanelFont(data_.font, data_.coordinateUnit)); }

void DrawPanel::ApplyBorder() {
    SetBorderStyles(hwnd(), data_.border, true);
    RedrawFrame(hwnd());
}

namespace {
// Stores the value; true when that changed the field.
template <class Field, class Value>
bool Change(Field& field, Value value) {
    if (field == value) return false;
    field = value;
    return true;
}
}  // namespace

const DrawPanel::PropertyTableType& DrawPanel::Properties() {
    using P = DrawPanel;
    using V = const PropertyValue&;
    using Out = PropertyValue*;
    static constexpr PropertyRow<P> kRows[] = {
        {"Border", kPropChoice, [](P& u, Out o) { u.GiveInt(o, u.data_.border); },
         [](P& u, V v) { return u.data_.border = std::clamp<int32_t>(v.i, 0, kMaxBorder), u.ApplyBorder(), 0; }},
        {"BackColor", kPropBackColour, [](P& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.backColor)); },
         [](P& u, V v) {
             if (Change(u.data_.backColor, static_cast<uint32_t>(v.i))) {
                 if (u.data_.autoRedraw) u.RebuildCanvas(false);
                 InvalidateRect(u.hwnd(), nullptr, TRUE);
             }
             return 0;
         }},
        {"BackPicture", kPropPicture, [](P& u, Out o) { u.GiveBytes(o, u.data_.backPicture); },
         [](P& u, V v) {
             u.data_.backPicture = BytesOf(v);
             u.picture_.reset();
             if (u.data_.autoRedraw) u.RebuildCanvas(false);
             InvalidateRect(u.hwnd(), nullptr, TRUE);
             return 0;
         }},
        {"PictureMode", kPropChoice, [](P& u, Out o) { u.GiveInt(o, u.data_.pictureMode); },
         [](P& u, V v) {
             if (Change(u.data_.pictureMode, std::clamp<int32_t>(v.i, 0, kMaxPictureMode)))
                 InvalidateRect(u.hwnd(), nullptr, TRUE);
             return 0;
         }},
        {"AutoRedraw", kPropLogical, [](P& u, Out o) { u.GiveInt(o, u.data_.autoRedraw); },
         [](P& u, V v) {
             if (Change(u.data_.autoRedraw, v.i != 0 ? 1 : 0)) {
                 if (u.data_.autoRedraw) {
                     u.RebuildCanvas(false);
                 } else {
                     u.DropCanvas();
                 }
             }
             return 0;
         }},
        {"CoordinateUnit", kPropChoice, [](P& u, Out o) { u.GiveInt(o, u.data_.coordinateUnit); },
         [](P& u, V v) {
             if (Change(u.data_.coordinateUnit, std::clamp<int32_t>(v.i, 0, kMaxCoordinateUnit))) u.BuildFont();
             return 0;
         }},
        {"PenStyle", kPropChoice, [](P& u, Out o) { u.GiveInt(o, u.data_.penStyle); },
         [](P& u, V v) {
             if (Change(u.data_.penStyle, std::clamp<int32_t>(v.i, 0, kMaxPenStyle))) u.BuildPen();
             return 0;
         }},
        {"DrawMode", kPropInt, [](P& u, Out o) { u.GiveInt(o, u.data_.drawMode); },
         [](P& u, V v) { return u.data_.drawMode = std::clamp<int32_t>(v.i, 0, kMaxDrawMode), 0; }},
        {"PenWidth", kPropInt, [](P& u, Out o) { u.GiveInt(o, u.data_.penWidth); },
         [](P& u, V v) {
             if (Change(u.data_.penWidth, std::clamp<int32_t>(v.i, 0, kMaxPenWidth))) u.BuildPen();
             return 0;
         }},
        {"PenColor", kPropColour, [](P& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.penColor)); },
         [](P& u, V v) {
             if (Change(u.data_.penColor, static_cast<uint32_t>(v.i))) u.BuildPen();
             return 0;
         }},
        {"BrushStyle", kPropChoice, [](P& u, Out o) { u.GiveInt(o, u.data_.brushStyle); },
         [](P& u, V v) {
             if (Change(u.data_.brushStyle, std::clamp<int32_t>(v.i, 0, kMaxBrushStyle))) u.BuildBrush();
             return 0;
         }},
        {"BrushColor", kPropColour, [](P& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.brushColor)); },
         [](P& u, V v) {
             if (Change(u.data_.brushColor, static_cast<uint32_t>(v.i))) u.BuildBrush();
             return 0;
         }},
        {"TextColor", kPropColour, [](P& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.textColor)); },
         [](P& u, V v) { return u.data_.textColor = static_cast<uint32_t>(v.i), 0; }},
        {"TextBackColor", kPropColourOrTransparent,
         [](P& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.textBackColor)); },
         [](P& u, V v) { return u.data_.textBackColor = static_cast<uint32_t>(v.i), 0; }},
        {"Font", kPropFont, [](P& u, Out o) { u.GiveBytes(o, u.data_.font); },
         [](P& u, V v) { return u.data_.font = BytesOf(v), u.BuildFont(), 0; }},
        // The canvas size is read-only: a written one is ignored.
        {"CanvasWidth", kPropInt, [](P& u, Out o) { u.GiveInt(o, u.CanvasSize().x); }, [](P&, V) { return 0; }},
        {"CanvasHeight", kPropInt, [](P& u, Out o) { u.GiveInt(o, u.CanvasSize().y); }, [](P&, V) { return 0; }},
    };
    static constexpr PropertyTableType kTable = MakePropertyTable(kRows);
    return kTable;
}

int DrawPanel::PropertyChanged(int own, const PropertyValue& v) { return Properties().Write(*this, own, v); }

bool DrawPanel::GetProperty(int own, PropertyValue* out) { return Properties().Read(*this, own, out); }

POINT DrawPanel::CanvasSize() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    POINT size{client.right, client.bottom};
    ClientDc dc(hwnd());
    if (dc.get()) {
        ApplyMapping(dc.get());
        size = DeviceToLogical(dc.get(), size);
        RestoreDefaults(dc.get());
    }
    return size;
}

HDC DrawPanel::DrawingDc(std::optional<ClientDc>& held) const {
    if (paintDc_) return paintDc_;
    if (!hwnd()) return nullptr;
    held.emplace(hwnd());
    return held->get();
}

void DrawPanel::ApplySettings(HDC dc, bool textMode) const {
    ApplyMapping(dc);
    SelectObject(dc, pen_ ? static_cast<HGDIOBJ>(pen_.get()) : GetStockObject(BLACK_PEN));
    SelectObject(dc, brush_.brush ? static_cast<HGDIOBJ>(brush_.brush.get()) : GetStockObject(WHITE_BRUSH));
    SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, ResolveColour(textMode ? data_.textColor : data_.brushColor));
    if (data_.textBackColor == kTransparent) {
        SetBkMode(dc, TRANSPARENT);
        SetBkColor(dc, ResolveColour(data_.backColor));
    } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ResolveColour(data_.textBackColor));
    }
    SetROP2(dc, data_.drawMode + 1);
    SetStretchBltMode(dc, DisplayStretchMode());
    SetPolyFillMode(dc, WINDING);
}

void DrawPanel::RestoreDefaults(HDC dc) {
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
}

void DrawPanel::Draw(bool textMode, std::function<void(HDC)> op) {
    if (!logOverflowed_ && log_.size() < kMaxLoggedDrawings) {
        log_.push_back(LoggedDrawing{textMode, op});
    } else {
        logOverflowed_ = true;
        log_.clear();
        log_.shrink_to_fit();
    }
    std::optional<ClientDc> held;
    HDC screen = DrawingDc(held);
    if (!screen) return;
    if (canvas_) {
        MemoryDc canvas(screen, canvas_.get());
        if (canvas.get()) {
            ApplySettings(canvas.get(), textMode);
            op(canvas.get());
            RestoreDefaults(canvas.get());
        }
    }
    ApplySettings(screen, textMode);
    op(screen);
    RestoreDefaults(screen);
}

void DrawPanel::ResetDrawingLog() {
    log_.clear();
    logOverflowed_ = false;
}

void DrawPanel::ReplayDrawing(HDC dc, SIZE size) {
    PaintBackground(dc, RECT{0, 0, size.cx, size.cy});
    for (const LoggedDrawing& drawing : log_) {
        ApplySettings(dc, drawing.textMode);
        drawing.op(dc);
        RestoreDefaults(dc);
    }
}

const Picture* DrawPanel::BackPicture() {
    if (!picture_ && !data_.backPicture.empty()) {
        picture_ = DecodePicture(data_.backPicture.data(), static_cast<int>(data_.backPicture.size()));
        if (!picture_) data_.backPicture.clear();  // undecodable data is dropped for good
    }
    return picture_.get();
}

void DrawPanel::PaintBackground(HDC dc, const RECT& rect) {
    COLORREF back = ResolveColour(data_.backColor);
    const Picture* picture = BackPicture();
    if (!picture || picture->width <= 0 || picture->height <= 0) {
        FillWithColour(dc, rect, back);
        return;
    }
    RECT area{0, 0, 0, 0};
    GetClientRect(hwnd(), &area);
    DrawBackPicture(dc, rect, area, *picture, back);
}

void DrawPanel::DrawBackPicture(HDC dc, const RECT& rect, const RECT& area, const Picture& picture, COLORREF back) {
    int saved = SaveDC(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    int pw = picture.width, ph = picture.height;
    int aw = area.right - area.left, ah = area.bottom - area.top;
    if (data_.pictureMode == kPictureTiled) {
        // One rendered tile, copied over the rectangle; icons get the
        // background colour behind their transparent parts.
        GdiHandle<HBITMAP> tile(CreateCompatibleBitmap(dc, pw, ph));
        MemoryDc tileDc(dc, tile.get());
        if (tile && tileDc.get()) {
            FillWithColour(tileDc.get(), RECT{0, 0, pw, ph}, back);
            RenderPicture(picture, tileDc.get(), 0, 0, -1, -1, SRCCOPY, back);
            for (int y = TileStart(rect.top, ph); y < rect.bottom; y += ph)
                for (int x = TileStart(rect.left, pw); x < rect.right; x += pw)
                    BitBlt(dc, x, y, pw, ph, tileDc.get(), 0, 0, SRCCOPY);
        } else {
            FillWithColour(dc, rect, back);
        }
    } else {
        int x = 0, y = 0, w = pw, h = ph;
        if (data_.pictureMode == kPictureCentred) {
            if (pw > aw || ph > ah) {
                double scale = std::min(static_cast<double>(aw) / pw, static_cast<double>(ah) / ph);
                w = static_cast<int>(pw * scale);
                h = static_cast<int>(ph * scale);
            }
            x = w < aw ? (aw - w) / 2 : 0;
            y = h < ah ? (ah - h) / 2 : 0;
        }
        FillWithColour(dc, rect, back);
        if (w > 0 && h > 0) RenderPicture(picture, dc, area.left + x, area.top + y, w, h, SRCCOPY, back);
    }
    RestoreDC(dc, saved);
}

void DrawPanel::RebuildCanvas(bool copyOld) {
    HWND h = hwnd();
    if (!h) return;
    RECT client{0, 0, 0, 0};
    GetClientRect(h, &client);
    int width = std::max<int>(1, client.right), height = std::max<int>(1, client.bottom);
    ClientDc window(h);
    HDC screen = window.get();
    if (!screen) return;
    GdiHandle<HBITMAP> fresh(CreateCompatibleBitmap(screen, width, height));
    if (fresh) {
        MemoryDc target(screen, fresh.get());
        if (target.get()) {
            PaintBackground(target.get(), RECT{0, 0, width, height});
            // A centred, shrunk picture moves with the size, so old drawings
            // would no longer line up with it.
            bool keep = copyOld && canvas_ && !(data_.pictureMode == kPictureCentred && BackPicture());
            BITMAP old;
            if (keep && GetObjectA(canvas_.get(), sizeof old, &old)) {
                MemoryDc source(screen, canvas_.get());
                if (source.get())
                    BitBlt(target.get(), 0, 0, std::min<int>(width, old.bmWidth), std::min<int>(height, old.bmHeight),
                           source.get(), 0, 0, SRCCOPY);
            }
        }
        canvas_ = std::move(fresh);
    }
}

void DrawPanel::DropCanvas() { canvas_.reset(); }

LRESULT DrawPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // the background is painted with the rest in WM_PAINT
        case WM_PAINT: return OnPaint();
        case WM_SIZE: {
            LRESULT result = DefaultProc(message, wParam, lParam);
            writePosition_ = POINT{0, 0};
            if (data_.autoRedraw) RebuildCanvas(true);
            return result;
        }
        case WM_MOUSEACTIVATE: return OnMouseActivate(wParam, lParam);
        default: return DefaultProc(message, wParam, lParam);
    }
}

LRESULT DrawPanel::OnPaint() {
    HWND h = hwnd();
    PaintDc paint(h);
    HDC dc = paint.get();
    if (!dc) return 0;
    RECT clip{0, 0, 0, 0}, client{0, 0, 0, 0}, rect{0, 0, 0, 0};
    GetClipBox(dc, &clip);
    GetClientRect(h, &client);
    IntersectRect(&rect, &clip, &client);
    lastPaint_ = rect;
    if (IsRectEmpty(&rect)) return 0;
    if (canvas_) {
        BITMAP info;
        MemoryDc canvas(dc, canvas_.get());
        if (canvas.get() && GetObjectA(canvas_.get(), sizeof info, &info)) {
            RECT inside{0, 0, info.bmWidth, info.bmHeight};
            IntersectRect(&inside, &inside, &rect);
            BitBlt(dc, inside.left, inside.top, inside.right - inside.left, inside.bottom - inside.top, canvas.get(),
                   inside.left, inside.top, SRCCOPY);
        }
        return 0;
    }
    PaintBackground(dc, rect);
    ApplyMapping(dc);
    POINT topLeft = DeviceToLogical(dc, POINT{rect.left, rect.top});
    POINT bottomRight = DeviceToLogical(dc, POINT{rect.right, rect.bottom});
    RestoreDefaults(dc);
    POINT previous = writePosition_;
    writePosition_ = POINT{0, 0};
    paintDc_ = dc;
    RaiseEvent(draw_panel::kPaint, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
    // The subroutine may have destroyed the window, and the panel with it.
    if (!StillOwns(h, this)) return 0;
    writePosition_ = previous;
    paintDc_ = nullptr;
    return 0;
}

LRESULT DrawPanel::OnMouseActivate(WPARAM wParam, LPARAM lParam) {
    HWND h = hwnd();
    if (GetWindowLongPtrA(h, GWL_STYLE) & WS_TABSTOP) {
        DWORD at = GetMessagePos();
        POINT p{static_cast<SHORT>(LOWORD(at)), static_cast<SHORT>(HIWORD(at))};
        ScreenToClient(h, &p);
        if (ChildWindowFromPointEx(h, p, CWP_SKIPINVISIBLE) == h) {
            if (GetFocus() != h) SetFocus(h);
            return MA_ACTIVATE;
        }
    }
    return DefaultProc(WM_MOUSEACTIVATE, wParam, lParam);
}

}  // namespace qy
