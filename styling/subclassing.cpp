#include "styling/subclassing.h"

#include <commctrl.h>

#include "styling/style_procedure.h"
#include "styling/styled_controls.h"

namespace qy::styling {

namespace {
bool IsSubclassedType(int32_t type) {
    return (type >= kPushButton && type <= kUpDown) || type == kGroupBox || type == kDropDownList;
}

WNDPROC ProcedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(IsWindowUnicode(window) ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                                             : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

WNDPROC SetProcedure(HWND window, WNDPROC procedure) {
    auto value = reinterpret_cast<LONG_PTR>(procedure);
    return reinterpret_cast<WNDPROC>(IsWindowUnicode(window) ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                                             : SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

void RedrawCompletely(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

// An edit styled after its up-down control learns its side from the up-down.
void MarkSidesOfEdit(HWND edit) {
    HWND parent = GetParent(edit);
    if (!parent) return;
    for (HWND sibling = GetWindow(edit, GW_HWNDFIRST); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (!IsStyled(sibling) || FindNode(sibling)->type != kUpDown) continue;
        if (reinterpret_cast<HWND>(SendMessageA(sibling, UDM_GETBUDDY, 0, 0)) == edit) MarkBuddySides(sibling);
    }
}
}  // namespace

LRESULT CallPrevious(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!previous) return CallDefault(window, message, wParam, lParam);
    return IsWindowUnicode(window) ? CallWindowProcW(previous, window, message, wParam, lParam)
                                   : CallWindowProcA(previous, window, message, wParam, lParam);
}

LRESULT CallDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                   : DefWindowProcA(window, message, wParam, lParam);
}

void StyleWindow(HWND window) {
    StyledControl* node = FindNode(window);
    if (node && node->type != kPassThrough) return;
    int32_t type = ClassifyWindow(window);
    if (!IsSubclassedType(type)) return;
    if (!node) {
        node = AddNode(window);
        if (!node) return;
        node->previous = SetProcedure(window, &StyleWindowProc);
        if (ProcedureOf(window) != &StyleWindowProc) {  // the system refused the swap
            FreeNode(node);
            return;
        }
    }
    node->type = type;
    node->state = InitialState(window, type);
    // Until the first erase asks the parent, the system's button colours stand in.
    node->brush = GetSysColorBrush(COLOR_BTNFACE);
    node->background = GetSysColor(COLOR_BTNFACE);
    node->text = GetSysColor(COLOR_BTNTEXT);
    if (type == kUpDown) MarkBuddySides(window);
    if (type == kEdit) MarkSidesOfEdit(window);
    RedrawCompletely(window);
}

void UnstyleWindow(HWND window, bool redraw) {
    StyledControl* node = FindNode(window);
    if (!node) return;
    if (ProcedureOf(window) == &StyleWindowProc) {
        SetProcedure(window, node->previous);
        FreeNode(node);
    } else {
        node->type = kPassThrough;
        node->state = 0;
    }
    if (redraw) RedrawCompletely(window);
}

}  // namespace qy::styling
