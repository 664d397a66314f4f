// Where qizi's bytes go: consoles in checked pieces, pipes and devices
// directly, files through a temporary of their own renamed over the target.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace cli {

bool IsConsole(HANDLE handle);
bool WriteAll(HANDLE handle, const std::string& bytes);

// The console call, replaceable so that a console that takes less than it is given can be stood in for.
using ConsoleWrite = BOOL(WINAPI*)(HANDLE, const void*, DWORD, DWORD*, void*);
bool WriteConsoleAll(HANDLE console, const std::wstring& wide, ConsoleWrite write = WriteConsoleW);

// Writes the document `render` gives for `escapes` (colour escapes or plain
// text) to a console, with escapes only where the console takes them; the
// console's mode is as it was afterwards.
bool WriteConsoleDocument(HANDLE console, bool escapes, const std::function<std::wstring(bool escapes)>& render);

// A temporary file beside `target`, created anew under a name no one holds,
// removed by the Ctrl+C handler or when it is not committed.
class Replacement {
public:
    // The names' tail; replaceable so that a clash can be arranged.
    using NameSource = std::wstring (*)();
    static std::wstring RandomSuffix();

    bool Open(const std::wstring& target, std::string* reason, NameSource suffix = RandomSuffix);
    bool Write(const std::string& bytes, std::string* reason);
    // Flushed, closed and renamed over the target.
    bool Commit(std::string* reason);
    ~Replacement();
    const std::wstring& name() const { return temporary_; }

private:
    std::wstring target_, temporary_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

// The target whole or untouched; a device (NUL, CON) is written directly.
bool WriteFileWhole(const std::wstring& target, const std::string& bytes, std::string* reason);

// Removes the temporary file being written, if any; installed as the Ctrl+C handler by StartOutput.
BOOL WINAPI OnInterrupt(DWORD event);
void StartOutput();

std::string SystemReason(DWORD error);

}  // namespace cli
