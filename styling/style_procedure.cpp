#include "styling/style_procedure.h"

#include <commctrl.h>
#include <windowsx.h>

#include "styling/painters.h"
#include "styling/styled_controls.h"
#include "styling/subclassing.h"

namespace qy::styling {

namespace {
// Bits of the action word; the low 16 bits are a result of its own.
enum Action : uint32_t {
    kUpdateState = 0x10000,
    kPrevious = 0x20000,
    kDefault = 0x40000,
    kPaint = 0x80000,
    kPreviousLate = 0x100000,
    kDefaultLate = 0x200000,
    kReturnLowWord = 0x800000,
};
constexpr uint32_t kPassOn = kUpdateState | kPrevious;
constexpr uint32_t kPreviousThenPaint = kPrevious | kPaint;
constexpr uint32_t kDefaultThenPaint = kDefault | kPaint;

void SetBit(StyledControl& node, uint32_t bit, bool on) {
    node.state = on ? node.state | bit : node.state & ~bit;
}

uint32_t ClassifyButton(StyledControl& node, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_SETTEXT:
        case WM_PAINT: return kDefaultThenPaint;
        case WM_ERASEBKGND: return kPrevious;
        case BM_SETCHECK:
            SetBit(node, kChecked, wParam == BST_CHECKED);
            SetBit(node, kIndeterminate, wParam == BST_INDETERMINATE);
            return kPreviousThenPaint;
        case BM_SETSTATE: SetBit(node, kPressed, wParam != 0); return kPreviousThenPaint;
        case BM_SETSTYLE: SetBit(node, kDefaultButton, (wParam & 1) != 0); return kPreviousThenPaint;
        default: return kPassOn;
    }
}

uint32_t ClassifyEdit(StyledControl& node, UINT message) {
    switch (message) {
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_HSCROLL:
        case WM_VSCROLL: return kPreviousThenPaint;
        case WM_NCMOUSEMOVE: SetBit(node, kHot, true); return kDefaultThenPaint;
        case WM_MOUSELEAVE: SetBit(node, kHot, false); return kDefaultThenPaint;
        default: return kPassOn;
    }
}

uint32_t ClassifyComboBox(StyledControl& node, UINT message) {
    switch (message) {
        case WM_PAINT:
        case WM_NCPAINT: return kPreviousThenPaint;
        case WM_LBUTTONDOWN: SetBit(node, kPressed, true); return kPreviousThenPaint;
        case WM_LBUTTONUP: SetBit(node, kPressed, false); return kPreviousThenPaint;
        default: return kPassOn;
    }
}

uint32_t ClassifyUpDown(StyledControl& node, UINT message, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
        case WM_NCPAINT: return kDefaultThenPaint;
        case WM_ERASEBKGND: return kReturnLowWord | 1;
        case WM_LBUTTONUP: SetBit(node, kPressed, false); return kPreviousThenPaint;
        case WM_MOUSEMOVE: {
            RECT client{};
            GetClientRect(node.window, &client);
            bool first = (node.state & kHorizontal) ? GET_X_LPARAM(lParam) < client.right / 2
                                                    : GET_Y_LPARAM(lParam) < client.bottom / 2;
            bool changed = first != ((node.state & kFirstHalf) != 0);
            SetBit(node, kFirstHalf, first);
            return changed ? kPassOn | kPaint : kUpdateState;
        }
        default: return kPassOn;
    }
}

uint32_t Classify(StyledControl& node, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (node.type) {
        case kPushButton:
        case kCheckBox:
        case kRadioButton: return ClassifyButton(node, message, wParam);
        case kEdit: return ClassifyEdit(node, message);
        case kComboBox: return ClassifyComboBox(node, message);
        case kUpDown: return ClassifyUpDown(node, message, lParam);
        case kScrollBar:
        case kGroupBox: return message == WM_PAINT || message == WM_NCPAINT ? kDefaultThenPaint : kPassOn;
        // The drop-down list would never show its frames if its paints were only passed on.
        case kDropDownList: return message == WM_PAINT || message == WM_NCPAINT ? kPreviousThenPaint : kPassOn;
        default: return kPrevious;
    }
}

uint32_t UpdateState(StyledControl& node, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_SETFOCUS: SetBit(node, kFocused, true); return kPreviousThenPaint;
        case WM_KILLFOCUS: SetBit(node, kFocused, false); return kPreviousThenPaint;
        case WM_ENABLE: SetBit(node, kDisabled, wParam == 0); return kPreviousThenPaint;
        case WM_MOUSEMOVE: {
            if ((node.state & kHot) || (wParam & MK_LBUTTON)) return kPreviousLate;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, node.window, 0};
            TrackMouseEvent(&track);
            SetBit(node, kHot, true);
            return kPreviousThenPaint;
        }
        case WM_MOUSELEAVE:
            if (!(node.state & kHot)) return kPreviousLate;
            SetBit(node, kHot, false);
            return kPreviousThenPaint;
        default: return kPrevious;
    }
}

