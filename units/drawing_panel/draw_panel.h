// The drawing panel (core unit type 8): a child window of class
// "_QY_DrawPanel" that programs draw on with the panel methods and read
// pixels back from. The panel owns the pen, brush and font built from its
// properties, an optional off-screen canvas (AutoRedraw) that every drawing
// also lands on, and its decoded background picture.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "units/drawing_panel/panel_gdi.h"
#include "media/picture/picture.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "window/property_table.h"
#include "window/unit.h"

namespace qy {

extern const UnitTypeInfo kDrawPanelType;

class DrawPanel : public Unit {
public:
    using PropertyTableType = PropertyTable<DrawPanel, 17>;
    // The panel's own properties, in the order of draw_panel::Property.
    static const PropertyTableType& Properties();

    DrawPanel(const UnitCreation& creation, const DrawPanelData& data);
    ~DrawPanel() override;
    static Unit* Create(const UnitCreation& creation);

    int PropertyChanged(int own, const PropertyValue& value) override;
    bool GetProperty(int own, PropertyValue* out) override;
    Bytes OwnData() const override { return data_.Write(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    const DrawPanelData& data() const { return data_; }
    bool HasCanvas() const { return static_cast<bool>(canvas_); }
    POINT writePosition() const { return writePosition_; }
    void SetWritePosition(POINT p) { writePosition_ = p; }

    // Runs op on the canvas (if any) and then on the screen, each DC with
    // the drawing settings applied and the defaults restored afterwards, and
    // logs it for ReplayDrawing: op must hold its arguments by value.
    void Draw(bool textMode, std::function<void(HDC)> op);
    // A whole Clear: the drawing starts anew, so the log is emptied.
    void ResetDrawingLog();
    // False once more drawings were made since the last whole Clear than
    // the log keeps; only the screen has them then.
    bool DrawingLogged() const { return !logOverflowed_; }
    // Paints the background over a surface of `size` device pixels and
    // draws the logged drawings on it with the current settings.
    void ReplayDrawing(HDC dc, SIZE size);
    // The DC screen reads and measurements use: the paint DC inside the
    // Paint event, else the window's own, kept in `held`; null without a window.
    HDC DrawingDc(std::optional<ClientDc>& held) const;
    // Drawing settings of the panel applied to a DC; RestoreDefaults undoes them.
    void ApplySettings(HDC dc, bool textMode) const;
    static void RestoreDefaults(HDC dc);
    void ApplyMapping(HDC dc) const { ApplyCoordinateUnit(dc, data_.coordinateUnit); }

    // Paints the background into a rectangle of device pixels.
    void PaintBackground(HDC dc, const RECT& rect);

private:
    // The client area in the panel's coordinate unit.
    POINT CanvasSize() const;
    void BuildPen();
    void BuildBrush();
    void BuildFont();
    void ApplyBorder();
    // Replaces the canvas with a fresh one of the client size; copyOld keeps
    // the old drawings in its top-left corner.
    void RebuildCanvas(bool copyOld);
    void DropCanvas();
    const Picture* BackPicture();
    void DrawBackPicture(HDC dc, const RECT& rect, const RECT& area, const Picture& picture, COLORREF back);
    LRESULT OnPaint();
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

    DrawPanelData data_;
    GdiHandle<HPEN> pen_;
    PatternBrush brush_;
    GdiHandle<HFONT> font_;
    GdiHandle<HBITMAP> canvas_;
    std::unique_ptr<Picture> picture_;
    POINT writePosition_{0, 0};
    HDC paintDc_ = nullptr;
    RECT lastPaint_{0, 0, 0, 0};
    struct LoggedDrawing {
        bool textMode;
        std::function<void(HDC)> op;
    };
    std::vector<LoggedDrawing> log_;
    bool logOverflowed_ = false;
};

}  // namespace qy
