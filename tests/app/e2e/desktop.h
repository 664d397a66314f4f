// Driving the program from outside as a user would: starting processes,
// finding windows by caption and class, clicking with real input and reading
// texts across processes. Texts are GBK, as the program's own.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Long enough for a loaded machine running 32-bit code emulated, ten times
// slower than native; a wait that needs it has failed anyway.
constexpr DWORD kPatienceMs = 60000;
// For a state that should already hold once the program waits for input.
constexpr DWORD kSettleMs = 20000;

// Polls until done() holds or the deadline passes; whether it holds.
bool WaitUntil(const std::function<bool()>& done, DWORD deadlineMs = kPatienceMs);

// Processes started here belong to one job that ends them all when this
// process ends, so a failed run leaves nothing behind.
struct Process {
    HANDLE handle = nullptr;
    DWORD id = 0;
    bool Running() const;
    // The exit code once ended within the deadline; false if it still runs.
    bool WaitExit(DWORD deadlineMs, DWORD* code) const;
};
// Returns once the new process waits for input, or has ended.
Process Start(const std::string& commandLine, const std::string& currentDirectory);
void EndAllStarted();
// Ends every process of the session that runs one of the named programs:
// one left by an earlier test program would stand in for the one tested.
void EndLeftovers(const std::vector<std::string>& exeNames);

std::string ClassOf(HWND hwnd);
// WM_GETTEXT sent across processes, with a deadline so a hung target cannot
// hang the driver.
std::string TextOf(HWND hwnd);
std::vector<HWND> TopWindows(const std::function<bool(HWND)>& keep);
std::vector<HWND> Children(HWND parent, const std::function<bool(HWND)>& keep);
// The visible top-level window of a process with the caption, once it shows.
HWND WaitForTopWindow(DWORD processId, const std::string& caption, DWORD deadlineMs = kPatienceMs);

// The program's thread is idle again once it takes two messages sent a
// moment apart: whatever input it held when the first came has then been
// handled. False if it did not answer within the deadline.
bool WaitIdle(HWND window);

// Input as a person gives it: every step a separate event with a short
// pause after it, and the next step only once the last one took effect.
// Each returns an empty text, or why the input could not be given.
//
// Once the window has stopped moving, checks that the window is what shows
// at its middle, moves the mouse close to it and, once the program has taken
// that move (unless told not to wait), onto it, and clicks the left button.
std::string Click(HWND hwnd, bool settle = true);
// Presses and releases a key, Ctrl pressed before it and released after it
// if asked; the key goes to whichever window has the keyboard focus.
std::string PressKey(WORD key, bool ctrl = false);

// Gives the input and waits for its effect. When none shows even after the
// program in `window`'s thread has become idle again, the input was lost
// on its way, and it is given once more, as a person would.
std::string Act(HWND window, const std::function<std::string()>& input, const std::function<bool()>& effect,
                DWORD deadlineMs = kPatienceMs);

// Where the pointer is and over what, which window is in front and which
// windows of `window`'s thread hold the capture and the focus.
std::string Situation(HWND window);

// The window holding the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);

// The text on the clipboard, empty if there is none.
std::string ClipboardText();

bool ReadFileBytes(const std::string& path, std::string* bytes);

}  // namespace e2e