// Takes the colours the parent gives the control for this device context.
void CaptureColours(StyledControl& node, HDC dc) {
    HWND parent = GetParent(node.window);
    if (!parent || !dc) return;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(node.window)));
    LOGBRUSH described{};
    if (!brush || GetObjectA(brush, sizeof described, &described) != sizeof described) return;
    node.brush = brush;
    node.background = described.lbColor;
    node.text = GetTextColor(dc);
}

// Runs one procedure of the chain; whether the window still has its node.
bool Run(HWND window, WNDPROC previous, bool useDefault, UINT message, WPARAM wParam, LPARAM lParam,
         LRESULT* result) {
    *result = useDefault ? CallDefault(window, message, wParam, lParam)
                         : CallPrevious(previous, window, message, wParam, lParam);
    return IsStyled(window);
}

LRESULT SetBuddy(StyledControl& node, WPARAM wParam, LPARAM lParam) {
    HWND window = node.window, old = reinterpret_cast<HWND>(SendMessageA(window, UDM_GETBUDDY, 0, 0));
    LRESULT result = CallPrevious(node.previous, window, UDM_SETBUDDY, wParam, lParam);
    MarkBuddySides(window);
    if (old && FindNode(old) && FindNode(old)->type == kEdit) {
        FindNode(old)->state &= ~(kUpDownOnLeft | kUpDownOnRight);
        RedrawWindow(old, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    if (HWND buddy = reinterpret_cast<HWND>(lParam)) RedrawWindow(buddy, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    if (StyledControl* still = FindNode(window)) PaintControl(*still);
    return result;
}

// Messages handled before any classifier; whether `result` holds the answer.
bool HandleFirst(StyledControl& node, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND window = node.window;
    if (node.type == kUpDown && message == WM_LBUTTONDOWN) {
        *result = CallPrevious(node.previous, window, message, wParam, lParam);
        // The up-down control has captured the pointer: show the pressed half.
        if (StyledControl* still = FindNode(window); still && still->type == kUpDown) {
            SetBit(*still, kPressed, true);
            PaintControl(*still);
        }
        return true;
    }
    if (node.type == kUpDown && message == UDM_SETBUDDY) {
        *result = SetBuddy(node, wParam, lParam);
        return true;
    }
    if (node.type == kEdit && message == EM_SETREADONLY) {
        *result = CallPrevious(node.previous, window, message, wParam, lParam);
        if (StyledControl* still = FindNode(window); still && still->type == kEdit) {
            SetBit(*still, kReadOnly, wParam != 0);
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        }
        return true;
    }
    if (message == WM_DESTROY) {
        *result = CallPrevious(node.previous, window, message, wParam, lParam);
        UnstyleWindow(window, false);
        return true;
    }
    if (message == WM_ERASEBKGND) CaptureColours(node, reinterpret_cast<HDC>(wParam));
    return false;
}
}  // namespace

LRESULT CALLBACK StyleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    StyledControl* node = FindNode(window);
    if (!node) return 0;
    WNDPROC previous = node->previous;
    if (node->type == kPassThrough) {
        LRESULT result = CallPrevious(previous, window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            if (StyledControl* still = FindNode(window)) FreeNode(still);
        }
        return result;
    }
    LRESULT result = 0;
    if (HandleFirst(*node, message, wParam, lParam, &result)) return result;
    uint32_t action = Classify(*node, message, wParam, lParam);
    if (action & kUpdateState) action |= UpdateState(*node, message, wParam);
    bool alive = true;
    if (alive && (action & kPrevious)) alive = Run(window, previous, false, message, wParam, lParam, &result);
    if (alive && (action & kDefault)) alive = Run(window, previous, true, message, wParam, lParam, &result);
    if (alive && (action & kPaint)) {
        if (StyledControl* still = FindNode(window)) PaintControl(*still);
    }
    if (alive && (action & kPreviousLate)) alive = Run(window, previous, false, message, wParam, lParam, &result);
    if (alive && (action & kDefaultLate)) Run(window, previous, true, message, wParam, lParam, &result);
    return (action & kReturnLowWord) ? static_cast<LRESULT>(action & 0xFFFF) : result;
}

}  // namespace qy::styling
