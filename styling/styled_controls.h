// The registry of styled controls: one node per subclassed window, newest
// first, on the process heap, with the control type, its state bits and the
// colours its parent last gave it.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qy::styling {

// Control types; the classified-only ones are never subclassed.
enum ControlType : int32_t {
    kPushButton = 0,
    kCheckBox = 1,
    kRadioButton = 2,
    kEdit = 3,
    kComboBox = 4,
    kUpDown = 5,
    kScrollBar = 6,
    kMonthCalendar = 7,
    kTabControl = 8,
    kProgressBar = 9,
    kTrackBar = 10,
    kGroupBox = 11,
    kDropDownList = 12,
    // A node whose window was unstyled while another subclass sat above ours:
    // it only forwards to the previous procedure until the window goes.
    kPassThrough = -1,
    kNotStyled = -2,
};

// State bits; the 0x10000 to 0x200000 range means different things per type.
enum StateBit : uint32_t {
    kDisabled = 0x1,
    kPressed = 0x2,
    kHot = 0x4,
    kFocused = 0x10,
    kHorizontal = 0x20,
    kDefaultButton = 0x10000,
    kFirstHalf = 0x10000,
    kUpDownOnLeft = 0x10000,
    kChecked = 0x20000,
    kUpDownOnRight = 0x20000,
    kIndeterminate = 0x40000,
    // An up-down control aligned to the left or right of its buddy edit.
    kAlignedLeft = 0x100000,
    kAlignedRight = 0x200000,
    kReadOnly = 0x10000000,
};

struct StyledControl {
    HWND window;
    int32_t type;
    uint32_t state;
    COLORREF background;
    COLORREF text;
    HBRUSH brush;
    WNDPROC previous;
    StyledControl* next;
};

// The node of a window, or null.
StyledControl* FindNode(HWND window);
// A zeroed node for the window at the head of the list; null when the heap refuses.
StyledControl* AddNode(HWND window);
// Unlinks the node and gives its memory back.
void FreeNode(StyledControl* node);
// The first node of the list, for walks that free as they go.
StyledControl* FirstNode();

// The control type a window is styled as, or kNotStyled.
int32_t ClassifyWindow(HWND window);
// The state bits a new node starts with, read from the window.
uint32_t InitialState(HWND window, int32_t type);
// Sets the side bits on an up-down control's node and its buddy edit's node,
// whichever of the two are registered.
void MarkBuddySides(HWND upDown);

// Read-only views for tests and diagnostics.
int StyledCount();
bool IsStyled(HWND window);
// The state bits of a styled window, 0 when it has no node.
uint32_t StyledState(HWND window);

}  // namespace qy::styling
