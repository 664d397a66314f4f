// The window procedure of styled controls: per-type classifiers turn each
// message into an action word that says which procedures run and whether
// the styled painter draws.
#pragma once
#include <windows.h>

namespace qy::styling {

LRESULT CALLBACK StyleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qy::styling
