#include "tests/support/box_watch.h"

#include <windows.h>

#include <cstdio>

namespace qytest {

namespace {
HHOOK hook = nullptr;
std::vector<SeenBox> seen;
std::string logPath;

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        GetClassNameA(box, className, sizeof className);
        if (std::string(className) == "#32770") {
            char caption[256] = {}, text[2048] = {};
            GetWindowTextA(box, caption, sizeof caption);
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            seen.push_back({caption, text});
            if (logPath.empty()) {
                // In a test run a box means a runtime error is ending the process.
                std::fprintf(stderr, "message box [%s]: %s\n", caption, text);
            } else {
                if (FILE* f = std::fopen(logPath.c_str(), "ab")) {
                    std::fprintf(f, "BOX[%s]\n%s\nEND\n", caption, text);
                    std::fclose(f);
                }
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}
}  // namespace

BoxWatch::BoxWatch() {
    seen.clear();
    if (!hook) hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

BoxWatch::~BoxWatch() {
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
}

const std::vector<SeenBox>& BoxWatch::boxes() const { return seen; }

void BoxWatch::LogTo(const std::string& path) { logPath = path; }

}  // namespace qytest
