// Running this thread's messages while a test waits for a state that comes
// from elsewhere: another thread, another process, or the window manager.
#pragma once
#include <windows.h>

#include "runtime/runtime_app.h"

namespace qytest {

// Long enough for a loaded machine running 32-bit code emulated, ten times
// slower than native; a wait that needs it has failed anyway.
constexpr DWORD kPatienceMs = 60000;

// Runs the messages already queued, as the runtime's loop would.
inline void PumpMessages() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (!qy::Runtime().PreTranslateMessage(&m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

// Runs messages until done() holds or the deadline passes; whether it holds.
// Between checks it sleeps until a message or window-system event arrives,
// or briefly for states that no message announces.
template <typename Done>
bool PumpUntil(Done done, DWORD deadlineMs = kPatienceMs) {
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (done()) return true;
        if (GetTickCount() - start > deadlineMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// A window's screen rectangle once it has stopped moving: a window manager
// places and frames a new window a little after it is shown, and answers a
// move the same way. Still for a fifth of a second counts as stopped.
inline RECT SettledRect(HWND hwnd) {
    RECT last{}, now{};
    GetWindowRect(hwnd, &last);
    DWORD since = GetTickCount();
    PumpUntil([&] {
        GetWindowRect(hwnd, &now);
        if (!EqualRect(&now, &last)) last = now, since = GetTickCount();
        return GetTickCount() - since >= 200;
    });
    return now;
}

// Moves a top-level window to a screen rectangle once the window manager has
// placed it, which it does where it likes; whether the window stays there.
inline bool PlaceWindow(HWND hwnd, const RECT& at) {
    SettledRect(hwnd);
    SetWindowPos(hwnd, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT now = SettledRect(hwnd);
    return EqualRect(&now, &at) != FALSE;
}

}  // namespace qytest
