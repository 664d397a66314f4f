// The horizontal scroll bar: a "SCROLLBAR" control whose range runs from the
// smaller to the larger bound, moved by lines, pages, the thumb and the
// ends, raising event 0 whenever its position really changes.
#include "units/scroll_bar/scroll_bar.h"
#include "window/unit.h"

#include <algorithm>

#include "units/scroll_bar/scroll_bar_data.h"
#include "window/property_table.h"

namespace qy {

namespace {
constexpr int32_t kMaxStep = 32767;

using namespace scroll_bar;

class ScrollBar : public Unit {
public:
    ScrollBar(const UnitCreation& c, const ScrollBarData& d) : Unit(kScrollBarType, c.windowId, c.unitId), data_(d) {
        data_.pageChange = std::clamp<int32_t>(data_.pageChange, 1, kMaxStep);
        data_.lineChange = std::clamp<int32_t>(data_.lineChange, 1, kMaxStep);
    }

    static Unit* Create(const UnitCreation& c) {
        ScrollBarData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        HWND hwnd = CreateWindowExA(0, "SCROLLBAR", "", c.style | WS_CHILD | WS_CLIPSIBLINGS | SBS_HORZ, c.left, c.top,
                                    c.width, c.height, c.parent,
                                    reinterpret_cast<HMENU>(static_cast<uintptr_t>(c.controlId)),
                                    GetModuleHandleA(nullptr), nullptr);
        if (!hwnd) return nullptr;
        auto* unit = new ScrollBar(c, d);
        unit->Attach(hwnd);
        unit->ApplyRange();
        unit->MoveTo(d.position);
        return unit;
    }

    // The scroll bar's own properties, in the order of its property indices.
    static const auto& Properties() {
        using S = ScrollBar;
        using V = const PropertyValue&;
        using Out = PropertyValue*;
        static constexpr PropertyRow<S> kRows[] = {
            {"MinPosition", kPropInt2, [](S& u, Out o) { u.GiveInt(o, u.data_.minPosition); },
             [](S& u, V v) { return u.data_.minPosition = v.i, u.ApplyRange(), 0; }},
            {"MaxPosition", kPropInt2, [](S& u, Out o) { u.GiveInt(o, u.data_.maxPosition); },
             [](S& u, V v) { return u.data_.maxPosition = v.i, u.ApplyRange(), 0; }},
            {"PageChange", kPropInt2, [](S& u, Out o) { u.GiveInt(o, u.data_.pageChange); },
             [](S& u, V v) { return u.data_.pageChange = std::clamp<int32_t>(v.i, 1, kMaxStep), 0; }},
            {"LineChange", kPropInt2, [](S& u, Out o) { u.GiveInt(o, u.data_.lineChange); },
             [](S& u, V v) { return u.data_.lineChange = std::clamp<int32_t>(v.i, 1, kMaxStep), 0; }},
            {"Position", kPropInt2, [](S& u, Out o) { u.GiveInt(o, u.data_.position); },
             [](S& u, V v) { return u.MoveTo(v.i), 0; }},
            {"DragTracking", kPropLogical, [](S& u, Out o) { u.GiveInt(o, u.data_.dragTracking); },
             [](S& u, V v) { return u.data_.dragTracking = v.i != 0, 0; }},
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override { return Properties().Write(*this, own, v); }
    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

    Bytes OwnData() const override { return data_.Write(); }

    bool Reflect(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_HSCROLL) return false;
        Scrolled(LOWORD(wParam));
        *result = 0;
        return true;
    }

private:
    int32_t Low() const { return data_.minPosition < data_.maxPosition ? data_.minPosition : data_.maxPosition; }
    int32_t High() const { return data_.minPosition < data_.maxPosition ? data_.maxPosition : data_.minPosition; }

    int32_t Clamped(int64_t position) const {
        return position < Low() ? Low() : position > High() ? High() : static_cast<int32_t>(position);
    }

    void ApplyRange() {
        bool disabled = !IsWindowEnabled(hwnd());
        SetScrollRange(hwnd(), SB_CTL, Low(), High(), TRUE);
        data_.position = Clamped(data_.position);
        SetScrollPos(hwnd(), SB_CTL, data_.position, TRUE);
        if (disabled) Disable();
    }

    // Sets the position without raising event 0.
    void MoveTo(int64_t position) {
        bool disabled = !IsWindowEnabled(hwnd());
        data_.position = Clamped(position);
        SetScrollPos(hwnd(), SB_CTL, data_.position, TRUE);
        if (disabled) Disable();
    }

    // Setting the range or position can enable the control and its arrows
    // again; a disabled bar must stay disabled and look it.
    void Disable() {
        EnableScrollBar(hwnd(), SB_CTL, ESB_DISABLE_BOTH);
        if (IsWindowEnabled(hwnd())) EnableWindow(hwnd(), FALSE);
    }

    void Scrolled(int request) {
        int64_t position = data_.position;
        switch (request) {
            case SB_LINELEFT: position -= data_.lineChange; break;
            case SB_LINERIGHT: position += data_.lineChange; break;
            case SB_PAGELEFT: position -= data_.pageChange; break;
            case SB_PAGERIGHT: position += data_.pageChange; break;
            case SB_THUMBTRACK:
                if (!data_.dragTracking) return;
                position = TrackPosition();
                break;
            case SB_THUMBPOSITION: position = TrackPosition(); break;
            case SB_LEFT: position = Low(); break;
            case SB_RIGHT: position = High(); break;
            default: return;
        }
        int32_t clamped = Clamped(position);
        if (clamped == data_.position) return;
        MoveTo(clamped);
        RaiseEvent(scroll_bar::kPositionChanged);
    }

    // The thumb's position in full 32 bits, not the 16 of the message.
    int32_t TrackPosition() const {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        return GetScrollInfo(hwnd(), SB_CTL, &info) ? info.nTrackPos : data_.position;
    }

    ScrollBarData data_;
};
}  // namespace

const UnitTypeInfo kScrollBarType = MakeUnitType("横向滚动条", "HScrollBar", kTypeMayRaiseEvents,
                                                 ScrollBar::Properties(), &ScrollBar::Create);

}  // namespace qy
