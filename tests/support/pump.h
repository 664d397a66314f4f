// Running this thread's messages while a test waits for a state that comes
// from elsewhere: another thread, another process, or the window manager.
#pragma once
#include <windows.h>

#include "runtime/runtime_app.h"

namespace qytest {

// Long enough for a loaded machine; a wait that needs it has failed anyway.
constexpr DWORD kPatienceMs = 20000;

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

}  // namespace qytest
