// The colour picker unit: an owner-drawn "BUTTON" that paints a colour bar
// and a drop-down arrow, opens the popup palette on a click, passes the
// popup's notifications on to its parent and raises event 0 on every
// confirmed choice.
#include "units/colour_picker/colour_picker.h"
#include "window/property_table.h"
#include "window/unit.h"

#include <algorithm>

#include "runtime/win32_handles.h"
#include "units/colour_picker/colour_popup.h"
#include "units/colour_picker/colour_picker_data.h"

namespace qy {

namespace {
const char kTransparentText[] = "透明";
const char kCustomText[] = "其它颜色...";
// Posted to itself on a click, so that the popup takes the mouse only after
// the button has finished with it.
constexpr UINT kOpenPopupMessage = WM_APP + 1009;

class ColourPicker : public Unit {
public:
    ColourPicker(const UnitCreation& c, const ColourPickerData& d)
        : Unit(kColourPickerType, c.windowId, c.unitId), colour_(d.color), allowTransparent_(d.allowTransparent) {
        if (!AllowsTransparent() && colour_ == kTransparentColour) colour_ = 0;
    }

    static Unit* Create(const UnitCreation& c) {
        ColourPickerData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        auto* unit = new ColourPicker(c, d);
        HWND hwnd = CreateWindowExA(0, "BUTTON", "", c.style | WS_CHILD | WS_CLIPSIBLINGS | BS_OWNERDRAW, c.left,
                                    c.top, c.width, c.height, c.parent,
                                    reinterpret_cast<HMENU>(static_cast<uintptr_t>(c.controlId)),
                                    GetModuleHandleA(nullptr), nullptr);
        if (!hwnd) {
            delete unit;
            return nullptr;
        }
        unit->Attach(hwnd);
        return unit;
    }

    // The picker's own properties, in the order of colour_picker::Property.
    static const auto& Properties() {
        using P = ColourPicker;
        using V = const PropertyValue&;
        using Out = PropertyValue*;
        static constexpr PropertyRow<P> kRows[] = {
            {"Color", kPropColourOrTransparent, [](P& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.colour_)); },
             [](P& u, V v) {
                 u.colour_ = static_cast<uint32_t>(v.i);
                 if (!u.AllowsTransparent() && u.colour_ == kTransparentColour) u.colour_ = 0;
                 u.Redraw();
                 return 0;
             }},
            {"AllowTransparent", kPropLogical, [](P& u, Out o) { u.GiveInt(o, u.allowTransparent_); },
             [](P& u, V v) { return u.allowTransparent_ = v.i, 0; }},
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override { return Properties().Write(*this, own, v); }
    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

    Bytes OwnData() const override {
        ColourPickerData d;
        d.color = colour_;
        d.allowTransparent = allowTransparent_;
        return d.Write();
    }

    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message == WM_DRAWITEM) {
            Paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            *result = TRUE;
            return true;
        }
        if (message == WM_COMMAND && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED)) {
            if (!popupOpen_) {
                popupOpen_ = true;
                PostMessageA(hwnd(), kOpenPopupMessage, 0, 0);
            }
            *result = 0;
            return true;
        }
        return false;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case kOpenPopupMessage: OpenPopup(); return 0;
            case kColourSelChange:
                // The picker keeps its own colour while the popup is open.
                Notify(kColourSelChange, static_cast<uint32_t>(wParam));
                return 0;
            case kColourSelEndOk: EndPopup(true, static_cast<uint32_t>(wParam)); return 0;
            case kColourSelEndCancel: EndPopup(false, static_cast<uint32_t>(wParam)); return 0;
            default: return DefaultProc(message, wParam, lParam);
        }
    }

