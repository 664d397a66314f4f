#include "app/cli/output.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "app/cli/encoding.h"

namespace cli {
namespace {

// Console writes go in pieces that every console takes whole.
constexpr size_t kConsoleChunk = 8192;

// The temporary file being written, for the Ctrl+C handler to remove.
CRITICAL_SECTION temporaryLock;
std::wstring temporaryName;

void SetTemporary(const std::wstring& name) {
    EnterCriticalSection(&temporaryLock);
    temporaryName = name;
    LeaveCriticalSection(&temporaryLock);
}

// A device such as NUL or CON, which is written directly and never renamed onto.
bool IsDevice(const std::wstring& full) { return full.rfind(L"\\\\.\\", 0) == 0; }

}  // namespace

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
}

bool WriteAll(HANDLE handle, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

bool WriteConsoleAll(HANDLE console, const std::wstring& wide, ConsoleWrite write) {
    size_t done = 0;
    while (done < wide.size()) {
        size_t chunk = std::min(wide.size() - done, kConsoleChunk);
        // A surrogate pair stays in one piece.
        if (chunk < wide.size() - done && IS_HIGH_SURROGATE(wide[done + chunk - 1])) --chunk;
        DWORD written = 0;
        if (!write(console, wide.data() + done, static_cast<DWORD>(chunk), &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool WriteConsoleDocument(HANDLE console, bool escapes, const std::function<std::wstring(bool escapes)>& render) {
    DWORD mode = 0;
    bool restore = false;
    if (escapes) {
        restore = GetConsoleMode(console, &mode) &&
                  SetConsoleMode(console, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        DWORD now = 0;
        escapes = restore && GetConsoleMode(console, &now) && (now & ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
    bool written = WriteConsoleAll(console, render(escapes));
    DWORD error = GetLastError();
    if (restore) SetConsoleMode(console, mode);
    SetLastError(error);
    return written;
}

std::wstring Replacement::RandomSuffix() {
    // Sixteen hex digits no other run is likely to pick.
    static uint64_t state = 0;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    state ^= static_cast<uint64_t>(now.QuadPart) * 0x9E3779B97F4A7C15ull ^ GetCurrentProcessId() ^
             (reinterpret_cast<uintptr_t>(&now) << 20);
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    wchar_t text[17];
    swprintf(text, 17, L"%08lx%08lx", static_cast<unsigned long>(state >> 32), static_cast<unsigned long>(state));
    return text;
}

bool Replacement::Open(const std::wstring& target, std::string* reason, NameSource suffix) {
    target_ = target;
    for (int attempt = 0; attempt < 100 && file_ == INVALID_HANDLE_VALUE; ++attempt) {
        temporary_ = target + L".qizi-" + suffix();
        SetTemporary(temporary_);
        // Shared for deletion, so that Ctrl+C can remove it while it is being written.
        file_ = CreateFileW(temporary_.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (file_ != INVALID_HANDLE_VALUE) return true;
    *reason = SystemReason(GetLastError());
    SetTemporary(L"");
    temporary_.clear();
    return false;
}

bool Replacement::Write(const std::string& bytes, std::string* reason) {
    if (WriteAll(file_, bytes)) return true;
    *reason = SystemReason(GetLastError());
    return false;
}

bool Replacement::Commit(std::string* reason) {
    bool done = FlushFileBuffers(file_) != 0;
    DWORD error = done ? 0 : GetLastError();
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (done && !MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        done = false;
        error = GetLastError();
    }
    if (!done) *reason = SystemReason(error);
    else SetTemporary(L""), temporary_.clear();
    return done;
}

Replacement::~Replacement() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!temporary_.empty()) {
        DeleteFileW(temporary_.c_str());
        SetTemporary(L"");
    }
}

bool WriteFileWhole(const std::wstring& target, const std::string& bytes, std::string* reason) {
    if (IsDevice(target)) {
        HANDLE device = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        bool written = device != INVALID_HANDLE_VALUE && WriteAll(device, bytes);
        if (!written) *reason = SystemReason(GetLastError());
        if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
        return written;
    }
    Replacement file;
    return file.Open(target, reason) && file.Write(bytes, reason) && file.Commit(reason);
}

BOOL WINAPI OnInterrupt(DWORD) {
    EnterCriticalSection(&temporaryLock);
    if (!temporaryName.empty()) DeleteFileW(temporaryName.c_str());
    temporaryName.clear();
    LeaveCriticalSection(&temporaryLock);
    return FALSE;  // the default handler then ends the process
}

void StartOutput() {
    InitializeCriticalSection(&temporaryLock);
    SetConsoleCtrlHandler(OnInterrupt, TRUE);
}

std::string SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? Narrow(text, kGbk) : "error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
    return reason;
}

}  // namespace cli
