// The horizontal scroll bar: a "SCROLLBAR" control whose range runs from the
// smaller to the larger bound, moved by lines, pages, the thumb and the
// ends, raising event 0 whenever its position really changes.
#include "units/scroll_bar/scroll_bar.h"
#include "window/unit.h"

#include <algorithm>

#include "units/scroll_bar/scroll_bar_data.h"

namespace qy {

namespace {
constexpr int32_t kMaxStep = 32767;

using namespace scroll_bar;

const PropertyInfo kScrollBarProperties[] = {
    {"MinPosition", kPropInt2}, {"MaxPosition", kPropInt2}, {"PageChange", kPropInt2},
    {"LineChange", kPropInt2},  {"Position", kPropInt2},    {"DragTracking", kPropLogical},
};


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

    int PropertyChanged(int own, const PropertyValue& v) override {
        switch (own) {
            case kMinPosition:
                data_.minPosition = v.i;
                ApplyRange();
                break;
            case kMaxPosition:
                data_.maxPosition = v.i;
                ApplyRange();
                break;
            case kPageChange: data_.pageChange = std::clamp<int32_t>(v.i, 1, kMaxStep); break;
            case kLineChange: data_.lineChange = std::clamp<int32_t>(v.i, 1, kMaxStep); break;
            case kPosition: MoveTo(v.i); break;
            case kDragTracking: data_.dragTracking = v.i != 0; break;
            default: break;
        }
        return kPropertyApplied;
    }

    bool GetProperty(int own, PropertyValue* out) override {
        switch (own) {
            case kMinPosition: GiveInt(out, data_.minPosition); return true;
            case kMaxPosition: GiveInt(out, data_.maxPosition); return true;
            case kPageChange: GiveInt(out, data_.pageChange); return true;
            case kLineChange: GiveInt(out, data_.lineChange); return true;
            case kPosition: GiveInt(out, data_.position); return true;
            case kDragTracking: GiveInt(out, data_.dragTracking); return true;
            default: return false;
        }
    }

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
                                                 kScrollBarProperties, &ScrollBar::Create);

}  // namespace qy