private:
    bool AllowsTransparent() const { return allowTransparent_ != 0; }
    std::string TransparentText() const { return AllowsTransparent() ? kTransparentText : ""; }

    void Redraw() {
        if (!hwnd()) return;
        InvalidateRect(hwnd(), nullptr, FALSE);
        UpdateWindow(hwnd());
    }

    void Notify(UINT message, uint32_t colour) {
        HWND parent = hwnd() ? GetParent(hwnd()) : nullptr;
        if (parent) SendMessageA(parent, message, colour, static_cast<LPARAM>(GetDlgCtrlID(hwnd())));
    }

    void OpenPopup() {
        RECT r;
        GetWindowRect(hwnd(), &r);
        initial_ = colour_;
        hadFocus_ = GetFocus() == hwnd();
        popup_.reset(OpenColourPopup(hwnd(), POINT{r.left, r.bottom}, colour_, TransparentText(), kCustomText));
        if (!popup_) {
            popupOpen_ = false;
            return;
        }
        Notify(kColourDropDown, colour_);
    }

    void EndPopup(bool ok, uint32_t colour) {
        popupOpen_ = false;
        popup_.release();  // the popup destroys itself
        HWND self = hwnd();
        // The popup took the focus with the activation; give it back.
        if (hadFocus_ && GetFocus() != self) SetFocus(self);
        if (!StillOwns(self, this)) return;
        colour_ = ok ? colour : initial_;
        if (!AllowsTransparent() && colour_ == kTransparentColour) colour_ = 0;
        Redraw();
        Notify(kColourCloseUp, colour_);
        if (!StillOwns(self, this)) return;
        Notify(ok ? kColourSelEndOk : kColourSelEndCancel, colour_);
        if (ok && IsWindow(self) && FromHandle(self) == this) RaiseEvent(colour_picker::kColourChanged);
    }

    void Paint(const DRAWITEMSTRUCT& item) {
        HDC dc = item.hDC;
        RECT client = item.rcItem;
        bool disabled = (item.itemState & ODS_DISABLED) != 0;
        int edgeX = GetSystemMetrics(SM_CXEDGE), edgeY = GetSystemMetrics(SM_CYEDGE);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

        int arrowWidth = std::max(5 * edgeX, GetSystemMetrics(SM_CXHTHUMB));
        int arrowHeight = std::min(std::max(5 * edgeY, GetSystemMetrics(SM_CYVTHUMB)),
                                   static_cast<int>(client.bottom - client.top) - 2 * edgeY);
        RECT arrow{client.right - edgeX - arrowWidth, 0, client.right - edgeX, 0};
        arrow.top = client.top + (client.bottom - client.top - arrowHeight) / 2;
        arrow.bottom = arrow.top + arrowHeight;
        UINT state = DFCS_SCROLLDOWN | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0);
        DrawFrameControl(dc, &arrow, DFC_SCROLL, state);

        RECT edge = client;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);

        RECT bar{client.left + edgeX + 2, client.top + edgeY + 1, arrow.left - 2, client.bottom - edgeY - 1};
        bool transparent = colour_ == kTransparentColour;
        COLORREF fill = disabled ? GetSysColor(COLOR_BTNFACE) : transparent ? RGB(255, 255, 255)
                                                                            : static_cast<COLORREF>(colour_ & 0xFFFFFF);
        {
            GdiHandle<HBRUSH> brush(CreateSolidBrush(fill));
            SelectedObject selectedBrush(dc, brush.get()), selectedPen(dc, GetStockObject(BLACK_PEN));
            Rectangle(dc, bar.left, bar.top, bar.right, bar.bottom);
        }

        if (transparent) {
            std::string text = TransparentText();
            SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            if (disabled) {
                SIZE size{};
                GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
                int x = bar.left + (bar.right - bar.left - size.cx) / 2, y = bar.top + (bar.bottom - bar.top - size.cy) / 2;
                DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), static_cast<WPARAM>(text.size()),
                           x, y, size.cx, size.cy, DST_TEXT | DSS_DISABLED);
            } else {
                DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bar, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
        }
        if (item.itemState & ODS_FOCUS) {
            RECT focus = bar;
            InflateRect(&focus, -2, -2);
            DrawFocusRect(dc, &focus);
        }
    }

    uint32_t colour_;
    int32_t allowTransparent_;
    uint32_t initial_ = 0;
    bool popupOpen_ = false;
    bool hadFocus_ = false;
    WindowHandle popup_;
};
}  // namespace

const UnitTypeInfo kColourPickerType = MakeUnitType("颜色选择器", "ColorPicker", kTypeMayRaiseEvents,
                                                    ColourPicker::Properties(), &ColourPicker::Create);

}  // namespace qy
