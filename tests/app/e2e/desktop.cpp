#include "tests/app/e2e/desktop.h"

#include <cstdio>

namespace e2e {

bool WaitUntil(const std::function<bool()>& done, DWORD deadlineMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start > deadlineMs) return false;
        Sleep(50);
    }
}

namespace {
HANDLE Job() {
    static HANDLE job = [] {
        HANDLE h = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(h, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return h;
    }();
    return job;
}

std::vector<Process>& Started() {
    static std::vector<Process> started;
    return started;
}
}  // namespace

bool Process::Running() const { return handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(DWORD deadlineMs, DWORD* code) const {
    if (!handle || WaitForSingleObject(handle, deadlineMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(handle, code);
    return true;
}

Process Start(const std::string& commandLine, const std::string& currentDirectory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    Process p;
    // Suspended until it is in the job, so its own children join the job too.
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, currentDirectory.c_str(),
                        &startup, &info))
        return p;
    AssignProcessToJobObject(Job(), info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    WaitForInputIdle(info.hProcess, kPatienceMs);
    p.handle = info.hProcess;
    p.id = info.dwProcessId;
    Started().push_back(p);
    return p;
}

void EndAllStarted() {
    for (const Process& p : Started()) {
        if (p.Running()) TerminateProcess(p.handle, 1);
        WaitForSingleObject(p.handle, kPatienceMs);
    }
    TerminateJobObject(Job(), 1);
}

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kPatienceMs, &length)) return "";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             kPatienceMs, &copied))
        return "";
    text.resize(copied);
    return text;
}

namespace {
struct Collect {
    const std::function<bool(HWND)>* keep;
    std::vector<HWND> found;
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM self) {
        auto* c = reinterpret_cast<Collect*>(self);
        if ((*c->keep)(hwnd)) c->found.push_back(hwnd);
        return TRUE;
    }
};
}  // namespace

std::vector<HWND> TopWindows(const std::function<bool(HWND)>& keep) {
    Collect c{&keep, {}};
    EnumWindows(&Collect::Visit, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

std::vector<HWND> Children(HWND parent, const std::function<bool(HWND)>& keep) {
    Collect c{&keep, {}};
    EnumChildWindows(parent, &Collect::Visit, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

HWND WaitForTopWindow(DWORD processId, const std::string& caption, DWORD deadlineMs) {
    HWND found = nullptr;
    WaitUntil([&] {
        std::vector<HWND> windows = TopWindows([&](HWND w) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            return owner == processId && IsWindowVisible(w) && TextOf(w) == caption;
        });
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
    }, deadlineMs);
    return found;
}

std::string Click(HWND hwnd) {
    // The program lays its units out after start, so a rectangle read too
    // early may no longer be where the unit is.
    RECT r{}, now{};
    GetWindowRect(hwnd, &r);
    DWORD since = GetTickCount();
    WaitUntil([&] {
        GetWindowRect(hwnd, &now);
        if (!EqualRect(&now, &r)) r = now, since = GetTickCount();
        return GetTickCount() - since >= 300;
    });
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HWND hit = WindowFromPoint(at);
    // Only the window's own thread asks a unit whether it lets the mouse
    // through to the one beneath it; here the unit on top is asked directly.
    DWORD_PTR answer = 0;
    if (hit != hwnd && GetParent(hit) == GetParent(hwnd) &&
        SendMessageTimeoutA(hit, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, kPatienceMs, &answer) &&
        static_cast<LRESULT>(answer) == HTTRANSPARENT)
        hit = hwnd;
    if (hit != hwnd && !IsChild(hwnd, hit)) {
        char why[160];
        std::snprintf(why, sizeof why, "point (%ld, %ld) shows a window of class %s, not the target", at.x, at.y,
                      ClassOf(hit).c_str());
        return why;
    }
    INPUT input[3] = {};
    for (INPUT& i : input) i.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    input[0].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input[0].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(3, input, sizeof(INPUT)) != 3) return "SendInput refused the clicks";
    return "";
}

std::string PressKey(WORD key, bool ctrl) {
    INPUT input[4] = {};
    UINT count = 0;
    auto add = [&](WORD vk, DWORD flags) {
        input[count].type = INPUT_KEYBOARD;
        input[count].ki.wVk = vk;
        input[count].ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input[count].ki.dwFlags = flags;
        ++count;
    };
    if (ctrl) add(VK_CONTROL, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (ctrl) add(VK_CONTROL, KEYEVENTF_KEYUP);
    return SendInput(count, input, sizeof(INPUT)) == count ? "" : "SendInput refused the key";
}

std::string ClipboardText() {
    std::string text;
    // Another process may hold the clipboard for a moment.
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, kSettleMs)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes->append(buffer, n);
    std::fclose(f);
    return true;
}

}  // namespace e2e
