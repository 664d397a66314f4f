// The unit created in place of one whose support library failed to load: a
// plain child window that says so.
#include "window/placeholder.h"
#include "runtime/win32_handles.h"
#include "window/window_list.h"

namespace qy {

namespace {
const char kPlaceholderClass[] = "_QY_Placeholder";

class Placeholder : public Unit {
public:
    Placeholder(const UnitTypeInfo& type, const UnitCreation& c, const Bytes& data)
        : Unit(type, c.windowId, c.unitId), data_(data) {}

    int PropertyChanged(int, const PropertyValue&) override { return kPropertyApplied; }
    bool GetProperty(int, PropertyValue*) override { return false; }
    Bytes OwnData() const override { return data_; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_PAINT) return DefaultProc(message, wParam, lParam);
        PaintDc paint(hwnd());
        HDC dc = paint.get();
        RECT r;
        GetClientRect(hwnd(), &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc, wmsg::kLibraryFailed, -1, &r, DT_WORDBREAK);
        return 0;
    }

private:
    Bytes data_;
};

const UnitTypeInfo kPlaceholderType = {"", "", 0, nullptr, 0, nullptr};
}  // namespace

Unit* CreatePlaceholder(const UnitCreation& c) {
    if (!RegisterUnitClass(kPlaceholderClass, 0)) return nullptr;
    auto* unit = new Placeholder(kPlaceholderType, c, Bytes(c.data, c.data + c.size));
    if (!CreateUnitWindow(unit, c, 0, kPlaceholderClass, "", 0)) return nullptr;
    return unit;
}

}  // namespace qy
