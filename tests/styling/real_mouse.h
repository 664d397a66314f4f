// Real mouse input for the styling tests: moves and clicks go through the
// system's input queue to whatever window lies under the cursor.
#pragma once
#include <windows.h>

namespace styletest {

inline void Mouse(POINT at, DWORD flags = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    SendInput(1, &input, sizeof input);
    // A person's pause before the next step, so no two steps arrive as one burst.
    Sleep(75);
}

}  // namespace styletest
