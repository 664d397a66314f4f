#include "styling/styled_controls.h"

#include <commctrl.h>

namespace qy::styling {

namespace {
StyledControl* head = nullptr;

// Window classes the styles know, by the type they are classified as;
// kNotStyled entries are classes that look like ours but must keep their
// own painting. The first match wins.
struct KnownClass {
    const char* name;
    int32_t type;
};
constexpr KnownClass kClassTable[] = {
    {"Button", kPushButton},           {"Edit", kEdit},
    {"msctls_hotkey32", kNotStyled},   {"SysIPAddress32", kNotStyled},
    {"ListBox", kNotStyled},           {"SysListView32", kNotStyled},
    {"SysTreeView32", kNotStyled},     {"ComboBox", kComboBox},
    {"SysDateTimePick32", kNotStyled}, {"msctls_updown32", kUpDown},
    {"ScrollBar", kScrollBar},         {"SysMonthCal32", kMonthCalendar},
    {"SysTabControl32", kTabControl},  {"msctls_progress32", kProgressBar},
    {"msctls_trackbar32", kTrackBar},  {"ComboLBox", kDropDownList},
};

// The caption-less push button with only these style bits is the kind some
// dialogs use as an invisible placeholder; it keeps the system look.
constexpr LONG_PTR kPlaceholderButtonStyle = 0x40010000;

bool ClassIs(HWND window, const char* name) {
    char buffer[64] = {};
    return GetClassNameA(window, buffer, sizeof buffer) > 0 && lstrcmpiA(buffer, name) == 0;
}

int32_t ClassifyButton(HWND window, LONG_PTR style) {
    if (style & (BS_BITMAP | BS_ICON)) return kNotStyled;
    bool pushLike = (style & BS_PUSHLIKE) != 0;
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            if (style == kPlaceholderButtonStyle && GetWindowTextLengthA(window) == 0) return kNotStyled;
            return kPushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return pushLike ? kPushButton : kCheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return pushLike ? kPushButton : kRadioButton;
        case BS_GROUPBOX: return kGroupBox;
        default: return kNotStyled;  // owner-drawn, user buttons and the newer kinds
    }
}

bool IsEditType(HWND window) {
    StyledControl* node = FindNode(window);
    return node ? node->type == kEdit : ClassIs(window, "Edit");
}

// Clears or sets one side's pair of bits on a node, if the window has one.
void SetBits(HWND window, uint32_t clear, uint32_t set) {
    if (StyledControl* node = FindNode(window)) {
        if (node->type == kPassThrough) return;
        node->state = (node->state & ~clear) | set;
    }
}
}  // namespace

StyledControl* FindNode(HWND window) {
    for (StyledControl* node = head; node; node = node->next)
        if (node->window == window) return node;
    return nullptr;
}

StyledControl* AddNode(HWND window) {
    auto* node = static_cast<StyledControl*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(StyledControl)));
    if (!node) return nullptr;
    node->window = window;
    node->next = head;
    head = node;
    return node;
}

void FreeNode(StyledControl* node) {
    for (StyledControl** link = &head; *link; link = &(*link)->next) {
        if (*link == node) {
            *link = node->next;
            HeapFree(GetProcessHeap(), 0, node);
            return;
        }
    }
}

StyledControl* FirstNode() { return head; }

int32_t ClassifyWindow(HWND window) {
    char name[64] = {};
    if (GetClassNameA(window, name, sizeof name) <= 0) return kNotStyled;
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    for (const KnownClass& known : kClassTable) {
        if (lstrcmpiA(name, known.name) != 0) continue;
        switch (known.type) {
            case kPushButton: return ClassifyButton(window, style);
            case kEdit: return ClassIs(GetParent(window), "SysIPAddress32") ? kNotStyled : kEdit;
            case kComboBox: return (style & 3) == CBS_SIMPLE ? kNotStyled : kComboBox;
            default: return known.type;
        }
    }
    return kNotStyled;
}

uint32_t InitialState(HWND window, int32_t type) {
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    uint32_t state = 0;
    if (style & WS_DISABLED) state |= kDisabled;
    if (GetFocus() == window) state |= kFocused;
    switch (type) {
        case kPushButton:
        case kCheckBox:
        case kRadioButton: {
            if (type == kPushButton && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) state |= kDefaultButton;
            LRESULT check = SendMessageA(window, BM_GETCHECK, 0, 0);
            if (check == BST_CHECKED) state |= kChecked;
            if (check == BST_INDETERMINATE) state |= kIndeterminate;
            break;
        }
        case kEdit:
            if (style & ES_READONLY) state |= kReadOnly;
            break;
        case kUpDown:
            if (style & UDS_HORZ) state |= kHorizontal;
            break;
        default: break;
    }
    return state;
}

void MarkBuddySides(HWND upDown) {
    HWND buddy = reinterpret_cast<HWND>(SendMessageA(upDown, UDM_GETBUDDY, 0, 0));
    LONG_PTR style = GetWindowLongPtrA(upDown, GWL_STYLE);
    constexpr uint32_t kUpDownSides = kAlignedLeft | kAlignedRight, kEditSides = kUpDownOnLeft | kUpDownOnRight;
    uint32_t upDownSide = 0, editSide = 0;
    if (buddy && IsEditType(buddy)) {
        if (style & UDS_ALIGNLEFT) upDownSide = kAlignedLeft, editSide = kUpDownOnLeft;
        if (style & UDS_ALIGNRIGHT) upDownSide = kAlignedRight, editSide = kUpDownOnRight;
        SetBits(buddy, kEditSides, editSide);
    }
    SetBits(upDown, kUpDownSides, upDownSide);
}

int StyledCount() {
    int count = 0;
    for (StyledControl* node = head; node; node = node->next)
        if (node->type != kPassThrough) ++count;
    return count;
}

bool IsStyled(HWND window) {
    StyledControl* node = FindNode(window);
    return node && node->type != kPassThrough;
}

uint32_t StyledState(HWND window) { return IsStyled(window) ? FindNode(window)->state : 0; }

}  // namespace qy::styling
