// The version label on common screens: maximised on the 1280 pixel screen
// and sized as the 1024 x 768 screen's, the main window shows it clear of
// every other visible unit.
#include <windows.h>

#include <cstring>
#include <string>

#include "gtest/gtest.h"
#include "tests/app/e2e/desktop.h"

namespace {
using namespace e2e;

const char kVersion[] = "砌字成图1.4版";  // the main window's caption, and how the label begins

// Class and caption of each visible unit whose rectangle meets the shown label's.
std::string UnitsMeeting(HWND window, HWND label) {
    RECT mine{}, theirs{}, common{};
    std::string met;
    for (HWND w = GetWindow(window, GW_CHILD); w && IsWindowVisible(label); w = GetWindow(w, GW_HWNDNEXT))
        if (w != label && IsWindowVisible(w) && GetWindowRect(label, &mine) && GetWindowRect(w, &theirs) &&
            IntersectRect(&common, &mine, &theirs))
            met += " " + ClassOf(w) + " [" + TextOf(w) + "]";
    return met;
}

// Ends the program however the test ends; a second instance would end at once.
struct Program : Process {
    ~Program() {
        if (Running()) TerminateProcess(handle, 1);
    }
};

TEST(Layout, TheVersionLabelMeetsNoOtherUnitIn1280And1024PixelWideWindows) {
    char exe[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe - 16);
    std::strcpy(std::strrchr(exe, '\\') + 1, "砌字成图.exe");
    GetTempPathA(sizeof temp, temp);
    ASSERT_EQ(1280, GetSystemMetrics(SM_CXSCREEN)) << "not inside the 1280x1024 virtual desktop";
    Program program{Start("\"" + std::string(exe) + "\"", temp)};
    HWND main = WaitForTopWindow(program.id, kVersion);
    ASSERT_TRUE(main) << "no main window";
    std::vector<HWND> labels = Children(main, [](HWND w) { return TextOf(w).rfind(kVersion, 0) == 0; });
    ASSERT_EQ(1u, labels.size()) << "no single version label";
    RECT r{};
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(main) && GetWindowRect(main, &r) && r.right >= 1280; }))
        << "not maximised";
    for (SIZE size : {SIZE{1280, 1024}, SIZE{1024, 768}}) {
        if (size.cx < 1280) {
            PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(main); })) << "the window was not restored";
            SetWindowPos(main, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(main, &r) && r.right - r.left == size.cx; }));
        }
        std::string met;
        EXPECT_TRUE(WaitUntil([&] { return (met = UnitsMeeting(main, labels[0])).empty(); }, kSettleMs))
            << "in a window " << size.cx << " pixels wide the version label meets" << met;
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 0;
    EXPECT_TRUE(program.WaitExit(kPatienceMs, &code)) << "the program did not close";
}

}  // namespace
