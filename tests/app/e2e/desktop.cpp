#include "tests/app/e2e/desktop.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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
    auto start = [&] {
        return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                              currentDirectory.c_str(), &startup, &info) != FALSE;
    };
    // Tried twice: where 32-bit code runs emulated, a start can die before the program runs (tools/env.sh).
    if (!start() && !start()) return p;
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

void EndLeftovers(const std::vector<std::string>& exeNames) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        bool named = false;
        for (const std::string& name : exeNames) named = named || lstrcmpiA(entry.szExeFile, name.c_str()) == 0;
        if (!named) continue;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, kSettleMs);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
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

bool WaitIdle(HWND window) {
    DWORD_PTR answer = 0;
    for (int i = 0; i < 2; ++i) {
        if (i) Sleep(300);
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &answer)) return false;
    }
    return true;
}

namespace {
std::string Describe(HWND w) {
    if (!w) return "none";
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    HWND root = GetAncestor(w, GA_ROOT);
    char text[200];
    std::snprintf(text, sizeof text, "%s of %s [%s] in process %lu", ClassOf(w).c_str(), ClassOf(root).c_str(),
                  TextOf(root).c_str(), process);
    return text;
}

// A person's pause between two steps of one input, 50 to 100 ms.
void Pause() { Sleep(50 + GetTickCount() % 51); }

bool Send(INPUT input) { return SendInput(1, &input, sizeof input) == 1; }

bool Down(int vk) { return GetAsyncKeyState(vk) < 0; }

// Presses (or releases) a mouse button or key and waits until the system
// has it so.
std::string Press(int vk, bool down, const INPUT& input) {
    if (!Send(input)) return "SendInput refused the input";
    Pause();
    if (!WaitUntil([&] { return Down(vk) == down; }, kSettleMs / 4))
        return std::string("the system did not see the ") + (vk == VK_LBUTTON ? "mouse button " : "key ") +
               (down ? "pressed" : "released");
    return "";
}

std::string MoveTo(POINT at) {
    INPUT move{};
    move.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    move.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (!Send(move)) return "SendInput refused the move";
    Pause();
    // Scaling to and from the absolute range may round by a pixel.
    POINT now{};
    auto arrived = [&] { return GetCursorPos(&now) && std::labs(now.x - at.x) <= 1 && std::labs(now.y - at.y) <= 1; };
    if (!WaitUntil(arrived, kSettleMs)) {
        char why[96];
        std::snprintf(why, sizeof why, "the pointer stayed at (%ld, %ld)", now.x, now.y);
        return why;
    }
    return "";
}

// Why the window is not what a click at the point would reach.
std::string NotShownAt(HWND hwnd, POINT at) {
    HWND hit = WindowFromPoint(at);
    // Only the window's own thread asks a unit whether it lets the mouse
    // through to the one beneath it; here the unit on top is asked directly.
    DWORD_PTR answer = 0;
    if (hit != hwnd && GetParent(hit) == GetParent(hwnd) &&
        SendMessageTimeoutA(hit, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, kPatienceMs, &answer) &&
        static_cast<LRESULT>(answer) == HTTRANSPARENT)
        hit = hwnd;
    if (hit == hwnd || IsChild(hwnd, hit)) return "";
    char why[64];
    std::snprintf(why, sizeof why, "point (%ld, %ld) shows ", at.x, at.y);
    return why + Describe(hit) + ", not the target";
}
}  // namespace

std::string Click(HWND hwnd, bool settle) {
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
    std::string why = NotShownAt(hwnd, at);
    // A hand comes close first and settles on the point with a small last
    // move: under Wine a press right after one long move can be lost.
    POINT approach{at.x + std::min<LONG>(3, (r.right - r.left) / 4), at.y + std::min<LONG>(3, (r.bottom - r.top) / 4)};
    if (why.empty()) why = MoveTo(approach);
    if (why.empty() && settle && !WaitIdle(hwnd)) why = "the program stopped answering";
    if (why.empty()) why = MoveTo(at);
    // What showed there before the pointer came may have moved meanwhile.
    if (why.empty()) why = NotShownAt(hwnd, at);
    if (!why.empty()) return why;
    INPUT button{};
    button.type = INPUT_MOUSE;
    button.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    why = Press(VK_LBUTTON, true, button);
    button.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    std::string up = Press(VK_LBUTTON, false, button);
    return why.empty() ? up : why;
}

std::string PressKey(WORD key, bool ctrl) {
    auto keyInput = [](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        return input;
    };
    std::string why;
    if (ctrl) why = Press(VK_CONTROL, true, keyInput(VK_CONTROL, 0));
    if (why.empty()) why = Press(key, true, keyInput(key, 0));
    // Whatever failed, nothing stays held.
    std::string up = Press(key, false, keyInput(key, KEYEVENTF_KEYUP));
    if (ctrl) {
        std::string ctrlUp = Press(VK_CONTROL, false, keyInput(VK_CONTROL, KEYEVENTF_KEYUP));
        if (up.empty()) up = ctrlUp;
    }
    return why.empty() ? up : why;
}

std::string Situation(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    char where[64];
    std::snprintf(where, sizeof where, "pointer at (%ld, %ld) over ", cursor.x, cursor.y);
    return where + Describe(WindowFromPoint(cursor)) + "; foreground " + Describe(GetForegroundWindow()) +
           "; capture " + Describe(info.hwndCapture) + "; focus " + Describe(info.hwndFocus);
}

std::string Act(HWND window, const std::function<std::string()>& input, const std::function<bool()>& effect,
                DWORD deadlineMs) {
    std::string why = input();
    if (why.empty() && WaitUntil(effect, kSettleMs)) return "";
    if (!WaitIdle(window)) return "the program stopped answering";
    if (WaitUntil(effect, 1000)) return "";
    std::printf("[ retry    ] no effect once the program was idle (%s%s%s); giving the input again\n",
                why.c_str(), why.empty() ? "" : "; ", Situation(window).c_str());
    why = input();
    if (!why.empty()) return why;
    return WaitUntil(effect, deadlineMs) ? "" : "the input showed no effect, given twice";
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
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
