#include "styling/control_style.h"

#include <windows.h>

#include "styling/styled_controls.h"
#include "styling/subclassing.h"

namespace qy::styling {

namespace {
int32_t currentStyle = 1;
HHOOK hook = nullptr;

BOOL CALLBACK StyleOne(HWND window, LPARAM) {
    StyleWindow(window);
    return TRUE;
}

BOOL CALLBACK UnstyleOne(HWND window, LPARAM) {
    UnstyleWindow(window, true);
    return TRUE;
}

// A top-level window of the thread and every window below it.
BOOL CALLBACK WithDescendants(HWND window, LPARAM each) {
    auto visit = reinterpret_cast<WNDENUMPROC>(each);
    visit(window, 0);
    EnumChildWindows(window, visit, 0);
    return TRUE;
}

void ForEachThreadWindow(WNDENUMPROC visit) {
    EnumThreadWindows(GetCurrentThreadId(), &WithDescendants, reinterpret_cast<LPARAM>(visit));
}

LRESULT CALLBACK StyleNewWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == WM_CREATE) StyleWindow(call->hwnd);
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

int32_t Install() {
    ForEachThreadWindow(&StyleOne);
    hook = SetWindowsHookExA(WH_CALLWNDPROC, &StyleNewWindows, nullptr, GetCurrentThreadId());
    return hook ? 1 : 0;
}

int32_t Remove() {
    if (!hook) return 0;
    ForEachThreadWindow(&UnstyleOne);
    // Windows the enumeration cannot reach, such as one being created right now, go too.
    for (StyledControl* node = FirstNode(); node;) {
        StyledControl* next = node->next;
        if (node->type != kPassThrough) UnstyleWindow(node->window, true);
        node = next;
    }
    BOOL removed = UnhookWindowsHookEx(hook);
    hook = nullptr;
    return removed ? 1 : 0;
}
}  // namespace

int32_t SetControlStyle(int32_t style) {
    currentStyle = style;
    if (style >= 1 && style <= 3) {
        Remove();
        return Install();
    }
    return Remove();
}

int32_t CurrentStyle() { return currentStyle; }

}  // namespace qy::styling
