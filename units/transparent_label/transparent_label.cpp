// The transparent label paints only its caption, optionally with a white
// relief or a black shadow. Because it never paints a background, every
// change first has the windows behind it repaint its area, and only then
// draws the text again; otherwise old text would stay on the screen.
#include "units/transparent_label/transparent_label.h"

#include <algorithm>
#include <string>

#include "runtime/win32_handles.h"
#include "window/own_data.h"
#include "window/property_table.h"
#include "window/protocol.h"
#include "window/window_list.h"
#include "units/transparent_label/transparent_label_data.h"

namespace qy {

namespace {
const char kTransLabelClass[] = "_QY_TransLabel";

using namespace transparent_label;

// The stored record with the character set, precision and quality this label
// always draws with, so that a face missing on the machine falls back sensibly.
HFONT CreateLabelFont(const Bytes& stored) {
    if (stored.size() != LogFont::kSize) return nullptr;
    LOGFONTA font;
    memcpy(&font, stored.data(), sizeof font);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    return CreateFontIndirectA(&font);
}

class TransLabel : public Unit {
public:
    TransLabel(const UnitCreation& c, const TransLabelData& d) : Unit(kTransLabelType, c.windowId, c.unitId), data_(d) {
        data_.effect = std::clamp<int32_t>(data_.effect, 0, 3);
        data_.alignment = std::clamp<int32_t>(data_.alignment, 0, 2);
        data_.vAlign = std::clamp<int32_t>(data_.vAlign, 0, 2);
    }

    static Unit* Create(const UnitCreation& c) {
        TransLabelData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        if (!RegisterUnitClass(kTransLabelClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                               static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH))))
            return nullptr;
        auto* unit = new TransLabel(c, d);
        unit->font_.reset(CreateLabelFont(d.font));
        if (!CreateUnitWindow(unit, c, WS_EX_TRANSPARENT, kTransLabelClass, d.caption.c_str(), 0)) return nullptr;
        return unit;
    }

    // The transparent label's own properties, in the order of its property indices.
    static const auto& Properties() {
        using T = TransLabel;
        using V = const PropertyValue&;
        using Out = PropertyValue*;
        static constexpr PropertyRow<T> kRows[] = {
            {"Caption", kPropText, [](T& u, Out o) { u.GiveText(o, u.data_.caption); },
             [](T& u, V v) {
                 u.data_.caption = TextOf(v);
                 SetWindowTextA(u.hwnd(), u.data_.caption.c_str());
                 return 0;
             }},
            {"Effect", kPropChoice, [](T& u, Out o) { u.GiveInt(o, u.data_.effect); },
             [](T& u, V v) { return u.data_.effect = std::clamp<int32_t>(v.i, 0, 3), 0; }},
            {"Font", kPropFont, [](T& u, Out o) { u.GiveBytes(o, u.data_.font); },
             [](T& u, V v) {
                 u.data_.font = BytesOf(v);
                 u.font_.reset(CreateLabelFont(u.data_.font));
                 return 0;
             }},
            {"TextColor", kPropColour, [](T& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.textColor)); },
             [](T& u, V v) { return u.data_.textColor = static_cast<uint32_t>(v.i), 0; }},
            {"Alignment", kPropChoice, [](T& u, Out o) { u.GiveInt(o, u.data_.alignment); },
             [](T& u, V v) { return u.data_.alignment = std::clamp<int32_t>(v.i, 0, 2), 0; }},
            {"WordWrap", kPropLogical, [](T& u, Out o) { u.GiveInt(o, u.data_.wordWrap); },
             [](T& u, V v) { return u.data_.wordWrap = v.i != 0, 0; }},
            {"VerticalAlignment", kPropChoice, [](T& u, Out o) { u.GiveInt(o, u.data_.vAlign); },
             [](T& u, V v) { return u.data_.vAlign = std::clamp<int32_t>(v.i, 0, 2), 0; }},
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override {
        if (!Properties().Has(own)) return kPropertyApplied;
        int result = Properties().Write(*this, own, v);
        Refresh();
        return result;
    }

    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

    Bytes OwnData() const override { return data_.Write(); }

    void EnumerateTexts(UnitTextCallback callback, void* context) const override {
        callback(data_.caption.c_str(), context);
        if (data_.font.size() == LogFont::kSize) callback(LogFont::Face(data_.font).c_str(), context);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_PAINT: {
                PaintDc dc(hwnd());
                Paint(dc.get());
                return 0;
            }
            case WM_NCHITTEST:
                // A label nobody listens to must not hide what lies beneath
                // it from the mouse; WS_EX_TRANSPARENT alone does not do that
                // for a child window.
                return TakesMouse() ? DefaultProc(message, wParam, lParam) : HTTRANSPARENT;
            case WM_WINDOWPOSCHANGED: {
                LRESULT result = DefaultProc(message, wParam, lParam);
                const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
                if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) Refresh();
                return result;
            }
            default: return DefaultProc(message, wParam, lParam);
        }
    }

private:
    // Whether a subroutine listens for a button or a move of the mouse (the
    // common events from mouse move up to left button pressed).
    bool TakesMouse() const {
        for (int event = kEventMouseMove; event <= kEventLeftDown; ++event)
            if (Windows().HandlesEvent(windowId(), unitId(), event)) return true;
        return false;
    }

    void Paint(HDC dc) {
        int length = GetWindowTextLengthA(hwnd());
        if (length <= 0) return;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(hwnd(), &text[0], length + 1)));
        if (text.empty()) return;

        SelectedObject font(dc, FontOrDefault(font_.get()));
        UINT format = DT_NOCLIP | (data_.alignment == 1 ? DT_CENTER : data_.alignment == 2 ? DT_RIGHT : DT_LEFT);
        if (data_.wordWrap) {
            format |= DT_WORDBREAK | DT_VCENTER;
        } else {
            format |= DT_SINGLELINE | (data_.vAlign == 1 ? DT_VCENTER : data_.vAlign == 2 ? DT_BOTTOM : DT_TOP);
        }
        SetBkMode(dc, TRANSPARENT);
        RECT r;
        GetClientRect(hwnd(), &r);
        auto draw = [&](COLORREF colour, const RECT& at) {
            RECT copy = at;
            SetTextColor(dc, colour);
            DrawTextA(dc, text.c_str(), -1, &copy, format);
        };
        RECT moved = r;
        switch (data_.effect) {
            case 1:
                OffsetRect(&moved, 1, 1);
                draw(RGB(255, 255, 255), moved);
                break;
            case 2:
                draw(RGB(255, 255, 255), r);
                OffsetRect(&r, 1, 1);
                break;
            case 3:
                OffsetRect(&moved, 2, 2);
                draw(RGB(0, 0, 0), moved);
                break;
            default: break;
        }
        draw(ResolveColour(data_.textColor), r);
    }

    // The window whose painting lies behind the label: the first pop-up
    // window above it, or the outermost parent.
    HWND Backdrop() const {
        HWND top = GetParent(hwnd());
        while (top && (GetWindowLongPtrA(top, GWL_STYLE) & (WS_POPUP | WS_CHILD)) == WS_CHILD) {
            HWND up = GetParent(top);
            if (!up) break;
            top = up;
        }
        return top;
    }

    void Refresh() {
        HWND self = hwnd();
        if (!self) return;
        HWND back = Backdrop();
        if (back) {
            RECT area;
            GetWindowRect(self, &area);
            RECT inBack = area;
            MapWindowPoints(nullptr, back, reinterpret_cast<POINT*>(&inBack), 2);
            RedrawWindow(back, &inBack, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            for (HWND child = GetWindow(back, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                if (child == self || !IsWindowVisible(child)) continue;
                RECT r, overlap;
                GetWindowRect(child, &r);
                if (IntersectRect(&overlap, &r, &area))
                    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
            }
        }
        InvalidateRect(self, nullptr, TRUE);
    }

    TransLabelData data_;
    GdiHandle<HFONT> font_;
};
}  // namespace

// Common mouse and key events reach the application through the window, so
// the type must be one that may raise events even without events of its own.
const UnitTypeInfo kTransLabelType = MakeUnitType("透明标签", "TransLabel", kTypeMayRaiseEvents,
                                                  TransLabel::Properties(), &TransLabel::Create);

}  // namespace qy
